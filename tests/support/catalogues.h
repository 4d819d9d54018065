#pragma once

#include <QString>
#include <QTranslator>

#include <memory>
#include <vector>

// Compiled translation catalogues installed in the application for as long as the object
// lives: a translator takes itself out when it goes.
class Catalogues
{
public:
    // Loads name_language from folder and installs it; false when it does not load.
    bool add(const QString &name, const QString &language, const QString &folder);
    // Every name in names as add() does; false at the first that does not load.
    bool add(const QStringList &names, const QString &language, const QString &folder);
    void clear() { m_translators.clear(); }

private:
    std::vector<std::unique_ptr<QTranslator>> m_translators;
};
