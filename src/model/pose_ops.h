#pragma once

#include "frame.h"

namespace hoofer {

/// Mirrors a key frame's pose across the vertical line through the shoulders:
/// every X becomes 2 x (the shoulders' X) - X, held within 0..255, Y stays,
/// and each left elbow, hand, knee, ankle and foot trades places with its
/// right counterpart, so the figure faces the other way rather than standing
/// on crossed limbs. Interpolation and displacement are kept.
void MirrorPose(THFFrame &frame);

} // namespace hoofer
