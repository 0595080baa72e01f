#pragma once

#include "edit/edit_history.h"
#include "edit/routine_change.h"
#include "edit/history_commands.h"
#include "edit/skeleton.h"
#include "model/move.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace hoofer {

/// Which commands of the Move and Frame menus can act on the current
/// selection: the view enables exactly these.
struct CommandStates {
    bool PlayMove = false;
    bool AddMove = false;
    bool RenameMove = false;
    bool DeleteMove = false;
    bool AddFrame = false;
    bool InsertFrame = false;
    bool DeleteFrame = false;
    bool Copy = false;
    bool Cut = false;
    bool Paste = false;
    bool Undo = false;
    bool Redo = false;
    bool MirrorPose = false;
    /// File > Export Move as GIF: a move with key frames to play.
    bool ExportMove = false;
    /// Move > Duplicate Move: a current move, and room for one more.
    bool DuplicateMove = false;
    /// Move > Move Up and Move Down: a neighbour on that side.
    bool MoveUp = false;
    bool MoveDown = false;

    bool operator==(const CommandStates &) const = default;
};

/// The routine being edited and the editing state, with every edit the editor
/// makes to them: choosing a move and a key frame, posing a body part by
/// number or with the mouse, the move and frame commands, the clipboard and
/// each key frame's undo history, and the routine's own history of every
/// change (Edit > Undo and Redo). It knows nothing of windows; the main
/// window asks the user, calls one of these and brings its controls in line
/// from the change reported.
///
/// The routine and the editing state are read through const accessors only:
/// every change of the routine passes through these commands and ends in
/// Changed(), the one place that knows what the routine changed.
class RoutineEditor {
public:
    /// Runs after every change of the routine, with what changed and the
    /// selection afterwards, and whenever Modified alone changes, so the
    /// window can follow (controls, caption, recovery copy, key frame strip).
    std::function<void(const RoutineChange &)> OnChanged;

    RoutineEditor() = default;
    RoutineEditor(const RoutineEditor &) = delete;
    RoutineEditor &operator=(const RoutineEditor &) = delete;
    ~RoutineEditor();

    // The routine and the editing state.

    const TMoveList &Moves() const { return m_moves; }
    /// An element of Moves, or none.
    const THFMove *CurrentMove() const { return m_currentMove; }
    /// A key frame of CurrentMove, or none; none whenever CurrentMove is none.
    const THFFrame *CurrentFrame() const { return m_currentFrame; }
    /// One frame snapshot put there by Copy or Cut, or empty.
    const std::string &ClipboardFrame() const { return m_clipboardFrame; }
    /// From the first mouse move that drags a body part until the release.
    bool Dragging() const { return m_dragging; }
    /// Mouse moves are ignored until the next release.
    bool DragBlocked() const { return m_dragBlocked; }
    /// The routine differs from what it was when last loaded, created, saved
    /// or uploaded: the history stands elsewhere than at that entry, or a
    /// drag is under way.
    bool Modified() const { return !m_history.IsClean() || m_dragging; }
    /// Every change of the routine since it was loaded or created.
    const EditHistory &History() const { return m_history; }
    /// Options > Keep Bone Lengths: a drag turns a limb about its parent, or
    /// moves the whole figure by its Shoulders, instead of placing one point.
    bool KeepBoneLengths() const { return m_keepBoneLengths; }
    void SetKeepBoneLengths(bool keep) { m_keepBoneLengths = keep; }

    // The routine as a whole.

    /// Replaces the routine with the moves of a routine image; an image that
    /// cannot be read raises RoutineFormatError and leaves everything as it
    /// was. Otherwise as ReplaceRoutine of the moves.
    bool ReplaceRoutine(const std::string &image);
    /// Replaces the routine with these moves (the old ones freed); the first
    /// move, at its key frame 1, becomes current. Returns whether the new
    /// routine has any move. The new routine has no unsaved changes, and its
    /// history starts empty.
    bool ReplaceRoutine(TMoveList moves);
    /// Puts a routine image restored from a recovery copy in place of the
    /// routine, as one change that Edit > Undo takes back: its changes are
    /// unsaved. RoutineFormatError as ReplaceRoutine.
    bool RestoreRoutine(const std::string &image);
    /// The routine image of the moves (RoutineFormatError when it cannot be written).
    std::string SerialiseRoutine() const;
    /// Frees every move; nothing is selected afterwards.
    void Clear();
    /// After a save or an upload: nothing is left unsaved.
    void MarkSaved();
    /// The routine as it stands is saved nowhere: Modified until the next
    /// save, whatever is undone.
    void MarkModified();

    // The routine's history.

    /// Edit > Undo: takes back the newest change and selects where it was
    /// made; the selection, or none when there was nothing to take back.
    std::optional<EditSelection> UndoChange();
    /// Edit > Redo: makes the newest change taken back again.
    std::optional<EditSelection> RedoChange();

    // The selection.

    /// Makes move index current with its key frame 1, or nothing current for
    /// an index outside the routine.
    void SelectMove(int index);
    /// Makes the key frame of the 1-based number current in the current move:
    /// none for a number outside 1..the move's key frames (a move read from a
    /// file can have none at all).
    void SelectFrame(int number) { m_currentFrame = FindFrame(number); }
    /// The 1-based number of the current key frame, 0 for none.
    int CurrentFrameNumber() const;
    int CurrentMoveIndex() const { return IndexOfMove(m_moves, m_currentMove); }
    /// The enabling table of the Move and Frame menus.
    CommandStates Commands() const;

    // Editing the current key frame.

    /// Sets a body part (1..12) of the current key frame from its X and Y boxes.
    void SetPartPosition(int part, int x, int y);
    void SetInterpolation(int value);
    void SetDisplacement(int value);

    // Pose dragging.

    /// A press at a pixel of the preview: takes an undo snapshot of the
    /// current key frame and returns the body part hit (1..12), or 0, which
    /// blocks dragging until the release.
    int MouseDown(int x, int y);
    /// A mouse move at a pixel with the left button held (left) and Shift
    /// (or Drag Without Shift on): puts body part `part` at the pointer,
    /// snapped when snap is on and clamped. Returns whether it moved a part.
    bool MouseMove(bool left, bool shiftOrOption, int part, int x, int y, bool snap, int grid);
    void MouseUp();
    /// Mouse moves are ignored until the next release: a file chosen for
    /// loading with a double click must not drag with the click's release.
    void BlockDragUntilRelease() { m_dragBlocked = true; }
    /// Escape: cancels a drag under way, bringing the pose of the press
    /// back. Returns whether there was one to cancel.
    bool CancelDrag();

    // Nudges from the keyboard. A run of nudges on one key frame with no
    // other edit between them is one undo step. Each returns whether the
    // pose changed.

    /// Moves body part `part` by (dx, dy) points, held within 0..255; with
    /// KeepBoneLengths and a part other than the Shoulders, turns its limb
    /// by 2 degrees instead, anticlockwise for dx < 0 or dy > 0.
    bool NudgePart(int part, int dx, int dy);
    /// Moves the whole figure by (dx, dy) points, stopping at the edge.
    bool NudgeFigure(int dx, int dy);

    // Move commands; each selects the move it leaves to be shown (at its key
    // frame 1, except Rename and Move Up or Down, which keep the key frame)
    // and returns its index, or -1 when it did nothing.

    /// Adds the standing "NewMove" before the last two moves (at the start
    /// while there are fewer than four).
    int AddMove();
    int RenameMove(const std::string &name);
    /// Deletes the current move while more than two are left; the follower,
    /// or the new last one, becomes current.
    int DeleteMove();
    /// Puts a copy of the current move (name, key frames and poses; no
    /// undo history) right after it while the routine has room.
    int DuplicateMove();
    /// Swaps the current move with the one before (by -1) or after (by 1).
    int ShiftMove(int by);
    /// How many more moves the routine file can hold.
    int MoveRoom() const;
    /// Appends the moves at the end of the routine, in order, unless they
    /// would pass the file's limit (then -1 and nothing changes). Gives the
    /// index of the first of them.
    int AppendMoves(TMoveList incoming);

    // Frame commands; each selects the key frame it leaves to be shown and
    // returns its number, or 0 when it did nothing.

    /// Appends a copy of the last key frame's pose (the all-zero pose in a
    /// move without key frames), which becomes current.
    int AddFrame();
    /// Puts a copy of the current key frame before it; the current key
    /// frame, with its history, moves one on.
    int InsertFrame();
    /// Deletes the current key frame unless it is the move's only one; the
    /// follower, or the new last one, becomes current.
    int DeleteFrame() { return RemoveFrame("Delete Frame"); }
    /// The deletion that ends a Cut (the clipboard is filled already): the
    /// same, named "Cut" in the history.
    int CutFrame() { return RemoveFrame("Cut"); }
    bool CanDeleteFrame() const;
    /// Copies the current key frame's pose to the clipboard (empties it with
    /// nothing current).
    void CopyFrame();
    /// Whether Paste has a snapshot to put into a current key frame.
    bool CanPaste() const;
    /// Replaces the current key frame's pose with the clipboard's, taking an
    /// undo snapshot first, so Undo brings the pose back.
    void PasteFrame();
    /// Moves key frame `from` (1-based) of the current move to place `to`,
    /// the key frames between shifting by one; it keeps its history and
    /// becomes current. Returns `to`, or 0 when either number is outside the
    /// move or both are the same place.
    int MoveFrame(int from, int to);

    // The current key frame's undo history.

    /// Keeps the current pose, unless the newest entry already holds it.
    void PushUndoSnapshot();
    /// Frame > Undo: brings the newest kept pose back, keeping the pose it
    /// replaces for Redo; false when there is none.
    /// (Escape's cancel of a drag pops without keeping anything.)
    bool Undo();
    /// Brings back the pose the newest Undo replaced, keeping the current
    /// one in the undo history; false when nothing was undone.
    bool Redo();
    /// Takes an undo snapshot, then mirrors the pose across the shoulders.
    bool MirrorPose();

private:
    using Change = RoutineChange::Kind;
    /// Every edit of the routine ends here, with the move (index) and key
    /// frame (number) it concerned: it marks the routine modified, except a
    /// replacement of the whole routine, which clears the mark, and a change
    /// of the mark or of a history alone, and reports the change.
    void Changed(Change what, int move = -1, int frame = 0);
    /// Changed for the current key frame of the current move.
    void FrameChanged(Change what) { Changed(what, CurrentMoveIndex(), CurrentFrameNumber()); }
    /// The start of every change: a drag under way is over and goes into
    /// the history first. Returns the selection the change starts from.
    EditSelection BeginChange();
    /// Keeps a change made already in the history.
    void Record(std::unique_ptr<EditCommand> command) { m_history.Record(std::move(command)); }
    /// Keeps a change of the current key frame's pose (of body part `part`,
    /// 0 for several), unless the pose stayed as it was, and reports it.
    /// Changes of one nonzero run id with no other edit between are one
    /// entry; `continues` false starts a new one.
    void RecordPose(std::string label, Change what, int part, const FrameState &before, int run = 0,
                    bool continues = true);
    /// The drag that began at the press goes into the history, if it moved.
    void RecordDrag();
    /// Undo (back) or Redo of the history, then selects where the change was
    /// made and reports it.
    std::optional<EditSelection> WalkHistory(bool back);
    EditSelection Selection(int part = 0) const { return {CurrentMoveIndex(), CurrentFrameNumber(), part}; }
    THFFrame *FindFrame(int number) const;
    int RemoveFrame(const char *label);
    /// Brings the newest kept pose back; false when there is none.
    bool PopUndoSnapshot();
    /// Starts a nudge: takes the undo snapshot unless the nudge continues
    /// the run of the previous one. Returns whether it continues it.
    bool BeginNudge();
    /// Puts a nudged pose into the current key frame, keeps the change in
    /// the history (one entry for the run) and ends the nudge.
    bool EndNudge(const PosePoints &pose, const std::string &label, int part, const FrameState &before, bool continues);

    TMoveList m_moves;
    THFMove *m_currentMove = nullptr;
    THFFrame *m_currentFrame = nullptr;
    std::string m_clipboardFrame;
    bool m_dragging = false;
    bool m_dragBlocked = false;
    EditHistory m_history;
    /// The key frame pressed on, with its pose and histories before the
    /// press: a drag is one change from the press to the release.
    std::optional<FrameState> m_pressedFrame;
    EditSelection m_pressedAt;
    /// Compared only: the key frame a press began on.
    const THFFrame *m_pressedTarget = nullptr;
    int m_dragPart = 0;
    /// The run of the newest pose change and the edit count after it.
    int m_run = 0;
    unsigned m_runEdits = 0;
    bool m_keepBoneLengths = false;
    /// The pose at the press, which a drag with bone lengths kept starts from.
    PosePoints m_pressedPose{};
    /// Counts the edits, so a nudge knows whether another came between.
    unsigned m_edits = 0;
    // The run of nudges under way: its key frame, the edit count and the
    // length of the undo history after its latest nudge, and for a run of
    // turns of one part, the pose it started from and the angle so far.
    const THFFrame *m_nudgeFrame = nullptr;
    unsigned m_nudgeEdits = 0;
    size_t m_nudgeHistory = 0;
    int m_turnPart = 0;
    PosePoints m_turnStart{};
    double m_turnDegrees = 0;
};

} // namespace hoofer
