// The Frame menu: adding, inserting and deleting key frames, the one-frame
// clipboard, Undo and Redo, and Mirror Pose. The core reports each change,
// and RoutineChanged brings the controls in line.
#include "hoofer_window.h"

namespace hoofer {

void TfrmHoofer::mnuFrameUndoFrameClick()
{
    Core.UndoFramePose();
}

void TfrmHoofer::mnuFrameRedoFrameClick()
{
    Core.RedoFramePose();
}

void TfrmHoofer::mnuFrameMirrorPoseClick()
{
    Core.MirrorPose();
}

void TfrmHoofer::mnuFrameAddFrameClick()
{
    Core.AddFrame();
}

void TfrmHoofer::mnuFrameInsertFrameClick()
{
    Core.InsertFrame();
}

void TfrmHoofer::DeleteCurrentFrame(bool ask)
{
    if (!Core.CanDeleteFrame())
        return;
    if (ask && !ConfirmUndoable("Delete current frame?")) {
        RefreshView();
        return;
    }
    // Without the question it is the deletion of a Cut.
    ask ? Core.DeleteFrame() : Core.CutFrame();
}

void TfrmHoofer::mnuFrameDeleteFrameClick()
{
    DeleteCurrentFrame(true);
}

void TfrmHoofer::mnuFrameCopyClick()
{
    Core.CopyFrame();
    // The clipboard is no part of the routine: only Paste's enabling follows.
    if (Core.CurrentFrame())
        RefreshView();
}

void TfrmHoofer::mnuFrameCutFrameClick()
{
    mnuFrameCopyClick();
    if (Core.CanDeleteFrame() && ConfirmUndoable("Cut current frame?"))
        DeleteCurrentFrame(false);
}

void TfrmHoofer::mnuFramePasteClick()
{
    if (!Core.CurrentFrame())
        return;
    if (Core.CanPaste() && ConfirmUndoable("Replace current frame?"))
        Core.PasteFrame();
    else
        RefreshView();
}

} // namespace hoofer
