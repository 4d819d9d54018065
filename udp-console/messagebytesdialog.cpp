#include "messagebytesdialog.h"

#include "payloadtext.h"
#include "ui_messagebytesdialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>

MessageBytesDialog::MessageBytesDialog(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::MessageBytesDialog>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("rxMessageDialog"));
    // Half the window, so that it fits wherever the window does.
    if (parent)
        resize(qMax(400, parent->width() / 2), qMax(300, parent->height() * 2 / 3));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_ui->rxMessageText->setFont(fixed);
    m_ui->rxMessageHex->setFont(fixed);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showNoMessage();
}

MessageBytesDialog::~MessageBytesDialog() = default;

void MessageBytesDialog::showMessage(const QString &header, const QByteArray &payload)
{
    setWindowTitle(header);
    m_ui->sizeLabel->setText(tr("Bytes: %1").arg(payload.size()));
    m_ui->rxMessageText->setPlainText(PayloadText::visible(payload));
    m_ui->rxMessageHex->setPlainText(PayloadText::hexDump(payload));
}

void MessageBytesDialog::showNoMessage()
{
    setWindowTitle(tr("Whole message"));
    m_ui->sizeLabel->setText(tr("No message is selected."));
    m_ui->rxMessageText->clear();
    m_ui->rxMessageHex->clear();
}
