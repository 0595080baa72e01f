#include "model/pose_ops.h"
#include "model/recovery_store.h"
#include "model/routine_codec.h"
#include "model/save_file.h"
#include "model/text_number.h"
#include "test_routine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <climits>
#include <functional>
#include <filesystem>
#include <map>
#include <optional>

using namespace hoofer;
using hoofer::test::FileBytes;
using hoofer::test::TestMoves;

namespace {
QStringList FilesIn(const std::string &folder)
{
    return QDir(QString::fromStdString(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

/// Leaves what a crashed editor leaves: its copy, the side record naming `source` and its lock, rewritten to
/// name a process that cannot be running (its id is beyond any pid_max). Returns the copy's path.
std::string PlantCrashedEditor(const std::string &folder, const std::string &image, const std::string &source)
{
    auto editor = std::make_unique<RecoveryStore>(folder);
    EXPECT_EQ(editor->Write(image, source), "");
    const std::string copy = editor->CopyPath(), lock = copy.substr(0, copy.size() - 4) + ".lock";
    std::string contents = FileBytes(lock);
    editor.reset(); // a normal end releases the lock and deletes its file
    EXPECT_EQ(SaveFileAtomically(lock, contents.replace(0, contents.find('\n'), "999999999")), "");
    return copy;
}
} // namespace

// Normalising on save and writing back as read are the routine fuzz corpus replay's.
TEST(RoutineCodec, TheOneMoveExampleReadsAsTheStandingNewMove)
{
    const std::string data = FileBytes(HOOFER_SOURCE_DIR "/examples/newmove.raw");
    const TMoveList moves = DecodeRoutine(data);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(moves[0]->FrameCount, 1);
    EXPECT_EQ(moves[0]->MoveName, "NewMove     \r");
    EXPECT_EQ(TrimName(moves[0]->MoveName), "NewMove");
    const THFFrame &f = *moves[0]->Frames[0];
    EXPECT_EQ(f.Points, MakeStandingMove()->Frames[0]->Points);
    EXPECT_EQ(f.Interpolation, 3);
    EXPECT_EQ(f.Displacement, -2);
    std::string fresh = data;
    fresh.back() = 0;
    EXPECT_EQ(EncodeRoutine(NewRoutine()), fresh) << "a new routine is the example without its displacement";
}

TEST(RoutineCodec, DisplacementIsOneSignedByte)
{
    for (const auto &[in, out] : {std::pair{128, -128}, {127, 127}, {255, -1}})
        EXPECT_EQ(SignedByte(in), out) << in;
}

TEST(RoutineCodec, EveryTruncationIsRefusedSayingWhy)
{
    const std::string image = EncodeRoutine(TestMoves(3, 2));
    for (size_t cut = 1; cut < image.size(); ++cut) {
        const std::string prefix = image.substr(0, cut);
        EXPECT_EQ(InspectRoutineImage(prefix).problem.rfind("truncated: ", 0), 0u) << "cut at " << cut;
        EXPECT_THROW(DecodeRoutine(prefix), RoutineFormatError) << "cut at " << cut;
    }
    EXPECT_TRUE(InspectRoutineImage(image).ok());
    EXPECT_EQ(InspectRoutineImage(image.substr(0, 2 + 14 + 26 + 5)).problem,
              "truncated: move 0 announces 2 key frames, 31 bytes remain");
}

TEST(RoutineCodec, RoutinesTheFormatCannotHoldAreNotWritten)
{
    const std::pair<TMoveList, const char *> rows[] = {
        {TestMoves(0, 0), "no moves"}, {TestMoves(257, 0), "257 moves"}, {TestMoves(1, 256), "256 key frames"}};
    for (const auto &[moves, limit] : rows)
        EXPECT_THAT([&] { EncodeRoutine(moves); }, testing::ThrowsMessage<RoutineFormatError>(testing::HasSubstr(limit)));
}

TEST(SafeSave, ReplacesThroughALinkKeepingTheModeWhateverBytesNameTheFile)
{
    QTemporaryDir dir;
    const std::string file = dir.path().toStdString() + "/caf\xe9.raw", link = dir.path().toStdString() + "/link.raw";
    ASSERT_EQ(SaveFileAtomically(file, "old"), "");
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    std::filesystem::create_symlink("caf\xe9.raw", link);
    EXPECT_EQ(SaveFileAtomically(link, "new"), "");
    EXPECT_EQ(FileBytes(file), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path().toStdString()), {}), 2) << "no temporary left";
    EXPECT_NE(SaveFileAtomically(dir.filePath("no-such-folder/x.raw").toStdString(), "data"), "");
    std::filesystem::remove(file);  // Qt cannot remove a name that is not UTF-8
}

TEST(ParseInteger, ReadsExactlyOneIntegerOf32Bits)
{
    constexpr auto both = HexPrefix::DollarOr0x, ini = HexPrefix::Only0x; // number fields, settings file
    const std::optional<int> none;
    struct Row { const char *text; HexPrefix hex; std::optional<int> want; };
    const Row rows[] = {
        {"12", both, 12},     {"  -7", both, -7},  {"\t+3", ini, 3},   {"$1F", both, 31},  {"0X0c", ini, 12},
        {"-0x10", ini, -16},  {"$0C", ini, none},  {"", both, none},   {"0x", both, none}, {"12 ", both, none},
        {"1.5", both, none},  {"0xG1", ini, none}, {"+-3", ini, none}, {"2147483648", both, none},
        {"2147483647", ini, INT_MAX}, {"-2147483648", both, INT_MIN}, {"-2147483649", ini, none},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ParseInteger(r.text, r.hex), r.want)
            << '"' << r.text << '"' << (r.hex == ini ? " in the settings file" : " in a number field");
}

TEST(MirrorPose, ReflectsAcrossTheShouldersLeftForRightWithinThePointSpace)
{
    THFFrame frame;
    frame.Points = {{{100, 200}, {80, 180}, {60, 150}, {120, 181}, {140, 151}, {100, 120},
                     {90, 80}, {85, 40}, {0, 5}, {110, 81}, {115, 41}, {250, 6}}};
    frame.Interpolation = 7, frame.Displacement = -12;
    MirrorPose(frame);
    const std::array<TPoint, kPartCount> mirrored = {{{100, 200}, {80, 181}, {60, 151}, {120, 180}, {140, 150},
                                                      {100, 120}, {90, 81}, {85, 41}, {0, 6}, {110, 80}, {115, 40},
                                                      {200, 5}}};
    for (int p = 0; p < kPartCount; ++p)
        EXPECT_EQ(frame.Points[p], mirrored[p]) << "body part " << p + 1;  // the left foot clamped at 0
    EXPECT_EQ(std::pair(frame.Interpolation, frame.Displacement), std::pair(7, -12));
    frame.Points = {};
    frame.Point(1) = {200, 100};
    frame.Point(9) = {100, 0};
    MirrorPose(frame);
    EXPECT_EQ(frame.Point(12), (TPoint{255, 0})) << "shoulders at 200: the foot at 100 clamped at 255";
}

TEST(RecoveryStore, EachEditorKeepsItsOwnCopyWhichOnlyACrashMakesAnOrphan)
{
    QTemporaryDir root;
    const std::string folder = root.path().toStdString() + "/recovery", image = EncodeRoutine(NewRoutine());
    auto first = std::make_unique<RecoveryStore>(folder);
    RecoveryStore second(folder);
    EXPECT_TRUE(FilesIn(folder).isEmpty()) << "nothing is written before the first change";
    ASSERT_EQ(first->Write(image, "/home/u/a.raw"), "");
    ASSERT_EQ(second.Write(image + "x", ""), "");
    EXPECT_EQ(FileBytes(first->CopyPath()), image);
    EXPECT_EQ(FileBytes(second.CopyPath()), image + "x");
    EXPECT_TRUE(RecoveryStore::FindOrphans(folder).empty());
    ASSERT_EQ(first->Write(image, "/home/u/a.raw"), "");  // in place: no temporary stays beside it
    EXPECT_EQ(FilesIn(folder).size(), 5) << FilesIn(folder).join(" ").toStdString();
    // An editor that ends without a normal close leaves its copy behind, with the name of its file.
    const std::string firstCopy = first->CopyPath();
    first.reset();
    auto orphans = RecoveryStore::FindOrphans(folder);
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].path, firstCopy);
    EXPECT_EQ(orphans[0].sourceFileName, "/home/u/a.raw");
    EXPECT_TRUE(RecoveryStore::FindOrphans(folder).empty()) << "an offered orphan is locked";
    // Restored: the orphan's slot becomes the restoring editor's own.
    RecoveryStore third(folder);
    third.Adopt(std::move(orphans[0]));
    EXPECT_EQ(third.CopyPath(), firstCopy);
    orphans.clear();
    EXPECT_TRUE(RecoveryStore::FindOrphans(folder).empty());
    ASSERT_EQ(third.Write(image, ""), "");
    third.Remove();
    second.Remove();
    EXPECT_EQ(FilesIn(folder), FilesIn(folder).filter(".lock")) << "only the running editors' locks stay";
}

TEST(RecoveryStore, CopiesOfCrashedEditorsAreOfferedNewestFirstBadOnesSayingWhy)
{
    QTemporaryDir root;
    const std::string folder = root.path().toStdString() + "/recovery", image = EncodeRoutine(NewRoutine());
    const auto newest = [](const std::string &copy) {
        std::filesystem::last_write_time(copy, std::filesystem::file_time_type::clock::now() + std::chrono::minutes(1));
    };
    const auto folderInstead = [](const std::string &copy) {
        std::filesystem::remove(copy);
        std::filesystem::create_directory(copy);
    };
    // Each crashed editor's file, what its copy holds and the error ("" for none) the copy is offered with.
    struct Crashed { std::string bytes; const char *error; std::function<void(std::string)> after = [](auto &&) {}; };
    const std::map<std::string, Crashed> crashed = {
        {"good.raw", {image, "", newest}}, {"folder.raw", {"", "Cannot read the recovery copy", folderInstead}},
        {"short.raw", {image.substr(0, 20), "is truncated: move 0"}}, {"empty.raw", {"", "is empty"}}};
    for (const auto &[source, planted] : crashed)
        planted.after(PlantCrashedEditor(folder, planted.bytes, source));
    // A crash after the copy was removed leaves a lock and a side record, and nothing to offer.
    const std::string gone = PlantCrashedEditor(folder, image, "gone.raw"), goneBase = gone.substr(0, gone.size() - 4);
    QFile::remove(QString::fromStdString(gone));
    auto orphans = RecoveryStore::FindOrphans(folder);
    ASSERT_EQ(orphans.size(), crashed.size());
    EXPECT_EQ(orphans[0].sourceFileName, "good.raw") << "the newest copy comes first";
    for (const RecoveryOrphan &o : orphans) {
        const Crashed &planted = crashed.at(o.sourceFileName);
        EXPECT_EQ(o.readable(), *planted.error == 0) << o.sourceFileName << ": " << o.error;
        EXPECT_NE(o.error.find(planted.error), std::string::npos) << o.sourceFileName << ": " << o.error;
        EXPECT_EQ(o.image, planted.bytes) << o.sourceFileName << ": not the planted bytes";
        EXPECT_EQ(o.error.find('\n'), std::string::npos) << o.sourceFileName << ": one line for the status line";
    }
    for (const char *suffix : {".lock", ".source"})
        EXPECT_FALSE(QFile::exists(QString::fromStdString(goneBase + suffix))) << suffix;
    // Declined: the copy goes. Not taken up: the copy stays for the next start.
    const QString declined = QString::fromStdString(orphans[0].path).chopped(4);
    EXPECT_EQ(RecoveryStore::Discard(orphans[0]), "");
    EXPECT_FALSE(QFile::exists(declined + ".raw") || QFile::exists(declined + ".source"));
    orphans.clear();
    EXPECT_EQ(RecoveryStore::FindOrphans(folder).size(), crashed.size() - 1);
}

TEST(RecoveryStore, ACopyThatCannotBeWrittenSaysWhereInOneLine)
{
    QTemporaryDir root;
    const std::string blocked = root.path().toStdString() + "/file";
    ASSERT_EQ(SaveFileAtomically(blocked, "not a folder"), "");
    RecoveryStore store(blocked + "/recovery");
    const std::string why = store.Write("data", "");
    EXPECT_NE(why.find(blocked), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << why;
    EXPECT_FALSE(store.HasCopy());
    store.Remove();
    RecoveryStore copyBlocked(root.path().toStdString() + "/recovery");
    QDir().mkpath(QString::fromStdString(copyBlocked.CopyPath()));
    EXPECT_NE(copyBlocked.Write("data", ""), "");
    EXPECT_NE(RecoveryStore("").Write("data", ""), "");
    EXPECT_TRUE(RecoveryStore::FindOrphans("").empty());
}
