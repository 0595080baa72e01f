// Posing with the mouse, Escape to cancel a drag (or, with F9, to stop a
// playback), a word on the status line for a Ctrl+Z with nothing to undo on
// the key frame, the Options switches and the grid behind the preview.
#include "hoofer_window.h"

#include "edit/grid_snap.h"
#include "model/text_number.h"
#include "toolkit/text.h"
#include "view/figure_drawing.h"

#include <QLabel>

#include <algorithm>
#include <cmath>
#include <utility>

namespace hoofer {

namespace {
/// The point a pixel of the preview shows.
TPoint PointAt(int x, int y)
{
    return {x, PixelRowToPointY(y)};
}
} // namespace

void TfrmHoofer::ImageMouseDown(toolkit::TMouseButton, toolkit::TShiftState, int x, int y)
{
    if (AdjustingPlacement()) {
        m_placementPress = QPoint(x, y);
        m_placementFrom = *Core.CurrentMove()->Reference;
        m_placementMoved = false;
        return;
    }
    const int part = Drag.Press(PointAt(x, y));
    if (part != 0 && cbxBodyPart->ItemIndex() != part - 1) {
        cbxBodyPart->SetItemIndex(part - 1);
        cbxBodyPartChange();
    }
}

void TfrmHoofer::ImageMouseMove(toolkit::TShiftState shift, int x, int y)
{
    if (!shift.left)
        return;
    if (AdjustingPlacement()) {
        // In points: y grows upward.
        MoveReference moved = m_placementFrom;
        moved.x += x - m_placementPress.x();
        moved.y -= y - m_placementPress.y();
        Core.SetReference("Adjust Placement", moved, std::exchange(m_placementMoved, true));
        return;
    }
    if (!(shift.shift || Options.DragWithoutShift)) {
        // Said once a press: a new user pulls at a joint and nothing moves.
        static const QString kHint = "Hold Shift to drag, or check Options > Drag Without Shift";
        if (Drag.Holding() && StatusBar->text() != kHint)
            ShowStatus(kHint.toStdString());
        return;
    }
    // Ctrl as well: a Hand or an Ankle reaches for the pointer.
    const DragOptions options{Options.SnapToGrid, Options.GridSize, Options.KeepBoneLengths, Pins, shift.ctrl};
    Drag.Step(cbxBodyPart->ItemIndex() + 1, PointAt(x, y), options);
}

void TfrmHoofer::mnuFramePinBodyPartClick()
{
    const int end = PinnableEnd(cbxBodyPart->ItemIndex() + 1);
    if (end == 0 || !Core.CurrentFrame())
        return;
    Pins.flip(static_cast<size_t>(end));
    ShowPinCommands();
    DrawFrame(*Core.CurrentFrame());
}

void TfrmHoofer::mnuFrameUnpinAllClick()
{
    Pins.reset();
    ShowPinCommands();
    if (Core.CurrentFrame())
        DrawFrame(*Core.CurrentFrame());
}

void TfrmHoofer::ShowPinCommands()
{
    const int end = PinnableEnd(cbxBodyPart->ItemIndex() + 1);
    mnuFramePinBodyPart->SetEnabled(Core.CanEdit() && end != 0);
    mnuFramePinBodyPart->SetChecked(end != 0 && Pins.test(static_cast<size_t>(end)));
    mnuFrameUnpinAll->SetEnabled(Pins.any());
}

std::vector<int> TfrmHoofer::PinMarks() const
{
    std::vector<int> parts;
    for (int part = 1; part <= kPartCount && !m_playing; ++part)
        if (Pins.test(static_cast<size_t>(part)))
            parts.push_back(part);
    return parts;
}

void TfrmHoofer::ImageMouseUp(toolkit::TMouseButton, toolkit::TShiftState, int, int)
{
    Drag.Release();
}

bool TfrmHoofer::AdjustingPlacement() const
{
    return m_adjustPlacement && Core.CurrentMove() && Core.CurrentMove()->Reference && !m_playing;
}

void TfrmHoofer::ImageWheel(int notches)
{
    if (!AdjustingPlacement())
        return;
    // A tenth larger a notch, about the bottom centre.
    ChangeReference("Adjust Placement", [notches](MoveReference &r) {
        r.scale = std::clamp(r.scale * std::pow(1.1, notches), 0.05, 20.0);
    });
}

void TfrmHoofer::FormKeyDown(int key, Qt::KeyboardModifiers shift)
{
    if (m_playing && (key == Qt::Key_Escape || key == Qt::Key_F9)) {
        m_stopRequested = true;
        return;
    }
    if (key == Qt::Key_Escape && Drag.Cancel())
        ShowStatus("Drag Cancelled");
    // The key frame's Undo is disabled, so its key came here: the routine's
    // history may have what the user is after.
    const QKeySequence pressed(QKeyCombination(shift, Qt::Key(key)));
    if (!m_playing && pressed == mnuFrameUndoFrame->ShortCut() && !mnuFrameUndoFrame->EffectivelyEnabled()
        && !Options.CtrlZUndoesAnyChange && Core.History().CanUndo())
        ShowStatus("Nothing to undo on this key frame; Edit > Undo ("
                   + toolkit::FromQt(mnuEditUndo->ShortCut().toString()) + ") takes back " + Core.History().UndoLabel());
}

void TfrmHoofer::mnuOptionsDragWithoutShiftClick()
{
    Options.DragWithoutShift = !Options.DragWithoutShift;
    SettingsChanged();
}

void TfrmHoofer::mnuOptionsKeepBoneLengthsClick()
{
    Options.KeepBoneLengths = !Options.KeepBoneLengths;
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
        const int step = Options.SnapToGrid ? Options.GridSize : 1;
        Nudges.NudgeFigure(dx * step, dy * step);
    } else {
        Nudges.NudgePart(cbxBodyPart->ItemIndex() + 1, dx, dy, Options.KeepBoneLengths);
    }
    return true;
}

void TfrmHoofer::mnuOptionsPlayContinuouslyClick()
{
    Options.PlayContinuously = !Options.PlayContinuously;
    SettingsChanged();
}

void TfrmHoofer::mnuViewShowGridClick()
{
    Options.ShowGrid = !Options.ShowGrid;
    SettingsChanged();
}

void TfrmHoofer::mnuOptionGridSnapToGridClick()
{
    Options.SnapToGrid = !Options.SnapToGrid;
    SettingsChanged();
}

void TfrmHoofer::mnuOptionGridSetGridSizeClick()
{
    const auto text = AskString(std::to_string(Options.GridSize), 0, "Set Snap to grid size");
    if (!text)
        return;
    const int size = ParseInteger(*text).value_or(kDefaultGridSize);
    // A size below 1 cannot divide the snap; it is refused and the grid
    // stays as it was.
    if (size >= 1) {
        Options.GridSize = size;
        SettingsChanged();
    }
}

} // namespace hoofer
