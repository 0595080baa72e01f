#pragma once
// Routines for tests of every layer, made in memory, and files read and written whole.
#include "model/move.h"
#include "model/routine_codec.h"

#include <fstream>
#include <vector>
#include <iterator>
#include <string>

namespace hoofer::test {

/// `moves` moves named "Move0", "Move1"…, each with `frames` key frames
/// whose points, interpolations (1 to 4) and displacements (-1 to 1) differ
/// from key frame to key frame.
inline TMoveList TestMoves(int moves, int frames)
{
    TMoveList list;
    for (int m = 0; m < moves; ++m) {
        auto &move = *list.emplace_back(std::make_unique<THFMove>());
        move.MoveName = "Move" + std::to_string(m);
        for (int f = 0; f < frames; ++f) {
            auto &frame = *move.Frames.emplace_back(std::make_unique<THFFrame>());
            for (int p = 1; p <= kPartCount; ++p)
                frame.Point(p) = {(40 + m * 7 + f * 3 + p * 9) & 0xFF, (30 + m + f * 11 + p * 13) & 0xFF};
            frame.Interpolation = 1 + f % 4;
            frame.Displacement = f % 3 - 1;
        }
        move.SyncFrameCount();
    }
    return list;
}

/// The frame snapshots of one move's key frames, in order.
inline std::vector<std::string> MoveSnapshots(const TMoveList &moves, int move)
{
    std::vector<std::string> out;
    for (const auto &frame : moves[move]->Frames)
        out.push_back(FrameSnapshot(*frame));
    return out;
}

/// Every key frame's own undo and redo histories, in routine order.
inline std::string KeyFrameHistories(const TMoveList &moves)
{
    std::string out;
    for (const auto &move : moves)
        for (const auto &frame : move->Frames)
            for (const auto &list : {frame->UndoList.Entries(), frame->RedoList.Entries()}) {
                for (const auto &entry : list)
                    out += entry + "|";
                out += "/";
            }
    return out;
}

/// A file's bytes, "" when it cannot be read.
inline std::string FileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string &path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

} // namespace hoofer::test
