#include "catalogues.h"

#include <QCoreApplication>
#include <QStringList>

bool Catalogues::add(const QString &name, const QString &language, const QString &folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("%1_%2").arg(name, language), folder)
        || !QCoreApplication::installTranslator(translator.get()))
        return false;
    m_translators.push_back(std::move(translator));
    return true;
}

bool Catalogues::add(const QStringList &names, const QString &language, const QString &folder)
{
    for (const QString &name : names) {
        if (!add(name, language, folder))
            return false;
    }
    return true;
}
