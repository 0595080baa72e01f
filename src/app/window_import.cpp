// File > Import Moves: moves of another routine file appended to this one.
#include "hoofer_window.h"

#include "app/import_moves_dialog.h"
#include "toolkit/text.h"

namespace hoofer {

void TfrmHoofer::mnuFileImportMovesClick()
{
    ImportDialog.initialFolder = DialogFolder();
    const auto chosen = m_dialogs->OpenFile(ImportDialog);
    if (!chosen)
        return;
    ImportDialog.fileName = *chosen;
    TMoveList found = ReadRoutineFile(*chosen);
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
    const bool intoNothing = Core.Moves().empty();
    if (intoNothing)
        cbxBodyPart->SetItemIndex(0);
    Core.AppendMoves(std::move(picked));
    // As New Routine does, but from the imported moves: a routine with no
    // file of its own, whose moves are not saved anywhere yet (the import is
    // its one change, which Undo takes back).
    if (intoNothing)
        Core.DetachFile();
}

} // namespace hoofer
