#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace hoofer {

/// Raised when a settings file cannot be read or written; the message names
/// the file and the reason.
class IniFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A small INI reader and writer that changes only what it is asked to.
///
/// The editor rewrites its settings file on every exit, and users keep notes
/// and keys of their own in it, so every line it does not own (unknown
/// sections and keys, comments, blank lines, odd spacing, each line's own line
/// ending) goes back to disk exactly as it was read. Values are stored without
/// quotes or escapes. Section and key names compare without regard to ASCII
/// case. The first occurrence of a section or key is the one read and written.
class IniFile {
public:
    IniFile() = default;

    /// Parses INI text; never fails (a line that is neither a section header
    /// nor a "key=value" pair is kept as an ordinary comment line).
    static IniFile Parse(std::string_view text);

    /// Reads the file at path; a missing file reads as empty. Raises
    /// IniFileError when the file exists but cannot be read.
    static IniFile Load(const std::string &path);

    /// The complete text, ready to be written.
    std::string Text() const;

    /// Writes Text() to path atomically; raises IniFileError naming the path
    /// and the reason when the file cannot be written.
    void Save(const std::string &path) const;

    bool HasKey(std::string_view section, std::string_view key) const;

    /// The value exactly as it follows the first '=' of its line.
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string &defaultValue) const;
    /// Decimal, or hexadecimal after "0x"/"0X"; blanks around the number and
    /// a sign are allowed. Anything else, or a number outside int, gives the
    /// default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    /// Read as an integer: 0 is false, any other number true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    /// Sets the value of the key's first occurrence, keeping the line's own
    /// spelling of the key; a missing key is added after the last non-blank
    /// line of its section, a missing section at the end of the file. Raises
    /// std::invalid_argument for names or values that cannot be stored on one
    /// line (line breaks; '=' or a leading '[' or ';' in a key; ']' in a
    /// section name).
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    /// The number the text holds, if it holds exactly one (see ReadInteger).
    static std::optional<int> ParseInteger(std::string_view text);

private:
    struct Line {
        std::string text;   ///< without its line ending
        std::string ending; ///< "\r\n", "\n", "\r" or "" for a last line without one
    };
    /// A section is a run of lines: its header (absent for the lines before
    /// the first header) and the lines up to the next header.
    struct Section {
        std::string name;
        std::optional<Line> header;
        std::vector<Line> lines;
    };

    std::optional<size_t> SectionIndex(std::string_view name) const;
    /// Index into the section's lines of the key's first line.
    static std::optional<size_t> KeyIndex(const Section &section, std::string_view key);
    const Line *FindKey(std::string_view section, std::string_view key) const;
    std::string DefaultEnding() const;
    void EndLastLine();

    bool m_bom = false;
    std::vector<Section> m_sections{Section{}};
};

} // namespace hoofer
