#include "payloadtext.h"

#include <QtTest>

class TestPayloadText : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void elided_data();
    void elided();
    void withoutTrailingLineBreaks();
};

void TestPayloadText::decode_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("text");

    QTest::newRow("ASCII") << QByteArray("hello") << QString("hello");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("UTF-8 Cyrillic")
        << QByteArray("\xd0\x9f\xd1\x80\xd0\xb8") << QString::fromUtf8("При");
    QTest::newRow("UTF-8 emoji") << QByteArray("a\xf0\x9f\x98\x80") << QString::fromUtf8("a😀");
    QTest::newRow("Latin-1 byte") << QByteArray("caf\xe9") << QString::fromLatin1("caf\xe9");
    QTest::newRow("truncated UTF-8 sequence")
        << QByteArray("ab\xd0") << QString::fromLatin1("ab\xd0");
    QTest::newRow("overlong encoding") << QByteArray("\xc0\xaf") << QString::fromLatin1("\xc0\xaf");
    QTest::newRow("cut at zero byte") << QByteArray("ab\0cd", 5) << QString("ab");
    QTest::newRow("leading zero byte") << QByteArray("\0abc", 4) << QString();
    QTest::newRow("invalid bytes after the zero byte do not count")
        << QByteArray("\xd0\x9f\0\xff", 4) << QString::fromUtf8("П");
    QTest::newRow("binary") << QByteArray("\x01\x02\xff\xfe")
                            << QString::fromLatin1("\x01\x02\xff\xfe");
}

void TestPayloadText::decode()
{
    QFETCH(QByteArray, payload);
    QFETCH(QString, text);
    QCOMPARE(PayloadText::decode(payload), text);
}

void TestPayloadText::elided_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxChars");
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<QString>("result");

    const QString ellipsis(QChar(0x2026));
    QTest::newRow("fits") << "abc" << 3 << 1 << "abc";
    QTest::newRow("too long") << "abcdef" << 3 << 1 << "abc" + ellipsis;
    QTest::newRow("too many lines") << "a\nb\nc" << 100 << 2 << "a\nb" + ellipsis;
    QTest::newRow("lines fit") << "a\nb" << 100 << 2 << "a\nb";
    QTest::newRow("surrogate pair kept whole")
        << QString::fromUtf8("ab😀c") << 3 << 1 << "ab" + ellipsis;
}

void TestPayloadText::elided()
{
    QFETCH(QString, text);
    QFETCH(int, maxChars);
    QFETCH(int, maxLines);
    QFETCH(QString, result);
    QCOMPARE(PayloadText::elided(text, maxChars, maxLines), result);
}

void TestPayloadText::withoutTrailingLineBreaks()
{
    QCOMPARE(PayloadText::withoutTrailingLineBreaks("a\r\n\n\r"), QString("a"));
    QCOMPARE(PayloadText::withoutTrailingLineBreaks("\na\nb"), QString("\na\nb"));
    QCOMPARE(PayloadText::withoutTrailingLineBreaks("\r\n"), QString());
}

QTEST_GUILESS_MAIN(TestPayloadText)
#include "tst_payloadtext.moc"
