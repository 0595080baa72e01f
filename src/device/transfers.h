#pragma once
// The device transfers: upload a routine into one of the player's slots,
// download one, reboot the player. The same sequences serve the editor's
// window and the command-line tool; the caller supplies the status line,
// the timer, the pauses and the error report through a TransferHost.

#include "id_ftp.h"

#include <string>

namespace hoofer {

/// The player's three routine slots, relative to kPlayerRoutineFolder.
inline constexpr const char *kBreakDanceFile = "breakdance.raw";
inline constexpr const char *kPrinceDanceFile = "princedance.raw";
inline constexpr const char *kStonkDanceFile = "stonkdance.raw";
inline constexpr const char *kPlayerRoutineFolder = "/empeg/lib/visuals/";

/// What a transfer needs from the program that runs it.
class TransferHost {
public:
    virtual ~TransferHost() = default;
    virtual void ShowStatus(const std::string &text) = 0;
    virtual void StopTimer() = 0;
    virtual void StartTimer() = 0;
    virtual void Sleep(int ms) = 0;
    virtual void ReportError(const std::string &message) = 0;
};

/// Connects to networkName, mounts the player's discs read-write, stores
/// payload under remoteName and mounts them read-only again. True on success;
/// a failure is reported through host (and the remaining steps skipped).
bool UploadToPlayer(TIdFTP &ftp, const std::string &networkName, const std::string &remoteName,
                    const std::string &payload, TransferHost &host);

/// What a download brought: complete once every step has succeeded (a
/// failure is already reported through host, and bytes is then empty).
struct DownloadResult {
    bool complete = false;
    std::string bytes;
};

/// The status a caller shows once it has taken in a complete download: the
/// window at once, the command-line tool after writing the file.
inline constexpr const char *kDownloadCompleteStatus = "Download complete";

/// Fetches remoteName from the player.
DownloadResult DownloadFromPlayer(TIdFTP &ftp, const std::string &networkName, const std::string &remoteName,
                                  TransferHost &host);

/// Asks the player at ftp.Host to reboot. Raises on failure, after closing the
/// connection. Its pauses go through host.
void RebootPlayer(TIdFTP &ftp, TransferHost &host);

} // namespace hoofer
