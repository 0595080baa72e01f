#pragma once

#include <string>

namespace hoofer {

/// The file the routine in the editor belongs to, if any. A routine read
/// from a file or saved to one has that file as its own, and File > Save
/// writes to it without asking; a new routine and a download have none. A
/// restored recovery copy has none either, but remembers the file it came
/// from, which Save As proposes and a later recovery copy names again.
class DocumentFile {
public:
    /// Loaded from, or saved to, path.
    void SetOwnFile(const std::string &path);
    /// A routine of no file: a new one or a download.
    void Detach();
    /// A recovery copy taken back; source is where it came from ("" unknown).
    void Restored(const std::string &source);

    bool HasOwnFile() const { return !m_own.empty(); }
    const std::string &OwnFile() const { return m_own; }
    /// What Save As and the recovery copy name: the own file, else the
    /// source of a restored copy, else nothing.
    const std::string &Source() const { return m_own.empty() ? m_restoredSource : m_own; }

    /// The window's caption: "name.raw — appTitle", or appTitle alone without
    /// a file; a "*" follows the name (or the title) while modified.
    std::string Caption(const std::string &appTitle, bool modified) const;

private:
    std::string m_own;
    std::string m_restoredSource;
};

/// The file name File > Export Move as GIF proposes for a move: its name
/// trimmed as the move selector shows it, its bytes read as Latin-1 (as the window shows
/// them) and written in UTF-8, '/' and control characters as '_', then
/// ".gif"; "move.gif" for a blank name.
std::string GifNameForMove(const std::string &moveName);

} // namespace hoofer
