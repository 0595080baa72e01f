// The shell of the main window: creation, first showing, closing and
// destruction, the status line, the error report and the editing lock.
#include "hoofer_window.h"

#include "app/key_frame_thumbnails.h"
#include "app/string_entry_dialog.h"
#include "device/id_ftp.h"
#include "toolkit/guard.h"
#include "toolkit/key_router.h"
#include "toolkit/text.h"
#include "toolkit/thumbnail_strip.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QTimer>

namespace hoofer {

namespace {
/// How long a status message stays before the bar is cleared.
constexpr int kStatusShownMs = 10000;
} // namespace

TfrmHoofer::TfrmHoofer(toolkit::Platform &platform, toolkit::Dialogs *dialogs, SettingsLocation settings,
                       QWidget *parent, std::string recoveryFolder)
    : QMainWindow(parent), m_platform(platform), m_settingsPath(std::move(settings.writePath)),
      m_settingsReadPath(std::move(settings.readPath))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    if (!dialogs) {
        m_ownDialogs = std::make_unique<toolkit::QtDialogs>(this);
        dialogs = m_ownDialogs.get();
    }
    m_dialogs = dialogs;
    toolkit::SetExceptionReporter([this](const std::string &message) { m_dialogs->ShowException(message); });

    CreateControls();
    CreateMenu();
    WireEvents();
    m_keys = new toolkit::KeyRouter(this, MainMenu);
    m_keys->OnKeyDown = [this](int key, Qt::KeyboardModifiers shift) { FormKeyDown(key, shift); };
    m_keys->OnKeyClaim = [this](int key, Qt::KeyboardModifiers shift) { return NudgeKey(key, shift); };
    Timer = std::make_unique<toolkit::TTimer>(m_platform);
    Timer->SetInterval(kStatusShownMs);
    Timer->OnTimer = [this] { TimerTimer(); };
    RecoveryTimer = std::make_unique<toolkit::TTimer>(m_platform);
    RecoveryTimer->SetInterval(kRecoveryDelayMs);
    RecoveryTimer->OnTimer = [this] { RecoveryTimerTimer(); };
    if (!recoveryFolder.empty())
        m_recovery = std::make_unique<RecoveryStore>(std::move(recoveryFolder));
    Core.OnChanged = [this](const RoutineChange &change) { RoutineChanged(change); };
    setAcceptDrops(true);
    WatchClipboard();
    IdFTP = std::make_unique<TIdFTP>();
    IdFTP->Host = kDefaultPlayerAddress;
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    FormCreate();
}

TfrmHoofer::~TfrmHoofer()
{
    // Hidden while still whole: hiding takes the focus away, and the
    // controls' focus-out handlers call back into this window.
    hide();
    FormDestroy();
    toolkit::SetExceptionReporter(nullptr);
}

void TfrmHoofer::FormCreate()
{
    Core.Clear();
    Core.MarkSaved();
    UpdatingControls = false;
    NetworkName.clear();
    // The title names the routine's file and gains a "*" while there are
    // unsaved changes.
    Core.DetachFile();
    UpdateCaption();
    toolkit::SetApplicationTitle("Hoofer Editor V6");
}

void TfrmHoofer::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    toolkit::RunGuarded([this] { FormShow(); });
    // Centred at the size the settings gave it, unless the user sized and
    // placed it; inside the screen's room either way.
    if (const QRect area = m_platform.AvailableArea(*this); !area.isEmpty() && !(m_fitting && Options.Window.Width > 0))
        move(area.center() - rect().center());
    KeepInsideScreen();
    // Once the window is up: the copies a crash left, then the file the
    // command line named, each with its questions and errors over the window.
    QTimer::singleShot(0, this, [this] {
        toolkit::RunGuarded([this] { OfferRecoveredRoutines(); });
        if (!m_startupFile.empty())
            toolkit::RunGuarded([this] {
                if (ConfirmReplace())
                    OpenRoutineFile(m_startupFile);
            });
    });
}

void TfrmHoofer::FormShow()
{
    LoadSettings();
    RefreshView();
}

bool TfrmHoofer::FormCloseQuery()
{
    if (!Core.Modified())
        return true;
    return m_dialogs->Confirm("Close HooferEdit and lose changes?");
}

void TfrmHoofer::closeEvent(QCloseEvent *event)
{
    if (m_playing) {
        // Carried out once the pass under way has ended.
        m_closeRequested = true;
        event->ignore();
        return;
    }
    bool canClose = false;
    toolkit::RunGuarded([&] { canClose = FormCloseQuery(); });
    if (canClose) {
        // A normal end: the unsaved changes were given up knowingly.
        RecoveryTimer->SetEnabled(false);
        if (m_recovery)
            m_recovery->Remove();
        event->accept();
    }
    else
        event->ignore();
}

void TfrmHoofer::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    SaveSettings();
    Core.Clear();
}

void TfrmHoofer::ShowStatus(const std::string &message)
{
    Timer->SetEnabled(false);
    StatusBar->setText(toolkit::ToQt(message));
    Timer->SetEnabled(true);
    m_platform.ProcessMessages();
}

std::optional<std::string> TfrmHoofer::AskString(const std::string &text, int maxLength, const std::string &title)
{
    auto dialog = std::make_unique<TfrmSingleStringEntry>(this);
    dialog->SetTheText(text);
    dialog->SetMaxLength(maxLength);
    if (!title.empty())
        dialog->SetTitle(title);
    if (m_dialogs->ShowModal(*dialog) != toolkit::kModalResultOk)
        return std::nullopt;
    return dialog->TheText();
}

void TfrmHoofer::TimerTimer()
{
    StatusBar->clear();
    Timer->SetEnabled(false);
}

void TfrmHoofer::ReportError(const std::string &message)
{
    m_dialogs->Error("I am very sorry to report that the following error has occured...\r\n\"" + message
                     + "\"\r\nI hope this doesn't ruin your day.");
}

void TfrmHoofer::SetEditingEnabled(bool enabled)
{
    grpBodyParts->setEnabled(enabled);
    grpMoveAndFrame->setEnabled(enabled);
    grpResult->setEnabled(enabled);
    mnuMove->SetEnabled(enabled);
    mnuFrame->SetEnabled(enabled);
    mnuFile->SetEnabled(enabled);
    mnuEdit->SetEnabled(enabled);
    stripKeyFrames->setEnabled(enabled);
    ShowReferenceControls();
}

} // namespace hoofer
