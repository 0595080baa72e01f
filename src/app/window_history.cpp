// The Edit menu: Undo and Redo of the routine's history, named after the
// change they would take back or make again, and the option that puts them
// on Ctrl+Z and Ctrl+Y in place of the key frame's own Undo and Redo. The core walks the history and
// reports the change; here the window shows where it was made.
#include "hoofer_window.h"

#include "toolkit/text.h"

namespace hoofer {

void TfrmHoofer::UpdateEditMenu()
{
    const EditHistory &history = Core.History();
    // Every step of a drag reports a change: the menu is written only when
    // its captions change (a label is empty exactly when there is nothing).
    std::string undo = history.UndoLabel(), redo = history.RedoLabel();
    if (m_editMenuShown && undo == m_undoShown && redo == m_redoShown)
        return;
    m_editMenuShown = true;
    m_undoShown = std::move(undo);
    m_redoShown = std::move(redo);
    // "&" in a move's label would mark an access letter.
    auto caption = [](const char *verb, const std::string &label) {
        return label.empty() ? QString(verb) : QString(verb) + " " + toolkit::ToQt(label).replace("&", "&&");
    };
    mnuEditUndo->SetCaption(caption("Undo", m_undoShown));
    mnuEditRedo->SetCaption(caption("Redo", m_redoShown));
    mnuEditUndo->SetEnabled(history.CanUndo());
    mnuEditRedo->SetEnabled(history.CanRedo());
}

void TfrmHoofer::mnuEditUndoClick()
{
    if (const auto where = Core.UndoChange())
        ShowHistorySelection(*where);
}

void TfrmHoofer::mnuEditRedoClick()
{
    if (const auto where = Core.RedoChange())
        ShowHistorySelection(*where);
}

void TfrmHoofer::mnuOptionsCtrlZUndoesAnyChangeClick()
{
    Options.CtrlZUndoesAnyChange = !Options.CtrlZUndoesAnyChange;
    SettingsChanged();
}

void TfrmHoofer::ShowUndoKeys()
{
    using K = QKeySequence;
    const K ctrlZ(Qt::CTRL | Qt::Key_Z), ctrlY(Qt::CTRL | Qt::Key_Y), ctrlShiftZ(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    const K ctrlAltZ(Qt::CTRL | Qt::ALT | Qt::Key_Z), ctrlAltY(Qt::CTRL | Qt::ALT | Qt::Key_Y);
    const bool any = Options.CtrlZUndoesAnyChange;
    mnuEditUndo->SetShortCuts({any ? ctrlZ : ctrlAltZ});
    mnuEditRedo->SetShortCuts(any ? QList<K>{ctrlShiftZ, ctrlY} : QList<K>{ctrlAltY});
    mnuFrameUndoFrame->SetShortCuts({any ? ctrlAltZ : ctrlZ});
    mnuFrameRedoFrame->SetShortCuts({any ? ctrlAltY : ctrlY});
}

bool TfrmHoofer::ConfirmUndoable(const std::string &question)
{
    return Options.CtrlZUndoesAnyChange || m_dialogs->Confirm(question);
}

void TfrmHoofer::ShowHistorySelection(const EditSelection &where)
{
    // Set without its handler: choosing the part again would add a snapshot
    // to the key frame's own history.
    if (where.BodyPart >= 1 && where.BodyPart <= kPartCount)
        cbxBodyPart->SetItemIndex(where.BodyPart - 1);
    if (Core.CurrentMove())
        ShowSelection();
}

} // namespace hoofer
