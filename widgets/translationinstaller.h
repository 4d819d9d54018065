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
    // program. A catalogue that does not load is skipped. Returns those installed.
    static QStringList install(QCoreApplication *application, const QStringList &catalogues);
};
