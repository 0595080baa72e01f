// The Frame menu: adding, inserting and deleting key frames, the one-frame
// clipboard, Undo and Redo, and Mirror Pose.
#include "hoofer_window.h"

namespace hoofer {

void TfrmHoofer::PushUndoSnapshot()
{
    Core.PushUndoSnapshot();
}

void TfrmHoofer::PopUndoSnapshot()
{
    if (Core.PopUndoSnapshot())
        RefreshView();
}

void TfrmHoofer::mnuFrameUndoFrameClick()
{
    if (Core.Undo())
        RefreshView();
}

void TfrmHoofer::mnuFrameRedoFrameClick()
{
    if (Core.Redo())
        RefreshView();
}

void TfrmHoofer::mnuFrameMirrorPoseClick()
{
    if (Core.MirrorPose())
        RefreshView();
}

void TfrmHoofer::mnuFrameAddFrameClick()
{
    const int number = Core.AddFrame();
    if (number == 0)
        return;
    spinFrameNumber->SetMaxValue(number);
    spinFrameNumber->SetValue(number);
    // With one key frame the box may already show 1 and run no handler.
    if (!CurrentFrame)
        spinFrameNumberChange();
    RefreshView();
}

void TfrmHoofer::mnuFrameInsertFrameClick()
{
    const int number = Core.InsertFrame();
    if (number == 0)
        return;
    spinFrameNumber->SetMaxValue(CurrentMove->FrameCount);
    spinFrameNumber->SetValue(number);
    RefreshView();
}

void TfrmHoofer::DeleteCurrentFrame(bool ask)
{
    if (!Core.CanDeleteFrame())
        return;
    if (ask && !m_dialogs->Confirm("Delete current frame?")) {
        RefreshView();
        return;
    }
    const int number = Core.DeleteFrame();
    spinFrameNumber->SetValue(number);
    spinFrameNumber->SetMaxValue(CurrentMove->FrameCount);
    RefreshView();
}

void TfrmHoofer::mnuFrameDeleteFrameClick()
{
    DeleteCurrentFrame(true);
}

void TfrmHoofer::mnuFrameCopyClick()
{
    Core.CopyFrame();
    if (CurrentMove && CurrentFrame)
        RefreshView();
}

void TfrmHoofer::mnuFrameCutFrameClick()
{
    mnuFrameCopyClick();
    if (Core.CanDeleteFrame() && m_dialogs->Confirm("Cut current frame?"))
        DeleteCurrentFrame(false);
}

void TfrmHoofer::mnuFramePasteClick()
{
    if (!CurrentMove || !CurrentFrame)
        return;
    if (Core.CanPaste() && m_dialogs->Confirm("Replace current frame?"))
        Core.PasteFrame();
    RefreshView();
}

} // namespace hoofer
