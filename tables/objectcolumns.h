#pragma once

#include "objectrecord.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QVariant>

// The seven columns both object tables share: header texts, cell texts and the colours
// of the identifier cell.
class ObjectColumns
{
    Q_DECLARE_TR_FUNCTIONS(ObjectColumns)

public:
    enum Column { Id, XSpeed, YSpeed, XRange, YRange, Length, Updated, Count };
    // The cell text in the fixed format of saved files ("." before the decimals).
    static constexpr int FileTextRole = Qt::UserRole;

    static QString headerText(int column);
    // The header text as the tables show it: the unit on a line of its own, so narrow
    // columns still show it whole.
    static QString headerLabel(int column);
    // Numbers in the locale's format: the decimal separator of the language's spin boxes.
    static QString cellText(
        const ObjectRecord &record, int column, const QLocale &locale = QLocale());
    // Display text in the default locale, file text (FileTextRole), and for the identifier cell its
    // colours (those of identifier 0 when painting is off); an invalid variant for other roles.
    static QVariant data(const ObjectRecord &record, int column, int role, bool paintObjects);
};
