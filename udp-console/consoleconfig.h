#pragma once

#include "textfilter.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QJsonObject>
#include <QString>
#include <QVector>

// The console's settings as its configuration file holds them, and the mapping between the
// two. Reading applies only the keys a file names, so that a second file changes what it
// names and keeps the rest; its rules and templates are appended. A value of the wrong type
// gives that value's conversion default; a choice the window does not offer (a column count
// or receiving address outside the lists) keeps the current one.
class ConsoleConfig
{
    Q_DECLARE_TR_FUNCTIONS(ConsoleConfig)

public:
    struct Template
    {
        QString name;
        QString text;
        QString info;
    };

    static constexpr int DefaultRxDisplayLimit = 100;
    static constexpr int MinRxDisplayLimit = 1;
    static constexpr int MaxRxDisplayLimit = 10000;
    static constexpr int DefaultColumnCount = 5;
    static constexpr int MinColumnCount = 1;
    static constexpr int MaxColumnCount = 9;
    static constexpr int DefaultPort = 9999;
    static constexpr int MinPort = 1;
    static constexpr int MaxPort = 65535;
    // Milliseconds between repeated sends: from a hundred a second to one an hour.
    static constexpr int DefaultRepeatInterval = 1000;
    static constexpr int MinRepeatInterval = 10;
    static constexpr int MaxRepeatInterval = 3600 * 1000;

    // The receiving addresses the window offers, in its order.
    static const QVector<QHostAddress::SpecialAddress> &rxAddressChoices();
    // How the receive address choices read in the address list.
    static QString rxAddressName(QHostAddress::SpecialAddress address);

    int rxDisplayLimit = DefaultRxDisplayLimit;
    bool rxWordWrapping = false;
    QHostAddress::SpecialAddress rxAddress = QHostAddress::Any;
    int rxPort = DefaultPort;
    int rxFilteringColumnCount = DefaultColumnCount;
    bool showIfNoRuleMatches = true;
    TextFilter rules;
    QString txAddress = QStringLiteral("127.0.0.1");
    int txPort = DefaultPort;
    int txTemplatesColumnCount = DefaultColumnCount;
    QVector<Template> templates;
    int txRepeatInterval = DefaultRepeatInterval;

    // Applies the keys that json names.
    void apply(const QJsonObject &json);
    QJsonObject toJson() const;

    // The items that make a template: objects with a non-empty "name" and "text".
    static QVector<Template> templatesFromJson(const QJsonArray &items);
};
