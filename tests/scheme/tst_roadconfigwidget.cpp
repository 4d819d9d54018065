#include "roadconfigwidget.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QJsonDocument>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

namespace {

const char *const ExampleRoad = R"({"origin_offset": 4,
    "parts": {"-2": {"is_lane": false, "width": 2}, "-1": {"is_lane": true, "width": 3.5},
              "0": {"is_lane": false, "width": 0.5}, "1": {"is_lane": true, "width": 3.5},
              "2": {"is_lane": false, "width": 2}},
    "sections": [{"is_curved": false, "length": 100, "radius": 0},
                 {"is_curved": true, "length": 50, "radius": 300}]})";

QJsonObject parse(const char *text)
{
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(text, &error).object();
    if (error.error != QJsonParseError::NoError)
        qFatal("bad fixture: %s", qPrintable(error.errorString()));
    return object;
}

template<typename T> T *child(RoadConfigWidget &editor, const char *name)
{
    T *widget = editor.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

void chooseText(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    if (index < 0)
        qFatal("no item %s", qPrintable(text));
    combo->setCurrentIndex(index);
}

QDoubleSpinBox *cellSpin(RoadConfigWidget &editor, const char *table, int row, int column)
{
    return qobject_cast<QDoubleSpinBox *>(
        child<QTableWidget>(editor, table)->cellWidget(row, column));
}

// Steps as a user takes them: "part left lane", "remove right", "type 0 roadside",
// "width 2 0.5", "section left curve", "length 1 50", "radius 1 300", "drop section 0",
// "offset 4". Rows of the cross-section count from the outermost left part.
void perform(RoadConfigWidget &editor, const QString &step)
{
    const QStringList words = step.split(' ');
    const QString verb = words.at(0);
    const QString rest = words.mid(1).join(' ');
    if (verb == "part") {
        chooseText(child<QComboBox>(editor, "partTypeCombo"), words.mid(2).join(' '));
        QTest::mouseClick(child<QPushButton>(editor,
                              words.at(1) == "left" ? "addLeftPartButton" : "addRightPartButton"),
            Qt::LeftButton);
    } else if (verb == "remove") {
        QTest::mouseClick(child<QPushButton>(editor,
                              rest == "left" ? "removeLeftPartButton" : "removeRightPartButton"),
            Qt::LeftButton);
    } else if (verb == "type") {
        auto *table = child<QTableWidget>(editor, "partsTable");
        chooseText(qobject_cast<QComboBox *>(table->cellWidget(words.at(1).toInt(), 1)),
            words.mid(2).join(' '));
    } else if (verb == "width") {
        cellSpin(editor, "partsTable", words.at(1).toInt(), 2)->setValue(words.at(2).toDouble());
    } else if (verb == "section") {
        chooseText(child<QComboBox>(editor, "sectionTypeCombo"), rest);
        QTest::mouseClick(child<QPushButton>(editor, "addSectionButton"), Qt::LeftButton);
    } else if (verb == "length" || verb == "radius") {
        cellSpin(editor, "sectionsTable", words.at(1).toInt(), verb == "length" ? 1 : 2)
            ->setValue(words.at(2).toDouble());
    } else if (verb == "drop") {
        child<QTableWidget>(editor, "sectionsTable")->selectRow(words.at(2).toInt());
        QTest::mouseClick(child<QPushButton>(editor, "removeSectionButton"), Qt::LeftButton);
    } else if (verb == "offset") {
        child<QDoubleSpinBox>(editor, "originOffsetSpin")->setValue(rest.toDouble());
    } else {
        qFatal("unknown step %s", qPrintable(step));
    }
}

} // namespace

class TestRoadConfigWidget : public QObject
{
    Q_OBJECT

private slots:
    void buildThroughControls_data();
    void buildThroughControls();
    void readBack_data();
    void readBack();
    void builderLimits();
    void centimetresSurviveOtherEdits_data();
    void centimetresSurviveOtherEdits();
};

void TestRoadConfigWidget::buildThroughControls_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QJsonObject>("expected");

    QTest::newRow("the worked example") << QStringList { "part left lane", "part right lane",
        "part left roadside", "part right roadside", "width 2 0.5", "section straight",
        "section left curve", "length 1 50", "radius 1 300", "offset 4" }
                                        << parse(ExampleRoad);
    QTest::newRow("right curve, with parts and sections removed again")
        << QStringList { "part left lane", "part left lane", "remove left",
               "part right median strip", "part right lane", "remove right", "section right curve",
               "length 0 80", "radius 0 150", "section straight", "drop section 1", "offset -2.5" }
        << parse(R"({"origin_offset": -2.5,
               "parts": {"0": {"is_lane": false, "width": 0}, "1": {"is_lane": true, "width": 3.5},
                         "-1": {"is_lane": false, "width": 0}},
               "sections": [{"is_curved": true, "length": 80, "radius": -150}]})");
    QTest::newRow("a new part type brings its width")
        << QStringList { "part left lane", "type 0 roadside", "section straight", "length 0 0.1" }
        << parse(R"({"origin_offset": 0,
               "parts": {"0": {"is_lane": false, "width": 0}, "1": {"is_lane": false, "width": 2}},
               "sections": [{"is_curved": false, "length": 0.1, "radius": 0}]})");
    QTest::newRow("a curve made straight writes radius 0")
        << QStringList { "section left curve", "radius 0 25" } << QJsonObject();
}

void TestRoadConfigWidget::buildThroughControls()
{
    QFETCH(QStringList, steps);
    QFETCH(QJsonObject, expected);

    RoadConfigWidget editor;
    QSignalSpy spy(&editor, &RoadConfigWidget::roadConfigChanged);
    for (const QString &step : steps)
        perform(editor, step);

    if (expected.isEmpty()) {
        // Switching the section's type to straight in its own cell.
        auto *table = child<QTableWidget>(editor, "sectionsTable");
        chooseText(qobject_cast<QComboBox *>(table->cellWidget(0, 0)), "straight");
        expected = parse(R"({"origin_offset": 0, "parts": {"0": {"is_lane": false, "width": 0}},
            "sections": [{"is_curved": false, "length": 100, "radius": 0}]})");
    }
    QCOMPARE(spy.count() > 0, true);
    QCOMPARE(spy.constLast().at(0).toJsonObject(), expected);
    QCOMPARE(editor.roadConfig(), expected);
}

void TestRoadConfigWidget::readBack_data()
{
    QTest::addColumn<QJsonObject>("config");
    QTest::addColumn<QJsonObject>("expected");
    QTest::addColumn<int>("partRows");
    QTest::addColumn<int>("sectionRows");

    QTest::newRow("the worked example") << parse(ExampleRoad) << parse(ExampleRoad) << 5 << 2;
    QTest::newRow("hostile values are bounded")
        << parse(R"({"origin_offset": "far", "parts": {"0": {"width": -7},
               "1": {"is_lane": true, "width": 1e300}, "-1": {"is_lane": "yes", "width": "3"},
               "-2": {"is_lane": true, "width": 2.25}},
               "sections": [{"is_curved": true, "length": 1e12, "radius": -5},
                            {"is_curved": false, "length": -3, "radius": 7}, 17]})")
        << parse(R"({"origin_offset": 0, "parts": {"0": {"is_lane": false, "width": 0},
               "1": {"is_lane": true, "width": 10}, "-1": {"is_lane": false, "width": 0},
               "-2": {"is_lane": true, "width": 2.25}},
               "sections": [{"is_curved": true, "length": 500, "radius": -10},
                            {"is_curved": false, "length": 0.1, "radius": 0},
                            {"is_curved": false, "length": 0.1, "radius": 0}]})")
        << 4 << 3;
    QTest::newRow("numbering gap ends the cross-section like the road builder")
        << parse(R"({"parts": {"1": {"is_lane": true, "width": 3.5},
               "3": {"is_lane": true, "width": 3.5}}})")
        << parse(R"({"origin_offset": 0, "parts": {"0": {"is_lane": false, "width": 0},
               "1": {"is_lane": true, "width": 3.5}}, "sections": []})")
        << 2 << 0;
}

void TestRoadConfigWidget::readBack()
{
    QFETCH(QJsonObject, config);
    QFETCH(QJsonObject, expected);
    QFETCH(int, partRows);
    QFETCH(int, sectionRows);

    RoadConfigWidget editor;
    QSignalSpy spy(&editor, &RoadConfigWidget::roadConfigChanged);
    editor.setRoadConfig(config);

    QCOMPARE(editor.roadConfig(), expected);
    QCOMPARE(child<QTableWidget>(editor, "partsTable")->rowCount(), partRows);
    QCOMPARE(child<QTableWidget>(editor, "sectionsTable")->rowCount(), sectionRows);
    QCOMPARE(child<QDoubleSpinBox>(editor, "originOffsetSpin")->value(),
        expected.value("origin_offset").toDouble());
    // Showing a configuration is not a change by the user.
    QCOMPARE(spy.count(), 0);
}

void TestRoadConfigWidget::builderLimits()
{
    RoadConfigWidget editor;
    for (int i = 0; i < RoadBuilder::MaxPartsPerSide + 1; ++i)
        perform(editor, "part left lane");
    QCOMPARE(
        editor.roadConfig().value("parts").toObject().size(), RoadBuilder::MaxPartsPerSide + 1);
    QVERIFY(!child<QPushButton>(editor, "addLeftPartButton")->isEnabled());
    QVERIFY(child<QPushButton>(editor, "addRightPartButton")->isEnabled());
    QVERIFY(!child<QLabel>(editor, "partsLimitLabel")->text().isEmpty());

    QJsonArray sections;
    const int count = int(RoadBuilder::MaxRoadLength / 500.0) + 3;
    for (int i = 0; i < count; ++i)
        sections.append(QJsonObject { { "is_curved", false }, { "length", 500 } });
    editor.setRoadConfig(QJsonObject { { "sections", sections } });
    QCOMPARE(editor.roadConfig().value("sections").toArray().size(), count - 3);
    QVERIFY(!child<QPushButton>(editor, "addSectionButton")->isEnabled());
    QVERIFY(!child<QLabel>(editor, "sectionsLimitLabel")->text().isEmpty());
    // No section can grow past the limit either.
    QCOMPARE(cellSpin(editor, "sectionsTable", 0, 1)->maximum(), 500.0);
    perform(editor, "drop section 0");
    perform(editor, "section straight");
    perform(editor, "length 199 600");
    QCOMPARE(editor.roadConfig().value("sections").toArray().last().toObject().value("length"),
        QJsonValue(500.0));
}

void TestRoadConfigWidget::centimetresSurviveOtherEdits_data()
{
    QTest::addColumn<QString>("step");

    QTest::newRow("Y offset") << "offset 1.25";
    QTest::newRow("median strip width") << "width 2 0.75";
    QTest::newRow("section length") << "length 0 120.35";
    QTest::newRow("curve radius") << "radius 1 312.5";
    QTest::newRow("a part added") << "part right roadside";
    QTest::newRow("a section added") << "section straight";
}

void TestRoadConfigWidget::centimetresSurviveOtherEdits()
{
    QFETCH(QString, step);

    // A profile as stored on disk: 3.75 m lanes, a 2.25 m roadside.
    const QJsonObject profile = parse(R"({"origin_offset": 0,
        "parts": {"0": {"is_lane": false, "width": 0.5}, "1": {"is_lane": true, "width": 3.75},
                  "2": {"is_lane": false, "width": 2.25}, "-1": {"is_lane": true, "width": 3.75}},
        "sections": [{"is_curved": false, "length": 100.05, "radius": 0},
                     {"is_curved": true, "length": 50, "radius": 300.25}]})");
    RoadConfigWidget editor;
    editor.setRoadConfig(profile);
    QSignalSpy spy(&editor, &RoadConfigWidget::roadConfigChanged);
    // Rows: roadside 2, lane 1, median strip, lane -1.
    QCOMPARE(cellSpin(editor, "partsTable", 1, 2)->value(), 3.75);
    QCOMPARE(cellSpin(editor, "partsTable", 1, 2)->text(), QLocale().toString(3.75, 'f', 2));

    perform(editor, step);
    QVERIFY(spy.count() > 0);

    // What the editor hands on, written and read back as the configuration file does.
    const QJsonObject stored
        = QJsonDocument::fromJson(QJsonDocument(spy.constLast().at(0).toJsonObject()).toJson())
              .object();
    const QJsonObject parts = stored.value("parts").toObject();
    QCOMPARE(parts.value("1").toObject().value("width").toDouble(), 3.75);
    QCOMPARE(parts.value("-1").toObject().value("width").toDouble(), 3.75);
    QCOMPARE(parts.value("2").toObject().value("width").toDouble(), 2.25);
    const QJsonArray sections = stored.value("sections").toArray();
    if (!step.startsWith("length"))
        QCOMPARE(sections.at(0).toObject().value("length").toDouble(), 100.05);
    if (!step.startsWith("radius"))
        QCOMPARE(sections.at(1).toObject().value("radius").toDouble(), 300.25);
    QCOMPARE(cellSpin(editor, "partsTable", 1, 2)->value(), 3.75);

    // The edited value itself is kept to the centimetre too.
    const QString value = step.section(' ', -1);
    if (step.startsWith("offset"))
        QCOMPARE(stored.value("origin_offset").toDouble(), value.toDouble());
    else if (step.startsWith("width"))
        QCOMPARE(parts.value("0").toObject().value("width").toDouble(), value.toDouble());
    else if (step.startsWith("length"))
        QCOMPARE(sections.at(0).toObject().value("length").toDouble(), value.toDouble());
    else if (step.startsWith("radius"))
        QCOMPARE(sections.at(1).toObject().value("radius").toDouble(), value.toDouble());
}

QTEST_MAIN(TestRoadConfigWidget)
#include "tst_roadconfigwidget.moc"
