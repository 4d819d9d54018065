#include "rxmessagemodel.h"

#include "jsonprettyprinter.h"
#include "payloadtext.h"
#include "textblock.h"

#include <QDateTime>
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
    case Qt::ToolTipRole: {
        // Cut before wrapping: the payload may be 64 KiB on one line.
        const QString text = PayloadText::decode(row.payload).left(MaxToolTipChars + 1);
        return PayloadText::elided(PayloadText::wrapped(text, MaxToolTipColumns),
            MaxToolTipChars + MaxToolTipChars / MaxToolTipColumns, MaxToolTipLines);
    }
    case Qt::SizeHintRole:
        return sizeHintOf(row);
    case HeaderRole:
        return row.header;
    case PayloadRole:
        return row.payload;
    case RuleIndexRole:
        return row.ruleIndex;
    case ReceivedAtRole:
        return QDateTime::fromMSecsSinceEpoch(row.receivedAtMsecs);
    case SenderAddressRole:
        return row.senderAddress;
    case SenderPortRole:
        return row.senderPort;
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
        row.receivedAtMsecs = entry.receivedAtMsecs;
        row.senderAddress = std::move(entry.senderAddress);
        row.senderPort = entry.senderPort;
        m_byteCount += bytesOf(row);
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
    for (auto it = m_rows.end() - count; it != m_rows.end(); ++it)
        m_byteCount -= bytesOf(*it);
    m_rows.erase(m_rows.end() - count, m_rows.end());
    endRemoveRows();
}

void RxMessageModel::clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    m_byteCount = 0;
    endResetModel();
}

void RxMessageModel::setExpanded(int row, bool expanded)
{
    if (row < 0 || row >= rowCount())
        return;
    Row &entry = m_rows[static_cast<size_t>(row)];
    m_byteCount -= bytesOf(entry);
    const QString text = expanded ? expandedText(entry) : QString();
    entry.expanded = !text.isNull();
    entry.displayText = entry.expanded
        ? entry.header + QLatin1Char('\n') + text
        : collapsedText(entry.header, PayloadText::decode(entry.payload));
    m_byteCount += bytesOf(entry);
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

int RxMessageModel::rowsOverBudget(qint64 maxBytes) const
{
    int count = 0;
    qint64 bytes = m_byteCount;
    for (auto it = m_rows.rbegin(); bytes > maxBytes && count + 1 < rowCount(); ++it, ++count)
        bytes -= bytesOf(*it);
    return count;
}

qint64 RxMessageModel::bytesOf(const Row &row)
{
    // The row itself and the heap blocks of its strings.
    constexpr qint64 Overhead = sizeof(Row) + 3 * 32;
    return Overhead + row.payload.size()
        + qint64(sizeof(QChar)) * (row.header.size() + row.displayText.size());
}

QString RxMessageModel::expandedText(const Row &row) const
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(row.payload, &error);
    if (error.error == QJsonParseError::DeepNesting) {
        return tr("(JSON nested too deeply to be shown indented)") + QLatin1Char('\n')
            + PayloadText::elided(
                PayloadText::decode(row.payload), MaxCollapsedChars, MaxCollapsedLines);
    }
    if (error.error != QJsonParseError::NoError || document.isEmpty())
        return QString();
    JsonPrettyPrinter printer(MaxExpandedBytes);
    QString text
        = PayloadText::withoutTrailingLineBreaks(QString::fromUtf8(printer.print(document)));
    if (printer.isTruncated())
        text += QLatin1Char('\n') + QChar(0x2026);
    return text;
}
