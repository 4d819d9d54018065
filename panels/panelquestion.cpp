#include "panelquestion.h"

#include <QMessageBox>
#include <QWidget>

bool PanelQuestion::ask(QWidget *parent, const QString &title, const QString &question) const
{
    if (m_answer)
        return m_answer(title, question);
    return QMessageBox::question(parent ? parent->window() : nullptr, title, question,
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}
