#pragma once

#include "backlightedgroupbox.h"

#include <QSizePolicy>

class QLabel;
class QVBoxLayout;

// A group box that folds to a one-line hint when its title is clicked. Its content
// lives in containerWidget(); content made in a designer form is moved there on the
// first show, layout included.
class CollapsibleGroupBox : public BacklightedGroupBox
{
    Q_OBJECT
    Q_PROPERTY(bool collapsed READ isCollapsed WRITE setCollapsed NOTIFY toggled)
    Q_PROPERTY(QString title READ title WRITE setTitle)

public:
    explicit CollapsibleGroupBox(QWidget *parent = nullptr);
    explicit CollapsibleGroupBox(const QString &title, QWidget *parent = nullptr);
    ~CollapsibleGroupBox() override;

    bool isCollapsed() const { return m_collapsed; }
    QString title() const { return m_title; }
    void setTitle(const QString &title);

    QLabel *collapsedLabel();
    QWidget *containerWidget();

public slots:
    void setCollapsed(bool value);

signals:
    // The user clicked the title; carries the state the box is about to take.
    void clicked(bool collapsed);
    // The state has changed.
    void toggled(bool collapsed);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void takeComponents();
    void updateTitle();
    QRect titleStrip() const;

    QString m_title;
    QVBoxLayout *m_layout = nullptr;
    QLabel *m_collapsedLabel = nullptr;
    QWidget *m_container = nullptr;
    bool m_collapsed = false;
    QSizePolicy m_savedSizePolicy;
    bool m_pressed = false;
};
