// Keeping the selectors, the spin edits, the menu and the preview in step
// with the selection, and turning the user's edits of those controls into
// edits of the current key frame.
#include "hoofer_window.h"

#include "app/flag_scope.h"
#include "app/key_frame_thumbnails.h"

#include <algorithm>

namespace hoofer {

namespace {

/// Writes a number into a box unless the box already shows it: a box being
/// typed in ("", "-", "007") keeps what the user typed.
void ShowNumber(toolkit::TSpinEdit &box, int value)
{
    if (box.Value() != value)
        box.SetValue(value);
}

} // namespace

void TfrmHoofer::ShowPartPosition(int part)
{
    // The program writes the boxes: their change handler must not store them.
    FlagScope updating(UpdatingControls);
    spinPartX->SetValue(Core.CurrentFrame()->Point(part).X);
    spinPartY->SetValue(Core.CurrentFrame()->Point(part).Y);
}

void TfrmHoofer::EnableCommands()
{
    const CommandStates can = Core.Commands();
    const std::pair<toolkit::TMenuItem *, bool> items[] = {
        {mnuFrameUndoFrame, can.Undo},     {mnuFrameAddFrame, can.AddFrame},   {mnuFrameInsertFrame, can.InsertFrame},
        {mnuFrameCopy, can.Copy},          {mnuFrameCutFrame, can.Cut},
        {mnuFrameDeleteFrame, can.DeleteFrame}, {mnuMovePlay, can.PlayMove},   {mnuMoveAddMove, can.AddMove},
        {mnuMoveRenameMove, can.RenameMove},    {mnuMoveDeleteMove, can.DeleteMove},
        {mnuFrameRedoFrame, can.Redo},          {mnuFrameMirrorPose, can.MirrorPose},
        {mnuFileExportMoveAsGif, can.ExportMove},
        {mnuMoveDuplicateMove, can.DuplicateMove}, {mnuMoveMoveUp, can.MoveUp},
        {mnuMoveMoveDown, can.MoveDown},       {mnuFileSave, can.WriteRoutine},
        {mnuFileSaveAs, can.WriteRoutine},      {mnuFileUploadtoEmpeg, can.WriteRoutine},
        {mnuFrameReverse, can.ReverseFrames},   {mnuFrameSelectAll, can.SelectAllFrames},
        {mnuMovePlaySelection, can.PlaySelection}, {mnuMovePlayRoutine, can.PlayRoutine},
        {mnuMoveCopyMove, can.CopyMove},
        // What the desktop's clipboard holds is the window's to know.
        {mnuFramePaste, can.Paste || (can.Copy && m_clipboardOffers)},
        {mnuFramePasteKeyFrames, can.PasteKeyFrames && (m_clipboardOffers || !Core.ClipboardFrames().empty())},
        {mnuMovePasteMove, m_clipboardOffers},
    };
    for (const auto &[item, enabled] : items)
        item->SetEnabled(enabled);
    ShowPinCommands();
}

void TfrmHoofer::RefreshView()
{
    ShowPlayingTime();
    EnableCommands();
    if (const THFFrame *frame = Core.CurrentFrame()) {
        {
            // The boxes show the key frame's values: no edit of a range.
            FlagScope updating(UpdatingControls);
            spinInterpolate->SetValue(frame->Interpolation);
            spinDisplacement->SetValue(frame->Displacement);
        }
        const int s = cbxBodyPart->ItemIndex();
        if (s == -1) {
            spinPartX->SetValue(0);
            spinPartY->SetValue(0);
        } else {
            ShowPartPosition(s + 1);
        }
        FollowReference(false);
        DrawFrame(*frame);
    } else {
        spinPartX->SetValue(0);
        spinPartY->SetValue(0);
    }
    FollowKeyFrameStrip();
}

void TfrmHoofer::ShowChange(const RoutineChange &change)
{
    using Kind = RoutineChange::Kind;
    // The strip first, as the selection below frames its key frame.
    if (m_stripShown) {
        m_thumbnails->Changed(change, Core.CurrentMove(), Image->Surface().BrushColor());
        // Behind the thumbnails: a new reference, or key frames that moved on its time line.
        const THFMove *move = Core.CurrentMove();
        if (change.kind == Kind::Reference || (change.kind == Kind::Pose && move && move->Reference))
            m_thumbnails->Invalidate();
    }
    switch (change.kind) {
    case Kind::Mark:
    case Kind::File:
        EnableCommands();
        return;
    case Kind::Coordinates:
    case Kind::Pose:
    case Kind::History:
        ShowEditedFrame();
        return;
    case Kind::MoveName:
        // The selector shows the name as typed, blanks and all, until it is
        // built again.
        cbxMoves->SetItemText(change.move, MoveItemText(change.move, Core.Moves()[change.move]->MoveName));
        cbxMoves->SetItemIndex(change.move);
        return;
    case Kind::KeyFrames:
        ShowSelection();
        return;
    case Kind::Reference:
        FollowReference(true);
        return;
    case Kind::Routine:
        RebuildMoveSelector();
        if (Core.Moves().empty()) {
            EnableCommands();
            return;
        }
        cbxBodyPart->SetItemIndex(0);
        ShowSelection();
        return;
    case Kind::Moves:
        RebuildMoveSelector();
        ShowSelection();
        return;
    }
}

void TfrmHoofer::ShowSelection()
{
    cbxMoves->SetItemIndex(Core.CurrentMoveIndex());
    if (const THFMove *move = Core.CurrentMove()) {
        spinFrameNumber->SetMaxValue(move->FrameCount);
        // Runs spinFrameNumberChange, which selects the same key frame.
        spinFrameNumber->SetValue(std::max(1, Core.CurrentFrameNumber()));
    }
    RefreshView();
}

void TfrmHoofer::ShowEditedFrame()
{
    const THFFrame *frame = Core.CurrentFrame();
    if (!frame)
        return;
    EnableCommands();
    {
        FlagScope updating(UpdatingControls);
        ShowNumber(*spinInterpolate, frame->Interpolation);
        ShowNumber(*spinDisplacement, frame->Displacement);
        if (const int s = cbxBodyPart->ItemIndex(); s >= 0) {
            ShowNumber(*spinPartX, frame->Point(s + 1).X);
            ShowNumber(*spinPartY, frame->Point(s + 1).Y);
        }
    }
    // An interpolation before it moves the key frame on the reference's time line.
    FollowReference(false);
    DrawFrame(*frame);
    FollowKeyFrameStrip();
}

void TfrmHoofer::cbxMovesSelect()
{
    const int index = cbxMoves->ItemIndex();
    Core.SelectMove(index);
    if (const THFMove *move = Core.CurrentMove()) {
        spinFrameNumber->SetValue(1);
        spinFrameNumber->SetMaxValue(move->FrameCount);
        Core.SelectFrame(spinFrameNumber->Value());
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
    if (Core.CurrentFrame() && s >= 0) {
        ShowPartPosition(s + 1);
        Core.PushUndoSnapshot();
    }
    RefreshView();
}

void TfrmHoofer::spinPartChange()
{
    const int s = cbxBodyPart->ItemIndex();
    if (UpdatingControls || !Core.CurrentFrame() || s < 0)
        return;
    Core.SetPartPosition(s + 1, spinPartX->Value(), spinPartY->Value());
}

void TfrmHoofer::spinInterpolateChange()
{
    if (!UpdatingControls)
        Core.SetInterpolation(spinInterpolate->Value());
}

void TfrmHoofer::spinDisplacementChange()
{
    if (!UpdatingControls)
        Core.SetDisplacement(spinDisplacement->Value());
}

} // namespace hoofer
