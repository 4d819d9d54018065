#include "consoleconfig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

namespace {
QJsonObject json(const char *text)
{
    return QJsonDocument::fromJson(text).object();
}

QJsonObject rule(const QString &name, const QString &text, const QString &type)
{
    return QJsonObject { { "name", name }, { "text", text }, { "info", QString() },
        { "csen", false }, { "type", type } };
}
} // namespace

class TestConsoleConfig : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void apply_data();
    void apply();
    void rulesAndTemplatesAreAppended();
    void savedSettingsReadBackTheSame();
};

void TestConsoleConfig::defaults()
{
    // The settings of a console without a configuration file, as it writes them.
    const QJsonObject expected = json(R"({
        "rx_display_limit": 100, "rx_word_wrapping": false,
        "rx_endpoint": { "address": 4, "port": 9999 },
        "rx_filtering": { "column_count": 5, "if_no_rule_matches": "show", "rules": [] },
        "tx_endpoint": { "address": "127.0.0.1", "port": 9999 },
        "tx_templates": { "column_count": 5, "items": [] },
        "tx_repeat_interval": 1000 })");
    QCOMPARE(ConsoleConfig().toJson(), expected);
}

void TestConsoleConfig::apply_data()
{
    QTest::addColumn<QByteArray>("file");
    // Only the keys that differ from the defaults afterwards.
    QTest::addColumn<QByteArray>("changed");

    QTest::newRow("empty object") << QByteArray("{}") << QByteArray("{}");
    QTest::newRow("every value") << QByteArray(
        R"({ "rx_display_limit": 250, "rx_word_wrapping": true,
            "rx_endpoint": { "address": 6, "port": 5000 },
            "rx_filtering": { "column_count": 2, "if_no_rule_matches": "hide" },
            "tx_endpoint": { "address": "radar.local", "port": 6000 },
            "tx_templates": { "column_count": 9 }, "tx_repeat_interval": 250 })")
                                 << QByteArray(
                                        R"({ "rx_display_limit": 250, "rx_word_wrapping": true,
            "rx_endpoint": { "address": 6, "port": 5000 },
            "rx_filtering": { "column_count": 2, "if_no_rule_matches": "hide" },
            "tx_endpoint": { "address": "radar.local", "port": 6000 },
            "tx_templates": { "column_count": 9 }, "tx_repeat_interval": 250 })");
    QTest::newRow("only the port of an endpoint") << QByteArray(
        R"({ "tx_endpoint": { "port": 7 } })") << QByteArray(R"({ "tx_endpoint": { "port": 7 } })");
    QTest::newRow("no-match choice in capitals")
        << QByteArray(R"({ "rx_filtering": { "if_no_rule_matches": "HIDE" } })")
        << QByteArray(R"({ "rx_filtering": { "if_no_rule_matches": "hide" } })");
    QTest::newRow("choices not offered keep the current ones") << QByteArray(
        R"({ "rx_endpoint": { "address": 99 },
            "rx_filtering": { "column_count": 12, "if_no_rule_matches": "maybe" },
            "tx_templates": { "column_count": 0 } })") << QByteArray("{}");
    QTest::newRow("wrong types give conversion defaults")
        << QByteArray(R"({ "rx_display_limit": "50", "rx_word_wrapping": "yes",
            "rx_endpoint": { "address": "any IPv4", "port": "5000" },
            "rx_filtering": { "column_count": "2" },
            "tx_endpoint": { "address": 127, "port": true },
            "tx_templates": { "column_count": 2.5 }, "tx_repeat_interval": "fast" })")
        << QByteArray(R"({ "rx_endpoint": { "port": 1 },
            "tx_endpoint": { "address": "", "port": 1 } })");
    QTest::newRow("values beyond the ranges are bounded")
        << QByteArray(R"({ "rx_display_limit": 20000, "rx_endpoint": { "port": 70000 },
            "tx_endpoint": { "port": -3 }, "tx_repeat_interval": 1 })")
        << QByteArray(R"({ "rx_display_limit": 10000, "rx_endpoint": { "port": 65535 },
            "tx_endpoint": { "port": 1 }, "tx_repeat_interval": 10 })");
    QTest::newRow("an interval of more than an hour")
        << QByteArray(R"({ "tx_repeat_interval": 86400000 })")
        << QByteArray(R"({ "tx_repeat_interval": 3600000 })");
    QTest::newRow("sections that are not objects")
        << QByteArray(R"({ "rx_endpoint": 5, "rx_filtering": [], "tx_templates": "x" })")
        << QByteArray("{}");
}

void TestConsoleConfig::apply()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, changed);
    QJsonObject expected = ConsoleConfig().toJson();
    const QJsonObject changes = QJsonDocument::fromJson(changed).object();
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        if (!it.value().isObject()) {
            expected.insert(it.key(), it.value());
            continue;
        }
        QJsonObject section = expected.value(it.key()).toObject();
        const QJsonObject values = it.value().toObject();
        for (auto value = values.begin(); value != values.end(); ++value)
            section.insert(value.key(), value.value());
        expected.insert(it.key(), section);
    }

    ConsoleConfig config;
    config.apply(QJsonDocument::fromJson(file).object());
    QCOMPARE(config.toJson(), expected);
}

void TestConsoleConfig::rulesAndTemplatesAreAppended()
{
    ConsoleConfig config;
    config.apply(QJsonObject {
        { "rx_filtering", QJsonObject { { "rules", QJsonArray { rule("A", "a", "show") } } } },
        { "tx_templates",
            QJsonObject { { "items",
                QJsonArray { QJsonObject { { "name", "Ping" }, { "text", "ping" } } } } } } });
    // A second file adds its rules and templates and leaves the endpoint alone.
    config.txAddress = QStringLiteral("10.1.2.3");
    config.apply(QJsonObject {
        { "rx_filtering",
            QJsonObject {
                { "rules", QJsonArray { rule("B", "b", "Hide"), rule("C", "c", "?") } } } },
        { "tx_templates",
            QJsonObject { { "items",
                QJsonArray { QJsonObject { { "name", "Status" }, { "text", "status" },
                                 { "info", "Asks for the state" } },
                    QJsonObject { { "name", "No text" }, { "text", "" } },
                    QJsonObject { { "name", "" }, { "text", "no name" } }, 42 } } } } });

    QCOMPARE(config.rules.ruleCount(), 3);
    QCOMPARE(config.rules.ruleAt(0).name, QString("A"));
    QCOMPARE(config.rules.ruleAt(1).type, TextFilter::Rule::Hide);
    QCOMPARE(config.rules.ruleAt(2).type, TextFilter::Rule::NoType);
    QCOMPARE(config.templates.size(), 2);
    QCOMPARE(config.templates.at(0).name, QString("Ping"));
    QCOMPARE(config.templates.at(1).name, QString("Status"));
    QCOMPARE(config.templates.at(1).text, QString("status"));
    QCOMPARE(config.templates.at(1).info, QString("Asks for the state"));
    QCOMPARE(config.txAddress, QString("10.1.2.3"));
}

void TestConsoleConfig::savedSettingsReadBackTheSame()
{
    ConsoleConfig config;
    config.apply(json(R"({ "rx_display_limit": 7, "rx_endpoint": { "address": 3 },
        "rx_filtering": { "if_no_rule_matches": "hide", "rules": [
            { "name": "A", "text": "a", "info": "i", "csen": true, "type": "show" },
            { "name": "Odd", "text": "o", "type": "sometimes" } ] },
        "tx_templates": { "items": [ { "name": "T", "text": "t", "info": "x" } ] },
        "tx_repeat_interval": 40 })"));
    ConsoleConfig reread;
    reread.apply(config.toJson());
    QCOMPARE(reread.toJson(), config.toJson());
    QCOMPARE(reread.rules.ruleAt(1).type, TextFilter::Rule::NoType);
}

QTEST_GUILESS_MAIN(TestConsoleConfig)
#include "tst_consoleconfig.moc"
