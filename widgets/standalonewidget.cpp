#include "standalonewidget.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

StandaloneWidget::StandaloneWidget(QWidget *parent)
    : QWidget(parent)
{
    QFont f = font();
    f.setFamily(QStringLiteral("Sans"));
    f.setPointSize(10);
    setFont(f);
}

void StandaloneWidget::showStandalone(bool modal, QWidget *parent, const QString &title)
{
    setWindowTitle(title);
    if (!modal) {
        show();
        return;
    }
    setParent(parent, Qt::Tool);
    setWindowModality(Qt::WindowModal);
    show();
    move(1, 1);
    centreOn(parent);
    raise();
    activateWindow();
}

void StandaloneWidget::centreOn(QWidget *parent)
{
    if (!parent)
        return;
    const QSize own = frameGeometry().size();
    QPoint centre;
    if (own.width() > parent->width() || own.height() > parent->height()) {
        QScreen *screen = QGuiApplication::screenAt(parent->pos());
        if (!screen)
            screen = parent->screen();
        centre = screen->availableGeometry().center();
    } else {
        centre = parent->frameGeometry().center();
    }
    move(qMax(1, centre.x() - own.width() / 2), qMax(1, centre.y() - own.height() / 2));
}

void StandaloneWidget::closeEvent(QCloseEvent *event)
{
    emit aboutToClose();
    QWidget::closeEvent(event);
}
