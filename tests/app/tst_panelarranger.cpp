#include "mainwindow.h"
#include "panelarranger.h"

#include <QMainWindow>
#include <QScrollBar>
#include <QtTest>

// The arranger on the bare form (the header brings it), without the main window itself.
class TestPanelArranger : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void objectsArea_data();
    void objectsArea();
    void widePanelsScrollInsteadOfWideningTheWindow_data();
    void widePanelsScrollInsteadOfWideningTheWindow();

private:
    void doArrange(bool drawVertical, bool tableShown);

    std::unique_ptr<QMainWindow> m_window;
    Ui::MainWindow m_form;
    QMap<VantorControl, QWidget *> m_boxes;
    QMap<VantorControl, bool> m_shown;
    std::unique_ptr<PanelArranger> m_arranger;
};

void TestPanelArranger::init()
{
    m_window = std::make_unique<QMainWindow>();
    m_form.setupUi(m_window.get());
    m_boxes = { { ObjectsViewControl, m_form.objectsMetaWidget },
        { RoadObjectsControl, m_form.objectsTableBox },
        { SendCommandsControl, m_form.sendCommandsBox },
        { LimitationsControl, m_form.setPolygonBox },
        { RadarPositionControl, m_form.setPositionBox },
        { FineTuningControl, m_form.radarTuningBox },
        { SaveAndRestartControl, m_form.saveAndRestartBox },
        { GeneralInfoControl, m_form.generalInfoBox } };
    for (auto it = m_boxes.constBegin(); it != m_boxes.constEnd(); ++it)
        m_shown.insert(it.key(), true);
    m_arranger = std::make_unique<PanelArranger>(m_form, m_window.get(), m_boxes);
}

void TestPanelArranger::cleanup()
{
    m_arranger.reset();
    m_window.reset();
}

void TestPanelArranger::doArrange(bool drawVertical, bool tableShown)
{
    m_shown.insert(RoadObjectsControl, tableShown);
    m_form.objectsTableBox->setVisible(tableShown);
    const PanelLayout layout = PanelLayout::arrange(drawVertical, tableShown, true);
    m_arranger->placeObjectsArea(drawVertical);
    m_arranger->placePanels(layout, m_shown);
    QSignalSpy finished(m_arranger.get(), &PanelArranger::finished);
    m_arranger->apply(layout, true);
    QVERIFY(finished.wait());
}

void TestPanelArranger::objectsArea_data()
{
    QTest::addColumn<bool>("drawVertical");
    QTest::newRow("horizontal road above the panels") << false;
    QTest::newRow("vertical road beside them") << true;
}

void TestPanelArranger::objectsArea()
{
    QFETCH(bool, drawVertical);

    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    doArrange(drawVertical, true);

    QCOMPARE(m_form.vertRoadLayout->indexOf(m_form.objectsMetaWidget) >= 0, drawVertical);
    QCOMPARE(m_form.horzRoadLayout->indexOf(m_form.objectsMetaWidget) >= 0, !drawVertical);
    // The table sits above the panels beside a vertical road, beside them below a
    // horizontal one.
    QCOMPARE(m_form.vertCtrlsLayout->indexOf(m_form.objectsTableBox) >= 0, drawVertical);
    QCOMPARE(m_form.horzCtrlsLayout->indexOf(m_form.objectsTableBox) >= 0, !drawVertical);
    QVERIFY(m_form.objectsMetaWidget->isVisible());
    QCOMPARE(m_form.objectsMetaWidget->maximumWidth(), QWIDGETSIZE_MAX);
}

void TestPanelArranger::widePanelsScrollInsteadOfWideningTheWindow_data()
{
    QTest::addColumn<int>("panelWidth");
    QTest::addColumn<bool>("scrollsSideways");

    QTest::newRow("narrow panels") << 200 << false;
    QTest::newRow("panels wider than the screen leaves") << 700 << true;
}

void TestPanelArranger::widePanelsScrollInsteadOfWideningTheWindow()
{
    QFETCH(int, panelWidth);
    QFETCH(bool, scrollsSideways);

    const QRect available(100, 0, 1000, 700);
    m_arranger->setAvailableGeometry(available);
    m_form.objectsTableBox->setMinimumWidth(300);
    m_form.generalInfoBox->setMinimumWidth(panelWidth);
    m_form.radarTuningBox->setMinimumWidth(panelWidth);
    m_window->resize(900, 600);
    m_window->move(150, 50);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    doArrange(false, true);

    QVERIFY(available.contains(m_window->frameGeometry()));
    QCOMPARE(m_form.controlsScrollArea->horizontalScrollBarPolicy() == Qt::ScrollBarAsNeeded,
        scrollsSideways);
    QCOMPARE(m_form.controlsScrollArea->horizontalScrollBar()->isVisible(), scrollsSideways);
}

QTEST_MAIN(TestPanelArranger)
#include "tst_panelarranger.moc"
