#include "toolkit/thumbnail_strip.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

namespace hoofer::toolkit {

TThumbnailStrip::TThumbnailStrip(QSize pictureSize, QWidget *parent)
    : QAbstractScrollArea(parent), m_pictureSize(pictureSize)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Only a click gives the row the keyboard: tabbing passes it by.
    setFocusPolicy(Qt::ClickFocus);
    horizontalScrollBar()->setSingleStep(ItemWidth() / 4);
    viewport()->setBackgroundRole(QPalette::Base);
}

int TThumbnailStrip::ViewportHeight() const
{
    return kMargin + m_pictureSize.height() + 2 + fontMetrics().height() + kMargin;
}

QSize TThumbnailStrip::sizeHint() const
{
    return {ItemWidth() * 4, ViewportHeight() + horizontalScrollBar()->sizeHint().height() + 2 * frameWidth()};
}

void TThumbnailStrip::SetCount(int count)
{
    m_items.assign(static_cast<size_t>(std::max(count, 0)), Item{});
    m_current = std::min(m_current, Count() - 1);
    m_pressed = m_dropPlace = -1;
    UpdateScrollRange();
    viewport()->update();
}

void TThumbnailStrip::SetPictureSize(QSize pictureSize)
{
    m_pictureSize = pictureSize;
    for (Item &item : m_items)
        item.stale = true;
    horizontalScrollBar()->setSingleStep(ItemWidth() / 4);
    updateGeometry();
    UpdateScrollRange();
    viewport()->update();
}

void TThumbnailStrip::SetPicture(int index, const QImage &picture)
{
    Item &item = m_items.at(index);
    item.picture = picture;
    item.stale = false;
    viewport()->update(ItemRect(index));
}

void TThumbnailStrip::MarkStale(int index)
{
    Item &item = m_items.at(index);
    if (item.stale)
        return;  // its place is already due for painting
    item.stale = true;
    viewport()->update(ItemRect(index));
}

void TThumbnailStrip::SetCaption(int index, const QString &caption, const QString &toolTip)
{
    m_items.at(index).caption = caption;
    m_items.at(index).toolTip = toolTip;
    viewport()->update(ItemRect(index));
}

bool TThumbnailStrip::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    // Each item has a tooltip of its own, shown while the pointer is on it.
    const auto *help = static_cast<QHelpEvent *>(event);
    const int index = ItemAt(help->pos());
    if (index >= 0 && !m_items[index].toolTip.isEmpty())
        QToolTip::showText(help->globalPos(), m_items[index].toolTip, viewport(), ItemRect(index));
    else
        QToolTip::hideText();
    return true;
}

void TThumbnailStrip::SetCurrent(int index)
{
    if (index < -1 || index >= Count())
        index = -1;
    if (index != m_current) {
        if (m_current >= 0)
            viewport()->update(ItemRect(m_current));
        m_current = index;
    }
    if (index < 0)
        return;
    QScrollBar *bar = horizontalScrollBar();
    const int left = index * ItemWidth();
    if (left < bar->value())
        bar->setValue(left);
    else if (left + ItemWidth() > bar->value() + viewport()->width())
        bar->setValue(left + ItemWidth() - viewport()->width());
    viewport()->update(ItemRect(index));
}

QRect TThumbnailStrip::ItemRect(int index) const
{
    return {index * ItemWidth() - horizontalScrollBar()->value(), 0, ItemWidth(), ViewportHeight()};
}

int TThumbnailStrip::ItemAt(QPoint where) const
{
    const int x = where.x() + horizontalScrollBar()->value();
    if (x < 0 || where.y() < 0 || where.y() >= ViewportHeight())
        return -1;
    const int index = x / ItemWidth();
    return index < Count() ? index : -1;
}

int TThumbnailStrip::DropPlaceAt(QPoint where) const
{
    const int x = where.x() + horizontalScrollBar()->value();
    return std::clamp(x / ItemWidth(), 0, Count() - 1);
}

void TThumbnailStrip::UpdateScrollRange()
{
    QScrollBar *bar = horizontalScrollBar();
    bar->setRange(0, std::max(0, Count() * ItemWidth() - viewport()->width()));
    bar->setPageStep(viewport()->width());
}

void TThumbnailStrip::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void TThumbnailStrip::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const int scroll = horizontalScrollBar()->value();
    const int first = std::max(0, (dirty.left() + scroll) / ItemWidth());
    const int last = std::min(Count() - 1, (dirty.right() + scroll) / ItemWidth());
    const QPalette &colours = palette();
    for (int i = first; i <= last; ++i) {
        const QRect cell = ItemRect(i);
        const QRect picture(cell.left() + kMargin, kMargin, m_pictureSize.width(), m_pictureSize.height());
        Item &item = m_items[i];
        if (item.stale && OnDrawPicture) {
            item.picture = OnDrawPicture(i);
            item.stale = false;
        }
        if (Marked(i))
            painter.fillRect(cell, colours.color(QPalette::Active, QPalette::Highlight));
        painter.drawImage(picture.topLeft(), item.picture);
        if (i == m_current) {
            // Framed in the selection colour even while the strip is locked.
            // Within a marked run the frame stands out in the text colour on the highlight.
            painter.setPen(QPen(colours.color(QPalette::Active, Marked(i) ? QPalette::HighlightedText : QPalette::Highlight), 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(picture.adjusted(-1, -1, 1, 1));
        }
        painter.setPen(colours.color(Marked(i) ? QPalette::HighlightedText : QPalette::Text));
        painter.drawText(QRect(cell.left(), picture.bottom() + 3, cell.width(), fontMetrics().height()),
                         Qt::AlignHCenter | Qt::AlignTop, item.caption);
    }
    if (m_dropPlace >= 0 && m_dropPlace != m_pressed) {
        // The marker stands on the side of the place the item moves past.
        const QRect place = ItemRect(m_dropPlace);
        const int x = m_dropPlace > m_pressed ? place.right() - 1 : place.left();
        painter.fillRect(x, 0, 2, ViewportHeight(), colours.color(QPalette::Active, QPalette::Highlight));
    }
}

void TThumbnailStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int index = ItemAt(event->position().toPoint());
    m_pressPoint = event->position().toPoint();
    m_dropPlace = -1;
    if (event->modifiers() & Qt::ShiftModifier) {
        // Extending the selection starts no drag.
        m_pressed = -1;
        if (index >= 0 && OnExtend)
            OnExtend(index);
        return;
    }
    m_pressed = index;
    if (m_pressed >= 0 && OnSelect)
        OnSelect(m_pressed);
}

void TThumbnailStrip::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers others = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    const int by = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1 : 0;
    if (by == 0 || others || !OnStep) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    OnStep(by, event->modifiers() & Qt::ShiftModifier);
    event->accept();
}

void TThumbnailStrip::SetMarked(int first, int last)
{
    if (first > last || first < 0)
        first = last = -1;
    if (first == m_markedFirst && last == m_markedLast)
        return;
    m_markedFirst = first;
    m_markedLast = last;
    viewport()->update();
}

void TThumbnailStrip::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressed < 0 || !(event->buttons() & Qt::LeftButton) || m_pressed >= Count())
        return;
    const QPoint where = event->position().toPoint();
    if (m_dropPlace < 0 && (where - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
        return;
    // Held beyond an end, the row scrolls by a step for each mouse move.
    QScrollBar *bar = horizontalScrollBar();
    if (where.x() < 0)
        bar->setValue(bar->value() - bar->singleStep());
    else if (where.x() >= viewport()->width())
        bar->setValue(bar->value() + bar->singleStep());
    const int place = DropPlaceAt(where);
    if (place != m_dropPlace) {
        m_dropPlace = place;
        viewport()->update();
    }
}

void TThumbnailStrip::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int from = m_pressed, to = m_dropPlace;
    m_pressed = m_dropPlace = -1;
    viewport()->update();
    if (from >= 0 && to >= 0 && from != to && to < Count() && OnMove)
        OnMove(from, to);
}

void TThumbnailStrip::contextMenuEvent(QContextMenuEvent *event)
{
    const int index = ItemAt(event->pos());
    if (index >= 0 && OnContextMenu)
        OnContextMenu(index, event->globalPos());
}

void TThumbnailStrip::wheelEvent(QWheelEvent *event)
{
    // The row has only one way to go: either wheel scrolls it sideways.
    const QPoint delta = event->angleDelta();
    const int steps = delta.x() != 0 ? delta.x() : delta.y();
    QScrollBar *bar = horizontalScrollBar();
    bar->setValue(bar->value() - steps * bar->singleStep() / 120);
    event->accept();
}

} // namespace hoofer::toolkit
