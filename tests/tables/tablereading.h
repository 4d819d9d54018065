#pragma once

#include <QHeaderView>
#include <QStringList>
#include <QStyle>
#include <QTableView>

// The header lines and the cells of the first row that do not fit their column, measured
// as the header and the item delegate draw them.
inline QStringList elidedTexts(const QTableView &view)
{
    QStringList elided;
    const QHeaderView *header = view.horizontalHeader();
    const int headerMargin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int cellMargin
        = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1);
    for (int column = 0; column < header->count(); ++column) {
        const int width = header->sectionSize(column);
        const QString label = view.model()->headerData(column, Qt::Horizontal).toString();
        for (const QString &line : label.split(QLatin1Char('\n'))) {
            if (header->fontMetrics().horizontalAdvance(line) + 2 * headerMargin > width)
                elided.append(line);
        }
        if (view.model()->rowCount() == 0)
            continue;
        const QString value = view.model()->index(0, column).data().toString();
        if (view.fontMetrics().horizontalAdvance(value) + cellMargin > width)
            elided.append(value);
    }
    return elided;
}
