#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QString>

class CsvFormat;
class QAbstractItemModel;

// The file a history is saved to, in one of two formats:
// - text: one line per row, "|" then " cell |" for each column, the identifier
//   right-aligned in 2 characters and the other cells in 14. Numbers are written with "."
//   whatever the language (ObjectColumns::FileTextRole).
// - CSV for spreadsheets: UTF-8 with a byte order mark, a header row, numbers with the
//   locale's decimal point and no group separators, cells separated by ";" where the
//   decimal point is "," and by "," elsewhere, as the spreadsheets of that locale expect.
class HistoryFile
{
    Q_DECLARE_TR_FUNCTIONS(HistoryFile)

public:
    enum class Format { Text, Csv };

    // The format's name in a work profile, and back; an unknown name is the text format.
    static QString formatName(Format format);
    static Format formatFromName(const QString &name);

    // "history" next to the program, or under the user's data folder when the program's
    // folder cannot be written (an installed program). Created when missing; empty when
    // neither can be created.
    static QString folder();
    // "<folder>/yyyy-MM-dd_hh-mm-ss.txt" (".csv"); "_2", "_3", ... before the extension
    // when that name is taken, so two saves within one second keep both files.
    static QString newFilePath(
        const QString &folder, const QDateTime &now, Format format = Format::Text);
    static QString headerLine(const QAbstractItemModel &model);
    static QString rowLine(const QAbstractItemModel &model, int row);
    // The CSV lines, with the numbers as the model displays them in the default locale.
    static QString csvHeaderLine(const QAbstractItemModel &model, const CsvFormat &csv);
    static QString csvRowLine(const QAbstractItemModel &model, int row, const CsvFormat &csv);
    // Writes the whole model atomically; on failure the file is not created and
    // errorText says why.
    static bool write(const QAbstractItemModel &model, const QString &path, QString *errorText,
        Format format = Format::Text);
};
