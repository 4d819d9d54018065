#include "textfilter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using Rule = TextFilter::Rule;
Q_DECLARE_METATYPE(TextFilter::Rule)

class TestTextFilter : public QObject
{
    Q_OBJECT

private slots:
    void decision_data();
    void decision();
    void ruleAtOutsideTheListIsTheVoidRule();
    void insertRuleIndexRange();
    void removeRules();
    void changeRuleType();
    void typeNames_data();
    void typeNames();
    void jsonRoundTrip();
    void readingSkipsNonObjectsAndDefaultsMissingKeys();
    void jsonString_data();
    void jsonString();
};

static TextFilter filterOf(const QList<Rule> &rules)
{
    TextFilter filter;
    for (const Rule &rule : rules)
        filter.appendRule(rule);
    return filter;
}

static Rule rule(const QString &text, Rule::Type type, bool csen = false)
{
    Rule r;
    r.name = text;
    r.text = text;
    r.csen = csen;
    r.type = type;
    return r;
}

void TestTextFilter::decision_data()
{
    QTest::addColumn<QList<Rule>>("rules");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("ifNoMatch");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("index");

    QTest::newRow("no rules, show") << QList<Rule>() << "abc" << true << true << -1;
    QTest::newRow("no rules, hide") << QList<Rule>() << "abc" << false << false << -1;
    QTest::newRow("hide rule matches")
        << QList<Rule> { rule("beat", Rule::Hide) } << "heartbeat" << true << false << 0;
    QTest::newRow("show rule matches")
        << QList<Rule> { rule("beat", Rule::Show) } << "heartbeat" << false << true << 0;
    QTest::newRow("last match decides")
        << QList<Rule> { rule("a", Rule::Show), rule("x", Rule::Show), rule("b", Rule::Hide) }
        << "ab" << true << false << 2;
    QTest::newRow("earlier match kept when later misses") << QList<Rule> { rule("a", Rule::Hide),
        rule("z", Rule::Show) } << "ab" << true << false << 0;
    QTest::newRow("case-insensitive")
        << QList<Rule> { rule("ERROR", Rule::Hide) } << "an error" << true << false << 0;
    QTest::newRow("case-sensitive misses")
        << QList<Rule> { rule("ERROR", Rule::Hide, true) } << "an error" << true << true << -1;
    QTest::newRow("NoType never matches")
        << QList<Rule> { rule("a", Rule::NoType) } << "a" << false << false << -1;
    QTest::newRow("empty text matches everything")
        << QList<Rule> { rule("", Rule::Hide) } << "" << true << false << 0;
    QTest::newRow("non-ASCII text") << QList<Rule> { rule(QString::fromUtf8("привет"), Rule::Hide) }
                                    << QString::fromUtf8("ПРИВЕТ, мир") << true << false << 0;

    const QList<Rule> showAHideB { rule("a", Rule::Show), rule("b", Rule::Hide) };
    QTest::newRow("no match, hide if none") << showAHideB << "zzz" << false << false << -1;
    QTest::newRow("no match, show if none") << showAHideB << "zzz" << true << true << -1;
    QTest::newRow("hide rule matches last") << showAHideB << "ab" << true << false << 1;
    QTest::newRow("first of two rules matches") << showAHideB << "a" << false << true << 0;
}

void TestTextFilter::decision()
{
    QFETCH(QList<Rule>, rules);
    QFETCH(QString, message);
    QFETCH(bool, ifNoMatch);
    QFETCH(bool, shown);
    QFETCH(int, index);

    const TextFilter filter = filterOf(rules);
    int matched = 42;
    QCOMPARE(filter.shouldShow(message, ifNoMatch, &matched), shown);
    QCOMPARE(matched, index);
    QCOMPARE(filter.shouldShow(message, ifNoMatch), shown);
    // shouldHide() is the same decision, asked the other way round.
    matched = 42;
    QCOMPARE(filter.shouldHide(message, !ifNoMatch, &matched), !shown);
    QCOMPARE(matched, index);
}

void TestTextFilter::ruleAtOutsideTheListIsTheVoidRule()
{
    const TextFilter filter = filterOf({ rule("a", Rule::Show) });
    for (int index : { -1, 1, 100 }) {
        const Rule &r = filter.ruleAt(index);
        QVERIFY(r.name.isEmpty() && r.text.isEmpty() && r.info.isEmpty());
        QCOMPARE(r.csen, false);
        QCOMPARE(r.type, Rule::NoType);
    }
    QCOMPARE(filter.ruleAt(0).text, QString("a"));
}

void TestTextFilter::insertRuleIndexRange()
{
    TextFilter filter;
    filter.insertRule(0, rule("b", Rule::Show));
    filter.insertRule(0, rule("a", Rule::Show));
    filter.insertRule(filter.ruleCount(), rule("c", Rule::Show));
    filter.insertRule(filter.ruleCount() + 1, rule("x", Rule::Show));
    filter.insertRule(-1, rule("y", Rule::Show));
    filter.insertRule(1, "n", "ab", "i", true, "HIDE");
    filter.appendRule("m", "t", "", false, Rule::Hide);
    filter.appendRule("k", "u", "", false, QString("Show"));
    QCOMPARE(filter.ruleCount(), 6);
    QStringList texts;
    for (int i = 0; i < filter.ruleCount(); ++i)
        texts << filter.ruleAt(i).text;
    QCOMPARE(texts, QStringList({ "a", "ab", "b", "c", "t", "u" }));
    QCOMPARE(filter.ruleAt(1).type, Rule::Hide);
    QCOMPARE(filter.ruleAt(1).csen, true);
    QCOMPARE(filter.ruleAt(5).type, Rule::Show);
}

void TestTextFilter::removeRules()
{
    TextFilter filter = filterOf({ rule("a", Rule::Show), rule("A", Rule::Show),
        rule("b", Rule::Show), rule("a", Rule::Hide) });
    filter.removeRule(-1);
    filter.removeRule(4);
    QCOMPARE(filter.ruleCount(), 4);
    filter.removeAllRules("a", true);
    QCOMPARE(filter.ruleCount(), 2);
    QCOMPARE(filter.ruleAt(0).name, QString("A"));
    filter.appendRule(rule("a", Rule::Show));
    filter.removeAllRules("a", false);
    QCOMPARE(filter.ruleCount(), 1);
    QCOMPARE(filter.ruleAt(0).name, QString("b"));
    filter.removeRule(0);
    QCOMPARE(filter.ruleCount(), 0);
    filter.appendRule(rule("c", Rule::Show));
    filter.removeAllRules();
    QCOMPARE(filter.ruleCount(), 0);
}

void TestTextFilter::changeRuleType()
{
    TextFilter filter = filterOf({ rule("a", Rule::Show) });
    filter.changeRuleType(1, Rule::Hide);
    filter.changeRuleType(-1, Rule::Hide);
    QCOMPARE(filter.ruleAt(0).type, Rule::Show);
    filter.changeRuleType(0, Rule::Hide);
    QCOMPARE(filter.ruleAt(0).type, Rule::Hide);
    QCOMPARE(filter.shouldShow("a", true), false);
}

void TestTextFilter::typeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("type");
    QTest::newRow("show") << "show" << int(Rule::Show);
    QTest::newRow("Show") << "Show" << int(Rule::Show);
    QTest::newRow("HIDE") << "HIDE" << int(Rule::Hide);
    QTest::newRow("empty") << "" << int(Rule::NoType);
    QTest::newRow("other") << "shown" << int(Rule::NoType);
    QTest::newRow("blank around") << " show" << int(Rule::NoType);
}

void TestTextFilter::typeNames()
{
    QFETCH(QString, name);
    QFETCH(int, type);
    QCOMPARE(int(Rule::stringToType(name)), type);
    QCOMPARE(
        Rule::typeToString(Rule::Type(type)), type == Rule::NoType ? QString() : name.toLower());
    QCOMPARE(Rule::typeToString(Rule::Type(7)), QString());
}

void TestTextFilter::jsonRoundTrip()
{
    TextFilter filter;
    filter.appendRule("Beat", "heartbeat", "periodic", false, Rule::Hide);
    filter.appendRule(QString::fromUtf8("Ошибка"), "ERROR", "", true, Rule::Show);
    filter.appendRule("Odd", "x", "", false, Rule::NoType);

    const QJsonArray array = filter.rulesAsJsonArray();
    QCOMPARE(array.size(), 3);
    QCOMPARE(array.at(0).toObject(),
        QJsonObject({ { "name", "Beat" }, { "text", "heartbeat" }, { "info", "periodic" },
            { "csen", false }, { "type", "hide" } }));
    QCOMPARE(array.at(2).toObject().value("type").toString(), QString(""));

    TextFilter copy;
    copy.appendRulesFromJsonArray(array);
    QCOMPARE(copy.rulesAsJsonArray(), array);
    QCOMPARE(copy.ruleAt(1).name, QString::fromUtf8("Ошибка"));

    TextFilter fromString;
    fromString.appendRulesFromJsonString(filter.rulesAsJsonString());
    QCOMPARE(fromString.rulesAsJsonArray(), array);
    QVERIFY(filter.rulesAsJsonString().contains("\n    {"));
}

void TestTextFilter::readingSkipsNonObjectsAndDefaultsMissingKeys()
{
    TextFilter filter;
    filter.appendRulesFromJsonArray(QJsonArray { 1, "text", QJsonObject { { "text", "a" } },
        QJsonObject { { "type", "Hide" }, { "csen", true } }, QJsonArray {} });
    QCOMPARE(filter.ruleCount(), 2);
    QCOMPARE(filter.ruleAt(0).text, QString("a"));
    QCOMPARE(filter.ruleAt(0).type, Rule::NoType);
    QCOMPARE(filter.ruleAt(0).csen, false);
    QCOMPARE(filter.ruleAt(1).type, Rule::Hide);
    QCOMPARE(filter.ruleAt(1).csen, true);
    QVERIFY(filter.ruleAt(1).text.isEmpty());
}

void TestTextFilter::jsonString_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("count");
    QTest::newRow("array of one") << R"([{"text":"a","type":"show"}])" << 1;
    QTest::newRow("empty array") << "[]" << 0;
    QTest::newRow("object") << R"({"text":"a","type":"show"})" << 0;
    QTest::newRow("malformed") << R"([{"text":"a")" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestTextFilter::jsonString()
{
    QFETCH(QString, json);
    QFETCH(int, count);
    TextFilter filter;
    filter.appendRulesFromJsonString(json);
    QCOMPARE(filter.ruleCount(), count);
}

QTEST_GUILESS_MAIN(TestTextFilter)
#include "tst_textfilter.moc"
