// Move > Add Move, Rename Move and Delete Move.
#include "app/hoofer_window.h"

#include "edit/string_entry_dialog.h"
#include "toolkit/text.h"

namespace hoofer {

void TfrmHoofer::mnuMoveAddMoveClick()
{
    const int c = static_cast<int>(Moves.size());
    auto move = MakeStandingMove();
    THFMove *added = move.get();
    const int at = c >= 4 ? c - 2 : 0;
    Moves.insert(Moves.begin() + at, std::move(move));
    RebuildMoveSelector();
    // The new move is always the one selected, also where c - 2 would point
    // elsewhere (one or three moves before).
    cbxMoves->SetItemIndex(IndexOfMove(Moves, added));
    cbxMovesSelect();
    spinFrameNumber->SetValue(spinFrameNumber->MinValue());
    spinFrameNumberChange();
    RefreshView();
}

void TfrmHoofer::mnuMoveRenameMoveClick()
{
    if (!CurrentMove)
        return;
    auto dialog = std::make_unique<TfrmSingleStringEntry>(this);
    dialog->SetTheText(TrimName(CurrentMove->MoveName));
    dialog->SetMaxLength(12);
    if (m_dialogs->ShowModal(*dialog) == 1) {
        CurrentMove->MoveName = dialog->TheText();
        const int i = IndexOfMove(Moves, CurrentMove);
        cbxMoves->SetItemText(i, MoveItemText(i, CurrentMove->MoveName));
        cbxMoves->SetItemIndex(i);
    }
}

void TfrmHoofer::mnuMoveDeleteMoveClick()
{
    if (!CurrentMove || Moves.size() <= 2)
        return;
    int i = IndexOfMove(Moves, CurrentMove);
    CurrentMove = nullptr;
    CurrentFrame = nullptr;
    Moves.erase(Moves.begin() + i);
    if (i > static_cast<int>(Moves.size()) - 1)
        i = static_cast<int>(Moves.size()) - 1;
    RebuildMoveSelector();
    cbxMoves->SetItemIndex(i);
    cbxMovesSelect();
    spinFrameNumber->SetValue(spinFrameNumber->MinValue());
    spinFrameNumberChange();
    RefreshView();
}

} // namespace hoofer
