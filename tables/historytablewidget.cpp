#include "historytablewidget.h"
#include "objecttableview.h"

#include "historyfile.h"
#include "rownumberheader.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

HistoryTableWidget::HistoryTableWidget(QWidget *parent)
    : GroupedWidget(parent)
    , m_view(new ObjectTableView(this))
    , m_clearTableButton(new QPushButton(tr("Clear history"), this))
    , m_pauseWorkButton(new QPushButton(tr("Pause"), this))
    , m_saveToFileButton(new QPushButton(tr("Save to file"), this))
    , m_fileFormatBox(new QComboBox(this))
{
    setMinimumSize(640, 400);
    m_clearTableButton->setObjectName(QStringLiteral("clearTableButton"));
    m_pauseWorkButton->setObjectName(QStringLiteral("pauseWorkButton"));
    m_saveToFileButton->setObjectName(QStringLiteral("saveToFileButton"));
    m_pauseWorkButton->setCheckable(true);
    m_fileFormatBox->setObjectName(QStringLiteral("fileFormatBox"));
    m_fileFormatBox->setToolTip(tr("The format of the file the history is saved to"));
    m_fileFormatBox->addItem(tr("Text"), HistoryFile::formatName(HistoryFile::Format::Text));
    m_fileFormatBox->addItem(
        tr("CSV for spreadsheets"), HistoryFile::formatName(HistoryFile::Format::Csv));

    m_view->setModel(&m_model);
    // Row numbers, as wide as the largest from the start: the columns do not shift as
    // the history grows.
    auto *rowNumbers = new RowNumberHeader(m_view);
    rowNumbers->setSectionResizeMode(QHeaderView::Fixed);
    rowNumbers->setDefaultSectionSize(m_view->verticalHeader()->defaultSectionSize());
    m_view->setVerticalHeader(rowNumbers);
    rowNumbers->show();
    m_liveParts = { m_view->viewport(), rowNumbers, m_view->verticalScrollBar() };
    rowNumbers->setMinimumWidth(
        rowNumbers->fontMetrics().horizontalAdvance(QString::number(HistoryModel::MaxRows))
        + 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, rowNumbers)
        + rowNumbers->fontMetrics().averageCharWidth());

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_clearTableButton);
    buttons->addWidget(m_pauseWorkButton);
    buttons->addStretch();
    buttons->addWidget(m_fileFormatBox);
    buttons->addWidget(m_saveToFileButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    // Opened at a size that shows every column whole.
    resize(sizeHint().expandedTo(minimumSize()));

    connect(m_clearTableButton, &QPushButton::clicked, this,
        &HistoryTableWidget::on_clearTableButton_clicked);
    connect(m_pauseWorkButton, &QPushButton::toggled, this,
        &HistoryTableWidget::on_pauseWorkButton_toggled);
    connect(m_saveToFileButton, &QPushButton::clicked, this,
        &HistoryTableWidget::on_saveToFileButton_clicked);
    connect(m_fileFormatBox, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        setFileFormat(m_fileFormatBox->itemData(index).toString());
        emit fileFormatChanged(m_fileFormatBox->itemData(index).toString());
    });
    connect(&m_filling, &RoadObjectFrameCollector::frameCollected, this,
        &HistoryTableWidget::showFrame);
}

void HistoryTableWidget::setPaintObjects(bool value)
{
    GroupedWidget::setPaintObjects(value);
    m_model.setPaintObjects(value);
}

void HistoryTableWidget::showFrame(const RoadObjectFrame &frame)
{
    // A frame without a time is measured at the last time known.
    if (frame.dateTimeUtc.isValid())
        m_model.setFrameTimeMs(frame.dateTimeUtc.toMSecsSinceEpoch());
    if (m_paused)
        return;
    // The rows, their numbers and the scroll bar change with the frame; the column headers,
    // the frame and the panel around do not, and are not repainted.
    for (QWidget *live : m_liveParts)
        live->setUpdatesEnabled(false);
    const bool followEnd = m_view->currentIndex().row() == m_model.rowCount() - 1;
    m_model.startFrame();
    for (const RoadObject &o : frame.objects) {
        if (o.lastDetected.isValid())
            m_model.addRecord(ObjectRecord::fromObject(o));
    }
    m_model.finishFrame();
    const int rows = m_model.rowCount();
    if (followEnd && rows > 0) {
        m_view->setCurrentIndex(m_model.index(rows - 1, 0));
        m_view->scrollToBottom();
    }
    for (QWidget *live : m_liveParts)
        live->setUpdatesEnabled(true);
}

void HistoryTableWidget::startFilling()
{
    m_filling.onFrameStarted();
}

void HistoryTableWidget::addObject(quint8 id, double xSpeed, double ySpeed, double xRange,
    double yRange, double length, const QDateTime &lastDetected)
{
    m_filling.onObjectData(id, xSpeed, ySpeed, xRange, yRange, length, lastDetected);
}

void HistoryTableWidget::finishFilling()
{
    m_filling.onFrameFinished();
}

void HistoryTableWidget::setFrameDateTimeUtc(const QDateTime &dateTime)
{
    m_filling.onFrameDateTimeUtc(dateTime);
}

void HistoryTableWidget::on_clearTableButton_clicked()
{
    m_model.clear();
}

void HistoryTableWidget::on_pauseWorkButton_toggled(bool checked)
{
    m_paused = checked;
    if (checked)
        m_model.forgetGroups();
    m_pauseWorkButton->setText(checked ? tr("Continue") : tr("Pause"));
}

void HistoryTableWidget::on_saveToFileButton_clicked()
{
    saveToFolder(HistoryFile::folder());
}

void HistoryTableWidget::saveToFolder(const QString &folder)
{
    if (folder.isEmpty()) {
        emit historySavingFailed(QString(), tr("No folder for the history can be created."));
        showMessage(true, tr("Cannot save the history: no folder for it can be created."));
        return;
    }
    const QString path
        = HistoryFile::newFilePath(folder, QDateTime::currentDateTime(), m_fileFormat);
    QString errorText;
    if (!HistoryFile::write(m_model, path, &errorText, m_fileFormat)) {
        emit historySavingFailed(path, errorText);
        showMessage(true, tr("Cannot save the history to %1:\n%2").arg(path, errorText));
        return;
    }
    emit historySaved(path);
    showMessage(false, tr("The history is saved to %1").arg(path));
}

void HistoryTableWidget::setFileFormat(const QString &name)
{
    m_fileFormat = HistoryFile::formatFromName(name);
    m_fileFormatBox->setCurrentIndex(
        m_fileFormatBox->findData(HistoryFile::formatName(m_fileFormat)));
}

void HistoryTableWidget::showMessage(bool failed, const QString &text)
{
    // Opened, not executed: the radar's frames keep arriving while the box is up.
    auto *box = new QMessageBox(failed ? QMessageBox::Warning : QMessageBox::Information,
        tr("Objects history"), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
