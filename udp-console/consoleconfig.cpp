#include "consoleconfig.h"

#include <QJsonArray>

namespace {
const QLatin1String RxDisplayLimitKey("rx_display_limit");
const QLatin1String RxWordWrappingKey("rx_word_wrapping");
const QLatin1String RxEndpointKey("rx_endpoint");
const QLatin1String RxFilteringKey("rx_filtering");
const QLatin1String TxEndpointKey("tx_endpoint");
const QLatin1String TxTemplatesKey("tx_templates");
const QLatin1String TxRepeatIntervalKey("tx_repeat_interval");
const QLatin1String AddressKey("address");
const QLatin1String PortKey("port");
const QLatin1String ColumnCountKey("column_count");
const QLatin1String IfNoRuleMatchesKey("if_no_rule_matches");
const QLatin1String RulesKey("rules");
const QLatin1String ItemsKey("items");
const QLatin1String NameKey("name");
const QLatin1String TextKey("text");
const QLatin1String InfoKey("info");

int portFrom(const QJsonValue &value)
{
    return qBound(ConsoleConfig::MinPort, value.toInt(), ConsoleConfig::MaxPort);
}

void applyColumnCount(const QJsonObject &object, int *columnCount)
{
    if (!object.contains(ColumnCountKey))
        return;
    const int count = object.value(ColumnCountKey).toInt(ConsoleConfig::DefaultColumnCount);
    if (count >= ConsoleConfig::MinColumnCount && count <= ConsoleConfig::MaxColumnCount)
        *columnCount = count;
}
} // namespace

const QVector<QHostAddress::SpecialAddress> &ConsoleConfig::rxAddressChoices()
{
    static const QVector<QHostAddress::SpecialAddress> choices { QHostAddress::LocalHost,
        QHostAddress::LocalHostIPv6, QHostAddress::AnyIPv4, QHostAddress::AnyIPv6,
        QHostAddress::Any };
    return choices;
}

QString ConsoleConfig::rxAddressName(QHostAddress::SpecialAddress address)
{
    switch (address) {
    case QHostAddress::LocalHost:
        return tr("localhost IPv4");
    case QHostAddress::LocalHostIPv6:
        return tr("localhost IPv6");
    case QHostAddress::AnyIPv4:
        return tr("any IPv4");
    case QHostAddress::AnyIPv6:
        return tr("any IPv6");
    default:
        return tr("any IPv4/v6");
    }
}

void ConsoleConfig::apply(const QJsonObject &json)
{
    if (json.contains(RxDisplayLimitKey)) {
        rxDisplayLimit = qBound(MinRxDisplayLimit,
            json.value(RxDisplayLimitKey).toInt(DefaultRxDisplayLimit), MaxRxDisplayLimit);
    }
    if (json.contains(RxWordWrappingKey))
        rxWordWrapping = json.value(RxWordWrappingKey).toBool();

    if (json.contains(RxEndpointKey)) {
        const QJsonObject endpoint = json.value(RxEndpointKey).toObject();
        if (endpoint.contains(AddressKey)) {
            const auto address = static_cast<QHostAddress::SpecialAddress>(
                endpoint.value(AddressKey).toInt(QHostAddress::Any));
            if (rxAddressChoices().contains(address))
                rxAddress = address;
        }
        if (endpoint.contains(PortKey))
            rxPort = portFrom(endpoint.value(PortKey));
    }

    if (json.contains(RxFilteringKey)) {
        const QJsonObject filtering = json.value(RxFilteringKey).toObject();
        applyColumnCount(filtering, &rxFilteringColumnCount);
        if (filtering.contains(IfNoRuleMatchesKey)) {
            const TextFilter::Rule::Type type
                = TextFilter::Rule::stringToType(filtering.value(IfNoRuleMatchesKey).toString());
            if (type != TextFilter::Rule::NoType)
                showIfNoRuleMatches = type == TextFilter::Rule::Show;
        }
        if (filtering.contains(RulesKey))
            rules.appendRulesFromJsonArray(filtering.value(RulesKey).toArray());
    }

    if (json.contains(TxEndpointKey)) {
        const QJsonObject endpoint = json.value(TxEndpointKey).toObject();
        if (endpoint.contains(AddressKey))
            txAddress = endpoint.value(AddressKey).toString();
        if (endpoint.contains(PortKey))
            txPort = portFrom(endpoint.value(PortKey));
    }

    if (json.contains(TxTemplatesKey)) {
        const QJsonObject object = json.value(TxTemplatesKey).toObject();
        applyColumnCount(object, &txTemplatesColumnCount);
        if (object.contains(ItemsKey))
            templates += templatesFromJson(object.value(ItemsKey).toArray());
    }

    if (json.contains(TxRepeatIntervalKey)) {
        txRepeatInterval = qBound(MinRepeatInterval,
            json.value(TxRepeatIntervalKey).toInt(DefaultRepeatInterval), MaxRepeatInterval);
    }
}

QJsonObject ConsoleConfig::toJson() const
{
    QJsonArray items;
    for (const Template &item : templates)
        items.append(
            QJsonObject { { NameKey, item.name }, { TextKey, item.text }, { InfoKey, item.info } });
    const TextFilter::Rule::Type ifNoRuleMatches
        = showIfNoRuleMatches ? TextFilter::Rule::Show : TextFilter::Rule::Hide;
    return QJsonObject {
        { RxDisplayLimitKey, rxDisplayLimit },
        { RxWordWrappingKey, rxWordWrapping },
        { RxEndpointKey,
            QJsonObject { { AddressKey, static_cast<int>(rxAddress) }, { PortKey, rxPort } } },
        { RxFilteringKey,
            QJsonObject {
                { ColumnCountKey, rxFilteringColumnCount },
                { IfNoRuleMatchesKey, TextFilter::Rule::typeToString(ifNoRuleMatches) },
                { RulesKey, rules.rulesAsJsonArray() },
            } },
        { TxEndpointKey, QJsonObject { { AddressKey, txAddress }, { PortKey, txPort } } },
        { TxTemplatesKey,
            QJsonObject { { ColumnCountKey, txTemplatesColumnCount }, { ItemsKey, items } } },
        { TxRepeatIntervalKey, txRepeatInterval },
    };
}

QVector<ConsoleConfig::Template> ConsoleConfig::templatesFromJson(const QJsonArray &items)
{
    QVector<Template> templates;
    for (const QJsonValue &value : items) {
        const QJsonObject item = value.toObject();
        Template entry { item.value(NameKey).toString(), item.value(TextKey).toString(),
            item.value(InfoKey).toString() };
        if (!entry.name.isEmpty() && !entry.text.isEmpty())
            templates.append(std::move(entry));
    }
    return templates;
}
