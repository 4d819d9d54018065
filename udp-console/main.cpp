#include "mainwindow.h"

#include <QApplication>
#include <QCursor>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qel-udp-client"));
    QCoreApplication::setApplicationVersion(QStringLiteral("v1.2.2-0-g6fd602f"));

    const QString localeName = QLocale::system().name();
    const QStringList catalogues { QStringLiteral("qt"), QStringLiteral("qel-udp-client") };
    for (const QString &catalogue : catalogues) {
        const QString directory = catalogue == QLatin1String("qt")
            ? QStringLiteral("/usr/share/qt5/translations")
            : QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
        auto *translator = new QTranslator(&app);
        if (translator->load(
                QStringLiteral("%1_%2").arg(catalogue, localeName), directory, QStringLiteral("_")))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }

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
