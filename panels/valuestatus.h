#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QString>

// Where one value stands: not read yet, edited here, on its way to or from the radar,
// confirmed by the radar, failed or refused. It follows the client's command states for
// the value's set and get commands.
//
// A value the user entered and the radar does not hold yet (changed, or its set queued,
// in progress or failed) is the user's: answers from the radar never replace it, they are
// shown beside it. A value that was neither read from the radar nor entered here is not
// known, and a panel never sends it.
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
        NoAnswer,
        Refused,
    };

    // How long an acknowledged read waits for its answer before it ends in "no answer".
    // The answer normally comes in the same message as the acknowledgement; this is the
    // client's own limit for radar silence.
    static constexpr int AnswerTimeoutMs = 2000;

    ValueStatus() = default;
    // A value has a get command; a status without one follows a command only.
    ValueStatus(int setCommand, int getCommand);

    Stage stage() const { return m_stage; }
    int error() const { return m_error; }
    QString text() const;
    QString toolTip() const;
    QColor color() const;
    bool tracks(int command) const;

    bool isKnown() const { return m_known; }
    bool holdsUserValue() const { return m_userValue; }
    // The user's value is neither on its way nor acknowledged.
    bool hasUnsentChange() const;
    bool isUnusual() const { return !m_unusual.isEmpty(); }
    // An acknowledged read whose answer has not arrived.
    bool awaitsAnswer() const { return m_stage == Waiting && m_answerDue; }

    void markChanged();
    void markWaiting();
    // A value from the radar, `radarText` as shown to the user, `unusual` saying why it is
    // unusual (empty when it is not). Returns false when the user's own value is kept;
    // the radar's is then shown beside it.
    bool markReceived(const QString &radarText = QString(), const QString &unusual = QString());
    void markRefused(const QString &reason);
    // The read was acknowledged but its answer never came.
    void markNoAnswer();
    // The radar's value changed without being read (its polygons were re-initialised).
    void markUnknown();
    // Returns true when the command is one of this value's.
    bool applyCommandState(int command, int state, int error);

    // A command's error as words with the code after them, as the client reports it
    // with state 0 (dropped) or 4 (failed).
    static QString errorText(int state, int error);

private:
    bool isValue() const { return m_getCommand != 0; }

    int m_setCommand = 0;
    int m_getCommand = 0;
    Stage m_stage = Idle;
    int m_error = 0;
    bool m_known = false;
    bool m_userValue = false;
    bool m_answerDue = false;
    QString m_reason;
    QString m_radarText;
    QString m_unusual;
};
