#include "rxmessagelistview.h"

#include "rxmessagedelegate.h"
#include "rxmessagemodel.h"

#include <QEvent>
#include <QScrollBar>

RxMessageListView::RxMessageListView(QWidget *parent)
    : QListView(parent)
{
    setItemDelegate(new RxMessageDelegate(this));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setResizeMode(QListView::Adjust);
    setTextElideMode(Qt::ElideRight);
}

void RxMessageListView::setMessageModel(RxMessageModel *model)
{
    m_model = model;
    setModel(model);
    updateModelLayout();
}

void RxMessageListView::setEntriesWrapped(bool wrap)
{
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    setWordWrap(wrap);
    updateModelLayout();
}

void RxMessageListView::scheduleEntriesLayout()
{
    scheduleDelayedItemsLayout();
}

void RxMessageListView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    updateModelLayout();
}

void RxMessageListView::changeEvent(QEvent *event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateModelLayout();
}

void RxMessageListView::updateModelLayout()
{
    if (!m_model)
        return;
    m_model->setLayout(font(), viewport()->width(), wordWrap());
    scheduleDelayedItemsLayout();
}
