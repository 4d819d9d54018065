#include "tvmsconfigwidget.h"

#include "cameramodel.h"
#include "ui_tvmsconfigwidget.h"

#include <QJsonValue>

#include <cmath>

namespace {

constexpr double DefaultZOffset = 0.1; // m

double numberOr(const QJsonObject &config, const char *key, double defaultValue)
{
    const double value = config.value(QLatin1String(key)).toDouble(defaultValue);
    return std::isfinite(value) ? value : defaultValue;
}

} // namespace

TvmsConfigWidget::TvmsConfigWidget(QWidget *parent)
    : StandaloneWidget(parent)
    , m_ui(std::make_unique<Ui::TvmsConfigWidget>())
{
    m_ui->setupUi(this);
    m_ui->viewAngleSpin->setRange(CameraModel::MinViewAngle, CameraModel::MaxViewAngle);
    setTvmsConfig(QJsonObject());
    for (QDoubleSpinBox *spin : { m_ui->xOffsetSpin, m_ui->yOffsetSpin, m_ui->zOffsetSpin,
             m_ui->azimuthSpin, m_ui->altitudeSpin, m_ui->viewAngleSpin }) {
        connect(spin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &TvmsConfigWidget::onValueEdited);
    }
    connect(m_ui->videoDelaySpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
        &TvmsConfigWidget::onValueEdited);
    connect(
        m_ui->defaultsButton, &QPushButton::clicked, this, &TvmsConfigWidget::onDefaultsClicked);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QWidget::close);
}

TvmsConfigWidget::~TvmsConfigWidget() = default;

QJsonObject TvmsConfigWidget::tvmsConfig() const
{
    return QJsonObject {
        { QLatin1String(CameraModel::XOffsetKey), m_ui->xOffsetSpin->value() },
        { QLatin1String(CameraModel::YOffsetKey), m_ui->yOffsetSpin->value() },
        { QLatin1String(CameraModel::ZOffsetKey), m_ui->zOffsetSpin->value() },
        { QLatin1String(CameraModel::AzimuthMisalignmentKey), m_ui->azimuthSpin->value() },
        { QLatin1String(CameraModel::AltitudeMisalignmentKey), m_ui->altitudeSpin->value() },
        { QLatin1String(CameraModel::HorizontalViewAngleKey), m_ui->viewAngleSpin->value() },
        { QLatin1String(CameraModel::VideoDelayKey), m_ui->videoDelaySpin->value() },
    };
}

void TvmsConfigWidget::setTvmsConfig(const QJsonObject &config)
{
    const QSignalBlocker blockers[] = { QSignalBlocker(m_ui->xOffsetSpin),
        QSignalBlocker(m_ui->yOffsetSpin), QSignalBlocker(m_ui->zOffsetSpin),
        QSignalBlocker(m_ui->azimuthSpin), QSignalBlocker(m_ui->altitudeSpin),
        QSignalBlocker(m_ui->viewAngleSpin), QSignalBlocker(m_ui->videoDelaySpin) };
    m_ui->xOffsetSpin->setValue(numberOr(config, CameraModel::XOffsetKey, 0.0));
    m_ui->yOffsetSpin->setValue(numberOr(config, CameraModel::YOffsetKey, 0.0));
    m_ui->zOffsetSpin->setValue(numberOr(config, CameraModel::ZOffsetKey, DefaultZOffset));
    m_ui->azimuthSpin->setValue(numberOr(config, CameraModel::AzimuthMisalignmentKey, 0.0));
    m_ui->altitudeSpin->setValue(numberOr(config, CameraModel::AltitudeMisalignmentKey, 0.0));
    // The angle the camera uses: one outside the range is not clamped but replaced.
    m_ui->viewAngleSpin->setValue(CameraModel::usableViewAngle(
        config.value(QLatin1String(CameraModel::HorizontalViewAngleKey))));
    m_ui->videoDelaySpin->setValue(
        config.value(QLatin1String(CameraModel::VideoDelayKey)).toInt(0));
}

void TvmsConfigWidget::onValueEdited()
{
    emit tvmsConfigChanged(tvmsConfig());
}

void TvmsConfigWidget::onDefaultsClicked()
{
    setTvmsConfig(QJsonObject());
    emit tvmsConfigChanged(tvmsConfig());
}
