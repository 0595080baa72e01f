#include "move.h"

#include "model/text_trim.h"

namespace hoofer {

THFMove::~THFMove()
{
    FreeListItems(Frames);
}

int THFMove::IndexOf(const THFFrame *frame) const
{
    for (size_t i = 0; i < Frames.size(); ++i)
        if (Frames[i].get() == frame)
            return static_cast<int>(i);
    return -1;
}

std::string TrimName(const std::string &name)
{
    return std::string(Trim(name));
}

int IndexOfMove(const TMoveList &moves, const THFMove *move)
{
    for (size_t i = 0; i < moves.size(); ++i)
        if (moves[i].get() == move)
            return static_cast<int>(i);
    return -1;
}

std::unique_ptr<THFMove> CopyMovePoses(const THFMove &move)
{
    auto copy = std::make_unique<THFMove>();
    copy->MoveName = move.MoveName;
    copy->Frames.reserve(move.Frames.size());
    for (const auto &frame : move.Frames) {
        auto pose = std::make_unique<THFFrame>();
        CopyFramePose(*frame, *pose);
        copy->Frames.push_back(std::move(pose));
    }
    copy->SyncFrameCount();
    copy->Reference = move.Reference;
    return copy;
}

std::unique_ptr<THFMove> MakeStandingMove()
{
    static constexpr TPoint kStanding[kPartCount] = {
        {64, 96}, {48, 84}, {40, 64}, {80, 84}, {88, 64}, {64, 56},
        {52, 40}, {48, 12}, {40, 8},  {76, 40}, {80, 12}, {88, 8},
    };
    auto move = std::make_unique<THFMove>();
    move->MoveName = "NewMove";
    auto frame = std::make_unique<THFFrame>();
    for (int i = 0; i < kPartCount; ++i)
        frame->Points[i] = kStanding[i];
    frame->Interpolation = 3;
    move->Frames.push_back(std::move(frame));
    move->SyncFrameCount();
    return move;
}

TMoveList NewRoutine()
{
    TMoveList moves;
    moves.push_back(MakeStandingMove());
    return moves;
}

} // namespace hoofer
