#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QFont>
#include <QSize>
#include <QString>
#include <QVector>

#include <deque>

// The received datagrams, newest first. Entries arrive in batches so that a flood of
// datagrams costs one insertion and one layout per batch, and every size hint is
// computed once and kept until the font, width or wrapping changes.
class RxMessageModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        HeaderRole = Qt::UserRole, // "hh:mm:ss.zzz from address:port"
        PayloadRole, // the datagram's bytes
        RuleIndexRole, // index of the rule that matched, or -1
        ReceivedAtRole, // local QDateTime the datagram was read
        SenderAddressRole, // the sender's address as text, IPv4 senders as IPv4
        SenderPortRole, // the sender's port
    };

    // Longest text shown for a collapsed entry and in a tool tip; the whole datagram
    // stays in PayloadRole. Tool tip lines are broken to a readable width.
    static constexpr int MaxCollapsedChars = 1024;
    static constexpr int MaxCollapsedLines = 32;
    static constexpr int MaxToolTipChars = 2000;
    static constexpr int MaxToolTipLines = 25;
    static constexpr int MaxToolTipColumns = 100;
    // Longest pretty-printed JSON of an expanded entry, in UTF-8 bytes; more than a list
    // entry can show (see TextBlock::MaxHeight).
    static constexpr int MaxExpandedBytes = 256 * 1024;

    struct Entry
    {
        QString header;
        QByteArray payload;
        int ruleIndex = -1;
        // The payload as text (see PayloadText::decode).
        QString text;
        qint64 receivedAtMsecs = 0; // since the epoch, UTC
        QString senderAddress;
        quint16 senderPort = 0;
    };

    explicit RxMessageModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Inserts the entries, given oldest first, above the existing ones.
    void prependEntries(QVector<Entry> entries);
    // Removes the given number of oldest entries in one step.
    void removeLastRows(int count);
    // About how much memory the entries take, in bytes.
    qint64 byteCount() const { return m_byteCount; }
    // How many of the oldest entries must go so that the rest take at most maxBytes; the
    // newest entry always stays.
    int rowsOverBudget(qint64 maxBytes) const;
    void clear();

    // An expanded entry whose payload is a non-empty JSON document shows it indented.
    void setExpanded(int row, bool expanded);
    bool isExpanded(int row) const;

    // What size hints are computed for.
    void setLayout(const QFont &font, int width, bool wordWrap);
    bool wordWrap() const { return m_wordWrap; }

    static QString collapsedText(const QString &header, const QString &text);

private:
    struct Row
    {
        QString header;
        QByteArray payload;
        int ruleIndex = -1;
        qint64 receivedAtMsecs = 0;
        QString senderAddress;
        quint16 senderPort = 0;
        QString displayText;
        bool expanded = false;
        mutable QSize sizeHint;
    };

    QSize sizeHintOf(const Row &row) const;
    QString expandedText(const Row &row) const;
    static qint64 bytesOf(const Row &row);

    std::deque<Row> m_rows;
    qint64 m_byteCount = 0;
    QFont m_font;
    int m_width = 0;
    bool m_wordWrap = false;
};
