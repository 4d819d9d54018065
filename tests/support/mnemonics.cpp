#include "mnemonics.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMultiMap>
#include <QPair>
#include <QSet>
#include <QTabBar>

namespace Mnemonics {

QChar keyOf(const QString &text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) != QLatin1Char('&'))
            return text.at(i + 1).toLower();
        ++i;
    }
    return QChar();
}

QList<Text> textsIn(QWidget *root, const QList<QWidget *> &skipped)
{
    QList<Text> texts;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *widget : widgets) {
        bool inSkipped = false;
        for (QWidget *window : skipped)
            inSkipped = inSkipped || window == widget || window->isAncestorOf(widget);
        if (inSkipped)
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts.append({ button, button->text() });
        else if (auto *label = qobject_cast<QLabel *>(widget))
            texts.append({ label, label->text() });
        else if (auto *box = qobject_cast<QGroupBox *>(widget))
            texts.append({ box, box->title() });
        else if (auto *tabs = qobject_cast<QTabBar *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts.append({ tabs, tabs->tabText(i), i });
        } else if (auto *menuBar = qobject_cast<QMenuBar *>(widget)) {
            for (QAction *menu : menuBar->actions())
                texts.append({ menu, menu->text() });
        }
    }
    QList<Text> withKeys;
    for (const Text &text : qAsConst(texts)) {
        if (!keyOf(text.text).isNull())
            withKeys.append(text);
    }
    return withKeys;
}

QStringList clashes(const QList<Text> &texts)
{
    QMultiMap<QChar, Text> byKey;
    for (const Text &text : texts) {
        if (!keyOf(text.text).isNull())
            byKey.insert(keyOf(text.text), text);
    }
    QStringList found;
    for (const QChar key : byKey.uniqueKeys()) {
        QSet<QPair<const QObject *, int>> owners;
        QStringList shared;
        for (const Text &text : byKey.values(key)) {
            owners.insert({ text.owner, text.tab });
            shared.prepend(text.text);
        }
        if (owners.size() > 1)
            found.append(QStringLiteral("Alt+%1: %2").arg(key, shared.join(QStringLiteral(", "))));
    }
    return found;
}

int keyCount(const QList<Text> &texts)
{
    QSet<QChar> keys;
    for (const Text &text : texts)
        keys.insert(keyOf(text.text));
    keys.remove(QChar());
    return keys.size();
}

} // namespace Mnemonics
