#include "roadconfigs.h"
#include "roadconfigwidget.h"
#include "roadobjectswidget.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QJsonDocument>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

using RoadConfigs::ExampleRoad;
using RoadConfigs::parse;

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

bool allFinite(const QPolygonF &line)
{
    return std::all_of(line.cbegin(), line.cend(),
        [](const QPointF &p) { return std::isfinite(p.x()) && std::isfinite(p.y()); });
}

// Warnings while a road is read, built and drawn (e.g. arcs through NaN).
QStringList g_warnings;

void countWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings.append(message);
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
    void editorAndBuilderAgree_data();
    void editorAndBuilderAgree();
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
               "1": {"is_lane": true, "width": 15}, "-1": {"is_lane": false, "width": 0},
               "-2": {"is_lane": true, "width": 2.25}},
               "sections": [{"is_curved": true, "length": 10000, "radius": -10},
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
    const int count = int(RoadDraft::MaxRoadLength / RoadDraft::MaxLength) + 3;
    for (int i = 0; i < count; ++i)
        sections.append(QJsonObject { { "is_curved", false }, { "length", RoadDraft::MaxLength } });
    editor.setRoadConfig(QJsonObject { { "sections", sections } });
    QCOMPARE(editor.roadConfig().value("sections").toArray().size(), count - 3);
    QVERIFY(!child<QPushButton>(editor, "addSectionButton")->isEnabled());
    QVERIFY(!child<QLabel>(editor, "sectionsLimitLabel")->text().isEmpty());
    // No section can grow past the limit either.
    QCOMPARE(cellSpin(editor, "sectionsTable", 0, 1)->maximum(), RoadDraft::MaxLength);
    perform(editor, "drop section 0");
    perform(editor, "section straight");
    perform(editor, QStringLiteral("length %1 20000").arg(count - 4));
    QCOMPARE(editor.roadConfig().value("sections").toArray().last().toObject().value("length"),
        QJsonValue(RoadDraft::MaxLength));
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

void TestRoadConfigWidget::editorAndBuilderAgree_data()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const auto part = [](const QJsonValue &width, const QJsonValue &isLane) {
        return QJsonObject { { "is_lane", isLane }, { "width", width } };
    };
    const auto section = [](const QJsonValue &curved, const QJsonValue &length,
                             const QJsonValue &radius) {
        return QJsonObject { { "is_curved", curved }, { "length", length }, { "radius", radius } };
    };

    QTest::addColumn<QJsonObject>("config");
    QTest::addColumn<double>("offset");
    // Widths in the rows of the cross-section: outermost left part first.
    QTest::addColumn<QList<double>>("widths");
    QTest::addColumn<QList<double>>("lengths");
    // Signed; 0 for a straight section.
    QTest::addColumn<QList<double>>("radii");

    QTest::newRow("12 m lane") << QJsonObject { { "parts",
                                                    QJsonObject { { "1", part(12, true) } } },
        { "sections", QJsonArray { section(false, 30, 0) } } }
                               << 0.0 << QList<double> { 12, 0 } << QList<double> { 30 }
                               << QList<double> { 0 };
    QTest::newRow("3.75 m lanes") << QJsonObject { { "origin_offset", -3.75 },
        { "parts",
            QJsonObject { { "1", part(3.75, true) }, { "-1", part(3.75, true) },
                { "0", part(0.5, false) } } },
        { "sections", QJsonArray { section(true, 20.25, -120.5) } } }
                                  << -3.75 << QList<double> { 3.75, 0.5, 3.75 }
                                  << QList<double> { 20.25 } << QList<double> { -120.5 };
    // Not finite: the field's default, 0, then held within the range.
    QTest::newRow("NaN and infinities") << QJsonObject { { "origin_offset", nan },
        { "parts", QJsonObject { { "1", part(nan, true) }, { "-1", part(inf, true) } } },
        { "sections", QJsonArray { section(true, nan, nan), section(false, -inf, 0) } } }
                                        << 0.0 << QList<double> { 0, 0, 0 }
                                        << QList<double> { 0.1, 0.1 } << QList<double> { 10, 0 };
    QTest::newRow("1e308") << QJsonObject { { "origin_offset", 1e308 },
        { "parts", QJsonObject { { "1", part(1e308, true) }, { "2", part(1e308, false) } } },
        { "sections", QJsonArray { section(true, 1e308, 1e308), section(false, 1e308, 0) } } }
                           << 100.0 << QList<double> { 50, 15, 0 } << QList<double> { 10000, 10000 }
                           << QList<double> { 50000, 0 };
    QTest::newRow("-1e308") << QJsonObject { { "origin_offset", -1e308 },
        { "parts", QJsonObject { { "0", part(-1e308, false) }, { "-1", part(-1e308, true) } } },
        { "sections", QJsonArray { section(true, -1e308, -1e308), section(false, 5, 0) } } }
                            << -100.0 << QList<double> { 0, 0 } << QList<double> { 0.1, 5 }
                            << QList<double> { -50000, 0 };
    QTest::newRow("negative widths and lengths")
        << QJsonObject { { "parts",
                             QJsonObject { { "1", part(-3.5, true) }, { "-1", part(3.5, true) } } },
               { "sections", QJsonArray { section(false, -100, 0), section(false, 12, 0) } } }
        << 0.0 << QList<double> { 0, 0, 3.5 } << QList<double> { 0.1, 12 }
        << QList<double> { 0, 0 };
    QTest::newRow("wrong JSON types")
        << QJsonObject { { "origin_offset", "far" },
               { "parts",
                   QJsonObject { { "0", QJsonObject { { "width", "2" } } },
                       { "1", part(true, "yes") }, { "-1", part(QJsonArray { 3 }, true) } } },
               { "sections",
                   QJsonArray { section("true", "50", 0), 17, section(true, 20, "300"),
                       section(false, QJsonObject(), QJsonValue()) } } }
        << 0.0 << QList<double> { 0, 0, 0 } << QList<double> { 0.1, 0.1, 20, 0.1 }
        << QList<double> { 0, 0, 10, 0 };
}

void TestRoadConfigWidget::editorAndBuilderAgree()
{
    QFETCH(QJsonObject, config);
    QFETCH(double, offset);
    QFETCH(QList<double>, widths);
    QFETCH(QList<double>, lengths);
    QFETCH(QList<double>, radii);

    // The editor, showing and drawing its preview.
    RoadConfigWidget editor;
    editor.resize(800, 600);
    editor.show();

    // The road builder of the scheme, given the same configuration, and the scheme.
    RoadBuilder builder;
    RoadObjectsWidget scheme;
    scheme.resize(800, 600);
    connect(&builder, &RoadBuilder::applyingRoadStarted, &scheme,
        &RoadObjectsWidget::startApplyingRoad);
    connect(&builder, &RoadBuilder::roadAxisLine, &scheme, &RoadObjectsWidget::setRoadAxisLine);
    connect(
        &builder, &RoadBuilder::laneBorderLines, &scheme, &RoadObjectsWidget::setLaneBorderLines);
    connect(
        &builder, &RoadBuilder::roadBorderLines, &scheme, &RoadObjectsWidget::setRoadBorderLines);
    connect(&builder, &RoadBuilder::distanceLines, &scheme, &RoadObjectsWidget::setDistanceLines);
    connect(&builder, &RoadBuilder::roadTanAngles, &scheme, &RoadObjectsWidget::setRoadTanAngles);
    connect(&builder, &RoadBuilder::applyingRoadFinished, &scheme,
        &RoadObjectsWidget::finishApplyingRoad);
    QSignalSpy axisSpy(&builder, &RoadBuilder::roadAxisLine);
    QSignalSpy laneBorderSpy(&builder, &RoadBuilder::laneBorderLines);
    QSignalSpy roadBorderSpy(&builder, &RoadBuilder::roadBorderLines);
    QSignalSpy centreSpy(&builder, &RoadBuilder::laneCenterLines);
    QSignalSpy distanceSpy(&builder, &RoadBuilder::distanceLines);
    scheme.show();
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(countWarnings);
    editor.setRoadConfig(config);
    editor.grab();
    builder.setRoadConfig(config);
    scheme.grab();
    qInstallMessageHandler(previous);
    QCOMPARE(g_warnings, QStringList());

    // The values shown.
    QCOMPARE(child<QDoubleSpinBox>(editor, "originOffsetSpin")->value(), offset);
    const auto *parts = child<QTableWidget>(editor, "partsTable");
    QCOMPARE(parts->rowCount(), widths.size());
    for (int row = 0; row < widths.size(); ++row)
        QCOMPARE(cellSpin(editor, "partsTable", row, 2)->value(), widths.at(row));
    QCOMPARE(child<QTableWidget>(editor, "sectionsTable")->rowCount(), lengths.size());
    for (int row = 0; row < lengths.size(); ++row) {
        QCOMPARE(cellSpin(editor, "sectionsTable", row, 1)->value(), lengths.at(row));
        if (radii.at(row) != 0.0)
            QCOMPARE(cellSpin(editor, "sectionsTable", row, 2)->value(), std::abs(radii.at(row)));
    }

    // The road drawn: the same offset, part widths, length and turn.
    QCOMPARE(builder.originOffset(), offset);
    const QMap<int, RoadBuilder::RoadPart> built = builder.parts();
    QList<double> builtWidths;
    for (auto it = built.cend(); it != built.cbegin();) {
        --it;
        builtWidths.append(it->upperEdge() - it->lowerEdge());
    }
    QCOMPARE(builtWidths.size(), widths.size());
    for (int i = 0; i < widths.size(); ++i)
        QVERIFY(qAbs(builtWidths.at(i) - widths.at(i)) < 1e-9);
    double length = 0.0;
    for (double l : lengths)
        length += l;
    const QMap<int, double> angles = builder.tanAngles();
    const int lastMark = int(std::floor(length + 0.01));
    QCOMPARE(angles.lastKey(), lastMark);
    // The direction at the last mark: the turns of the curves up to there.
    double turn = 0.0;
    double start = 0.0;
    for (int i = 0; i < lengths.size(); ++i) {
        if (radii.at(i) != 0.0)
            turn += qBound(0.0, lastMark - start, lengths.at(i)) / radii.at(i);
        start += lengths.at(i);
    }
    QVERIFY(qAbs(angles.last() - std::remainder(turn, 2 * M_PI)) < 1e-6);

    // No line holds anything but finite points.
    QCOMPARE(axisSpy.count(), 1);
    QVERIFY(allFinite(axisSpy.at(0).at(0).value<QPolygonF>()));
    for (QSignalSpy *spy : { &laneBorderSpy, &roadBorderSpy }) {
        for (const QPolygonF &line : spy->at(0).at(0).value<QList<QPolygonF>>())
            QVERIFY(allFinite(line));
    }
    for (QSignalSpy *spy : { &centreSpy, &distanceSpy }) {
        for (const QPolygonF &line : spy->at(0).at(0).value<QMap<int, QPolygonF>>())
            QVERIFY(allFinite(line));
    }
    QVERIFY(std::isfinite(builder.dimensions().width()));
    QVERIFY(std::isfinite(builder.dimensions().height()));
}

QTEST_MAIN(TestRoadConfigWidget)
#include "tst_roadconfigwidget.moc"
