// Routines in and out of the window: reading an image into the moves and the
// move selector, writing the moves back, File > Load, File > Save, File >
// Save As and File > Export Move as GIF.
#include "hoofer_window.h"

#include "model/routine_codec.h"
#include "export/move_gif.h"
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
    const TMoveList &moves = Core.Moves();
    for (size_t i = 0; i < moves.size(); ++i)
        cbxMoves->AddItem(MoveItemText(static_cast<int>(i), TrimName(moves[i]->MoveName)), moves[i].get());
}

TMoveList ReadRoutineFile(const std::string &path, std::vector<std::string> *notes)
{
    std::string content, why;
    if (!ReadWholeFile(path, content, why))
        throw std::runtime_error("Cannot open file " + toolkit::PathForMessage(path) + "\n" + why);
    // An empty file was taken for nothing to do, and a picture's bytes were
    // explained as a routine's: the message says first what the file is not.
    if (content.empty())
        throw std::runtime_error(toolkit::PathForMessage(path) + " is empty: it holds no routine.");
    TMoveList moves;
    try {
        moves = DecodeRoutine(content);
    } catch (const RoutineFormatError &e) {
        throw std::runtime_error(toolkit::PathForMessage(path) + " is not a routine file: " + e.what());
    }
    std::vector<std::string> leftOut = ReadReferenceSidecar(path, moves);
    if (notes)
        *notes = std::move(leftOut);
    return moves;
}

void TfrmHoofer::ParseRoutine(const std::string &data)
{
    // An image that cannot be read raises before anything is replaced.
    if (!data.empty())
        Core.ReplaceRoutine(data);
}

std::string TfrmHoofer::SerialiseRoutine() const
{
    return Core.SerialiseRoutine();
}

void TfrmHoofer::mnuFileLoadClick()
{
    OpenDialog.initialFolder = DialogFolder();
    const auto chosen = m_dialogs->OpenFile(OpenDialog);
    if (!chosen || !ConfirmReplace())
        return;
    OpenRoutineFile(*chosen);
}

void TfrmHoofer::OpenRoutineFile(const std::string &path)
{
    // A load that fails or reads nothing leaves the routine as it was, and
    // with it what can be done with it.
    Drag.BlockUntilRelease();
    std::vector<std::string> notes;
    Core.ReplaceRoutine(ReadRoutineFile(path, &notes));
    Core.SetOwnFile(path);
    NoteReferencesSaved();
    if (!notes.empty())
        ShowStatus(notes.front());
    Recent.Add(path);
    UpdateRecentMenu();
    SettingsChanged();
}

void TfrmHoofer::mnuFileSaveClick()
{
    if (Core.File().HasOwnFile())
        SaveRoutineTo(Core.File().OwnFile());
    else
        mnuFileSaveAsClick();
}

void TfrmHoofer::mnuFileSaveAsClick()
{
    SaveDialog.initialFolder = DialogFolder();
    SaveDialog.fileName = Core.File().Source();
    if (const auto chosen = m_dialogs->SaveFile(SaveDialog))
        SaveRoutineTo(*chosen);
}

void TfrmHoofer::SaveRoutineTo(const std::string &path)
{
    const std::string data = SerialiseRoutine();
    if (const std::string why = SaveFileAtomically(path, data); !why.empty())
        throw std::runtime_error("Cannot create file " + toolkit::PathForMessage(path) + "\n" + why);
    WriteReferenceSidecarFor(path, Core.Moves());
    NoteReferencesSaved();
    Core.SetOwnFile(path);
    Core.MarkSaved();
    Recent.Add(path);
    UpdateRecentMenu();
    SettingsChanged();
}

void TfrmHoofer::mnuFileExportMoveAsGifClick()
{
    const THFMove *move = Core.CurrentMove();
    if (!move)
        return;
    ExportGifDialog.initialFolder = DialogFolder();
    ExportGifDialog.fileName = GifNameForMove(move->MoveName);
    const auto chosen = m_dialogs->SaveFile(ExportGifDialog);
    if (!chosen)
        return;
    // The very file `hoofer render` writes, at scale 1.
    if (const std::string why = WriteMoveGif(*move, *chosen, 1); !why.empty())
        throw std::runtime_error("Cannot create file " + toolkit::PathForMessage(*chosen) + "\n" + why);
    Recent.NoteFolderOf(*chosen);
    SettingsChanged();
}

} // namespace hoofer
