#include "historyfile.h"

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

QString HistoryFile::newFilePath(const QString &folder, const QDateTime &now)
{
    const QString base
        = folder + QLatin1Char('/') + now.toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
    QString path = base + QStringLiteral(".txt");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QStringLiteral("%1_%2.txt").arg(base).arg(n);
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

bool HistoryFile::write(const QAbstractItemModel &model, const QString &path, QString *errorText)
{
    SafeFileWriter file(path);
    if (!file.open()) {
        *errorText = file.errorString();
        return false;
    }
    // Rows are written in blocks so that a full history does not sit in memory twice.
    constexpr int RowsPerBlock = 1000;
    QByteArray block = headerLine(model).toUtf8();
    const int rows = model.rowCount();
    for (int row = 0; row <= rows; ++row) {
        const bool last = row == rows;
        if (!last)
            block += rowLine(model, row).toUtf8();
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
