#include "backlightedgroupbox.h"

#include <QApplication>
#include <QTest>

class tst_BacklightedGroupBox : public QObject
{
    Q_OBJECT

private slots:
    void hoverLightsAndRestores_data()
    {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("button");
        QTest::addColumn<QColor>("litWindow");
        QTest::addColumn<QColor>("litButton");

        QTest::newRow("light theme") << QColor(239, 239, 239) << QColor(200, 200, 200)
                                     << QColor(207, 207, 207) << QColor(168, 168, 168);
        QTest::newRow("dark theme") << QColor(40, 40, 40) << QColor(159, 160, 0)
                                    << QColor(72, 72, 72) << QColor(191, 128, 32);
        QTest::newRow("translucent becomes opaque") << QColor(10, 200, 10, 100) << QColor(0, 0, 0)
                                                    << QColor(42, 168, 42) << QColor(32, 32, 32);
    }

    void hoverLightsAndRestores()
    {
        QFETCH(QColor, window);
        QFETCH(QColor, button);
        QFETCH(QColor, litWindow);
        QFETCH(QColor, litButton);

        QWidget parent;
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Active, QPalette::Window, window);
        palette.setColor(QPalette::Active, QPalette::Button, button);
        parent.setPalette(palette);
        BacklightedGroupBox box(QStringLiteral("Box"), &parent);
        QVERIFY(box.isBacklighted());
        QVERIFY(box.autoFillBackground());

        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(&box, &enter);
        QCOMPARE(box.palette().color(QPalette::Active, QPalette::Window), litWindow);
        QCOMPARE(box.palette().color(QPalette::Active, QPalette::Button), litButton);

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&box, &leave);
        QCOMPARE(box.palette().color(QPalette::Active, QPalette::Window), window);
        QCOMPARE(box.palette().color(QPalette::Active, QPalette::Button), button);
    }

    void switchedOffLeavesPaletteAlone()
    {
        QWidget parent;
        BacklightedGroupBox box(&parent);
        box.setBacklighted(false);
        QVERIFY(!box.autoFillBackground());
        QVERIFY(!box.property("backlighted").toBool());
        const QPalette before = box.palette();

        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(&box, &enter);
        QCOMPARE(box.palette(), before);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&box, &leave);
        QCOMPARE(box.palette(), before);

        box.setProperty("backlighted", true);
        QVERIFY(box.autoFillBackground());
    }

    void withoutParentNothingChanges()
    {
        BacklightedGroupBox box;
        const QPalette before = box.palette();
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(&box, &enter);
        QCOMPARE(box.palette(), before);
    }
};

QTEST_MAIN(tst_BacklightedGroupBox)
#include "tst_backlightedgroupbox.moc"
