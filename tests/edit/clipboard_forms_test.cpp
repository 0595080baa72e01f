// What the editor puts on the desktop clipboard and reads back: its own bytes
// and the JSON text of key frames and moves, text from elsewhere checked as
// `hoofer import` checks a file, other text left alone.
#include "edit/clipboard_forms.h"
#include "model/routine_codec.h"
#include "test_routine.h"

#include <gtest/gtest.h>

using namespace hoofer;
using namespace std::string_literals;

namespace {

std::string SnapshotsOf(const THFMove &move)
{
    std::string out;
    for (const auto &frame : move.Frames)
        AppendFrameSnapshot(out, *frame);
    return out;
}

} // namespace

TEST(ClipboardForms, KeyFramesAndMovesComeBackTheSameFromTheEditorsBytesAndFromTheirText)
{
    TMoveList moves = test::TestMoves(1, 3);
    moves[0]->Frames[1]->Displacement = 128;  // a snapshot keeps one signed byte
    const std::string snapshots = SnapshotsOf(*moves[0]);
    const ClipboardForms forms = KeyFramesForms("Twirl", snapshots);
    EXPECT_EQ(forms.data, snapshots);
    EXPECT_NE(forms.text.find("\"name\": \"Twirl       \""), std::string::npos) << forms.text;
    EXPECT_NE(forms.text.find("\"displacement\": -128"), std::string::npos) << "the text holds what the bytes hold";
    EXPECT_EQ(ReadKeyFrames({forms.data, {}, forms.text}).snapshots, snapshots);
    EXPECT_EQ(ReadKeyFrames({{}, {}, forms.text}).snapshots, snapshots) << "from a text editor";
    EXPECT_TRUE(OffersContent({{}, {}, forms.text}));
    // A move, name and key frames, from its bytes and its text; its key frames serve as key frames.
    const ClipboardForms move = MoveForms(*moves[0]);
    for (const ClipboardOffer &offer : {ClipboardOffer{{}, move.data, {}}, ClipboardOffer{{}, {}, move.text}}) {
        MovesRead read = ReadMoves(offer);
        ASSERT_EQ(read.moves.size(), 1u) << read.error;
        EXPECT_EQ(std::pair(TrimName(read.moves[0]->MoveName), SnapshotsOf(*read.moves[0])), std::pair("Move0"s, snapshots));
        EXPECT_EQ(ReadKeyFrames(offer).snapshots, snapshots);
    }
}

TEST(ClipboardForms, TextIsReadAsARoutineAListOfKeyFramesOrOneLineOfTheText)
{
    const std::string text = KeyFramesForms("a", FrameSnapshot(THFFrame{})).text;  // one key frame a line
    const size_t at = text.find("{\"interpolation"), end = text.find("]}", at) + 2;
    const std::string frame = text.substr(at, end - at);
    const std::pair<std::string, size_t> rows[] = {
        {frame, 1},
        {"        " + frame + ",\n", 1},
        {"[" + frame + ", " + frame + "]", 2},
        {R"({"moves": [{"name": "a", "frames": [)" + frame + "]}, {\"name\": \"b\", \"frames\": [" + frame + "]}]}", 2},
    };
    for (const auto &[text, count] : rows) {
        const KeyFramesRead read = ReadKeyFrames({{}, {}, text});
        EXPECT_EQ(read.error, "") << text;
        EXPECT_EQ(read.snapshots.size(), count * kFrameRecordSize) << text;
    }
}

TEST(ClipboardForms, BadTextIsRefusedWithItsPlaceAndOtherTextIsNoneOfOurs)
{
    const std::pair<std::string, std::string> refused[] = {
        {R"([{"interpolation": 1, "displacement": 0, "points": []}])", "frames[0].points: 0 points; expected 12"},
        {R"({"interpolation": 300})", "top level: \"displacement\" is missing"},
        {"[]", "top level: 0 key frames; expected 1..255"},
        {"{\"moves\": [{\"name\": \"a\", \"frames\": []}]}", "top level: no key frames"},
        {"[1, 2", "syntax error while parsing"},
    };
    for (const auto &[text, message] : refused) {
        const KeyFramesRead read = ReadKeyFrames({{}, {}, text});
        EXPECT_TRUE(read.snapshots.empty()) << text;
        EXPECT_NE(read.error.find(message), std::string::npos) << read.error;
    }
    for (const char *text : {"", "https://example.org/dance", "  hello {"}) {
        const KeyFramesRead read = ReadKeyFrames({{}, {}, text});
        EXPECT_EQ(read.error + read.snapshots, "") << text;
        EXPECT_FALSE(OffersContent({{}, {}, text})) << text;
    }
    EXPECT_EQ(ReadKeyFrames({std::string(25, 'x'), {}, {}}).snapshots, "") << "no whole snapshot";
    EXPECT_TRUE(ReadMoves({{}, std::string("not a routine"), {}}).moves.empty());
}
