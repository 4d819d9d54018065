#include "simcommandline.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cmath>

namespace {

struct Opt
{
    const char *name;
    const char *valueName; // null for a switch
    const char *description;
};

const Opt options[] = {
    { "listen", "address", "Address to listen on (default 127.0.0.1)." },
    { "port", "n", "WebSocket port (default 7578; 0 picks a free one)." },
    { "serial-port", "name", "Serial port name the server reports (default /dev/ttyUSB0)." },
    { "state-step-ms", "ms",
        "Time the server spends in each start-up state before it works on the port "
        "(default 500; 0 starts working at once)." },
    { "max-clients", "n", "Clients served at once (default 16)." },
    { "no-timestamps", nullptr, "Send radar messages without the #DT time-stamp header." },
    { "protocol", "Q|P", "The radar's protocol variant: Q (SerQ) or P (SerP) (default Q)." },
    { "cycle-ms", "ms", "Measurement cycle in milliseconds, 10 to 800 (default 100)." },
    { "road", "file",
        "Road configuration, or a work-profile configuration file whose current profile "
        "holds view/traffic_scheme/road_config (default: two lanes each way)." },
    { "range", "m", "Field of view along the road in metres, 10 to 500 (default 250)." },
    { "objects", "n", "Vehicles at most at once, 0 to 64 (default 24)." },
    { "density", "n", "Mean vehicles per minute and lane (default 10)." },
    { "max-load", nullptr, "Report 64 objects every cycle." },
    { "noise", "scale", "Measurement noise scale, 0 for none (default 1)." },
    { "seed", "n", "Seed for the traffic (default: different on every run)." },
    { "state", "file", "JSON file where \"save to flash\" keeps the radar's parameters." },
    { "restart-ms", "ms", "How long a restart keeps the radar silent (default 5000)." },
    { "calibration-ms", "ms", "How long a calibration run takes (default 3000)." },
    { "hardware-info", "text", "Hardware information text, up to 24 Latin-1 characters." },
    { "firmware-info", "text", "Firmware information text, up to 24 Latin-1 characters." },
    { "faulty", "units",
        "Units self-diagnosis reports as faulty: a comma list of AMP1, AMP2, PADC, TRSC." },
    { "busy-acks", "n", "Fault: answer each command n times \"busy\" before carrying it out." },
    { "ack-error", "code", "Fault: refuse every command with this error code (1 to 254)." },
    { "no-acks", nullptr, "Fault: ignore every command, without acknowledgement." },
    { "stuck-cycle", nullptr, "Fault: the measurement cycle number stops advancing (radar busy)." },
    { "silent", nullptr, "Fault: the radar sends nothing." },
    { "drop-after", "s", "Fault: close every connection this many seconds after it opened." },
    { "refuse-pings", nullptr, "Fault: never answer the clients' pings." },
    { "garbage-text", nullptr, "Fault: also send random text that is no JSON, 20 times a second." },
    { "garbage-binary", nullptr, "Fault: also send random bytes, 20 times a second." },
    { "huge-message", "MiB",
        "Fault: send the first client one binary message this large (1 to 256)." },
    { "huge-text", "MiB", "Fault: send the first client one text message this large (1 to 256)." },
    { "wrong-variant", nullptr, "Fault: the radar sends under the other variant's identifiers." },
    { "malformed-frames", nullptr,
        "Fault: every cycle carries a short object frame and a torn tail." },
    { "wrong-way", "s",
        "Fault: every s seconds (1 to 86400) one vehicle drives its lane the wrong way." },
    { "proxy", "url",
        "Forward between the clients and the server at this URL instead of emulating." },
    { "record", "file", "With --proxy: record the server's messages to this file (JSON Lines)." },
    { "replay", "file", "Serve a recording instead of the emulated radar." },
    { "speed", "x", "Replay speed factor (default 1)." },
    { "loop", nullptr, "Replay the recording again and again." },
    { "restamp", nullptr, "Replay with the time-stamp headers set to the moment of sending." },
    { "verbose", nullptr, "Log debugging details too." },
};

bool toInt(
    const QCommandLineParser &p, const char *name, int low, int high, int *out, QString *error)
{
    bool ok = false;
    const QString text = p.value(QLatin1String(name));
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high) {
        *error = QStringLiteral("--%1 wants a whole number from %2 to %3, not \"%4\"")
                     .arg(QLatin1String(name))
                     .arg(low)
                     .arg(high)
                     .arg(text);
        return false;
    }
    *out = v;
    return true;
}

bool toDouble(const QCommandLineParser &p, const char *name, double low, double high, double *out,
    QString *error)
{
    bool ok = false;
    const QString text = p.value(QLatin1String(name));
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < low || v > high) {
        *error = QStringLiteral("--%1 wants a number from %2 to %3, not \"%4\"")
                     .arg(QLatin1String(name))
                     .arg(low)
                     .arg(high)
                     .arg(text);
        return false;
    }
    *out = v;
    return true;
}

bool toLatin1Info(const QCommandLineParser &p, const char *name, QByteArray *out, QString *error)
{
    const QString text = p.value(QLatin1String(name));
    bool latin1 = true;
    for (const QChar c : text)
        latin1 = latin1 && c.unicode() > 0 && c.unicode() < 256;
    if (!latin1 || text.size() > 24) {
        *error = QStringLiteral("--%1 wants up to 24 Latin-1 characters").arg(QLatin1String(name));
        return false;
    }
    *out = text.toLatin1();
    return true;
}

} // namespace

SimCommandLine::SimCommandLine()
{
    m_parser.setApplicationDescription(QStringLiteral(
        "Serial-port server with an emulated Vantor road radar, speaking the server's WebSocket "
        "protocol: for tests, demonstrations and rehearsals. It can also sit between a program "
        "and a real server to record the traffic, and replay recordings."));
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    for (const Opt &o : options) {
        if (o.valueName)
            m_parser.addOption(QCommandLineOption(
                QLatin1String(o.name), QLatin1String(o.description), QLatin1String(o.valueName)));
        else
            m_parser.addOption(
                QCommandLineOption(QLatin1String(o.name), QLatin1String(o.description)));
    }
}

bool SimCommandLine::parseFaultyUnits(const QString &text, quint16 *units, QString *error)
{
    quint16 bits = 0;
    const QStringList names = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &raw : names) {
        const QString name = raw.trimmed().toUpper();
        if (name == QLatin1String("AMP1"))
            bits |= RadarEmulator::Amp1;
        else if (name == QLatin1String("AMP2"))
            bits |= RadarEmulator::Amp2;
        else if (name == QLatin1String("PADC"))
            bits |= RadarEmulator::Padc;
        else if (name == QLatin1String("TRSC"))
            bits |= RadarEmulator::Trsc;
        else {
            *error = QStringLiteral("--faulty: unknown unit \"%1\" (AMP1, AMP2, PADC, TRSC)")
                         .arg(raw.trimmed());
            return false;
        }
    }
    *units = bits;
    return true;
}

SimCommandLine::Result SimCommandLine::parse(const QStringList &args, SimOptions *o, QString *error)
{
    if (!m_parser.parse(args)) {
        *error = m_parser.errorText();
        return Result::Error;
    }
    if (m_parser.isSet(QStringLiteral("help")))
        return Result::Help;
    if (m_parser.isSet(QStringLiteral("version")))
        return Result::Version;
    if (!m_parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument \"%1\"")
                     .arg(m_parser.positionalArguments().first());
        return Result::Error;
    }
    const QCommandLineParser &p = m_parser;
    auto isSet = [&p](const char *name) { return p.isSet(QLatin1String(name)); };
    int n = 0;
    double d = 0.0;

    if (isSet("listen")) {
        const QHostAddress address(p.value(QStringLiteral("listen")));
        if (address.isNull()) {
            *error = QStringLiteral("--listen wants an IP address, not \"%1\"")
                         .arg(p.value(QStringLiteral("listen")));
            return Result::Error;
        }
        o->server.address = address;
    }
    if (isSet("port")) {
        if (!toInt(p, "port", 0, 65535, &n, error))
            return Result::Error;
        o->server.port = quint16(n);
    }
    if (isSet("serial-port"))
        o->server.portName = p.value(QStringLiteral("serial-port"));
    if (isSet("state-step-ms")) {
        if (!toInt(p, "state-step-ms", 0, 60000, &o->server.stateStepMs, error))
            return Result::Error;
    }
    if (isSet("max-clients") && !toInt(p, "max-clients", 1, 256, &o->server.maxClients, error))
        return Result::Error;
    o->server.timeStamps = !isSet("no-timestamps");

    if (isSet("protocol")) {
        RadarVariant::Type type;
        if (!RadarVariant::fromText(p.value(QStringLiteral("protocol")), &type)) {
            *error = QStringLiteral("--protocol wants Q or P, not \"%1\"")
                         .arg(p.value(QStringLiteral("protocol")));
            return Result::Error;
        }
        o->radar.variant = RadarVariant(type);
    }
    o->server.protocol = o->radar.variant.type();
    if (isSet("cycle-ms") && !toInt(p, "cycle-ms", 10, 800, &o->radar.cycleMs, error))
        return Result::Error;
    if (isSet("road"))
        o->roadFile = p.value(QStringLiteral("road"));
    if (isSet("range") && !toDouble(p, "range", 10, 500, &o->radar.traffic.rangeM, error))
        return Result::Error;
    if (isSet("objects") && !toInt(p, "objects", 0, 64, &o->radar.traffic.maxObjects, error))
        return Result::Error;
    if (isSet("density")
        && !toDouble(p, "density", 0, 600, &o->radar.traffic.perLanePerMinute, error))
        return Result::Error;
    o->radar.traffic.maxLoad = isSet("max-load");
    if (isSet("noise") && !toDouble(p, "noise", 0, 10, &o->radar.traffic.noise, error))
        return Result::Error;
    if (isSet("wrong-way")
        && !toDouble(p, "wrong-way", 1, 86400, &o->radar.traffic.wrongWaySeconds, error))
        return Result::Error;
    if (!isSet("seed")) {
        o->radar.traffic.seed = QRandomGenerator::global()->generate();
    } else {
        bool ok = false;
        o->radar.traffic.seed = p.value(QStringLiteral("seed")).toUInt(&ok);
        if (!ok) {
            *error = QStringLiteral("--seed wants a whole number from 0 to 4294967295");
            return Result::Error;
        }
    }
    if (isSet("state"))
        o->radar.stateFile = p.value(QStringLiteral("state"));
    if (isSet("restart-ms") && !toInt(p, "restart-ms", 0, 600000, &o->radar.restartMs, error))
        return Result::Error;
    if (isSet("calibration-ms")
        && !toInt(p, "calibration-ms", 0, 600000, &o->radar.calibrationMs, error))
        return Result::Error;
    if (isSet("hardware-info") && !toLatin1Info(p, "hardware-info", &o->radar.hardwareInfo, error))
        return Result::Error;
    if (isSet("firmware-info") && !toLatin1Info(p, "firmware-info", &o->radar.firmwareInfo, error))
        return Result::Error;
    if (isSet("faulty")
        && !parseFaultyUnits(p.value(QStringLiteral("faulty")), &o->radar.faultyUnits, error))
        return Result::Error;

    FaultInjection &f = o->radar.faults;
    if (isSet("busy-acks") && !toInt(p, "busy-acks", 0, 1000, &f.busyAcks, error))
        return Result::Error;
    if (isSet("ack-error")) {
        if (!toInt(p, "ack-error", 1, 254, &n, error))
            return Result::Error;
        f.errorCode = quint8(n);
    }
    f.noAcks = isSet("no-acks");
    f.stuckCycle = isSet("stuck-cycle");
    f.silent = isSet("silent");
    if (isSet("drop-after")) {
        if (!toDouble(p, "drop-after", 0.01, 86400, &d, error))
            return Result::Error;
        o->server.dropAfterMs = int(std::lround(d * 1000));
    }
    o->server.refusePings = isSet("refuse-pings");
    o->server.garbageText = isSet("garbage-text");
    o->server.garbageBinary = isSet("garbage-binary");
    if (isSet("huge-message") && isSet("huge-text")) {
        *error = QStringLiteral("--huge-message and --huge-text exclude each other");
        return Result::Error;
    }
    if (isSet("huge-message")
        && !toInt(p, "huge-message", 1, 256, &o->server.hugeMessageMiB, error))
        return Result::Error;
    if (isSet("huge-text")) {
        if (!toInt(p, "huge-text", 1, 256, &o->server.hugeMessageMiB, error))
            return Result::Error;
        o->server.hugeMessageIsText = true;
    }
    f.wrongVariant = isSet("wrong-variant");
    f.malformedFrames = isSet("malformed-frames");

    if (isSet("proxy") && isSet("replay")) {
        *error = QStringLiteral("--proxy and --replay exclude each other");
        return Result::Error;
    }
    if (isSet("record") && !isSet("proxy")) {
        *error = QStringLiteral("--record needs --proxy");
        return Result::Error;
    }
    if (isSet("proxy")) {
        const QUrl url(p.value(QStringLiteral("proxy")), QUrl::StrictMode);
        if (!url.isValid()
            || (url.scheme() != QLatin1String("ws") && url.scheme() != QLatin1String("wss"))
            || url.host().isEmpty()) {
            *error = QStringLiteral("--proxy wants a ws:// URL, not \"%1\"")
                         .arg(p.value(QStringLiteral("proxy")));
            return Result::Error;
        }
        o->source = SimOptions::Source::Proxy;
        o->proxyUrl = url;
        o->server.mode = SimServer::Mode::Forwarding;
        o->recordFile = p.value(QStringLiteral("record"));
    }
    if (isSet("replay")) {
        o->source = SimOptions::Source::Replay;
        o->replayFile = p.value(QStringLiteral("replay"));
    }
    if ((isSet("speed") || isSet("loop") || isSet("restamp")) && !isSet("replay")) {
        *error = QStringLiteral("--speed, --loop and --restamp need --replay");
        return Result::Error;
    }
    if (isSet("speed") && !toDouble(p, "speed", 0.01, 1000, &o->replaySpeed, error))
        return Result::Error;
    o->replayLoop = isSet("loop");
    o->replayRestamp = isSet("restamp");
    o->verbose = isSet("verbose");
    return Result::Run;
}
