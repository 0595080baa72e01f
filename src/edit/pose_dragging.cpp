// Posing with the mouse, Escape to cancel a drag, and the Options switches.
#include "app/hoofer_window.h"

#include "edit/grid_snap.h"
#include "edit/string_entry_dialog.h"
#include "model/text_number.h"

namespace hoofer {

void TfrmHoofer::ImageMouseDown(toolkit::TMouseButton, toolkit::TShiftState, int x, int y)
{
    DragBlocked = false;
    int best = 0;
    if (CurrentMove && CurrentFrame) {
        PushUndoSnapshot();
        best = HitBodyPart(*CurrentFrame, x, y);
    }
    if (best == 0) {
        DragBlocked = true;
        return;
    }
    if (cbxBodyPart->ItemIndex() != best - 1) {
        cbxBodyPart->SetItemIndex(best - 1);
        cbxBodyPartChange();
    }
}

void TfrmHoofer::ImageMouseMove(toolkit::TShiftState shift, int x, int y)
{
    if (DragBlocked || !shift.left)
        return;
    if (!shift.shift && !mnuOptionsDragWithoutShift->Checked())
        return;
    if (!CurrentMove || !CurrentFrame || cbxBodyPart->ItemIndex() < 0)
        return;
    Dragging = true;
    const int p = cbxBodyPart->ItemIndex() + 1;
    const bool snap = mnuOptionGridSnapToGrid->Checked();
    CurrentFrame->Point(p).X = SnapCoordinate(x, snap, GridSize());
    CurrentFrame->Point(p).Y = SnapCoordinate(PointerToPointY(y), snap, GridSize());
    Modified = true;
    RefreshView();
}

void TfrmHoofer::ImageMouseUp(toolkit::TMouseButton, toolkit::TShiftState, int, int)
{
    Dragging = false;
    DragBlocked = false;
}

void TfrmHoofer::FormKeyDown(int key, Qt::KeyboardModifiers)
{
    if (key != Qt::Key_Escape || !Dragging)
        return;
    DragBlocked = true;
    // A cancelled drag is over: a second Escape before the release must not
    // undo an earlier, unrelated change of the key frame.
    Dragging = false;
    PopUndoSnapshot();
    ShowStatus("Drag Cancelled");
}

void TfrmHoofer::mnuOptionsDragWithoutShiftClick()
{
    mnuOptionsDragWithoutShift->SetChecked(!mnuOptionsDragWithoutShift->Checked());
}

void TfrmHoofer::mnuOptionsPlayContinuouslyClick()
{
    mnuOptionsPlayContinuously->SetChecked(!mnuOptionsPlayContinuously->Checked());
}

void TfrmHoofer::mnuOptionGridSnapToGridClick()
{
    mnuOptionGridSnapToGrid->SetChecked(!mnuOptionGridSnapToGrid->Checked());
}

int TfrmHoofer::GridSize() const
{
    return mnuOptionGridCurrentSize->Tag();
}

void TfrmHoofer::SetGridSize(int size)
{
    mnuOptionGridCurrentSize->SetTag(size);
    mnuOptionGridCurrentSize->SetCaption(QString::number(size) + " Pixels");
}

void TfrmHoofer::mnuOptionGridSetGridSizeClick()
{
    auto dialog = std::make_unique<TfrmSingleStringEntry>(this);
    dialog->SetTheText(std::to_string(GridSize()));
    dialog->SetMaxLength(0);
    dialog->SetTitle("Set Snap to grid size");
    if (m_dialogs->ShowModal(*dialog) == 1) {
        const int size = ParseInteger(dialog->TheText()).value_or(5);
        // A size below 1 cannot divide the snap; it is refused and the grid
        // stays as it was.
        if (size >= 1)
            SetGridSize(size);
    }
}

} // namespace hoofer
