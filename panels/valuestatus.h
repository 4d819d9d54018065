#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QString>

// Where one value stands: edited here, on its way to or from the radar, confirmed by the
// radar, failed or refused. It follows the client's command states for the value's set
// and get commands.
class ValueStatus
{
    Q_DECLARE_TR_FUNCTIONS(ValueStatus)

public:
    enum Stage {
        Idle,
        Changed,
        Queued,
        InProgress,
        CommandReceived,
        Waiting,
        FromRadar,
        Failed,
        Refused,
    };

    ValueStatus() = default;
    ValueStatus(int setCommand, int getCommand);

    Stage stage() const { return m_stage; }
    int error() const { return m_error; }
    QString text() const;
    QColor color() const;
    bool tracks(int command) const;

    void markChanged();
    void markWaiting();
    void markReceived();
    void markRefused(const QString &reason);
    // Returns true when the command is one of this value's.
    bool applyCommandState(int command, int state, int error);

private:
    int m_setCommand = 0;
    int m_getCommand = 0;
    Stage m_stage = Idle;
    int m_error = 0;
    QString m_reason;
};
