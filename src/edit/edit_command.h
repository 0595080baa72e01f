#pragma once

#include <cstddef>
#include <string>

namespace hoofer {

/// Where the editor stands around a change: the move (index into the
/// routine, -1 for none), the key frame (numbered from 1, 0 for none), the
/// body part (1..12, 0 for none) and the range of key frames selected with
/// the current one (RangeFirst..RangeLast; 0 and 0 for the current alone).
/// The history only carries it; the editor selects it again when the change
/// is undone or redone.
struct EditSelection {
    int MoveIndex = -1;
    int FrameNumber = 0;
    int BodyPart = 0;
    int RangeFirst = 0;
    int RangeLast = 0;

    bool operator==(const EditSelection &) const = default;
};

/// One change of the routine as the history keeps it: it can be done again
/// (Redo) and taken back (Undo), it has the name the Edit menu shows after
/// "Undo" or "Redo", and the selections before and after it. A command holds
/// only what it changes, and says how many bytes that is, so the history can
/// keep its memory bounded. Commands of the same nonzero Id() may fold the
/// next one into themselves (a run of nudges is one entry).
class EditCommand {
public:
    explicit EditCommand(std::string label, EditSelection before = {});
    EditCommand(std::string label, EditSelection before, EditSelection after);
    EditCommand(const EditCommand &) = delete;
    EditCommand &operator=(const EditCommand &) = delete;
    virtual ~EditCommand();

    virtual void Redo() = 0;
    virtual void Undo() = 0;
    /// The bytes this command keeps alive (removed key frames, names, ...).
    virtual std::size_t Cost() const = 0;
    /// Commands of the same nonzero id are offered to each other for merging.
    virtual int Id() const { return 0; }
    /// Folds the next command (already done, of the same Id()) into this one so
    /// that one Undo takes both back; false keeps them as two entries.
    virtual bool MergeWith(const EditCommand &) { return false; }

    const std::string &Label() const { return m_label; }
    /// Selected again by Undo.
    const EditSelection &SelectionBefore() const { return m_before; }
    /// Selected again by Redo; after a merge, the merged command's.
    const EditSelection &SelectionAfter() const { return m_after; }
    void SetSelectionAfter(const EditSelection &after) { m_after = after; }

private:
    std::string m_label;
    EditSelection m_before;
    EditSelection m_after;
};

} // namespace hoofer
