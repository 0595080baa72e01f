#include "edit_history.h"

#include <utility>

namespace hoofer {

EditHistory::EditHistory(std::size_t entryLimit, std::size_t byteLimit)
    : entryLimit_(entryLimit < 1 ? 1 : entryLimit), byteLimit_(byteLimit)
{
}

EditHistory::~EditHistory()
{
    // The newest entries may hold what the older ones refer to: free them first.
    while (!entries_.empty())
        entries_.pop_back();
}

void EditHistory::Push(std::unique_ptr<EditCommand> command)
{
    command->Redo();
    Record(std::move(command));
}

void EditHistory::Record(std::unique_ptr<EditCommand> command)
{
    const Looks before = Look();
    Keep(std::move(command));
    Report(before);
}

void EditHistory::Keep(std::unique_ptr<EditCommand> command)
{
    DropRedoable();
    // Merging into the entry the clean index stands after would make the
    // clean state unreachable by Undo, so a clean boundary stops the merge.
    if (index_ > 0 && command->Id() != 0 && clean_ != static_cast<long>(index_)) {
        Entry &newest = entries_.back();
        if (newest.Command->Id() == command->Id() && newest.Command->MergeWith(*command)) {
            newest.Command->SetSelectionAfter(command->SelectionAfter());
            cost_ -= newest.Cost;
            newest.Cost = newest.Command->Cost();
            cost_ += newest.Cost;
            command.reset();
        }
    }
    if (command) {
        const std::size_t cost = command->Cost();
        entries_.push_back({std::move(command), cost});
        cost_ += cost;
        ++index_;
    }
    while (entries_.size() > 1 && (entries_.size() > entryLimit_ || cost_ > byteLimit_))
        DropOldest();
}

void EditHistory::DropRedoable()
{
    if (clean_ > static_cast<long>(index_))
        clean_ = -1;
    while (entries_.size() > index_) {
        cost_ -= entries_.back().Cost;
        entries_.pop_back();
    }
}

void EditHistory::DropOldest()
{
    cost_ -= entries_.front().Cost;
    entries_.pop_front();
    --index_;
    // At 0 the clean state was the one before the dropped entry.
    clean_ = clean_ > 0 ? clean_ - 1 : -1;
}

const EditCommand *EditHistory::Undo()
{
    if (!CanUndo())
        return nullptr;
    const Looks before = Look();
    EditCommand *command = entries_[index_ - 1].Command.get();
    command->Undo();
    --index_;
    Report(before);
    return command;
}

const EditCommand *EditHistory::Redo()
{
    if (!CanRedo())
        return nullptr;
    const Looks before = Look();
    EditCommand *command = entries_[index_].Command.get();
    command->Redo();
    ++index_;
    Report(before);
    return command;
}

std::string EditHistory::UndoLabel() const
{
    return CanUndo() ? entries_[index_ - 1].Command->Label() : std::string();
}

std::string EditHistory::RedoLabel() const
{
    return CanRedo() ? entries_[index_].Command->Label() : std::string();
}

void EditHistory::Clear()
{
    const Looks before = Look();
    while (!entries_.empty())
        entries_.pop_back();
    index_ = 0;
    clean_ = 0;
    cost_ = 0;
    Report(before);
}

void EditHistory::SetClean()
{
    const Looks before = Look();
    clean_ = static_cast<long>(index_);
    Report(before);
}

void EditHistory::ForgetClean()
{
    const Looks before = Look();
    clean_ = -1;
    Report(before);
}

EditHistory::Looks EditHistory::Look() const
{
    return {CanUndo(), CanRedo(), IsClean(), UndoLabel(), RedoLabel()};
}

void EditHistory::Report(const Looks &before)
{
    if (observer_ && !(Look() == before))
        observer_();
}

} // namespace hoofer
