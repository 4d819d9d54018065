#include "mainwindow.h"
#include "translationinstaller.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qel-udp-client"));
    QCoreApplication::setApplicationVersion(QStringLiteral("v1.2.2-0-g6fd602f"));

    // The widget kit's catalogue too, for the texts of the collapsible boxes.
    TranslationInstaller::install(&app, { QStringLiteral("qt"), QStringLiteral("vantor-widgets"),
                                          QStringLiteral("qel-udp-client") });

    MainWindow window;
    QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->geometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    return app.exec();
}
