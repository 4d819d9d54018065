#include "csvformat.h"
#include "historymodel.h"
#include "historytablewidget.h"
#include "objectcolumns.h"

#include "../smalldisk.h"
#include "catalogues.h"
#include "tablereading.h"
#include "testfiles.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <optional>

namespace {

const QDateTime Start(QDate(2026, 12, 9), QTime(10, 20, 30, 456), Qt::LocalTime);

// Feeds frames to the history. A frame is a text of identifiers: "7" is an object
// measured in this frame, "7!" one reported but last measured earlier. "P" and "R" press
// and release the pause button between frames.
class Feeder
{
public:
    explicit Feeder(HistoryTableWidget &history)
        : m_history(history)
    { }

    void frame(const QString &frame)
    {
        if (frame == QLatin1String("P") || frame == QLatin1String("R")) {
            m_history.on_pauseWorkButton_toggled(frame == QLatin1String("P"));
            return;
        }
        const QDateTime time = Start.addMSecs(100 * m_frames++);
        m_history.setFrameDateTimeUtc(time);
        m_history.startFilling();
        for (QString id : frame.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const bool stale = id.endsWith(QLatin1Char('!'));
            id.remove(QLatin1Char('!'));
            m_history.addObject(quint8(id.toInt()), 10.0, -0.5, 12.25, -3.5, 4.44,
                stale ? time.addMSecs(-50) : time);
        }
        m_history.finishFilling();
    }

    void frames(const QStringList &frames)
    {
        for (const QString &f : frames)
            frame(f);
    }

private:
    HistoryTableWidget &m_history;
    int m_frames = 0;
};

// What each watched widget painted, in its own coordinates.
class PaintRecorder : public QObject
{
public:
    QHash<QObject *, QRegion> painted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted[watched] += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

QString idColumn(HistoryModel &model)
{
    QStringList ids;
    for (int row = 0; row < model.rowCount(); ++row)
        ids.append(QString::number(model.record(row).id));
    return ids.join(QLatin1Char(' '));
}

// The rows of a CSV text: cells split at the separator outside quotes, quotes undoubled.
QList<QStringList> csvRows(const QString &text, QChar separator)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && text.mid(i + 1, 1) == QLatin1String("\""))
                cell += text.at(++i);
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                cell += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == separator) {
            row.append(cell);
            cell.clear();
        } else if (c == QLatin1Char('\r') && text.mid(i + 1, 1) == QLatin1String("\n")) {
            row.append(cell);
            rows.append(row);
            row.clear();
            cell.clear();
            ++i;
        } else {
            cell += c;
        }
    }
    return rows;
}

} // namespace

class TestHistoryTableWidget : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void grouping_data();
    void grouping();
    void trimmingAtTheLimit_data();
    void trimmingAtTheLimit();
    void followingTheEnd_data();
    void followingTheEnd();
    void keepsSelectionAndScrollWhileFramesArrive_data();
    void keepsSelectionAndScrollWhileFramesArrive();
    void framesRepaintNeitherHeadersNorPanel_data();
    void framesRepaintNeitherHeadersNorPanel();
    void saving_data();
    void saving();
    void savesWithinOneSecondKeepBothFiles();
    void fullDiskFailsInWords_data();
    void fullDiskFailsInWords();
    void readsWholeAtDefaultSize_data();
    void readsWholeAtDefaultSize();
    void savedFileKeepsThePoint();
    void savingAsCsv_data();
    void savingAsCsv();
};

void TestHistoryTableWidget::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox *>(w))
            delete w;
    }
}

void TestHistoryTableWidget::grouping_data()
{
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("ids");

    QTest::newRow("consecutive frames make adjacent rows")
        << QStringList { "1 2", "1 2" } << "1 1 2 2";
    QTest::newRow("a missing frame starts a new group at the end")
        << QStringList { "1 2", "2", "1 2" } << "1 2 2 2 1";
    QTest::newRow("a record not measured in the frame is skipped")
        << QStringList { "1 2!", "1 2" } << "1 1 2";
    QTest::newRow("a reported but unmeasured object keeps its group")
        << QStringList { "1 2", "1 2!", "1 2" } << "1 1 1 2 2";
    QTest::newRow("frames while paused are not recorded, and groups restart")
        << QStringList { "1 2", "P", "1 2", "R", "1 2" } << "1 2 1 2";
}

void TestHistoryTableWidget::grouping()
{
    QFETCH(QStringList, frames);
    QFETCH(QString, ids);

    HistoryTableWidget history;
    QAbstractItemModelTester tester(history.model());
    Feeder(history).frames(frames);
    QCOMPARE(idColumn(*history.model()), ids);
}

void TestHistoryTableWidget::trimmingAtTheLimit_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("lastFrameObjects");

    // Limits of 64 n + 32 rows; at a small one the model tester watches the last frame.
    QTest::newRow("one row over a small limit") << 672 << 1;
    QTest::newRow("sixteen rows over a small limit") << 672 << 16;
    QTest::newRow("one row over the real limit") << int(HistoryModel::MaxRows) << 1;
}

void TestHistoryTableWidget::trimmingAtTheLimit()
{
    QFETCH(int, limit);
    QFETCH(int, lastFrameObjects);

    HistoryTableWidget history;
    HistoryModel &model = *history.model();
    model.setMaxRows(limit);
    QStringList all;
    for (int id = 0; id < 64; ++id)
        all.append(QString::number(id));
    Feeder feeder(history);
    // Full frames and one of 32 objects fill the table to the limit with objects 0..31
    // mapped; the last frame's objects, the last mapped ones, then all go below their
    // previous records, far from the top.
    for (int i = 0; i < (limit - 32) / 64; ++i)
        feeder.frame(all.join(QLatin1Char(' ')));
    feeder.frame(all.mid(0, 32).join(QLatin1Char(' ')));
    QCOMPARE(model.rowCount(), limit);
    const QMap<quint8, int> before = model.groupRows();
    const int excess = lastFrameObjects;
    const ObjectRecord survivor = model.record(excess);
    // The tester checks every cell twice for each inserted row: watching the table fill took
    // most of this test's time, and at the real limit even one frame is too slow.
    std::optional<QAbstractItemModelTester> tester;
    if (limit < HistoryModel::MaxRows)
        tester.emplace(&model);

    const QStringList last = all.mid(32 - lastFrameObjects, lastFrameObjects);
    feeder.frame(last.join(QLatin1Char(' ')));

    QCOMPARE(model.rowCount(), limit);
    QCOMPARE(model.record(0).lastDetectedMs, survivor.lastDetectedMs);
    QCOMPARE(model.record(0).id, survivor.id);
    const QMap<quint8, int> after = model.groupRows();
    QCOMPARE(after.size(), lastFrameObjects);
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        // Down by the records inserted above it, one for its own, up by the trim.
        int insertedAbove = 0;
        for (const QString &id : last)
            insertedAbove += before.value(quint8(id.toInt())) < before.value(it.key()) ? 1 : 0;
        QCOMPARE(it.value(), before.value(it.key()) + 1 + insertedAbove - excess);
        QCOMPARE(model.record(it.value()).id, it.key());
    }
}

void TestHistoryTableWidget::followingTheEnd_data()
{
    QTest::addColumn<bool>("userOnLastRow");
    QTest::addColumn<int>("currentRowAfter");

    QTest::newRow("on the last row: follows") << true << 5;
    QTest::newRow("scrolled away: stays") << false << 0;
}

void TestHistoryTableWidget::followingTheEnd()
{
    QFETCH(bool, userOnLastRow);
    QFETCH(int, currentRowAfter);

    HistoryTableWidget history;
    history.resize(700, 400);
    history.show();
    Feeder feeder(history);
    feeder.frames({ "1 2 3", "1" });
    QCOMPARE(history.view()->currentIndex().row(), 3);
    if (!userOnLastRow)
        history.view()->setCurrentIndex(history.model()->index(0, 0));
    feeder.frame("4 5");
    QCOMPARE(history.view()->currentIndex().row(), currentRowAfter);
}

void TestHistoryTableWidget::keepsSelectionAndScrollWhileFramesArrive_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("selectedRow");
    QTest::addColumn<QString>("nextFrame");
    QTest::addColumn<int>("selectedRowAfter");

    // Forty frames of objects 1 to 5 make five groups of forty rows; the view shows the
    // rows from 20 on.
    QTest::newRow("new objects at the end") << 1000 << 30 << "6 7 8" << 30;
    QTest::newRow("groups above grow") << 1000 << 90 << "1 2 3 4 5" << 92;
    QTest::newRow("groups above and below grow") << 1000 << 130 << "1 4 5" << 131;
    QTest::newRow("trimmed from the top at the limit") << 200 << 150 << "1 2 3 4 5" << 148;
}

void TestHistoryTableWidget::keepsSelectionAndScrollWhileFramesArrive()
{
    QFETCH(int, limit);
    QFETCH(int, selectedRow);
    QFETCH(QString, nextFrame);
    QFETCH(int, selectedRowAfter);

    HistoryTableWidget history;
    HistoryModel &model = *history.model();
    QAbstractItemModelTester tester(&model);
    model.setMaxRows(limit);
    history.resize(700, 400);
    history.show();
    QVERIFY(QTest::qWaitForWindowExposed(&history));
    Feeder feeder(history);
    for (int i = 0; i < 40; ++i)
        feeder.frame("1 2 3 4 5");
    QCOMPARE(model.rowCount(), 200);
    QTableView *view = history.view();
    view->setCurrentIndex(model.index(selectedRow, ObjectColumns::XRange));
    view->verticalScrollBar()->setValue(20);
    QCoreApplication::processEvents();
    const ObjectRecord selected = model.record(selectedRow);

    feeder.frame(nextFrame);
    QCoreApplication::processEvents();

    QCOMPARE(view->verticalScrollBar()->value(), 20);
    QCOMPARE(view->currentIndex().row(), selectedRowAfter);
    QCOMPARE(view->currentIndex().column(), int(ObjectColumns::XRange));
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().row(), selectedRowAfter);
    QCOMPARE(model.record(selectedRowAfter).id, selected.id);
    QCOMPARE(model.record(selectedRowAfter).lastDetectedMs, selected.lastDetectedMs);
}

void TestHistoryTableWidget::framesRepaintNeitherHeadersNorPanel_data()
{
    QTest::addColumn<bool>("followEnd");

    QTest::newRow("following the end: the selected row moves") << true;
    QTest::newRow("a row selected in place") << false;
}

void TestHistoryTableWidget::framesRepaintNeitherHeadersNorPanel()
{
    QFETCH(bool, followEnd);

    HistoryTableWidget history;
    history.resize(700, 400);
    history.show();
    QVERIFY(QTest::qWaitForWindowExposed(&history));
    Feeder feeder(history);
    for (int i = 0; i < 20; ++i)
        feeder.frame("1 2 3");
    QTableView *view = history.view();
    if (!followEnd)
        view->setCurrentIndex(history.model()->index(4, 0));
    QCoreApplication::processEvents();

    PaintRecorder recorder;
    QWidget *header = view->horizontalHeader()->viewport();
    for (QWidget *w : { static_cast<QWidget *>(&history), header, view->viewport() })
        w->installEventFilter(&recorder);
    for (int i = 0; i < 5; ++i) {
        feeder.frame("1 2 3 4");
        QCoreApplication::processEvents();
    }

    QCOMPARE(view->currentIndex().row(), followEnd ? history.model()->rowCount() - 1 : 4);
    QVERIFY(recorder.painted.value(header).isEmpty());
    // The panel only shows through around the scroll bar.
    const QScrollBar *bar = view->verticalScrollBar();
    const QRect barArea(bar->mapTo(&history, QPoint(0, 0)), bar->size());
    QCOMPARE(recorder.painted.value(&history).subtracted(barArea), QRegion());
    // The new rows at the end are in sight when following it.
    if (followEnd)
        QVERIFY(!recorder.painted.value(view->viewport()).isEmpty());
}

void TestHistoryTableWidget::saving_data()
{
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<QByteArray>("content");

    const QByteArray header
        = "| id |  X speed, km/h |  Y speed, km/h |     X range, m |     Y range, m "
          "|      Length, m |        Updated |\n";
    QTest::newRow("an empty history writes the header only") << QStringList() << true << header;
    QTest::newRow("rows follow the header, top to bottom") << QStringList { "7", "12" } << true
                                                           << header
            + "|  7 |           36.0 |           -1.8 |          12.25 |          -3.50 |      "
              "      4.4 |   10:20:30.456 |\n"
              "| 12 |           36.0 |           -1.8 |          12.25 |          -3.50 |      "
              "      4.4 |   10:20:30.556 |\n";
    QTest::newRow("a folder that cannot be written fails")
        << QStringList { "7" } << false << QByteArray();
}

void TestHistoryTableWidget::saving()
{
    QFETCH(QStringList, frames);
    QFETCH(bool, folderExists);
    QFETCH(QByteArray, content);

    QTemporaryDir dir;
    const QString folder = folderExists ? dir.path() : dir.filePath("missing/history");
    HistoryTableWidget history;
    Feeder(history).frames(frames);
    QSignalSpy saved(&history, &HistoryTableWidget::historySaved);
    QSignalSpy failed(&history, &HistoryTableWidget::historySavingFailed);

    history.saveToFolder(folder);

    QCOMPARE(saved.size(), folderExists ? 1 : 0);
    QCOMPARE(failed.size(), folderExists ? 0 : 1);
    // The user is told either way.
    QCOMPARE(history.findChildren<QMessageBox *>().size(), 1);
    if (folderExists) {
        const QString path = saved.at(0).at(0).toString();
        QVERIFY(QFileInfo(path).fileName().contains(
            QRegularExpression("^\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d(_\\d+)?\\.txt$")));
        QCOMPARE(TestFiles::read(path), content);
    } else {
        QVERIFY(!QFileInfo::exists(failed.at(0).at(0).toString()));
    }
}

void TestHistoryTableWidget::savesWithinOneSecondKeepBothFiles()
{
    QTemporaryDir dir;
    HistoryTableWidget history;
    Feeder feeder(history);
    QSignalSpy saved(&history, &HistoryTableWidget::historySaved);
    history.saveToFolder(dir.path());
    feeder.frame("3");
    history.saveToFolder(dir.path());
    QCOMPARE(saved.size(), 2);
    QVERIFY(saved.at(0).at(0) != saved.at(1).at(0));
    QVERIFY(TestFiles::read(saved.at(0).at(0).toString()).count('\n') == 1);
    QVERIFY(TestFiles::read(saved.at(1).at(0).toString()).count('\n') == 2);
}

void TestHistoryTableWidget::fullDiskFailsInWords_data()
{
    QTest::addColumn<int>("frames");

    // The empty one was said to be saved and left 0 bytes; the large one said "Unknown error".
    QTest::newRow("empty history") << 0;
    QTest::newRow("2400 rows") << 40;
}

void TestHistoryTableWidget::fullDiskFailsInWords()
{
    QFETCH(int, frames);
    SmallDisk disk;
    VANTOR_REQUIRE_SMALL_DISK(disk);
    QVERIFY(disk.fill());
    HistoryTableWidget history;
    Feeder feeder(history);
    QStringList ids;
    for (int id = 1; id <= 60; ++id)
        ids.append(QString::number(id));
    for (int i = 0; i < frames; ++i)
        feeder.frame(ids.join(QLatin1Char(' ')));
    QCOMPARE(history.model()->rowCount(), frames * 60);
    QSignalSpy saved(&history, &HistoryTableWidget::historySaved);
    QSignalSpy failed(&history, &HistoryTableWidget::historySavingFailed);

    history.saveToFolder(disk.path());

    QCOMPARE(saved.size(), 0);
    QCOMPARE(failed.size(), 1);
    const QString noSpace = QString::fromLocal8Bit(std::strerror(ENOSPC));
    QCOMPARE(failed.at(0).at(1).toString(), noSpace);
    const QList<QMessageBox *> boxes = history.findChildren<QMessageBox *>();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first()->icon(), QMessageBox::Warning);
    QVERIFY(boxes.first()->text().endsWith(noSpace));
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files), QStringList { QStringLiteral("filler") });
}

void TestHistoryTableWidget::readsWholeAtDefaultSize_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("en") << "en";
    QTest::newRow("ru") << "ru";
}

void TestHistoryTableWidget::readsWholeAtDefaultSize()
{
    QFETCH(QString, language);
    Catalogues catalogues;
    if (language != QLatin1String("en"))
        QVERIFY(
            catalogues.add(QStringLiteral("vantor-road-app-gui"), language, VANTOR_CATALOGUE_DIR));
    HistoryTableWidget history;
    history.setFrameDateTimeUtc(Start);
    history.startFilling();
    history.addObject(255, -55.5, -55.5, -199.99, -199.99, 22.2, Start);
    history.finishFilling();
    history.show();
    QVERIFY(QTest::qWaitForWindowExposed(&history));

    QCOMPARE(history.model()->index(0, 6).data().toString(), QString("10:20:30.456"));
    QCOMPARE(elidedTexts(*history.view()), QStringList());
    QVERIFY(!history.view()->horizontalScrollBar()->isVisible());
    // Row numbers, from 1.
    QVERIFY(history.view()->verticalHeader()->isVisible());
    QCOMPARE(history.model()->headerData(0, Qt::Vertical).toInt(), 1);
}

void TestHistoryTableWidget::savedFileKeepsThePoint()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QTemporaryDir dir;
    HistoryTableWidget history;
    Feeder(history).frame("7");
    QSignalSpy saved(&history, &HistoryTableWidget::historySaved);
    history.saveToFolder(dir.path());
    const QString shown = history.model()->index(0, 3).data().toString();
    QLocale::setDefault(QLocale::c());

    QCOMPARE(shown, QString("12,25"));
    QCOMPARE(saved.size(), 1);
    const QList<QByteArray> lines = TestFiles::read(saved.at(0).at(0).toString()).split('\n');
    QCOMPARE(lines.value(1),
        QByteArray(
            "|  7 |           36.0 |           -1.8 |          12.25 |          -3.50 |      "
            "      4.4 |   10:20:30.456 |"));
}

void TestHistoryTableWidget::savingAsCsv_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("separator");
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << ",";
    QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia) << ";";
}

// Rows of known values come back from the file as the same numbers, read the way a
// spreadsheet of that language reads them.
void TestHistoryTableWidget::savingAsCsv()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, separator);
    QLocale::setDefault(locale);
    QTemporaryDir dir;
    HistoryTableWidget history;
    QSignalSpy formats(&history, &HistoryTableWidget::fileFormatChanged);
    auto *box = history.findChild<QComboBox *>(QStringLiteral("fileFormatBox"));
    QVERIFY(box);
    box->setCurrentIndex(1);
    emit box->activated(1);
    QCOMPARE(formats.size(), 1);
    QCOMPARE(formats.at(0).at(0).toString(), QString("csv"));
    Feeder(history).frames({ "7 12", "7" });
    QSignalSpy saved(&history, &HistoryTableWidget::historySaved);
    history.saveToFolder(dir.path());
    QLocale::setDefault(QLocale::c());

    QCOMPARE(saved.size(), 1);
    const QString path = saved.at(0).at(0).toString();
    QVERIFY(path.endsWith(QLatin1String(".csv")));
    const QByteArray bytes = TestFiles::read(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(CsvFormat(locale).separator(), separator.at(0));
    const QList<QStringList> rows = csvRows(QString::fromUtf8(bytes.mid(3)), separator.at(0));
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows.at(0),
        QStringList({ "id", "X speed, km/h", "Y speed, km/h", "X range, m", "Y range, m",
            "Length, m", "Updated" }));
    QStringList ids;
    QStringList times;
    for (int row = 1; row < rows.size(); ++row) {
        const QStringList &cells = rows.at(row);
        QCOMPARE(cells.size(), 7);
        ids.append(cells.at(0));
        times.append(cells.at(6));
        const QVector<double> values { 36.0, -1.8, 12.25, -3.5, 4.4 };
        for (int column = 1; column <= 5; ++column) {
            bool ok = false;
            QCOMPARE(locale.toDouble(cells.at(column), &ok), values.at(column - 1));
            QVERIFY2(ok, qPrintable(cells.at(column)));
        }
    }
    ids.sort();
    times.sort();
    QCOMPARE(ids, QStringList({ "12", "7", "7" }));
    QCOMPARE(times, QStringList({ "10:20:30.456", "10:20:30.456", "10:20:30.556" }));
}

QTEST_MAIN(TestHistoryTableWidget)
#include "tst_historytablewidget.moc"
