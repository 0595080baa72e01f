#include "transfers.h"

#include "byte_stream.h"

#include <exception>

namespace hoofer {

namespace {

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
        host.Sleep(100);
        host.ShowStatus("Changing Directory");
        ftp.ChangeDirectory(kPlayerRoutineFolder);
        host.Sleep(100);
        host.ShowStatus("Mounting discs RW");
        ftp.SiteCommand("RW");
        host.Sleep(150);
        host.ShowStatus("Putting File to empeg");
        ftp.Store(stream, remoteName, false);
        host.Sleep(100);
        // A failure before this point leaves the discs read-write: nothing
        // more is said to a player that has just refused or dropped us.
        host.ShowStatus("Mounting discs RO");
        ftp.SiteCommand("RO");
        host.Sleep(150);
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

std::string DownloadFromPlayer(TIdFTP &ftp, const std::string &networkName, const std::string &remoteName,
                               TransferHost &host)
{
    std::string received;
    try {
        TMemoryStream stream;
        ftp.Host = networkName;
        host.StopTimer();
        host.ShowStatus("Connecting to " + networkName);
        ftp.Connect();
        host.ShowStatus("Connected");
        host.Sleep(150);
        host.ShowStatus("Changing Directory");
        ftp.ChangeDirectory(kPlayerRoutineFolder);
        host.Sleep(150);
        host.ShowStatus("Getting File from empeg");
        ftp.Retrieve(remoteName, stream);
        host.Sleep(150);
        host.ShowStatus("Disconnecting");
        ftp.Disconnect();
        host.ShowStatus("Download complete");
        received = stream.Bytes();
    } catch (const std::exception &e) {
        host.ReportError(e.what());
    }
    FinishTransfer(ftp, host);
    return received;
}

void RebootPlayer(TIdFTP &ftp, TransferHost &host)
{
    try {
        ftp.Connect();
        host.Sleep(100);
        ftp.SiteCommand("REBOOT");
        host.Sleep(100);
        ftp.Disconnect();
    } catch (...) {
        if (ftp.IsConnected())
            ftp.Disconnect();
        throw;
    }
}

} // namespace hoofer
