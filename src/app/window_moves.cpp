// Move > Add Move, Rename Move, Delete Move, Duplicate Move, Move Up and
// Move Down, and the playing time shown on the move selector. The core
// selects the move to show and reports the change; RoutineChanged shows it.
#include "hoofer_window.h"

#include "toolkit/text.h"

namespace hoofer {

void TfrmHoofer::mnuMoveAddMoveClick()
{
    Core.AddMove();
}

void TfrmHoofer::mnuMoveRenameMoveClick()
{
    if (!Core.CurrentMove())
        return;
    if (const auto name = AskString(TrimName(Core.CurrentMove()->MoveName), kMoveNameLength, ""))
        Core.RenameMove(*name);
}

void TfrmHoofer::mnuMoveDeleteMoveClick()
{
    Core.DeleteMove();
}

void TfrmHoofer::mnuMoveDuplicateMoveClick()
{
    Core.DuplicateMove();
}

void TfrmHoofer::ShiftCurrentMove(int by)
{
    Core.ShiftMove(by);
}

void TfrmHoofer::ShowPlayingTime()
{
    // A tooltip rather than a label: the window keeps its design.
    const THFMove *move = Core.CurrentMove();
    const QString text = move ? "Playing time: " + toolkit::ToQt(PlayingTimeText(*move)) + "\nRoutine: "
                                    + toolkit::ToQt(RoutinePlayingTimeText(Core.Moves()))
                              : QString();
    if (cbxMoves->toolTip() != text)
        cbxMoves->setToolTip(text);
}

} // namespace hoofer
