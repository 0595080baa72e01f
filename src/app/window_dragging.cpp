// Posing with the mouse, Escape to cancel a drag (or, with F9, to stop a
// playback), and the Options switches.
#include "hoofer_window.h"

#include "edit/grid_snap.h"
#include "model/text_number.h"

namespace hoofer {

void TfrmHoofer::ImageMouseDown(toolkit::TMouseButton, toolkit::TShiftState, int x, int y)
{
    const int part = Core.MouseDown(x, y);
    if (part != 0 && cbxBodyPart->ItemIndex() != part - 1) {
        cbxBodyPart->SetItemIndex(part - 1);
        cbxBodyPartChange();
    }
}

void TfrmHoofer::ImageMouseMove(toolkit::TShiftState shift, int x, int y)
{
    const bool shiftOrOption = shift.shift || mnuOptionsDragWithoutShift->Checked();
    Core.MouseMove(shift.left, shiftOrOption, cbxBodyPart->ItemIndex() + 1, x, y, mnuOptionGridSnapToGrid->Checked(),
                   GridSize());
}

void TfrmHoofer::ImageMouseUp(toolkit::TMouseButton, toolkit::TShiftState, int, int)
{
    Core.MouseUp();
}

void TfrmHoofer::FormKeyDown(int key, Qt::KeyboardModifiers)
{
    if (m_playing && (key == Qt::Key_Escape || key == Qt::Key_F9)) {
        m_stopRequested = true;
        return;
    }
    if (key == Qt::Key_Escape && Core.CancelDrag())
        ShowStatus("Drag Cancelled");
}

void TfrmHoofer::mnuOptionsDragWithoutShiftClick()
{
    mnuOptionsDragWithoutShift->SetChecked(!mnuOptionsDragWithoutShift->Checked());
    SettingsChanged();
}

void TfrmHoofer::mnuOptionsKeepBoneLengthsClick()
{
    mnuOptionsKeepBoneLengths->SetChecked(!mnuOptionsKeepBoneLengths->Checked());
    Core.SetKeepBoneLengths(mnuOptionsKeepBoneLengths->Checked());
    SettingsChanged();
}

bool TfrmHoofer::NudgeKey(int key, Qt::KeyboardModifiers shift)
{
    if (!(shift & Qt::ControlModifier) || (shift & (Qt::AltModifier | Qt::MetaModifier)))
        return false;
    int dx = 0, dy = 0;
    switch (key) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = 1; break;
    case Qt::Key_Down: dy = -1; break;
    default: return false;
    }
    if (m_playing || !Core.CurrentFrame())
        return true;
    if (shift & Qt::ShiftModifier) {
        const int step = mnuOptionGridSnapToGrid->Checked() ? GridSize() : 1;
        Core.NudgeFigure(dx * step, dy * step);
    } else {
        Core.NudgePart(cbxBodyPart->ItemIndex() + 1, dx, dy);
    }
    return true;
}

void TfrmHoofer::mnuOptionsPlayContinuouslyClick()
{
    mnuOptionsPlayContinuously->SetChecked(!mnuOptionsPlayContinuously->Checked());
    SettingsChanged();
}

void TfrmHoofer::mnuOptionGridSnapToGridClick()
{
    mnuOptionGridSnapToGrid->SetChecked(!mnuOptionGridSnapToGrid->Checked());
    SettingsChanged();
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
    const auto text = AskString(std::to_string(GridSize()), 0, "Set Snap to grid size");
    if (!text)
        return;
    const int size = ParseInteger(*text).value_or(kDefaultGridSize);
    // A size below 1 cannot divide the snap; it is refused and the grid
    // stays as it was.
    if (size >= 1) {
        SetGridSize(size);
        SettingsChanged();
    }
}

} // namespace hoofer
