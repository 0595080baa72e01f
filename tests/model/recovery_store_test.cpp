#include "model/recovery_store.h"
#include "model/routine_codec.h"
#include "model/save_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace hoofer;

namespace {

std::string Slurp(const std::string &path)
{
    std::string data, why;
    return ReadWholeFile(path, data, why) ? data : "<unreadable: " + why + ">";
}

QStringList FilesIn(const std::string &folder)
{
    return QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                                          QDir::Name);
}

/// Leaves behind what a crashed editor leaves: a copy (a file, or whatever
/// `makeCopy` puts at its path), a side record and a lock naming a process
/// that has ended.
void PlantCrashedEditor(const std::string &folder, const std::string &id, const std::string &source,
                        const std::function<void(const QString &)> &makeCopy)
{
    QDir().mkpath(QString::fromStdString(folder));
    const QString base = QString::fromStdString(folder + "/" + id);
    makeCopy(base + ".raw");
    if (!source.empty()) {
        ASSERT_EQ(SaveFileAtomically((base + ".source").toStdString(), source), "");
    }

    // The lock as this process writes it, with the number of a process that
    // has been started and has ended since.
    QByteArray contents;
    {
        QLockFile live(base + ".probe");
        ASSERT_TRUE(live.tryLock(0));
        QFile probe(base + ".probe");
        ASSERT_TRUE(probe.open(QIODevice::ReadOnly));
        contents = probe.readAll();
    }
    QProcess ended;
    ended.start("/bin/true", {});
    ASSERT_TRUE(ended.waitForStarted(5000));
    const qint64 deadPid = ended.processId();
    ASSERT_TRUE(ended.waitForFinished(5000));
    contents.replace(0, contents.indexOf('\n'), QByteArray::number(deadPid));
    QFile lock(base + ".lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(contents);
}

void PlantCopy(const QString &path, const std::string &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

} // namespace

TEST(RecoveryStore, TwoEditorsKeepTheirOwnCopiesAndNeitherIsAnOrphanWhileTheyRun)
{
    QTemporaryDir root;
    const std::string folder = root.path().toStdString() + "/recovery";
    const std::string image = EncodeRoutine(NewRoutine());
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

    // An editor that ends without a normal close leaves its copy behind,
    // with the name of the file it came from; the running one stays its own.
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
    const std::string folder = root.path().toStdString() + "/recovery";
    const std::string image = EncodeRoutine(NewRoutine());
    RecoveryStore running(folder);
    ASSERT_EQ(running.Write(image, "mine.raw"), "");

    struct Case {
        const char *id;
        std::function<void(const QString &)> makeCopy;
        const char *error; ///< part of the error, or empty when the copy is readable
    };
    const std::vector<Case> cases = {
        {"good", [&](const QString &p) { PlantCopy(p, image); }, ""},
        {"folder", [](const QString &p) { QDir().mkpath(p); }, "Cannot read the recovery copy"},
        {"short", [&](const QString &p) { PlantCopy(p, image.substr(0, 20)); }, "is truncated: move 0"},
        {"empty", [](const QString &p) { PlantCopy(p, ""); }, "is empty"},
    };
    for (const Case &c : cases)
        PlantCrashedEditor(folder, c.id, std::string(c.id) + ".raw", c.makeCopy);
    // A crash after the copy was removed leaves a lock and nothing to offer.
    PlantCrashedEditor(folder, "nocopy", "gone.raw", [](const QString &) {});
    QFile newest(QString::fromStdString(folder + "/good.raw"));
    ASSERT_TRUE(newest.open(QIODevice::Append));
    ASSERT_TRUE(newest.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    newest.close();

    auto orphans = RecoveryStore::FindOrphans(folder);
    ASSERT_EQ(orphans.size(), cases.size());
    EXPECT_EQ(orphans[0].path, folder + "/good.raw") << "the newest copy comes first";
    for (const Case &c : cases) {
        const auto it = std::find_if(orphans.begin(), orphans.end(),
                                     [&](const RecoveryOrphan &o) { return o.path == folder + "/" + c.id + ".raw"; });
        ASSERT_NE(it, orphans.end()) << c.id;
        EXPECT_EQ(it->sourceFileName, std::string(c.id) + ".raw") << c.id;
        if (*c.error == 0) {
            EXPECT_TRUE(it->readable()) << c.id << ": " << it->error;
            EXPECT_EQ(it->image, image) << c.id;
        } else {
            EXPECT_NE(it->error.find(c.error), std::string::npos) << c.id << ": " << it->error;
            EXPECT_EQ(it->error.find('\n'), std::string::npos) << c.id << ": one line for the status line";
        }
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/nocopy.lock")));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/nocopy.source")));

    // Declined: the copy goes. Not taken up: the copy stays for the next start.
    EXPECT_EQ(RecoveryStore::Discard(orphans[0]), "");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/good.raw")));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/good.source")));
    orphans.clear();
    EXPECT_EQ(RecoveryStore::FindOrphans(folder).size(), cases.size() - 1);
    EXPECT_EQ(Slurp(running.CopyPath()), image) << "the running editor's copy is never touched";
}

TEST(RecoveryStore, ACopyThatCannotBeWrittenSaysWhereInOneLine)
{
    QTemporaryDir root;
    const std::string blocked = root.path().toStdString() + "/file";
    PlantCopy(QString::fromStdString(blocked), "not a folder");
    RecoveryStore store(blocked + "/recovery");
    const std::string why = store.Write("data", "");
    EXPECT_NE(why.find(blocked), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << why;
    EXPECT_FALSE(store.HasCopy());
    store.Remove();

    RecoveryStore copyBlocked(root.path().toStdString() + "/recovery");
    QDir().mkpath(QString::fromStdString(copyBlocked.CopyPath()));
    EXPECT_NE(copyBlocked.Write("data", ""), "");
    EXPECT_EQ(RecoveryStore::DefaultFolder().substr(RecoveryStore::DefaultFolder().size() - 9), "/recovery");
    RecoveryStore nowhere("");
    EXPECT_NE(nowhere.Write("data", ""), "");
    EXPECT_TRUE(RecoveryStore::FindOrphans("").empty());
}
