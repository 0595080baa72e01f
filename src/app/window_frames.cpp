// The Frame menu: adding, inserting and deleting key frames, Undo and Redo,
// Mirror Pose, and selecting and reversing a range of key frames (the
// clipboard's commands are in window_clipboard.cpp). The core reports each
// change, and RoutineChanged brings the controls in line.
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
    if (ask && !ConfirmUndoable(RangeQuestion("Delete"))) {
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

void TfrmHoofer::mnuFrameSelectAllClick()
{
    if (!Core.CanEdit())
        return;
    // A range is seen only in the strip.
    SetKeyFrameStripShown(true);
    Core.SelectAllFrames();
    RefreshView();
}

void TfrmHoofer::mnuFrameReverseClick()
{
    Core.ReverseFrames();
}

} // namespace hoofer
