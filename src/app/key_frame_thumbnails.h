#pragma once

#include "edit/routine_change.h"
#include "model/move.h"
#include "view/canvas.h"

#include <QImage>

#include <array>
#include <functional>
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

    /// Shows the key frames of move (none for no move), the move of index
    /// moveIndex, with key frame `current` (1-based, 0 none) framed, on the
    /// preview's background.
    void Show(const THFMove *move, int moveIndex, int current, TColor background);
    /// After a change of the routine, move being the current move: a change
    /// of one key frame's pose in the move shown looks at that key frame
    /// only; a change of key frames, moves or the routine shows the move the
    /// change selected anew; the mark and a history alone change nothing.
    void Changed(const RoutineChange &change, const THFMove *move, TColor background);
    /// Frames key frame `current` of the move shown; shows the move anew
    /// only when it is another move or another background. For a change of
    /// the selection: every change of the routine is told to Changed.
    void Follow(const THFMove *move, int moveIndex, int current, TColor background);
    /// Forgets every thumbnail, as when the strip is put away.
    void Clear();
    /// Thumbnails at scale 1 or 2 (see DrawThumbnail) from now on, the strip's
    /// pictures as large; every thumbnail is drawn anew as it is next shown.
    void SetScale(int scale);
    int Scale() const { return m_scale; }
    /// What key frame `number` (1-based) of the move shown is drawn over:
    /// an image of half the preview's size, or none.
    std::function<QImage(int number)> BackdropOf;
    /// Every thumbnail is drawn anew as it is next shown: what is behind
    /// them changed.
    void Invalidate();
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
    /// Brings cell index in line with its key frame: the thumbnail marked
    /// for drawing when the pose differs, or handed to the strip again when
    /// the cell came to another place; the caption when it differs.
    void Update(size_t index, const THFFrame &frame, bool placed);

    toolkit::TThumbnailStrip &m_strip;
    int m_moveIndex = -1;
    std::vector<Cell> m_cells;
    TColor m_background = 0;
    int m_scale = 1;
    long long m_drawn = 0;
};

} // namespace hoofer
