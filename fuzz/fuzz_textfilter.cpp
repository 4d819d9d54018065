// Loads text filter rules from a JSON string and filters a message with them, as the UDP
// console does with the rules of its configuration file and each received datagram.
//
// Input: the last byte is the length n of the message, which is the n bytes before it
// (UTF-8); everything in front of the message is the rules string.
//
// Checked besides memory errors: the decision is the last matching rule's, shouldHide is
// its mirror, and the rules survive saving as JSON and loading again unchanged.

#include "fuzzcheck.h"
#include "textfilter.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

bool sameRules(const TextFilter &a, const TextFilter &b)
{
    if (a.ruleCount() != b.ruleCount())
        return false;
    for (int i = 0; i < a.ruleCount(); ++i) {
        const TextFilter::Rule &x = a.ruleAt(i);
        const TextFilter::Rule &y = b.ruleAt(i);
        if (x.name != y.name || x.text != y.text || x.info != y.info || x.csen != y.csen
            || x.type != y.type)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t messageSize = qMin<size_t>(data[size - 1], size - 1);
    const size_t rulesSize = size - 1 - messageSize;
    const char *bytes = reinterpret_cast<const char *>(data);
    const QString rules = QString::fromUtf8(bytes, int(rulesSize));
    const QString message = QString::fromUtf8(bytes + rulesSize, int(messageSize));

    TextFilter filter;
    filter.appendRulesFromJsonString(rules);

    for (const bool fallback : { false, true }) {
        int index = -2;
        const bool shown = filter.shouldShow(message, fallback, &index);
        FUZZ_CHECK(index >= -1 && index < filter.ruleCount());
        if (index < 0) {
            FUZZ_CHECK(shown == fallback);
        } else {
            const TextFilter::Rule &rule = filter.ruleAt(index);
            FUZZ_CHECK(rule.type != TextFilter::Rule::NoType);
            FUZZ_CHECK(
                message.contains(rule.text, rule.csen ? Qt::CaseSensitive : Qt::CaseInsensitive));
            FUZZ_CHECK(shown == (rule.type == TextFilter::Rule::Show));
        }
        int hideIndex = -2;
        FUZZ_CHECK(filter.shouldHide(message, !fallback, &hideIndex) == !shown);
        FUZZ_CHECK(hideIndex == index);
    }

    TextFilter reloaded;
    reloaded.appendRulesFromJsonString(filter.rulesAsJsonString());
    FUZZ_CHECK(sameRules(filter, reloaded));
    return 0;
}
