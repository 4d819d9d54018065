#include "backlightedgroupbox.h"

namespace {

// Lightens dark components and darkens light ones, so the change shows on any theme.
QColor shifted(QColor color)
{
    auto shift = [](int component) { return component < 160 ? component + 32 : component - 32; };
    return QColor(shift(color.red()), shift(color.green()), shift(color.blue()), 255);
}

} // namespace

BacklightedGroupBox::BacklightedGroupBox(QWidget *parent)
    : BacklightedGroupBox(QString(), parent)
{ }

BacklightedGroupBox::BacklightedGroupBox(const QString &title, QWidget *parent)
    : QGroupBox(title, parent)
{
    setBacklighted(true);
}

void BacklightedGroupBox::setBacklighted(bool backlighted)
{
    m_backlighted = backlighted;
    setAutoFillBackground(backlighted);
}

void BacklightedGroupBox::enterEvent(QEvent *event)
{
    QGroupBox::enterEvent(event);
    if (!m_backlighted || !parentWidget())
        return;
    QPalette lit = parentWidget()->palette();
    for (const auto role : { QPalette::Window, QPalette::Button }) {
        const QColor color = shifted(lit.color(QPalette::Active, role));
        lit.setBrush(QPalette::Active, role, QBrush(color));
    }
    setPalette(lit);
}

void BacklightedGroupBox::leaveEvent(QEvent *event)
{
    QGroupBox::leaveEvent(event);
    if (m_backlighted && parentWidget())
        setPalette(parentWidget()->palette());
}
