#include "model/pose_ops.h"
#include "model/routine_codec.h"
#include "model/save_file.h"
#include "model/text_number.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace hoofer;

namespace {
TMoveList MovesOf(int moves, int framesEach)
{
    TMoveList list;
    for (int m = 0; m < moves; ++m) {
        list.push_back(std::make_unique<THFMove>());
        list.back()->MoveName = "m" + std::to_string(m);
        for (int f = 0; f < framesEach; ++f) {
            auto &frame = list.back()->Frames.emplace_back(std::make_unique<THFFrame>());
            for (int p = 1; p <= kPartCount; ++p)
                frame->Point(p) = {(m * 7 + f * 3 + p) & 0xFF, (m + f * 11 + p * 5) & 0xFF};
            frame->Interpolation = (f * 13) & 0xFF;
            frame->Displacement = SignedByte(f * 29);
        }
        list.back()->SyncFrameCount();
    }
    return list;
}
} // namespace

TEST(RoutineCodec, TheOneMoveExampleReadsAsNewMoveSavesNormalisedAndANewRoutineIsItWithoutDisplacement)
{
    std::ifstream in(std::string(HOOFER_TEST_DATA) + "/newmove.raw", std::ios::binary);
    const std::string data(std::istreambuf_iterator<char>(in), {});
    ASSERT_EQ(data.size(), 42u);
    const TMoveList moves = DecodeRoutine(data);
    ASSERT_TRUE(moves.size() == 1u && moves[0]->FrameCount == 1);
    EXPECT_EQ(moves[0]->MoveName, "NewMove     \r");
    EXPECT_EQ(TrimName(moves[0]->MoveName), "NewMove");
    const THFFrame &f = *moves[0]->Frames[0];
    EXPECT_EQ(f.Points, MakeStandingMove()->Frames[0]->Points);
    EXPECT_EQ(std::pair(f.Interpolation, f.Displacement), std::pair(3, -2));
    EXPECT_EQ(EncodeRoutine(moves), data);
    // Another format byte, name end and bytes after the last move are not written back.
    std::string odd = data + "tail";
    odd[0] = 7, odd[14] = 'X';
    EXPECT_EQ(EncodeRoutine(DecodeRoutine(odd)), data);
    EXPECT_EQ(InspectRoutineImage(odd).trailingBytes, 4u);
    std::string fresh = data;
    fresh.back() = 0;
    EXPECT_EQ(EncodeRoutine(NewRoutine()), fresh);
}

TEST(RoutineCodec, NamesTakeTwelveBytesDisplacementOneSignedByteAndCountsUpTo255)
{
    for (const auto &[name, written] : {std::pair<std::string, std::string>{"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKL\r"},
                                        {"", std::string(12, ' ') + "\r"}}) {
        TMoveList moves = MovesOf(1, 0);
        moves[0]->MoveName = name;
        EXPECT_EQ(EncodeRoutine(moves), std::string("\x64\0", 2) + written + '\0') << name;
        EXPECT_EQ(DecodeRoutine(EncodeRoutine(moves))[0]->FrameCount, 0) << name;
    }
    for (const auto &[in, out] : {std::pair{128, -128}, {-128, -128}, {127, 127}, {255, -1}})
        EXPECT_EQ(SignedByte(in), out) << in;
    THFFrame frame, back;
    frame.Displacement = 128;
    std::string s = FrameSnapshot(frame);
    EXPECT_EQ(static_cast<unsigned char>(s[25]), 0x80);
    TakeFrameSnapshot(s, back);
    EXPECT_EQ(back.Displacement, -128);
    EXPECT_TRUE(s.empty());
    const std::string largest = EncodeRoutine(MovesOf(256, 255));
    EXPECT_EQ(largest.size(), 1700866u);
    EXPECT_EQ(static_cast<unsigned char>(largest[1]), 255);
    EXPECT_EQ(EncodeRoutine(DecodeRoutine(largest)), largest);
}

TEST(RoutineCodec, TruncatedDataAndRoutinesTheFormatCannotHoldAreRefusedSayingWhy)
{
    const std::string image = EncodeRoutine(MovesOf(3, 2));
    for (size_t cut = 1; cut < image.size(); ++cut) {
        const std::string prefix = image.substr(0, cut);
        const RoutineImageInfo info = InspectRoutineImage(prefix);
        ASSERT_FALSE(info.ok()) << "cut at " << cut;
        EXPECT_EQ(info.problem.rfind("truncated: ", 0), 0u) << info.problem;
        EXPECT_THROW(DecodeRoutine(prefix), RoutineFormatError) << "cut at " << cut;
    }
    EXPECT_TRUE(InspectRoutineImage(image).ok());
    EXPECT_EQ(InspectRoutineImage(image.substr(0, 2 + 14 + 26 + 5)).problem,
              "truncated: move 0 announces 2 key frames, 31 bytes remain");
    const std::pair<TMoveList, const char *> rows[] = {
        {MovesOf(0, 0), "no moves"}, {MovesOf(257, 0), "257 moves"}, {MovesOf(1, 256), "256 key frames"}};
    for (const auto &[moves, limit] : rows) {
        try {
            EncodeRoutine(moves);
            ADD_FAILURE() << "written: " << moves.size() << " moves";
        } catch (const RoutineFormatError &e) {
            EXPECT_NE(std::string(e.what()).find(limit), std::string::npos) << e.what();
        }
    }
    std::string buffer = "abc";
    EXPECT_EQ(TakeBytes(buffer, 2), "ab");
    EXPECT_THROW(TakeBytes(buffer, 2), RoutineFormatError);
    EXPECT_EQ(buffer, "c");
}

TEST(SafeSave, ReplacesThroughALinkKeepsTheModeTakesAnyBytesAsANameAndSaysWhyItFails)
{
    EXPECT_FALSE(SaveFileAtomically(std::string(HOOFER_BINARY_DIR) + "/tests/no-such-folder/x.raw", "data").empty());
    char pattern[] = "/tmp/hoofer-save-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern, file = dir + "/caf\xe9.raw", link = dir + "/link.raw";
    ASSERT_EQ(SaveFileAtomically(file, "old"), "");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    ASSERT_EQ(symlink("caf\xe9.raw", link.c_str()), 0);
    EXPECT_EQ(SaveFileAtomically(link, "new"), "");
    std::string data, why;
    EXPECT_TRUE(ReadWholeFile(file, data, why)) << why;
    EXPECT_EQ(data, "new");
    struct stat info {};
    EXPECT_TRUE(lstat(link.c_str(), &info) == 0 && S_ISLNK(info.st_mode));
    EXPECT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);  // no temporary left
    std::filesystem::remove_all(dir);
}

TEST(ParseInteger, ReadsExactlyOneIntegerOf32Bits)
{
    constexpr auto both = HexPrefix::DollarOr0x, ini = HexPrefix::Only0x; // number fields, settings file
    const std::optional<int> none;
    struct Row { const char *text; HexPrefix hex; std::optional<int> want; };
    const Row rows[] = {
        {"12", both, 12},        {"  -7", both, -7},      {"+3", both, 3},         {"$1F", both, 31},
        {"0x0C", both, 12},      {"0X0c", ini, 12},       {"0xFf", ini, 255},      {"007", ini, 7},
        {"-0x10", ini, -16},     {"\t42", ini, 42},       {"$0C", ini, none},      {"$", both, none},
        {"", both, none},        {"-", both, none},       {"abc", both, none},     {"12 ", both, none},
        {"12abc", ini, none},    {"1 2", ini, none},      {"1.5", both, none},     {"1e3", ini, none},
        {"0x", both, none},      {"0xG1", ini, none},     {"--3", ini, none},      {"+-3", ini, none},
        {"0x-5", ini, none},     {"x12", ini, none},      {"2147483647", ini, INT_MAX},
        {"-2147483648", both, INT_MIN}, {"2147483648", both, none}, {"-2147483649", ini, none},
        {"0x80000000", ini, none}, {"99999999999999999999", both, none},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ParseInteger(r.text, r.hex), r.want)
            << '"' << r.text << '"' << (r.hex == ini ? " in the settings file" : " in a number field");
}

TEST(MirrorPose, ReflectsAcrossTheShouldersSwapsSidesAndClamps)
{
    using Pose = std::array<TPoint, kPartCount>;
    const std::pair<Pose, Pose> cases[] = { // shoulders at 100, the right foot clamped at 0; at 200, the left at 255
        {{{{100, 200}, {80, 180}, {60, 150}, {120, 181}, {140, 151}, {100, 120}, {90, 80}, {85, 40}, {0, 5}, {110, 81}, {115, 41}, {250, 6}}},
         {{{100, 200}, {80, 181}, {60, 151}, {120, 180}, {140, 150}, {100, 120}, {90, 81}, {85, 41}, {0, 6}, {110, 80}, {115, 40}, {200, 5}}}},
        {{{{200, 100}, {190, 90}, {255, 80}, {210, 91}, {220, 81}, {230, 50}, {180, 30}, {170, 10}, {100, 0}, {220, 31}, {225, 11}, {240, 1}}},
         {{{200, 100}, {190, 91}, {180, 81}, {210, 90}, {145, 80}, {170, 50}, {180, 31}, {175, 11}, {160, 1}, {220, 30}, {230, 10}, {255, 0}}}},
    };
    for (const auto &[before, after] : cases) {
        THFFrame frame;
        frame.Points = before;
        frame.Interpolation = 7, frame.Displacement = -12;
        MirrorPose(frame);
        for (int p = 0; p < kPartCount; ++p)
            EXPECT_EQ(frame.Points[p], after[p]) << "shoulders at " << before[0].X << ", body part " << p + 1;
        EXPECT_EQ(std::pair(frame.Interpolation, frame.Displacement), std::pair(7, -12));
    }
}

TEST(FrameHistory, UndoAndRedoListsAreSeparateStacksThatPoseCopiesLeaveAlone)
{
    THFFrame frame, copy;
    EXPECT_TRUE(frame.RedoList.empty());
    frame.UndoList.push_back("u1");
    frame.RedoList.push_back("r1");
    frame.RedoList.push_back("r2");
    EXPECT_EQ(std::pair(frame.UndoList.size(), frame.RedoList.size()), (std::pair<size_t, size_t>(1, 2)));
    EXPECT_EQ(frame.RedoList.back(), "r2");
    frame.RedoList.pop_back();
    EXPECT_EQ(frame.RedoList.back(), "r1");
    copy.RedoList.push_back("own");
    CopyFramePose(frame, copy);
    EXPECT_EQ(std::pair(copy.RedoList.size(), copy.RedoList.back()), (std::pair<size_t, std::string>(1, "own")));
    EXPECT_TRUE(copy.UndoList.empty());
    frame.RedoList.clear();
    EXPECT_TRUE(frame.RedoList.empty() && frame.RedoList.size() == 0u);
    frame.RedoList.clear(); // clearing an empty history is harmless, and a cleared one takes entries again
    frame.RedoList.push_back("r3");
    EXPECT_EQ(frame.RedoList.back() + frame.UndoList.back(), "r3u1");
}
