#pragma once
// Deadlines of the socket waits, on the steady clock.

#include <algorithm>
#include <chrono>

namespace hoofer {

using DeadlineClock = std::chrono::steady_clock;

/// Milliseconds left until deadline: never negative, -1 (wait without end)
/// for time_point::max(), at most 2^30 so that it fits a poll timeout.
inline int MillisecondsLeft(DeadlineClock::time_point deadline)
{
    if (deadline == DeadlineClock::time_point::max())
        return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - DeadlineClock::now()).count();
    return left > 0 ? static_cast<int>(std::min<long long>(left, 1 << 30)) : 0;
}

} // namespace hoofer
