#include "radarsimulator.h"
#include "signalwatcher.h"
#include "simcommandline.h"
#include "simlog.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantor-radar-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTOR_SIM_VERSION));

    SimOptions options;
    SimCommandLine commandLine;
    QString error;
    switch (commandLine.parse(QCoreApplication::arguments(), &options, &error)) {
    case SimCommandLine::Result::Help:
        std::fputs(qPrintable(commandLine.helpText()), stdout);
        return 0;
    case SimCommandLine::Result::Version:
        std::printf("vantor-radar-sim %s\n", VANTOR_SIM_VERSION);
        return 0;
    case SimCommandLine::Result::Error:
        std::fprintf(stderr, "vantor-radar-sim: %s\nTry --help.\n", qPrintable(error));
        return 2;
    case SimCommandLine::Result::Run:
        break;
    }

    SimLog::install(options.verbose);
    SignalWatcher watcher;
    if (!watcher.install())
        qWarning("Cannot watch for Ctrl-C: %s", qPrintable(watcher.errorString()));
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, &app, [](int number) {
        qInfo("Signal %d received; shutting down", number);
        QCoreApplication::quit();
    });

    RadarSimulator simulator(options);
    if (!simulator.start(&error)) {
        qCritical("Cannot start: %s", qPrintable(error));
        return 1;
    }
    const int code = app.exec();
    simulator.stop();
    qInfo("Stopped");
    return code;
}
