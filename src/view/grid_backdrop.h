#pragma once

#include "view/canvas.h"

#include <QImage>

namespace hoofer {

/// The preview's backdrop with View > Show Grid: the background colour with a
/// faint dot at every point of the snapping grid (the multiples of the grid
/// size from X = 0 and Y = 0, as far as 255) and a ground line along the row
/// under Y = 0, on which a foot at Y = 0 stands; the frame's border keeps the
/// row of Y = 0 itself. Where the grid is finer than 4 pixels only every
/// grid point 4 or more pixels from the last is dotted, so the dots stay
/// dots. Only the preview shows it: pictures and files never do.
QImage GridBackdrop(int width, int height, TColor background, int gridSize);

/// The colour of the grid's dots on a background: a quarter darker.
TColor GridDotColour(TColor background);
/// The colour of the ground line on a background: two fifths darker.
TColor GroundLineColour(TColor background);

} // namespace hoofer
