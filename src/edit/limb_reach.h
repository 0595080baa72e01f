#pragma once

#include "edit/skeleton.h"

#include <optional>

namespace hoofer {

/// The ends of limbs pinned where they are: Hands and Ankles, by body part.
using PinnedEnds = PartSet;

/// A limb of two bones from the body: Shoulders → Elbow → Hand for an arm,
/// Lower Body → Knee → Ankle for a leg. A leg's Foot goes with its Ankle as
/// one piece (follower; 0 for an arm).
struct Limb {
    int root = 0;
    int joint = 0;
    int end = 0;
    int follower = 0;
};

/// The limb whose end a Hand or an Ankle is; none for any other part.
std::optional<Limb> LimbEndingAt(int part);
/// The end a pin on `part` holds: a Hand or an Ankle itself, a Foot its
/// Ankle; 0 for a part that cannot be pinned.
int PinnableEnd(int part);

/// Where the joint and the end of a two-bone limb go so that the end reaches
/// `target` from `root`, the bones `upper` and `lower` long, the joint on
/// the side `side` (1: anticlockwise from root→end, -1: clockwise). Out of
/// reach the limb lies straight towards the target at its length; too near
/// it folds. A target on the root points the limb along `fallback`.
struct TwoBonePlacement {
    double jointX, jointY, endX, endY;
};
TwoBonePlacement SolveTwoBone(double rootX, double rootY, double upper, double lower, double targetX, double targetY,
                              int side, double fallbackX, double fallbackY);

/// The limb ending at `end` in `posed` (its root where `posed` has it) solved
/// again so that its end reaches `target`: bone lengths and the side the
/// joint bends to are those of `pressed`, a Foot keeps its offset from its
/// Ankle, and every point is rounded and held within 0..255.
PosePoints ReachWith(const PosePoints &pressed, const PosePoints &posed, int end, TPoint target);

/// `posed` with every pinned end put back where `pressed` has it, its limb
/// solved again: the body moved, the planted feet and hands did not.
PosePoints KeepPinned(const PosePoints &pressed, PosePoints posed, const PinnedEnds &pins);

/// A drag with bone lengths kept (Skeleton::Drag), with the limbs' ends: a
/// drag that moves the body (the Shoulders moving the figure, the Lower Body
/// turning about them) keeps the pinned ends where they were, and a Hand or
/// an Ankle dragged with `reach` goes to the pointer (held within 0..255
/// and snapped), its elbow or knee bending to suit.
PosePoints DragWithLimbs(const PosePoints &pressed, int part, int x, int y, bool snap, int grid,
                         const PinnedEnds &pins, bool reach);

} // namespace hoofer
