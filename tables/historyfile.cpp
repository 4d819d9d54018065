#include "historyfile.h"

#include "csvformat.h"
#include "objectcolumns.h"
#include "safefilewriter.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString line(const QStringList &cells)
{
    QString out = QStringLiteral("|");
    for (int column = 0; column < cells.size(); ++column)
        out += QStringLiteral(" %1 |").arg(cells.at(column), column == 0 ? 2 : 14);
    out += QLatin1Char('\n');
    return out;
}

bool isWritableFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

} // namespace

QString HistoryFile::folder()
{
    const QString besideProgram
        = QCoreApplication::applicationDirPath() + QStringLiteral("/history");
    if (isWritableFolder(besideProgram))
        return besideProgram;
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/history");
    return isWritableFolder(userData) ? userData : QString();
}

QString HistoryFile::formatName(Format format)
{
    return format == Format::Csv ? QStringLiteral("csv") : QStringLiteral("text");
}

HistoryFile::Format HistoryFile::formatFromName(const QString &name)
{
    return name == QLatin1String("csv") ? Format::Csv : Format::Text;
}

QString HistoryFile::newFilePath(const QString &folder, const QDateTime &now, Format format)
{
    const QString base
        = folder + QLatin1Char('/') + now.toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
    const QString extension
        = format == Format::Csv ? QStringLiteral(".csv") : QStringLiteral(".txt");
    QString path = base + extension;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QStringLiteral("%1_%2%3").arg(base).arg(n).arg(extension);
    return path;
}

QString HistoryFile::headerLine(const QAbstractItemModel &model)
{
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells.append(ObjectColumns::headerText(column));
    return line(cells);
}

QString HistoryFile::rowLine(const QAbstractItemModel &model, int row)
{
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells.append(model.data(model.index(row, column), ObjectColumns::FileTextRole).toString());
    return line(cells);
}

QString HistoryFile::csvHeaderLine(const QAbstractItemModel &model, const CsvFormat &csv)
{
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells.append(ObjectColumns::headerText(column));
    return csv.line(cells);
}

QString HistoryFile::csvRowLine(const QAbstractItemModel &model, int row, const CsvFormat &csv)
{
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells.append(model.data(model.index(row, column), Qt::DisplayRole).toString());
    return csv.line(cells);
}

bool HistoryFile::write(
    const QAbstractItemModel &model, const QString &path, QString *errorText, Format format)
{
    SafeFileWriter file(path);
    if (!file.open()) {
        *errorText = file.errorString();
        return false;
    }
    // Rows are written in blocks so that a full history does not sit in memory twice.
    constexpr int RowsPerBlock = 1000;
    const bool csv = format == Format::Csv;
    const CsvFormat csvFormat { QLocale() };
    QByteArray block = csv ? CsvFormat::byteOrderMark() + csvHeaderLine(model, csvFormat).toUtf8()
                           : headerLine(model).toUtf8();
    const int rows = model.rowCount();
    for (int row = 0; row <= rows; ++row) {
        const bool last = row == rows;
        if (!last)
            block += (csv ? csvRowLine(model, row, csvFormat) : rowLine(model, row)).toUtf8();
        if (last || (row + 1) % RowsPerBlock == 0) {
            if (!file.write(block)) {
                *errorText = file.errorString();
                return false;
            }
            block.clear();
        }
    }
    if (!file.commit()) {
        *errorText = file.errorString();
        return false;
    }
    return true;
}
