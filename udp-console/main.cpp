#include "mainwindow.h"
#include "signalcloser.h"
#include "translationinstaller.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QScreen>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qel-udp-client"));
    QCoreApplication::setApplicationVersion(QStringLiteral("v1.2.2-0-g6fd602f"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/qel-udp-client.svg")));

    // The widget kit's catalogue too, for the texts of the collapsible boxes.
    TranslationInstaller::install(&app,
        { QStringLiteral("qt"), QStringLiteral("vantor-widgets"),
            QStringLiteral("qel-udp-client") });

    MainWindow window;
    // Ctrl-C and SIGTERM close the window as its close button does, so the settings are
    // saved; what would be said in a box at exit goes to stderr instead.
    if (SignalCloser *closer = SignalCloser::closeOnTerminationSignals(&window)) {
        QObject::connect(closer, &SignalCloser::terminationSignalReceived, &window,
            &MainWindow::onTerminationSignalReceived);
    }
    QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        // The desktop's panels and the window frame take their share of a small screen.
        const QRect available = screen->availableGeometry();
        window.resize(window.size().boundedTo(available.size() - QSize(16, 40)));
        QRect geometry = window.frameGeometry();
        geometry.moveCenter(available.center());
        window.move(geometry.topLeft());
    }
    window.show();
    return app.exec();
}
