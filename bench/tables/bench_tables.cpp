// One radar frame of 64 objects through the objects history at its row limit (the
// model alone, and the panel with its table view), and through the objects table; then
// the painting: a visible table of 64 rows, and a frame through the shown history with
// the repaint it asks for.

#include "historymodel.h"
#include "historytablewidget.h"
#include "objectstablewidget.h"

#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

constexpr int Objects = 64;
constexpr qint64 FrameMs = 100;

long residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * 4096 : 0;
}

// Every object is reported in every frame, so its group grows and the inserts spread
// over the whole table, the costliest case.
template<class Sink> void feedFrame(Sink &sink, qint64 &frame)
{
    const qint64 ms = 1796811600000 + FrameMs * frame++;
    sink.begin(ms);
    for (int id = 0; id < Objects; ++id)
        sink.add(ObjectRecord { 20.0 + id, 0.1, 10.0 + id, -3.5, 4.5, ms, quint8(id) });
    sink.end();
}

struct ModelSink
{
    HistoryModel &model;
    void begin(qint64 ms)
    {
        model.setFrameTimeMs(ms);
        model.startFrame();
    }
    void add(const ObjectRecord &r) { model.addRecord(r); }
    void end() { model.finishFrame(); }
};

template<class Widget> struct WidgetSink
{
    Widget &widget;
    void begin(qint64 ms)
    {
        if constexpr (std::is_same_v<Widget, HistoryTableWidget>)
            widget.setFrameDateTimeUtc(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC));
        widget.startFilling();
    }
    void add(const ObjectRecord &r)
    {
        widget.addObject(r.id, r.xSpeed, r.ySpeed, r.xRange, r.yRange, r.length,
            QDateTime::fromMSecsSinceEpoch(r.lastDetectedMs, Qt::UTC));
    }
    void end() { widget.finishFilling(); }
};

void historyModelFrame(benchmark::State &state)
{
    const int rows = int(state.range(0));
    const long before = residentBytes();
    HistoryModel model;
    model.setMaxRows(rows);
    ModelSink sink { model };
    qint64 frame = 0;
    while (model.rowCount() < rows)
        feedFrame(sink, frame);
    state.counters["bytes_per_row"] = double(residentBytes() - before) / rows;
    for (auto _ : state)
        feedFrame(sink, frame);
    state.counters["rows"] = model.rowCount();
}

void historyWithViewFrame(benchmark::State &state)
{
    const int rows = int(state.range(0));
    HistoryTableWidget history;
    history.model()->setMaxRows(rows);
    history.resize(800, 600);
    history.show();
    WidgetSink<HistoryTableWidget> sink { history };
    qint64 frame = 0;
    while (history.model()->rowCount() < rows)
        feedFrame(sink, frame);
    QCoreApplication::processEvents();
    for (auto _ : state)
        feedFrame(sink, frame);
    state.counters["rows"] = history.model()->rowCount();
}

void objectsTableFrame(benchmark::State &state)
{
    ObjectsTableWidget table;
    table.showRadarState(2);
    table.resize(800, 600);
    table.show();
    QCoreApplication::processEvents();
    WidgetSink<ObjectsTableWidget> sink { table };
    qint64 frame = 0;
    for (auto _ : state)
        feedFrame(sink, frame);
}

// Every cell of a table of 64 rows painted, as a frame that changes every row asks.
void objectsTablePaint(benchmark::State &state)
{
    ObjectsTableWidget table;
    table.showRadarState(2);
    WidgetSink<ObjectsTableWidget> sink { table };
    qint64 frame = 0;
    feedFrame(sink, frame);
    auto *view = table.findChild<QTableView *>();
    table.resize(900, view->rowHeight(0) * Objects + 2 * view->horizontalHeader()->height());
    table.show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        view->viewport()->repaint();
}

// A frame through the shown history at its limit, then the repaint it asks for, with the
// current row on the last row (following the end) or on the first.
void historyFrameAndPaint(benchmark::State &state)
{
    HistoryTableWidget history;
    history.resize(800, 600);
    history.show();
    WidgetSink<HistoryTableWidget> sink { history };
    qint64 frame = 0;
    while (history.model()->rowCount() < HistoryModel::MaxRows)
        feedFrame(sink, frame);
    if (state.range(0) == 0)
        history.view()->setCurrentIndex(history.model()->index(0, 0));
    QCoreApplication::processEvents();
    for (auto _ : state) {
        feedFrame(sink, frame);
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(historyModelFrame)->Arg(10000)->Arg(HistoryModel::MaxRows)->Unit(benchmark::kMicrosecond);
BENCHMARK(historyWithViewFrame)
    ->Arg(10000)
    ->Arg(HistoryModel::MaxRows)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(objectsTableFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(objectsTablePaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(historyFrameAndPaint)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
