// View > Key Frame Strip: the row of key-frame thumbnails under the window,
// following the current move, selecting, reordering and offering the Frame
// menu's commands for a key frame.
#include "hoofer_window.h"

#include "app/key_frame_thumbnails.h"
#include "toolkit/thumbnail_strip.h"
#include "view/thumbnail.h"

#include <QLayout>
#include <QMenu>

namespace hoofer {

void TfrmHoofer::CreateKeyFrameStrip()
{
    stripKeyFrames = new toolkit::TThumbnailStrip(QSize(kThumbnailWidth, kThumbnailHeight), Client);
    stripKeyFrames->resize(stripKeyFrames->sizeHint());
    stripKeyFrames->hide();
    stripKeyFrames->OnSelect = [this](int index) { stripKeyFramesSelect(index); };
    stripKeyFrames->OnMove = [this](int from, int to) { stripKeyFramesMove(from, to); };
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
    ShowOptions();
}

void TfrmHoofer::RefreshKeyFrameStrip()
{
    if (m_stripShown)
        m_thumbnails->Show(Core.CurrentMove(), Core.CurrentMoveIndex(), Core.CurrentFrameNumber(),
                           Image->Surface().BrushColor());
}

void TfrmHoofer::FollowKeyFrameStrip()
{
    if (m_stripShown)
        m_thumbnails->Follow(Core.CurrentMove(), Core.CurrentMoveIndex(), Core.CurrentFrameNumber(),
                             Image->Surface().BrushColor());
}

void TfrmHoofer::KeyFrameStripTowards(int number)
{
    if (m_stripShown)
        stripKeyFrames->SetCurrent(number - 1);
}

void TfrmHoofer::stripKeyFramesSelect(int index)
{
    // As though the number were typed into Current Key Frame.
    spinFrameNumber->SetValue(index + 1);
}

void TfrmHoofer::stripKeyFramesMove(int from, int to)
{
    Core.MoveFrame(from + 1, to + 1);
}

void TfrmHoofer::stripKeyFramesContextMenu(int index, QPoint global)
{
    stripKeyFramesSelect(index);
    KeyFrameStripMenu->popup(global);
}

long long TfrmHoofer::KeyFrameThumbnailsDrawn() const
{
    return m_thumbnails->DrawnCount();
}

} // namespace hoofer
