#include "model/routine_codec.h"
#include "model/save_file.h"

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace hoofer;

namespace {

std::string ReadData(const std::string &name)
{
    std::ifstream in(std::string(HOOFER_TEST_DATA) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TMoveList MovesOf(int moves, int framesEach)
{
    TMoveList list;
    for (int m = 0; m < moves; ++m) {
        auto move = std::make_unique<THFMove>();
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
        list.push_back(std::move(move));
    }
    return list;
}

} // namespace

TEST(RoutineCodec, OneMoveExampleReadsAsNewMoveWithItsPose)
{
    const std::string data = ReadData("newmove.raw");
    ASSERT_EQ(data.size(), 42u);
    TMoveList moves = DecodeRoutine(data);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0]->MoveName, std::string("NewMove     \r"));
    EXPECT_EQ(TrimName(moves[0]->MoveName), "NewMove");
    ASSERT_EQ(moves[0]->FrameCount, 1);
    const THFFrame &f = *moves[0]->Frames[0];
    auto standing = MakeStandingMove();
    EXPECT_EQ(f.Points, standing->Frames[0]->Points);
    EXPECT_EQ(f.Interpolation, 3);
    EXPECT_EQ(f.Displacement, -2);
    EXPECT_EQ(EncodeRoutine(moves), data);
}

TEST(RoutineCodec, SaveNormalisesFormatByteNameEndAndDropsTrailingBytes)
{
    std::string data = ReadData("newmove.raw");
    data[0] = 7;
    data[14] = 'X';
    const std::string withTail = data + "tail";
    const std::string written = EncodeRoutine(DecodeRoutine(withTail));
    std::string expected = ReadData("newmove.raw");
    EXPECT_EQ(written, expected);
    EXPECT_EQ(InspectRoutineImage(withTail).trailingBytes, 4u);
}

TEST(RoutineCodec, DisplacementIsOneSignedByte)
{
    EXPECT_EQ(SignedByte(128), -128);
    EXPECT_EQ(SignedByte(-128), -128);
    EXPECT_EQ(SignedByte(127), 127);
    EXPECT_EQ(SignedByte(255), -1);
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
    TMoveList moves = MovesOf(1, 0);
    moves[0]->MoveName = "ABCDEFGHIJKLMNOP";
    std::string image = EncodeRoutine(moves);
    EXPECT_EQ(image.substr(2, 13), "ABCDEFGHIJKL\r");
    moves[0]->MoveName = "";
    image = EncodeRoutine(moves);
    EXPECT_EQ(image.substr(2, 13), std::string(12, ' ') + "\r");
    EXPECT_EQ(image.size(), 16u);
}

TEST(RoutineCodec, HeaderByte255AnnouncesTheLargestRoutine)
{
    TMoveList moves = MovesOf(256, 255);
    const std::string image = EncodeRoutine(moves);
    EXPECT_EQ(image.size(), 1700866u);
    EXPECT_EQ(static_cast<unsigned char>(image[1]), 255);
    TMoveList back = DecodeRoutine(image);
    ASSERT_EQ(back.size(), 256u);
    EXPECT_EQ(EncodeRoutine(back), image);
}

TEST(RoutineCodec, MoveWithoutKeyFramesIsFourteenBytes)
{
    const std::string image = std::string("\x64\x00", 2) + "Empty       \r" + std::string(1, '\0');
    TMoveList moves = DecodeRoutine(image);
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
    TMoveList none;
    EXPECT_THROW(EncodeRoutine(none), RoutineFormatError);
    TMoveList many = MovesOf(257, 0);
    try {
        EncodeRoutine(many);
        FAIL();
    } catch (const RoutineFormatError &e) {
        EXPECT_NE(std::string(e.what()).find("257 moves"), std::string::npos) << e.what();
    }
    TMoveList long_ = MovesOf(1, 256);
    try {
        EncodeRoutine(long_);
        FAIL();
    } catch (const RoutineFormatError &e) {
        EXPECT_NE(std::string(e.what()).find("256 key frames"), std::string::npos) << e.what();
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
    const std::string dir = std::string(HOOFER_BINARY_DIR) + "/tests/no-such-folder/x.raw";
    EXPECT_FALSE(SaveFileAtomically(dir, "data").empty());
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
