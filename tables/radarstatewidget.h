#pragma once

#include <QLabel>

// The radar state as one status bar text.
class RadarStateWidget : public QLabel
{
    Q_OBJECT

public:
    explicit RadarStateWidget(QWidget *parent = nullptr);

    static QString stateText(int state);

public slots:
    void showRadarState(int state);
    // While offline, says that the messages arriving are not the radar's.
    void showMessagesUnreadable(bool unreadable);

private:
    void doShowText();

    int m_state;
    bool m_unreadable = false;
};
