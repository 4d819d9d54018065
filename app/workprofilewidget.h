#pragma once

#include "standalonewidget.h"
#include "workprofilehandler.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

// The work profile editor: switches, copies, renames and removes the profiles of the
// handler it owns.
class WorkProfileWidget : public StandaloneWidget
{
    Q_OBJECT

public:
    explicit WorkProfileWidget(QWidget *parent = nullptr);

    WorkProfileHandler *handler() { return &m_handler; }
    QListWidget *list() const { return m_list; }

public slots:
    void onSwitchClicked();
    void onAddClicked();
    void onRenameClicked();
    void onRemoveClicked();
    void doRefresh();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void onItemChanged(QListWidgetItem *item);
    void onCurrentRowChanged(int row);

private:
    WorkProfileHandler m_handler;
    QListWidget *m_list = nullptr;
    QPushButton *m_switchButton = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_renameButton = nullptr;
    QPushButton *m_removeButton = nullptr;
};
