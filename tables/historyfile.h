#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

class QAbstractItemModel;

// The text file a history is saved to: one line per row, "|" then " cell |" for each
// column, the identifier right-aligned in 2 characters and the other cells in 14. Numbers
// are written with "." whatever the language (ObjectColumns::FileTextRole).
class HistoryFile
{
    Q_DECLARE_TR_FUNCTIONS(HistoryFile)

public:
    // "history" next to the program, or under the user's data folder when the program's
    // folder cannot be written (an installed program). Created when missing; empty when
    // neither can be created.
    static QString folder();
    // "<folder>/yyyy-MM-dd_hh-mm-ss.txt"; "_2", "_3", ... before ".txt" when that name is
    // taken, so two saves within one second keep both files.
    static QString newFilePath(const QString &folder, const QDateTime &now);
    static QString headerLine(const QAbstractItemModel &model);
    static QString rowLine(const QAbstractItemModel &model, int row);
    // Writes the whole model atomically; on failure the file is not created and
    // errorText says why.
    static bool write(const QAbstractItemModel &model, const QString &path, QString *errorText);
};
