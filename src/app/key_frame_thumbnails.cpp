#include "app/key_frame_thumbnails.h"

#include "toolkit/thumbnail_strip.h"
#include "view/thumbnail.h"

#include <unordered_map>

namespace hoofer {

KeyFrameThumbnails::KeyFrameThumbnails(toolkit::TThumbnailStrip &strip) : m_strip(strip)
{
    m_strip.OnDrawPicture = [this](int index) { return Draw(index); };
}

KeyFrameThumbnails::~KeyFrameThumbnails()
{
    m_strip.OnDrawPicture = nullptr;
}

void KeyFrameThumbnails::Show(const THFMove *move, int current, TColor background)
{
    m_move = move;
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
        if (!cell.known || cell.points != frame.Points) {
            cell.points = frame.Points;
            cell.known = true;
            cell.drawn = false;
            m_strip.MarkStale(static_cast<int>(i));
        } else if (!samePlaces) {
            if (cell.drawn)
                m_strip.SetPicture(static_cast<int>(i), cell.picture);
            else
                m_strip.MarkStale(static_cast<int>(i));
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

void KeyFrameThumbnails::Follow(const THFMove *move, int current, TColor background)
{
    const size_t count = move ? move->Frames.size() : 0;
    if (move != m_move || background != m_background || count != m_cells.size())
        Show(move, current, background);
    else
        m_strip.SetCurrent(current - 1);
}

QImage KeyFrameThumbnails::Draw(int index)
{
    Cell &cell = m_cells.at(static_cast<size_t>(index));
    if (!cell.drawn) {
        THFFrame pose;
        pose.Points = cell.points;
        cell.picture = DrawThumbnail(pose, m_background);
        cell.drawn = true;
        ++m_drawn;
    }
    return cell.picture;
}

void KeyFrameThumbnails::Clear()
{
    m_move = nullptr;
    m_cells.clear();
    m_strip.SetCount(0);
}

} // namespace hoofer
