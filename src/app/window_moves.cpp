// Move > Add Move, Rename Move and Delete Move.
#include "hoofer_window.h"

namespace hoofer {

void TfrmHoofer::ShowSelectedMove(int index)
{
    RebuildMoveSelector();
    cbxMoves->SetItemIndex(index);
    cbxMovesSelect();
    spinFrameNumber->SetValue(spinFrameNumber->MinValue());
    spinFrameNumberChange();
    RefreshView();
}

void TfrmHoofer::mnuMoveAddMoveClick()
{
    // The new move is the one selected, wherever it went in.
    ShowSelectedMove(Core.AddMove());
}

void TfrmHoofer::mnuMoveRenameMoveClick()
{
    if (!CurrentMove)
        return;
    const auto name = AskString(TrimName(CurrentMove->MoveName), kMoveNameLength, "");
    if (!name)
        return;
    const int i = Core.RenameMove(*name);
    cbxMoves->SetItemText(i, MoveItemText(i, CurrentMove->MoveName));
    cbxMoves->SetItemIndex(i);
}

void TfrmHoofer::mnuMoveDeleteMoveClick()
{
    const int next = Core.DeleteMove();
    if (next >= 0)
        ShowSelectedMove(next);
}

} // namespace hoofer
