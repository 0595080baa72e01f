// info, check, export and import through the real executable.

#include "hoofer_process.h"

#include "model/routine_codec.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace hoofer::testing {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

TMoveList Decode(const QString &path)
{
    const QByteArray bytes = ReadBytes(path);
    return DecodeRoutine(bytes.toStdString());
}

// ---------------------------------------------------------------- info

class InfoCommand : public ::testing::Test {};

TEST_F(InfoCommand, ListsEveryMoveWithItsPicturesAndPlayingTime)
{
    for (const QString &name : {QStringLiteral("sampler.raw"), QStringLiteral("newmove.raw")}) {
        SCOPED_TRACE(name.toStdString());
        const HooferRun run = RunHoofer({"info", Example(name)});
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0) << run.Err();
        EXPECT_THAT(run.Err(), IsEmpty());

        const TMoveList moves = Decode(Example(name));
        const std::vector<std::string> lines = Lines(run.Out());
        // The file name, the heading, a line per move, the summary.
        ASSERT_EQ(lines.size(), moves.size() + 3) << run.Out();
        for (size_t i = 0; i < moves.size(); ++i) {
            // One pass: the opening key-frame drawing, interpolation + 1 steps
            // into every key frame; 70 ms a step and 70 ms after every transition.
            int pictures = 1;
            int ms = 0;
            for (const auto &frame : moves[i]->Frames) {
                pictures += frame->Interpolation + 1;
                ms += (frame->Interpolation + 2) * 70;
            }
            std::istringstream line(lines[i + 2]);
            size_t index = 0;
            std::string moveName, unit;
            size_t frames = 0;
            int shownPictures = 0, shownMs = 0;
            line >> index >> moveName >> frames >> shownPictures >> shownMs >> unit;
            EXPECT_EQ(index, i);
            EXPECT_EQ(moveName, TrimName(moves[i]->MoveName));
            EXPECT_EQ(frames, moves[i]->Frames.size());
            EXPECT_EQ(shownPictures, pictures);
            EXPECT_EQ(shownMs, ms);
            EXPECT_EQ(unit, "ms");
        }
        const std::string size = std::to_string(ReadBytes(Example(name)).size()) + " bytes";
        EXPECT_THAT(lines.back(), AllOf(HasSubstr(size), HasSubstr("0 bytes after the last move")));
    }
}

TEST_F(InfoCommand, SamplerHasItsFourMoves)
{
    const HooferRun run = RunHoofer({"info", Example("sampler.raw")});
    const std::vector<std::string> lines = Lines(run.Out());
    ASSERT_EQ(lines.size(), 7u) << run.Out();
    EXPECT_THAT(lines[2], HasSubstr("Wave"));
    EXPECT_THAT(lines[3], HasSubstr("Kick"));
    EXPECT_THAT(lines[4], HasSubstr("Spin"));
    EXPECT_THAT(lines[5], HasSubstr("Bow"));
    EXPECT_THAT(lines[6], StartsWith("4 moves, "));
}

TEST_F(InfoCommand, CountsTheBytesAfterTheLastMove)
{
    const HooferRun run = RunHoofer({"info", TestData("cli/trailing.raw")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.Out(), HasSubstr("1 move, 45 bytes, 3 bytes after the last move"));
}

TEST_F(InfoCommand, ReadsStandardInput)
{
    const HooferRun run = RunHoofer({"info", "-"}, ReadBytes(Example("newmove.raw")));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.Out(), HasSubstr("NewMove"));
}

TEST_F(InfoCommand, RefusesATruncatedFile)
{
    const QString path = TestData("cli/truncated.raw");
    const HooferRun run = RunHoofer({"info", path});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.Out(), IsEmpty());
    EXPECT_EQ(run.Err(), path.toStdString()
                             + ": error: truncated: move 0 announces 1 key frame, 21 bytes remain\n");
}

// ---------------------------------------------------------------- check

class CheckCommand : public ::testing::Test {};

TEST_F(CheckCommand, SoundFilesPassSilentlyOnStandardError)
{
    const HooferRun run = RunHoofer({"check", Example("newmove.raw"), Example("sampler.raw"),
                                     TestData("cli/all_bytes.raw")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.Err(), IsEmpty());
    EXPECT_EQ(Lines(run.Out()).size(), 3u);
    EXPECT_THAT(run.Out(), HasSubstr(Example("sampler.raw").toStdString() + ": ok\n"));
}

TEST_F(CheckCommand, TruncatedFilesAreErrorsNamingTheMoveAndWhatIsMissing)
{
    struct Case {
        const char *file;
        const char *message;
    };
    for (const Case c : {Case{"cli/truncated.raw", "truncated: move 0 announces 1 key frame, 21 bytes remain"},
                         Case{"cli/header_only.raw",
                              "truncated: move 0 of 1 needs a 14-byte name and count, 7 bytes remain"},
                         Case{"cli/empty.raw", "the file is empty"}}) {
        SCOPED_TRACE(c.file);
        const QString path = TestData(c.file);
        const HooferRun run = RunHoofer({"check", path});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.Err(), path.toStdString() + ": error: " + c.message + "\n");
        EXPECT_THAT(run.Out(), IsEmpty());
    }
}

TEST_F(CheckCommand, OddMarksAndTrailingBytesAreWarningsOnly)
{
    const QString trailing = TestData("cli/trailing.raw");
    const QString odd = TestData("cli/odd_marks.raw");
    const HooferRun run = RunHoofer({"check", trailing, odd});
    EXPECT_EQ(run.exitCode, 0);
    const std::vector<std::string> lines = Lines(run.Err());
    ASSERT_EQ(lines.size(), 3u) << run.Err();
    EXPECT_EQ(lines[0], trailing.toStdString()
                            + ": warning: 3 bytes after the last move (ignored when read, dropped when saved)");
    EXPECT_EQ(lines[1], odd.toStdString() + ": warning: the format byte is 101 (0x65), not 100");
    EXPECT_EQ(lines[2], odd.toStdString()
                            + ": warning: move 0 (\"NewMove\"): byte 12 of the name is 0x00, not 0x0D (CR)");
}

TEST_F(CheckCommand, StrictCountsWarningsAsFailures)
{
    EXPECT_EQ(RunHoofer({"check", "--strict", TestData("cli/trailing.raw")}).exitCode, 1);
    EXPECT_EQ(RunHoofer({"check", "--strict", Example("sampler.raw")}).exitCode, 0);
}

TEST_F(CheckCommand, OneBadFileFailsTheRunButEveryFileIsChecked)
{
    const QString bad = TestData("cli/truncated.raw");
    const QString missing = TestData("cli/no_such_file.raw");
    const HooferRun run = RunHoofer({"check", bad, missing, Example("newmove.raw"), TestData("cli/no_frames.raw")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.Err(), HasSubstr(bad.toStdString() + ": error: truncated"));
    EXPECT_THAT(run.Err(), HasSubstr(missing.toStdString() + ": error: cannot read"));
    EXPECT_THAT(run.Err(), HasSubstr(": warning: move 0 (\"Empty\") has no key frames"));
    EXPECT_EQ(run.Out(), Example("newmove.raw").toStdString() + ": ok\n");
}

// ------------------------------------------------------- export and import

class JsonForm : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Temp(const QString &name) const { return dir.filePath(name); }
};

TEST_F(JsonForm, RawToJsonToRawIsByteIdentical)
{
    ASSERT_TRUE(dir.isValid());
    for (const QString &path : {Example("newmove.raw"), Example("sampler.raw"), TestData("cli/all_bytes.raw"),
                               TestData("cli/no_frames.raw")}) {
        SCOPED_TRACE(path.toStdString());
        const HooferRun exported = RunHoofer({"export", path, "-o", Temp("routine.json")});
        ASSERT_EQ(exported.exitCode, 0) << exported.Err();
        EXPECT_THAT(exported.Err(), IsEmpty());
        const HooferRun imported = RunHoofer({"import", Temp("routine.json"), "-o", Temp("again.raw")});
        ASSERT_EQ(imported.exitCode, 0) << imported.Err();
        EXPECT_EQ(ReadBytes(Temp("again.raw")), ReadBytes(path));
    }
}

TEST_F(JsonForm, PipesThroughStandardStreams)
{
    const QByteArray raw = ReadBytes(TestData("cli/all_bytes.raw"));
    const HooferRun exported = RunHoofer({"export", "-"}, raw);
    ASSERT_EQ(exported.exitCode, 0) << exported.Err();
    const HooferRun imported = RunHoofer({"import", "-", "-o", "-"}, exported.out);
    ASSERT_EQ(imported.exitCode, 0) << imported.Err();
    EXPECT_EQ(imported.out, raw);
}

TEST_F(JsonForm, HoldsEveryNameByteEveryPointAndOneKeyFramePerLine)
{
    const QString path = TestData("cli/all_bytes.raw");
    const HooferRun run = RunHoofer({"export", path});
    ASSERT_EQ(run.exitCode, 0);
    const TMoveList moves = Decode(path);
    const nlohmann::json document = nlohmann::json::parse(run.Out());
    ASSERT_EQ(document["moves"].size(), moves.size());
    size_t frames = 0;
    for (size_t m = 0; m < moves.size(); ++m) {
        const nlohmann::json &move = document["moves"][m];
        // The 12 stored bytes, each as the character of the same number.
        std::string name;
        const std::string utf8 = move["name"].get<std::string>();
        for (size_t i = 0; i < utf8.size(); ++i) {
            const auto b = static_cast<unsigned char>(utf8[i]);
            name += b < 0x80 ? char(b) : char(((b & 0x03) << 6) | (utf8[++i] & 0x3F));
        }
        EXPECT_EQ(name, moves[m]->MoveName.substr(0, 12)) << "move " << m;
        ASSERT_EQ(move["frames"].size(), moves[m]->Frames.size());
        for (size_t f = 0; f < moves[m]->Frames.size(); ++f, ++frames) {
            const THFFrame &frame = *moves[m]->Frames[f];
            const nlohmann::json &j = move["frames"][f];
            EXPECT_EQ(j["interpolation"], frame.Interpolation);
            EXPECT_EQ(j["displacement"], frame.Displacement);
            ASSERT_EQ(j["points"].size(), 12u);
            for (int p = 0; p < 12; ++p) {
                EXPECT_EQ(j["points"][p]["x"], frame.Points[p].X);
                EXPECT_EQ(j["points"][p]["y"], frame.Points[p].Y);
            }
        }
    }
    // A key frame a line: every line with an interpolation holds a whole key
    // frame, so a change to one key frame changes one line of a diff.
    size_t frameLines = 0;
    for (const std::string &line : Lines(run.Out()))
        if (line.find("\"interpolation\"") != std::string::npos) {
            ++frameLines;
            EXPECT_EQ(nlohmann::json::parse(line.substr(0, line.find_last_of('}') + 1))["points"].size(), 12u);
        }
    EXPECT_EQ(frameLines, frames);
}

TEST_F(JsonForm, ExportWarnsAboutBytesASaveWouldDrop)
{
    const QString path = TestData("cli/trailing.raw");
    const HooferRun run = RunHoofer({"export", path, "-o", Temp("t.json")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.Err(), path.toStdString()
                             + ": warning: 3 bytes after the last move (ignored when read, dropped when "
                               "saved) (not kept in the export)\n");
    // What comes back is the file the editor would save.
    ASSERT_EQ(RunHoofer({"import", Temp("t.json"), "-o", Temp("t.raw")}).exitCode, 0);
    EXPECT_EQ(ReadBytes(Temp("t.raw")), ReadBytes(path).left(42));
}

TEST_F(JsonForm, ImportRefusesBadValuesNamingWhereTheyAre)
{
    ASSERT_TRUE(dir.isValid());
    const HooferRun exported = RunHoofer({"export", Example("sampler.raw")});
    ASSERT_EQ(exported.exitCode, 0);
    const nlohmann::json good = nlohmann::json::parse(exported.Out());

    struct Case {
        std::function<void(nlohmann::json &)> change;
        std::string message;
    };
    const std::vector<Case> cases = {
        {[](auto &j) { j["moves"][2]["frames"][0]["points"][4]["x"] = 300; },
         "moves[2].frames[0].points[4].x: 300 is outside 0..255"},
        {[](auto &j) { j["moves"][0]["frames"][1]["points"][11]["y"] = -1; },
         "moves[0].frames[1].points[11].y: -1 is outside 0..255"},
        {[](auto &j) { j["moves"][1]["frames"][0]["displacement"] = 128; },
         "moves[1].frames[0].displacement: 128 is outside -128..127"},
        {[](auto &j) { j["moves"][1]["frames"][2]["interpolation"] = 256; },
         "moves[1].frames[2].interpolation: 256 is outside 0..255"},
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
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        nlohmann::json changed = good;
        c.change(changed);
        WriteBytes(Temp("bad.json"), QByteArray::fromStdString(changed.dump(2)));
        WriteBytes(Temp("kept.raw"), "old contents");
        const HooferRun run = RunHoofer({"import", Temp("bad.json"), "-o", Temp("kept.raw")});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.Err(), Temp("bad.json").toStdString() + ": error: " + c.message + "\n");
        // Nothing is written over the old file.
        EXPECT_EQ(ReadBytes(Temp("kept.raw")), "old contents");
    }
}

TEST_F(JsonForm, ImportReportsTextThatIsNotJson)
{
    WriteBytes(Temp("broken.json"), "{\"moves\": [");
    const HooferRun run = RunHoofer({"import", Temp("broken.json"), "-o", Temp("out.raw")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.Err(), AllOf(StartsWith(Temp("broken.json").toStdString() + ": error: "),
                                 HasSubstr("syntax error")));
    EXPECT_FALSE(QFile::exists(Temp("out.raw")));
}

TEST_F(JsonForm, ImportPadsShortNamesAsTheEditorSaves)
{
    WriteBytes(Temp("short.json"), R"({"moves": [{"name": "Hop", "frames": [
        {"interpolation": 1, "displacement": -3, "points": [
          {"x": 1, "y": 2}, {"x": 3, "y": 4}, {"x": 5, "y": 6}, {"x": 7, "y": 8},
          {"x": 9, "y": 10}, {"x": 11, "y": 12}, {"x": 13, "y": 14}, {"x": 15, "y": 16},
          {"x": 17, "y": 18}, {"x": 19, "y": 20}, {"x": 21, "y": 22}, {"x": 23, "y": 24}]}]}]})");
    const HooferRun run = RunHoofer({"import", Temp("short.json"), "-o", Temp("hop.raw")});
    ASSERT_EQ(run.exitCode, 0) << run.Err();
    QByteArray expected("\x64\x00Hop         \x0d\x01", 16);
    for (char v = 1; v <= 24; ++v)
        expected += v;
    expected += '\x01';
    expected += '\xfd';
    EXPECT_EQ(ReadBytes(Temp("hop.raw")), expected);
}

} // namespace
} // namespace hoofer::testing
