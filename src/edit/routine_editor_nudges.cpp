// The editing core's nudges from the keyboard: one body part or the whole
// figure a point at a time, or a limb turned a little with bone lengths kept.
#include "routine_editor.h"

#include <algorithm>

namespace hoofer {

namespace {
constexpr double kNudgeDegrees = 2.0;
/// Nudges are one run of the routine's history apart from every other change.
constexpr int kNudgeRun = 4;
}

bool RoutineEditor::BeginNudge()
{
    const bool continues = m_nudgeFrame == m_currentFrame && m_nudgeEdits == m_edits
                           && m_nudgeHistory == m_currentFrame->UndoList.size();
    if (!continues) {
        PushUndoSnapshot();
        m_nudgeFrame = m_currentFrame;
        m_turnPart = 0;
    }
    return continues;
}

bool RoutineEditor::EndNudge(const PosePoints &pose, const std::string &label, int part, const FrameState &before,
                             bool continues)
{
    const bool moved = pose != m_currentFrame->Points;
    if (moved) {
        m_currentFrame->Points = pose;
        RecordPose(label, Change::Coordinates, part, before, kNudgeRun, continues);
    }
    m_nudgeEdits = m_edits;
    m_nudgeHistory = m_currentFrame->UndoList.size();
    return moved;
}

bool RoutineEditor::NudgePart(int part, int dx, int dy)
{
    if (!m_currentMove || !m_currentFrame || part < 1 || part > kPartCount)
        return false;
    BeginChange();
    const FrameState before = FrameState::Of(*m_currentFrame, true);
    const bool continues = BeginNudge();
    PosePoints pose = m_currentFrame->Points;
    if (m_keepBoneLengths && part != 1) {
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
    return EndNudge(pose, "Nudge " + BodyPartName(part), part, before, continues);
}

bool RoutineEditor::NudgeFigure(int dx, int dy)
{
    if (!m_currentMove || !m_currentFrame)
        return false;
    BeginChange();
    const FrameState before = FrameState::Of(*m_currentFrame, true);
    const bool continues = BeginNudge();
    m_turnPart = 0;
    return EndNudge(Skeleton::ShiftFigure(m_currentFrame->Points, dx, dy), "Nudge Figure", 0, before, continues);
}

} // namespace hoofer
