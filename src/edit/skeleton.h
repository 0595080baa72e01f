#pragma once

#include "model/frame.h"

#include <array>
#include <bitset>

namespace hoofer {

/// The twelve points of a pose, in body-part order (a key frame's Points).
using PosePoints = std::array<TPoint, kPartCount>;
/// A set of body parts, by number (bit 0 unused).
using PartSet = std::bitset<kPartCount + 1>;

/// The skeleton as a tree, for posing with bones that keep their length: the
/// Shoulders are the root, the elbows and the Lower Body hang from them, each
/// hand from its elbow, each knee from the Lower Body, each ankle from its
/// knee and each foot from its ankle. The functions compute a whole pose from
/// the pose at the start of a gesture, never from the previous step, so that
/// rounding never builds up; every point is rounded to the nearest integer
/// and then held within 0..255.
class Skeleton {
public:
    /// The angle step a snapped turn keeps to, in degrees.
    static constexpr int kSnapDegrees = 15;

    /// The part at the other end of the bone that ends at `part` (1..12);
    /// 0 for the Shoulders.
    static int Parent(int part);
    /// Whether `part` hangs from `ancestor`, directly or further down.
    static bool HangsFrom(int part, int ancestor);

    /// `part` (not the Shoulders) and every part below it turned about
    /// `part`'s parent by `degrees`, anticlockwise on screen.
    static PosePoints TurnLimb(const PosePoints &pressed, int part, double degrees);
    /// The turn of `part` about its parent that makes it point at (x, y) in
    /// point space; with `snap` the bone's direction lands on a multiple of
    /// 15 degrees. A pointer on the parent itself leaves the pose as it was.
    static PosePoints PointLimbAt(const PosePoints &pressed, int part, int x, int y, bool snap);

    /// Every part moved by (dx, dy), the offset held back where a part would
    /// leave 0..255, so the figure keeps its shape at the edge. The parts in
    /// `placedAfter` (a pinned limb's, placed again afterwards) hold nothing back.
    static PosePoints ShiftFigure(const PosePoints &pose, int dx, int dy, const PartSet &placedAfter = {});
    /// The whole-figure drag: the Shoulders go to (x, y) in point space,
    /// snapped to the grid as a dragged point is, and every other part moves
    /// by the same offset (held back at the edge).
    static PosePoints MoveFigureTo(const PosePoints &pressed, int x, int y, bool snap, int grid,
                                   const PartSet &placedAfter = {});

    /// A drag of `part` with bone lengths kept: the whole figure for the
    /// Shoulders, a turn of the limb for any other part.
    static PosePoints Drag(const PosePoints &pressed, int part, int x, int y, bool snap, int grid);
};

} // namespace hoofer
