// Keeping the selectors, the spin edits, the menu and the preview in step
// with the selection, and turning the user's edits of those controls into
// edits of the current key frame.
#include "hoofer_window.h"

#include "app/flag_scope.h"

namespace hoofer {

void TfrmHoofer::ShowPartPosition(int part)
{
    // The program writes the boxes: their change handler must not store them.
    FlagScope updating(UpdatingControls);
    spinPartX->SetValue(CurrentFrame->Point(part).X);
    spinPartY->SetValue(CurrentFrame->Point(part).Y);
}

void TfrmHoofer::RefreshView()
{
    ShowPlayingTime();
    const CommandStates can = Core.Commands();
    const std::pair<toolkit::TMenuItem *, bool> items[] = {
        {mnuFrameUndoFrame, can.Undo},     {mnuFrameAddFrame, can.AddFrame},   {mnuFrameInsertFrame, can.InsertFrame},
        {mnuFrameCopy, can.Copy},          {mnuFrameCutFrame, can.Cut},        {mnuFramePaste, can.Paste},
        {mnuFrameDeleteFrame, can.DeleteFrame}, {mnuMovePlay, can.PlayMove},   {mnuMoveAddMove, can.AddMove},
        {mnuMoveRenameMove, can.RenameMove},    {mnuMoveDeleteMove, can.DeleteMove},
        {mnuFrameRedoFrame, can.Redo},          {mnuFrameMirrorPose, can.MirrorPose},
        {mnuFileExportMoveAsGif, can.ExportMove},
        {mnuMoveDuplicateMove, can.DuplicateMove}, {mnuMoveMoveUp, can.MoveUp},
        {mnuMoveMoveDown, can.MoveDown},
    };
    if (CurrentMove && CurrentFrame) {
        spinInterpolate->SetValue(CurrentFrame->Interpolation);
        spinDisplacement->SetValue(CurrentFrame->Displacement);
        for (const auto &[item, enabled] : items)
            item->SetEnabled(enabled);
        const int s = cbxBodyPart->ItemIndex();
        if (s == -1) {
            spinPartX->SetValue(0);
            spinPartY->SetValue(0);
        } else {
            ShowPartPosition(s + 1);
        }
        DrawFrame(*CurrentFrame);
    } else {
        spinPartX->SetValue(0);
        spinPartY->SetValue(0);
        for (const auto &[item, enabled] : items)
            item->SetEnabled(enabled);
    }
    FollowKeyFrameStrip();
}

void TfrmHoofer::cbxMovesSelect()
{
    const int index = cbxMoves->ItemIndex();
    if (index >= 0) {
        Core.SelectMove(index);
        spinFrameNumber->SetValue(1);
        spinFrameNumber->SetMaxValue(static_cast<int>(CurrentMove->Frames.size()));
        Core.SelectFrame(spinFrameNumber->Value());
    } else {
        Core.SelectMove(-1);
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
    Core.SelectFrame(spinFrameNumber->Value());
    RefreshView();
}

void TfrmHoofer::cbxBodyPartChange()
{
    const int s = cbxBodyPart->ItemIndex();
    if (CurrentMove && CurrentFrame && s >= 0) {
        ShowPartPosition(s + 1);
        Core.PushUndoSnapshot();
    }
    RefreshView();
}

void TfrmHoofer::spinPartChange()
{
    const int s = cbxBodyPart->ItemIndex();
    if (UpdatingControls || !CurrentMove || !CurrentFrame || s < 0)
        return;
    Core.SetPartPosition(s + 1, spinPartX->Value(), spinPartY->Value());
    DrawFrame(*CurrentFrame);
}

void TfrmHoofer::spinInterpolateChange()
{
    Core.SetInterpolation(spinInterpolate->Value());
}

void TfrmHoofer::spinDisplacementChange()
{
    Core.SetDisplacement(spinDisplacement->Value());
}

} // namespace hoofer
