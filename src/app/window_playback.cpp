// The preview's drawing entry, its paint handler, Move > Play Move, Play
// Selection and Play Routine, and the View menu's onion skin and playback
// speed.
#include "hoofer_window.h"

#include "app/flag_scope.h"
#include "app/scope_exit.h"

#include "view/figure_drawing.h"
#include "view/onion_skin.h"
#include "view/playback.h"

namespace hoofer {

namespace {
/// Playback's pictures go onto the preview; its pauses and message handling
/// go through the platform, so tests run a playback in no real time.
class PreviewSink : public PlaybackSink {
public:
    explicit PreviewSink(TfrmHoofer &window) : m_window(window) {}
    void KeyFrame(const THFFrame &frame) override { m_window.DrawFrame(frame); }
    void Towards(int number) override { m_window.KeyFrameStripTowards(number); }
    void PlainStep(const PosePixels &pixels) override
    {
        m_window.ShowPlaybackReference();
        DrawPlainPose(m_window.Image->Surface(), pixels);
    }
    void HandleMessages() override { m_window.Platform().ProcessMessages(); }
    void Pause(int ms) override { m_window.Platform().Sleep(ms); }
    bool StopRequested() const override { return m_window.StopRequested(); }

private:
    TfrmHoofer &m_window;
};
} // namespace

void TfrmHoofer::DrawFrame(const THFFrame &frame)
{
    // Playback draws plain pictures only, at every speed.
    if (Options.OnionSkin && !m_playing && Core.CurrentMove()) {
        DrawOnionSkinKeyFrame(Image->Surface(), *Core.CurrentMove(), frame, cbxBodyPart->ItemIndex());
        DrawPinMarks(Image->Surface(), frame, PinMarks());
    } else {
        m_keyFrameRedraw.Draw(Image->Surface(), frame, cbxBodyPart->ItemIndex(), PinMarks());
    }
}

void TfrmHoofer::ImagePaint()
{
    if (Core.CurrentMove() && Core.CurrentFrame())
        DrawFrame(*Core.CurrentFrame());
}

void TfrmHoofer::PlayMove(const THFMove &move)
{
    PlayFrames(move, 1, move.FrameCount);
}

void TfrmHoofer::PlayFrames(const THFMove &move, int first, int last)
{
    PreviewSink sink(*this);
    StartReferencePlayback(move, first, last);
    // Afterwards the key frame's own frame is behind it again.
    ScopeExit stop([this] {
        m_playFrames.reset();
        FollowReference(false);
    });
    PlayFramesPass(move, first, last, sink, Options.PlaybackSpeed);
}

void TfrmHoofer::Play(const std::function<void()> &pass, const std::function<void()> &finish)
{
    try {
        // However the pass ends, editing comes back first, then playing ends.
        FlagScope playing(m_playing);
        m_stopRequested = false;
        SetEditingEnabled(false);
        ScopeExit unlock([this] { SetEditingEnabled(true); });
        try {
            do {
                pass();
            } while (Options.PlayContinuously && !m_closeRequested && !m_stopRequested);
        } catch (...) {
            // The controls show what is selected afterwards, however the pass ended.
            finish();
            throw;
        }
        finish();
        if (Core.CurrentFrame())
            DrawFrame(*Core.CurrentFrame());
        RefreshKeyFrameStrip();
    } catch (...) {
        // The user sees the error instead; a close asked for during the pass
        // must not linger and close the window after some later playback.
        m_closeRequested = false;
        EnableCommands();
        throw;
    }
    // What changed meanwhile (the clipboard) is offered now.
    EnableCommands();
    // Playing is over only now: the reference's commands come back.
    ShowReferenceControls();
    // The drawing above was made while playing; at rest the ghosts and the pins return.
    if ((Options.OnionSkin || Pins.any()) && Core.CurrentFrame())
        DrawFrame(*Core.CurrentFrame());
    if (m_closeRequested) {
        m_closeRequested = false;
        close();
    }
}

void TfrmHoofer::mnuMovePlayMoveClick()
{
    if (cbxMoves->ItemIndex() < 0 || m_playing)
        return;
    // A move without key frames has nothing to show.
    if (!Core.CurrentMove() || Core.CurrentMove()->Frames.empty())
        return;
    Play([this] { PlayMove(*Core.CurrentMove()); },
         [this] {
             spinFrameNumber->SetValue(1);
             Core.SelectFrame(1);
         });
}

void TfrmHoofer::mnuMovePlaySelectionClick()
{
    if (m_playing || !Core.CanEdit())
        return;
    const FrameRange range = Core.SelectedFrames();
    Play([this, range] { PlayFrames(*Core.CurrentMove(), range.First, range.Last); },
         [this, range] {
             // As after Play Move: the first key frame played is current,
             // and the range stays selected (the box then selects the
             // current key frame, which keeps it).
             Core.SelectFrame(range.First);
             Core.ExtendSelection(range.Last);
             spinFrameNumber->SetValue(range.First);
         });
}

void TfrmHoofer::mnuMovePlayRoutineClick()
{
    if (m_playing || !Core.Commands().PlayRoutine)
        return;
    Play(
        [this] {
            for (int i = 0; i < static_cast<int>(Core.Moves().size()) && !m_stopRequested && !m_closeRequested; ++i) {
                if (Core.Moves()[i]->Frames.empty())
                    continue;
                // The selector follows the move played.
                Core.SelectMove(i);
                cbxMoves->SetItemIndex(i);
                RefreshKeyFrameStrip();
                FollowReference(false);  // its own reference, or none, behind it
                PlayMove(*Core.CurrentMove());
            }
        },
        [this] {
            cbxMoves->SetItemIndex(0);
            cbxMovesSelect();
        });
}

void TfrmHoofer::mnuViewOnionSkinClick()
{
    Options.OnionSkin = !Options.OnionSkin;
    SettingsChanged();
    if (!m_playing && Core.CurrentMove() && Core.CurrentFrame())
        DrawFrame(*Core.CurrentFrame());
}

void TfrmHoofer::SetPlaybackSpeed(int speed)
{
    Options.PlaybackSpeed = speed == kHalfSpeed || speed == kQuarterSpeed ? speed : kNormalSpeed;
    ShowOptions();
}

} // namespace hoofer
