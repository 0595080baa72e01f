// The command line, info, check, export and import through the real executable.

#include "hoofer_process.h"

#include <nlohmann/json.hpp>

namespace hoofer::testing {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;

TEST(CommandLine, EveryCommandHasItsHelpBothWays)
{
    const HooferRun top = RunHoofer({"--help"});
    EXPECT_EQ(top.exitCode, 0);
    EXPECT_THAT(RunHoofer({"--version"}).out, HasSubstr("hoofer 6."));
    for (const auto &[command, option] : std::vector<std::pair<std::string, std::string>>{
             {"info", "FILE"}, {"check", "--strict"}, {"render", "--scale"}, {"export", "--output"},
             {"import", "--output"}, {"upload", "--slot"}, {"download", "--slot"}, {"reboot", "--host"}}) {
        EXPECT_THAT(top.out, HasSubstr("\n  " + command + " ")) << command;
        ExpectRuns({{{command, "--help"}, 0, "~Usage: hoofer " + command + " [OPTIONS]", ""},
                    {{"help", command}, 0, "~" + option, ""}});
    }
}

TEST(CommandLine, EveryCommandsReportsAndErrors)
{
    test::TemporaryFolder dir;
    const std::string at = dir.Path() + "/", sampler = Example("sampler.raw"), newmove = Example("newmove.raw");
    const std::string trailing = TestData("trailing.raw") + ": warning: 3 bytes after the last move (ignored when "
                                                            "read, dropped when saved)";
    const std::string truncated = TestData("truncated.raw") + ": error: truncated: move 0 announces 1 key frame, "
                                                              "21 bytes remain\n";
    const std::string marks = TestData("odd_marks.raw") + ": warning: ";
    const std::string notCommand = "hoofer: 'dance' is not a hoofer command; see 'hoofer --help'\n";
    std::string points;  // an x of 1, 3, 5 ..., a y of 2, 4, 6 ...
    for (int p = 0; p < 12; ++p)
        points += std::string(p ? ", " : "") + R"({"x": )" + std::to_string(2 * p + 1) + R"(, "y": )"
                  + std::to_string(2 * p + 2) + "}";
    std::string hop("\x64\x00Hop         \x0d\x01", 16);  // short names padded as the editor saves them
    for (char v = 1; v <= 24; ++v)
        hop += v;
    dir.Write("caf\xe9.raw", Bytes(sampler));
    dir.Write("x.raw", "old contents");
    const json good = json::parse(RunHoofer({"export", sampler}).out);
    const std::vector<std::string> import = {"import", "-", "-o", at + "x.raw"};
    const auto bad = [&](const std::string &path, const std::string &value, const std::string &message) {
        const std::string patch = std::string(R"([{"op": ")") + (value.empty() ? "remove" : "add") + R"(", "path": ")" + path
                                  + "\"" + (value.empty() ? "" : R"(, "value": )" + value) + "}]";
        return Expected{import, 1, "", "~-: error: " + message, good.patch(json::parse(patch)).dump(2)};
    };
    ExpectRuns({
        {{}, 2, "*", "~Usage: hoofer"},
        {{"dance"}, 2, "", notCommand},
        {{"help", "dance"}, 2, "", notCommand},
        {{"\x1b]0;x\x07"}, 2, "", "~hoofer: '\\x1B]0;x\\x07' is not a hoofer command"},
        {{"info"}, 2, "", "~FILE is required"},
        {{"import", "x.json"}, 2, "", "~--output is required"},
        {{"check", "--colour", "x.raw"}, 2, "", "~--colour"},
        {{"info", sampler}, 0,
         sampler + ":\n  #  name          key frames  pictures   duration\n"
                   "  0  Wave                   6        28    2310 ms\n"
                   "  1  Kick                   5        19    1610 ms\n"
                   "  2  Spin                   9        27    2450 ms\n"
                   "  3  Bow                    5        36    2800 ms\n"
                   "4 moves, 708 bytes, 0 bytes after the last move\n", ""},
        {{"info", TestData("truncated.raw")}, 1, "", truncated},
        {{"info", TestData("trailing.raw")}, 0, "~\n1 move, 45 bytes, 3 bytes after the last move\n", ""},
        {{"info", "-"}, 0, "~-:\n  #  name          key frames  pictures   duration\n  0  NewMove  ", "", Bytes(newmove)},
        {{"check", newmove, sampler, TestData("all_bytes.raw")}, 0,
         newmove + ": ok\n" + sampler + ": ok\n" + TestData("all_bytes.raw") + ": ok\n", ""},
        {{"check", TestData("header_only.raw")}, 1, "", TestData("header_only.raw")
             + ": error: truncated: move 0 of 1 needs a 14-byte name and count, 7 bytes remain\n"},
        {{"check", TestData("empty.raw")}, 1, "", TestData("empty.raw") + ": error: the file is empty\n"},
        {{"check", TestData("trailing.raw"), TestData("odd_marks.raw")}, 0, "", trailing + "\n" + marks
             + "the format byte is 101 (0x65), not 100\n" + marks
             + "move 0 (\"NewMove\"): byte 12 of the name is 0x00, not 0x0D (CR)\n"},
        {{"check", "--strict", TestData("trailing.raw")}, 1, "", trailing + "\n"},
        {{"check", "--strict", "-q", sampler}, 0, "", ""},
        {{"check", TestData("truncated.raw"), TestData("no_such_file.raw"), newmove, TestData("no_frames.raw")}, 1,
         newmove + ": ok\n", truncated + TestData("no_such_file.raw") + ": error: cannot read: No such file or "
             "directory\n" + TestData("no_frames.raw") + ": warning: move 0 (\"Empty\") has no key frames and cannot be played\n"},
        {{"check", "a\x1b]0;x\x07\r.raw"}, 1, "", "a\\x1B]0;x\\x07\\x0D.raw: error: cannot read: No such file or directory\n"},
        // Names from outside are bytes, and shown escaped.
        {{"check", at + "caf\xe9.raw"}, 0, at + "caf\\xE9.raw: ok\n", ""},
        {{"info", at + "caf\xe9.raw"}, 0, "~4 moves, 708 bytes", ""},
        {{"export", at + "caf\xe9.raw", "-o", at + "out\xe9.json"}, 0, "", ""},
        {{"import", at + "out\xe9.json", "-o", at + "back\xe9.raw"}, 0, "", ""},
        {{"export", TestData("trailing.raw"), "-o", at + "t.json"}, 0, "", trailing + " (not kept in the export)\n"},
        {{"import", at + "t.json", "-o", at + "t.raw"}, 0, "", ""},
        {{"import", "-", "-o", "-"}, 0, hop + "\x01\xfd", "", R"({"moves": [{"name": "Hop", "frames": [)"
             R"({"interpolation": 1, "displacement": -3, "points": [)" + points + "]}]}]}"},
        {{"export", Example("newmove.raw")}, 0,
         "{\n  \"format\": \"hoofer routine\",\n  \"version\": 1,\n  \"moves\": [\n    {\n      \"name\": \"NewMove     \",\n"
         "      \"frames\": [\n        {\"interpolation\":   3, \"displacement\":   -2, \"points\": [{\"x\":  64, \"y\":  96}, "
         "{\"x\":  48, \"y\":  84}, {\"x\":  40, \"y\":  64}, {\"x\":  80, \"y\":  84}, {\"x\":  88, \"y\":  64}, "
         "{\"x\":  64, \"y\":  56}, {\"x\":  52, \"y\":  40}, {\"x\":  48, \"y\":  12}, {\"x\":  40, \"y\":   8}, "
         "{\"x\":  76, \"y\":  40}, {\"x\":  80, \"y\":  12}, {\"x\":  88, \"y\":   8}]}\n      ]\n    }\n  ]\n}\n", ""},
        {{"export", TestData("all_bytes.raw")}, 0, "~\"name\": \"\\u0018\\u0019\\u001A\\u001B\\u001C\\u001D\\u001E\\u001F !\\\"#\"", ""},
        {{"export", TestData("all_bytes.raw")}, 0, "~\"name\": \"\u00fc\u00fd\u00fe\u00ff\\u0000\\u0001\\u0002\\u0003\\u0004", ""},
        // Import names where a value is wrong and writes nothing.
        {import, 1, "", "~-: error: moves[0]: unknown key \"\\x1B]0;x\\x07\\x9B\"",
         "{\"moves\": [{\"name\": \"\", \"frames\": [], \"\\u001b]0;x\\u0007\\u009b\": 1}]}"},
        {import, 1, "", "~-: error: version: \"\\x9B\\x85\" is not an integer", "{\"version\": \"\\u009b\\u0085\", \"moves\": []}"},
        {import, 1, "", "~-: error: parse error at line 1, column 12: syntax error", "{\"moves\": ["},
        bad("/moves/2/frames/0/points/4/x", "300", "moves[2].frames[0].points[4].x: 300 is outside 0..255"),
        bad("/moves/1/frames/0/displacement", "128", "moves[1].frames[0].displacement: 128 is outside -128..127"),
        bad("/moves/3/frames/0/interpolation", "2.5", "moves[3].frames[0].interpolation: 2.5 is not an integer"),
        bad("/moves/0/frames/0/points/0", "", "moves[0].frames[0].points: 11 points; expected 12"),
        bad("/moves/0/frames/0/displacement", "", "moves[0].frames[0]: \"displacement\" is missing"),
        bad("/moves/0/frames/0/speed", "1", "moves[0].frames[0]: unknown key \"speed\""),
        bad("/moves/2/name", "\"Thirteen char\"", "moves[2].name: \"Thirteen char\" has 13 characters; a name holds at most 12"),
        bad("/moves/2/name", "\"Spin \u0100\"", "moves[2].name: \"Spin \u0100\" holds U+0100, which is not a single byte "
                                               "(names hold U+0000..U+00FF)"),
        bad("/moves", "[]", "moves: 0 moves; expected 1..256"),
        bad("/moves/0/frames", json(json::array_t(256, 0)).dump(), "moves[0].frames: 256 key frames; expected 0..255"),
        bad("/version", "2", "version: 2 is outside 1..1"),
    });
    EXPECT_EQ(dir.Read("back\xe9.raw"), Bytes(sampler));
    EXPECT_EQ(dir.Read("t.raw"), Bytes(TestData("trailing.raw")).substr(0, 42));  // as the editor would save it
    EXPECT_EQ(dir.Read("x.raw"), "old contents");
}

TEST(JsonForm, RawToJsonToRawIsByteIdenticalThroughFilesAndPipes)
{
    test::TemporaryFolder dir;
    const std::string json = dir.Path() + "/r.json", again = dir.Path() + "/again.raw";
    for (const std::string &path : {Example("newmove.raw"), Example("sampler.raw"), TestData("all_bytes.raw"),
                                    TestData("no_frames.raw")}) {
        ExpectRuns({{{"export", path, "-o", json}, 0, "", ""}, {{"import", json, "-o", again}, 0, "", ""},
                    {{"import", "-", "-o", "-"}, 0, Bytes(path), "", RunHoofer({"export", "-"}, Bytes(path)).out}});
        EXPECT_EQ(Bytes(again), Bytes(path)) << path;
    }
}

} // namespace
} // namespace hoofer::testing
