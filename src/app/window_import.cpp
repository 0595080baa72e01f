// File > Import Moves: moves of another routine file appended to this one.
#include "hoofer_window.h"

#include "app/import_moves_dialog.h"
#include "model/routine_codec.h"
#include "model/save_file.h"
#include "toolkit/text.h"

#include <stdexcept>

namespace hoofer {

namespace {

/// The moves of a routine file, refused with the very messages Load gives.
TMoveList ReadImportedMoves(const std::string &path)
{
    std::string content, why;
    if (!ReadWholeFile(path, content, why))
        throw std::runtime_error("Cannot open file " + toolkit::PathForMessage(path) + "\n" + why);
    try {
        return DecodeRoutine(content);
    } catch (const RoutineFormatError &e) {
        throw std::runtime_error(toolkit::PathForMessage(path) + " is " + e.what());
    }
}

} // namespace

void TfrmHoofer::mnuFileImportMovesClick()
{
    ImportDialog.initialFolder = DialogFolder();
    const auto chosen = m_dialogs->OpenFile(ImportDialog);
    if (!chosen)
        return;
    ImportDialog.fileName = *chosen;
    TMoveList found = ReadImportedMoves(*chosen);
    std::vector<std::string> items;
    for (size_t i = 0; i < found.size(); ++i)
        items.push_back(toolkit::FromQt(MoveItemText(static_cast<int>(i), TrimName(found[i]->MoveName))));
    TfrmImportMoves dialog(this, items);
    if (m_dialogs->ShowChoice(dialog) != toolkit::kModalResultOk)
        return;
    TMoveList picked;
    for (const int i : dialog.Checked())
        picked.push_back(std::move(found[i]));
    if (picked.empty())
        return;
    if (static_cast<int>(picked.size()) > Core.MoveRoom())
        throw std::runtime_error("The routine has room for " + std::to_string(Core.MoveRoom())
                                 + " more moves (a routine holds 256 at most); "
                                 + std::to_string(picked.size()) + " were chosen.");
    if (Core.Moves().empty()) {
        // As New Routine does, but from the imported moves: a routine with
        // no file of its own, whose moves are not saved anywhere yet (the
        // import is its one change, which Undo takes back).
        Core.DetachFile();
        cbxBodyPart->SetItemIndex(0);
    }
    Core.AppendMoves(std::move(picked));
}

} // namespace hoofer
