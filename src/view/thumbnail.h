#pragma once

#include "model/frame.h"
#include "view/canvas.h"

#include <QImage>

namespace hoofer {

/// A key frame's thumbnail is the preview surface at a quarter of its size.
inline constexpr int kThumbnailWidth = 64;
inline constexpr int kThumbnailHeight = 74;

/// The key frame's pose as playback shows it (border, black bones and head,
/// no rings, no highlight), scaled down smoothly to the thumbnail's size.
/// A thumbnail at scale s is s times as wide and high as at scale 1.
///
/// The figure is drawn at half size and then halved once more with
/// smoothing: a one-pixel line keeps half its darkness instead of the
/// quarter a single smoothing of the whole surface leaves, and the drawing
/// costs a quarter of the preview's.
/// At scale 2 the thumbnail is that half-size drawing itself, twice as large.
/// A backdrop, of half the preview's size, is drawn behind the pose.
QImage DrawThumbnail(const THFFrame &frame, TColor background, int scale = 1, const QImage &backdrop = {});

} // namespace hoofer
