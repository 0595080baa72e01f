// View > Key Frame Strip: the row of key-frame thumbnails under the window,
// following the current move, selecting, reordering and offering the Frame
// menu's commands for a key frame.
#include "hoofer_window.h"

#include "app/key_frame_thumbnails.h"
#include "toolkit/thumbnail_strip.h"
#include "view/thumbnail.h"

#include <QLayout>
#include <QMenu>

#include <algorithm>

namespace hoofer {

void TfrmHoofer::CreateKeyFrameStrip()
{
    stripKeyFrames = new toolkit::TThumbnailStrip(QSize(kThumbnailWidth, kThumbnailHeight), Client);
    stripKeyFrames->resize(stripKeyFrames->sizeHint());
    stripKeyFrames->hide();
    stripKeyFrames->OnSelect = [this](int index) { stripKeyFramesSelect(index); };
    stripKeyFrames->OnMove = [this](int from, int to) { stripKeyFramesMove(from, to); };
    stripKeyFrames->OnExtend = [this](int index) { stripKeyFramesExtend(index); };
    stripKeyFrames->OnStep = [this](int by, bool extend) { stripKeyFramesStep(by, extend); };
    stripKeyFrames->OnContextMenu = [this](int index, QPoint global) { stripKeyFramesContextMenu(index, global); };
    m_thumbnails = std::make_unique<KeyFrameThumbnails>(*stripKeyFrames);
}

void TfrmHoofer::CreateKeyFrameStripMenu()
{
    // The Frame menu's own actions: enabled, shortcut and handler as there.
    KeyFrameStripMenu = new QMenu(this);
    for (const auto &item : mnuFrame->Items()) {
        if (item->IsSeparator())
            KeyFrameStripMenu->addSeparator();
        else
            KeyFrameStripMenu->addAction(item->Action());
    }
}

void TfrmHoofer::mnuViewKeyFrameStripClick()
{
    SetKeyFrameStripShown(!Options.KeyFrameStrip);
}

void TfrmHoofer::SetKeyFrameStripShown(bool shown)
{
    Options.KeyFrameStrip = shown;
    if (shown != m_stripShown) {
        m_stripShown = shown;
        stripKeyFrames->setVisible(shown);
        // The fixed window grows by the strip's height, and shrinks back to
        // what it was; a window the user sized keeps its size.
        ArrangeWindow();
        if (shown)
            RefreshKeyFrameStrip();
        else
            m_thumbnails->Clear();  // nothing is kept or drawn while the strip is away
    }
    if (!shown && Core.RangeSelected()) {
        // A range is seen only in the strip: without it, the current key frame alone.
        Core.SelectOneFrame();
        EnableCommands();
    }
    ShowOptions();
}

void TfrmHoofer::RefreshKeyFrameStrip()
{
    if (!m_stripShown)
        return;
    m_thumbnails->Show(Core.CurrentMove(), Core.CurrentMoveIndex(), Core.CurrentFrameNumber(),
                       Image->Surface().BrushColor());
    MarkKeyFrameRange();
}

void TfrmHoofer::FollowKeyFrameStrip()
{
    if (!m_stripShown)
        return;
    m_thumbnails->Follow(Core.CurrentMove(), Core.CurrentMoveIndex(), Core.CurrentFrameNumber(),
                         Image->Surface().BrushColor());
    MarkKeyFrameRange();
}

void TfrmHoofer::MarkKeyFrameRange()
{
    const FrameRange range = Core.SelectedFrames();
    if (range.Count() > 1)
        stripKeyFrames->SetMarked(range.First - 1, range.Last - 1);
    else
        stripKeyFrames->SetMarked(-1, -1);
}

void TfrmHoofer::KeyFrameStripTowards(int number)
{
    if (m_stripShown)
        stripKeyFrames->SetCurrent(number - 1);
}

void TfrmHoofer::stripKeyFramesSelect(int index)
{
    // As though the number were typed into Current Key Frame; a click on
    // the current key frame of a range selects it alone.
    Core.SelectOneFrame();
    spinFrameNumber->SetValue(index + 1);
    EnableCommands();
    FollowKeyFrameStrip();
}

void TfrmHoofer::stripKeyFramesExtend(int index)
{
    Core.ExtendSelection(index + 1);
    EnableCommands();
    FollowKeyFrameStrip();
}

void TfrmHoofer::stripKeyFramesStep(int by, bool extend)
{
    if (!Core.CanEdit())
        return;
    if (!extend) {
        stripKeyFramesSelect(std::clamp(Core.CurrentFrameNumber() + by, 1, spinFrameNumber->MaxValue()) - 1);
        return;
    }
    Core.StepSelection(by);
    EnableCommands();
    FollowKeyFrameStrip();
}

void TfrmHoofer::stripKeyFramesMove(int from, int to)
{
    Core.MoveFrame(from + 1, to + 1);
}

void TfrmHoofer::stripKeyFramesContextMenu(int index, QPoint global)
{
    // The menu acts on the range it was opened on; elsewhere, on that key frame.
    if (!Core.SelectedFrames().Count() || index + 1 < Core.SelectedFrames().First
        || index + 1 > Core.SelectedFrames().Last)
        stripKeyFramesSelect(index);
    KeyFrameStripMenu->popup(global);
}

long long TfrmHoofer::KeyFrameThumbnailsDrawn() const
{
    return m_thumbnails->DrawnCount();
}

} // namespace hoofer
