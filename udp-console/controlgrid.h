#pragma once

#include <QGridLayout>
#include <QLabel>
#include <QList>

// The controls made from the configuration (rule check boxes, template buttons) in their
// grid: filled column by column, with a label in their place when there are none.
template<class Control> class ControlGrid
{
public:
    // The grid and its empty label come from the window's form, once it is set up.
    void setGrid(QGridLayout *grid, QLabel *emptyLabel)
    {
        m_grid = grid;
        m_emptyLabel = emptyLabel;
    }

    const QList<Control *> &controls() const { return m_controls; }
    void append(Control *control) { m_controls.append(control); }

    // Control i goes to row i mod r, column i div r, with r rows for the given columns.
    void arrange(int columnCount)
    {
        while (m_grid->count() > 0)
            delete m_grid->takeAt(0);
        if (m_controls.isEmpty()) {
            m_grid->addWidget(m_emptyLabel, 0, 0);
            m_emptyLabel->show();
            return;
        }
        m_emptyLabel->hide();
        const int columns = qMax(1, columnCount);
        const int rows = (m_controls.size() + columns - 1) / columns;
        for (int i = 0; i < m_controls.size(); ++i) {
            m_grid->addWidget(m_controls.at(i), i % rows, i / rows);
            m_controls.at(i)->show();
        }
    }

    // Takes the controls out of the grid and deletes them once their signals are done.
    void clear()
    {
        for (Control *control : qAsConst(m_controls)) {
            m_grid->removeWidget(control);
            control->hide();
            control->deleteLater();
        }
        m_controls.clear();
    }

private:
    QGridLayout *m_grid = nullptr;
    QLabel *m_emptyLabel = nullptr;
    QList<Control *> m_controls;
};
