#pragma once

#include <QWidget>

// A widget that can be shown as a separate window: tells its owner before it closes,
// so the owner can record that the window is no longer visible.
class StandaloneWidget : public QWidget
{
    Q_OBJECT

public:
    explicit StandaloneWidget(QWidget *parent = nullptr);

    // Shows the widget as its own window titled `title`. A modal window becomes a tool
    // window of `parent`, window-modal, centred on the parent (or on the parent's screen
    // when it does not fit the parent).
    void showStandalone(bool modal, QWidget *parent, const QString &title);

signals:
    void aboutToClose();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void centreOn(QWidget *parent);
};
