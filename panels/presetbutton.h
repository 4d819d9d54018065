#pragma once

#include <QToolButton>

class QMenu;

// The button of one preset; its context menu renames, updates or deletes the preset.
class PresetButton : public QToolButton
{
    Q_OBJECT

public:
    explicit PresetButton(int presetId, QWidget *parent = nullptr);

    int presetId() const { return m_presetId; }

signals:
    void renameRequested(int presetId);
    void updateRequested(int presetId);
    void deleteRequested(int presetId);

public slots:
    void onRenameActionClicked();
    void onUpdateActionClicked();
    void onDeleteActionClicked();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    int m_presetId = -1;
    QMenu *m_menu = nullptr;
};
