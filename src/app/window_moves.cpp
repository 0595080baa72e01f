// Move > Add Move, Rename Move, Delete Move, Duplicate Move, Move Up and
// Move Down, and the playing time shown on the move selector.
#include "hoofer_window.h"

#include "toolkit/text.h"

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

void TfrmHoofer::mnuMoveDuplicateMoveClick()
{
    const int copy = Core.DuplicateMove();
    if (copy >= 0)
        ShowSelectedMove(copy);
}

void TfrmHoofer::ShiftCurrentMove(int by)
{
    const int number = spinFrameNumber->Value();
    const int to = Core.ShiftMove(by);
    if (to < 0)
        return;
    ShowSelectedMove(to);
    spinFrameNumber->SetValue(number);
    spinFrameNumberChange();
}

void TfrmHoofer::ShowPlayingTime()
{
    // A tooltip rather than a label: the window keeps its design.
    const QString text = CurrentMove ? "Playing time: " + toolkit::ToQt(PlayingTimeText(*CurrentMove)) : QString();
    if (cbxMoves->toolTip() != text)
        cbxMoves->setToolTip(text);
}

} // namespace hoofer
