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
};
