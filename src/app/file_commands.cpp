// Routines in and out of the window: reading an image into the moves and the
// move selector, writing the moves back, and File > Load and File > Save.
#include "hoofer_window.h"

#include "model/routine_codec.h"
#include "model/save_file.h"
#include "toolkit/text.h"

#include <stdexcept>

namespace hoofer {

QString TfrmHoofer::MoveItemText(int index, const std::string &name) const
{
    return QString::number(index) + "> " + toolkit::ToQt(name);
}

void TfrmHoofer::RebuildMoveSelector()
{
    cbxMoves->ClearItems();
    for (size_t i = 0; i < Moves.size(); ++i)
        cbxMoves->AddItem(MoveItemText(static_cast<int>(i), TrimName(Moves[i]->MoveName)), Moves[i].get());
}

void TfrmHoofer::ParseRoutine(const std::string &data)
{
    if (data.empty())
        return;
    // The whole image is checked before anything is replaced, so a truncated
    // one leaves the routine and the selection exactly as they were.
    TMoveList incoming = DecodeRoutine(data);

    FreeListItems(Moves);
    PackList(Moves);
    CurrentMove = nullptr;
    CurrentFrame = nullptr;
    cbxMoves->ClearItems();
    Moves = std::move(incoming);
    RebuildMoveSelector();

    if (cbxMoves->Count() > 0) {
        cbxMoves->SetItemIndex(0);
        spinFrameNumber->SetValue(0);
        cbxBodyPart->SetItemIndex(0);
        cbxMovesSelect();
        spinFrameNumberChange();
        RefreshView();
        mnuFileSave->SetEnabled(true);
        mnuFileUploadtoEmpeg->SetEnabled(true);
    }
}

std::string TfrmHoofer::SerialiseRoutine() const
{
    return EncodeRoutine(Moves);
}

void TfrmHoofer::mnuFileLoadClick()
{
    const auto chosen = m_dialogs->OpenFile(OpenDialog);
    if (!chosen)
        return;
    OpenDialog.fileName = *chosen;

    // A load that fails or reads nothing leaves Save and Upload as they were,
    // so edits on screen can still be saved.
    const bool saveWas = mnuFileSave->Enabled();
    const bool uploadWas = mnuFileUploadtoEmpeg->Enabled();
    mnuFileSave->SetEnabled(false);
    mnuFileUploadtoEmpeg->SetEnabled(false);
    DragBlocked = true;
    auto restore = [&] {
        mnuFileSave->SetEnabled(saveWas);
        mnuFileUploadtoEmpeg->SetEnabled(uploadWas);
    };

    std::string content, why;
    if (!ReadWholeFile(*chosen, content, why)) {
        restore();
        throw std::runtime_error("Cannot open file " + toolkit::PathForMessage(*chosen) + "\n" + why);
    }
    try {
        ParseRoutine(content);
    } catch (const RoutineFormatError &e) {
        restore();
        throw std::runtime_error(toolkit::PathForMessage(*chosen) + " is " + e.what());
    } catch (...) {
        restore();
        throw;
    }
    if (content.empty())
        restore();
}

void TfrmHoofer::mnuFileSaveClick()
{
    SaveDialog.fileName = OpenDialog.fileName;
    const auto chosen = m_dialogs->SaveFile(SaveDialog);
    if (!chosen)
        return;
    const std::string data = SerialiseRoutine();
    if (const std::string why = SaveFileAtomically(*chosen, data); !why.empty())
        throw std::runtime_error("Cannot create file " + toolkit::PathForMessage(*chosen) + "\n" + why);
    Modified = false;
}

} // namespace hoofer
