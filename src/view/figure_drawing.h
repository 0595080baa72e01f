#pragma once

#include "model/frame.h"
#include "view/canvas.h"

#include <array>
#include <cstdint>
#include <vector>

namespace hoofer {

/// Size of the preview surface.
inline constexpr int kPreviewWidth = 256;
inline constexpr int kPreviewHeight = 296;
/// The row point Y = 0 is drawn on, 20 rows above the bottom: point Y and
/// pixel row y map onto each other as y = kBaselineRow - Y.
inline constexpr int kBaselineRow = kPreviewHeight - 20;

/// Twelve pixel positions, one a body part, in body-part order.
using PosePixels = std::array<TPixel, kPartCount>;

/// The pixel a point of the routine is drawn at: x unchanged, y = 276 - Y.
TPixel PointToPixel(const TPoint &point);
/// The point Y a pixel row shows (the same mapping the other way).
inline int PixelRowToPointY(int row) { return kBaselineRow - row; }
/// The pixels of all twelve points of a key frame.
PosePixels FramePixels(const THFFrame &frame);

/// Draws the silver frame around the point space and leaves the pen black.
void DrawFrameBorder(Canvas &canvas);

/// Clears the whole surface to its backdrop: the background colour, or the
/// picture a surface was given to show behind the drawing.
void ClearSurface(Canvas &canvas);

/// The key-frame drawing: clear, border, bones with a ring on every joint but
/// the shoulders, and the head; the body part with index selectedPart
/// (0 = Shoulders, -1 none) is drawn yellow.
void DrawKeyFrame(Canvas &canvas, const THFFrame &frame, int selectedPart);
/// The key-frame drawing without the clearing: border and figure over
/// whatever the surface shows.
void DrawKeyFrameFigure(Canvas &canvas, const THFFrame &frame, int selectedPart);

/// The colour of the squares that mark pinned body parts in the editor.
inline constexpr TColor clPinMark = 0x00009600;  // green 150

/// A square 11 pixels wide around each of the body parts given (1..12): the
/// editor's mark of a pinned hand or ankle, never part of a picture made
/// for elsewhere.
void DrawPinMarks(Canvas &canvas, const THFFrame &frame, const std::vector<int> &parts);

/// The key-frame drawing made again and again on one surface, as the preview
/// makes it for every step of a drag. When the surface still shows the
/// drawing this made last (its Revision is what it was then), the drawing is
/// made again clipped to the box of the primitives (lines, rings, head) that
/// differ from last time's: only there can a pixel differ, so the picture is
/// DrawKeyFrame's pixel for pixel, at the cost of the parts that moved rather
/// than of the whole surface. Otherwise, or where the surface cannot clip,
/// it is DrawKeyFrame.
class KeyFrameRedraw {
public:
    /// The key-frame drawing, with the pin marks of `pinned` over it.
    void Draw(Canvas &canvas, const THFFrame &frame, int selectedPart, const std::vector<int> &pinned = {});

    /// One primitive of a drawing, with its pen colour.
    struct Primitive {
        enum Kind { Line, Fill, Ellipse } kind;
        int a, b, c, d;  // a line's ends; a box's corners
        TColor colour;
        bool operator==(const Primitive &) const = default;
    };

private:
    uint64_t m_revision = 0;  // the surface's after the last drawing; 0 none
    std::vector<Primitive> m_primitives;  // the last drawing's
    std::vector<Primitive> m_drawing;     // this drawing's, while it is made
};

/// Bones and head of a pose in one colour, no rings, no clearing, no border:
/// a ghost behind the key-frame figure. The head is filled with the
/// background like every head. Leaves the pen black.
void DrawGhostPose(Canvas &canvas, const PosePixels &pixels, TColor colour);

/// The plain drawing of a playback step: clear, border, black bones and head,
/// no rings, the pixels used as given.
void DrawPlainPose(Canvas &canvas, const PosePixels &pixels);

} // namespace hoofer
