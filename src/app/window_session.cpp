// The session around the routine: the unsaved-changes mark in the title, the
// question before a routine is replaced, File > New Routine, files dropped
// onto the window, the crash-recovery copy, and the end of the session by a
// signal.
#include "hoofer_window.h"

#include "model/reference_sidecar.h"
#include "model/routine_codec.h"
#include "toolkit/guard.h"
#include "toolkit/text.h"

#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <cstdio>

namespace hoofer {

namespace {

/// The one local file a drag carries, or empty for anything else.
QString DroppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls()[0].isLocalFile())
        return {};
    return data->urls()[0].toLocalFile();
}

/// The question before a recovery copy is restored: the routine by the name
/// of its file (a routine never saved has none), and the local time of the copy.
std::string RestoreQuestion(const std::string &sourceFileName, long long copiedAtMs)
{
    const QString name = sourceFileName.empty()
                             ? QString("the new routine")
                             : "the routine \"" + QFileInfo(toolkit::ToQt(sourceFileName)).fileName() + "\"";
    const QString when = QDateTime::fromMSecsSinceEpoch(copiedAtMs).toString("HH:mm 'on' yyyy-MM-dd");
    return toolkit::FromQt("Restore " + name + ", copied at " + when
                           + ", that was not saved when HooferEdit last ended?");
}

} // namespace

bool TfrmHoofer::ConfirmReplace()
{
    return !Core.Modified() || m_dialogs->Confirm("Replace the routine and lose changes?");
}

void TfrmHoofer::mnuFileNewRoutineClick()
{
    if (!ConfirmReplace())
        return;
    Core.ReplaceRoutine(NewRoutine());
    // A new routine has no file: Save must not write over the last one loaded.
    Core.DetachFile();
    NoteReferencesSaved();
}

void TfrmHoofer::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TfrmHoofer::dropEvent(QDropEvent *event)
{
    const QString file = DroppedFile(event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    toolkit::RunGuarded([&] {
        if (ConfirmReplace())
            OpenRoutineFile(toolkit::PathFromQt(file));
    });
}

void TfrmHoofer::RoutineChanged(const RoutineChange &change)
{
    // A range is seen only in the strip: without it (pasted key frames,
    // a range undone), the current key frame alone.
    if (!m_stripShown && Core.RangeSelected())
        Core.SelectOneFrame();
    // Pins belong to the routine being edited: another one starts without.
    if (change.kind == RoutineChange::Kind::Routine)
        Pins.reset();
    // A change of points alone (every drag step) keeps the file and the
    // playing time: only the mark can come, with the first one.
    if (change.kind != RoutineChange::Kind::Coordinates) {
        UpdateCaption();
        ShowPlayingTime();
    } else if (Core.Modified() != m_captionShowsModified) {
        UpdateCaption();
    }
    UpdateEditMenu();
    if (!Core.Modified()) {
        // Saved, uploaded or replaced: the copy has nothing left to keep.
        RecoveryTimer->SetEnabled(false);
        if (m_recovery)
            m_recovery->Remove();
    } else if (m_recovery && !RecoveryTimer->Enabled()) {
        RecoveryTimer->SetEnabled(true);
    }
    ShowChange(change);
}

void TfrmHoofer::RecoveryTimerTimer()
{
    RecoveryTimer->SetEnabled(false);
    if (!m_recovery || !Core.Modified())
        return;
    std::string why;
    try {
        why = m_recovery->Write(SerialiseRoutine(), Core.File().Source(),
                                    WriteReferenceSidecar(Core.Moves(), m_recovery->Folder()));
    } catch (const std::exception &e) {
        why = std::string("No recovery copy: ") + e.what();
    }
    // Told once, on the status line: a copy that cannot be written never
    // stands in the way of the editing.
    if (!why.empty() && !m_recoveryFailureShown) {
        m_recoveryFailureShown = true;
        ShowStatus(why);
    }
}

void TfrmHoofer::KeepSessionForSignal()
{
    // Nothing here may handle messages: the process ends right after, from
    // whatever loop or question it was in.
    RecoveryTimer->SetEnabled(false);
    if (Core.Modified()) {
        std::string why = "No recovery copy: none is kept";
        if (m_recovery) {
            try {
                why = m_recovery->Write(SerialiseRoutine(), Core.File().Source(),
                                    WriteReferenceSidecar(Core.Moves(), m_recovery->Folder()));
            } catch (const std::exception &e) {
                why = std::string("No recovery copy: ") + e.what();
            }
        }
        if (!why.empty())
            std::fprintf(stderr, "HooferEdit: %s\n", why.c_str());
    }
    SaveSettings();
}

void TfrmHoofer::OfferRecoveredRoutines()
{
    if (!m_recovery)
        return;
    for (RecoveryOrphan &orphan : RecoveryStore::FindOrphans(m_recovery->Folder())) {
        if (!orphan.readable()) {
            ShowStatus(orphan.error);
            continue;
        }
        if (!m_dialogs->Confirm(RestoreQuestion(orphan.sourceFileName, orphan.copiedAtMs))) {
            if (const std::string why = RecoveryStore::Discard(orphan); !why.empty())
                ShowStatus(why);
            continue;
        }
        try {
            // One change of the history: its changes are unsaved, and Undo
            // brings back the routine shown before.
            TMoveList moves = DecodeRoutine(orphan.image);
            try {
                ApplyReferenceSidecar(orphan.references, m_recovery->Folder(), moves);
            } catch (const std::runtime_error &) {
                // None kept, or none readable: the routine comes back without them.
            }
            Core.RestoreRoutine(std::move(moves));
        } catch (const std::exception &e) {
            ShowStatus(e.what());
            continue;
        }
        // Not its own file: Save asks where, proposing the file it came from.
        Core.RestoredFrom(orphan.sourceFileName);
        m_recovery->Adopt(std::move(orphan));
        // One routine at a time: the other copies wait for the next start.
        return;
    }
}

} // namespace hoofer
