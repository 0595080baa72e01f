#pragma once

#include "model/move.h"
#include "view/canvas.h"

#include <QImage>

#include <array>
#include <vector>

namespace hoofer {

namespace toolkit {
class TThumbnailStrip;
}

/// Keeps a thumbnail strip showing the key frames of one move: a thumbnail
/// of each pose with "number · interpolation" under it. Each thumbnail is
/// kept with the pose it shows and drawn again only when that key frame's
/// pose changed, and only as the strip paints it: the drag steps in the
/// preview between two paints of the strip cost one thumbnail, and key
/// frames that only moved to another place are not redrawn at all.
class KeyFrameThumbnails {
public:
    explicit KeyFrameThumbnails(toolkit::TThumbnailStrip &strip);
    ~KeyFrameThumbnails();
    KeyFrameThumbnails(const KeyFrameThumbnails &) = delete;
    KeyFrameThumbnails &operator=(const KeyFrameThumbnails &) = delete;

    /// Shows the key frames of move (none for no move) with key frame
    /// `current` (1-based, 0 none) framed, on the preview's background.
    void Show(const THFMove *move, int current, TColor background);
    /// Frames key frame `current` of the move shown; shows the move anew
    /// only when it is another move, another background or another number
    /// of key frames. For a change of the selection, not of the routine.
    void Follow(const THFMove *move, int current, TColor background);
    /// Forgets every thumbnail, as when the strip is put away.
    void Clear();
    /// How many thumbnails have been drawn so far.
    long long DrawnCount() const { return m_drawn; }

private:
    struct Cell {
        const THFFrame *frame = nullptr;
        std::array<TPoint, kPartCount> points{};  // the pose shown, or to be drawn
        bool known = false;                       // points hold the key frame's pose
        bool drawn = false;                       // picture shows points
        int number = 0;
        int interpolation = 0;
        QImage picture;
    };
    /// The thumbnail of cell index's pose, as the strip paints it.
    QImage Draw(int index);

    toolkit::TThumbnailStrip &m_strip;
    const THFMove *m_move = nullptr;
    std::vector<Cell> m_cells;
    TColor m_background = 0;
    long long m_drawn = 0;
};

} // namespace hoofer
