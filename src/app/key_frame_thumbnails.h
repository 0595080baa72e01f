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
/// pose changed, so a drag step in the preview redraws one thumbnail, and
/// key frames that only moved to another place are not redrawn at all.
class KeyFrameThumbnails {
public:
    explicit KeyFrameThumbnails(toolkit::TThumbnailStrip &strip) : m_strip(strip) {}

    /// Shows the key frames of move (none for no move) with key frame
    /// `current` (1-based, 0 none) framed, on the preview's background.
    void Show(const THFMove *move, int current, TColor background);
    /// Forgets every thumbnail, as when the strip is put away.
    void Clear();
    /// How many thumbnails have been drawn so far.
    long long DrawnCount() const { return m_drawn; }

private:
    struct Cell {
        const THFFrame *frame = nullptr;
        std::array<TPoint, kPartCount> points{};
        int number = 0;
        int interpolation = 0;
        QImage picture;
    };

    toolkit::TThumbnailStrip &m_strip;
    std::vector<Cell> m_cells;
    TColor m_background = 0;
    long long m_drawn = 0;
};

} // namespace hoofer
