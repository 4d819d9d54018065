#pragma once

#include <QTableView>

// The view both object tables share: read-only, whole-row single selection, hidden row
// headers. The columns share the width like stretched sections, but none gets narrower
// than its header and a typical value: below that the table scrolls sideways.
class ObjectTableView : public QTableView
{
    Q_OBJECT

public:
    explicit ObjectTableView(QWidget *parent = nullptr);

    // The narrowest width that shows the column's header and a typical value whole.
    int minimumSectionWidth(int column) const;
    // Wide enough for every column at its minimum width.
    QSize sizeHint() const override;
    void setSelectionModel(QItemSelectionModel *selectionModel) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void doFitSections();

    QItemSelectionModel *m_headerSelection = nullptr;
};
