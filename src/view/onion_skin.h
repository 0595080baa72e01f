#pragma once

#include "model/move.h"
#include "view/canvas.h"

namespace hoofer {

/// Tints of the onion skin's ghosts, as 0x00BBGGRR.
inline constexpr TColor clOnionStep = 0x00F0D2C8;      // red 200, green 210, blue 240
inline constexpr TColor clOnionPrevious = 0x00DC9678;  // red 120, green 150, blue 220
inline constexpr TColor clOnionNext = 0x009696E6;      // red 230, green 150, blue 150

/// The key-frame drawing with an onion skin: the surface is cleared, then,
/// without rings and behind everything else, the steps of the transition into
/// the key frame exactly as playback draws them (for key frame 1 the
/// transition from key frame 1 to itself), the previous key frame's pose and
/// the next one's where they exist, each in its tint; then the border and the
/// key frame's own figure with its rings and highlight on top, as
/// DrawKeyFrame draws them. A frame that is not one of the move's key frames
/// gets the plain key-frame drawing.
void DrawOnionSkinKeyFrame(Canvas &canvas, const THFMove &move, const THFFrame &frame, int selectedPart);

} // namespace hoofer
