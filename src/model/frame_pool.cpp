#include "frame_pool.h"

#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define HOOFER_FRAMES_ON_THE_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HOOFER_FRAMES_ON_THE_HEAP 1
#endif
#endif

namespace hoofer {

namespace {

struct alignas(FramePool::kPlaceAlignment) Place {
    unsigned char bytes[FramePool::kPlaceSize];
};
static_assert(sizeof(Place) == FramePool::kPlaceSize, "places follow each other without gaps");

/// A free place holds the link to the next one.
struct FreePlace {
    FreePlace *next;
};

/// One thread's free places and the rest of the block being cut. Plain
/// values with no constructor to run, so a thread reaches its own at once;
/// the blocks are never given back, so none is lost when a thread ends with
/// key frames of its own still alive elsewhere.
struct ThreadPlaces {
    FreePlace *free;
    Place *next;
    std::size_t unused;
};

#ifndef HOOFER_FRAMES_ON_THE_HEAP
constinit thread_local ThreadPlaces t_places{nullptr, nullptr, 0};
#endif

} // namespace

void *FramePool::Take(std::size_t size)
{
    if (size > kPlaceSize)
        throw std::bad_alloc();
#ifdef HOOFER_FRAMES_ON_THE_HEAP
    return ::operator new(size);
#else
    ThreadPlaces &places = t_places;
    if (FreePlace *place = places.free) {
        places.free = place->next;
        return place;
    }
    if (places.unused == 0) {
        places.next = new Place[kPlacesPerBlock];
        places.unused = kPlacesPerBlock;
    }
    --places.unused;
    return places.next++;
#endif
}

void FramePool::Give(void *place) noexcept
{
    if (!place)
        return;
#ifdef HOOFER_FRAMES_ON_THE_HEAP
    ::operator delete(place);
#else
    t_places.free = new (place) FreePlace{t_places.free};
#endif
}

} // namespace hoofer
