#include "transfers.h"

#include "byte_stream.h"

#include <exception>

namespace hoofer {

namespace {

// The player is given a moment after each step: after each step of an upload
// or a reboot, longer after mounting its discs and after each step of a download.
constexpr int kStepPauseMs = 100;
constexpr int kRemountPauseMs = 150;
constexpr int kDownloadStepPauseMs = 150;

/// The steps every transfer takes on its way out, failure or not.
void FinishTransfer(TIdFTP &ftp, TransferHost &host)
{
    host.StartTimer();
    if (ftp.IsConnected())
        ftp.Disconnect();
}

} // namespace

bool UploadToPlayer(TIdFTP &ftp, const std::string &networkName, const std::string &remoteName,
                    const std::string &payload, TransferHost &host)
{
    bool done = false;
    try {
        TMemoryStream stream(payload);
        ftp.Host = networkName;
        host.StopTimer();
        host.ShowStatus("Connecting to " + networkName);
        ftp.Connect();
        host.ShowStatus("Connected");
        host.Sleep(kStepPauseMs);
        host.ShowStatus("Changing Directory");
        ftp.ChangeDirectory(kPlayerRoutineFolder);
        host.Sleep(kStepPauseMs);
        host.ShowStatus("Mounting discs RW");
        ftp.SiteCommand("RW");
        host.Sleep(kRemountPauseMs);
        host.ShowStatus("Putting File to empeg");
        ftp.Store(stream, remoteName, false);
        host.Sleep(kStepPauseMs);
        // A failure before this point leaves the discs read-write: nothing
        // more is said to a player that has just refused or dropped us.
        host.ShowStatus("Mounting discs RO");
        ftp.SiteCommand("RO");
        host.Sleep(kRemountPauseMs);
        host.ShowStatus("Disconnecting");
        ftp.Disconnect();
        host.ShowStatus("Upload complete");
        done = true;
    } catch (const std::exception &e) {
        // Reported while the connection is as the failure left it.
        host.ReportError(e.what());
    }
    FinishTransfer(ftp, host);
    return done;
}

DownloadResult DownloadFromPlayer(TIdFTP &ftp, const std::string &networkName, const std::string &remoteName,
                                  TransferHost &host)
{
    DownloadResult result;
    try {
        TMemoryStream stream;
        ftp.Host = networkName;
        host.StopTimer();
        host.ShowStatus("Connecting to " + networkName);
        ftp.Connect();
        host.ShowStatus("Connected");
        host.Sleep(kDownloadStepPauseMs);
        host.ShowStatus("Changing Directory");
        ftp.ChangeDirectory(kPlayerRoutineFolder);
        host.Sleep(kDownloadStepPauseMs);
        host.ShowStatus("Getting File from empeg");
        ftp.Retrieve(remoteName, stream);
        host.Sleep(kDownloadStepPauseMs);
        host.ShowStatus("Disconnecting");
        ftp.Disconnect();
        result.bytes = stream.Bytes();
        result.complete = true;
    } catch (const std::exception &e) {
        host.ReportError(e.what());
    }
    FinishTransfer(ftp, host);
    return result;
}

void RebootPlayer(TIdFTP &ftp, TransferHost &host)
{
    try {
        ftp.Connect();
        host.Sleep(kStepPauseMs);
        ftp.SiteCommand("REBOOT");
        host.Sleep(kStepPauseMs);
        ftp.Disconnect();
    } catch (...) {
        if (ftp.IsConnected())
            ftp.Disconnect();
        throw;
    }
}

} // namespace hoofer
