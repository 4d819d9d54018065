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
    void visible_data();
    void visible();
    void hexDump_data();
    void hexDump();
    void escaped_data();
    void escaped();
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

void TestPayloadText::visible_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("text");

    QTest::newRow("text with line breaks and tabs") << QByteArray("a\tb\nc") << QString("a\tb\nc");
    QTest::newRow("past the zero byte")
        << QByteArray("ab\0cd", 5) << QString::fromUtf8("ab\u2400cd");
    QTest::newRow("carriage return, escape, delete")
        << QByteArray("x\r\x1b\x7f") << QString::fromUtf8("x\u240d\u241b\u2421");
    QTest::newRow("UTF-8 with a zero byte")
        << QByteArray("\xd0\x9f\0\xd1\x8f", 5) << QString::fromUtf8("П\u2400я");
    QTest::newRow("not UTF-8 is Latin-1")
        << QByteArray("\x01\xff\0\xe9", 4) << QString::fromUtf8("\u2401ÿ\u2400é");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestPayloadText::visible()
{
    QFETCH(QByteArray, payload);
    QFETCH(QString, text);
    QCOMPARE(PayloadText::visible(payload), text);
}

void TestPayloadText::hexDump_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("dump");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("short line") << QByteArray(
        "Hi\0\xff", 4) << QString("0000  48 69 00 ff                                       |Hi..|");
    QTest::newRow("two lines")
        << QByteArray("0123456789abcdefXY")
        << QString("0000  30 31 32 33 34 35 36 37  38 39 61 62 63 64 65 66  |0123456789abcdef|\n"
                   "0010  58 59                                             |XY|");
    QByteArray large(0x10001, 'z');
    large[0x10000] = '\x7f';
    const QString last = QString("10000  7f                                                |.|");
    QTest::newRow("offsets past 64 KiB get a fifth digit") << large << last;
}

void TestPayloadText::hexDump()
{
    QFETCH(QByteArray, payload);
    QFETCH(QString, dump);
    const QString result = PayloadText::hexDump(payload);
    if (payload.size() > 0x10000) {
        QCOMPARE(result.count('\n'), 0x1000);
        QCOMPARE(result.section('\n', -1), dump);
        QVERIFY(result.startsWith("00000  7a 7a"));
        return;
    }
    QCOMPARE(result, dump);
}

void TestPayloadText::escaped_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("plain") << QByteArray("status ok") << QByteArray("status ok");
    QTest::newRow("backslash, tab, line breaks")
        << QByteArray("a\\b\tc\r\n") << QByteArray("a\\\\b\\tc\\r\\n");
    QTest::newRow("zero and other control bytes")
        << QByteArray("\0\x01\x1f\x7f", 4) << QByteArray("\\x00\\x01\\x1f\\x7f");
    QTest::newRow("UTF-8 stays readable")
        << QString::fromUtf8("Привет, 😀").toUtf8() << QString::fromUtf8("Привет, 😀").toUtf8();
    QTest::newRow("invisible characters of UTF-8 are escaped") << QByteArray(
        "a\xc2\x85\xe2\x80\xa8\xef\xbb\xbf"
        "b") << QByteArray("a\\xc2\\x85\\xe2\\x80\\xa8\\xef\\xbb\\xbfb");
    QTest::newRow("not UTF-8: every high byte escaped")
        << QByteArray("caf\xe9 \xd0\x9f") << QByteArray("caf\\xe9 \\xd0\\x9f");
    QTest::newRow("overlong slash is not UTF-8")
        << QByteArray("\xc0\xaf") << QByteArray("\\xc0\\xaf");
    QTest::newRow("encoded surrogate is not UTF-8")
        << QByteArray("\xed\xa0\x80") << QByteArray("\\xed\\xa0\\x80");
}

void TestPayloadText::escaped()
{
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, text);
    QCOMPARE(PayloadText::escaped(payload), text);
}

QTEST_GUILESS_MAIN(TestPayloadText)
#include "tst_payloadtext.moc"
