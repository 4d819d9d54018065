#pragma once

#include <QCoreApplication>

class AdvancedScrollArea;
class QLabel;
class QObject;
class QWidget;

// The info boxes of the received message and of the template: a label in a scroll area
// whose inner widget is as tall as the text, so that a long info scrolls.
class InfoArea
{
    Q_DECLARE_TR_FUNCTIONS(InfoArea)

public:
    // Shows the info, or centred words saying there is none.
    static void setText(QLabel *label, const QString &info);
    // Sizes the inner widget to the label once the label has taken its new text.
    static void fitToLabel(
        QObject *context, AdvancedScrollArea *area, QWidget *inner, QLabel *label);
};
