#pragma once

#include "edit/skeleton.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace hoofer {

class RoutineEditor;
struct FrameState;

/// Nudges from the keyboard: a body part or the whole figure a point at a
/// time, or a limb turned a little with bone lengths kept. A run of nudges
/// on one key frame with nothing else between them is one step of the key
/// frame's own undo and one entry of the routine's history.
class NudgeRun {
public:
    explicit NudgeRun(RoutineEditor &editor) : m_editor(editor) {}

    /// Moves body part `part` by (dx, dy) points, held within 0..255; with
    /// keepBoneLengths and a part other than the Shoulders, turns its limb
    /// by 2 degrees instead, anticlockwise for dx < 0 or dy > 0. Returns
    /// whether the pose changed.
    bool NudgePart(int part, int dx, int dy, bool keepBoneLengths);
    /// Moves the whole figure by (dx, dy) points, stopping at the edge.
    bool NudgeFigure(int dx, int dy);

private:
    /// Starts a nudge: takes the undo snapshot unless the nudge continues
    /// the run. Returns whether it continues it.
    bool Begin();
    /// Pushes a nudged pose and notes where the run stands.
    bool End(const PosePoints &pose, const std::string &label, int part, const FrameState &before, bool continues);

    RoutineEditor &m_editor;
    // Where the run stood after its latest nudge: its key frame, the
    // routine's history and the length of the key frame's undo history.
    const THFFrame *m_frame = nullptr;
    std::uint64_t m_revision = 0;
    std::size_t m_undoSize = 0;
    // For a run of turns of one part: the pose it started from and the
    // angle so far.
    int m_turnPart = 0;
    PosePoints m_turnStart{};
    double m_turnDegrees = 0;
};

} // namespace hoofer
