#include "model/routine_codec.h"
#include "model/save_file.h"

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace hoofer;

namespace {

std::string ReadData(const std::string &name)
{
    std::ifstream in(std::string(HOOFER_TEST_DATA) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TMoveList MovesOf(int moves, int framesEach)
{
    TMoveList list;
    for (int m = 0; m < moves; ++m) {
        list.push_back(std::make_unique<THFMove>());
        THFMove *move = list.back().get();
        move->MoveName = "m" + std::to_string(m);
        for (int f = 0; f < framesEach; ++f) {
            auto frame = std::make_unique<THFFrame>();
            for (int p = 1; p <= kPartCount; ++p)
                frame->Point(p) = {(m * 7 + f * 3 + p) & 0xFF, (m + f * 11 + p * 5) & 0xFF};
            frame->Interpolation = (f * 13) & 0xFF;
            frame->Displacement = SignedByte(f * 29);
            move->Frames.push_back(std::move(frame));
        }
        move->SyncFrameCount();
    }
    return list;
}

} // namespace

TEST(RoutineCodec, OneMoveExampleReadsAsNewMoveAndSavesNormalised)
{
    const std::string data = ReadData("newmove.raw");
    ASSERT_EQ(data.size(), 42u);
    const TMoveList moves = DecodeRoutine(data);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(moves[0]->FrameCount, 1);
    EXPECT_EQ(moves[0]->MoveName, "NewMove     \r");
    EXPECT_EQ(TrimName(moves[0]->MoveName), "NewMove");
    const THFFrame &f = *moves[0]->Frames[0];
    EXPECT_EQ(f.Points, MakeStandingMove()->Frames[0]->Points);
    EXPECT_EQ(std::pair(f.Interpolation, f.Displacement), std::pair(3, -2));
    EXPECT_EQ(EncodeRoutine(moves), data);
    // Another format byte, name end and bytes after the last move are not written back.
    std::string odd = data + "tail";
    odd[0] = 7;
    odd[14] = 'X';
    EXPECT_EQ(EncodeRoutine(DecodeRoutine(odd)), data);
    EXPECT_EQ(InspectRoutineImage(odd).trailingBytes, 4u);
}

TEST(RoutineCodec, ANewRoutineIsTheOneMoveExampleWithoutDisplacement)
{
    std::string expected = ReadData("newmove.raw");
    expected.back() = 0; // displacement 0 instead of -2
    EXPECT_EQ(EncodeRoutine(NewRoutine()), expected);
}

TEST(RoutineCodec, DisplacementIsOneSignedByte)
{
    for (const auto &[in, out] : {std::pair{128, -128}, {-128, -128}, {127, 127}, {255, -1}})
        EXPECT_EQ(SignedByte(in), out) << in;
    THFFrame frame;
    frame.Displacement = 128;
    std::string s = FrameSnapshot(frame);
    EXPECT_EQ(static_cast<unsigned char>(s[25]), 0x80);
    THFFrame back;
    TakeFrameSnapshot(s, back);
    EXPECT_EQ(back.Displacement, -128);
    EXPECT_TRUE(s.empty());
}

TEST(RoutineCodec, NamesAreCutOrPaddedToTwelveBytes)
{
    for (const auto &[name, written] : {std::pair<std::string, std::string>{"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKL\r"},
                                        {"", std::string(12, ' ') + "\r"}}) {
        TMoveList moves = MovesOf(1, 0);
        moves[0]->MoveName = name;
        const std::string image = EncodeRoutine(moves);
        EXPECT_EQ(image.substr(2, 13), written) << name;
        EXPECT_EQ(image.size(), 16u) << name;
    }
}

TEST(RoutineCodec, HeaderByte255AnnouncesTheLargestRoutine)
{
    const std::string image = EncodeRoutine(MovesOf(256, 255));
    EXPECT_EQ(image.size(), 1700866u);
    EXPECT_EQ(static_cast<unsigned char>(image[1]), 255);
    TMoveList back = DecodeRoutine(image);
    ASSERT_EQ(back.size(), 256u);
    EXPECT_EQ(EncodeRoutine(back), image);
}

TEST(RoutineCodec, MoveWithoutKeyFramesIsFourteenBytes)
{
    const TMoveList moves = DecodeRoutine(std::string("\x64\x00" "Empty       \r\0", 16));
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0]->FrameCount, 0);
    EXPECT_TRUE(moves[0]->Frames.empty());
}

TEST(RoutineCodec, EveryTruncatedPrefixIsRefusedNamingWhatIsMissing)
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
}

TEST(RoutineCodec, RoutinesTheFormatCannotHoldAreRefusedWithTheLimit)
{
    const std::pair<TMoveList, const char *> rows[] = {{MovesOf(0, 0), ""}, {MovesOf(257, 0), "257 moves"},
                                                       {MovesOf(1, 256), "256 key frames"}};
    for (const auto &[moves, limit] : rows) {
        try {
            EncodeRoutine(moves);
            ADD_FAILURE() << "written: " << moves.size() << " moves";
        } catch (const RoutineFormatError &e) {
            EXPECT_NE(std::string(e.what()).find(limit), std::string::npos) << e.what();
        }
    }
}

TEST(RoutineCodec, TakeBytesNeverReadsPastTheEnd)
{
    std::string buffer = "abc";
    EXPECT_EQ(TakeBytes(buffer, 2), "ab");
    EXPECT_EQ(buffer, "c");
    EXPECT_THROW(TakeBytes(buffer, 2), RoutineFormatError);
    EXPECT_EQ(buffer, "c");
}

TEST(SafeSave, FailedWriteLeavesTheOldFileAndSaysWhy)
{
    EXPECT_FALSE(SaveFileAtomically(std::string(HOOFER_BINARY_DIR) + "/tests/no-such-folder/x.raw", "data").empty());
}

TEST(SafeSave, ReplacesThroughALinkKeepsTheModeAndTakesAnyBytesAsAName)
{
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
    EXPECT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);  // no temporary left
    std::filesystem::remove_all(dir);
}
