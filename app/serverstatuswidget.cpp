#include "serverstatuswidget.h"

#include <QHBoxLayout>
#include <QLabel>

ServerStatusWidget::ServerStatusWidget(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
    , m_label(new QLabel(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->addWidget(m_label);
}

QString ServerStatusWidget::text() const
{
    return m_label->text();
}

void ServerStatusWidget::showConnecting()
{
    setText(QString());
}

void ServerStatusWidget::showConnected()
{
    setText(QString());
}

void ServerStatusWidget::showNotConnected()
{
    setText(QString());
}

void ServerStatusWidget::showDisconnected()
{
    setText(QString());
}

void ServerStatusWidget::setText(const QString &text)
{
    m_label->setText(text);
}
