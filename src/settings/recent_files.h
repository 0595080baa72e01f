#pragma once

#include "settings/ini_file.h"

#include <string>
#include <vector>

namespace hoofer {

/// How many routines File > Open Recent lists.
inline constexpr int kRecentFileCount = 8;

/// The routines last loaded or saved, newest first, and the folder the file
/// dialogs start in: the folder of the file last opened or saved. Kept in the
/// settings file's "Files" section as "Recent1".."Recent8" and "LastFolder".
class RecentFiles {
public:
    /// Empty, duplicate and relative entries of the file are skipped.
    static RecentFiles Read(const IniFile &ini);
    /// Writes every entry and "LastFolder"; keys of entries that are gone
    /// are emptied, so a cleared list stays cleared.
    void Write(IniFile &ini) const;

    /// A file loaded or saved: first in the list (made absolute, an older
    /// entry of it dropped, the ninth one falling off), and its folder the
    /// last one. A name with a line break cannot be kept in the file and is
    /// left out of the list.
    void Add(const std::string &path);
    /// A file written elsewhere (an export): only its folder is remembered.
    void NoteFolderOf(const std::string &path);
    void Clear() { m_paths.clear(); }

    const std::vector<std::string> &Paths() const { return m_paths; }
    const std::string &LastFolder() const { return m_lastFolder; }

private:
    std::vector<std::string> m_paths;
    std::string m_lastFolder;
};

} // namespace hoofer
