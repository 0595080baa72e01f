// File > Upload to empeg, Download from Empeg, Reboot empeg and
// Options > Set empeg Network Name. The transfer sequences themselves live
// in the device layer, shared with the command-line tool.
#include "hoofer_window.h"

#include "app/flag_scope.h"

#include "device/id_ftp.h"
#include "device/player_address.h"
#include "device/transfers.h"
#include "model/routine_codec.h"

namespace hoofer {

namespace {
/// The window as the transfer sequences see it. After the error box of a
/// failure, the status line says which command failed rather than the step
/// it was at.
class WindowTransferHost : public TransferHost {
public:
    WindowTransferHost(TfrmHoofer &window, const char *failed) : m_window(window), m_failed(failed) {}
    void ShowStatus(const std::string &text) override { m_window.ShowStatus(text); }
    void StopTimer() override { m_window.Timer->SetEnabled(false); }
    void StartTimer() override { m_window.Timer->SetEnabled(true); }
    void Sleep(int ms) override { m_window.Platform().Sleep(ms); }
    void ReportError(const std::string &message) override
    {
        m_window.ReportError(message);
        m_window.ShowStatus(m_failed);
    }

private:
    TfrmHoofer &m_window;
    const char *m_failed;
};

constexpr const char *kNoNetworkName = "Please choose your empeg's Network name in the Options menu";

} // namespace

bool TfrmHoofer::CanStartTransfer()
{
    if (m_deviceBusy)
        return false;
    const std::string problem = NetworkName.empty() ? kNoNetworkName : PlayerAddressProblem(NetworkName);
    if (!problem.empty())
        m_dialogs->Error(problem);
    return problem.empty();
}

void TfrmHoofer::UploadToEmpeg(const std::string &remoteName)
{
    if (!CanStartTransfer())
        return;
    std::string payload;
    try {
        payload = SerialiseRoutine();
    } catch (const std::exception &e) {
        // Nothing is sent: the routine on the player stays as it was.
        ReportError(e.what());
        return;
    }
    // A second device command, started from inside the status line's message
    // handling, must not break the transfer under way.
    FlagScope busy(m_deviceBusy);
    WindowTransferHost host(*this, "Upload failed");
    // The player takes the routine only: references that no sidecar holds yet stay unsaved.
    if (UploadToPlayer(*IdFTP, NetworkName, remoteName, payload, host) && ReferencesSaved())
        Core.MarkSaved();
}

void TfrmHoofer::DownloadFromEmpeg(const std::string &remoteName)
{
    if (!CanStartTransfer())
        return;
    if (!ConfirmReplace())
        return;
    DownloadResult received;
    {
        FlagScope busy(m_deviceBusy);
        WindowTransferHost host(*this, "Download failed");
        received = DownloadFromPlayer(*IdFTP, NetworkName, remoteName, host);
        if (received.complete)
            ShowStatus(kDownloadCompleteStatus);
    }
    try {
        ParseRoutine(received.bytes);
        // A download belongs to no file: Save must ask where.
        if (!received.bytes.empty()) {
            Core.DetachFile();
            NoteReferencesSaved();
        }
    } catch (const RoutineFormatError &e) {
        ReportError(remoteName + " from the player is " + e.what());
    } catch (const std::exception &e) {
        ReportError(e.what());
    }
}

void TfrmHoofer::UploadtoEmpegAsBreakdanceClick() { UploadToEmpeg(kBreakDanceFile); }
void TfrmHoofer::UploadtoEmpegAsPrinceDanceClick() { UploadToEmpeg(kPrinceDanceFile); }
void TfrmHoofer::UploadtoEmpegAsStonkDanceClick() { UploadToEmpeg(kStonkDanceFile); }
void TfrmHoofer::mnuFileDownloadFromEmpegBreakDanceClick() { DownloadFromEmpeg(kBreakDanceFile); }
void TfrmHoofer::mnuFileDownloadFromEmpegPrinceDanceClick() { DownloadFromEmpeg(kPrinceDanceFile); }
void TfrmHoofer::mnuFileDownloadFromEmpegStonkDanceClick() { DownloadFromEmpeg(kStonkDanceFile); }

void TfrmHoofer::mnuFileRebootEmpegClick()
{
    if (m_deviceBusy)
        return;
    FlagScope busy(m_deviceBusy);
    WindowTransferHost host(*this, "Reboot failed");
    try {
        RebootPlayer(*IdFTP, host);
    } catch (...) {
        // The exception box follows; the status line says what failed.
        ShowStatus("Reboot failed");
        throw;
    }
}

void TfrmHoofer::mnuOptionsSetempegNetworkNameClick()
{
    const auto name = AskString(NetworkName, 0, "Your empeg's Network Name");
    if (!name)
        return;
    // A name that cannot be right is refused now, not at the next transfer;
    // an empty one leaves the player unchosen.
    if (const std::string problem = name->empty() ? "" : PlayerAddressProblem(*name); !problem.empty()) {
        m_dialogs->Error(problem);
        return;
    }
    NetworkName = *name;
    SettingsChanged();
}

} // namespace hoofer
