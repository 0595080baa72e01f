#include "recovery_store.h"

#include "routine_codec.h"
#include "save_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>
#include <cstring>
#include <set>

namespace hoofer {

namespace {

const char *const kCopySuffix = ".raw";
const char *const kSourceSuffix = ".source";
const char *const kReferencesSuffix = ".references.json";
const char *const kLockSuffix = ".lock";

std::string Join(const std::string &folder, const std::string &id, const char *suffix)
{
    return folder + "/" + id + suffix;
}

/// A lock that is stale only when its process has gone: the default age limit
/// would let a second editor take the copy of one that has run for a while.
std::unique_ptr<QLockFile> LockFor(const std::string &path)
{
    auto lock = std::make_unique<QLockFile>(QString::fromStdString(path));
    lock->setStaleLockTime(0);
    return lock;
}

std::string LockProblem(const QLockFile &lock)
{
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        return "it is held by another editor";
    case QLockFile::PermissionError:
        return "permission denied";
    default:
        return "unknown error";
    }
}

void RemoveFile(const std::string &path)
{
    QFile::remove(QString::fromStdString(path));
}

} // namespace

RecoveryOrphan::RecoveryOrphan() = default;
RecoveryOrphan::RecoveryOrphan(RecoveryOrphan &&) noexcept = default;
RecoveryOrphan &RecoveryOrphan::operator=(RecoveryOrphan &&) noexcept = default;
RecoveryOrphan::~RecoveryOrphan() = default;

RecoveryStore::RecoveryStore(std::string folder)
    : m_folder(std::move(folder)),
      m_id(QUuid::createUuid().toString(QUuid::Id128).toStdString())
{
}

RecoveryStore::~RecoveryStore() = default;

std::string RecoveryStore::DefaultFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return data.isEmpty() ? std::string() : data.toStdString() + "/recovery";
}

std::string RecoveryStore::PathOf(const std::string &suffix) const
{
    return Join(m_folder, m_id, suffix.c_str());
}

std::string RecoveryStore::CopyPath() const
{
    return PathOf(kCopySuffix);
}

std::string RecoveryStore::TakeLock()
{
    if (m_lock)
        return {};
    if (m_folder.empty())
        return "Cannot keep a recovery copy: there is no data folder";
    if (!QDir().mkpath(QString::fromStdString(m_folder)))
        return "Cannot create the recovery folder " + m_folder;
    auto lock = LockFor(PathOf(kLockSuffix));
    if (!lock->tryLock(0))
        return "Cannot lock the recovery copy " + CopyPath() + ": " + LockProblem(*lock);
    m_lock = std::move(lock);
    return {};
}

std::string RecoveryStore::Write(const std::string &image, const std::string &sourceFileName,
                                const std::string &references)
{
    if (std::string why = TakeLock(); !why.empty())
        return why;
    if (const std::string why = SaveFileAtomically(CopyPath(), image); !why.empty())
        return "Cannot write the recovery copy " + CopyPath() + ": " + why;
    m_hasCopy = true;
    if (sourceFileName != m_recordedSource) {
        // The side record only presets a dialog: failing to keep it is not
        // worth a message, the next write tries again.
        bool kept = true;
        if (sourceFileName.empty())
            RemoveFile(PathOf(kSourceSuffix));
        else
            kept = SaveFileAtomically(PathOf(kSourceSuffix), sourceFileName).empty();
        if (kept)
            m_recordedSource = sourceFileName;
    }
    if (references.empty())
        RemoveFile(PathOf(kReferencesSuffix));
    else if (const std::string why = SaveFileAtomically(PathOf(kReferencesSuffix), references); !why.empty())
        return "Cannot write the recovery copy's references " + PathOf(kReferencesSuffix) + ": " + why;
    return {};
}

void RecoveryStore::Remove()
{
    if (!m_hasCopy)
        return;
    RemoveFile(CopyPath());
    RemoveFile(PathOf(kSourceSuffix));
    RemoveFile(PathOf(kReferencesSuffix));
    m_hasCopy = false;
    m_recordedSource.clear();
}

std::vector<RecoveryOrphan> RecoveryStore::FindOrphans(const std::string &folder)
{
    std::vector<RecoveryOrphan> orphans;
    const QDir dir(QString::fromStdString(folder));
    if (folder.empty() || !dir.exists())
        return orphans;

    std::set<std::string> ids;
    for (const char *suffix : {kCopySuffix, kSourceSuffix, kReferencesSuffix, kLockSuffix}) {
        const QString pattern = QString("*") + suffix;
        for (const QString &name : dir.entryList({pattern}, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
            ids.insert(name.chopped(static_cast<int>(strlen(suffix))).toStdString());
    }

    std::vector<std::pair<QDateTime, RecoveryOrphan>> found;
    for (const std::string &id : ids) {
        auto lock = LockFor(Join(folder, id, kLockSuffix));
        if (!lock->tryLock(0))
            continue; // its editor is running, or the folder refuses locks
        const std::string copy = Join(folder, id, kCopySuffix);
        const QFileInfo info(QString::fromStdString(copy));
        if (!info.exists()) {
            RemoveFile(Join(folder, id, kSourceSuffix));
            RemoveFile(Join(folder, id, kReferencesSuffix));
            continue; // dropping the lock removes the lock file
        }
        RecoveryOrphan orphan;
        orphan.path = copy;
        orphan.m_id = id;
        orphan.m_lock = std::move(lock);
        std::string source, why;
        if (ReadWholeFile(Join(folder, id, kSourceSuffix), source, why))
            orphan.sourceFileName = source;
        std::string references;
        if (ReadWholeFile(Join(folder, id, kReferencesSuffix), references, why))
            orphan.references = references;
        if (!ReadWholeFile(copy, orphan.image, why)) {
            orphan.image.clear();
            orphan.error = "Cannot read the recovery copy " + copy + ": " + why;
        } else if (const RoutineImageInfo image = InspectRoutineImage(orphan.image); !image.ok()) {
            orphan.error = "The recovery copy " + copy + " is "
                           + (image.empty ? std::string("empty") : image.problem);
        }
        orphan.copiedAtMs = info.lastModified().toMSecsSinceEpoch();
        found.emplace_back(info.lastModified(), std::move(orphan));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    for (auto &entry : found)
        orphans.push_back(std::move(entry.second));
    return orphans;
}

std::string RecoveryStore::Discard(RecoveryOrphan &orphan)
{
    if (!orphan.m_lock)
        return {};
    const QString copy = QString::fromStdString(orphan.path);
    QFile file(copy);
    if (QFileInfo::exists(copy) && !file.remove())
        return "Cannot delete the recovery copy " + orphan.path + ": " + file.errorString().toStdString();
    const std::string folder = QFileInfo(copy).absolutePath().toStdString();
    RemoveFile(Join(folder, orphan.m_id, kSourceSuffix));
    RemoveFile(Join(folder, orphan.m_id, kReferencesSuffix));
    orphan.m_lock.reset();
    return {};
}

void RecoveryStore::Adopt(RecoveryOrphan &&orphan)
{
    if (!orphan.m_lock)
        return;
    Remove();
    m_lock.reset();
    m_folder = QFileInfo(QString::fromStdString(orphan.path)).absolutePath().toStdString();
    m_id = orphan.m_id;
    m_lock = std::move(orphan.m_lock);
    m_hasCopy = true;
    m_recordedSource = orphan.sourceFileName;
}

} // namespace hoofer
