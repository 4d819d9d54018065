#include "panelbutton.h"

namespace {

constexpr int TextPadding = 24;

} // namespace

PanelButton::PanelButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    setMinimumWidth(fontMetrics().horizontalAdvance(text) + TextPadding);
}
