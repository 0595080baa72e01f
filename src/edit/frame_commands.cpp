// The Frame menu: adding, inserting and deleting key frames, the one-frame
// clipboard and Undo.
#include "app/hoofer_window.h"

#include "model/routine_codec.h"

namespace hoofer {

void TfrmHoofer::mnuFrameUndoFrameClick()
{
    PopUndoSnapshot();
}

void TfrmHoofer::mnuFrameAddFrameClick()
{
    if (!CurrentMove)
        return;
    auto frame = std::make_unique<THFFrame>();
    // A move read without key frames starts again from the all-zero pose.
    if (!CurrentMove->Frames.empty())
        CopyFramePose(*CurrentMove->Frames.back(), *frame);
    CurrentMove->Frames.push_back(std::move(frame));
    CurrentMove->SyncFrameCount();
    spinFrameNumber->SetMaxValue(CurrentMove->FrameCount);
    spinFrameNumber->SetValue(CurrentMove->FrameCount);
    // With one key frame the box may already show 1 and run no handler.
    if (!CurrentFrame)
        spinFrameNumberChange();
    RefreshView();
}

void TfrmHoofer::mnuFrameInsertFrameClick()
{
    if (!CurrentMove || !CurrentFrame)
        return;
    auto frame = std::make_unique<THFFrame>();
    CopyFramePose(*CurrentFrame, *frame);
    const int i = CurrentMove->IndexOf(CurrentFrame);
    CurrentMove->Frames.insert(CurrentMove->Frames.begin() + i, std::move(frame));
    CurrentMove->SyncFrameCount();
    spinFrameNumber->SetMaxValue(CurrentMove->FrameCount);
    spinFrameNumber->SetValue(i + 2);
    RefreshView();
}

void TfrmHoofer::DeleteCurrentFrame(bool ask)
{
    if (!CurrentMove || !CurrentFrame || CurrentMove->FrameCount <= 1)
        return;
    if (ask && !m_dialogs->Confirm("Delete current frame?")) {
        RefreshView();
        return;
    }
    int i = CurrentMove->IndexOf(CurrentFrame);
    CurrentMove->Frames.erase(CurrentMove->Frames.begin() + i);
    CurrentFrame = nullptr;
    CurrentMove->SyncFrameCount();
    if (i > CurrentMove->FrameCount - 1)
        i = CurrentMove->FrameCount - 1;
    CurrentFrame = CurrentMove->Frames[i].get();
    spinFrameNumber->SetValue(i + 1);
    spinFrameNumber->SetMaxValue(CurrentMove->FrameCount);
    RefreshView();
}

void TfrmHoofer::mnuFrameDeleteFrameClick()
{
    DeleteCurrentFrame(true);
}

void TfrmHoofer::mnuFrameCopyClick()
{
    ClipboardFrame.clear();
    if (CurrentMove && CurrentFrame) {
        ClipboardFrame = FrameSnapshot(*CurrentFrame);
        RefreshView();
    }
}

void TfrmHoofer::mnuFrameCutFrameClick()
{
    mnuFrameCopyClick();
    if (CurrentMove && CurrentFrame && CurrentMove->FrameCount > 1 && m_dialogs->Confirm("Cut current frame?"))
        DeleteCurrentFrame(false);
}

void TfrmHoofer::mnuFramePasteClick()
{
    if (!CurrentMove || !CurrentFrame)
        return;
    // The menu offers Paste only with something on the clipboard; a shortcut
    // that slips through must not read a snapshot that is not there.
    if (ClipboardFrame.size() == static_cast<size_t>(kFrameRecordSize) && m_dialogs->Confirm("Replace current frame?")) {
        std::string copy = ClipboardFrame;
        TakeFrameSnapshot(copy, *CurrentFrame);
    }
    RefreshView();
}

} // namespace hoofer
