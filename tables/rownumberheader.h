#pragma once

#include <QHeaderView>

// The row numbers of a live table that is as wide as its minimum width, set for the
// largest number it will show: QHeaderView measures sections for its size hint again after
// every insertion, which a table gaining rows with every radar frame pays for each time.
class RowNumberHeader : public QHeaderView
{
public:
    explicit RowNumberHeader(QWidget *parent = nullptr);

    QSize sizeHint() const override;
};
