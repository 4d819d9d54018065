#include "projectionwidget.h"

#include "ui_projectionwidget.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QInputDialog>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace {

constexpr int PickupStartDelayMs = 5; // lets the last question box close first
constexpr int BusyFrameMs = 50;
constexpr int BusyStepDegrees = 15;
constexpr int MarkSize = 6; // px, half the arms of a mark's cross
// Larger pictures are no camera frame; refusing them keeps memory in bounds.
constexpr qint64 MaxPicturePixels = 40LL * 1000 * 1000;

const QColor MarkColour(255, 140, 0);
const QColor FitColour(0, 255, 0);

QPointF scaledPoint(const QPointF &point, const QSize &from, const QSize &to)
{
    if (from.isEmpty() || to.isEmpty())
        return point;
    return QPointF(point.x() * to.width() / from.width(), point.y() * to.height() / from.height());
}

} // namespace

ProjectionWidget::ProjectionWidget(QWidget *parent)
    : StandaloneWidget(parent)
    , m_ui(std::make_unique<Ui::ProjectionWidget>())
    , m_drawer(this)
    , m_repaints(this)
{
    m_ui->setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    // The picture begins below the button bar, wherever the layout puts it.
    m_ui->buttonBar->installEventFilter(this);

    connect(&m_drawer, &ProjectionDrawer::updated, &m_repaints, &RepaintLimiter::schedule);
    // Queued: the result box opens once the projection has been restored.
    connect(&m_drawer, &ProjectionDrawer::pickupResult, this, &ProjectionWidget::doShowPickupResult,
        Qt::QueuedConnection);

    m_busyTimer.setInterval(BusyFrameMs);
    connect(&m_busyTimer, &QTimer::timeout, this, [this] {
        m_busyAngle = (m_busyAngle + BusyStepDegrees) % 360;
        update();
    });

    connect(m_ui->loadPictureButton, &QToolButton::clicked, this,
        &ProjectionWidget::onLoadPictureClicked);
    connect(m_ui->clearPictureButton, &QToolButton::clicked, this,
        &ProjectionWidget::onClearPictureClicked);
    connect(m_ui->fitPictureButton, &QToolButton::clicked, this,
        &ProjectionWidget::onFitPictureClicked);
    connect(
        m_ui->framelessButton, &QToolButton::toggled, this, &ProjectionWidget::onFramelessToggled);
    connect(m_ui->onTopButton, &QToolButton::toggled, this, &ProjectionWidget::onOnTopToggled);
    m_ui->fitPictureButton->setEnabled(false);
}

ProjectionWidget::~ProjectionWidget() = default;

void ProjectionWidget::pickupParameters(int mode)
{
    if (m_busy
        || (mode != PickupSearch::RadarPosition && mode != PickupSearch::RadarPositionAndViewAngle))
        return;
    const QString modeText = mode == PickupSearch::RadarPosition
        ? tr("radar position, camera view angle is known")
        : tr("radar position and camera view angle");
    QMessageBox::information(this, tr("Picking up parameters"),
        tr("%1 %2.\n%3\n%4")
            .arg(tr("Selected mode: picking up"), modeText,
                tr("Mark four checkpoints on the projection as far apart as possible."),
                mode == PickupSearch::RadarPositionAndViewAngle
                    ? tr("Then mark additional line segment along the X axis.")
                    : QString()));
    // A pick-up started while marking starts the marking over; the position to bring
    // back stays the one in force before the first, not the zeroed one marked over.
    const bool restarting = m_marking;
    m_checkpoints.clear();
    m_pickedPixels.clear();
    m_residuals.clear();
    m_marksSize = m_pictureRect.size();
    m_marking = true;
    m_mode = mode;
    setCursor(Qt::CrossCursor);
    if (!restarting)
        m_drawer.stashPreviousParameters();
    update();
}

void ProjectionWidget::setBackgroundImage(const QString &path)
{
    if (path == m_backgroundPath && (path.isEmpty() || !m_background.isNull()))
        return;
    m_backgroundPath = path;
    m_background = QImage();
    if (!path.isEmpty()) {
        QImageReader reader(path);
        const QSize size = reader.size();
        if (!size.isValid() || qint64(size.width()) * size.height() <= MaxPicturePixels)
            m_background = reader.read();
    }
    m_ui->fitPictureButton->setEnabled(!m_background.isNull());
    doLayoutPicture();
    doScaleBackground();
    update();
}

void ProjectionWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    m_repaints.painted();
    QPainter painter(this);
    if (!m_backgroundPath.isEmpty()) {
        // Around a still picture the window is black, not see-through.
        painter.fillRect(rect(), Qt::black);
    }
    if (!m_scaledBackground.isNull()) {
        painter.drawPixmap(m_pictureRect.topLeft(), m_scaledBackground);
    } else if (!m_backgroundPath.isEmpty()) {
        painter.setPen(Qt::white);
        painter.drawText(m_pictureRect, Qt::AlignCenter,
            tr("Unable to show the picture %1.").arg(QFileInfo(m_backgroundPath).fileName()));
    }
    painter.save();
    painter.translate(m_pictureRect.topLeft());
    painter.setClipRect(QRect(QPoint(), m_pictureRect.size()));
    m_drawer.paint(painter);
    drawMarks(painter);
    painter.restore();
    if (m_busy)
        drawBusy(painter);
}

void ProjectionWidget::resizeEvent(QResizeEvent *event)
{
    StandaloneWidget::resizeEvent(event);
    doLayoutPicture();
}

void ProjectionWidget::hideEvent(QHideEvent *event)
{
    StandaloneWidget::hideEvent(event);
    // Marks cannot be made on a window nobody sees: the marking ends and the position in
    // force before it comes back. Changing the window's flags only hides it for a moment.
    if (m_marking && !m_changingFlags)
        doEndMarking();
}

void ProjectionWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_busy || !m_marking) {
        StandaloneWidget::mouseReleaseEvent(event);
        return;
    }
    if (event->button() == Qt::RightButton) {
        doEndMarking();
    } else if (event->button() == Qt::LeftButton) {
        const QPoint pixel = event->localPos().toPoint() - m_pictureRect.topLeft();
        // Only the picture holds checkpoints; the bands around it are no part of it.
        if (QRect(QPoint(), m_pictureRect.size()).contains(pixel))
            doAddCheckpoint(pixel);
    }
}

bool ProjectionWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->buttonBar
        && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        doLayoutPicture();
    return StandaloneWidget::eventFilter(watched, event);
}

void ProjectionWidget::onLoadPictureClicked()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Camera picture"),
        QFileInfo(m_backgroundPath).absolutePath(),
        tr("Pictures (*.png *.jpg *.jpeg *.bmp);;All files (*)"));
    if (path.isEmpty())
        return;
    setBackgroundImage(path);
    emit backgroundImageChanged(path);
}

void ProjectionWidget::onClearPictureClicked()
{
    setBackgroundImage(QString());
    emit backgroundImageChanged(QString());
}

void ProjectionWidget::onFitPictureClicked()
{
    if (m_background.isNull())
        return;
    // The picture at its own size below the button bar, or as large as the screen allows.
    const int top = pictureAreaTop();
    QSize target = m_background.size();
    if (const QScreen *s = screen()) {
        const QSize room
            = s->availableGeometry().size() - (frameGeometry().size() - size()) - QSize(0, top);
        if (target.width() > room.width() || target.height() > room.height())
            target.scale(room, Qt::KeepAspectRatio);
    }
    resize(target + QSize(0, top));
}

void ProjectionWidget::onFramelessToggled(bool frameless)
{
    doSetWindowFlag(Qt::FramelessWindowHint, frameless);
}

void ProjectionWidget::onOnTopToggled(bool onTop)
{
    doSetWindowFlag(Qt::WindowStaysOnTopHint, onTop);
}

void ProjectionWidget::doSetWindowFlag(Qt::WindowType flag, bool on)
{
    // Changing a flag hides the window.
    const bool visible = isVisible();
    m_changingFlags = true;
    setWindowFlag(flag, on);
    if (visible)
        show();
    m_changingFlags = false;
}

void ProjectionWidget::doAddCheckpoint(const QPoint &pixel)
{
    const int index = m_checkpoints.size();
    const QSize markedIn = m_marksSize;
    double value = 0.0;
    bool ok = true;
    if (index < 4) {
        const double initial = index == 0 ? 0.0 : m_checkpoints.last().second;
        value = QInputDialog::getDouble(this, tr("Checkpoint position"),
            tr("Enter Y coordinate of the checkpoint #%1, m").arg(index + 1), initial, -100.0,
            100.0, 2, &ok);
    } else if (index == 5) {
        value = QInputDialog::getDouble(this, tr("Line segment length"),
            tr("Enter line segment length, m"), 0.0, 0.0, 100.0, 2, &ok);
    }
    // The marking may have ended while the question was open (the window was hidden).
    if (!m_marking)
        return;
    if (!ok) {
        doEndMarking();
        return;
    }
    // The window may have been resized meanwhile, and the marks with it.
    m_checkpoints.append({ scaledPoint(pixel, markedIn, m_marksSize).toPoint(), value });
    update();
    if (m_checkpoints.size()
        == PickupSearch::requiredCheckpoints(static_cast<PickupSearch::Mode>(m_mode))) {
        m_marking = false;
        setCursor(Qt::BusyCursor);
        m_busy = true;
        QTimer::singleShot(PickupStartDelayMs, this, &ProjectionWidget::doRunPickup);
    }
}

void ProjectionWidget::doEndMarking()
{
    m_checkpoints.clear();
    m_marking = false;
    unsetCursor();
    m_drawer.applyPreviousParameters();
    update();
}

void ProjectionWidget::doRunPickup()
{
    m_busyTimer.start();
    doFitMarksToPicture();
    update();
    m_drawer.pickupParameters(m_mode, m_checkpoints);
    m_pickedPixels = m_drawer.pickedCheckpointPixels();
    m_residuals = m_drawer.checkpointResiduals();
    m_drawer.applyPreviousParameters();
    m_busy = false;
    unsetCursor();
    // The window may have been resized while the search ran.
    doFitMarksToPicture();
    update();
}

void ProjectionWidget::doShowPickupResult(bool isPicked, double viewAngle)
{
    m_busyTimer.stop();
    update();
    const CameraPickup::Result pickup = m_drawer.lastPickup();
    if (isPicked) {
        QMessageBox::information(this, tr("Picked parameters"),
            tr("%1\n%2").arg(
                tr("Picked radar position is written into the 'Set radar position' control."),
                viewAngle > 0.0
                    ? tr("Camera horizontal view angle is %1 deg.").arg(viewAngle, 0, 'f', 2)
                    : QString()));
    } else if (pickup.outcome == CameraPickup::Outcome::NoFit) {
        QString text = std::isfinite(pickup.fit.worstMiss)
            ? tr("No camera position fits the checkpoints: the worst misses by %1 px")
                  .arg(pickup.fit.worstMiss, 0, 'f', 1)
            : tr("No camera position fits the checkpoints: the closest cannot see all of them.");
        if (pickup.onEdge)
            text += QLatin1Char('\n')
                + tr("The closest position lies at the edge of the positions searched.");
        QMessageBox::warning(this, tr("Picked parameters"), text);
    } else {
        QMessageBox::warning(this, tr("Picked parameters"), tr("Unable to pick up parameters."));
    }
}

int ProjectionWidget::pictureAreaTop() const
{
    return m_ui->buttonBar->geometry().bottom() + 1 + layout()->contentsMargins().top();
}

void ProjectionWidget::doLayoutPicture()
{
    const int top = pictureAreaTop();
    const QRect area(0, top, width(), qMax(0, height() - top));
    QRect picture = area;
    if (!m_background.isNull()) {
        const QSize fitted = m_background.size().scaled(area.size(), Qt::KeepAspectRatio);
        picture = QRect(QPoint(area.x() + (area.width() - fitted.width()) / 2,
                            area.y() + (area.height() - fitted.height()) / 2),
            fitted);
    }
    if (picture == m_pictureRect)
        return;
    const bool resized = picture.size() != m_pictureRect.size();
    m_pictureRect = picture;
    if (resized) {
        doScaleBackground();
        m_drawer.setPictureSize(picture.size());
        if (!m_busy)
            doFitMarksToPicture();
    }
    update();
}

void ProjectionWidget::doScaleBackground()
{
    if (m_background.isNull() || m_pictureRect.isEmpty()) {
        m_scaledBackground = QPixmap();
        return;
    }
    // Drawn at the screen's own pixels, so a high-density screen shows it sharp.
    const qreal ratio = devicePixelRatioF();
    m_scaledBackground = QPixmap::fromImage(m_background.scaled(
        m_pictureRect.size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    m_scaledBackground.setDevicePixelRatio(ratio);
}

void ProjectionWidget::doFitMarksToPicture()
{
    const QSize size = m_pictureRect.size();
    if (size == m_marksSize)
        return;
    for (auto &checkpoint : m_checkpoints)
        checkpoint.first = scaledPoint(checkpoint.first, m_marksSize, size).toPoint();
    for (QPointF &pixel : m_pickedPixels)
        pixel = scaledPoint(pixel, m_marksSize, size);
    m_marksSize = size;
}

void ProjectionWidget::drawMarks(QPainter &painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPoint labelOffset(MarkSize + 3, -MarkSize - 3);
    const auto missText = [this](int i) {
        if (i >= m_residuals.size())
            return QString();
        return QLatin1String(", ")
            + (m_residuals.at(i) < 0.0 ? tr("not projected")
                                       : tr("off by %1 px").arg(m_residuals.at(i), 0, 'f', 1));
    };
    for (int i = 0; i < m_checkpoints.size(); ++i) {
        const QPoint mark = m_checkpoints.at(i).first;
        painter.setPen(QPen(MarkColour, 2.0));
        painter.drawLine(mark - QPoint(MarkSize, 0), mark + QPoint(MarkSize, 0));
        painter.drawLine(mark - QPoint(0, MarkSize), mark + QPoint(0, MarkSize));
        QString label;
        if (i < 4) {
            label = tr("#%1: Y %2 m").arg(i + 1).arg(m_checkpoints.at(i).second, 0, 'f', 2)
                + missText(i);
        } else if (i == 5) {
            painter.drawLine(m_checkpoints.at(4).first, mark);
            label = tr("%1 m").arg(m_checkpoints.at(i).second, 0, 'f', 2) + missText(i);
        }
        painter.drawText(mark + labelOffset, label);
    }
    // Where the last pick-up's camera puts each checkpoint (the segment's first end is
    // where it is measured from).
    painter.setPen(QPen(FitColour, 2.0));
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < m_residuals.size() && i < m_checkpoints.size(); ++i) {
        if (m_residuals.at(i) < 0.0 || i == 4)
            continue;
        painter.drawLine(QPointF(m_checkpoints.at(i).first), m_pickedPixels.at(i));
        painter.drawEllipse(m_pickedPixels.at(i), MarkSize / 2.0, MarkSize / 2.0);
    }
    painter.restore();
}

void ProjectionWidget::drawBusy(QPainter &painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const int radius = 24;
    const QRect circle(width() / 2 - radius, height() / 2 - radius, 2 * radius, 2 * radius);
    painter.setPen(QPen(QColor(255, 255, 255, 80), 6.0));
    painter.drawEllipse(circle);
    painter.setPen(QPen(Qt::white, 6.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(circle, -m_busyAngle * 16, 90 * 16);
    painter.restore();
}
