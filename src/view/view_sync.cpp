// Keeping the selectors, the spin edits, the menu and the preview in step
// with the selection, and turning the user's edits of those controls into
// changes of the current key frame.
#include "app/hoofer_window.h"

namespace hoofer {

void TfrmHoofer::RefreshView()
{
    if (CurrentMove && CurrentFrame) {
        spinInterpolate->SetValue(CurrentFrame->Interpolation);
        spinDisplacement->SetValue(CurrentFrame->Displacement);

        mnuFrameUndoFrame->SetEnabled(!CurrentFrame->UndoList.empty());
        mnuFrameAddFrame->SetEnabled(true);
        mnuFrameInsertFrame->SetEnabled(true);
        mnuFrameCopy->SetEnabled(true);
        mnuFrameCutFrame->SetEnabled(true);
        mnuFramePaste->SetEnabled(!ClipboardFrame.empty());
        mnuFrameDeleteFrame->SetEnabled(CurrentMove->FrameCount > 1);
        mnuMovePlay->SetEnabled(true);
        mnuMoveAddMove->SetEnabled(true);
        mnuMoveRenameMove->SetEnabled(true);
        mnuMoveDeleteMove->SetEnabled(Moves.size() > 3);

        const int s = cbxBodyPart->ItemIndex();
        if (s == -1) {
            spinPartX->SetValue(0);
            spinPartY->SetValue(0);
        } else {
            UpdatingControls = true;
            try {
                spinPartX->SetValue(CurrentFrame->Point(s + 1).X);
                spinPartY->SetValue(CurrentFrame->Point(s + 1).Y);
            } catch (...) {
                UpdatingControls = false;
                throw;
            }
            UpdatingControls = false;
        }
        DrawFrame(*CurrentFrame, nullptr);
    } else {
        spinPartX->SetValue(0);
        spinPartY->SetValue(0);
        for (auto *item : {mnuFrameUndoFrame, mnuFrameAddFrame, mnuFrameInsertFrame, mnuFrameCopy, mnuFrameCutFrame,
                           mnuFramePaste, mnuFrameDeleteFrame, mnuMovePlay, mnuMoveAddMove, mnuMoveRenameMove,
                           mnuMoveDeleteMove})
            item->SetEnabled(false);
        // A move read without key frames can be repaired by adding one.
        mnuFrameAddFrame->SetEnabled(CurrentMove && CurrentMove->Frames.empty());
    }
}

namespace {
/// The key frame at a 1-based number, or none when the move has no such one
/// (a move read from a file can have no key frames at all).
THFFrame *FrameAt(THFMove *move, int number)
{
    if (!move || number < 1 || number > static_cast<int>(move->Frames.size()))
        return nullptr;
    return move->Frames[number - 1].get();
}
} // namespace

void TfrmHoofer::cbxMovesSelect()
{
    const int index = cbxMoves->ItemIndex();
    if (index >= 0) {
        CurrentMove = static_cast<THFMove *>(cbxMoves->ItemObject(index));
        // A key frame of the previous move must never stay current.
        CurrentFrame = nullptr;
        spinFrameNumber->SetValue(1);
        spinFrameNumber->SetMaxValue(static_cast<int>(CurrentMove->Frames.size()));
        CurrentFrame = FrameAt(CurrentMove, spinFrameNumber->Value());
    } else {
        CurrentMove = nullptr;
        CurrentFrame = nullptr;
    }
    RefreshView();
}

void TfrmHoofer::cbxMovesChange()
{
    const int index = cbxMoves->ItemIndex();
    if (index >= 0) {
        if (cbxMoves->Text() != cbxMoves->ItemText(index))
            cbxMoves->SetText(cbxMoves->ItemText(index));
    } else if (cbxMoves->Count() > 0) {
        cbxMoves->SetItemIndex(0);
        cbxMovesSelect();
    }
}

void TfrmHoofer::spinFrameNumberChange()
{
    if (spinFrameNumber->Value() > spinFrameNumber->MaxValue())
        spinFrameNumber->SetValue(spinFrameNumber->MaxValue());
    if (spinFrameNumber->Value() < spinFrameNumber->MinValue())
        spinFrameNumber->SetValue(spinFrameNumber->MinValue());
    CurrentFrame = CurrentMove ? FrameAt(CurrentMove, spinFrameNumber->Value()) : nullptr;
    RefreshView();
}

void TfrmHoofer::cbxBodyPartChange()
{
    const int s = cbxBodyPart->ItemIndex();
    if (CurrentMove && CurrentFrame && s >= 0) {
        UpdatingControls = true;
        try {
            spinPartX->SetValue(CurrentFrame->Point(s + 1).X);
            spinPartY->SetValue(CurrentFrame->Point(s + 1).Y);
            PushUndoSnapshot();
        } catch (...) {
            UpdatingControls = false;
            throw;
        }
        UpdatingControls = false;
    }
    RefreshView();
}

void TfrmHoofer::spinPartChange()
{
    const int s = cbxBodyPart->ItemIndex();
    if (!UpdatingControls && CurrentMove && CurrentFrame && s >= 0) {
        CurrentFrame->Point(s + 1).X = spinPartX->Value();
        CurrentFrame->Point(s + 1).Y = spinPartY->Value();
        Modified = true;
        DrawFrame(*CurrentFrame, nullptr);
    }
}

void TfrmHoofer::spinInterpolateChange()
{
    if (CurrentMove && CurrentFrame)
        CurrentFrame->Interpolation = spinInterpolate->Value();
}

void TfrmHoofer::spinDisplacementChange()
{
    if (CurrentMove && CurrentFrame)
        CurrentFrame->Displacement = spinDisplacement->Value();
}

} // namespace hoofer
