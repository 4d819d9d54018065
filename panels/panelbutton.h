#pragma once

#include <QPushButton>

// A push button that may shrink to its text, so that short "Set" and "Get" buttons leave
// room for the value names in narrow panel columns (the style's default minimum width of
// a push button is wider than these texts need).
class PanelButton : public QPushButton
{
    Q_OBJECT

public:
    explicit PanelButton(const QString &text, QWidget *parent = nullptr);
};
