#pragma once

#include "frame.h"
#include "move_reference.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hoofer {

/// Significant characters of a move's name; the file adds a carriage return.
inline constexpr int kMoveNameLength = 12;

/// One named move: its key frames in playback order. The move owns its frames;
/// FrameCount mirrors Frames.size() and is set from it after every change;
/// a count is read from FrameCount, Frames.size() only bounds a walk over Frames.
class THFMove {
public:
    THFMove() = default;
    THFMove(const THFMove &) = delete;
    THFMove &operator=(const THFMove &) = delete;
    ~THFMove();

    /// Either 13 bytes as read from a file (name field plus CR) or the text as
    /// typed; TrimName(MoveName) is what every display shows.
    std::string MoveName;
    int32_t FrameCount = 0;
    std::vector<std::unique_ptr<THFFrame>> Frames;
    /// What the move is traced from, if anything; no part of the routine file.
    std::optional<MoveReference> Reference;

    void SyncFrameCount() { FrameCount = static_cast<int32_t>(Frames.size()); }
    int IndexOf(const THFFrame *frame) const;
};

using TMoveList = std::vector<std::unique_ptr<THFMove>>;

/// Removes leading and trailing characters of code 32 or below.
std::string TrimName(const std::string &name);

/// Frees the objects of a list from the last to the first; the list keeps its
/// length with every slot empty, so the caller packs or drops it afterwards.
template<typename T>
void FreeListItems(std::vector<std::unique_ptr<T>> &list)
{
    for (auto i = list.size(); i-- > 0;)
        list[i].reset();
}

int IndexOfMove(const TMoveList &moves, const THFMove *move);

/// A copy of a move's name, poses and reference, without the undo histories.
std::unique_ptr<THFMove> CopyMovePoses(const THFMove &move);

/// A fresh move made by Add Move: "NewMove" with one standing key frame.
std::unique_ptr<THFMove> MakeStandingMove();

/// The routine File > New Routine starts from: that one standing move.
TMoveList NewRoutine();

} // namespace hoofer
