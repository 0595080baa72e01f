#pragma once

#include "edit_command.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace hoofer {

/// Most entries the routine's history keeps.
inline constexpr std::size_t kHistoryEntryLimit = 1000;
/// Most bytes (by the commands' Cost()) the routine's history keeps.
inline constexpr std::size_t kHistoryByteLimit = std::size_t{32} << 20;

/// The routine's history of changes, shaped like Qt's undo stack: a list of
/// commands and an index between them; the commands before the index are done
/// and can be undone, those after it were undone and can be redone until a
/// new change drops them. A clean index marks where the routine matches its
/// file (loaded, saved, uploaded); once the entries it stood at are dropped,
/// no state is clean again until the next SetClean(). The oldest entries go
/// first when more than the entry limit or the byte limit are kept, but the
/// newest change always stays undoable.
///
/// Only the newest entry, and only until anything but a push happens to the
/// history (an undo, a redo, a save mark), may take the next command into
/// itself, so a run of live edits is one entry only while nothing comes
/// between them.
class EditHistory {
public:
    explicit EditHistory(std::size_t entryLimit = kHistoryEntryLimit,
                         std::size_t byteLimit = kHistoryByteLimit);
    EditHistory(const EditHistory &) = delete;
    EditHistory &operator=(const EditHistory &) = delete;
    ~EditHistory();

    /// Runs the command's Redo, which makes the change, then keeps it: drops
    /// what could be redone, merges it into the newest entry when that one
    /// is open and accepts it, then applies the limits.
    void Push(std::unique_ptr<EditCommand> command);
    /// Takes back the newest entry for good, as if it had never been pushed
    /// (a cancelled drag): right after its push, what the push dropped can
    /// be redone again. False when there is nothing done to take back.
    bool Withdraw();
    /// Takes back the newest done entry and returns it (for its selection),
    /// or nullptr when there is none.
    const EditCommand *Undo();
    /// Does the oldest undone entry again and returns it, or nullptr.
    const EditCommand *Redo();

    bool CanUndo() const { return m_index > 0; }
    /// The newest done entry, which Undo would take back, or nullptr.
    const EditCommand *Newest() const { return CanUndo() ? m_entries[m_index - 1].Command.get() : nullptr; }
    bool CanRedo() const { return m_index < m_entries.size(); }
    /// The label of what Undo / Redo would do; empty when nothing.
    std::string UndoLabel() const;
    std::string RedoLabel() const;

    /// A fresh empty history, clean.
    void Clear();
    void SetClean();
    /// No state is clean until the next SetClean(): what is shown is saved nowhere.
    void ForgetClean();
    bool IsClean() const { return m_clean == static_cast<long>(m_index); }

    // Test seams: how many entries there are, where the index stands and the
    // bytes kept (the sum of the entries' Cost()), for checks of the limits.
    std::size_t Count() const { return m_entries.size(); }
    std::size_t Index() const { return m_index; }
    std::size_t Cost() const { return m_cost; }
    /// A number that changes with everything that happens to the history:
    /// equal numbers mean nothing was pushed, merged, undone, redone or
    /// marked in between.
    std::uint64_t Revision() const { return m_revision; }

    /// Called after any change of CanUndo, CanRedo, IsClean or the labels.
    void SetObserver(std::function<void()> observer) { m_observer = std::move(observer); }

private:
    struct Entry {
        std::unique_ptr<EditCommand> Command;
        std::size_t Cost = 0;
    };
    struct Looks {
        bool Undo, Redo, Clean;
        std::string UndoLabel, RedoLabel;
        bool operator==(const Looks &) const = default;
    };

    void Keep(std::unique_ptr<EditCommand> command);
    /// Something other than a push happened: the newest entry takes no merge.
    void Close()
    {
        m_open = false;
        m_stash.clear();
        ++m_revision;
    }
    /// Drops what could be redone and gives it, oldest first.
    std::deque<Entry> DropRedoable();
    void DropOldest();
    Looks Look() const;
    void Report(const Looks &before);

    std::size_t m_entryLimit;
    std::size_t m_byteLimit;
    std::deque<Entry> m_entries;
    std::size_t m_index = 0;
    /// The index that is clean, or -1 when it was dropped.
    long m_clean = 0;
    std::size_t m_cost = 0;
    /// The newest entry may still take the next command into itself.
    bool m_open = false;
    /// What the newest entry's push dropped, and where the clean index stood
    /// among it (1 for its first entry; -1 elsewhere), while m_open.
    std::deque<Entry> m_stash;
    long m_stashClean = -1;
    std::uint64_t m_revision = 0;
    std::function<void()> m_observer;
};

} // namespace hoofer
