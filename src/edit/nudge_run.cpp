#include "nudge_run.h"

#include "edit/routine_editor.h"

#include <algorithm>

namespace hoofer {

namespace {
constexpr double kNudgeDegrees = 2.0;
}

bool NudgeRun::Begin()
{
    const THFFrame *frame = m_editor.CurrentFrame();
    const bool continues = m_frame == frame && m_revision == m_editor.History().Revision()
                           && m_undoSize == frame->UndoList.size();
    if (!continues) {
        m_editor.PushUndoSnapshot();
        m_frame = frame;
        m_turnPart = 0;
    }
    return continues;
}

bool NudgeRun::End(const PosePoints &pose, const std::string &label, int part, const FrameState &before,
                   bool continues)
{
    FrameState after = FrameState::Of(*m_editor.CurrentFrame(), true);
    after.Points = pose;
    const bool moved = m_editor.PushPose(label, RoutineChange::Kind::Coordinates, part, before, std::move(after),
                                         kNudge, continues);
    m_revision = m_editor.History().Revision();
    m_undoSize = m_editor.CurrentFrame()->UndoList.size();
    return moved;
}

bool NudgeRun::NudgePart(int part, int dx, int dy, bool keepBoneLengths)
{
    if (!m_editor.CanEdit() || part < 1 || part > kPartCount)
        return false;
    const FrameState before = FrameState::Of(*m_editor.CurrentFrame(), true);
    const bool continues = Begin();
    PosePoints pose = m_editor.CurrentFrame()->Points;
    if (keepBoneLengths && part != 1) {
        // A run of turns of one part is computed from the pose it started
        // from: turning a short bone 2 degrees at a time from the rounded
        // pose of the previous turn could stay put for ever.
        if (!continues || m_turnPart != part) {
            m_turnPart = part;
            m_turnStart = pose;
            m_turnDegrees = 0;
        }
        m_turnDegrees += dx < 0 || dy > 0 ? kNudgeDegrees : -kNudgeDegrees;
        pose = Skeleton::TurnLimb(m_turnStart, part, m_turnDegrees);
    } else {
        m_turnPart = 0;
        TPoint &p = pose[part - 1];
        p = {std::clamp(p.X + dx, 0, kMaxCoordinate), std::clamp(p.Y + dy, 0, kMaxCoordinate)};
    }
    return End(pose, "Nudge " + BodyPartName(part), part, before, continues);
}

bool NudgeRun::NudgeFigure(int dx, int dy)
{
    if (!m_editor.CanEdit())
        return false;
    const FrameState before = FrameState::Of(*m_editor.CurrentFrame(), true);
    const bool continues = Begin();
    m_turnPart = 0;
    return End(Skeleton::ShiftFigure(m_editor.CurrentFrame()->Points, dx, dy), "Nudge Figure", 0, before, continues);
}

} // namespace hoofer
