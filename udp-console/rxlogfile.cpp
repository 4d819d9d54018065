#include "rxlogfile.h"

#include "payloadtext.h"
#include "rxmessagemodel.h"

#include <QDateTime>
#include <QSaveFile>

#include <cerrno>
#include <unistd.h>

namespace {
// Lines are gathered into pieces of about this size for each unbuffered write.
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
    QSaveFile file(path);
    // Unbuffered, so that a full disk fails the write that meets it rather than the commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *errorString = file.errorString();
        return false;
    }
    const auto fail = [&file, errorString](const QString &reason) {
        *errorString = reason;
        file.cancelWriting();
        return false;
    };
    QByteArray chunk(HeaderLine);
    // A write that meets a full disk writes what fits and reports no error; writing the rest
    // again gets the system's reason.
    const auto writeChunk = [&file, &chunk] {
        for (qint64 done = 0; done < chunk.size();) {
            const qint64 written = file.write(chunk.constData() + done, chunk.size() - done);
            if (written <= 0)
                return false;
            done += written;
        }
        chunk.clear();
        return true;
    };
    for (int row = model.rowCount() - 1; row >= 0; --row) {
        appendLine(&chunk, model.index(row));
        if (chunk.size() >= ChunkSize && !writeChunk())
            return fail(file.errorString());
    }
    if (!writeChunk())
        return fail(file.errorString());
    if (::fsync(file.handle()) != 0)
        return fail(qt_error_string(errno));
    if (!file.commit()) {
        *errorString = file.errorString();
        return false;
    }
    return true;
}

QString RxLogFile::defaultFileName(const QDateTime &time)
{
    return QStringLiteral("received-%1.txt").arg(time.toString(QStringLiteral("yyyyMMdd-hhmmss")));
}
