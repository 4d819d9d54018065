#pragma once

#include "projectiondrawer.h"
#include "repaintlimiter.h"
#include "standalonewidget.h"

#include <QImage>
#include <QPixmap>
#include <QTimer>

#include <memory>

namespace Ui {
class ProjectionWidget;
}

// The projection view: a translucent window laid over the camera picture that another
// program shows (or over a still picture of the camera loaded as its background), on
// which the drawer paints the road and the objects, and where the installer marks
// checkpoints for the pick-up of the radar position.
//
// The camera picture is the window's area below the button bar; a still picture keeps
// its aspect ratio inside that area, with black bands beside or above and below it.
// The camera model's frame, the drawing and the marks are all in pixels of the picture.
class ProjectionWidget : public StandaloneWidget
{
    Q_OBJECT

public:
    explicit ProjectionWidget(QWidget *parent = nullptr);
    ~ProjectionWidget() override;

    ProjectionDrawer *drawer() { return &m_drawer; }
    bool isMarking() const { return m_marking; }
    bool isBusy() const { return m_busy; }
    ProjectionDrawer::Checkpoints checkpoints() const { return m_checkpoints; }
    // Where the camera picture lies in the window.
    QRect pictureRect() const { return m_pictureRect; }

public slots:
    // Starts a pick-up: 1 radar position, 2 radar position and view angle.
    void pickupParameters(int mode);
    // A picture file, or an empty path for none.
    void setBackgroundImage(const QString &path);

signals:
    // The user chose another background picture (or none).
    void backgroundImageChanged(const QString &path);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onLoadPictureClicked();
    void onClearPictureClicked();
    void onFitPictureClicked();
    void onFramelessToggled(bool frameless);
    void onOnTopToggled(bool onTop);
    void doAddCheckpoint(const QPoint &pixel);
    void doEndMarking();
    void doRunPickup();
    void doShowPickupResult(bool isPicked, double viewAngle);
    int pictureAreaTop() const;
    void doLayoutPicture();
    void doScaleBackground();
    void doFitMarksToPicture();
    void doSetWindowFlag(Qt::WindowType flag, bool on);
    void drawMarks(QPainter &painter) const;
    void drawBusy(QPainter &painter) const;

    std::unique_ptr<Ui::ProjectionWidget> m_ui;
    ProjectionDrawer m_drawer;
    // The drawer's changes arrive with every radar frame.
    RepaintLimiter m_repaints;

    QString m_backgroundPath;
    QImage m_background;
    QPixmap m_scaledBackground; // m_background at the picture's size
    QRect m_pictureRect;

    int m_mode = 0;
    bool m_marking = false;
    bool m_busy = false;
    bool m_changingFlags = false; // the window hides and shows again
    ProjectionDrawer::Checkpoints m_checkpoints;
    // The last pick-up's fit: where its best camera puts each checkpoint.
    QVector<QPointF> m_pickedPixels;
    QVector<double> m_residuals;
    // The picture size the marks and the fit are in pixels of.
    QSize m_marksSize;

    QTimer m_busyTimer;
    int m_busyAngle = 0;
};
