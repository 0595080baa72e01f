#pragma once

#include "model/frame.h"

namespace hoofer {

/// The grid size until the user or the settings file chooses another.
inline constexpr int kDefaultGridSize = 5;

/// Where a dragged coordinate lands: snapped down to a multiple of the grid
/// (the remainder truncated toward zero, so negative values round up toward
/// 0) when snapping is on, then clamped to 0..255. Grid sizes below 1 never
/// reach here: the entry refuses them and the settings read them as 5.
int SnapCoordinate(int value, bool snap, int grid);

/// The body part (1..12) a press at a point hits, or 0 for none: a part is a
/// candidate within 4 points on both axes (a 9 by 9 square of the player's
/// pixels), and a later candidate wins only when it is strictly nearer on
/// both axes.
int HitBodyPart(const THFFrame &frame, TPoint at);

} // namespace hoofer
