// View > Reference: a video or picture behind the figure for the current move,
// showing the frame at the selected key frame's time; stepping through the
// video; setting the move's start and timing a key frame to the frame on
// screen; and the sidecar file that keeps the references beside the routine.
#include "hoofer_window.h"

#include "app/key_frame_thumbnails.h"
#include "media/reference_clip.h"
#include "model/reference_sidecar.h"
#include "model/save_file.h"
#include "toolkit/text.h"
#include "view/preview_backdrop.h"
#include "view/inbetween.h"
#include "view/reference_timing.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include <cmath>
#include <filesystem>
#include <stdexcept>

namespace hoofer {

std::vector<std::string> ReadReferenceSidecar(const std::string &routinePath, TMoveList &moves)
{
    const std::string sidecar = ReferenceSidecarPath(routinePath);
    std::error_code ec;
    if (!std::filesystem::exists(sidecar, ec))
        return {};
    std::string text, why;
    if (!ReadWholeFile(sidecar, text, why))
        return {"The references in " + toolkit::PathForMessage(sidecar) + " were left out: " + why};
    try {
        return ApplyReferenceSidecar(text, toolkit::PathFromQt(QFileInfo(toolkit::PathToQt(routinePath)).absolutePath()),
                                     moves);
    } catch (const std::runtime_error &e) {
        return {"The references in " + toolkit::PathForMessage(sidecar) + " were left out: " + e.what()};
    }
}

void WriteReferenceSidecarFor(const std::string &routinePath, const TMoveList &moves)
{
    const std::string sidecar = ReferenceSidecarPath(routinePath);
    const std::string text =
        WriteReferenceSidecar(moves, toolkit::PathFromQt(QFileInfo(toolkit::PathToQt(routinePath)).absolutePath()));
    if (text.empty()) {
        // The routine has none now: an old sidecar would bring them back.
        std::error_code ec;
        std::filesystem::remove(sidecar, ec);
        return;
    }
    if (const std::string why = SaveFileAtomically(sidecar, text); !why.empty())
        throw std::runtime_error("Cannot create file " + toolkit::PathForMessage(sidecar) + "\n" + why);
}

const ClipFrame *TfrmHoofer::ReferenceFrame()
{
    const THFMove *move = Core.CurrentMove();
    if (!move || !move->Reference)
        return nullptr;
    if (m_clipFile != move->Reference->file) {
        m_clipFile = move->Reference->file;
        m_clip.reset();
        m_shownFrame = {};
        try {
            m_clip = ReferenceClip::Open(m_clipFile);
        } catch (const std::runtime_error &e) {
            ShowStatus(e.what());
            return nullptr;
        }
    }
    if (!m_clip)
        return nullptr;
    try {
        m_shownFrame = m_clip->FrameAt(m_referenceTime);
    } catch (const std::runtime_error &e) {
        // The last good frame stays.
        ShowStatus(e.what());
    }
    return m_shownFrame.image.isNull() ? nullptr : &m_shownFrame;
}

void TfrmHoofer::FollowReference(bool redraw)
{
    if (const THFMove *move = Core.CurrentMove(); move && move->Reference)
        m_referenceTime = move->Reference->start + KeyFrameOffsetMs(*move, Core.CurrentFrameNumber()) / 1000.0;
    ShowBackdrop(redraw);
}

void TfrmHoofer::ShowBackdrop(bool redraw)
{
    Backdrop wanted{Image->Surface().BrushColor(), {}, {}, Options.ShowGrid ? Options.GridSize : 0};
    if (const THFMove *move = Core.CurrentMove(); move && move->Reference && m_showReference) {
        const ClipFrame *frame = ReferenceFrame();
        // Telling why a frame failed handles messages: the move may have gone since.
        move = Core.CurrentMove();
        if (frame && move && move->Reference) {
            wanted.frame = frame->image;
            wanted.reference = *move->Reference;
        }
    }
    ShowReferenceControls();
    if (!SetPreviewBackdrop(wanted))
        return;
    // A playback step draws anew on the backdrop anyway.
    if (!redraw || m_playing)
        return;
    if (Core.CurrentMove() && Core.CurrentFrame())
        DrawFrame(*Core.CurrentFrame());
    else
        Image->Surface().Clear();
}

bool TfrmHoofer::SetPreviewBackdrop(const Backdrop &wanted)
{
    const Backdrop &was = m_backdrop;
    if (m_backdropZoom == Image->Zoom() && was.background == wanted.background && was.gridSize == wanted.gridSize
        && was.reference == wanted.reference && was.frame.cacheKey() == wanted.frame.cacheKey())
        return false;
    m_backdrop = wanted;
    m_backdropZoom = Image->Zoom();
    const QSize surface = Image->Picture().size();
    if (wanted.Plain())
        Image->SetBackdrop({});
    else
        Image->SetBackdrop(DrawBackdrop(surface, 1, wanted),
                           wanted.frame.isNull() || m_backdropZoom == 1 ? QImage()
                                                                        : DrawBackdrop(surface, m_backdropZoom, wanted));
    return true;
}

void TfrmHoofer::StartReferencePlayback(const THFMove &move, int first, int last)
{
    m_playFrames.reset();
    m_playStep = 0;
    if (!move.Reference || !m_showReference || !m_clip || m_clip->Duration() <= 0)
        return;
    // Every step's time, in the order the pass shows them.
    std::vector<double> times;
    for (int k = std::max(first, 1); k <= std::min(last, static_cast<int>(move.Frames.size())); ++k)
        for (int step = 0; step < TransitionSteps(*move.Frames[k - 1]); ++step)
            times.push_back(move.Reference->start + StepOffsetMs(move, k, step) / 1000.0);
    const QSizeF drawn = ReferenceRect(m_clip->FrameSize(), *move.Reference).size() * Image->Zoom();
    m_playFrames = std::make_unique<ReferenceFrames>(m_clipFile, std::move(times),
                                                     drawn.toSize().expandedTo(QSize(1, 1)));
    // The pass opens on the first step's frame: worth a moment before it starts.
    constexpr std::chrono::milliseconds kFirstFrameWait{1000};
    if (const auto frame = m_playFrames->Frame(0, std::max(kFirstFrameWait, ReferenceWait)))
        SetPreviewBackdrop({m_backdrop.background, frame->image, *move.Reference, m_backdrop.gridSize});
}

void TfrmHoofer::ShowPlaybackReference()
{
    if (!m_playFrames)
        return;
    const auto frame = m_playFrames->Frame(m_playStep++, ReferenceWait);
    if (!frame) {
        ++ReferenceStepsLate;
        return;
    }
    m_shownFrame = *frame;
    if (m_referenceRowShown)
        ShowReferenceTime();
    SetPreviewBackdrop({m_backdrop.background, frame->image, Core.CurrentMove()->Reference.value_or(MoveReference{}),
                        m_backdrop.gridSize});
}

void TfrmHoofer::CreateReferenceRow()
{
    rowReference = new QWidget(grpResult);
    auto *layout = new QHBoxLayout(rowReference);
    layout->setContentsMargins(0, 0, 0, 0);
    lblReferenceTime = new QLabel(rowReference);
    lblReferenceTime->setMinimumWidth(lblReferenceTime->fontMetrics().horizontalAdvance("00:00.000 · frame 00000"));
    sldReference = new QSlider(Qt::Horizontal, rowReference);
    layout->addWidget(lblReferenceTime);
    layout->addWidget(sldReference, 1);
    rowReference->hide();
    m_thumbnails->BackdropOf = [this](int number) { return StripBackdrop(number); };
    // Scrubbing shows other frames; the selection stays.
    QObject::connect(sldReference, &QSlider::valueChanged, this, [this](int ms) {
        m_referenceTime = ms / 1000.0;
        ShowBackdrop(true);
    });
}

QImage TfrmHoofer::StripBackdrop(int number)
{
    const THFMove *move = Core.CurrentMove();
    if (!move || !move->Reference || !m_showReference || !m_clip || m_clipFile != move->Reference->file)
        return {};
    // Kept by time for as long as the reference stays as it is: a drag in the
    // preview redraws its thumbnail over the same frame.
    constexpr size_t kKept = 256;
    if (m_stripBackdropsOf != *move->Reference || m_stripBackdrops.size() > kKept) {
        m_stripBackdrops.clear();
        m_stripBackdropsOf = *move->Reference;
    }
    const long long offset = KeyFrameOffsetMs(*move, number);
    QImage &kept = m_stripBackdrops[offset];
    if (kept.isNull()) {
        try {
            const double time = move->Reference->start + offset / 1000.0;  // as the preview takes it
            const Backdrop backdrop{Image->Surface().BrushColor(), m_clip->FrameAt(time).image, *move->Reference, 0};
            kept = DrawBackdrop(QSize(kPreviewWidth, kPreviewHeight), 1, backdrop)
                       .scaled(kPreviewWidth / 2, kPreviewHeight / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        } catch (const std::runtime_error &) {
            return {};  // the preview says why when it shows that frame
        }
    }
    return kept;
}

void TfrmHoofer::ShowReferenceTime()
{
    const long long ms = std::llround(m_shownFrame.seconds * 1000);
    lblReferenceTime->setText(QString("%1:%2.%3 · frame %4")
                                  .arg(ms / 60000, 2, 10, QChar('0'))
                                  .arg(ms / 1000 % 60, 2, 10, QChar('0'))
                                  .arg(ms % 1000, 3, 10, QChar('0'))
                                  .arg(m_shownFrame.number));
    const QSignalBlocker quiet(sldReference);
    sldReference->setValue(static_cast<int>(ms));
}

void TfrmHoofer::ShowReferenceControls()
{
    // The row stays while a move plays, the slider locked.
    const THFMove *current = Core.CurrentMove();
    const bool row = current && current->Reference && m_clip && m_clipFile == current->Reference->file
                     && m_clip->Duration() > 0;
    if (row)
        sldReference->setRange(0, static_cast<int>(std::lround(m_clip->Duration() * 1000)));
    if (row != m_referenceRowShown) {
        m_referenceRowShown = row;
        rowReference->setVisible(row);
        ArrangeWindow();
    }
    sldReference->setEnabled(!m_playing);
    if (row && !m_shownFrame.image.isNull())
        ShowReferenceTime();
    // Nothing of the routine changes while a move plays.
    const THFMove *move = m_playing ? nullptr : Core.CurrentMove();
    const bool has = move && move->Reference;
    const bool video = has && m_clip && m_clip->Duration() > 0;
    for (toolkit::TMenuItem *item : {mnuViewReferenceShow, mnuViewReferenceOpacity, mnuViewReferenceMirror,
                                     mnuViewReferenceAdjust, mnuViewReferenceRemove})
        item->SetEnabled(has);
    for (toolkit::TMenuItem *item : {mnuViewReferenceSetStart, mnuViewReferenceNextFrame,
                                     mnuViewReferencePreviousFrame})
        item->SetEnabled(video);
    mnuViewReferenceChoose->SetEnabled(move != nullptr);
    mnuFrameTimeKeyFrame->SetEnabled(video && Core.CurrentFrameNumber() >= 2);
    mnuViewReferenceShow->SetChecked(has && m_showReference);
    mnuViewReferenceMirror->SetChecked(has && move->Reference->mirror);
    mnuViewReferenceAdjust->SetChecked(has && m_adjustPlacement);
    for (const auto &[item, percent] : {std::pair{mnuViewReferenceOpacity25, 25}, {mnuViewReferenceOpacity50, 50},
                                        {mnuViewReferenceOpacity75, 75}, {mnuViewReferenceOpacity100, 100}})
        item->SetChecked(has && std::lround(move->Reference->opacity * 100) == percent);
}

void TfrmHoofer::mnuViewReferenceChooseClick()
{
    if (!Core.CurrentMove())
        return;
    ReferenceDialog.initialFolder = DialogFolder();
    const auto chosen = m_dialogs->OpenFile(ReferenceDialog);
    if (!chosen)
        return;
    const std::string path = toolkit::PathFromQt(QFileInfo(toolkit::PathToQt(*chosen)).absoluteFilePath());
    // Refused before anything changes when it cannot be shown.
    auto clip = ReferenceClip::Open(path);
    clip->FrameAt(0);
    m_clip = std::move(clip);
    m_clipFile = path;
    m_showReference = true;
    MoveReference reference;
    reference.file = path;
    Core.SetReference("Choose Reference", reference);
}

void TfrmHoofer::ChangeReference(const char *label, const std::function<void(MoveReference &)> &change)
{
    const THFMove *move = Core.CurrentMove();
    if (!move || !move->Reference)
        return;
    MoveReference reference = *move->Reference;
    change(reference);
    Core.SetReference(label, reference);
}

void TfrmHoofer::StepReference(int frames)
{
    if (!m_clip || m_clip->FrameRate() <= 0 || m_shownFrame.image.isNull())
        return;
    // The middle of the next frame's interval, or of the previous one's: a
    // coarse time base rounds a frame's beginning.
    const double frame = 1 / m_clip->FrameRate();
    m_referenceTime = std::max(0.0, m_shownFrame.seconds + (frames > 0 ? 1.5 * frame : -frame / 2));
    ShowBackdrop(true);
}

void TfrmHoofer::mnuViewReferenceSetStartClick()
{
    if (!m_shownFrame.image.isNull())
        ChangeReference("Set Start Here", [this](MoveReference &r) { r.start = m_shownFrame.seconds; });
}

void TfrmHoofer::mnuFrameTimeKeyFrameClick()
{
    const THFMove *move = Core.CurrentMove();
    if (!move || !move->Reference || !m_clip || m_clip->FrameRate() <= 0 || Core.CurrentFrameNumber() < 2)
        return;
    // The middle of the frame on screen: its time, rounded to the 70 ms steps, still shows it.
    const double middle = m_shownFrame.seconds + 0.5 / m_clip->FrameRate();
    const long long offset = std::llround((middle - move->Reference->start) * 1000);
    Core.TimeKeyFrame(InterpolationForOffset(*move, Core.CurrentFrameNumber(), offset));
}

bool TfrmHoofer::ReferencesSaved() const
{
    const TMoveList &moves = Core.Moves();
    for (size_t i = 0; i < std::max(moves.size(), m_savedReferences.size()); ++i) {
        const std::optional<MoveReference> none;
        const auto &now = i < moves.size() ? moves[i]->Reference : none;
        if (now != (i < m_savedReferences.size() ? m_savedReferences[i] : none))
            return false;
    }
    return true;
}

void TfrmHoofer::NoteReferencesSaved()
{
    m_savedReferences.clear();
    for (const auto &move : Core.Moves())
        m_savedReferences.push_back(move->Reference);
}

void TfrmHoofer::WireReferenceMenu()
{
    mnuViewReferenceChoose->OnClick = [this] { mnuViewReferenceChooseClick(); };
    mnuViewReferenceShow->OnClick = [this] {
        m_showReference = !m_showReference;
        ShowBackdrop(true);
        m_thumbnails->Invalidate();
    };
    for (const auto &[item, percent] : {std::pair{mnuViewReferenceOpacity25, 25}, {mnuViewReferenceOpacity50, 50},
                                        {mnuViewReferenceOpacity75, 75}, {mnuViewReferenceOpacity100, 100}})
        item->OnClick = [this, opacity = percent / 100.0] {
            ChangeReference("Reference Opacity", [opacity](MoveReference &r) { r.opacity = opacity; });
        };
    mnuViewReferenceMirror->OnClick = [this] {
        ChangeReference("Mirror Reference", [](MoveReference &r) { r.mirror = !r.mirror; });
    };
    mnuViewReferenceSetStart->OnClick = [this] { mnuViewReferenceSetStartClick(); };
    mnuViewReferenceAdjust->OnClick = [this] {
        m_adjustPlacement = !m_adjustPlacement;
        ShowReferenceControls();
    };
    mnuViewReferenceNextFrame->OnClick = [this] { StepReference(1); };
    mnuViewReferencePreviousFrame->OnClick = [this] { StepReference(-1); };
    mnuViewReferenceRemove->OnClick = [this] { Core.SetReference("Remove Reference", std::nullopt); };
    mnuFrameTimeKeyFrame->OnClick = [this] { mnuFrameTimeKeyFrameClick(); };
}

} // namespace hoofer
