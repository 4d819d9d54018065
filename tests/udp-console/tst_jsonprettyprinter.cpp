#include "jsonprettyprinter.h"

#include <QJsonDocument>
#include <QtTest>

class TestJsonPrettyPrinter : public QObject
{
    Q_OBJECT

private slots:
    void sameAsQtIndented_data();
    void sameAsQtIndented();
    void stopsAtTheLimit_data();
    void stopsAtTheLimit();
    void deepNestingStaysBounded();
};

void TestJsonPrettyPrinter::sameAsQtIndented_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("flat object") << QByteArray(R"({"a":1,"b":"x","c":true,"d":null})");
    QTest::newRow("nested") << QByteArray(R"({"a":[1,[2,3],{"b":{"c":[]}}],"e":{}})");
    QTest::newRow("top-level array") << QByteArray(R"([1.5,-2,1e300,"q\"\\\n\t\u0001"])");
    QTest::newRow("empty object") << QByteArray("{}");
    QTest::newRow("empty array") << QByteArray("[]");
    QTest::newRow("non-ASCII") << QByteArray("{\"\xd0\xba\":\"\xd0\xbc\xd0\xb8\xd1\x80\"}");
    QTest::newRow("large integers") << QByteArray(R"([9007199254740993,-9223372036854775808,0.1])");
}

void TestJsonPrettyPrinter::sameAsQtIndented()
{
    QFETCH(QByteArray, json);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    JsonPrettyPrinter printer(1 << 20);
    QCOMPARE(printer.print(document), document.toJson(QJsonDocument::Indented));
    QVERIFY(!printer.isTruncated());
}

void TestJsonPrettyPrinter::stopsAtTheLimit_data()
{
    QTest::addColumn<int>("limit");
    QTest::newRow("100 bytes") << 100;
    QTest::newRow("one byte") << 1;
    QTest::newRow("zero") << 0;
}

void TestJsonPrettyPrinter::stopsAtTheLimit()
{
    QFETCH(int, limit);
    QJsonArray array;
    for (int i = 0; i < 1000; ++i)
        array.append(i);
    const QJsonDocument document(array);
    const QByteArray full = document.toJson(QJsonDocument::Indented);

    JsonPrettyPrinter printer(limit);
    const QByteArray cut = printer.print(document);
    QVERIFY(printer.isTruncated());
    QVERIFY(cut.size() <= limit);
    if (cut.isEmpty())
        return;
    QVERIFY(cut.endsWith('\n'));
    QVERIFY(full.startsWith(cut));
}

void TestJsonPrettyPrinter::deepNestingStaysBounded()
{
    // 500 levels around 30 000 numbers: fully indented this would be about 60 MB.
    QByteArray json = QByteArray(500, '[') + "1";
    for (int i = 0; i < 30000; ++i)
        json += ",1";
    json += QByteArray(500, ']');
    const QJsonDocument document = QJsonDocument::fromJson(json);
    QVERIFY(document.isArray());

    JsonPrettyPrinter printer(1 << 20);
    const QByteArray text = printer.print(document);
    QVERIFY(printer.isTruncated());
    QVERIFY(text.size() <= 1 << 20);
    QVERIFY(text.startsWith("[\n    [\n"));
}

QTEST_GUILESS_MAIN(TestJsonPrettyPrinter)
#include "tst_jsonprettyprinter.moc"
