#pragma once

namespace hoofer {

/// What one change of the routine touched, as the editing core reports it to
/// whoever follows the routine: the window brings its controls in line from
/// it, and the key frame strip draws again only the thumbnails it concerns.
/// Choosing another move or key frame is not a change of the routine and is
/// not reported.
struct RoutineChange {
    enum class Kind {
        /// Points of one key frame's pose moved: typed, dragged, nudged, mirrored.
        Coordinates,
        /// One key frame's pose as a whole, or its interpolation or
        /// displacement: Paste, Undo, Redo, a value typed.
        Pose,
        /// Frame > Undo or Redo, or a cancelled drag, brought back the pose the
        /// key frame already had: only its undo and redo histories changed.
        History,
        /// Key frames of one move added, inserted, pasted, deleted, reordered
        /// or reversed.
        KeyFrames,
        /// The current move renamed.
        MoveName,
        /// A move's reference chosen, changed or removed.
        Reference,
        /// Moves added, deleted, duplicated, reordered or appended.
        Moves,
        /// The whole routine replaced (loaded, new, downloaded, restored).
        Routine,
        /// Only the unsaved-changes mark or the routine's history: after a
        /// save or an upload.
        Mark,
        /// The routine's own file: loaded from or saved to one, or none.
        File,
    };

    Kind kind = Kind::Mark;
    /// The index of the move concerned: the one edited, or the one added,
    /// renamed, deleted (where it was), copied, moved (where it went) or the
    /// first one appended; -1 for Routine, Mark and File.
    int move = -1;
    /// The 1-based number of the key frame concerned: the one edited, or the
    /// one added, inserted, deleted (where it was) or moved (where it went);
    /// 0 for several key frames edited together, and for a change of moves,
    /// of the routine, of the mark or of the file.
    int frame = 0;
    /// The selection the core chose afterwards: a move index (-1 none) and a
    /// key frame number (0 none).
    int selectedMove = -1;
    int selectedFrame = 0;

    bool operator==(const RoutineChange &) const = default;
};

} // namespace hoofer
