#include "textfilter.h"

#include <QJsonDocument>
#include <QJsonObject>

const TextFilter::Rule TextFilter::s_voidRule;

QString TextFilter::Rule::typeToString(Type type)
{
    switch (type) {
    case Show:
        return QStringLiteral("show");
    case Hide:
        return QStringLiteral("hide");
    default:
        return QString();
    }
}

TextFilter::Rule::Type TextFilter::Rule::stringToType(const QString &name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("show"))
        return Show;
    if (lower == QLatin1String("hide"))
        return Hide;
    return NoType;
}

const TextFilter::Rule &TextFilter::ruleAt(int index) const
{
    if (index < 0 || index >= m_rules.size())
        return s_voidRule;
    return m_rules.at(index);
}

void TextFilter::insertRule(int index, const Rule &rule)
{
    if (index < 0 || index > m_rules.size())
        return;
    m_rules.insert(index, rule);
}

void TextFilter::insertRule(int index, const QString &name, const QString &text,
    const QString &info, bool csen, Rule::Type type)
{
    Rule rule;
    rule.name = name;
    rule.text = text;
    rule.info = info;
    rule.csen = csen;
    rule.type = type;
    insertRule(index, rule);
}

void TextFilter::insertRule(int index, const QString &name, const QString &text,
    const QString &info, bool csen, const QString &type)
{
    insertRule(index, name, text, info, csen, Rule::stringToType(type));
}

void TextFilter::appendRule(const Rule &rule)
{
    insertRule(m_rules.size(), rule);
}

void TextFilter::appendRule(
    const QString &name, const QString &text, const QString &info, bool csen, Rule::Type type)
{
    insertRule(m_rules.size(), name, text, info, csen, type);
}

void TextFilter::appendRule(
    const QString &name, const QString &text, const QString &info, bool csen, const QString &type)
{
    insertRule(m_rules.size(), name, text, info, csen, type);
}

void TextFilter::removeRule(int index)
{
    if (index < 0 || index >= m_rules.size())
        return;
    m_rules.removeAt(index);
}

void TextFilter::removeAllRules()
{
    m_rules.clear();
}

void TextFilter::removeAllRules(const QString &name, bool csen)
{
    const Qt::CaseSensitivity cs = csen ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int i = m_rules.size() - 1; i >= 0; --i) {
        if (m_rules.at(i).name.compare(name, cs) == 0)
            m_rules.removeAt(i);
    }
}

void TextFilter::changeRuleType(int index, Rule::Type type)
{
    if (index < 0 || index >= m_rules.size())
        return;
    m_rules[index].type = type;
}

bool TextFilter::shouldShow(const QString &message, bool showIfNoRuleMatches, int *ruleIndex) const
{
    bool result = showIfNoRuleMatches;
    int matched = -1;
    for (int i = 0; i < m_rules.size(); ++i) {
        const Rule &rule = m_rules.at(i);
        if (rule.type == Rule::NoType)
            continue;
        const Qt::CaseSensitivity cs = rule.csen ? Qt::CaseSensitive : Qt::CaseInsensitive;
        if (message.contains(rule.text, cs)) {
            matched = i;
            result = rule.type == Rule::Show;
        }
    }
    if (ruleIndex)
        *ruleIndex = matched;
    return result;
}

bool TextFilter::shouldHide(const QString &message, bool hideIfNoRuleMatches, int *ruleIndex) const
{
    return !shouldShow(message, !hideIfNoRuleMatches, ruleIndex);
}

QJsonArray TextFilter::rulesAsJsonArray() const
{
    QJsonArray array;
    for (const Rule &rule : m_rules) {
        array.append(QJsonObject {
            { QStringLiteral("name"), rule.name },
            { QStringLiteral("text"), rule.text },
            { QStringLiteral("info"), rule.info },
            { QStringLiteral("csen"), rule.csen },
            { QStringLiteral("type"), Rule::typeToString(rule.type) },
        });
    }
    return array;
}

QString TextFilter::rulesAsJsonString() const
{
    const QByteArray json = QJsonDocument(rulesAsJsonArray()).toJson(QJsonDocument::Indented);
    const int zero = json.indexOf('\0');
    return QString::fromUtf8(json.constData(), zero < 0 ? json.size() : zero);
}

void TextFilter::appendRulesFromJsonArray(const QJsonArray &rules)
{
    for (const QJsonValue &value : rules) {
        if (!value.isObject())
            continue;
        const QJsonObject object = value.toObject();
        appendRule(object.value(QStringLiteral("name")).toString(),
            object.value(QStringLiteral("text")).toString(),
            object.value(QStringLiteral("info")).toString(),
            object.value(QStringLiteral("csen")).toBool(),
            object.value(QStringLiteral("type")).toString());
    }
}

void TextFilter::appendRulesFromJsonString(const QString &rules)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(rules.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return;
    const QJsonArray array = document.array();
    if (array.isEmpty())
        return;
    appendRulesFromJsonArray(array);
}
