#pragma once

#include <QString>

#include <functional>

class QWidget;

// A yes/no question a panel asks before an action that cannot be undone or that drops
// what the user entered; tests answer it in the user's place.
class PanelQuestion
{
public:
    // Returns true for yes.
    using Answer = std::function<bool(const QString &title, const QString &question)>;

    void setAnswer(const Answer &answer) { m_answer = answer; }
    bool ask(QWidget *parent, const QString &title, const QString &question) const;

private:
    Answer m_answer;
};
