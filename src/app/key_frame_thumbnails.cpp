#include "app/key_frame_thumbnails.h"

#include "toolkit/thumbnail_strip.h"
#include "view/thumbnail.h"

#include <unordered_map>

namespace hoofer {

void KeyFrameThumbnails::Show(const THFMove *move, int current, TColor background)
{
    const size_t count = move ? move->Frames.size() : 0;
    if (background != m_background) {
        m_background = background;
        m_cells.clear();
    }
    bool samePlaces = count == m_cells.size();
    for (size_t i = 0; samePlaces && i < count; ++i)
        samePlaces = m_cells[i].frame == move->Frames[i].get();
    if (!samePlaces) {
        // Key frames came, went or moved: each keeps its thumbnail, found by
        // the key frame itself. A freed key frame's address may come back
        // for a new one, which the pose comparison below then catches.
        std::unordered_map<const THFFrame *, Cell> kept;
        for (Cell &cell : m_cells)
            kept.emplace(cell.frame, std::move(cell));
        m_cells.assign(count, Cell{});
        for (size_t i = 0; i < count; ++i) {
            const auto found = kept.find(move->Frames[i].get());
            if (found != kept.end())
                m_cells[i] = std::move(found->second);
            m_cells[i].frame = move->Frames[i].get();
            m_cells[i].number = 0;  // the caption is written anew
        }
        m_strip.SetCount(static_cast<int>(count));
    }
    for (size_t i = 0; i < count; ++i) {
        Cell &cell = m_cells[i];
        const THFFrame &frame = *move->Frames[i];
        if (cell.picture.isNull() || cell.points != frame.Points || !samePlaces) {
            if (cell.picture.isNull() || cell.points != frame.Points) {
                cell.picture = DrawThumbnail(frame, background);
                cell.points = frame.Points;
                ++m_drawn;
            }
            m_strip.SetPicture(static_cast<int>(i), cell.picture);
        }
        const int number = static_cast<int>(i) + 1;
        if (cell.number != number || cell.interpolation != frame.Interpolation) {
            cell.number = number;
            cell.interpolation = frame.Interpolation;
            m_strip.SetCaption(static_cast<int>(i), QString("%1 · %2").arg(number).arg(frame.Interpolation));
        }
    }
    m_strip.SetCurrent(current - 1);
}

void KeyFrameThumbnails::Clear()
{
    m_cells.clear();
    m_strip.SetCount(0);
}

} // namespace hoofer
