#pragma once

#include <cstddef>

namespace hoofer {

/// The storage every key frame (THFFrame) is made in.
///
/// The largest routine has 65,280 key frames, and each one used to be a heap
/// object of its own: loading it spent more time in the allocator than in
/// reading the file, and freeing it made the allocator sort 65,280 small
/// blocks before its next large one. Key frames are therefore cut from
/// blocks of 512 taken from the heap at a time; a freed key frame's place
/// goes on a list of free places that the next key frames take first. The
/// blocks stay for the life of the process (a routine loaded again reuses
/// them). Each thread has its own list, and a place freed on another thread
/// simply joins that thread's list, so no lock is needed.
///
/// Under AddressSanitizer every key frame is a heap object of its own again,
/// so that a key frame used after it was freed is still caught.
class FramePool {
public:
    /// The size of every place; THFFrame must fit in it.
    static constexpr std::size_t kPlaceSize = 120;
    /// The alignment of every place; THFFrame must need no more.
    static constexpr std::size_t kPlaceAlignment = 8;
    /// Key frames a block holds.
    static constexpr std::size_t kPlacesPerBlock = 512;

    /// A place for one key frame of size bytes (at most kPlaceSize).
    static void *Take(std::size_t size);
    /// Gives a place from Take back.
    static void Give(void *place) noexcept;
};

} // namespace hoofer
