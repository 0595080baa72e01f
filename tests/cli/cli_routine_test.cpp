// info, check, export and import through the real executable.

#include "hoofer_process.h"

#include "cli/latin1.h"
#include "model/routine_codec.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace hoofer::testing {
namespace {

using ::testing::HasSubstr;

std::string Data(const char *name)
{
    return TestData(name).toStdString();
}

struct Expected {
    QStringList arguments;
    int exitCode;
    std::string out;
    std::string err;
};

void ExpectRuns(const std::vector<Expected> &rows, const QByteArray &input = {})
{
    for (const Expected &row : rows) {
        const std::string what = row.arguments.join(' ').toStdString();
        const HooferRun run = RunHoofer(row.arguments, input);
        EXPECT_EQ(run.exitCode, row.exitCode) << what;
        EXPECT_EQ(run.Out(), row.out) << what;
        EXPECT_EQ(run.Err(), row.err) << what;
    }
}

TEST(InfoCommand, ListsMovesWithPicturesAndPlayingTimeOrRefusesATruncatedFile)
{
    // One pass: 1 + the sum of (interpolation + 1) pictures; 70 ms a step and
    // 70 ms more after every transition.
    const std::string sampler = Example("sampler.raw").toStdString();
    ExpectRuns({{{"info", Example("sampler.raw")}, 0,
                 sampler + ":\n  #  name          key frames  pictures   duration\n"
                           "  0  Wave                   6        28    2310 ms\n"
                           "  1  Kick                   5        19    1610 ms\n"
                           "  2  Spin                   9        27    2450 ms\n"
                           "  3  Bow                    5        36    2800 ms\n"
                           "4 moves, 708 bytes, 0 bytes after the last move\n",
                 ""},
                {{"info", TestData("cli/truncated.raw")}, 1, "",
                 Data("cli/truncated.raw") + ": error: truncated: move 0 announces 1 key frame, 21 bytes remain\n"}});
    EXPECT_THAT(RunHoofer({"info", TestData("cli/trailing.raw")}).Out(),
                HasSubstr("\n1 move, 45 bytes, 3 bytes after the last move\n"));
    EXPECT_THAT(RunHoofer({"info", "-"}, ReadBytes(Example("newmove.raw"))).Out(),
                HasSubstr("-:\n  #  name          key frames  pictures   duration\n  0  NewMove  "));
}

TEST(CheckCommand, ErrorsFailWarningsOnlyWhenStrictAndEveryFileIsChecked)
{
    const std::string newmove = Example("newmove.raw").toStdString(), sampler = Example("sampler.raw").toStdString();
    const std::string trailing = Data("cli/trailing.raw") + ": warning: 3 bytes after the last move (ignored "
                                                             "when read, dropped when saved)\n";
    const std::string truncated = Data("cli/truncated.raw") + ": error: truncated: move 0 announces 1 key "
                                                               "frame, 21 bytes remain\n";
    ExpectRuns({
        {{"check", Example("newmove.raw"), Example("sampler.raw"), TestData("cli/all_bytes.raw")}, 0,
         newmove + ": ok\n" + sampler + ": ok\n" + Data("cli/all_bytes.raw") + ": ok\n", ""},
        {{"check", TestData("cli/header_only.raw")}, 1, "",
         Data("cli/header_only.raw") + ": error: truncated: move 0 of 1 needs a 14-byte name and count, 7 bytes "
                                       "remain\n"},
        {{"check", TestData("cli/empty.raw")}, 1, "", Data("cli/empty.raw") + ": error: the file is empty\n"},
        {{"check", TestData("cli/trailing.raw"), TestData("cli/odd_marks.raw")}, 0, "",
         trailing + Data("cli/odd_marks.raw") + ": warning: the format byte is 101 (0x65), not 100\n"
             + Data("cli/odd_marks.raw") + ": warning: move 0 (\"NewMove\"): byte 12 of the name is 0x00, not 0x0D (CR)\n"},
        {{"check", "--strict", TestData("cli/trailing.raw")}, 1, "", trailing},
        {{"check", "--strict", "-q", Example("sampler.raw")}, 0, "", ""},
        {{"check", TestData("cli/truncated.raw"), TestData("cli/no_such_file.raw"), Example("newmove.raw"),
          TestData("cli/no_frames.raw")},
         1, newmove + ": ok\n",
         truncated + Data("cli/no_such_file.raw") + ": error: cannot read: No such file or directory\n"
             + Data("cli/no_frames.raw") + ": warning: move 0 (\"Empty\") has no key frames and cannot be played\n"},
    });
}

class JsonForm : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Temp(const char *name) const { return dir.filePath(name); }
};

TEST_F(JsonForm, RawToJsonToRawIsByteIdenticalThroughFilesAndPipes)
{
    for (const QString &path : {Example("newmove.raw"), Example("sampler.raw"), TestData("cli/all_bytes.raw"),
                               TestData("cli/no_frames.raw")}) {
        const std::string what = path.toStdString();
        const HooferRun exported = RunHoofer({"export", path, "-o", Temp("routine.json")});
        ASSERT_EQ(exported.exitCode, 0) << what << exported.Err();
        EXPECT_EQ(exported.Err(), "") << what;
        ASSERT_EQ(RunHoofer({"import", Temp("routine.json"), "-o", Temp("again.raw")}).exitCode, 0) << what;
        EXPECT_EQ(ReadBytes(Temp("again.raw")), ReadBytes(path)) << what;
        const HooferRun piped = RunHoofer({"import", "-", "-o", "-"}, RunHoofer({"export", "-"}, ReadBytes(path)).out);
        EXPECT_EQ(piped.out, ReadBytes(path)) << what << piped.Err();
    }
}

TEST_F(JsonForm, OneKeyFramePerLineAndNamesAsTheirTwelveBytes)
{
    EXPECT_EQ(RunHoofer({"export", Example("newmove.raw")}).Out(),
              "{\n  \"format\": \"hoofer routine\",\n  \"version\": 1,\n  \"moves\": [\n    {\n"
              "      \"name\": \"NewMove     \",\n      \"frames\": [\n"
              "        {\"interpolation\":   3, \"displacement\":   -2, \"points\": [{\"x\":  64, \"y\":  96}, "
              "{\"x\":  48, \"y\":  84}, {\"x\":  40, \"y\":  64}, {\"x\":  80, \"y\":  84}, {\"x\":  88, \"y\":  64}, "
              "{\"x\":  64, \"y\":  56}, {\"x\":  52, \"y\":  40}, {\"x\":  48, \"y\":  12}, {\"x\":  40, \"y\":   8}, "
              "{\"x\":  76, \"y\":  40}, {\"x\":  80, \"y\":  12}, {\"x\":  88, \"y\":   8}]}\n"
              "      ]\n    }\n  ]\n}\n");
    const QString path = TestData("cli/all_bytes.raw");
    const TMoveList moves = DecodeRoutine(ReadBytes(path).toStdString());
    const nlohmann::json document = nlohmann::json::parse(RunHoofer({"export", path}).Out());
    ASSERT_EQ(document["moves"].size(), moves.size());
    long offending = 0;
    for (size_t m = 0; m < moves.size(); ++m)
        EXPECT_EQ(Utf8ToLatin1(document["moves"][m]["name"], offending), moves[m]->MoveName.substr(0, 12)) << m;
}

TEST_F(JsonForm, ExportWarnsAboutBytesASaveWouldDrop)
{
    const QString path = TestData("cli/trailing.raw");
    const HooferRun run = RunHoofer({"export", path, "-o", Temp("t.json")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.Err(), path.toStdString() + ": warning: 3 bytes after the last move (ignored when read, "
                                              "dropped when saved) (not kept in the export)\n");
    ASSERT_EQ(RunHoofer({"import", Temp("t.json"), "-o", Temp("t.raw")}).exitCode, 0);
    EXPECT_EQ(ReadBytes(Temp("t.raw")), ReadBytes(path).left(42));  // the file the editor would save
}

TEST_F(JsonForm, ImportRefusesBadValuesNamingWhereTheyAreAndWritesNothing)
{
    const nlohmann::json good = nlohmann::json::parse(RunHoofer({"export", Example("sampler.raw")}).Out());
    const std::pair<std::function<void(nlohmann::json &)>, std::string> rows[] = {
        {[](auto &j) { j["moves"][2]["frames"][0]["points"][4]["x"] = 300; },
         "moves[2].frames[0].points[4].x: 300 is outside 0..255"},
        {[](auto &j) { j["moves"][1]["frames"][0]["displacement"] = 128; },
         "moves[1].frames[0].displacement: 128 is outside -128..127"},
        {[](auto &j) { j["moves"][3]["frames"][0]["interpolation"] = 2.5; },
         "moves[3].frames[0].interpolation: 2.5 is not an integer"},
        {[](auto &j) { j["moves"][0]["frames"][0]["points"].erase(0); },
         "moves[0].frames[0].points: 11 points; expected 12"},
        {[](auto &j) { j["moves"][0]["frames"][0].erase("displacement"); },
         "moves[0].frames[0]: \"displacement\" is missing"},
        {[](auto &j) { j["moves"][0]["frames"][0]["speed"] = 1; }, "moves[0].frames[0]: unknown key \"speed\""},
        {[](auto &j) { j["moves"][2]["name"] = "Thirteen char"; },
         "moves[2].name: \"Thirteen char\" has 13 characters; a name holds at most 12"},
        {[](auto &j) { j["moves"][2]["name"] = "Spin \u0100"; },
         "moves[2].name: \"Spin \u0100\" holds U+0100, which is not a single byte (names hold U+0000..U+00FF)"},
        {[](auto &j) { j["moves"] = nlohmann::json::array(); }, "moves: 0 moves; expected 1..256"},
        {[](auto &j) { j["version"] = 2; }, "version: 2 is outside 1..1"},
        {[](auto &j) { j = "{\"moves\": ["; }, "parse error at line 1, column 12: syntax error"},  // written as it is
    };
    for (const auto &[change, message] : rows) {
        nlohmann::json changed = good;
        change(changed);
        WriteBytes(Temp("bad.json"), QByteArray::fromStdString(changed.is_string() ? changed.get<std::string>()
                                                                                    : changed.dump(2)));
        WriteBytes(Temp("kept.raw"), "old contents");
        const HooferRun run = RunHoofer({"import", Temp("bad.json"), "-o", Temp("kept.raw")});
        EXPECT_EQ(run.exitCode, 1) << message;
        EXPECT_THAT(run.Err(), HasSubstr(Temp("bad.json").toStdString() + ": error: " + message)) << message;
        EXPECT_EQ(ReadBytes(Temp("kept.raw")), "old contents") << message;
    }
}

TEST_F(JsonForm, ImportPadsShortNamesAsTheEditorSaves)
{
    std::string points;
    for (int p = 0; p < 12; ++p)
        points += (p ? ", {\"x\": " : "{\"x\": ") + std::to_string(2 * p + 1) + ", \"y\": " + std::to_string(2 * p + 2) + "}";
    WriteBytes(Temp("short.json"), QByteArray::fromStdString(R"({"moves": [{"name": "Hop", "frames": [)"
                                                             R"({"interpolation": 1, "displacement": -3, "points": [)"
                                                             + points + "]}]}]}"));
    ASSERT_EQ(RunHoofer({"import", Temp("short.json"), "-o", Temp("hop.raw")}).exitCode, 0);
    QByteArray expected("\x64\x00Hop         \x0d\x01", 16);
    for (char v = 1; v <= 24; ++v)
        expected += v;
    EXPECT_EQ(ReadBytes(Temp("hop.raw")), expected + "\x01\xfd");
}

} // namespace
} // namespace hoofer::testing
