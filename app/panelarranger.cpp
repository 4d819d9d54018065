#include "panelarranger.h"

#include "ui_mainwindow.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

PanelArranger::PanelArranger(Ui::MainWindow &form, QMainWindow *window,
    const QMap<VantorControl, QWidget *> &boxes, QObject *parent)
    : QObject(parent)
    , m_form(form)
    , m_window(window)
    , m_boxes(boxes)
{
    // Values read from the radar widen the panels without any layout change.
    m_form.controlsWidget->installEventFilter(this);
}

void PanelArranger::placeWindow()
{
    const QRect available = availableGeometry();
    if (!available.isValid())
        return;
    // Room for the window's frame and title on a 1366 x 768 laptop screen.
    m_window->resize(qMin(m_window->width(), available.width() - 16),
        qMin(m_window->height(), available.height() - 40));
    QRect frame = m_window->frameGeometry();
    frame.moveCenter(available.center());
    m_window->move(frame.topLeft());
}

bool PanelArranger::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest
        && (m_form.controlsWidget->minimumSizeHint().width() != m_fittedWidth
            || m_form.controlsWidget->sizeHint().width() != m_fittedPreferredWidth)) {
        doFitPanelsWidth();
        QTimer::singleShot(0, this, &PanelArranger::doKeepWindowOnScreen);
    }
    return QObject::eventFilter(watched, event);
}

QRect PanelArranger::availableGeometry() const
{
    if (m_available.isValid())
        return m_available;
    const QScreen *screen = m_window->screen();
    return screen ? screen->availableGeometry() : QRect();
}

void PanelArranger::placeObjectsArea(bool drawVertical)
{
    QWidget *objects = m_form.objectsMetaWidget;
    QWidget *table = m_form.objectsTableBox;
    m_form.horzRoadLayout->removeWidget(objects);
    m_form.vertRoadLayout->removeWidget(objects);
    m_form.horzCtrlsLayout->removeWidget(table);
    m_form.vertCtrlsLayout->removeWidget(table);
    if (drawVertical) {
        m_form.vertRoadLayout->insertWidget(0, objects);
        m_form.vertCtrlsLayout->insertWidget(0, table);
    } else {
        m_form.horzRoadLayout->insertWidget(0, objects);
        m_form.horzCtrlsLayout->insertWidget(0, table);
    }
}

void PanelArranger::placePanels(const PanelLayout &layout, const QMap<VantorControl, bool> &shown)
{
    m_window->setUpdatesEnabled(false);
    m_form.objectsMetaWidget->hide();
    m_form.objectsMetaWidget->setMaximumSize(32, 32);
    QVBoxLayout *columns[]
        = { m_form.controls1Layout, m_form.controls2Layout, m_form.controls3Layout };
    QWidget *columnWidgets[] = { m_form.column1Widget, m_form.column2Widget, m_form.column3Widget };
    QWidget *spacers[] = { m_form.spacer1Widget, m_form.spacer2Widget, m_form.spacer3Widget };
    for (int column = 0; column < PanelLayout::MaxColumns; ++column) {
        while (QLayoutItem *item = columns[column]->takeAt(0))
            delete item;
        for (VantorControl box : layout.columns.at(column))
            columns[column]->addWidget(m_boxes.value(box));
        columns[column]->addWidget(spacers[column]);
        columnWidgets[column]->setVisible(layout.isColumnShown(column, shown));
    }
    m_window->setUpdatesEnabled(true);
}

void PanelArranger::apply(const PanelLayout &layout, bool objectsShown)
{
    m_layout = layout;
    m_objectsShown = objectsShown;
    doSetSizePolicies();
    QTimer::singleShot(1, this, &PanelArranger::doFinishRearranging);
}

void PanelArranger::doSetSizePolicies()
{
    const auto policy
        = [](bool fill) { return fill ? QSizePolicy::Expanding : QSizePolicy::Maximum; };
    m_form.controlsWidget->setSizePolicy(
        policy(m_layout.controlsFillWidth), policy(m_layout.controlsFillHeight));
    // The panels take all the height the objects area and the table leave, and scroll
    // when they need more.
    m_form.controlsScrollArea->setSizePolicy(
        policy(m_layout.controlsFillWidth), QSizePolicy::Expanding);
    m_form.objectsTableBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_form.objectsMetaWidget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PanelArranger::setStretchFactors(const PanelLayout &layout)
{
    m_form.centralWidgetLayout->setStretchFactor(m_form.horzRoadLayout, layout.roadRowStretch);
    m_form.centralWidgetLayout->setStretchFactor(m_form.horzSpaceLayout, layout.lowerRowStretch);
    m_form.horzSpaceLayout->setStretchFactor(m_form.vertRoadLayout, layout.roadColumnStretch);
    m_form.horzSpaceLayout->setStretchFactor(m_form.vertCtrlsLayout, layout.controlsColumnStretch);
    m_form.horzCtrlsLayout->setStretchFactor(m_form.objectsTableBox, layout.tableStretch);
}

void PanelArranger::doFinishRearranging()
{
    setStretchFactors(m_layout);
    emit rearranged();
    m_form.objectsMetaWidget->setVisible(m_objectsShown);
    doFitPanelsWidth();
    QTimer::singleShot(1, this, &PanelArranger::doReleaseObjectsArea);
}

void PanelArranger::doReleaseObjectsArea()
{
    m_form.objectsMetaWidget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    doKeepWindowOnScreen();
    emit finished();
}

void PanelArranger::doFitPanelsWidth()
{
    QScrollArea *area = m_form.controlsScrollArea;
    const int scrollBarWidth = area->verticalScrollBar()->sizeHint().width();
    // As wide as the columns want, so that it only scrolls vertically...
    m_fittedWidth = m_form.controlsWidget->minimumSizeHint().width();
    m_fittedPreferredWidth = m_form.controlsWidget->sizeHint().width();
    const int least = m_fittedWidth + scrollBarWidth;
    const int preferred = qMax(least, m_fittedPreferredWidth + scrollBarWidth);
    area->setMinimumWidth(preferred);
    // The table shows every column whole where the screen has room for it.
    QWidget *table = m_form.objectsTableBox;
    const int tableWidth = table->sizeHint().width();
    table->setMinimumWidth(tableWidth);
    const QRect available = availableGeometry();
    const int frameWidth = m_window->frameGeometry().width() - m_window->width();
    const auto excessWidth = [&] {
        // The window's minimum size follows only once the central layout has taken it in.
        m_form.centralWidgetLayout->activate();
        return available.isValid()
            ? m_window->minimumSizeHint().width() + frameWidth - available.width()
            : 0;
    };
    int excess = excessWidth();
    // ...and where the screen is too narrow for that, as narrow as they can be...
    if (excess > 0) {
        area->setMinimumWidth(qMax(least, preferred - excess));
        excess = excessWidth();
    }
    // ...then the table gives way and scrolls its columns sideways...
    if (excess > 0 && table->isVisibleTo(m_window)) {
        table->setMinimumWidth(qMax(tableWidth / MinTableShare, tableWidth - excess));
        excess = excessWidth();
    }
    // ...and only then do the panels scroll sideways too.
    if (excess > 0)
        area->setMinimumWidth(qMax(2 * scrollBarWidth, least - excess));
    area->setHorizontalScrollBarPolicy(excess > 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void PanelArranger::doKeepWindowOnScreen()
{
    const QRect available = availableGeometry();
    if (!available.isValid() || !m_window->isVisible()
        || (m_window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    m_window->layout()->activate();
    if (available.contains(m_window->frameGeometry()))
        return;
    const QSize frame = m_window->frameGeometry().size() - m_window->size();
    m_window->resize(m_window->size().boundedTo(available.size() - frame));
    const QRect placed = m_window->frameGeometry();
    m_window->move(
        qMax(available.left(), qMin(placed.left(), available.right() + 1 - placed.width())),
        qMax(available.top(), qMin(placed.top(), available.bottom() + 1 - placed.height())));
}
