#pragma once

#include <QJsonArray>
#include <QList>
#include <QString>

// An ordered list of substring rules that decides whether a message is shown.
// Every rule that matches overrides the ones before it: the last match decides.
class TextFilter
{
public:
    struct Rule
    {
        enum Type { NoType = -1, Show = 0, Hide = 1 };

        QString name;
        QString text;
        QString info;
        bool csen = false;
        Type type = NoType;

        static QString typeToString(Type type);
        static Type stringToType(const QString &name);
    };

    int ruleCount() const { return m_rules.size(); }
    const Rule &ruleAt(int index) const;

    void insertRule(int index, const Rule &rule);
    void insertRule(int index, const QString &name, const QString &text, const QString &info,
        bool csen, Rule::Type type);
    void insertRule(int index, const QString &name, const QString &text, const QString &info,
        bool csen, const QString &type);
    void appendRule(const Rule &rule);
    void appendRule(
        const QString &name, const QString &text, const QString &info, bool csen, Rule::Type type);
    void appendRule(const QString &name, const QString &text, const QString &info, bool csen,
        const QString &type);

    void removeRule(int index);
    void removeAllRules();
    void removeAllRules(const QString &name, bool csen);
    void changeRuleType(int index, Rule::Type type);

    bool shouldShow(
        const QString &message, bool showIfNoRuleMatches, int *ruleIndex = nullptr) const;
    bool shouldHide(
        const QString &message, bool hideIfNoRuleMatches, int *ruleIndex = nullptr) const;

    QJsonArray rulesAsJsonArray() const;
    QString rulesAsJsonString() const;
    void appendRulesFromJsonArray(const QJsonArray &rules);
    void appendRulesFromJsonString(const QString &rules);

private:
    static const Rule s_voidRule;

    QList<Rule> m_rules;
};
