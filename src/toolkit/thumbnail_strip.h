#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace hoofer::toolkit {

/// A row of pictures with a caption under each, scrolled sideways pixel by
/// pixel: one item is framed as the current one and kept in view, and a run
/// of items can be marked as selected with it. A press on an item selects
/// it, a press with Shift extends the selection to it, dragging an item
/// drops it onto another place, and a right-click asks for a menu. Once
/// clicked, the row takes Left and Right, with or without Shift. Only the
/// items in view are painted, so a row of hundreds scrolls as smoothly as a
/// row of three.
class TThumbnailStrip : public QAbstractScrollArea {
public:
    /// The pictures are drawn at pictureSize; each item is that wide plus
    /// a margin on both sides.
    explicit TThumbnailStrip(QSize pictureSize, QWidget *parent = nullptr);

    int Count() const { return static_cast<int>(m_items.size()); }
    /// Makes count items (the new ones empty) and forgets where a drag was.
    void SetCount(int count);
    void SetPicture(int index, const QImage &picture);
    /// Pictures are drawn at pictureSize from now on: every item is stale.
    void SetPictureSize(QSize pictureSize);
    QSize PictureSize() const { return m_pictureSize; }
    /// Marks item index's picture as out of date: OnDrawPicture gives it
    /// anew when the item is next painted, so an item changed several times
    /// between two paints, or never scrolled into view, is drawn once or not
    /// at all.
    void MarkStale(int index);
    /// The caption under item index, and the tooltip the item shows (none
    /// when empty).
    void SetCaption(int index, const QString &caption, const QString &toolTip = {});
    const QImage &Picture(int index) const { return m_items.at(index).picture; }
    const QString &Caption(int index) const { return m_items.at(index).caption; }
    const QString &ToolTip(int index) const { return m_items.at(index).toolTip; }
    /// Frames item index (-1 none) and scrolls so that it is in view.
    void SetCurrent(int index);
    int Current() const { return m_current; }
    /// Marks items first..last as selected (-1, -1: none marked).
    void SetMarked(int first, int last);
    bool Marked(int index) const { return index >= m_markedFirst && index <= m_markedLast; }

    /// Where item index lies in the viewport now.
    QRect ItemRect(int index) const;
    /// The item under a point of the viewport, or -1.
    int ItemAt(QPoint where) const;

    /// The picture of a stale item, asked for as the item is painted.
    std::function<QImage(int index)> OnDrawPicture;
    /// A press of the left button on an item.
    std::function<void(int index)> OnSelect;
    /// A press of the left button with Shift on an item.
    std::function<void(int index)> OnExtend;
    /// Left (by -1) or Right (by 1), with Shift (extend) or without.
    std::function<void(int by, bool extend)> OnStep;
    /// An item dragged from one place onto another.
    std::function<void(int from, int to)> OnMove;
    /// A right-click on an item, at a point of the screen.
    std::function<void(int index, QPoint global)> OnContextMenu;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Item {
        QImage picture;
        QString caption;
        QString toolTip;
        bool stale = false;
    };
    int ItemWidth() const { return m_pictureSize.width() + 2 * kMargin; }
    int ViewportHeight() const;
    /// The place a drag would drop onto at a point of the viewport.
    int DropPlaceAt(QPoint where) const;
    void UpdateScrollRange();

    static constexpr int kMargin = 4;
    QSize m_pictureSize;
    std::vector<Item> m_items;
    int m_current = -1;
    int m_markedFirst = -1, m_markedLast = -1;
    int m_pressed = -1;    // the item a left press is on, until the release
    QPoint m_pressPoint;
    int m_dropPlace = -1;  // where the drag under way would drop, or -1
};

} // namespace hoofer::toolkit
