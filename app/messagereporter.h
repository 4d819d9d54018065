#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QMessageBox;
class QWidget;

// Tells the user what happened, in a way that never keeps the program from ending:
// - before the window shows, messages wait and open over it once it does;
// - while it is open, each opens in a box that does not block the event loop;
// - when a person closes the window, a box waits until read;
// - after a termination signal nobody may be there to read a box: messages, and those of
//   the boxes still open, go to stderr and the boxes close.
class MessageReporter : public QObject
{
    Q_OBJECT

public:
    explicit MessageReporter(QWidget *window);

    void report(const QString &title, const QString &text, bool warning);
    // The window is closing; after a termination signal the close is nobody's.
    void setClosing();

public slots:
    void onTerminationSignal(int signalNumber);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Message
    {
        QString title;
        QString text;
        bool warning;
    };

    void doOpenPending();
    void doWriteToStderr(const QString &title, const QString &text);

    QWidget *m_window;
    QList<Message> m_pending;
    QList<QPointer<QMessageBox>> m_open;
    bool m_shown = false;
    bool m_closing = false;
    bool m_unattended = false;
};
