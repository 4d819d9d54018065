#pragma once

#include <QWidget>

class QHBoxLayout;
class QLabel;

// A status bar text that follows the radar client's connection to the server; each
// server widget shows its own part of it.
class ServerStatusWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ServerStatusWidget(QWidget *parent = nullptr);

    QString text() const;

public slots:
    virtual void showConnecting();
    virtual void showConnected();
    virtual void showNotConnected();
    virtual void showDisconnected();

protected:
    void setText(const QString &text);
    QHBoxLayout *layout() const { return m_layout; }

private:
    QHBoxLayout *m_layout = nullptr;
    QLabel *m_label = nullptr;
};
