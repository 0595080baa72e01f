#pragma once

#include <memory>
#include <string>
#include <vector>

class QLockFile;

namespace hoofer {

/// How long after the latest change the editor writes its recovery copy.
inline constexpr int kRecoveryDelayMs = 30000;

/// A recovery copy left behind by an editor that is no longer running. While
/// this object lives it holds that copy's lock, so no other editor starting at
/// the same time offers or takes the same copy; dropping it releases the lock
/// and leaves the copy for the next start.
struct RecoveryOrphan {
    RecoveryOrphan();
    RecoveryOrphan(RecoveryOrphan &&) noexcept;
    RecoveryOrphan &operator=(RecoveryOrphan &&) noexcept;
    ~RecoveryOrphan();

    std::string path;           ///< the copy: a plain routine file
    std::string sourceFileName; ///< the file the routine came from; empty when unknown
    std::string references;     ///< the moves' references as a sidecar's text; empty when none
    std::string image;          ///< the copy's bytes, when they could be read
    std::string error;          ///< why the copy could not be read; empty when it was
    long long copiedAtMs = 0;   ///< when the copy was written, in ms since 1970 UTC
    bool readable() const { return error.empty(); }

private:
    friend class RecoveryStore;
    std::string m_id;
    std::unique_ptr<QLockFile> m_lock;
};

/// The crash-recovery copies of unsaved routines, kept in one folder (by
/// default the user's data folder, "recovery/"). Each running editor has one
/// store and, from its first write on, one slot in the folder: the copy
/// ("<id>.raw", the routine's file image, written atomically so that a crash
/// mid-write leaves the previous copy whole), a side record of the file name
/// the routine came from ("<id>.source") and a lock file ("<id>.lock") held
/// for as long as the editor runs. A copy whose lock is stale, because the
/// editor that held it has ended without removing it, is an orphan that the
/// next editor offers to restore. The lock never goes stale by age, only when
/// its process has gone, so a live editor's copy is never taken by another.
class RecoveryStore {
public:
    /// A store in the given folder, which is created on the first write.
    explicit RecoveryStore(std::string folder = DefaultFolder());
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;
    /// Releases the lock but keeps the copy: only Remove() deletes it, so an
    /// editor that ends without a normal close leaves its copy to be offered.
    ~RecoveryStore();

    /// The user's data folder with "/recovery" appended, or empty when the
    /// system names none (the store then only reports that it cannot write).
    /// It depends on the application name, so set that first.
    static std::string DefaultFolder();

    const std::string &Folder() const { return m_folder; }
    /// Where this editor's copy is (or will be) written.
    std::string CopyPath() const;
    bool HasCopy() const { return m_hasCopy; }

    /// Writes the routine image as this editor's copy, with the name of the
    /// file it came from (empty when unknown) and its moves' references as a
    /// sidecar's text (empty when none), kept in a side record
    /// ("<id>.references.json"). Returns an empty string on success,
    /// otherwise a one-line message for the status line.
    std::string Write(const std::string &image, const std::string &sourceFileName,
                      const std::string &references = {});

    /// Deletes this editor's copy and its side record. The lock stays held
    /// (until the store goes) so the slot remains this editor's. Doing nothing
    /// when there is no copy, it is safe after every save, upload and
    /// replacement of the routine.
    void Remove();

    /// The orphaned copies in the folder, newest first, each locked for the
    /// caller. A copy that cannot be read, or is not a complete routine, comes
    /// with its error and should be left where it is. Lock files and side
    /// records left without a copy are cleared.
    static std::vector<RecoveryOrphan> FindOrphans(const std::string &folder = DefaultFolder());

    /// Deletes an orphan's copy and side record (the user declined it).
    /// Returns an empty string, or why the copy could not be deleted.
    static std::string Discard(RecoveryOrphan &orphan);

    /// Takes a restored orphan's slot over as this editor's own: its copy
    /// stays on disk, now locked by this editor, until the next Write replaces
    /// it or Remove deletes it. Any copy this store had is removed first.
    void Adopt(RecoveryOrphan &&orphan);

private:
    std::string PathOf(const std::string &suffix) const;
    std::string TakeLock();

    std::string m_folder;
    std::string m_id;
    std::unique_ptr<QLockFile> m_lock;
    bool m_hasCopy = false;
    std::string m_recordedSource; ///< what the side record holds
};

} // namespace hoofer
