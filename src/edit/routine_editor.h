#pragma once

#include "edit/document_file.h"
#include "edit/edit_history.h"
#include "edit/routine_change.h"
#include "edit/history_commands.h"
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
    /// File > Save, Save As and Upload: a routine to write.
    bool WriteRoutine = false;
    /// Move > Duplicate Move: a current move, and room for one more.
    bool DuplicateMove = false;
    /// Move > Move Up and Move Down: a neighbour on that side.
    bool MoveUp = false;
    bool MoveDown = false;
    /// Frame > Reverse Key Frames: a range of two key frames or more.
    bool ReverseFrames = false;
    /// Frame > Select All Key Frames, Paste Key Frames and Move > Play
    /// Selection: a current key frame (what Paste Key Frames would paste is
    /// the window's to tell).
    bool SelectAllFrames = false;
    bool PasteKeyFrames = false;
    bool PlaySelection = false;
    /// Move > Copy Move: a current move.
    bool CopyMove = false;
    /// Move > Play Routine: a move with key frames to play.
    bool PlayRoutine = false;

    bool operator==(const CommandStates &) const = default;
};

/// A run of neighbouring key frames of the current move, numbered from 1:
/// First..Last, 0 and 0 for none.
struct FrameRange {
    int First = 0;
    int Last = 0;

    int Count() const { return First > 0 ? Last - First + 1 : 0; }
    bool operator==(const FrameRange &) const = default;
};

/// The name of a copy of a move called `name` among `moves`: its trimmed
/// name (less a number it ends in) and the first number from 2 that no move
/// has, within the 12 characters a name holds.
std::string NameForCopy(const std::string &name, const TMoveList &moves);
/// The same among trimmed names.
std::string NameForCopy(const std::string &name, const std::vector<std::string> &names);

/// The routine being edited and the editing state, with every edit the editor
/// makes to them: choosing a move and a key frame, posing a body part by
/// number, the move and frame commands, the clipboard and each key frame's
/// undo history, and the routine's own history of every change (Edit > Undo
/// and Redo). It knows nothing of windows or of the mouse; the main window
/// asks the user, calls one of these (or a drag or a nudge run, which push
/// their changes here) and brings its controls in line from the change
/// reported.
///
/// Every change of the routine is a command handed to Push, whose Redo makes
/// it, and ends in one report to OnChanged.
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
    /// The first frame snapshot put there by Copy or Cut, or empty: what
    /// Paste puts into the current key frame.
    std::string ClipboardFrame() const;
    /// Every snapshot Copy or Cut put there, one for each key frame copied.
    const std::string &ClipboardFrames() const { return m_clipboardFrames; }
    /// The routine differs from what it was when last loaded, created, saved
    /// or uploaded: the history stands elsewhere than at that entry.
    bool Modified() const { return !m_history.IsClean(); }
    /// Every change of the routine since it was loaded or created.
    const EditHistory &History() const { return m_history; }
    /// The routine's own file, which Save writes to.
    const DocumentFile &File() const { return m_file; }

    /// The routine was loaded from, or saved to, path.
    void SetOwnFile(const std::string &path);
    /// The routine belongs to no file (new, downloaded, imported into nothing).
    void DetachFile();
    /// A recovery copy was taken back; source is where it came from.
    void RestoredFrom(const std::string &source);

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
    /// Puts a routine restored from a recovery copy in place of the
    /// routine, as one change that Edit > Undo takes back: its changes are
    /// unsaved.
    bool RestoreRoutine(TMoveList moves);
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

    /// Makes a change: the command's Redo makes it, the history keeps it (in
    /// its newest entry when the two merge), the selection the command
    /// leaves becomes current, and the change is reported.
    void Push(std::unique_ptr<RoutineCommand> command);
    /// A change of the current key frame to `after`, from `before` (the
    /// state its entry takes back: with or without the key frame's own
    /// histories), named after body part `part` (0: several). A pose the key
    /// frame already has is no entry: only its own histories may have
    /// changed, and they are put in place. Returns whether the pose changed.
    /// id and continues as PoseCommand's.
    bool PushPose(std::string label, RoutineChange::Kind what, int part, const FrameState &before, FrameState after,
                  int id = 0, bool continues = true);
    /// Takes back the newest change for good (a cancelled drag), selecting
    /// where it was made; false when there is none.
    bool WithdrawChange();
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
    /// file can have none at all). Another key frame than the current one is
    /// selected alone; the current one keeps the range selected with it.
    void SelectFrame(int number);
    /// The 1-based number of the current key frame, 0 for none.
    int CurrentFrameNumber() const;
    int CurrentMoveIndex() const { return IndexOfMove(m_moves, m_currentMove); }
    EditSelection Selection(int part = 0) const;

    // A range of key frames selected with the current one. The range always
    // holds the current key frame, which stays what the preview shows.

    /// The key frames selected: the current one alone ({n, n}), a range, or
    /// none ({0, 0}) with no current key frame.
    FrameRange SelectedFrames() const;
    /// More than one key frame is selected.
    bool RangeSelected() const { return SelectedFrames().Count() > 1; }
    /// Selects the key frames from the current one to `number` (Shift+click).
    void ExtendSelection(int number);
    /// Moves the range's end away from the current key frame by one key frame
    /// (Shift+Left, Shift+Right); with the current key frame inside the range
    /// (after Select All), the last end, down to the current key frame.
    void StepSelection(int by);
    /// Every key frame of the current move.
    void SelectAllFrames();
    /// The current key frame alone again.
    void SelectOneFrame();
    /// The enabling table of the Move and Frame menus, from the same checks
    /// the commands make.
    CommandStates Commands() const;
    /// There is a routine to save, save elsewhere or upload: one was loaded,
    /// created, downloaded, restored or imported.
    bool CanWriteRoutine() const { return !m_moves.empty(); }

    // Editing the current key frame.

    /// Sets a body part (1..12) of the current key frame from its X and Y boxes.
    void SetPartPosition(int part, int x, int y);
    /// Interpolation and displacement typed: on every selected key frame.
    void SetInterpolation(int value);
    void SetDisplacement(int value);
    /// Sets the current key frame's interpolation so that it falls on the
    /// frame of its reference on screen: "Time Key Frame to Reference".
    void TimeKeyFrame(int interpolation);

    /// Gives the current move a reference, changes it or takes it away
    /// (none): one change of the history, named by label, that a next one
    /// of the same label continuing it joins (the steps of one drag).
    void SetReference(std::string label, std::optional<MoveReference> reference, bool continues = false);

    // Move commands; each selects the move it leaves to be shown (at its key
    // frame 1, except Rename and Move Up or Down, which keep the key frame)
    // and returns its index, or -1 when it did nothing.

    /// A current move and key frame to edit: the Move and Frame commands ask
    /// for one.
    bool CanEdit() const { return m_currentMove && m_currentFrame; }
    /// Adds the standing "NewMove" before the last two moves (at the start
    /// while there are fewer than four).
    int AddMove();
    int RenameMove(const std::string &name);
    /// Delete Move keeps at least three moves in the routine.
    bool CanDeleteMove() const;
    /// Deletes the current move; the follower, or the new last one, becomes
    /// current.
    int DeleteMove();
    /// Room for one more move in the routine file.
    bool CanDuplicateMove() const { return m_currentMove && MoveRoom() > 0; }
    /// Puts a copy of the current move (key frames and poses; no undo
    /// history) right after it, named by NameForCopy.
    int DuplicateMove();
    /// A neighbour on that side (by -1 before, by 1 after).
    bool CanShiftMove(int by) const;
    /// Swaps the current move with the one before (by -1) or after (by 1).
    int ShiftMove(int by);
    /// How many more moves the routine file can hold.
    int MoveRoom() const;
    /// Raises std::runtime_error saying how many fit when `count` moves
    /// coming by `how` ("were chosen", "would be pasted") do not.
    void RequireMoveRoom(size_t count, const char *how) const;
    /// Appends the moves at the end of the routine, in order, and gives the
    /// index of the first of them (-1 for none). Moves that would pass the
    /// file's limit raise std::runtime_error saying how many fit, and nothing
    /// changes.
    int AppendMoves(TMoveList incoming);
    /// Move > Paste Move: inserts the moves after the current one (at the
    /// start of a routine without moves), the first of them selected. A name
    /// the routine has already is made another as Duplicate Move makes it.
    /// Past the file's limit: std::runtime_error, and nothing changes.
    int PasteMoves(TMoveList incoming);

    // Frame commands; each selects the key frame it leaves to be shown and
    // returns its number, or 0 when it did nothing.

    /// Appends a copy of the last key frame's pose (the all-zero pose in a
    /// move without key frames), which becomes current.
    int AddFrame();
    /// Puts a copy of the current key frame before it; the current key
    /// frame, with its history, moves one on.
    int InsertFrame();
    /// Something would be left: the selected key frames are not all of the move's.
    bool CanDeleteFrame() const;
    /// Deletes the selected key frames unless they are all the move has; the
    /// follower, or the new last one, becomes current.
    int DeleteFrame() { return RemoveFrame("Delete Frame"); }
    /// The deletion that ends a Cut (the clipboard is filled already): the
    /// same, named "Cut" in the history.
    int CutFrame() { return RemoveFrame("Cut"); }
    /// Copies the selected key frames' poses to the clipboard (empties it
    /// with nothing current).
    void CopyFrame();
    /// Whether Paste has a snapshot to put into a current key frame.
    bool CanPaste() const;
    /// Replaces the current key frame's pose with the clipboard's first
    /// snapshot, taking an undo snapshot first, so Undo brings the pose back.
    void PasteFrame();
    /// The same with a snapshot from elsewhere (the desktop's clipboard).
    void PasteFrame(const std::string &snapshot);
    /// Inserts key frames made from frame snapshots after the current key
    /// frame (no undo histories), the first of them current and all of them
    /// selected; returns its number. Past the 255 key frames a move holds:
    /// std::runtime_error saying so, and nothing changes.
    int PasteKeyFrames(const std::string &snapshots);
    bool CanReverseFrames() const { return CanEdit() && RangeSelected(); }
    /// Puts the selected key frames in the opposite order, each with its own
    /// histories; the range stays selected and the current key frame goes
    /// with the reversal. Returns its number, or 0.
    int ReverseFrames();
    /// Moves key frame `from` (1-based) of the current move to place `to`,
    /// the key frames between shifting by one; it keeps its history and
    /// becomes current. Returns `to`, or 0 when either number is outside the
    /// move or both are the same place.
    int MoveFrame(int from, int to);

    // The current key frame's own undo history (Frame > Undo and Redo).

    /// Keeps the current pose, unless the newest entry already holds it.
    void PushUndoSnapshot();
    bool CanUndoFramePose() const { return m_currentFrame && !m_currentFrame->UndoList.empty(); }
    bool CanRedoFramePose() const { return m_currentFrame && !m_currentFrame->RedoList.empty(); }
    /// Frame > Undo: brings the newest kept pose back, keeping the pose it
    /// replaces for Redo; false when there is none.
    bool UndoFramePose();
    /// Brings back the pose the newest Undo replaced, keeping the current
    /// one in the undo history; false when nothing was undone.
    bool RedoFramePose();
    /// Takes an undo snapshot, then mirrors the pose across the shoulders:
    /// of every selected key frame.
    bool MirrorPose();

private:
    using Change = RoutineChange::Kind;
    /// Reports a change, with the move (index) and key frame (number) it
    /// concerned and the selection afterwards.
    void Changed(Change what, int move = -1, int frame = 0);
    /// Reports a change made at a selection: the move and key frame it
    /// concerned, as far as the kind of change names them.
    void ChangedAt(Change what, const EditSelection &where);
    /// Selects where a change of the history left the routine and reports it.
    EditSelection ShowWalk(const EditCommand &command, bool back);
    THFFrame *FindFrame(int number) const;
    /// Selects the move, key frame and range of a change.
    void Select(const EditSelection &where);
    /// Selects first..last with the current key frame, or it alone when
    /// that is no range holding it.
    void SetRange(int first, int last);
    /// Edits every selected key frame (with its own histories) as one entry.
    template <typename Edit>
    void EditRange(const char *label, Change what, int id, bool withHistories, Edit edit);
    void SetRangeNumber(int32_t THFFrame::*field, int value, const char *label, int id);
    void MirrorRange();
    /// Keeps the frame's pose in its own undo history, unless the newest
    /// entry already holds it; a new edit branches off, so what was undone goes.
    static void KeepPose(THFFrame &frame);
    int RemoveFrame(const char *label);
    /// Interpolation or displacement typed into its box.
    /// wholeRange: on every selected key frame, else on the current one alone.
    void SetFrameNumber(int32_t FrameState::*field, int32_t THFFrame::*frameField, int value, const char *label,
                        int id, bool wholeRange = true);
    /// Edits a copy of the current key frame (with its own histories) and
    /// pushes the change as one pose command.
    template <typename Edit>
    bool EditFrame(const char *label, Change what, Edit edit);

    TMoveList m_moves;
    THFMove *m_currentMove = nullptr;
    THFFrame *m_currentFrame = nullptr;
    std::string m_clipboardFrames;
    int m_rangeFirst = 0, m_rangeLast = 0;  // 0, 0: the current key frame alone
    EditHistory m_history;
    DocumentFile m_file;
};

} // namespace hoofer
