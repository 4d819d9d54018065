#include "objectcolor.h"
#include "pickupscene.h"
#include "projectionwidget.h"
#include "tvmsconfigwidget.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Answers the boxes the view opens, in order: a number fills a question box, "cancel"
// cancels it; message boxes are confirmed and their titles recorded.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(const QStringList &answers)
        : m_answers(answers)
    {
        connect(&m_timer, &QTimer::timeout, this, &BoxAnswerer::answer);
        m_timer.start(10);
    }

    QStringList questions;
    QStringList messages;

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *input = qobject_cast<QInputDialog *>(modal)) {
            questions << input->labelText();
            const QString answer = m_answers.isEmpty() ? QString() : m_answers.takeFirst();
            if (answer == QLatin1String("cancel")) {
                input->reject();
            } else {
                input->setDoubleValue(answer.toDouble());
                input->accept();
            }
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            messages << box->windowTitle() + QLatin1String(": ") + box->text();
            box->accept();
        }
    }

    QStringList m_answers;
    QTimer m_timer;
};

QImage grabbed(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestProjectionWidget : public QObject
{
    Q_OBJECT

private slots:
    void marking_data();
    void marking();
    void objectsAndPicture_data();
    void objectsAndPicture();
    void tvmsConfigEditor();
};

void TestProjectionWidget::marking_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<int>("leftClicks");
    QTest::addColumn<bool>("rightClickAtEnd");
    QTest::addColumn<bool>("picked");

    const PickupScene scene = PickupScene::samples().at(1);
    QStringList ys;
    for (int i = 0; i < 4; ++i)
        ys << QString::number(scene.points.at(i).y());
    const QString length = QString::number(scene.points.at(5).x() - scene.points.at(4).x());

    QTest::newRow("mode 1, four marks") << 1 << ys << 4 << false << true;
    QTest::newRow("mode 2, six marks, the fifth without a question")
        << 2 << (QStringList(ys) << length) << 6 << false << true;
    QTest::newRow("cancelled second question")
        << 1 << QStringList { ys.at(0), "cancel" } << 2 << false << false;
    QTest::newRow("cancelled length question")
        << 2 << (QStringList(ys) << "cancel") << 6 << false << false;
    QTest::newRow("right button ends marking")
        << 1 << QStringList { ys.at(0) } << 1 << true << false;
}

void TestProjectionWidget::marking()
{
    QFETCH(int, mode);
    QFETCH(QStringList, answers);
    QFETCH(int, leftClicks);
    QFETCH(bool, rightClickAtEnd);
    QFETCH(bool, picked);

    const PickupScene scene = PickupScene::samples().at(1);
    ProjectionWidget view;
    view.resize(scene.width, scene.height);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    ProjectionDrawer *drawer = view.drawer();
    drawer->setTvmsConfig(scene.config());
    const CameraParams &truth = scene.radar;
    drawer->showPosition(
        truth.height, truth.xOffset, truth.yOffset, truth.azimuth, truth.altitude, 0.0);
    QVERIFY(drawer->model().isValid());
    PickupSearch::Checkpoints marks;
    QVERIFY(scene.checkpoints(&marks));

    QSignalSpy position(drawer, &ProjectionDrawer::pickedRadarPosition);
    QSignalSpy result(drawer, &ProjectionDrawer::pickupResult);
    BoxAnswerer answerer(answers);
    view.pickupParameters(mode);
    QVERIFY(view.isMarking());
    QVERIFY(!drawer->model().isValid());
    for (int i = 0; i < leftClicks; ++i)
        QTest::mouseClick(&view, Qt::LeftButton, {}, marks.at(i).first);
    if (rightClickAtEnd)
        QTest::mouseClick(&view, Qt::RightButton, {}, QPoint(10, 300));

    if (picked) {
        QTRY_COMPARE_WITH_TIMEOUT(answerer.messages.size(), 2, 60000);
        QCOMPARE(position.count(), 1);
        QCOMPARE(result.count(), 1);
        QCOMPARE(answerer.messages.at(1).startsWith(QLatin1String("Picked parameters: ")), true);
        QCOMPARE(view.checkpoints().size(), leftClicks);
        const QVector<double> residuals = drawer->checkpointResiduals();
        QCOMPARE(residuals.size(), 4);
        for (double residual : residuals)
            QVERIFY(residual >= 0.0 && residual <= 3.0);
    } else {
        QTRY_VERIFY(!view.isMarking());
        QVERIFY(view.checkpoints().isEmpty());
        QCOMPARE(result.count(), 0);
        QCOMPARE(answerer.messages.size(), 1);
    }
    QVERIFY(!view.isBusy());
    QVERIFY(!view.isMarking());
    // The projection in force before the pick-up is back.
    QVERIFY(drawer->model().isValid());
    QCOMPARE(drawer->model().radarHeight(), truth.height);

    // Marking is over: further clicks ask nothing.
    const int asked = answerer.questions.size();
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(400, 500));
    QTest::qWait(50);
    QCOMPARE(answerer.questions.size(), asked);
    if (mode == 2 && picked) {
        QCOMPARE(asked, 5);
        QCOMPARE(answerer.questions.last(), QStringLiteral("Enter line segment length, m"));
    }
}

void TestProjectionWidget::objectsAndPicture_data()
{
    QTest::addColumn<bool>("paintObjects");
    QTest::addColumn<QColor>("body");
    QTest::newRow("coloured") << true << QColor(ObjectColor::base(4));
    QTest::newRow("colouring off") << false << QColor(Qt::white);
}

void TestProjectionWidget::objectsAndPicture()
{
    QFETCH(bool, paintObjects);
    QFETCH(QColor, body);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("camera.png"));
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 200));
    QVERIFY(picture.save(path));

    const PickupScene scene = PickupScene::samples().at(0);
    ProjectionWidget view;
    view.resize(scene.width, scene.height);
    view.setBackgroundImage(path);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    ProjectionDrawer *drawer = view.drawer();
    drawer->setTvmsConfig(scene.config());
    const CameraParams &truth = scene.radar;
    drawer->showPosition(
        truth.height, truth.xOffset, truth.yOffset, truth.azimuth, truth.altitude, 0.0);
    drawer->setPaintObjects(paintObjects);
    drawer->startFilling();
    drawer->addObject(4, 10.0, 0.0, 40.0, 1.5, 0.0, QDateTime());
    drawer->addObject(9, 10.0, 0.0, 900.0, 1.5, 0.0, QDateTime()); // far beyond the view
    drawer->finishFilling({ 9, 4 });

    bool ok = false;
    const QPoint centre = drawer->xyToScreen(40.0, 1.5, &ok);
    QVERIFY(ok);
    const QImage image = grabbed(view);
    // Inside the circle, beside the identifier.
    QCOMPARE(QColor(image.pixel(centre + QPoint(-8, 0))), body);
    QCOMPARE(QColor(image.pixel(centre + QPoint(0, -15))), QColor(0, 0, 200));
    // The picture fills the window, stretched.
    QCOMPARE(QColor(image.pixel(scene.width - 3, scene.height - 3)), QColor(0, 0, 200));

    // With a video delay the next frame waits: the object stays where the picture lags.
    QJsonObject delayed = scene.config();
    delayed.insert(QStringLiteral("video_delay"), 5000);
    drawer->setTvmsConfig(delayed);
    drawer->startFilling();
    drawer->addObject(4, 10.0, 0.0, 60.0, 1.5, 0.0, QDateTime());
    drawer->finishFilling({ 4 });
    QCOMPARE(QColor(grabbed(view).pixel(centre + QPoint(-8, 0))), body);
}

void TestProjectionWidget::tvmsConfigEditor()
{
    TvmsConfigWidget editor;
    QSignalSpy changed(&editor, &TvmsConfigWidget::tvmsConfigChanged);
    editor.setTvmsConfig(QJsonObject {
        { QStringLiteral("horizontal_view_angle"), 400.0 }, { QStringLiteral("x_offset"), -0.5 } });
    QCOMPARE(changed.count(), 0);
    QDoubleSpinBox *zOffset = editor.findChild<QDoubleSpinBox *>(QStringLiteral("zOffsetSpin"));
    QVERIFY(zOffset);
    zOffset->setValue(0.25);
    QCOMPARE(changed.count(), 1);
    const QJsonObject expected { { QStringLiteral("x_offset"), -0.5 },
        { QStringLiteral("y_offset"), 0.0 }, { QStringLiteral("z_offset"), 0.25 },
        { QStringLiteral("azimuth_misalignment"), 0.0 },
        { QStringLiteral("altitude_misalignment"), 0.0 },
        { QStringLiteral("horizontal_view_angle"), 90.0 }, { QStringLiteral("video_delay"), 0 } };
    QCOMPARE(changed.first().first().toJsonObject(), expected);
}

QTEST_MAIN(TestProjectionWidget)
#include "tst_projectionwidget.moc"
