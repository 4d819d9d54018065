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

// The smallest rectangle holding every pixel of one of the colours.
QRect boundsOf(const QImage &image, const QVector<QColor> &colours)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (colours.contains(QColor(image.pixel(x, y))))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// A scene's camera shown in a projection window of the window size, the scene's picture
// being the window's picture area.
struct ShownScene
{
    PickupScene scene;
    ProjectionWidget view;
    PickupSearch::Checkpoints marks; // in pixels of the window

    explicit ShownScene(const PickupScene &sample, const QSize &windowSize = QSize(800, 600))
        : scene(sample)
    {
        view.resize(windowSize);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            qFatal("window not shown");
        scene.width = view.pictureRect().width();
        scene.height = view.pictureRect().height();
        ProjectionDrawer *drawer = view.drawer();
        drawer->setTvmsConfig(scene.config());
        const CameraParams &truth = scene.radar;
        drawer->showPosition(
            truth.height, truth.xOffset, truth.yOffset, truth.azimuth, truth.altitude, 0.0);
        if (!scene.checkpoints(&marks))
            qFatal("scene out of the picture");
        for (auto &mark : marks)
            mark.first += view.pictureRect().topLeft();
    }

    QStringList answers(int count) const
    {
        QStringList ys;
        for (int i = 0; i < 4 && i < count; ++i)
            ys << QString::number(marks.at(i).second);
        if (count == 6)
            ys << QString::number(marks.at(5).second);
        return ys;
    }

    void click(int mark) { QTest::mouseClick(&view, Qt::LeftButton, {}, marks.at(mark).first); }
};

} // namespace

class TestProjectionWidget : public QObject
{
    Q_OBJECT

private slots:
    void marking_data();
    void marking();
    void secondStartKeepsPosition_data();
    void secondStartKeepsPosition();
    void hidingEndsMarking_data();
    void hidingEndsMarking();
    void checkpointsNoCameraFits();
    void pictureKeepsAspectRatio();
    void pickupOnLetterboxedPicture();
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

    ShownScene shown(PickupScene::samples().at(1));
    ProjectionWidget &view = shown.view;
    ProjectionDrawer *drawer = view.drawer();
    const CameraParams &truth = shown.scene.radar;
    QVERIFY(drawer->model().isValid());

    QSignalSpy position(drawer, &ProjectionDrawer::pickedRadarPosition);
    QSignalSpy result(drawer, &ProjectionDrawer::pickupResult);
    BoxAnswerer answerer(answers);
    view.pickupParameters(mode);
    QVERIFY(view.isMarking());
    QVERIFY(!drawer->model().isValid());
    for (int i = 0; i < leftClicks; ++i)
        shown.click(i);
    if (rightClickAtEnd)
        QTest::mouseClick(&view, Qt::RightButton, {}, QPoint(10, 300));

    if (picked) {
        QTRY_COMPARE_WITH_TIMEOUT(answerer.messages.size(), 2, 60000);
        QCOMPARE(position.count(), 1);
        QCOMPARE(result.count(), 1);
        QCOMPARE(answerer.messages.at(1).startsWith(QLatin1String("Picked parameters: ")), true);
        QCOMPARE(view.checkpoints().size(), leftClicks);
        const QVector<double> residuals = drawer->checkpointResiduals();
        QCOMPARE(residuals.size(), leftClicks);
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

void TestProjectionWidget::secondStartKeepsPosition_data()
{
    QTest::addColumn<bool>("finish");
    QTest::newRow("then cancelled") << false;
    QTest::newRow("then finished") << true;
}

void TestProjectionWidget::secondStartKeepsPosition()
{
    QFETCH(bool, finish);
    ShownScene shown(PickupScene::samples().at(1));
    ProjectionWidget &view = shown.view;
    ProjectionDrawer *drawer = view.drawer();
    const CameraParams &truth = shown.scene.radar;
    QSignalSpy position(drawer, &ProjectionDrawer::pickedRadarPosition);

    // One mark of a pick-up, then the pick-up is started again from the menu.
    BoxAnswerer answerer(QStringList(shown.answers(1)) << shown.answers(4));
    view.pickupParameters(2);
    shown.click(0);
    QTRY_COMPARE(view.checkpoints().size(), 1);
    view.pickupParameters(1);
    QVERIFY(view.isMarking());
    QVERIFY(view.checkpoints().isEmpty());
    QVERIFY(!drawer->model().isValid());

    if (finish) {
        for (int i = 0; i < 4; ++i)
            shown.click(i);
        QTRY_COMPARE_WITH_TIMEOUT(position.count(), 1, 60000);
        const QList<QVariant> picked = position.first();
        QCOMPARE(picked.at(1).toDouble(), truth.xOffset);
        QVERIFY(std::abs(picked.at(0).toDouble() - truth.height) < 0.5);
        QVERIFY(std::abs(picked.at(2).toDouble() - truth.yOffset) < 0.5);
    } else {
        QTest::mouseClick(&view, Qt::RightButton, {}, shown.marks.at(1).first);
        QVERIFY(!view.isMarking());
        QCOMPARE(position.count(), 0);
    }
    QTRY_VERIFY(!view.isBusy());
    // The position before the first start is the one in force again.
    QVERIFY(drawer->model().isValid());
    QCOMPARE(drawer->model().radarHeight(), truth.height);
    QCOMPARE(drawer->model().radarX(), truth.xOffset);
    QCOMPARE(drawer->model().radarY(), truth.yOffset);
}

void TestProjectionWidget::hidingEndsMarking_data()
{
    QTest::addColumn<bool>("close");
    QTest::newRow("hidden") << false;
    QTest::newRow("closed") << true;
}

void TestProjectionWidget::hidingEndsMarking()
{
    QFETCH(bool, close);
    ShownScene shown(PickupScene::samples().at(1));
    ProjectionWidget &view = shown.view;
    ProjectionDrawer *drawer = view.drawer();
    const CameraParams &truth = shown.scene.radar;

    BoxAnswerer answerer(shown.answers(4));
    view.pickupParameters(1);
    shown.click(0);
    QTRY_COMPARE(view.checkpoints().size(), 1);
    if (close)
        view.close();
    else
        view.hide();
    QVERIFY(!view.isMarking());
    QVERIFY(view.checkpoints().isEmpty());
    QVERIFY(drawer->model().isValid());
    QCOMPARE(drawer->model().radarHeight(), truth.height);

    // Shown again, the window marks nothing until a new pick-up starts.
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    shown.click(1);
    QTest::qWait(50);
    QCOMPARE(answerer.questions.size(), 1);
}

void TestProjectionWidget::checkpointsNoCameraFits()
{
    ShownScene shown(PickupScene::samples().at(1));
    ProjectionWidget &view = shown.view;
    ProjectionDrawer *drawer = view.drawer();
    const CameraParams &truth = shown.scene.radar;
    QSignalSpy position(drawer, &ProjectionDrawer::pickedRadarPosition);

    // The second checkpoint marked where the first is, with a Y 3 m away.
    QStringList answers = shown.answers(4);
    answers[1] = QString::number(shown.marks.at(0).second + 3.0);
    BoxAnswerer answerer(answers);
    view.pickupParameters(1);
    shown.click(0);
    shown.click(0);
    shown.click(2);
    shown.click(3);
    QTRY_COMPARE_WITH_TIMEOUT(answerer.messages.size(), 2, 60000);
    QVERIFY2(
        answerer.messages.at(1).startsWith(QLatin1String(
            "Picked parameters: No camera position fits the checkpoints: the worst misses by ")),
        qPrintable(answerer.messages.at(1)));
    QCOMPARE(position.count(), 0);
    QVERIFY(!view.isBusy());
    QVERIFY(drawer->model().isValid());
    QCOMPARE(drawer->model().radarHeight(), truth.height);
}

void TestProjectionWidget::pictureKeepsAspectRatio()
{
    // A 16:9 picture with a red dot where a road point lies, in a 4:3 window.
    const PickupScene scene = PickupScene::wideSamples().at(1);
    const QPointF road(12.0, 3.5);
    bool ok = false;
    const QPoint dot = scene.model().xyToScreen(road, &ok);
    QVERIFY(ok);
    QVERIFY(std::abs(dot.y() - scene.height / 2) > scene.height / 5); // away from the centre row
    QImage picture(scene.width, scene.height, QImage::Format_RGB32);
    const QColor blue(0, 0, 200);
    const QColor red(255, 0, 0);
    picture.fill(blue);
    for (int y = dot.y() - 3; y <= dot.y() + 3; ++y) {
        for (int x = dot.x() - 3; x <= dot.x() + 3; ++x)
            picture.setPixelColor(x, y, red);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("camera.png"));
    QVERIFY(picture.save(path));

    ProjectionWidget view;
    view.setBackgroundImage(path);
    view.resize(800, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    const QImage before = grabbed(view);
    const QRect shownPicture = boundsOf(before, { blue, red });
    QCOMPARE(shownPicture.width(), 800);
    QVERIFY2(std::abs(shownPicture.height() - 450) <= 1,
        qPrintable(QString::number(shownPicture.height())));
    const QRect bar = view.findChild<QWidget *>(QStringLiteral("buttonBar"))->geometry();
    QVERIFY(!bar.intersects(shownPicture));
    QCOMPARE(QColor(before.pixel(400, 599)), QColor(Qt::black));
    const QRect shownDot = boundsOf(before, { red });
    const QPoint dotCentre = shownDot.center();
    const double scale = shownPicture.width() / double(scene.width);
    QVERIFY(std::abs(dotCentre.x() - (shownPicture.left() + dot.x() * scale)) <= 1.5);
    QVERIFY(std::abs(dotCentre.y() - (shownPicture.top() + dot.y() * scale)) <= 1.5);

    // The camera over the picture draws an object at that road point on the dot.
    ProjectionDrawer *drawer = view.drawer();
    drawer->setTvmsConfig(scene.config());
    const CameraParams &truth = scene.radar;
    drawer->showPosition(
        truth.height, truth.xOffset, truth.yOffset, truth.azimuth, truth.altitude, 0.0);
    drawer->startFilling();
    drawer->addObject(4, 10.0, 0.0, road.x(), road.y(), 0.0, QDateTime());
    drawer->finishFilling({ 4 });
    const QImage after = grabbed(view);
    const QColor body = ObjectColor::base(4);
    for (const QPoint &inside : { QPoint(-9, 0), QPoint(0, -9), QPoint(0, 9) })
        QCOMPARE(QColor(after.pixel(dotCentre + inside)), body);
    for (const QPoint &outside : { QPoint(-16, 0), QPoint(0, -16), QPoint(0, 16) })
        QCOMPARE(QColor(after.pixel(dotCentre + outside)), blue);
}

void TestProjectionWidget::pickupOnLetterboxedPicture()
{
    // The marks an installer makes on a 16:9 picture shown in a 4:3 window.
    const PickupScene scene = PickupScene::wideSamples().at(1);
    QImage picture(scene.width, scene.height, QImage::Format_RGB32);
    const QColor green(37, 201, 113);
    picture.fill(green);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("camera.png"));
    QVERIFY(picture.save(path));
    PickupSearch::Checkpoints marks;
    QVERIFY(scene.checkpoints(&marks));

    ProjectionWidget view;
    view.setBackgroundImage(path);
    view.resize(800, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QRect shownPicture = boundsOf(grabbed(view), { green });
    const double scale = shownPicture.width() / double(scene.width);
    ProjectionDrawer *drawer = view.drawer();
    // The camera configured with a wrong view angle: the pick-up finds it.
    QJsonObject config = scene.config();
    config.insert(QStringLiteral("horizontal_view_angle"), 12.0);
    drawer->setTvmsConfig(config);
    drawer->showPosition(8.0, scene.radar.xOffset, 0.0, 0.0, 10.0, 0.0);

    QSignalSpy position(drawer, &ProjectionDrawer::pickedRadarPosition);
    QSignalSpy result(drawer, &ProjectionDrawer::pickupResult);
    QStringList answers;
    for (int i = 0; i < 4; ++i)
        answers << QString::number(marks.at(i).second);
    answers << QString::number(marks.at(5).second);
    BoxAnswerer answerer(answers);
    view.pickupParameters(2);
    for (const auto &mark : qAsConst(marks)) {
        const QPointF shown = shownPicture.topLeft() + QPointF(mark.first) * scale;
        QTest::mouseClick(&view, Qt::LeftButton, {}, shown.toPoint());
    }
    QTRY_COMPARE_WITH_TIMEOUT(result.count(), 1, 60000);
    QCOMPARE(result.first().at(0).toBool(), true);
    QCOMPARE(position.count(), 1);
    const QList<QVariant> p = position.first();
    const CameraParams &truth = scene.radar;
    QVERIFY(std::abs(p.at(0).toDouble() - truth.height) <= 0.5);
    QVERIFY(std::abs(p.at(2).toDouble() - truth.yOffset) <= 0.5);
    QVERIFY(std::abs(p.at(3).toDouble() - truth.azimuth) <= 1.0);
    QVERIFY(std::abs(p.at(4).toDouble() - truth.altitude) <= 1.0);
    QVERIFY(std::abs(result.first().at(1).toDouble() - scene.viewAngle) <= 1.0);
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
    const QPoint centre = view.pictureRect().topLeft() + drawer->xyToScreen(40.0, 1.5, &ok);
    QVERIFY(ok);
    const QImage image = grabbed(view);
    // Inside the circle, beside the identifier.
    QCOMPARE(QColor(image.pixel(centre + QPoint(-8, 0))), body);
    QCOMPARE(QColor(image.pixel(centre + QPoint(0, -15))), QColor(0, 0, 200));
    // The 4:3 picture below the button bar leaves black bands beside it.
    QCOMPARE(QColor(image.pixel(1, scene.height - 3)), QColor(Qt::black));

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
    // 400 degrees is no camera: the editor shows the 12 degrees the camera uses instead.
    const QJsonObject expected { { QStringLiteral("x_offset"), -0.5 },
        { QStringLiteral("y_offset"), 0.0 }, { QStringLiteral("z_offset"), 0.25 },
        { QStringLiteral("azimuth_misalignment"), 0.0 },
        { QStringLiteral("altitude_misalignment"), 0.0 },
        { QStringLiteral("horizontal_view_angle"), 12.0 }, { QStringLiteral("video_delay"), 0 } };
    QCOMPARE(changed.first().first().toJsonObject(), expected);
}

QTEST_MAIN(TestProjectionWidget)
#include "tst_projectionwidget.moc"
