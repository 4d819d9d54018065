#pragma once

#include <QTableView>

// The view both object tables share: read-only, whole-row single selection, columns
// stretched to the width and fixed, hidden row headers.
class ObjectTableView : public QTableView
{
    Q_OBJECT

public:
    explicit ObjectTableView(QWidget *parent = nullptr);
};
