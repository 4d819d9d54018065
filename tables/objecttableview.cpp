#include "objecttableview.h"

#include "cachedtextdelegate.h"
#include "objectcolumns.h"

#include <QDateTime>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>

namespace {

// A record whose cells are as wide as real ones get: three-digit speeds, ranges beyond
// 100 m, signs, the last millisecond of a day.
ObjectRecord typicalRecord()
{
    ObjectRecord record;
    record.id = 255;
    record.xSpeed = -188.8 / 3.6;
    record.ySpeed = -188.8 / 3.6;
    record.xRange = -188.88;
    record.yRange = -188.88;
    record.length = 88.8;
    record.lastDetectedMs
        = QDateTime(QDate(2026, 1, 1), QTime(23, 58, 58, 888), Qt::LocalTime).toMSecsSinceEpoch();
    return record;
}

} // namespace

ObjectTableView::ObjectTableView(QWidget *parent)
    : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new CachedTextDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionsMovable(false);
    // The header is as wide as the viewport: its resizes are the viewport's.
    horizontalHeader()->installEventFilter(this);
    // Fixed row heights: sizing rows to their contents costs seconds per frame at the limit.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    connect(horizontalHeader(), &QHeaderView::sectionCountChanged, this,
        &ObjectTableView::doFitSections);
}

int ObjectTableView::minimumSectionWidth(int column) const
{
    const QString value = ObjectColumns::cellText(typicalRecord(), column);
    // The item delegate's text margins, and a pixel of air on each side.
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 2);
    return qMax(horizontalHeader()->sectionSizeHint(column),
        fontMetrics().horizontalAdvance(value) + margin);
}

QSize ObjectTableView::sizeHint() const
{
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    if (!verticalHeader()->isHidden())
        width += qMax(verticalHeader()->sizeHint().width(), verticalHeader()->minimumWidth());
    for (int column = 0; column < horizontalHeader()->count(); ++column)
        width += minimumSectionWidth(column);
    return QSize(width, QTableView::sizeHint().height());
}

void ObjectTableView::setSelectionModel(QItemSelectionModel *selectionModel)
{
    QTableView::setSelectionModel(selectionModel);
    // The column headers cannot be clicked, so they never show the selection; following
    // the table's they would repaint whenever the selected row changes, as it does on
    // every frame of a history that follows its end.
    QItemSelectionModel *old = m_headerSelection;
    m_headerSelection = model() ? new QItemSelectionModel(model(), this) : nullptr;
    if (m_headerSelection)
        horizontalHeader()->setSelectionModel(m_headerSelection);
    delete old;
}

bool ObjectTableView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == horizontalHeader() && event->type() == QEvent::Resize)
        doFitSections();
    return QTableView::eventFilter(watched, event);
}

void ObjectTableView::doFitSections()
{
    QHeaderView *header = horizontalHeader();
    const int count = header->count();
    if (count == 0)
        return;
    QVector<int> widths(count);
    int total = 0;
    for (int column = 0; column < count; ++column) {
        widths[column] = minimumSectionWidth(column);
        total += widths[column];
    }
    // What the viewport has beyond the minimums is shared equally, as stretched sections do.
    const int extra = qMax(0, header->width() - total);
    for (int column = 0; column < count; ++column)
        header->resizeSection(
            column, widths.at(column) + extra / count + (column < extra % count ? 1 : 0));
}
