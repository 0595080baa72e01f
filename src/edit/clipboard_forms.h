#pragma once

#include "model/move.h"

#include <optional>
#include <string>

namespace hoofer {

/// The type under which the editor puts key frames on the desktop clipboard:
/// their frame snapshots, one after the other.
inline constexpr const char *kKeyFramesMimeType = "application/x-hooferedit-keyframes";
/// The type under which it puts moves there: a routine image holding them.
inline constexpr const char *kMovesMimeType = "application/x-hooferedit-moves";

/// What goes on the desktop clipboard for key frames or moves: the bytes of
/// the editor's own type, for another editor window to read exactly, and
/// the routine's JSON text, for people and other programs.
struct ClipboardForms {
    std::string data;
    std::string text;
};

/// Key frames given as frame snapshots, copied from a move of that name: the
/// text is a routine of one such move.
ClipboardForms KeyFramesForms(const std::string &moveName, const std::string &snapshots);
/// One move, name and key frames.
ClipboardForms MoveForms(const THFMove &move);

/// What the desktop clipboard holds that the editor can read: the bytes of
/// its own types, when it has them, and its text, when it has text.
struct ClipboardOffer {
    std::optional<std::string> keyFrames;
    std::optional<std::string> moves;
    std::optional<std::string> text;
};

/// Text is taken for the JSON of key frames or moves when it starts (after
/// blanks) with "{" or "["; other text is no content of the editor's and is
/// left alone.
bool LooksLikeJson(const std::string &text);

/// Something read off the clipboard: the key frames or moves, or the message
/// saying why the text is not valid; neither when the clipboard holds none.
struct KeyFramesRead {
    std::string snapshots;
    std::string error;
};
struct MovesRead {
    TMoveList moves;
    std::string error;
};

/// Key frames from the offer: the editor's own bytes (key frames, or the key
/// frames of moves), else JSON text as KeyFramesFromJson reads it.
KeyFramesRead ReadKeyFrames(const ClipboardOffer &offer);
/// Moves from the offer: the editor's own bytes, else a routine's JSON text.
MovesRead ReadMoves(const ClipboardOffer &offer);
/// Whether the offer holds something the readers would read (or refuse with
/// a message): the Paste commands are offered for it.
bool OffersContent(const ClipboardOffer &offer);

} // namespace hoofer
