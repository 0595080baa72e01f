// Each key frame's own history of earlier poses.
#include "app/hoofer_window.h"

#include "model/routine_codec.h"

namespace hoofer {

void TfrmHoofer::PushUndoSnapshot()
{
    if (!CurrentMove || !CurrentFrame)
        return;
    std::string snapshot = FrameSnapshot(*CurrentFrame);
    auto &history = CurrentFrame->UndoList;
    // Only a neighbour that is equal is dropped; older entries are not compared.
    if (history.empty() || history.back() != snapshot)
        history.push_back(std::move(snapshot));
}

void TfrmHoofer::PopUndoSnapshot()
{
    if (!CurrentMove || !CurrentFrame || CurrentFrame->UndoList.empty())
        return;
    std::string snapshot = std::move(CurrentFrame->UndoList.back());
    CurrentFrame->UndoList.pop_back();
    TakeFrameSnapshot(snapshot, *CurrentFrame);
    RefreshView();
}

} // namespace hoofer
