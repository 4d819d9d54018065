#include "rxlogfile.h"

#include "payloadtext.h"
#include "rxmessagemodel.h"
#include "safefilewriter.h"

#include <QDateTime>

namespace {
// Lines are gathered into pieces of about this size for each write.
constexpr int ChunkSize = 1024 * 1024;

void appendLine(QByteArray *out, const QModelIndex &index)
{
    const QDateTime time = index.data(RxMessageModel::ReceivedAtRole).toDateTime();
    *out += time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs).toUtf8();
    *out += '\t';
    const QByteArray address = index.data(RxMessageModel::SenderAddressRole).toString().toUtf8();
    *out += address.contains(':') ? '[' + address + ']' : address;
    *out += ':';
    *out += QByteArray::number(index.data(RxMessageModel::SenderPortRole).toInt());
    *out += '\t';
    *out += PayloadText::escaped(index.data(RxMessageModel::PayloadRole).toByteArray());
    *out += '\n';
}
} // namespace

const char RxLogFile::HeaderLine[] = "time\tsender\tpayload\n";

bool RxLogFile::save(const QString &path, const RxMessageModel &model, QString *errorString)
{
    SafeFileWriter file(path);
    QByteArray chunk(HeaderLine);
    bool written = file.open();
    for (int row = model.rowCount() - 1; written && row >= 0; --row) {
        appendLine(&chunk, model.index(row));
        if (chunk.size() >= ChunkSize) {
            written = file.write(chunk);
            chunk.clear();
        }
    }
    if (written && file.write(chunk) && file.commit())
        return true;
    *errorString = file.errorString();
    return false;
}

QString RxLogFile::defaultFileName(const QDateTime &time)
{
    return QStringLiteral("received-%1.txt").arg(time.toString(QStringLiteral("yyyyMMdd-hhmmss")));
}
