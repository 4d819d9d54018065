#include "loadtrace.h"
#include "mainwindow.h"
#include "messagereporter.h"
#include "signalcloser.h"
#include "translationinstaller.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantor-road-app-gui"));
    QCoreApplication::setApplicationVersion(QStringLiteral("v1.45.0-0-g54862a7-mod"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vantor-road-app-gui.svg")));

    TranslationInstaller::install(&app,
        { QStringLiteral("qt"), QStringLiteral("vantor-widgets"),
            QStringLiteral("vantor-road-app-gui") });

    MainWindow window;
    // Ctrl-C and SIGTERM close the window as its close button does, so the profiles are saved;
    // what the window has to say then goes to stderr, as nobody may be there to read a box.
    if (SignalCloser *closer = SignalCloser::closeOnTerminationSignals(&window))
        QObject::connect(closer, &SignalCloser::terminationSignalReceived, window.messageReporter(),
            &MessageReporter::onTerminationSignal);
    window.panelArranger()->placeWindow();
    window.show();
    LoadTrace::startFromEnvironment(window.radarClient(), &window);
    return app.exec();
}
