#include "serverurldialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QUrl>
#include <QVBoxLayout>

ServerUrlDialog::ServerUrlDialog(const QString &url, QWidget *parent)
    : QDialog(parent)
    , m_urlEdit(new QLineEdit(url, this))
    , m_problemLabel(new QLabel(this))
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_problemLabel->setWordWrap(true);
    m_problemLabel->setStyleSheet(QStringLiteral("color: #c00000"));
    m_problemLabel->hide();
    m_urlEdit->setMinimumWidth(360);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Enter new server URL"), this));
    layout->addWidget(m_urlEdit);
    layout->addWidget(m_problemLabel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ServerUrlDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ServerUrlDialog::reject);
    connect(m_urlEdit, &QLineEdit::textChanged, m_problemLabel, &QLabel::hide);
}

QString ServerUrlDialog::url() const
{
    return m_urlEdit->text().trimmed();
}

QString ServerUrlDialog::problemText() const
{
    return m_problemLabel->isHidden() ? QString() : m_problemLabel->text();
}

QString ServerUrlDialog::urlProblem(const QString &url)
{
    const QUrl parsed(url, QUrl::StrictMode);
    if (url.isEmpty() || !parsed.isValid())
        return tr("This is not a valid URL.");
    const QString scheme = parsed.scheme().toLower();
    if (scheme != QLatin1String("ws") && scheme != QLatin1String("wss"))
        return tr("The URL must start with ws:// or wss://.");
    if (parsed.host().isEmpty())
        return tr("The URL names no host.");
    return QString();
}

void ServerUrlDialog::accept()
{
    const QString problem = urlProblem(url());
    if (!problem.isEmpty()) {
        m_problemLabel->setText(problem);
        m_problemLabel->show();
        return;
    }
    QDialog::accept();
}
