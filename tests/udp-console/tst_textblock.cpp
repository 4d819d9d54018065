#include "textblock.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QtTest>

class TestTextBlock : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data();
    void sizes();
    void tallTextStopsAtTheItemLimit_data();
    void tallTextStopsAtTheItemLimit();
    void drawsOnlyInsideTheClip();
};

void TestTextBlock::sizes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("lines");
    QTest::newRow("one line") << "short" << false << 1;
    QTest::newRow("three lines") << "a\nb\nc" << false << 3;
    QTest::newRow("trailing line feed") << "a\n" << false << 2;
    QTest::newRow("long line unwrapped") << QString(500, 'w') << false << 1;
    QTest::newRow("wrapped at words") << QString("word ").repeated(100) << true << -1;
    QTest::newRow("wrapped anywhere") << QString(500, 'w') << true << -1;
}

void TestTextBlock::sizes()
{
    QFETCH(QString, text);
    QFETCH(bool, wrap);
    QFETCH(int, lines);
    const QFont font;
    const int spacing = QFontMetrics(font).lineSpacing();
    TextBlock block;
    block.setText(text, font, 200, wrap);
    QCOMPARE(block.size().width(), 200);
    if (lines > 0)
        QCOMPARE(block.size().height(), lines * spacing + 2 * TextBlock::VerticalMargin);
    else
        QVERIFY(block.size().height() > 5 * spacing);
    QVERIFY(!block.isTruncated());

    block.setText(text, font, 200, false, true);
    const int widest = QFontMetrics(font).horizontalAdvance(text.section('\n', 0, 0));
    QCOMPARE(block.size().width(), qMax(200, widest + 2 * TextBlock::HorizontalMargin));
}

void TestTextBlock::tallTextStopsAtTheItemLimit_data()
{
    QTest::addColumn<bool>("wrap");
    QTest::newRow("unwrapped") << false;
    QTest::newRow("wrapped") << true;
}

void TestTextBlock::tallTextStopsAtTheItemLimit()
{
    QFETCH(bool, wrap);
    QStringList lines;
    for (int i = 0; i < 20000; ++i)
        lines << QString("line %1").arg(i);
    TextBlock block;
    block.setText(lines.join('\n'), QFont(), 300, wrap);
    QVERIFY(block.isTruncated());
    QVERIFY(block.size().height() <= TextBlock::MaxHeight);
    QVERIFY(block.size().height() > TextBlock::MaxHeight - 2 * QFontMetrics(QFont()).lineSpacing());

    TextBlock fits;
    fits.setText(lines.mid(0, 100).join('\n'), QFont(), 300, wrap);
    QVERIFY(!fits.isTruncated());
}

void TestTextBlock::drawsOnlyInsideTheClip()
{
    const QFont font;
    const int spacing = QFontMetrics(font).lineSpacing();
    TextBlock block;
    block.setText("first\nsecond\nthird", font, 200, false);
    QImage image(200, block.size().height(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setFont(font);
    // Only the second line is inside the clip.
    const QRect clip(0, TextBlock::VerticalMargin + spacing, 200, spacing);
    block.draw(&painter, image.rect(), clip);
    painter.end();

    auto inkIn = [&image](int top, int bottom) {
        int ink = 0;
        for (int y = qMax(0, top); y < qMin(image.height(), bottom); ++y) {
            for (int x = 0; x < image.width(); ++x)
                ink += image.pixel(x, y) != qRgb(255, 255, 255);
        }
        return ink;
    };
    QCOMPARE(inkIn(0, clip.top()), 0);
    QVERIFY(inkIn(clip.top(), clip.bottom() + 1) > 0);
    QCOMPARE(inkIn(clip.bottom() + 1, image.height()), 0);
}

QTEST_MAIN(TestTextBlock)
#include "tst_textblock.moc"
