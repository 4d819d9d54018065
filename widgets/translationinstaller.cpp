#include "translationinstaller.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

QStringList TranslationInstaller::install(QCoreApplication *application,
                                          const QStringList &catalogues)
{
    const QString localeName = QLocale::system().name();
    QStringList installed;
    for (const QString &catalogue : catalogues) {
        const QString directory = catalogue == QLatin1String("qt")
                ? QStringLiteral("/usr/share/qt5/translations")
                : QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
        auto *translator = new QTranslator(application);
        if (translator->load(catalogue + QLatin1Char('_') + localeName, directory,
                             QStringLiteral("_"))) {
            QCoreApplication::installTranslator(translator);
            installed << catalogue;
        } else {
            delete translator;
        }
    }
    return installed;
}
