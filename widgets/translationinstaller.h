#pragma once

#include <QStringList>

class QCoreApplication;

// Installs the translation catalogues of a program for the system locale.
class TranslationInstaller
{
public:
    // For each catalogue in order, loads "<catalogue>_<locale>" ("_" as the search
    // delimiter, so "ru_RU", then "ru", then the bare name are tried): Qt's own "qt" from
    // the system's Qt translations, every other one from "translations" next to the
    // program or, when that folder has none of it, from the installed data folder
    // "../share/<program name>/translations" beside the program's folder. A catalogue
    // that does not load is skipped. Returns those installed.
    static QStringList install(QCoreApplication *application, const QStringList &catalogues);

    // The same for the program at programFilePath and the locale named localeName.
    static QStringList install(QCoreApplication *application, const QStringList &catalogues,
        const QString &programFilePath, const QString &localeName);
};
