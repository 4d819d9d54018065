// Sends numbered datagrams at the console window on loopback and counts which of them
// reach its list. Each datagram starts with its sequence number; a number that never
// shows up in the list's insertions is a lost datagram. Datagrams the kernel dropped
// before the window could read them are counted as lost too; kernel_drops tells how
// many of the losses happened there (UDP RcvbufErrors of the whole system).

#include "mainwindow.h"
#include "rxmessagemodel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

qint64 udpReceiveBufferErrors()
{
    QFile snmp(QStringLiteral("/proc/net/snmp"));
    if (!snmp.open(QIODevice::ReadOnly))
        return 0;
    // Files in /proc report a size of 0: read until the end instead of asking atEnd().
    QList<QByteArray> names;
    const QList<QByteArray> lines = snmp.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (!line.startsWith("Udp:"))
            continue;
        const QList<QByteArray> fields = line.split(' ');
        if (names.isEmpty()) {
            names = fields;
            continue;
        }
        const int column = names.indexOf("RcvbufErrors");
        return column > 0 && column < fields.size() ? fields.at(column).toLongLong() : 0;
    }
    return 0;
}

quint16 freePort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress(QHostAddress::LocalHost), 0, QAbstractSocket::DontShareAddress);
    return probe.localPort();
}

// One pattern of traffic: bursts of burstSize datagrams, sent at rate datagrams per
// second within a burst, with pause between bursts.
struct Traffic
{
    int count;
    int burstSize;
    double rate;
    std::chrono::milliseconds pause;
};

void sendTraffic(quint16 port, const Traffic &traffic, std::atomic<bool> *done)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    char payload[128];

    int sent = 0;
    while (sent < traffic.count) {
        const int burstEnd = std::min(traffic.count, sent + traffic.burstSize);
        const auto start = Clock::now();
        for (int i = 0; sent < burstEnd; ++i, ++sent) {
            if (traffic.rate > 0) {
                const auto due
                    = start + std::chrono::nanoseconds(static_cast<qint64>(i * 1e9 / traffic.rate));
                if ((i & 63) == 0)
                    std::this_thread::sleep_until(due);
            }
            const int size = std::snprintf(payload, sizeof payload,
                "%08d {\"speed\":12.5,\"lane\":2,\"state\":\"working\"}", sent);
            ::sendto(fd, payload, static_cast<size_t>(size), 0, reinterpret_cast<sockaddr *>(&to),
                sizeof to);
        }
        if (sent < traffic.count)
            std::this_thread::sleep_for(traffic.pause);
    }
    ::close(fd);
    done->store(true);
}

void runTraffic(benchmark::State &state, int limit, const Traffic &traffic)
{
    for (auto _ : state) {
        QTemporaryDir dir;
        const QString configPath = dir.filePath(QStringLiteral("config.json"));
        {
            QFile file(configPath);
            file.open(QIODevice::WriteOnly);
            file.write(QJsonDocument(QJsonObject { { "rx_display_limit", limit } }).toJson());
        }
        MainWindow window(configPath);
        window.resize(1000, 700);
        window.show();
        QCoreApplication::processEvents();
        const quint16 port = freePort();
        if (!window.bindUdpSocket(QHostAddress(QHostAddress::LocalHost), port)) {
            state.SkipWithError("cannot bind");
            return;
        }

        std::vector<bool> seen(static_cast<size_t>(traffic.count), false);
        int listed = 0;
        RxMessageModel *model = window.rxMessageModel();
        QObject::connect(model, &QAbstractItemModel::rowsInserted, model,
            [&](const QModelIndex &, int first, int last) {
                for (int row = first; row <= last; ++row) {
                    const QByteArray payload
                        = model->index(row).data(RxMessageModel::PayloadRole).toByteArray();
                    const int seq = payload.left(8).toInt();
                    if (seq >= 0 && seq < traffic.count && !seen[static_cast<size_t>(seq)]) {
                        seen[static_cast<size_t>(seq)] = true;
                        ++listed;
                    }
                }
            });

        // The longest time the event loop went without running a 5 ms timer.
        QElapsedTimer sinceTick;
        qint64 maxStall = 0;
        QTimer ticker;
        QObject::connect(
            &ticker, &QTimer::timeout, [&] { maxStall = std::max(maxStall, sinceTick.restart()); });

        const qint64 dropsBefore = udpReceiveBufferErrors();
        std::atomic<bool> done { false };
        QElapsedTimer elapsed;
        elapsed.start();
        sinceTick.start();
        ticker.start(5);
        std::thread sender(sendTraffic, port, traffic, &done);

        QElapsedTimer quiet;
        int lastListed = -1;
        while (true) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (listed != lastListed) {
                lastListed = listed;
                quiet.restart();
            }
            if (done.load() && (listed == traffic.count || quiet.elapsed() > 500))
                break;
        }
        const double seconds = elapsed.nsecsElapsed() / 1e9;
        sender.join();
        ticker.stop();

        state.counters["sent"] = traffic.count;
        state.counters["listed"] = listed;
        state.counters["lost"] = traffic.count - listed;
        state.counters["kernel_drops"]
            = static_cast<double>(udpReceiveBufferErrors() - dropsBefore);
        state.counters["listed_per_s"] = listed / seconds;
        state.counters["max_stall_ms"] = static_cast<double>(maxStall);
        state.counters["rows"] = model->rowCount();
        window.unbindUdpSocket();
    }
}

// Sustained traffic at the given rate for two seconds.
void BM_Sustained(benchmark::State &state)
{
    const int limit = static_cast<int>(state.range(0));
    const int rate = static_cast<int>(state.range(1));
    runTraffic(
        state, limit, Traffic { rate * 2, rate * 2, double(rate), std::chrono::milliseconds(0) });
}

// Five bursts of 10 000 datagrams sent as fast as one thread can, 300 ms apart.
void BM_Bursts(benchmark::State &state)
{
    const int limit = static_cast<int>(state.range(0));
    const int burst = static_cast<int>(state.range(1));
    runTraffic(state, limit, Traffic { burst * 5, burst, 0.0, std::chrono::milliseconds(300) });
}

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// The window at its largest display limit fed with more maximum-size datagrams than it
// keeps: what it holds is bounded by its byte budget, not by the count alone.
void BM_LargestDatagramsAtLimit(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        QTemporaryDir dir;
        MainWindow window(dir.filePath(QStringLiteral("config.json")));
        window.setRxDisplayLimit(MainWindow::MaxRxDisplayLimit);
        window.resize(1000, 700);
        window.show();
        QCoreApplication::processEvents();
        const qint64 before = residentKiB();
        for (int i = 0; i < count; ++i) {
            // Distinct bytes for each datagram, as from the socket.
            QByteArray payload(65507, char('a' + i % 26));
            window.addRxMessageToLog(QHostAddress::LocalHost, 9999, payload, -1);
            if (i % 100 == 0)
                QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        state.counters["rows"] = window.rxMessageModel()->rowCount();
        state.counters["model_MiB"] = window.rxMessageModel()->byteCount() / 1048576.0;
        state.counters["resident_growth_MiB"] = (residentKiB() - before) / 1024.0;
    }
}

} // namespace

BENCHMARK(BM_LargestDatagramsAtLimit)
    ->ArgName("datagrams")
    ->Arg(12000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Sustained)
    ->ArgNames({ "limit", "rate" })
    ->ArgsProduct({ { 100, 10000 }, { 50000, 100000, 150000 } })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Bursts)
    ->ArgNames({ "limit", "burst" })
    ->ArgsProduct({ { 100, 10000 }, { 10000 } })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
