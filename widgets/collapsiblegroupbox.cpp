#include "collapsiblegroupbox.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {
constexpr int CollapsedMargin = 2;
}

CollapsibleGroupBox::CollapsibleGroupBox(QWidget *parent)
    : CollapsibleGroupBox(QString(), parent)
{ }

CollapsibleGroupBox::CollapsibleGroupBox(const QString &title, QWidget *parent)
    : BacklightedGroupBox(parent)
    , m_title(title)
    , m_savedSizePolicy(sizePolicy())
{
    // The own layout is installed only by takeComponents(), so that a designer form can
    // still give the box a layout of its own, which then moves into the container.
    m_layout = new QVBoxLayout;
    m_collapsedLabel = new QLabel(tr("Click the title to expand"), this);
    m_collapsedLabel->setAlignment(Qt::AlignCenter);
    m_container = new QWidget(this);
    m_layout->addWidget(m_collapsedLabel);
    m_layout->addWidget(m_container);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_collapsedLabel->hide();
    m_container->hide();
    updateTitle();
}

CollapsibleGroupBox::~CollapsibleGroupBox()
{
    if (layout() != m_layout)
        delete m_layout;
}

void CollapsibleGroupBox::setTitle(const QString &title)
{
    m_title = title;
    updateTitle();
}

QLabel *CollapsibleGroupBox::collapsedLabel()
{
    takeComponents();
    return m_collapsedLabel;
}

QWidget *CollapsibleGroupBox::containerWidget()
{
    takeComponents();
    return m_container;
}

void CollapsibleGroupBox::setCollapsed(bool value)
{
    const bool previous = m_collapsed;
    m_collapsed = value;

    m_collapsedLabel->hide();
    m_container->hide();
    if (value)
        m_collapsedLabel->show();
    else
        m_container->show();

    const int margin = value ? CollapsedMargin : 0;
    m_layout->setContentsMargins(margin, margin, margin, margin);
    updateTitle();

    if (previous == value)
        return;

    if (value) {
        m_savedSizePolicy = sizePolicy();
        QSizePolicy folded = m_savedSizePolicy;
        folded.setVerticalPolicy(QSizePolicy::Maximum);
        setSizePolicy(folded);
    } else {
        setSizePolicy(m_savedSizePolicy);
    }
    emit toggled(value);
}

void CollapsibleGroupBox::mousePressEvent(QMouseEvent *event)
{
    BacklightedGroupBox::mousePressEvent(event);
    m_pressed = event->button() == Qt::LeftButton;
}

void CollapsibleGroupBox::mouseReleaseEvent(QMouseEvent *event)
{
    BacklightedGroupBox::mouseReleaseEvent(event);
    const bool click
        = m_pressed && event->button() == Qt::LeftButton && titleStrip().contains(event->pos());
    m_pressed = false;
    if (!click)
        return;
    const bool target = !m_collapsed;
    emit clicked(target);
    setCollapsed(target);
}

void CollapsibleGroupBox::showEvent(QShowEvent *event)
{
    BacklightedGroupBox::showEvent(event);
    takeComponents();
    setCollapsed(m_collapsed);
}

void CollapsibleGroupBox::takeComponents()
{
    if (layout() != m_layout) {
        if (QLayout *designed = layout())
            m_container->setLayout(designed); // takes it off the box, children follow
        setLayout(m_layout);
    }
    const auto children = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child != m_container && child != m_collapsedLabel && !child->isWindow())
            child->setParent(m_container);
    }
}

void CollapsibleGroupBox::updateTitle()
{
    const QString prefix = m_collapsed ? QStringLiteral(" >  ") : QStringLiteral(" V  ");
    QGroupBox::setTitle(prefix + m_title);
}

// From the box's top edge down to the visible child, less the layout margin.
QRect CollapsibleGroupBox::titleStrip() const
{
    const QWidget *visibleChild
        = m_collapsed ? static_cast<QWidget *>(m_collapsedLabel) : m_container;
    const int margin = m_layout->contentsMargins().top();
    return QRect(0, 0, width(), visibleChild->y() - margin);
}
