#include "rownumberheader.h"

RowNumberHeader::RowNumberHeader(QWidget *parent)
    : QHeaderView(Qt::Vertical, parent)
{ }

QSize RowNumberHeader::sizeHint() const
{
    return QSize(minimumWidth(), defaultSectionSize());
}
