#pragma once

#include "serverstatuswidget.h"

class QToolButton;

// The server's own state (connecting to its line, opening, testing, working on a port)
// and the radar's hardware information, which its button asks for.
class ServerStateWidget : public ServerStatusWidget
{
    Q_OBJECT

public:
    explicit ServerStateWidget(QWidget *parent = nullptr);

    QToolButton *hardwareInfoButton() const { return m_hardwareInfoButton; }

public slots:
    void showConnecting() override;
    void showDisconnected() override;
    void showNotConnected() override;
    void showServerState(int state, const QString &nepsUrl, const QString &portName);
    void showRadarState(int state);
    void showRadarHardwareInfo(const QString &info);
    // Says so while the server's text messages are not its JSON answers.
    void showServerCommandResult(int command, bool result, int error);

signals:
    void getRadarHardwareInfo();

private:
    void doShowText();

    QToolButton *m_hardwareInfoButton = nullptr;
    QString m_stateText;
    QString m_hardwareInfo;
    bool m_unreadable = false;
};
