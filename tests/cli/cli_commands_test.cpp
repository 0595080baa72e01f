// The hoofer executable run as a user runs it, the transfers against the
// player simulator or a scripted peer. tests/data/cli holds routines laid out
// byte by byte: one move with bytes after it, cut short, empty, with another
// format byte and name end, and with a move of no key frames.

#include "scripted_peer.h"
#include "server_process.h"
#include "export/move_gif.h"
#include "model/routine_codec.h"
#include "settings/settings.h"
#include "test_clip.h"
#include "test_routine.h"
#include "view/inbetween.h"
#include "view/reference_timing.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <chrono>

namespace hoofer::testing {
namespace {

using nlohmann::json;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using test::ServerProcess;
using test::FileBytes;
using test::TemporaryFolder;

/// One run of the tool; exitCode -1: it crashed or had to be stopped. In the
/// rows of ExpectRuns an output is whole, "~text" holds text, "*" is not read.
struct HooferRun {
    std::vector<std::string> arguments;
    int exitCode = -1;
    std::string out, err, input = {};
};

/// Runs the tool without any display, for at most 60 s; the arguments go
/// through bash as $'\xNN' so that names not in UTF-8 arrive unchanged.
HooferRun RunHoofer(const std::vector<std::string> &arguments, const std::string &input = {})
{
    QString script = QStringLiteral("exec \"$0\"");
    for (const std::string &argument : arguments) {
        script += QStringLiteral(" $'");
        for (const char c : argument)
            script += QString::asprintf("\\x%02x", static_cast<unsigned char>(c));
        script += '\'';
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start("/bin/bash", {"-c", script, HOOFER_EXE});
    process.write(QByteArray::fromStdString(input));
    process.closeWriteChannel();
    HooferRun run{arguments, -1, {}, {}, input};
    if (!process.waitForFinished(60000))
        process.kill();
    else if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    process.waitForFinished(5000);
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

std::string TestData(const std::string &name) { return HOOFER_TEST_DATA "/cli/" + name; }

/// A routine laid out byte by byte, not by the codec: every byte value in its
/// names, every field at both of its ends and a move of 255 key frames.
std::string AllBytesRoutine()
{
    std::string raw = {'d', 22};
    const auto frame = [&raw](int first, int step, int interpolation, int displacement) {
        for (int i = 0; i < 24; ++i)
            raw += static_cast<char>(first + step * i);
        raw += {static_cast<char>(interpolation), static_cast<char>(displacement)};
    };
    for (int m = 0; m < 22; ++m) {
        for (int i = 0; i < 12; ++i)
            raw += static_cast<char>(12 * m + i);
        raw += "\r\x03";
        frame(0, 0, 0, -128);
        frame(255, 0, 255, 127);
        frame(37 * m, 37, m, m - 11);
    }
    raw += "Long        \r\xff";
    for (int f = 0; f < 255; ++f)
        frame(f, 7, f % 3, f % 5 - 2);
    return raw;
}
std::string Example(const std::string &name) { return HOOFER_SOURCE_DIR "/examples/" + name; }

void ExpectRuns(const std::vector<HooferRun> &rows)
{
    for (const HooferRun &row : rows) {
        std::string what;
        for (const std::string &argument : row.arguments)
            what += argument + ' ';
        const HooferRun run = RunHoofer(row.arguments, row.input);
        EXPECT_EQ(run.exitCode, row.exitCode) << what << run.err;
        for (const auto &[text, expected] : {std::pair(run.out, row.out), std::pair(run.err, row.err)}) {
            using Text = ::testing::Matcher<std::string>;
            if (expected == "*")
                continue;
            EXPECT_THAT(text, expected.starts_with('~') ? Text(::testing::HasSubstr(expected.substr(1))) : Text(expected))
                << what;
        }
    }
}

TEST(CommandLine, EveryCommandsHelpReportsAndErrors)
{
    const HooferRun top = RunHoofer({"--help"});
    for (const auto &[command, option] : std::vector<std::pair<std::string, std::string>>{
             {"info", "FILE"}, {"check", "--strict"}, {"render", "--scale"}, {"export", "--output"},
             {"import", "--output"}, {"upload", "--slot"}, {"download", "--slot"}, {"reboot", "--host"}}) {
        EXPECT_THAT(top.out, HasSubstr("\n  " + command + " ")) << command;
        ExpectRuns({{{command, "--help"}, 0, "~Usage: hoofer " + command + " [OPTIONS]", ""},
                    {{"help", command}, 0, "~" + option, ""}});
    }
    TemporaryFolder dir;
    const std::string at = dir.Path() + "/", sampler = Example("sampler.raw"), newmove = Example("newmove.raw");
    const std::string trailing = TestData("trailing.raw") + ": warning: 3 bytes after the last move (ignored when read, dropped when saved)";
    const std::string truncated = TestData("truncated.raw") + ": error: truncated: move 0 announces 1 key frame, 21 bytes remain\n";
    const std::string marks = TestData("odd_marks.raw") + ": warning: ", allBytes = AllBytesRoutine(),
                      noFrames = TestData("no_frames.raw");
    dir.Write("caf\xe9.raw", FileBytes(sampler));
    dir.Write("x.raw", "old contents");
    const json good = json::parse(RunHoofer({"export", sampler}).out);
    const std::vector<std::string> import = {"import", "-", "-o", at + "x.raw"};
    const auto bad = [&](const std::string &path, const std::string &value, const std::string &message) {
        const std::string patch = std::string(R"([{"op": ")") + (value.empty() ? "remove" : "add") + R"(", "path": ")" + path
                                  + "\"" + (value.empty() ? "" : R"(, "value": )" + value) + "}]";
        return HooferRun{import, 1, "", "~-: error: " + message, good.patch(json::parse(patch)).dump(2)};
    };
    ExpectRuns({
        {{}, 2, "*", "~Usage: hoofer"},
        {{"--help"}, 0, "~Usage: hoofer", ""},
        {{"--version"}, 0, "~hoofer 6.", ""},
        {{"help", "dance"}, 2, "", "hoofer: 'dance' is not a hoofer command; see 'hoofer --help'\n"},
        {{"\x1b]0;x\x07"}, 2, "", "~hoofer: '\\x1B]0;x\\x07' is not a hoofer command"},
        {{"info"}, 2, "", "~FILE is required"},
        {{"info", sampler}, 0,
         "~  3  Bow                    5        35        2.80 s\n4 moves, 708 bytes, 0 bytes after the last move\n", ""},
        {{"info", TestData("truncated.raw")}, 1, "", truncated},
        {{"info", TestData("trailing.raw")}, 0, "~\n1 move, 45 bytes, 3 bytes after the last move\n", ""},
        {{"info", "-"}, 0, "~-:\n  #  name          key frames  pictures  playing time\n  0  NewMove  ", "", FileBytes(newmove)},
        // Merge takes whole files or the moves named after a colon, and writes nothing on a failure.
        {{"merge", sampler, "-o", at + "one.raw"}, 0, "", ""},
        {{"merge", sampler, newmove + ":0,0", "-o", at + "merged.raw"}, 0, "", ""},
        {{"info", at + "merged.raw"}, 0, "~  5  NewMove                1         4        0.35 s\n6 moves, 788 bytes,", ""},
        {{"merge", sampler, newmove + ":7", "-o", at + "none.raw"}, 1, "",
         newmove + ": error: there is no move 7; the routine has moves 0..0\n"},
        {{"merge", "-o", at + "none.raw"}, 2, "", "~FILE is required"},
        {{"check", TestData("empty.raw")}, 1, "", TestData("empty.raw") + ": error: the file is empty\n"},
        {{"check", TestData("trailing.raw"), TestData("odd_marks.raw")}, 0, "", trailing + "\n" + marks
             + "the format byte is 101 (0x65), not 100\n" + marks
             + "move 0 (\"NewMove\"): byte 12 of the name is 0x00, not 0x0D (CR)\n"},
        {{"check", "--strict", TestData("trailing.raw")}, 1, "", trailing + "\n"},
        {{"check", "--strict", "-q", sampler}, 0, "", ""},
        {{"check", TestData("truncated.raw"), TestData("no_such_file.raw"), newmove, TestData("no_frames.raw")}, 1,
         newmove + ": ok\n", truncated + TestData("no_such_file.raw") + ": error: cannot read: No such file or "
             "directory\n" + TestData("no_frames.raw") + ": warning: move 0 (\"Empty\") has no key frames and cannot be played\n"},
        // Names from outside are bytes, and shown escaped.
        {{"check", at + "caf\xe9.raw"}, 0, at + "caf\\xE9.raw: ok\n", ""},
        {{"export", at + "caf\xe9.raw", "-o", at + "out\xe9.json"}, 0, "", ""},
        {{"import", at + "out\xe9.json", "-o", at + "back\xe9.raw"}, 0, "", ""},
        {{"export", TestData("trailing.raw"), "-o", at + "t.json"}, 0, "", trailing + " (not kept in the export)\n"},
        {{"import", "-", "-o", "-"}, 0, allBytes, "", RunHoofer({"export", "-"}, allBytes).out},  // pipes both ways
        {{"import", "-", "-o", "-"}, 0, FileBytes(noFrames), "", RunHoofer({"export", "-"}, FileBytes(noFrames)).out},
        // One key frame a line, the numbers aligned.
        {{"export", Example("newmove.raw")}, 0,
         "~{\n  \"format\": \"hoofer routine\",\n  \"version\": 1,\n  \"moves\": [\n    {\n      \"name\": \"NewMove     \",\n"
         "      \"frames\": [\n        {\"interpolation\":   3, \"displacement\":   -2, \"points\": [{\"x\":  64, \"y\":  96}, ", ""},
        {{"export", "-"}, 0, "~\"name\": \"\\u0018\\u0019\\u001A\\u001B\\u001C\\u001D\\u001E\\u001F !\\\"#\"", "", allBytes},
        // Import names where a value is wrong and writes nothing.
        {import, 1, "", "~-: error: moves[0]: unknown key \"\\x1B]0;x\\x07\\x9B\"",
         "{\"moves\": [{\"name\": \"\", \"frames\": [], \"\\u001b]0;x\\u0007\\u009b\": 1}]}"},
        {import, 1, "", "~-: error: version: \"\\x9B\\x85\" is not an integer", "{\"version\": \"\\u009b\\u0085\", \"moves\": []}"},
        {import, 1, "", "~-: error: parse error at line 1, column 12: syntax error", "{\"moves\": ["},
        bad("/moves/2/frames/0/points/4/x", "300", "moves[2].frames[0].points[4].x: 300 is outside 0..255"),
        bad("/moves/0/frames/0/points/0", "", "moves[0].frames[0].points: 11 points; expected 12"),
        bad("/moves/0/frames/0/displacement", "", "moves[0].frames[0]: \"displacement\" is missing"),
        bad("/moves/2/name", "\"Thirteen char\"", "moves[2].name: \"Thirteen char\" has 13 characters; a name holds at most 12"),
        bad("/moves/2/name", "\"Spin \u0100\"", "moves[2].name: \"Spin \u0100\" holds U+0100, which is not a single byte "
                                               "(names hold U+0000..U+00FF)"),
        bad("/moves", "[]", "moves: 0 moves; expected 1..256"),
    });
    EXPECT_EQ(dir.Read("back\xe9.raw"), FileBytes(sampler));
    EXPECT_EQ(dir.Read("one.raw"), FileBytes(sampler));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(at + "none.raw")));
    EXPECT_EQ(dir.Read("x.raw"), "old contents");
}

QImage Rgb(const QImage &image) { return image.convertToFormat(QImage::Format_RGB32); }

// The GIF is the export code's file of the move (tests/export), the PNGs its
// pictures scaled; a refused render writes nothing.
TEST(RenderCommand, WritesTheMovesGifAndPngsOrNothing)
{
    TemporaryFolder dir;
    const std::string sampler = Example("sampler.raw"), gif = dir.Path() + "/m.gif", none = dir.Path() + "/none.gif";
    const TMoveList moves = DecodeRoutine(FileBytes(sampler));
    struct Row { std::string move; size_t index; int scale; bool once; };
    for (const Row &row : {Row{"Kick", 1, 3, false}, Row{"spin", 2, 1, true}}) {  // the second replaces m.gif
        const std::string what = "move " + row.move, frames = dir.Path() + "/steps/of/" + row.move;
        std::vector<std::string> arguments = {"render", sampler, "--move", row.move, "-o", gif,
                                              "--scale", std::to_string(row.scale), "--frames", frames};
        if (row.once)
            arguments.push_back("--once");
        ExpectRuns({{arguments, 0, "", ""}});
        const THFMove &move = *moves[row.index];
        ASSERT_EQ(WriteMoveGif(move, dir.Path() + "/reference.gif", row.scale, !row.once), "");
        EXPECT_EQ(FileBytes(gif), dir.Read("reference.gif")) << what;
        const std::vector<StepPicture> pictures = RecordMovePass(move);
        const QDir pngs(QString::fromStdString(frames));
        ASSERT_EQ(pngs.entryList(QDir::Files).size(), static_cast<qsizetype>(pictures.size())) << what;
        for (size_t i = 0; i < pictures.size(); ++i) {
            const QImage step = Rgb(pictures[i].image.scaled(pictures[i].image.size() * row.scale));
            EXPECT_EQ(Rgb(QImage(pngs.filePath(QString::asprintf("%04zu.png", i + 1)))), step) << what << ", png " << i;
        }
    }
    ExpectRuns({
        {{"render", sampler, "-o", dir.Path() + "/w\xe9.gif", "--frames", dir.Path() + "/d\xe9"}, 0, "", ""},
        {{"render", "x.raw"}, 2, "", "~-o,--output or --frames is required"},
        {{"render", sampler, "--move", "Moonwalk", "-o", none}, 1, "", sampler + ": error: no move is named \"Moonwalk\"\n"},
        {{"render", TestData("no_frames.raw"), "--move", "Empty", "-o", none}, 1, "",
         TestData("no_frames.raw") + ": error: move 0 (\"Empty\") has no key frames: there is nothing to draw\n"},
        {{"render", sampler, "-o", dir.Path() + "/no/such.gif"}, 1, "", "~/no/such.gif: cannot write: "},
        {{"render", sampler, "--move", "spin", "--once", "-o", "-"}, 0, dir.Read("reference.gif"), ""},
        {{"render", sampler, "--frames", "-"}, 2, "", "~- is standard output, which cannot hold numbered pictures"},
    });
    EXPECT_FALSE(QFile::exists("-")) << "no file named -";
    EXPECT_EQ(std::pair(dir.Exists("w\xe9.gif"), dir.Exists("d\xe9/0001.png")), std::pair(true, true));
    EXPECT_FALSE(dir.Exists("none.gif"));
}

// Each step over the reference's frame at its time, at 25 frames a second.
TEST(RenderCommand, DrawsEveryStepOverTheReferencesFrameAtItsTime)
{
    TemporaryFolder dir;
    test::TestClip clip;
    clip.path = dir.Path() + "/clip.mp4";
    clip.height = 384;  // drawn 128 by 256 from X = 64: all twelve squares show
    clip.Write();
    const std::string sampler = Example("sampler.raw"), frames = dir.Path() + "/steps";
    ExpectRuns({{{"render", sampler, "--move", "1", "--frames", frames, "-o", dir.Path() + "/kick.gif", "--reference",
                  clip.path, "--reference-start", "1.2", "--reference-opacity", "1"}, 0, "", ""}});
    const TMoveList moves = DecodeRoutine(FileBytes(sampler));
    const THFMove &kick = *moves[1];
    const QDir pngs(QString::fromStdString(frames));
    int i = 0;
    for (int k = 1; k <= kick.FrameCount; ++k)
        for (int step = 0; step < TransitionSteps(*kick.Frames[k - 1]); ++step, ++i) {
            const QImage png(pngs.filePath(QString::asprintf("%04d.png", i + 1)));
            const int shown = test::FrameNumberShown(png.copy(64, 20, 128, 256).scaled(192, 384));
            EXPECT_EQ(shown, (1200 + StepOffsetMs(kick, k, step)) / 40) << "step " << i;
        }
    dir.Write("kick.raw", FileBytes(sampler));
    ExpectRuns({
        {{"render", dir.Path() + "/kick.raw", "-o", dir.Path() + "/x.gif", "--reference", "auto"}, 1, "",
         "~kick.raw.reference.json: error: "},
        {{"render", sampler, "-o", dir.Path() + "/x.gif", "--reference", dir.Path() + "/none.mp4"}, 1, "",
         "~none.mp4: error: Cannot read the video"},
    });
    dir.Write("kick.raw.reference.json", R"({"format": "hooferedit-reference", "moves": [{"move": 0, "name": "Wave",)"
                                         R"( "file": "clip.mp4"}]})");
    ExpectRuns({{{"render", dir.Path() + "/kick.raw", "-o", dir.Path() + "/x.gif", "--reference", "auto"}, 0, "", ""},
                {{"render", dir.Path() + "/kick.raw", "-m", "1", "-o", "-", "--reference", "auto"}, 1, "",
                 "~the move has no reference"}});
}

// Upload tells each step; download writes only a whole routine.
TEST(TransferCommands, UploadDownloadAndRebootReachThePlayer)
{
    TemporaryFolder folder, scratch;
    ServerProcess player{{HOOFER_SOURCE_DIR "/tools/player-sim", "--root", folder.Path(), "--port", "0", "--time-limit", "60"}};
    ASSERT_NE(player.Port(), 0) << "tools/player-sim did not start";
    const std::string host = player.Address(), sampler = FileBytes(Example("sampler.raw")), got = scratch.Path() + "/got\xe9.raw";
    scratch.Write("caf\xe9.raw", sampler);
    ExpectRuns({{{"upload", scratch.Path() + "/caf\xe9.raw", "--host", host, "--slot", "stonkdance"}, 0, "",
                 "~\nMounting discs RO\nDisconnecting\nUpload complete\n"}});
    EXPECT_EQ(folder.Read("stonkdance.raw"), sampler);
    EXPECT_THAT(player.Commands(), ElementsAre("user Anonymous", std::string("pass ") + kDefaultFtpPassword, "type I",
                                               "syst", "CWD /empeg/lib/visuals/", "SITE RW", "PORT",
                                               "STOR stonkdance.raw", "SITE RO"));
    const std::vector<std::string> download = {"download", "--host", host, "--slot", "STONKDANCE", "-o", got};
    ExpectRuns({{download, 0, "", "~\nDisconnecting\nReceived 708 bytes\nDownload complete\n"}});
    EXPECT_EQ(FileBytes(got), sampler);
    // A slot that holds no routine, or nothing at all, leaves the file alone.
    folder.Write("stonkdance.raw", sampler.substr(0, 705));
    ExpectRuns({{download, 1, "", "~\nDisconnecting\nReceived 705 bytes\n" + host + ": error: stonkdance.raw from the player is"}});
    folder.Write("stonkdance.raw", "");
    ExpectRuns({{download, 1, "", "~" + host + ": error: stonkdance.raw on the player is empty; nothing written\n"},
                {{"reboot", "--host", host}, 0, "", "*"}});
    EXPECT_EQ(FileBytes(got), sampler);
    EXPECT_TRUE(player.WaitForLine("would reboot now"));
    EXPECT_EQ(player.Commands().back(), "SITE REBOOT");
}

// Failures exit with 1 and usage errors with 2. What the player sends is made
// harmless; -v shows the dialogue as it happens with the password masked;
// --timeout bounds every wait for the player.
TEST(TransferErrors, FailuresExitWithOneUsageErrorsWithTwoAndRepliesAreShownHarmless)
{
    TemporaryFolder folder;  // discs that will not remount refuse the routine
    ServerProcess stuck{{HOOFER_SOURCE_DIR "/tools/player-sim", "--root", folder.Path(), "--port", "0", "--time-limit", "60",
                         "--stuck-read-only", "--user", "dancer", "--password", "s3cret"}};
    ASSERT_NE(stuck.Port(), 0);
    test::ScriptedPeer denied([](test::PeerSession &s) {
        s.Reply("220 \x1b]0;owned\x07 hi\roops");
        s.Answer("530 \x1b[2J\x9b denied");
        s.WaitForClose();
    });
    const std::string host = stuck.Address(), gone = test::LoopbackSocket(-1).Address(), raw = Example("newmove.raw");
    ExpectRuns({
        {{"reboot", "--host", denied.Address()}, 1, "", denied.Address() + ": error: 530 \\x1B[2J\\x9B denied\n"},
        {{"upload", raw, "--host", host, "--slot", "breakdance"}, 1, "", "~\n" + host + ": error: 550 Read-only file "
                                                                         "system: send SITE RW first.\n"},
        {{"upload", raw, "--host", host, "--slot", "breakdance", "--user", "dancer", "--password", "wrong"}, 1, "",
         "~\n" + host + ": error: 530 "},
        {{"reboot", "--host", gone}, 1, "", gone + ": error: Socket Error # 10061 Connection refused.\n"},
        {{"upload", raw, "--host", host, "--slot", "moonwalk"}, 2, "",
         "~--slot: 'moonwalk' is not a slot; the slots are breakdance, princedance and stonkdance"},
        {{"reboot", "--host", ""}, 2, "", "~--host: The player's network name is empty."},
    });
    EXPECT_FALSE(folder.Exists("breakdance.raw"));
    EXPECT_EQ(stuck.Commands().size(), 10u);  // only the two uploads reached the player
    test::ScriptedPeer peer([](test::PeerSession &s) {
        s.Reply("220 \x1b]0;owned\x07ready\rX");
        for (const char *reply : {"331 Password please", "230 in", "200 ok", "215 UNIX"})
            s.Answer(reply);
        s.ReadLine();
        s.Send("200-rebooting\r\n");  // and never the rest of the reply
        s.WaitForClose(5000);
    });
    const auto start = std::chrono::steady_clock::now();
    ExpectRuns({{{"reboot", "--host", peer.Address(), "-v", "--timeout", "1", "--password", "s3cret"}, 1, "",
                 "< 220 \\x1B]0;owned\\x07ready\\x0DX\n> user Anonymous\n< 331 Password please\n> pass ****\n< 230 in\n"
                 "> type I\n< 200 ok\n> syst\n< 215 UNIX\n> SITE REBOOT\n< 200-rebooting\n" + peer.Address()
                 + ": error: Read Timeout: no whole reply from " + peer.Address() + " within 1 s.\n"}});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
}

} // namespace
} // namespace hoofer::testing
