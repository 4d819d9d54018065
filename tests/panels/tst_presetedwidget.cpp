#include "presetbutton.h"
#include "setpolygonwidget.h"
#include "setpositionwidget.h"
#include "workprofilehandler.h"

#include <QFontMetrics>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QJsonObject position(const QString &name, double height)
{
    return { { "name", name }, { "height", height }, { "x_offset", 1.0 }, { "y_offset", -2.0 },
        { "azimuth", 10.0 }, { "altitude", 5.0 }, { "roll", 0.0 } };
}

QStringList buttonNames(const QWidget &panel)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList names;
    for (const PresetButton *b : panel.findChildren<PresetButton *>())
        names << b->name();
    return names;
}

QStringList presetNames(const PresetedWidget &panel)
{
    QStringList names;
    for (const QJsonValue &p : panel.presets())
        names << p.toObject().value("name").toString();
    return names;
}

} // namespace

class TestPresetedWidget : public QObject
{
    Q_OBJECT

private slots:
    void invalidPresetsAreDropped_data();
    void invalidPresetsAreDropped();
    void nameDialog_data();
    void nameDialog();
    void updateKeepsTheName();
    void handlerEchoDoesNotRebuild();
    void applyChecksTheIndex_data();
    void applyChecksTheIndex();
    void presetsSurviveTheProfileFile_data();
    void presetsSurviveTheProfileFile();
    void longNamesAreElided();
};

void TestPresetedWidget::invalidPresetsAreDropped_data()
{
    QTest::addColumn<QJsonArray>("presets");
    QTest::addColumn<QStringList>("buttons");

    QJsonObject nameless = position("x", 3.0);
    nameless.remove("name");
    QTest::newRow("nameless, empty and valid") << QJsonArray { nameless, QJsonObject(),
        position("Pole 6 m", 6.0) } << QStringList { "Pole 6 m" };
    QTest::newRow("empty name") << QJsonArray { position("", 6.0) } << QStringList();
    QJsonObject missing = position("no roll", 6.0);
    missing.remove("roll");
    QJsonObject text = position("text height", 6.0);
    text.insert("height", "6");
    QTest::newRow("missing or mistyped value")
        << QJsonArray { missing, text, position("B", 2.0) } << QStringList { "B" };
    // Lengths go to the radar as a sign and a 17-bit magnitude in hundredths.
    QTest::newRow("out of range") << QJsonArray { position("far", -1310.72), position("high", 1e9) }
                                  << QStringList();
    QTest::newRow("not objects") << QJsonArray { 1, "preset", QJsonValue(), QJsonArray() }
                                 << QStringList();
}

void TestPresetedWidget::invalidPresetsAreDropped()
{
    QFETCH(QJsonArray, presets);
    QFETCH(QStringList, buttons);
    SetPositionWidget panel;
    QSignalSpy changed(&panel, &PresetedWidget::presetsChanged);
    panel.setPresets(presets);
    QCOMPARE(presetNames(panel), buttons);
    QCOMPARE(buttonNames(panel), buttons);
    QCOMPARE(changed.size(), 0);
}

void TestPresetedWidget::nameDialog_data()
{
    QTest::addColumn<bool>("rename");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("names");

    const QStringList unchanged { "A", "B" };
    QTest::newRow("add cancelled") << false << false << "C" << unchanged;
    QTest::newRow("add empty") << false << true << "" << unchanged;
    QTest::newRow("add blank") << false << true << "   " << unchanged;
    QTest::newRow("add") << false << true << "C" << QStringList { "A", "B", "C" };
    QTest::newRow("rename cancelled") << true << false << "C" << unchanged;
    QTest::newRow("rename empty") << true << true << "" << unchanged;
    QTest::newRow("rename") << true << true << "C" << QStringList { "C", "B" };
}

void TestPresetedWidget::nameDialog()
{
    QFETCH(bool, rename);
    QFETCH(bool, accepted);
    QFETCH(QString, typed);
    QFETCH(QStringList, names);
    SetPositionWidget panel;
    panel.setPresets({ position("A", 1.0), position("B", 2.0) });
    QString offered;
    panel.setNameDialog([&](const QString &initial, QString *name) {
        offered = initial;
        *name = typed;
        return accepted;
    });
    QSignalSpy changed(&panel, &PresetedWidget::presetsChanged);

    if (rename)
        panel.onPresetRenameRequested(0);
    else
        panel.onAddPresetClicked();

    QCOMPARE(offered, rename ? QStringLiteral("A") : QStringLiteral("New preset"));
    QCOMPARE(presetNames(panel), names);
    QCOMPARE(buttonNames(panel), names);
    QCOMPARE(changed.size(), names == QStringList({ "A", "B" }) ? 0 : 1);
    // A renamed preset keeps its values.
    QCOMPARE(panel.presets().at(0).toObject().value("height").toDouble(), 1.0);
}

void TestPresetedWidget::updateKeepsTheName()
{
    SetPositionWidget panel;
    panel.setPresets({ position("A", 1.0), position("B", 2.0) });
    panel.fillPosition(7.25, 0, 0, 0, 0, 0);
    panel.onPresetUpdateRequested(1);
    QCOMPARE(presetNames(panel), QStringList({ "A", "B" }));
    QCOMPARE(buttonNames(panel), QStringList({ "A", "B" }));
    QCOMPARE(panel.presets().at(1).toObject().value("height").toDouble(), 7.25);
}

void TestPresetedWidget::handlerEchoDoesNotRebuild()
{
    WorkProfileHandler handler;
    SetPositionWidget panel;
    QList<QPointer<PresetButton>> built;
    connect(&panel, &PresetedWidget::presetsChanged, this, [&] {
        for (PresetButton *b : panel.findChildren<PresetButton *>())
            built << b;
    });
    connect(
        &panel, &PresetedWidget::presetsChanged, &handler, &WorkProfileHandler::setPositionPresets);
    connect(
        &handler, &WorkProfileHandler::positionPresetsChanged, &panel, &PresetedWidget::setPresets);
    QSignalSpy stored(&handler, &WorkProfileHandler::positionPresetsChanged);
    panel.setNameDialog([](const QString &, QString *name) {
        *name = "Pole";
        return true;
    });

    panel.onAddPresetClicked();
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.first().at(0).toJsonArray().size(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(built.size(), 1);
    QVERIFY(!built.first().isNull());
    QCOMPARE(buttonNames(panel), QStringList { "Pole" });
}

void TestPresetedWidget::applyChecksTheIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("height");

    QTest::newRow("first") << 0 << 1.0;
    QTest::newRow("last") << 1 << 2.0;
    QTest::newRow("past the end") << 2 << 9.0;
    QTest::newRow("negative") << -1 << 9.0;
}

void TestPresetedWidget::applyChecksTheIndex()
{
    QFETCH(int, index);
    QFETCH(double, height);
    SetPositionWidget panel;
    panel.setPresets({ position("A", 1.0), position("B", 2.0) });
    panel.fillPosition(9.0, 0, 0, 0, 0, 0);
    PresetButton button(index, &panel);
    connect(&button, &PresetButton::clicked, &panel, &PresetedWidget::onPresetButtonClicked);
    button.click();
    QCOMPARE(panel.value(SetPositionWidget::Height), height);
}

void TestPresetedWidget::presetsSurviveTheProfileFile_data()
{
    QTest::addColumn<bool>("limitations");
    QTest::newRow("position") << false;
    QTest::newRow("limitations") << true;
}

void TestPresetedWidget::presetsSurviveTheProfileFile()
{
    QFETCH(bool, limitations);
    const auto makePanel = [&]() -> std::unique_ptr<PresetedWidget> {
        if (limitations)
            return std::make_unique<SetPolygonWidget>();
        return std::make_unique<SetPositionWidget>();
    };
    const auto wire = [&](PresetedWidget *panel, WorkProfileHandler *handler) {
        if (limitations) {
            connect(panel, &PresetedWidget::presetsChanged, handler,
                &WorkProfileHandler::setLimitationsPresets);
            connect(handler, &WorkProfileHandler::limitationsPresetsChanged, panel,
                &PresetedWidget::setPresets);
        } else {
            connect(panel, &PresetedWidget::presetsChanged, handler,
                &WorkProfileHandler::setPositionPresets);
            connect(handler, &WorkProfileHandler::positionPresetsChanged, panel,
                &PresetedWidget::setPresets);
        }
    };
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("config.json");

    WorkProfileHandler first;
    first.applyProfile(-1);
    auto saved = makePanel();
    wire(saved.get(), &first);
    int n = 0;
    saved->setNameDialog([&](const QString &, QString *name) {
        *name = QStringLiteral("P%1").arg(++n);
        return true;
    });
    saved->onAddPresetClicked();
    saved->onAddPresetClicked();
    QVERIFY(first.saveProfiles(path));

    WorkProfileHandler second;
    auto loaded = makePanel();
    wire(loaded.get(), &second);
    second.loadProfiles(path);
    second.applyProfile(-1);
    QCOMPARE(loaded->presets(), saved->presets());
    QCOMPARE(buttonNames(*loaded), QStringList({ "P1", "P2" }));
}

void TestPresetedWidget::longNamesAreElided()
{
    SetPositionWidget shortNamed;
    shortNamed.setPresets({ position("A", 1.0) });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QString name(70, QLatin1Char('N'));
    SetPositionWidget longNamed;
    longNamed.setPresets({ position(name, 1.0) });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // A long name never widens the panel.
    QCOMPARE(longNamed.minimumSizeHint().width(), shortNamed.minimumSizeHint().width());
    longNamed.resize(longNamed.minimumSizeHint());
    longNamed.show();
    QVERIFY(QTest::qWaitForWindowExposed(&longNamed));
    auto *button = longNamed.findChild<PresetButton *>();
    QVERIFY(button);
    QCOMPARE(button->name(), name);
    QCOMPARE(button->toolTip(), name);
    QVERIFY(button->shownName().endsWith(QChar(0x2026)));
    QVERIFY(button->shownName().size() < name.size());
    QVERIFY(button->fontMetrics().horizontalAdvance(button->shownName()) <= button->width());
}

QTEST_MAIN(TestPresetedWidget)
#include "tst_presetedwidget.moc"
