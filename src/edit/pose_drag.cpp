#include "pose_drag.h"

#include "edit/grid_snap.h"
#include "edit/routine_editor.h"

namespace hoofer {

int PoseDrag::Press(TPoint at)
{
    End();
    m_blocked = false;
    const THFFrame *frame = m_editor.CurrentFrame();
    const int hit = frame ? HitBodyPart(*frame, at) : 0;
    if (frame) {
        m_pressed = FrameState::Of(*frame, true);
        m_where = m_editor.Selection();
        m_target = frame;
        m_editor.PushUndoSnapshot();
        m_revision = m_editor.History().Revision();
    }
    if (hit == 0)
        m_blocked = true;
    return hit;
}

bool PoseDrag::Undisturbed() const
{
    return m_pressed && m_editor.CurrentFrame() == m_target && m_editor.History().Revision() == m_revision;
}

bool PoseDrag::Step(int part, TPoint at, const DragOptions &options)
{
    if (m_blocked || part < 1 || part > kPartCount)
        return false;
    // A drag poses the key frame pressed on, and no other; any change in
    // between ends it.
    if (!Undisturbed()) {
        if (m_pressed) {
            End();
            m_blocked = true;
        }
        return false;
    }
    const THFFrame &frame = *m_editor.CurrentFrame();
    FrameState after = FrameState::Of(frame, true);
    if (options.KeepBoneLengths)
        after.Points = DragWithLimbs(m_pressed->Points, part, at.X, at.Y, options.Snap, options.Grid, options.Pins,
                                     options.Reach);
    else
        after.Points[part - 1] = {SnapCoordinate(at.X, options.Snap, options.Grid),
                                  SnapCoordinate(at.Y, options.Snap, options.Grid)};
    m_dragging = true;
    if (after.Points == frame.Points)
        return true;
    // Every step is measured from the press, so the entry goes from the
    // press's pose (histories and all) to this step's; the steps after the
    // first fold into it.
    m_editor.PushPose("Drag " + BodyPartName(part), RoutineChange::Kind::Coordinates, part, *m_pressed,
                      std::move(after), kDrag, m_pushed);
    m_pushed = true;
    m_revision = m_editor.History().Revision();
    return true;
}

void PoseDrag::Release()
{
    // A drag that ends where it began is no change: its entry goes, and the
    // key frame keeps the undo snapshot of the press.
    if (m_pushed && Undisturbed() && m_editor.CurrentFrame()->Points == m_pressed->Points) {
        m_editor.WithdrawChange();
        m_editor.PushUndoSnapshot();
    }
    End();
    m_blocked = false;
}

bool PoseDrag::Cancel()
{
    if (!m_dragging || !Undisturbed())
        return false;
    if (m_pushed)
        m_editor.WithdrawChange();
    End();
    // A cancelled drag is over: the mouse poses nothing more until the release.
    m_blocked = true;
    return true;
}

void PoseDrag::End()
{
    m_pressed.reset();
    m_target = nullptr;
    m_dragging = m_pushed = false;
}

} // namespace hoofer
