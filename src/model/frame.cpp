#include "frame.h"

namespace hoofer {

void CopyFramePose(const THFFrame &source, THFFrame &destination)
{
    destination.Points = source.Points;
    destination.Interpolation = source.Interpolation;
    destination.Displacement = source.Displacement;
}

} // namespace hoofer
