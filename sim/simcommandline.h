#pragma once

#include "simoptions.h"

#include <QCommandLineParser>
#include <QStringList>

// The program's command line: every option with its help text, and their checks.
class SimCommandLine
{
public:
    enum class Result { Run, Help, Version, Error };

    SimCommandLine();

    // args includes the program name first, as QCoreApplication::arguments() does.
    Result parse(const QStringList &args, SimOptions *options, QString *error);
    QString helpText() const { return m_parser.helpText(); }

    // "AMP1,PADC" and the like to FaultyUnit bits.
    static bool parseFaultyUnits(const QString &text, quint16 *units, QString *error);

private:
    QCommandLineParser m_parser;
};
