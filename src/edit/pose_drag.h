#pragma once

#include "edit/history_commands.h"
#include "edit/limb_reach.h"

#include <cstdint>
#include <optional>

namespace hoofer {

class RoutineEditor;

/// How a drag step places what it drags: snapped to the grid, and with
/// Keep Bone Lengths turning a limb (or moving the whole figure) rather than
/// placing one point, keeping the pinned ends where they are as the body
/// moves, and with Reach taking a Hand or an Ankle to the pointer.
struct DragOptions {
    bool Snap = false;
    int Grid = 1;
    bool KeepBoneLengths = false;
    PinnedEnds Pins{};
    bool Reach = false;
};

/// Posing a body part with the mouse, from the press to the release, in
/// points: the press takes the key frame's undo snapshot and picks the part
/// under the pointer, every step pushes the pose into the editor (one entry
/// of the routine's history for the whole drag), and Escape withdraws it,
/// bringing the pose of the press back. Any other change of the routine
/// during a press ends the drag: the mouse poses nothing more until the
/// release.
class PoseDrag {
public:
    explicit PoseDrag(RoutineEditor &editor) : m_editor(editor) {}

    /// A press at a point: returns the body part hit (1..12), or 0, which
    /// blocks dragging until the release.
    int Press(TPoint at);
    /// The pointer at a point with the left button held and dragging asked
    /// for (Shift, or Drag Without Shift): puts body part `part` there.
    /// Returns whether it moved a part.
    bool Step(int part, TPoint at, const DragOptions &options);
    void Release();
    /// Escape: cancels a drag under way. Returns whether there was one.
    bool Cancel();
    /// Mouse moves are ignored until the next release: a file chosen for
    /// loading with a double click must not drag with the click's release.
    void BlockUntilRelease() { m_blocked = true; }

    /// From the first step that moved a part until the release.
    bool Dragging() const { return m_dragging; }
    bool Blocked() const { return m_blocked; }
    /// A press on a body part is held, and may become a drag.
    bool Holding() const { return m_pressed && !m_blocked; }

private:
    /// Whether the routine is as the press or the last step left it.
    bool Undisturbed() const;
    void End();

    RoutineEditor &m_editor;
    /// The key frame pressed on, with its pose and histories before the
    /// press, and where it is.
    std::optional<FrameState> m_pressed;
    EditSelection m_where;
    const THFFrame *m_target = nullptr;
    std::uint64_t m_revision = 0;
    bool m_dragging = false;
    /// The drag has its entry in the routine's history.
    bool m_pushed = false;
    bool m_blocked = false;
};

} // namespace hoofer
