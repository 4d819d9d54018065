// Turns a received UDP datagram into the console's texts: the decoded payload, the collapsed
// line and the tool tip, and, for JSON payloads, the expanded indented text.
//
// Input: byte 0 picks the byte limit of the indented text (256 KiB, or a small limit so that
// cutting happens often); the rest is the datagram.
//
// Checked besides memory errors and undefined behaviour: the decoded text stops before the
// first zero byte; cut texts keep their limits and are a prefix of the whole text; the indented
// text is exactly QJsonDocument::toJson(Indented), or, when cut, a prefix of it that ends at a
// line break and fits the limit.

#include "fuzzcheck.h"
#include "jsonprettyprinter.h"
#include "payloadtext.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void checkElided(const QString &text, int maxChars, int maxLines)
{
    const QString cut = PayloadText::elided(text, maxChars, maxLines);
    if (cut == text) {
        FUZZ_CHECK(text.size() <= maxChars && text.count(QLatin1Char('\n')) < maxLines);
        return;
    }
    FUZZ_CHECK(cut.endsWith(QChar(0x2026)));
    const QString kept = cut.left(cut.size() - 1);
    FUZZ_CHECK(text.startsWith(kept));
    FUZZ_CHECK(kept.size() <= maxChars && kept.count(QLatin1Char('\n')) < maxLines);
    FUZZ_CHECK(kept.isEmpty() || !kept.back().isHighSurrogate());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > 65536)
        return 0;
    static const int limits[] = { 256 * 1024, 2, 1, 16, 100, 1024 };
    const int maxBytes = limits[data[0] % 6];
    const QByteArray payload(reinterpret_cast<const char *>(data + 1), int(size - 1));

    const QString text = PayloadText::decode(payload);
    const int zero = payload.indexOf('\0');
    FUZZ_CHECK(!text.contains(QChar(0)));
    FUZZ_CHECK(text.size() <= (zero < 0 ? payload.size() : zero));

    const QString trimmed = PayloadText::withoutTrailingLineBreaks(text);
    FUZZ_CHECK(text.startsWith(trimmed));
    FUZZ_CHECK(!trimmed.endsWith(QLatin1Char('\n')) && !trimmed.endsWith(QLatin1Char('\r')));
    FUZZ_CHECK(text.mid(trimmed.size()).count(QLatin1Char('\n'))
            + text.mid(trimmed.size()).count(QLatin1Char('\r'))
        == text.size() - trimmed.size());

    checkElided(QStringLiteral("10.0.0.7:5000     ") + trimmed, 1024, 32);
    checkElided(text, 4096, 64);
    checkElided(text, 0, 1);

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(payload, &error);
    if (error.error != QJsonParseError::NoError || document.isEmpty())
        return 0;
    JsonPrettyPrinter printer(maxBytes);
    const QByteArray printed = printer.print(document);
    const QByteArray whole = document.toJson(QJsonDocument::Indented);
    if (!printer.isTruncated()) {
        FUZZ_CHECK(printed == whole);
    } else {
        FUZZ_CHECK(printed.size() <= maxBytes && printed.size() < whole.size());
        FUZZ_CHECK(whole.startsWith(printed));
        FUZZ_CHECK(printed.isEmpty() || printed.endsWith('\n'));
    }
    return 0;
}
