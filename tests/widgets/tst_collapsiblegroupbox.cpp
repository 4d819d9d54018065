#include "collapsiblegroupbox.h"
#include "ui_designedbox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

class tst_CollapsibleGroupBox : public QObject
{
    Q_OBJECT

private:
    struct Fixture
    {
        QWidget window;
        CollapsibleGroupBox *box = nullptr;
        QPushButton *content = nullptr;
        QStringList events;

        Fixture()
        {
            auto *layout = new QVBoxLayout(&window);
            box = new CollapsibleGroupBox(QStringLiteral("Filters"), &window);
            content = new QPushButton(QStringLiteral("Content"), box->containerWidget());
            auto *contentLayout = new QVBoxLayout(box->containerWidget());
            contentLayout->addWidget(content);
            layout->addWidget(box);
            QObject::connect(box, &CollapsibleGroupBox::clicked, box,
                [this](bool c) { events << QStringLiteral("clicked(%1)").arg(c); });
            QObject::connect(box, &CollapsibleGroupBox::toggled, box,
                [this](bool c) { events << QStringLiteral("toggled(%1)").arg(c); });
            window.resize(300, 200);
            window.show();
        }

        QString caption() const { return static_cast<QGroupBox *>(box)->title(); }
        QPoint inTitle() const { return QPoint(box->width() / 2, 2); }
    };

private slots:
    void startsExpandedWithContentVisible()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QVERIFY(!f.box->isCollapsed());
        QVERIFY(f.box->containerWidget()->isVisible());
        QVERIFY(!f.box->collapsedLabel()->isVisible());
        QCOMPARE(f.caption(), QStringLiteral(" V  Filters"));
        QCOMPARE(f.box->title(), QStringLiteral("Filters"));
    }

    void clickOnTitleCollapsesAndExpands()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));

        QTest::mouseClick(f.box, Qt::LeftButton, {}, f.inTitle());
        QCOMPARE(f.events, QStringList({ "clicked(1)", "toggled(1)" }));
        QVERIFY(f.box->isCollapsed());
        QVERIFY(f.box->collapsedLabel()->isVisible());
        QVERIFY(!f.box->containerWidget()->isVisible());
        QCOMPARE(f.box->collapsedLabel()->text(), QStringLiteral("Click the title to expand"));
        QCOMPARE(f.caption(), QStringLiteral(" >  Filters"));
        QCOMPARE(f.box->sizePolicy().verticalPolicy(), QSizePolicy::Maximum);
        QCOMPARE(f.box->layout()->contentsMargins(), QMargins(2, 2, 2, 2));

        f.events.clear();
        QTest::mouseClick(f.box, Qt::LeftButton, {}, f.inTitle());
        QCOMPARE(f.events, QStringList({ "clicked(0)", "toggled(0)" }));
        QVERIFY(!f.box->isCollapsed());
        QVERIFY(f.content->isVisible());
        QCOMPARE(f.caption(), QStringLiteral(" V  Filters"));
        QCOMPARE(f.box->sizePolicy().verticalPolicy(), QSizePolicy::Preferred);
        QCOMPARE(f.box->layout()->contentsMargins(), QMargins());
    }

    void gesturesThatDoNotToggle_data()
    {
        QTest::addColumn<int>("pressButton");
        QTest::addColumn<bool>("pressInTitle");
        QTest::addColumn<int>("releaseButton");
        QTest::addColumn<bool>("releaseInTitle");

        QTest::newRow("click in content")
            << int(Qt::LeftButton) << false << int(Qt::LeftButton) << false;
        QTest::newRow("release outside strip")
            << int(Qt::LeftButton) << true << int(Qt::LeftButton) << false;
        QTest::newRow("right press, left release")
            << int(Qt::RightButton) << true << int(Qt::LeftButton) << true;
        QTest::newRow("right click")
            << int(Qt::RightButton) << true << int(Qt::RightButton) << true;
        QTest::newRow("left press, right release")
            << int(Qt::LeftButton) << true << int(Qt::RightButton) << true;
    }

    void gesturesThatDoNotToggle()
    {
        QFETCH(int, pressButton);
        QFETCH(bool, pressInTitle);
        QFETCH(int, releaseButton);
        QFETCH(bool, releaseInTitle);

        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        const QPoint inContent(f.box->width() / 2, f.box->height() - 4);
        QVERIFY(!QRect(0, 0, f.box->width(), f.box->containerWidget()->y()).contains(inContent));

        // Events go straight to the box, as they would where it is not covered by a child.
        QMouseEvent press(QEvent::MouseButtonPress, pressInTitle ? f.inTitle() : inContent,
            Qt::MouseButton(pressButton), Qt::MouseButton(pressButton), {});
        QApplication::sendEvent(f.box, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, releaseInTitle ? f.inTitle() : inContent,
            Qt::MouseButton(releaseButton), {}, {});
        QApplication::sendEvent(f.box, &release);

        QVERIFY(f.events.isEmpty());
        QVERIFY(!f.box->isCollapsed());
    }

    void settingTheSameStateEmitsNothingAndKeepsSavedPolicy()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        const QSizePolicy original(QSizePolicy::Expanding, QSizePolicy::MinimumExpanding);
        f.box->setSizePolicy(original);

        f.box->setCollapsed(false);
        QVERIFY(f.events.isEmpty());

        f.box->setCollapsed(true);
        QCOMPARE(f.events, QStringList({ "toggled(1)" }));
        QCOMPARE(f.box->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
        QCOMPARE(f.box->sizePolicy().verticalPolicy(), QSizePolicy::Maximum);

        // A second collapse must not save the folded policy over the original one.
        f.box->setSizePolicy(QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed));
        f.box->setCollapsed(true);
        QCOMPARE(f.events.size(), 1);
        QCOMPARE(static_cast<QGroupBox *>(f.box)->title(), QStringLiteral(" >  Filters"));
        QVERIFY(f.box->collapsedLabel()->isVisible());

        f.box->setCollapsed(false);
        QCOMPARE(f.events, QStringList({ "toggled(1)", "toggled(0)" }));
        QCOMPARE(f.box->sizePolicy(), original);
    }

    void collapsingBeforeTheFirstShowIsKept()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *box = new CollapsibleGroupBox(QStringLiteral("Early"), &window);
        layout->addWidget(box);
        box->setCollapsed(true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(box->isCollapsed());
        QVERIFY(box->collapsedLabel()->isVisible());
        QVERIFY(!box->containerWidget()->isVisible());
    }

    void designedContentMovesIntoTheContainer()
    {
        QWidget window;
        Ui::DesignedBox ui;
        ui.setupUi(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QWidget *container = ui.box->containerWidget();
        QCOMPARE(ui.box->title(), QStringLiteral("Designed"));
        QCOMPARE(container->layout(), static_cast<QLayout *>(ui.designedLayout));
        QCOMPARE(ui.nameLabel->parentWidget(), container);
        QCOMPARE(ui.nameEdit->parentWidget(), container);
        QCOMPARE(ui.designedLayout->indexOf(ui.nameEdit), 1);
        QVERIFY(ui.nameEdit->isVisible());
        QVERIFY(container->rect().contains(ui.nameEdit->geometry()));

        ui.box->setCollapsed(true);
        QVERIFY(!ui.nameEdit->isVisible());
        ui.box->setCollapsed(false);
        QVERIFY(ui.nameEdit->isVisible());
    }

    void collapsedPropertyDrivesTheBox()
    {
        Fixture f;
        QVERIFY(f.box->setProperty("collapsed", true));
        QVERIFY(f.box->isCollapsed());
        QVERIFY(f.box->setProperty("title", QStringLiteral("Renamed")));
        QCOMPARE(static_cast<QGroupBox *>(f.box)->title(), QStringLiteral(" >  Renamed"));
    }
};

QTEST_MAIN(tst_CollapsibleGroupBox)
#include "tst_collapsiblegroupbox.moc"
