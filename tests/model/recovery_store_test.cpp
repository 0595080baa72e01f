#include "model/recovery_store.h"
#include "model/routine_codec.h"
#include "model/save_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <map>

using namespace hoofer;

namespace {
std::string Slurp(const std::string &path)
{
    std::string data, why;
    return ReadWholeFile(path, data, why) ? data : "<unreadable: " + why + ">";
}

QStringList FilesIn(const std::string &folder)
{
    return QDir(QString::fromStdString(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

/// Leaves what a crashed editor leaves: its copy, the side record naming `source` and its lock, rewritten to
/// name a process that has ended. Returns the copy's path.
std::string PlantCrashedEditor(const std::string &folder, const std::string &image, const std::string &source)
{
    auto editor = std::make_unique<RecoveryStore>(folder);
    EXPECT_EQ(editor->Write(image, source), "");
    const std::string copy = editor->CopyPath(), lock = copy.substr(0, copy.size() - 4) + ".lock";
    std::string contents = Slurp(lock);
    editor.reset(); // a normal end releases the lock and deletes its file
    QProcess ended;
    ended.start("/bin/true", {});
    EXPECT_TRUE(ended.waitForStarted(5000));
    contents.replace(0, contents.find('\n'), std::to_string(ended.processId()));
    EXPECT_TRUE(ended.waitForFinished(5000));
    EXPECT_EQ(SaveFileAtomically(lock, contents), "");
    return copy;
}
} // namespace

TEST(RecoveryStore, TwoEditorsKeepTheirOwnCopiesAndNeitherIsAnOrphanWhileTheyRun)
{
    QTemporaryDir root;
    const std::string folder = root.path().toStdString() + "/recovery", image = EncodeRoutine(NewRoutine());
    auto first = std::make_unique<RecoveryStore>(folder);
    RecoveryStore second(folder);
    EXPECT_TRUE(FilesIn(folder).isEmpty()) << "nothing is written before the first change";
    ASSERT_EQ(first->Write(image, "/home/u/a.raw"), "");
    ASSERT_EQ(second.Write(image + "x", ""), "");
    EXPECT_NE(first->CopyPath(), second.CopyPath());
    EXPECT_EQ(Slurp(first->CopyPath()), image);
    EXPECT_EQ(Slurp(second.CopyPath()), image + "x");
    EXPECT_TRUE(RecoveryStore::FindOrphans(folder).empty());
    // Rewritten in place, atomically: no temporary files stay beside it.
    ASSERT_EQ(first->Write(image, "/home/u/a.raw"), "");
    EXPECT_EQ(FilesIn(folder).size(), 5) << FilesIn(folder).join(" ").toStdString();

    // An editor that ends without a normal close leaves its copy behind, with
    // the name of the file it came from; the running one stays its own.
    const std::string firstCopy = first->CopyPath();
    first.reset();
    auto orphans = RecoveryStore::FindOrphans(folder);
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].path, firstCopy);
    EXPECT_EQ(orphans[0].image, image);
    EXPECT_EQ(orphans[0].sourceFileName, "/home/u/a.raw");
    EXPECT_TRUE(orphans[0].readable()) << orphans[0].error;
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

TEST(RecoveryStore, CopiesOfCrashedEditorsAreOfferedNewestFirstAndBadOnesSayWhy)
{
    QTemporaryDir root;
    const std::string folder = root.path().toStdString() + "/recovery", image = EncodeRoutine(NewRoutine());
    RecoveryStore running(folder);
    ASSERT_EQ(running.Write(image, "mine.raw"), "");
    struct Case { const char *source; std::string bytes; const char *error; }; // error: empty for a readable copy
    const Case cases[] = {{"good.raw", image, ""}, {"folder.raw", "", "Cannot read the recovery copy"},
                          {"short.raw", image.substr(0, 20), "is truncated: move 0"}, {"empty.raw", "", "is empty"}};
    std::map<std::string, const Case *> caseOfCopy;
    for (const Case &c : cases) {
        const std::string copy = PlantCrashedEditor(folder, c.bytes, c.source);
        caseOfCopy[copy] = &c;
        if (c.source == std::string("folder.raw")) {
            std::filesystem::remove(copy);
            std::filesystem::create_directory(copy);
        } else if (c.source == std::string("good.raw")) {
            std::filesystem::last_write_time(copy, std::filesystem::file_time_type::clock::now() + std::chrono::minutes(1));
        }
    }
    // A crash after the copy was removed leaves a lock and a side record, and nothing to offer.
    const std::string gone = PlantCrashedEditor(folder, image, "gone.raw"), goneBase = gone.substr(0, gone.size() - 4);
    QFile::remove(QString::fromStdString(gone));

    auto orphans = RecoveryStore::FindOrphans(folder);
    ASSERT_EQ(orphans.size(), std::size(cases));
    EXPECT_EQ(caseOfCopy[orphans[0].path]->source, std::string("good.raw")) << "the newest copy comes first";
    for (const RecoveryOrphan &o : orphans) {
        const Case &c = *caseOfCopy.at(o.path);
        EXPECT_EQ(o.sourceFileName, c.source);
        EXPECT_EQ(o.readable(), *c.error == 0) << c.source << ": " << o.error;
        EXPECT_NE(o.error.find(c.error), std::string::npos) << c.source << ": " << o.error;
        EXPECT_EQ(o.image, o.readable() ? image : o.image) << c.source;
        EXPECT_EQ(o.error.find('\n'), std::string::npos) << c.source << ": one line for the status line";
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(goneBase + ".lock")));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(goneBase + ".source")));
    // Declined: the copy goes. Not taken up: the copy stays for the next start.
    const std::string declined = orphans[0].path;
    EXPECT_EQ(RecoveryStore::Discard(orphans[0]), "");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(declined)));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(declined.substr(0, declined.size() - 4) + ".source")));
    orphans.clear();
    EXPECT_EQ(RecoveryStore::FindOrphans(folder).size(), std::size(cases) - 1);
    EXPECT_EQ(Slurp(running.CopyPath()), image) << "the running editor's copy is never touched";
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
    EXPECT_TRUE(RecoveryStore::DefaultFolder().ends_with("/recovery"));
    EXPECT_NE(RecoveryStore("").Write("data", ""), "");
    EXPECT_TRUE(RecoveryStore::FindOrphans("").empty());
}
