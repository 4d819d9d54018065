#include "rxmessagemodel.h"

#include "jsonprettyprinter.h"
#include "payloadtext.h"
#include "textblock.h"

#include <QJsonDocument>

#include <algorithm>

RxMessageModel::RxMessageModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

int RxMessageModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant RxMessageModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row &row = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return row.displayText;
    case Qt::ToolTipRole:
        return PayloadText::elided(
            PayloadText::decode(row.payload), MaxToolTipChars, MaxToolTipLines);
    case Qt::SizeHintRole:
        return sizeHintOf(row);
    case HeaderRole:
        return row.header;
    case PayloadRole:
        return row.payload;
    case RuleIndexRole:
        return row.ruleIndex;
    default:
        return {};
    }
}

void RxMessageModel::prependEntries(QVector<Entry> entries)
{
    if (entries.isEmpty())
        return;
    beginInsertRows(QModelIndex(), 0, entries.size() - 1);
    for (Entry &entry : entries) {
        Row row;
        row.displayText = collapsedText(entry.header, entry.text);
        row.header = std::move(entry.header);
        row.payload = std::move(entry.payload);
        row.ruleIndex = entry.ruleIndex;
        m_rows.push_front(std::move(row));
    }
    endInsertRows();
}

void RxMessageModel::removeLastRows(int count)
{
    count = std::min(count, rowCount());
    if (count <= 0)
        return;
    beginRemoveRows(QModelIndex(), rowCount() - count, rowCount() - 1);
    m_rows.erase(m_rows.end() - count, m_rows.end());
    endRemoveRows();
}

void RxMessageModel::clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void RxMessageModel::setExpanded(int row, bool expanded)
{
    if (row < 0 || row >= rowCount())
        return;
    Row &entry = m_rows[static_cast<size_t>(row)];
    const QString text = expanded ? expandedText(entry) : QString();
    entry.expanded = !text.isNull();
    entry.displayText = entry.expanded
        ? entry.header + QLatin1Char('\n') + text
        : collapsedText(entry.header, PayloadText::decode(entry.payload));
    entry.sizeHint = QSize();
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, { Qt::DisplayRole, Qt::SizeHintRole });
}

bool RxMessageModel::isExpanded(int row) const
{
    return row >= 0 && row < rowCount() && m_rows[static_cast<size_t>(row)].expanded;
}

void RxMessageModel::setLayout(const QFont &font, int width, bool wordWrap)
{
    if (font == m_font && width == m_width && wordWrap == m_wordWrap)
        return;
    m_font = font;
    m_width = width;
    m_wordWrap = wordWrap;
    for (const Row &row : m_rows)
        row.sizeHint = QSize();
}

QString RxMessageModel::collapsedText(const QString &header, const QString &text)
{
    return PayloadText::elided(
        header + QStringLiteral("     ") + PayloadText::withoutTrailingLineBreaks(text),
        MaxCollapsedChars, MaxCollapsedLines);
}

QSize RxMessageModel::sizeHintOf(const Row &row) const
{
    if (!row.sizeHint.isValid()) {
        TextBlock block;
        block.setText(row.displayText, m_font, m_width, m_wordWrap, row.expanded);
        row.sizeHint = block.size();
    }
    return row.sizeHint;
}

QString RxMessageModel::expandedText(const Row &row)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(row.payload, &error);
    if (error.error != QJsonParseError::NoError || document.isEmpty())
        return QString();
    JsonPrettyPrinter printer(MaxExpandedBytes);
    QString text
        = PayloadText::withoutTrailingLineBreaks(QString::fromUtf8(printer.print(document)));
    if (printer.isTruncated())
        text += QLatin1Char('\n') + QChar(0x2026);
    return text;
}
