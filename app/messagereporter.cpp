#include "messagereporter.h"

#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <cstdio>

MessageReporter::MessageReporter(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    window->installEventFilter(this);
}

void MessageReporter::report(const QString &title, const QString &text, bool warning)
{
    if (m_unattended) {
        doWriteToStderr(title, text);
        return;
    }
    if (!m_shown && !m_closing) {
        m_pending.append({ title, text, warning });
        return;
    }
    auto *box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information, title,
        text, QMessageBox::Ok, m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // A person closing the window reads the box before the window goes.
    if (m_closing) {
        box->exec();
        return;
    }
    m_open.append(box);
    box->open();
}

void MessageReporter::setClosing()
{
    m_closing = true;
    // Unread start-up messages are still worth reading before the window goes.
    const QList<Message> pending = m_pending;
    m_pending.clear();
    for (const Message &message : pending)
        report(message.title, message.text, message.warning);
}

void MessageReporter::onTerminationSignal(int)
{
    m_unattended = true;
    const QList<Message> pending = m_pending;
    m_pending.clear();
    for (const Message &message : pending)
        doWriteToStderr(message.title, message.text);
    for (const QPointer<QMessageBox> &box : qAsConst(m_open)) {
        if (!box || !box->isVisible())
            continue;
        doWriteToStderr(box->windowTitle(), box->text());
        box->close();
    }
    m_open.clear();
}

bool MessageReporter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Show && !m_shown) {
        m_shown = true;
        // Once the window is on screen, so that the boxes open over it.
        QTimer::singleShot(0, this, &MessageReporter::doOpenPending);
    }
    return QObject::eventFilter(watched, event);
}

void MessageReporter::doOpenPending()
{
    const QList<Message> pending = m_pending;
    m_pending.clear();
    for (const Message &message : pending)
        report(message.title, message.text, message.warning);
}

void MessageReporter::doWriteToStderr(const QString &title, const QString &text)
{
    const QByteArray line = (title + QStringLiteral(": ") + text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}
