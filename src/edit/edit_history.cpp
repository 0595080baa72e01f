#include "edit_history.h"

#include <utility>

namespace hoofer {

EditHistory::EditHistory(std::size_t entryLimit, std::size_t byteLimit)
    : m_entryLimit(entryLimit < 1 ? 1 : entryLimit), m_byteLimit(byteLimit)
{
}

EditHistory::~EditHistory()
{
    // The newest entries may hold what the older ones refer to: free them first.
    m_stash.clear();
    while (!m_entries.empty())
        m_entries.pop_back();
}

void EditHistory::Push(std::unique_ptr<EditCommand> command)
{
    const Looks before = Look();
    command->Redo();
    Keep(std::move(command));
    Report(before);
}

bool EditHistory::Withdraw()
{
    if (!CanUndo())
        return false;
    const Looks before = Look();
    m_entries[m_index - 1].Command->Undo();
    --m_index;
    DropRedoable();
    if (m_open) {
        // Right after its push: what the push dropped can be redone again.
        for (Entry &entry : m_stash) {
            m_cost += entry.Cost;
            m_entries.push_back(std::move(entry));
        }
        if (m_stashClean > 0)
            m_clean = static_cast<long>(m_index) + m_stashClean;
    }
    Close();
    Report(before);
    return true;
}

void EditHistory::Keep(std::unique_ptr<EditCommand> command)
{
    long droppedClean = m_clean > static_cast<long>(m_index) ? m_clean - static_cast<long>(m_index) : -1;
    std::deque<Entry> dropped = DropRedoable();
    // Merging into the entry the clean index stands after would make the
    // clean state unreachable by Undo, so a clean boundary stops the merge.
    if (m_open && m_index > 0 && command->Id() != 0 && m_clean != static_cast<long>(m_index)) {
        Entry &newest = m_entries.back();
        if (newest.Command->Id() == command->Id() && newest.Command->MergeWith(*command)) {
            newest.Command->SetSelectionAfter(command->SelectionAfter());
            m_cost -= newest.Cost;
            newest.Cost = newest.Command->Cost();
            m_cost += newest.Cost;
            command.reset();
        }
    }
    if (command) {
        const std::size_t cost = command->Cost();
        m_entries.push_back({std::move(command), cost});
        m_cost += cost;
        ++m_index;
        // Kept until anything but a push happens, for Withdraw. (A merge
        // drops nothing: the entry's first push keeps what it dropped.)
        m_stash = std::move(dropped);
        m_stashClean = droppedClean;
    }
    while (m_entries.size() > 1 && (m_entries.size() > m_entryLimit || m_cost > m_byteLimit))
        DropOldest();
    m_open = true;
    ++m_revision;
}

std::deque<EditHistory::Entry> EditHistory::DropRedoable()
{
    if (m_clean > static_cast<long>(m_index))
        m_clean = -1;
    std::deque<Entry> dropped;
    while (m_entries.size() > m_index) {
        m_cost -= m_entries.back().Cost;
        dropped.push_front(std::move(m_entries.back()));
        m_entries.pop_back();
    }
    return dropped;
}

void EditHistory::DropOldest()
{
    m_cost -= m_entries.front().Cost;
    m_entries.pop_front();
    --m_index;
    // At 0 the clean state was the one before the dropped entry.
    m_clean = m_clean > 0 ? m_clean - 1 : -1;
}

const EditCommand *EditHistory::Undo()
{
    if (!CanUndo())
        return nullptr;
    const Looks before = Look();
    EditCommand *command = m_entries[m_index - 1].Command.get();
    command->Undo();
    --m_index;
    Close();
    Report(before);
    return command;
}

const EditCommand *EditHistory::Redo()
{
    if (!CanRedo())
        return nullptr;
    const Looks before = Look();
    EditCommand *command = m_entries[m_index].Command.get();
    command->Redo();
    ++m_index;
    Close();
    Report(before);
    return command;
}

std::string EditHistory::UndoLabel() const
{
    return CanUndo() ? m_entries[m_index - 1].Command->Label() : std::string();
}

std::string EditHistory::RedoLabel() const
{
    return CanRedo() ? m_entries[m_index].Command->Label() : std::string();
}

void EditHistory::Clear()
{
    const Looks before = Look();
    while (!m_entries.empty())
        m_entries.pop_back();
    m_index = 0;
    m_clean = 0;
    m_cost = 0;
    Close();
    Report(before);
}

void EditHistory::SetClean()
{
    const Looks before = Look();
    m_clean = static_cast<long>(m_index);
    Close();
    Report(before);
}

void EditHistory::ForgetClean()
{
    const Looks before = Look();
    m_clean = -1;
    Close();
    Report(before);
}

EditHistory::Looks EditHistory::Look() const
{
    return {CanUndo(), CanRedo(), IsClean(), UndoLabel(), RedoLabel()};
}

void EditHistory::Report(const Looks &before)
{
    if (m_observer && !(Look() == before))
        m_observer();
}

} // namespace hoofer
