#pragma once

#include <QGroupBox>

// A group box that lights up while the mouse is over it.
class BacklightedGroupBox : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(bool backlighted READ isBacklighted WRITE setBacklighted)

public:
    explicit BacklightedGroupBox(QWidget *parent = nullptr);
    explicit BacklightedGroupBox(const QString &title, QWidget *parent = nullptr);

    bool isBacklighted() const { return m_backlighted; }

public slots:
    void setBacklighted(bool backlighted);

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    bool m_backlighted = true;
};
