#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

class QObject;
class QWidget;

// The Alt keys of a window's texts: Qt cycles a key shared by two widgets in reach of one
// window, so every second press would do nothing.
namespace Mnemonics {

// A text with a key and the control that shows it, with the tab's index for a tab bar: a
// control may change its text (a checked button), not its key.
struct Text
{
    const QObject *owner;
    QString text;
    int tab = 0;
};

// The letter after a single "&", lower case, or a null QChar.
QChar keyOf(const QString &text);

// Every text with a key that root and the widgets inside it show (buttons, labels, group
// box titles, tabs, the menu bar's menus), but for those inside the windows in skipped.
QList<Text> textsIn(QWidget *root, const QList<QWidget *> &skipped = {});

// The keys that more than one control uses, each with their texts; empty when none is.
QStringList clashes(const QList<Text> &texts);

// How many different keys the texts use.
int keyCount(const QList<Text> &texts);

} // namespace Mnemonics
