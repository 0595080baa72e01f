// The commands the routine's history keeps, one kind for each family of
// changes: a key frame's pose, a run of key frames or moves coming or going,
// a reorder, a rename, the whole routine traded for another.
#include "history_commands.h"

#include <algorithm>
#include <utility>

namespace hoofer {

namespace {

/// What one kept snapshot costs: the string and its heap block.
constexpr std::size_t kSnapshotCost = sizeof(std::string) + 32;

std::size_t FrameCost(const THFFrame &frame)
{
    return sizeof(THFFrame) + (frame.UndoList.size() + frame.RedoList.size()) * kSnapshotCost;
}

/// Moves `from` to place `to` in a list, those between shifting by one.
template<typename T>
void Rotate(std::vector<std::unique_ptr<T>> &list, int from, int to)
{
    const auto first = list.begin() + from;
    const auto last = list.begin() + to;
    if (from < to)
        std::rotate(first, first + 1, last + 1);
    else
        std::rotate(last, first, first + 1);
}

} // namespace

std::string BodyPartName(int part)
{
    static const char *const kNames[kPartCount] = {
        "Shoulders",  "Left Elbow", "Left Hand",   "Right Elbow", "Right Hand",   "Lower Body",
        "Left Knee", "Left Ankle", "Left Foot", "Right Knee", "Right Ankle", "Right Foot",
    };
    return part >= 1 && part <= kPartCount ? kNames[part - 1] : "Figure";
}

FrameState FrameState::Of(const THFFrame &frame, bool withHistories)
{
    FrameState state;
    state.Points = frame.Points;
    state.Interpolation = frame.Interpolation;
    state.Displacement = frame.Displacement;
    state.HasHistories = withHistories;
    if (withHistories) {
        state.UndoList = frame.UndoList.Entries();
        state.RedoList = frame.RedoList.Entries();
    }
    return state;
}

void FrameState::Into(THFFrame &frame) const
{
    frame.Points = Points;
    frame.Interpolation = Interpolation;
    frame.Displacement = Displacement;
    if (HasHistories) {
        frame.UndoList.Assign(UndoList);
        frame.RedoList.Assign(RedoList);
    }
}

bool FrameState::SamePose(const FrameState &other) const
{
    return Points == other.Points && Interpolation == other.Interpolation && Displacement == other.Displacement;
}

std::size_t FrameState::Cost() const
{
    return sizeof(FrameState) + (UndoList.size() + RedoList.size()) * kSnapshotCost;
}

std::size_t MoveCost(const THFMove &move)
{
    std::size_t cost = sizeof(THFMove) + move.MoveName.capacity();
    for (const auto &frame : move.Frames)
        cost += FrameCost(*frame);
    return cost;
}

RoutineCommand::RoutineCommand(std::string label, RoutineChange::Kind kind, EditSelection before,
                               EditSelection after)
    : EditCommand(std::move(label), before, after), kind_(kind)
{
}

PoseCommand::PoseCommand(std::string label, RoutineChange::Kind kind, TMoveList &moves, EditSelection where,
                         FrameState before, FrameState after, int id, bool continues)
    : RoutineCommand(std::move(label), kind, where, where), moves_(moves), before_(std::move(before)),
      after_(std::move(after)), id_(id), continues_(continues)
{
}

THFFrame &PoseCommand::Frame() const
{
    const EditSelection &where = SelectionBefore();
    return *moves_[where.MoveIndex]->Frames[where.FrameNumber - 1];
}

void PoseCommand::Redo()
{
    after_.Into(Frame());
}

void PoseCommand::Undo()
{
    before_.Into(Frame());
}

std::size_t PoseCommand::Cost() const
{
    return sizeof(*this) + Label().capacity() + before_.Cost() + after_.Cost();
}

bool PoseCommand::MergeWith(const EditCommand &next)
{
    const auto *pose = dynamic_cast<const PoseCommand *>(&next);
    if (!pose || !pose->continues_ || pose->Label() != Label() || !(pose->SelectionBefore() == SelectionBefore()))
        return false;
    after_ = pose->after_;
    return true;
}

RunCommand::RunCommand(std::string label, TMoveList &moves, int move, int at, int count, EditSelection before,
                       EditSelection after)
    : RoutineCommand(std::move(label), move < 0 ? RoutineChange::Kind::Moves : RoutineChange::Kind::KeyFrames,
                     before, after),
      moves_(moves), move_(move), at_(at), count_(count), cost_(sizeof(*this))
{
    for (int i = at; i < at + count; ++i)
        cost_ += move < 0 ? MoveCost(*moves[i]) : FrameCost(*moves[move]->Frames[i]);
}

void RunCommand::TurnOver()
{
    auto turn = [this](auto &list, auto &held) {
        const auto first = list.begin() + at_;
        if (held.empty()) {
            held.assign(std::make_move_iterator(first), std::make_move_iterator(first + count_));
            list.erase(first, first + count_);
        } else {
            list.insert(first, std::make_move_iterator(held.begin()), std::make_move_iterator(held.end()));
            held.clear();
        }
    };
    if (move_ < 0) {
        turn(moves_, heldMoves_);
    } else {
        THFMove &move = *moves_[move_];
        turn(move.Frames, heldFrames_);
        move.SyncFrameCount();
    }
}

ReorderCommand::ReorderCommand(std::string label, TMoveList &moves, int move, int from, int to,
                               EditSelection before, EditSelection after)
    : RoutineCommand(std::move(label), move < 0 ? RoutineChange::Kind::Moves : RoutineChange::Kind::KeyFrames,
                     before, after),
      moves_(moves), move_(move), from_(from), to_(to)
{
}

void ReorderCommand::Shift(int from, int to)
{
    // The objects move, so each key frame keeps its own histories.
    if (move_ < 0)
        Rotate(moves_, from, to);
    else
        Rotate(moves_[move_]->Frames, from, to);
}

RenameCommand::RenameCommand(TMoveList &moves, int move, std::string before, std::string after,
                             EditSelection where)
    : RoutineCommand("Rename Move", RoutineChange::Kind::MoveName, where, where), moves_(moves), move_(move),
      before_(std::move(before)), after_(std::move(after))
{
}

void RenameCommand::Redo()
{
    moves_[move_]->MoveName = after_;
}

void RenameCommand::Undo()
{
    moves_[move_]->MoveName = before_;
}

std::size_t RenameCommand::Cost() const
{
    return sizeof(*this) + before_.capacity() + after_.capacity();
}

SwapRoutineCommand::SwapRoutineCommand(std::string label, TMoveList &moves, TMoveList other, EditSelection before,
                                       EditSelection after)
    : RoutineCommand(std::move(label), RoutineChange::Kind::Routine, before, after), moves_(moves),
      other_(std::move(other)), cost_(sizeof(*this))
{
    for (const auto &move : other_)
        cost_ += MoveCost(*move);
    for (const auto &move : moves_)
        cost_ += MoveCost(*move);
}

SwapRoutineCommand::~SwapRoutineCommand()
{
    FreeListItems(other_);
}

} // namespace hoofer
