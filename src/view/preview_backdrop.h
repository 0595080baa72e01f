#pragma once

#include "model/move_reference.h"
#include "view/canvas.h"

#include <QImage>
#include <QRectF>

namespace hoofer {

/// What the preview shows behind the figure: the background, the frame of
/// the move's reference, if any, and the grid's points and ground with View >
/// Show Grid (gridSize 0: no grid).
struct Backdrop {
    TColor background = 0;
    /// The reference's frame (null: none) and how it is drawn.
    QImage frame;
    MoveReference reference;
    int gridSize = 0;

    bool Plain() const { return frame.isNull() && gridSize <= 0; }
};

/// The backdrop for a surface of `surface` pixels shown at `zoom`: the
/// background; the reference's frame at its place, opacity and mirroring,
/// smoothly scaled to the zoomed size; over it a faint dot at every point of
/// the snapping grid (the multiples of the grid size from X = 0 and Y = 0, as
/// far as 255) and a ground line along the row under Y = 0, on which a foot
/// at Y = 0 stands (the frame's border keeps the row of Y = 0 itself), each
/// pixel of them a zoom by zoom block. Where the grid is finer than 4 pixels
/// only every grid point 4 or more pixels from the last is dotted, so the
/// dots stay dots. Only the preview shows it: pictures and files never do.
QImage DrawBackdrop(QSize surface, int zoom, const Backdrop &backdrop);

/// Where a reference frame of frameSize lies on the preview at 1×, in its
/// pixels: by default its height fills the 256 points, centred on X = 128,
/// its bottom on Y = 0; the placement moves it by (x, y) points (y upward)
/// and scales it by `scale` about its bottom centre.
QRectF ReferenceRect(QSize frameSize, const MoveReference &reference);

/// The colour of the grid's dots on a background: a quarter darker.
TColor GridDotColour(TColor background);
/// The colour of the ground line on a background: two fifths darker.
TColor GroundLineColour(TColor background);

} // namespace hoofer
