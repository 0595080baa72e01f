// Copy, Cut and Paste of key frames, Paste Key Frames, and Copy Move and
// Paste Move: the window's own one-frame clipboard kept by the core, and the
// desktop's clipboard, through which key frames and moves go to other
// editor windows and, as JSON text, to any other program.
#include "hoofer_window.h"

#include "edit/clipboard_forms.h"
#include "model/routine_codec.h"
#include "toolkit/clipboard.h"

#include <stdexcept>

namespace hoofer {

namespace {

ClipboardOffer DesktopOffer()
{
    using toolkit::Clipboard;
    return {Clipboard::Data(kKeyFramesMimeType), Clipboard::Data(kMovesMimeType), Clipboard::Text()};
}

/// Whether the desktop clipboard offers what Paste can take, fetching as
/// little as that takes: the types' names, and the text only without them.
bool DesktopOffersContent()
{
    using toolkit::Clipboard;
    ClipboardOffer offer;
    if (Clipboard::Has(kKeyFramesMimeType) || Clipboard::Has(kMovesMimeType))
        offer.keyFrames.emplace();
    else
        offer.text = Clipboard::Text();
    return OffersContent(offer);
}

} // namespace

void TfrmHoofer::WatchClipboard()
{
    toolkit::Clipboard::WhenChanged(this, [this] { ClipboardChanged(); });
    m_clipboardOffers = DesktopOffersContent();
}

void TfrmHoofer::ClipboardChanged()
{
    // Read once for each change: the enabling reads only this.
    m_clipboardOffers = DesktopOffersContent();
    if (!m_playing)
        EnableCommands();
}

std::string TfrmHoofer::RangeQuestion(const char *verb) const
{
    const FrameRange range = Core.SelectedFrames();
    if (range.Count() <= 1)
        return std::string(verb) + " current frame?";
    return std::string(verb) + " frames " + std::to_string(range.First) + " to " + std::to_string(range.Last) + "?";
}

void TfrmHoofer::mnuFrameCopyClick()
{
    Core.CopyFrame();
    if (!Core.CurrentFrame())
        return;
    const ClipboardForms forms = KeyFramesForms(Core.CurrentMove()->MoveName, Core.ClipboardFrames());
    toolkit::Clipboard::Put({{kKeyFramesMimeType, forms.data}}, forms.text);
    // The clipboard is no part of the routine: only Paste's enabling follows.
    RefreshView();
}

void TfrmHoofer::mnuFrameCutFrameClick()
{
    mnuFrameCopyClick();
    if (Core.CanDeleteFrame() && ConfirmUndoable(RangeQuestion("Cut")))
        DeleteCurrentFrame(false);
}

std::optional<std::string> TfrmHoofer::ClipboardKeyFrames()
{
    const KeyFramesRead read = ReadKeyFrames(DesktopOffer());
    if (!read.error.empty()) {
        m_dialogs->Error("The text on the clipboard is not key frames of a routine: " + read.error);
        return std::nullopt;
    }
    // Neither an editor's key frames nor their text: the window's own.
    return read.snapshots.empty() ? Core.ClipboardFrames() : read.snapshots;
}

void TfrmHoofer::mnuFramePasteClick()
{
    if (!Core.CurrentFrame())
        return;
    const std::optional<std::string> frames = ClipboardKeyFrames();
    const std::string first = frames ? frames->substr(0, kFrameRecordSize) : std::string();
    if (first.size() == static_cast<size_t>(kFrameRecordSize) && ConfirmUndoable("Replace current frame?"))
        Core.PasteFrame(first);
    else
        RefreshView();
}

void TfrmHoofer::mnuFramePasteKeyFramesClick()
{
    if (!Core.CanEdit())
        return;
    const std::optional<std::string> frames = ClipboardKeyFrames();
    if (!frames || frames->empty())
        return;
    try {
        Core.PasteKeyFrames(*frames);
    } catch (const std::runtime_error &e) {
        m_dialogs->Error(e.what());
    }
}

void TfrmHoofer::mnuMoveCopyMoveClick()
{
    const THFMove *move = Core.CurrentMove();
    if (!move)
        return;
    const ClipboardForms forms = MoveForms(*move);
    toolkit::Clipboard::Put({{kMovesMimeType, forms.data}}, forms.text);
    ShowStatus("Copied move \"" + TrimName(move->MoveName) + "\"");
}

void TfrmHoofer::mnuMovePasteMoveClick()
{
    MovesRead read = ReadMoves(DesktopOffer());
    if (!read.error.empty()) {
        m_dialogs->Error("The text on the clipboard is not moves of a routine: " + read.error);
        return;
    }
    if (read.moves.empty()) {
        ShowStatus("The clipboard holds no move");
        return;
    }
    const bool intoNothing = Core.Moves().empty();
    if (intoNothing)
        cbxBodyPart->SetItemIndex(0);
    try {
        Core.PasteMoves(std::move(read.moves));
    } catch (const std::runtime_error &e) {
        m_dialogs->Error(e.what());
        return;
    }
    // A routine made of pasted moves belongs to no file yet, as one imported.
    if (intoNothing)
        Core.DetachFile();
}

} // namespace hoofer
