#include "projectionwidget.h"

#include "ui_projectionwidget.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QInputDialog>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int PickupStartDelayMs = 5; // lets the last question box close first
constexpr int BusyFrameMs = 50;
constexpr int BusyStepDegrees = 15;
constexpr int MarkSize = 6; // px, half the arms of a mark's cross
// Larger pictures are no camera frame; refusing them keeps memory in bounds.
constexpr qint64 MaxPicturePixels = 40LL * 1000 * 1000;

const QColor MarkColour(255, 140, 0);
const QColor FitColour(0, 255, 0);

} // namespace

ProjectionWidget::ProjectionWidget(QWidget *parent)
    : StandaloneWidget(parent)
    , m_ui(std::make_unique<Ui::ProjectionWidget>())
    , m_drawer(this)
{
    m_ui->setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);

    connect(&m_drawer, &ProjectionDrawer::updated, this, QOverload<>::of(&QWidget::update));
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
    m_checkpoints.clear();
    m_pickedPixels.clear();
    m_residuals.clear();
    m_marking = true;
    m_mode = mode;
    setCursor(Qt::CrossCursor);
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
    doScaleBackground();
    update();
}

void ProjectionWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    if (!m_scaledBackground.isNull()) {
        painter.drawPixmap(0, 0, m_scaledBackground);
    } else if (!m_backgroundPath.isEmpty()) {
        painter.fillRect(rect(), Qt::black);
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter,
            tr("Unable to show the picture %1.").arg(QFileInfo(m_backgroundPath).fileName()));
    }
    m_drawer.paint(painter);
    drawMarks(painter);
    if (m_busy)
        drawBusy(painter);
}

void ProjectionWidget::resizeEvent(QResizeEvent *event)
{
    StandaloneWidget::resizeEvent(event);
    doScaleBackground();
    m_drawer.rescale();
}

void ProjectionWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_busy || !m_marking) {
        StandaloneWidget::mouseReleaseEvent(event);
        return;
    }
    if (event->button() == Qt::RightButton)
        doEndMarking();
    else if (event->button() == Qt::LeftButton)
        doAddCheckpoint(event->localPos().toPoint());
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
    QSize target = m_background.size();
    if (const QScreen *s = screen()) {
        const QSize room = s->availableGeometry().size() - (frameGeometry().size() - size());
        if (target.width() > room.width() || target.height() > room.height())
            target.scale(room, Qt::KeepAspectRatio);
    }
    resize(target);
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
    setWindowFlag(flag, on);
    if (visible)
        show();
}

void ProjectionWidget::doAddCheckpoint(const QPoint &pixel)
{
    const int index = m_checkpoints.size();
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
    if (!ok) {
        doEndMarking();
        return;
    }
    m_checkpoints.append({ pixel, value });
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
    update();
    m_drawer.pickupParameters(m_mode, m_checkpoints);
    m_pickedPixels = m_drawer.pickedCheckpointPixels();
    m_residuals = m_drawer.checkpointResiduals();
    m_drawer.applyPreviousParameters();
    m_busy = false;
    unsetCursor();
    update();
}

void ProjectionWidget::doShowPickupResult(bool isPicked, double viewAngle)
{
    m_busyTimer.stop();
    update();
    if (isPicked) {
        QMessageBox::information(this, tr("Picked parameters"),
            tr("%1\n%2").arg(
                tr("Picked radar position is written into the 'Set radar position' control."),
                viewAngle > 0.0
                    ? tr("Camera horizontal view angle is %1 deg.").arg(viewAngle, 0, 'f', 2)
                    : QString()));
    } else {
        QMessageBox::warning(this, tr("Picked parameters"), tr("Unable to pick up parameters."));
    }
}

void ProjectionWidget::doScaleBackground()
{
    m_scaledBackground = m_background.isNull() || size().isEmpty()
        ? QPixmap()
        : QPixmap::fromImage(
            m_background.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void ProjectionWidget::drawMarks(QPainter &painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPoint labelOffset(MarkSize + 3, -MarkSize - 3);
    for (int i = 0; i < m_checkpoints.size(); ++i) {
        const QPoint mark = m_checkpoints.at(i).first;
        painter.setPen(QPen(MarkColour, 2.0));
        painter.drawLine(mark - QPoint(MarkSize, 0), mark + QPoint(MarkSize, 0));
        painter.drawLine(mark - QPoint(0, MarkSize), mark + QPoint(0, MarkSize));
        QString label;
        if (i < 4) {
            label = tr("#%1: Y %2 m").arg(i + 1).arg(m_checkpoints.at(i).second, 0, 'f', 2);
            if (i < m_residuals.size()) {
                label += QLatin1String(", ");
                label += m_residuals.at(i) < 0.0
                    ? tr("not projected")
                    : tr("off by %1 px").arg(m_residuals.at(i), 0, 'f', 1);
            }
        } else if (i == 5) {
            painter.drawLine(m_checkpoints.at(4).first, mark);
            label = tr("%1 m").arg(m_checkpoints.at(i).second, 0, 'f', 2);
        }
        painter.drawText(mark + labelOffset, label);
    }
    // Where the picked parameters put each checkpoint.
    painter.setPen(QPen(FitColour, 2.0));
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < m_residuals.size() && i < m_checkpoints.size(); ++i) {
        if (m_residuals.at(i) < 0.0)
            continue;
        painter.drawLine(m_checkpoints.at(i).first, m_pickedPixels.at(i));
        painter.drawEllipse(m_pickedPixels.at(i), MarkSize / 2, MarkSize / 2);
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
