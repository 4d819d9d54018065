#pragma once

#include <QToolButton>

class QMenu;

// The button of one preset; its context menu renames, updates or deletes the preset. A
// name longer than the button is elided, whole in the tool tip, and never widens the panel.
class PresetButton : public QToolButton
{
    Q_OBJECT

public:
    explicit PresetButton(int presetId, QWidget *parent = nullptr);

    int presetId() const { return m_presetId; }
    QString name() const { return m_name; }
    void setName(const QString &name);
    // The name as shown, elided to the button's width.
    QString shownName() const { return m_shownName; }

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
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void doElide();
    int textPadding() const;

    int m_presetId = -1;
    QMenu *m_menu = nullptr;
    QString m_name;
    QString m_shownName;
};
