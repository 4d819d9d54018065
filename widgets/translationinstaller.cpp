#include "translationinstaller.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// The folders searched for a catalogue of the program at programFilePath, nearest first.
QStringList catalogueFolders(const QString &programFilePath)
{
    const QFileInfo program(programFilePath);
    const QString folder = program.absolutePath();
    // The build tree keeps the catalogues next to the programs; an installation keeps
    // them under <prefix>/share/<program name>, found relative to <prefix>/bin so that
    // any prefix works.
    return { folder + QStringLiteral("/translations"),
        QDir::cleanPath(folder + QStringLiteral("/../share/") + program.fileName()
            + QStringLiteral("/translations")) };
}

} // namespace

QStringList TranslationInstaller::install(
    QCoreApplication *application, const QStringList &catalogues)
{
    return install(
        application, catalogues, QCoreApplication::applicationFilePath(), QLocale::system().name());
}

QStringList TranslationInstaller::install(QCoreApplication *application,
    const QStringList &catalogues, const QString &programFilePath, const QString &localeName)
{
    const QStringList programFolders = catalogueFolders(programFilePath);
    const QStringList qtFolders { QStringLiteral("/usr/share/qt5/translations") };
    QStringList installed;
    for (const QString &catalogue : catalogues) {
        const QStringList &folders = catalogue == QLatin1String("qt") ? qtFolders : programFolders;
        auto *translator = new QTranslator(application);
        bool loaded = false;
        for (const QString &folder : folders) {
            loaded = translator->load(
                catalogue + QLatin1Char('_') + localeName, folder, QStringLiteral("_"));
            if (loaded)
                break;
        }
        if (loaded) {
            QCoreApplication::installTranslator(translator);
            installed << catalogue;
        } else {
            delete translator;
        }
    }
    return installed;
}
