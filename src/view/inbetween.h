#pragma once

#include "model/frame.h"
#include "view/figure_drawing.h"

#include <vector>

namespace hoofer {

/// The in-between arithmetic of playback, kept exactly as the player's
/// animation computes it: the difference is divided by the step count and the
/// stored quotient multiplied by the step in 80-bit extended precision, then
/// truncated toward zero. Storing the quotient first matters: 118 over 14 at
/// step 7 gives 58, not 59.
int InbetweenOffset(int difference, int steps, int step);

/// Steps of the transition into a key frame: its interpolation + 1 (0 or less
/// means the transition draws nothing).
int TransitionSteps(const THFFrame &target);

/// The pixels of step i of the transition from previous to target, the
/// target's displacement times i added to every x.
PosePixels TransitionPose(const THFFrame &previous, const THFFrame &target, int step);

/// The pixels of every step of the transition, in order: the same as
/// TransitionPose step by step, with each quotient worked out once. What
/// playback draws, and what the onion skin shows as ghosts; none for a
/// negative interpolation.
std::vector<PosePixels> TransitionPoses(const THFFrame &previous, const THFFrame &target);

} // namespace hoofer
