#include "mainwindow.h"
#include "radarsimulator.h"
#include "radarstatewidget.h"
#include "windowprofile.h"

#include "../sim/simtestsupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

constexpr int Wait = 10000;

QString shownText(QString text)
{
    return text.replace(QRegularExpression(QStringLiteral("&(?!&)")), QString())
        .replace(QStringLiteral("&&"), QStringLiteral("&"));
}

int textWidth(const QWidget *widget, const QString &text)
{
    int width = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        width = qMax(width, widget->fontMetrics().horizontalAdvance(line));
    return width;
}

// The room a button leaves for its text.
int textRoom(const QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    if (qobject_cast<const QCheckBox *>(button))
        return button->style()
            ->subElementRect(QStyle::SE_CheckBoxContents, &option, button)
            .width();
    if (qobject_cast<const QRadioButton *>(button))
        return button->style()
            ->subElementRect(QStyle::SE_RadioButtonContents, &option, button)
            .width();
    const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width()
        - icon;
}

// The labels and buttons of the panels whose text does not fit them, or that stand
// outside the panels' viewport while it cannot scroll sideways.
QStringList unreadable(const MainWindow &window)
{
    const Ui::MainWindow &form = window.form();
    const QWidget *viewport = form.controlsScrollArea->viewport();
    const bool scrollsSideways = form.controlsScrollArea->horizontalScrollBar()->isVisible();
    QStringList found;
    for (QWidget *widget : form.controlsWidget->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(&window))
            continue;
        QString text;
        int room = 0;
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            if (label->wordWrap() || Qt::mightBeRichText(label->text()))
                continue;
            text = label->text();
            room = label->contentsRect().width() - 2 * label->margin();
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            text = shownText(button->text());
            room = textRoom(button);
        } else {
            continue;
        }
        if (text.isEmpty())
            continue;
        const QRect onViewport(widget->mapTo(viewport, QPoint()), widget->size());
        if (textWidth(widget, text) > room)
            found << QStringLiteral("%1 \"%2\": %3 of %4 px")
                         .arg(widget->objectName(), text)
                         .arg(textWidth(widget, text))
                         .arg(room);
        else if (!scrollsSideways && onViewport.right() > viewport->width())
            found
                << QStringLiteral("%1 \"%2\" cut off at the right").arg(widget->objectName(), text);
    }
    return found;
}

} // namespace

// The main window at a laptop's and a desktop's screen size in both languages, for every
// arrangement of the panels: it fits the screen, the panels take the height left to them,
// fit its width without scrolling sideways, and their texts read whole.
class TestWindowFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void fits_data();
    void fits();

private:
    void doInstallRussian();

    QTemporaryDir m_dir;
    std::unique_ptr<RadarSimulator> m_sim;
    std::vector<std::unique_ptr<QTranslator>> m_translators;
};

void TestWindowFit::initTestCase()
{
    QVERIFY(QDir::setCurrent(m_dir.path()));
    m_sim = std::make_unique<RadarSimulator>(SimTest::quickOptions(1));
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
}

void TestWindowFit::doInstallRussian()
{
    const QList<QPair<QString, QString>> catalogues = {
        { QStringLiteral("qt_ru"), QStringLiteral("/usr/share/qt5/translations") },
        { QStringLiteral("vantor-widgets_ru"), QStringLiteral(VANTOR_BIN_DIR "/translations") },
        { QStringLiteral("vantor-road-app-gui_ru"),
            QStringLiteral(VANTOR_BIN_DIR "/translations") },
    };
    for (const auto &[name, folder] : catalogues) {
        auto translator = std::make_unique<QTranslator>();
        QVERIFY2(translator->load(name, folder), qPrintable(name));
        QCoreApplication::installTranslator(translator.get());
        m_translators.push_back(std::move(translator));
    }
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
}

void TestWindowFit::cleanup()
{
    for (const auto &translator : m_translators)
        QCoreApplication::removeTranslator(translator.get());
    m_translators.clear();
    QLocale::setDefault(QLocale::c());
}

void TestWindowFit::fits_data()
{
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("drawVertical");
    QTest::addColumn<bool>("tableShown");
    QTest::addColumn<bool>("objectsShown");

    for (const QSize screen : { QSize(1366, 768), QSize(1920, 1080) }) {
        for (const bool russian : { false, true }) {
            for (int switches = 0; switches < 8; ++switches) {
                const bool vertical = switches & 4;
                const bool table = switches & 2;
                const bool objects = switches & 1;
                const int columns = !table && !vertical ? 3 : 2;
                QTest::addRow("%s %dx%d, %s road, table %s, scheme %s, %d columns",
                    russian ? "ru" : "en", screen.width(), screen.height(),
                    vertical ? "vertical" : "horizontal", table ? "shown" : "hidden",
                    objects ? "shown" : "hidden", columns)
                    << russian << screen << vertical << table << objects;
            }
        }
    }
}

void TestWindowFit::fits()
{
    QFETCH(bool, russian);
    QFETCH(QSize, screen);
    QFETCH(bool, drawVertical);
    QFETCH(bool, tableShown);
    QFETCH(bool, objectsShown);

    if (russian)
        doInstallRussian();
    // Starts with the other table setting, connects, then switches the table from the menu.
    const WindowProfile profile { m_sim->url(), drawVertical, !tableShown, objectsShown };
    QVERIFY(profile.write());
    MainWindow window;
    PanelArranger *arranger = window.panelArranger();
    // A desktop panel of 32 px at the bottom of the screen.
    const QRect available(QPoint(0, 0), screen - QSize(0, 32));
    arranger->setAvailableGeometry(available);
    arranger->placeWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE_WITH_TIMEOUT(window.findChild<RadarStateWidget *>()->text(),
        RadarStateWidget::stateText(IVantorClient::Working), Wait);
    QSignalSpy finished(arranger, &PanelArranger::finished);
    window.form().actionShowRoadObjects->trigger();
    QVERIFY(finished.wait(Wait));
    // Values read from the radar land in the panels.
    QTest::qWait(300);

    QVERIFY2(available.contains(window.frameGeometry()),
        qPrintable(QStringLiteral("window at %1,%2 %3x%4")
                       .arg(window.x())
                       .arg(window.y())
                       .arg(window.frameGeometry().width())
                       .arg(window.frameGeometry().height())));

    // The space below a horizontal scheme or beside a vertical one, less a table above the
    // panels; the panels' viewport takes it all but the layouts' margins.
    const Ui::MainWindow &form = window.form();
    const QWidget *central = form.centralWidget;
    int top = 0;
    if (objectsShown && !drawVertical)
        top = form.objectsMetaWidget->geometry().bottom();
    if (tableShown && drawVertical)
        top = form.objectsTableBox->mapTo(central, QPoint(0, form.objectsTableBox->height())).y();
    const int space = central->height() - top;
    const int margin = 3 * window.fontMetrics().lineSpacing();
    const int viewport = form.controlsScrollArea->viewport()->height();
    QVERIFY2(viewport >= space - margin,
        qPrintable(QStringLiteral("viewport %1 px of %2").arg(viewport).arg(space)));

    // Every panel fits the width it is given: nothing to scroll sideways for.
    const QScrollBar *sideways = form.controlsScrollArea->horizontalScrollBar();
    QVERIFY2(!sideways->isVisible() || sideways->maximum() == 0,
        qPrintable(QStringLiteral("panels %1 px wide in a viewport of %2 px")
                       .arg(form.controlsWidget->width())
                       .arg(form.controlsScrollArea->viewport()->width())));

    const QStringList found = unreadable(window);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));
    window.close();
}

QTEST_MAIN(TestWindowFit)
#include "tst_windowfit.moc"
