#include "transfer_commands.h"

#include "cli_files.h"
#include "routine_report.h"
#include "terminal_text.h"
#include "settings/settings.h"
#include "device/id_ftp.h"
#include "device/player_address.h"
#include "device/transfers.h"
#include "model/routine_codec.h"

#include <chrono>
#include <iostream>
#include <map>
#include <memory>
#include <thread>
#include <utility>

namespace hoofer {

namespace {

struct PlayerOptions {
    std::string host;
    std::string slot;
    std::string user = EditorSettings{}.FtpUserName;
    std::string password = EditorSettings{}.FtpPassword;
    int timeoutSeconds = 30;
    bool verbose = false;
};

/// A message on one line: the FTP client's messages may hold CR LF.
std::string JoinLines(std::string text)
{
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.replace(at, 2, " ");
    return text;
}

void Fail(const std::string &where, const std::string &message)
{
    std::cerr << TerminalText(where) << ": error: " << TerminalText(JoinLines(message)) << std::endl;
}

/// The terminal as the transfer sequences see it: the status texts go to
/// standard error as they happen, the pauses are real, and a failure is
/// reported with the player's name first.
class TerminalTransferHost : public TransferHost {
public:
    explicit TerminalTransferHost(std::string player) : m_player(std::move(player)) {}
    void ShowStatus(const std::string &text) override { std::cerr << text << std::endl; }
    void StopTimer() override {}
    void StartTimer() override {}
    void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    void ReportError(const std::string &message) override { Fail(m_player, message); }

private:
    std::string m_player;
};

void Configure(TIdFTP &ftp, const PlayerOptions &options)
{
    ftp.Host = options.host;
    ftp.Username = options.user;
    ftp.Password = options.password;
    ftp.ReadTimeout = ftp.DataChannelTimeout = options.timeoutSeconds * 1000;
    if (options.verbose)
        // Like curl -v: the dialogue as it happens, the password masked by
        // the client, anything the player sent made harmless for a terminal.
        ftp.OnDialogue = [](bool sent, const std::string &line) {
            std::cerr << (sent ? "> " : "< ") << TerminalText(line) << std::endl;
        };
}

int RunUpload(const PlayerOptions &options, const std::string &file)
{
    std::string data;
    TMoveList moves;
    if (!ReadRoutineFile(file, data, moves))
        return 1;
    // The player gets the routine as the editor would send it after loading
    // the file: the image written afresh from the moves.
    for (const Diagnostic &d : CheckRoutineImage(data))
        if (d.droppedOnSave)
            ReportWarning(file, d.message + " (not sent)");
    std::string payload;
    try {
        payload = EncodeRoutine(moves);
    } catch (const RoutineFormatError &e) {
        ReportError(file, e.what());
        return 1;
    }
    TIdFTP ftp;
    Configure(ftp, options);
    TerminalTransferHost host(options.host);
    return UploadToPlayer(ftp, options.host, options.slot, payload, host) ? 0 : 1;
}

int RunDownload(const PlayerOptions &options, const std::string &output)
{
    TIdFTP ftp;
    Configure(ftp, options);
    TerminalTransferHost host(options.host);
    const DownloadResult download = DownloadFromPlayer(ftp, options.host, options.slot, host);
    if (!download.complete)
        return 1;
    const std::string &received = download.bytes;
    std::cerr << "Received " << received.size() << (received.size() == 1 ? " byte" : " bytes") << std::endl;
    // Only a routine is written, so a failed or garbled transfer never
    // replaces a good file.
    if (received.empty()) {
        Fail(options.host, options.slot + " on the player is empty; nothing written");
        return 1;
    }
    try {
        DecodeRoutine(received);
    } catch (const RoutineFormatError &e) {
        Fail(options.host, options.slot + " from the player is " + e.what() + "; nothing written");
        return 1;
    }
    if (!WriteOutput(output, received))
        return 1;
    // A download is complete only once its file is written.
    std::cerr << kDownloadCompleteStatus << std::endl;
    return 0;
}

int RunReboot(const PlayerOptions &options)
{
    TIdFTP ftp;
    Configure(ftp, options);
    TerminalTransferHost host(options.host);
    try {
        RebootPlayer(ftp, host);
    } catch (const std::exception &e) {
        Fail(ftp.Host, e.what());
        return 1;
    }
    std::cerr << "Reboot requested" << std::endl;
    return 0;
}

void AddPlayerOptions(CLI::App &command, PlayerOptions &options, bool withSlot)
{
    command.add_option("--host", options.host,
                       "The player's network name or address; NAME:PORT for another port than "
                           + std::to_string(kFtpPort))
        ->required()
        ->type_name("NAME[:PORT]")
        ->check(CLI::Validator([](std::string &text) { return PlayerAddressProblem(text); }, "", "address"));
    if (withSlot) {
        static const std::map<std::string, std::string> kSlots = {
            {"breakdance", kBreakDanceFile}, {"princedance", kPrinceDanceFile}, {"stonkdance", kStonkDanceFile}};
        command.add_option("--slot", options.slot, "The player's routine slot")
            ->required()
            ->type_name("breakdance|princedance|stonkdance")
            ->transform([](std::string name) {
                const auto slot = kSlots.find(CLI::detail::to_lower(name));
                if (slot == kSlots.end())
                    throw CLI::ValidationError("'" + TerminalText(name)
                                               + "' is not a slot; the slots are breakdance, princedance and stonkdance");
                return slot->second;
            });
    }
    command.add_option("--user", options.user, "FTP user name (default: " + options.user + ")")->type_name("NAME");
    command.add_option("--password", options.password, "FTP password (default: the editor's)")
        ->type_name("TEXT")
        ->envname("HOOFER_FTP_PASSWORD");
    command.add_option("--timeout", options.timeoutSeconds,
                       "Longest wait for each reply of the player and for the data to move (default: 30)")
        ->type_name("SECONDS")
        ->check(CLI::Range(1, 3600));
    command.add_flag("-v,--verbose", options.verbose, "Show the FTP dialogue on standard error (password masked)");
}

} // namespace

void AddTransferCommands(CLI::App &app, CommandSet &commands)
{
    {
        auto options = std::make_shared<PlayerOptions>();
        auto file = std::make_shared<std::string>();
        CLI::App *upload = app.add_subcommand("upload", "Send a routine into one of the player's slots");
        upload->add_option("FILE", *file, "Routine file (.raw); - reads standard input")->required()->type_name("");
        AddPlayerOptions(*upload, *options, true);
        upload->footer("The editor's upload: connect, change to /empeg/lib/visuals/, mount the discs\n"
                       "read-write, store the file, mount them read-only, disconnect. Each step is\n"
                       "reported on standard error.");
        commands.Add(upload, [options, file] { return RunUpload(*options, *file); });
    }
    {
        auto options = std::make_shared<PlayerOptions>();
        auto output = std::make_shared<std::string>();
        CLI::App *download = app.add_subcommand("download", "Fetch the routine in one of the player's slots");
        AddPlayerOptions(*download, *options, true);
        download->add_option("-o,--output", *output, "Routine file to write (- for standard output)")
            ->required()
            ->type_name("FILE");
        download->footer("The file is written only when what arrived is a whole routine, and then\n"
                         "atomically: a failed transfer leaves an existing file as it was.");
        commands.Add(download, [options, output] { return RunDownload(*options, *output); });
    }
    {
        auto options = std::make_shared<PlayerOptions>();
        CLI::App *reboot = app.add_subcommand("reboot", "Ask the player to restart");
        AddPlayerOptions(*reboot, *options, false);
        commands.Add(reboot, [options] { return RunReboot(*options); });
    }
}

} // namespace hoofer
