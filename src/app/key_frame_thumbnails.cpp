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

void KeyFrameThumbnails::Show(const THFMove *move, int moveIndex, int current, TColor background)
{
    m_moveIndex = moveIndex;
    const size_t count = move ? static_cast<size_t>(move->FrameCount) : 0;
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
    for (size_t i = 0; i < count; ++i)
        Update(i, *move->Frames[i], !samePlaces);
    m_strip.SetCurrent(current - 1);
}

void KeyFrameThumbnails::Update(size_t index, const THFFrame &frame, bool placed)
{
    Cell &cell = m_cells[index];
    const int i = static_cast<int>(index);
    if (!cell.known || cell.points != frame.Points) {
        cell.points = frame.Points;
        cell.known = true;
        cell.drawn = false;
        m_strip.MarkStale(i);
    } else if (placed) {
        if (cell.drawn)
            m_strip.SetPicture(i, cell.picture);
        else
            m_strip.MarkStale(i);
    }
    if (cell.number != i + 1 || cell.interpolation != frame.Interpolation) {
        cell.number = i + 1;
        cell.interpolation = frame.Interpolation;
        m_strip.SetCaption(i, QString("%1 · %2").arg(i + 1).arg(frame.Interpolation),
                           QString("Key frame %1, %2 in-between steps").arg(i + 1).arg(frame.Interpolation));
    }
}

void KeyFrameThumbnails::Changed(const RoutineChange &change, const THFMove *move, TColor background)
{
    using Kind = RoutineChange::Kind;
    switch (change.kind) {
    case Kind::Mark:
    case Kind::File:
    case Kind::History:
    case Kind::MoveName:
    case Kind::Reference:
        return;
    case Kind::Coordinates:
    case Kind::Pose: {
        const size_t index = static_cast<size_t>(change.frame - 1);
        if (move && change.move == m_moveIndex && background == m_background && change.frame >= 1
            && index < m_cells.size() && m_cells[index].frame == move->Frames[index].get()) {
            Update(index, *move->Frames[index], false);
            return;
        }
        break;
    }
    case Kind::KeyFrames:
    case Kind::Moves:
    case Kind::Routine:
        break;
    }
    Show(move, change.selectedMove, change.selectedFrame, background);
}

void KeyFrameThumbnails::Follow(const THFMove *move, int moveIndex, int current, TColor background)
{
    if (moveIndex != m_moveIndex || background != m_background)
        Show(move, moveIndex, current, background);
    else
        m_strip.SetCurrent(current - 1);
}

QImage KeyFrameThumbnails::Draw(int index)
{
    Cell &cell = m_cells.at(static_cast<size_t>(index));
    if (!cell.drawn) {
        THFFrame pose;
        pose.Points = cell.points;
        cell.picture = DrawThumbnail(pose, m_background, m_scale, BackdropOf ? BackdropOf(index + 1) : QImage());
        cell.drawn = true;
        ++m_drawn;
    }
    return cell.picture;
}

void KeyFrameThumbnails::SetScale(int scale)
{
    if (scale == m_scale)
        return;
    m_scale = scale;
    for (Cell &cell : m_cells)
        cell.drawn = false;
    m_strip.SetPictureSize(QSize(kThumbnailWidth * scale, kThumbnailHeight * scale));
}

void KeyFrameThumbnails::Invalidate()
{
    for (size_t i = 0; i < m_cells.size(); ++i) {
        m_cells[i].drawn = false;
        m_strip.MarkStale(static_cast<int>(i));
    }
}

void KeyFrameThumbnails::Clear()
{
    m_moveIndex = -1;
    m_cells.clear();
    m_strip.SetCount(0);
}

} // namespace hoofer
