#pragma once

#include <QListView>

class RxMessageModel;

// The received-messages list: keeps the model's size hints in step with the view's
// font, width and word wrapping, and lays the entries out at most once per event loop
// pass however many change.
class RxMessageListView : public QListView
{
    Q_OBJECT

public:
    explicit RxMessageListView(QWidget *parent = nullptr);

    void setMessageModel(RxMessageModel *model);
    void setEntriesWrapped(bool wrap);
    // Lays the entries out again soon, after some changed their size.
    void scheduleEntriesLayout();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateModelLayout();

    RxMessageModel *m_model = nullptr;
};
