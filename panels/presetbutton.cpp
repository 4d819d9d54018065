#include "presetbutton.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionToolButton>

namespace {

// Room for a letter and the ellipsis at least.
const QString ShortestShown = QStringLiteral("W\u2026");

} // namespace

PresetButton::PresetButton(int presetId, QWidget *parent)
    : QToolButton(parent)
    , m_presetId(presetId)
    , m_menu(new QMenu(this))
{
    connect(m_menu->addAction(tr("&Rename preset")), &QAction::triggered, this,
        &PresetButton::onRenameActionClicked);
    connect(m_menu->addAction(tr("&Update preset with current values")), &QAction::triggered, this,
        &PresetButton::onUpdateActionClicked);
    m_menu->addSeparator();
    connect(m_menu->addAction(tr("&Delete preset")), &QAction::triggered, this,
        &PresetButton::onDeleteActionClicked);
    // The layout gives the width; the name adapts to it.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setMinimumWidth(fontMetrics().horizontalAdvance(ShortestShown) + textPadding());
}

void PresetButton::setName(const QString &name)
{
    m_name = name;
    setToolTip(name);
    doElide();
}

void PresetButton::onRenameActionClicked()
{
    emit renameRequested(m_presetId);
}

void PresetButton::onUpdateActionClicked()
{
    emit updateRequested(m_presetId);
}

void PresetButton::onDeleteActionClicked()
{
    emit deleteRequested(m_presetId);
}

void PresetButton::contextMenuEvent(QContextMenuEvent *event)
{
    m_menu->popup(event->globalPos());
}

void PresetButton::resizeEvent(QResizeEvent *event)
{
    QToolButton::resizeEvent(event);
    doElide();
}

void PresetButton::changeEvent(QEvent *event)
{
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        doElide();
}

void PresetButton::doElide()
{
    m_shownName
        = fontMetrics().elidedText(m_name, Qt::ElideRight, qMax(0, width() - textPadding()));
    // A name's "&" is a character, not a mnemonic.
    QString text = m_shownName;
    setText(text.replace(QLatin1Char('&'), QLatin1String("&&")));
}

// What the style draws around the text, as QToolButton sizes itself.
int PresetButton::textPadding() const
{
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    const int spaces = 2 * fontMetrics().horizontalAdvance(QLatin1Char(' '));
    return style()
        ->sizeFromContents(
            QStyle::CT_ToolButton, &option, QSize(spaces, fontMetrics().height()), this)
        .width();
}
