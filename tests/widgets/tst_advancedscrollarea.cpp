#include "advancedscrollarea.h"

#include <QSignalSpy>
#include <QStyle>
#include <QTest>

class tst_AdvancedScrollArea : public QObject
{
    Q_OBJECT

private slots:
    void reportsTheAreaLeftForContent_data()
    {
        QTest::addColumn<int>("horizontal");
        QTest::addColumn<int>("vertical");
        QTest::addColumn<bool>("lessWidth");
        QTest::addColumn<bool>("lessHeight");

        QTest::newRow("no scroll bars")
            << int(Qt::ScrollBarAlwaysOff) << int(Qt::ScrollBarAlwaysOff) << false << false;
        QTest::newRow("vertical bar")
            << int(Qt::ScrollBarAlwaysOff) << int(Qt::ScrollBarAlwaysOn) << true << false;
        QTest::newRow("horizontal bar")
            << int(Qt::ScrollBarAlwaysOn) << int(Qt::ScrollBarAlwaysOff) << false << true;
        QTest::newRow("both bars")
            << int(Qt::ScrollBarAlwaysOn) << int(Qt::ScrollBarAlwaysOn) << true << true;
    }

    void reportsTheAreaLeftForContent()
    {
        QFETCH(int, horizontal);
        QFETCH(int, vertical);
        QFETCH(bool, lessWidth);
        QFETCH(bool, lessHeight);

        AdvancedScrollArea area;
        area.setHorizontalScrollBarPolicy(Qt::ScrollBarPolicy(horizontal));
        area.setVerticalScrollBarPolicy(Qt::ScrollBarPolicy(vertical));
        area.resize(200, 100);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));

        QSignalSpy spy(&area, &AdvancedScrollArea::innerAreaSizeChanged);
        area.resize(320, 240);
        QTRY_VERIFY(!spy.isEmpty());
        const int extent = area.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &area);
        const int frame = 2 * area.frameWidth();
        const QSize expected(
            320 - frame - (lessWidth ? extent : 0), 240 - frame - (lessHeight ? extent : 0));
        QCOMPARE(spy.last().first().toSize(), expected);
        QCOMPARE(area.viewport()->size(), expected);
    }
};

QTEST_MAIN(tst_AdvancedScrollArea)
#include "tst_advancedscrollarea.moc"
