#include "ini_file.h"

#include "model/save_file.h"
#include "model/text_number.h"
#include "model/text_trim.h"

#include <filesystem>

namespace hoofer {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

/// Only spaces and tabs frame a name or a value: other characters are kept.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

/// The name of a "[name]" header line, or nothing for any other line.
std::optional<std::string_view> HeaderName(std::string_view text)
{
    const std::string_view t = Trim(text, IsBlank);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const size_t close = t.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(t.substr(1, close - 1), IsBlank);
}

/// Where the '=' of a "key=value" line is, or npos for blank lines, comments
/// and lines without a key.
size_t EqualsOf(std::string_view text)
{
    const std::string_view t = Trim(text, IsBlank);
    if (t.empty() || t.front() == ';' || t.front() == '#' || t.front() == '[')
        return std::string_view::npos;
    const size_t eq = text.find('=');
    if (eq == std::string_view::npos || Trim(text.substr(0, eq), IsBlank).empty())
        return std::string_view::npos;
    return eq;
}

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

IniFile IniFile::Parse(std::string_view text)
{
    IniFile ini;
    if (text.substr(0, kBom.size()) == kBom) {
        ini.m_bom = true;
        text.remove_prefix(kBom.size());
    }
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find_first_of("\r\n", pos);
        Line line;
        if (end == std::string_view::npos) {
            line.text = text.substr(pos);
            pos = text.size();
        } else {
            line.text = text.substr(pos, end - pos);
            const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
            line.ending = crlf ? "\r\n" : std::string(1, text[end]);
            pos = end + line.ending.size();
        }
        if (const auto name = HeaderName(line.text)) {
            Section section;
            section.name = *name;
            section.header = std::move(line);
            ini.m_sections.push_back(std::move(section));
        } else {
            ini.m_sections.back().lines.push_back(std::move(line));
        }
    }
    return ini;
}

IniFile IniFile::Load(const std::string &path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec)
        return IniFile{};
    std::string data, why;
    if (ec)
        why = ec.message();
    else if (ReadWholeFile(path, data, why))
        return Parse(data);
    throw IniFileError("Cannot read the settings file " + path + ": " + why);
}

std::string IniFile::Text() const
{
    // Appended piece by piece: a "text + ending" temporary for every line
    // would cost an allocation a line.
    std::string out;
    if (m_bom)
        out += kBom;
    for (const Section &section : m_sections) {
        if (section.header) {
            out += section.header->text;
            out += section.header->ending;
        }
        for (const Line &line : section.lines) {
            out += line.text;
            out += line.ending;
        }
    }
    return out;
}

void IniFile::Save(const std::string &path) const
{
    const std::string why = SaveFileAtomically(path, Text());
    if (!why.empty())
        throw IniFileError("Cannot write the settings file " + path + ": " + why);
}

std::optional<size_t> IniFile::SectionIndex(std::string_view name) const
{
    for (size_t i = 0; i < m_sections.size(); ++i)
        if (SameName(m_sections[i].name, name))
            return i;
    return std::nullopt;
}

std::optional<size_t> IniFile::KeyIndex(const Section &section, std::string_view key)
{
    for (size_t i = 0; i < section.lines.size(); ++i) {
        const std::string_view text = section.lines[i].text;
        const size_t eq = EqualsOf(text);
        if (eq != std::string_view::npos && SameName(Trim(text.substr(0, eq), IsBlank), key))
            return i;
    }
    return std::nullopt;
}

const IniFile::Line *IniFile::FindKey(std::string_view section, std::string_view key) const
{
    const auto s = SectionIndex(section);
    if (!s)
        return nullptr;
    const auto k = KeyIndex(m_sections[*s], key);
    return k ? &m_sections[*s].lines[*k] : nullptr;
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const
{
    return FindKey(section, key) != nullptr;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                const std::string &defaultValue) const
{
    const Line *line = FindKey(section, key);
    if (!line)
        return defaultValue;
    return line->text.substr(EqualsOf(line->text) + 1);
}

std::optional<int> IniFile::ParseInteger(std::string_view text)
{
    return hoofer::ParseInteger(Trim(text, IsBlank), HexPrefix::Only0x);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    const Line *line = FindKey(section, key);
    if (!line)
        return defaultValue;
    return ParseInteger(std::string_view(line->text).substr(EqualsOf(line->text) + 1))
        .value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    const Line *line = FindKey(section, key);
    if (!line)
        return defaultValue;
    const auto value = ParseInteger(std::string_view(line->text).substr(EqualsOf(line->text) + 1));
    return value ? *value != 0 : defaultValue;
}

std::string IniFile::DefaultEnding() const
{
    for (const Section &section : m_sections) {
        if (section.header && !section.header->ending.empty())
            return section.header->ending;
        for (const Line &line : section.lines)
            if (!line.ending.empty())
                return line.ending;
    }
    return "\n";
}

void IniFile::EndLastLine()
{
    Section &last = m_sections.back();
    Line *line = !last.lines.empty() ? &last.lines.back() : last.header ? &*last.header : nullptr;
    if (!line && m_sections.size() == 1)
        return; // nothing in the file yet
    if (line && line->ending.empty())
        line->ending = DefaultEnding();
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    if (HasLineBreak(section) || section.find(']') != std::string_view::npos
        || Trim(section, IsBlank) != section)
        throw std::invalid_argument("an INI section name cannot hold \"" + std::string(section) + "\"");
    const std::string_view k = Trim(key, IsBlank);
    if (k.empty() || k != key || HasLineBreak(key) || key.find('=') != std::string_view::npos
        || key.front() == '[' || key.front() == ';' || key.front() == '#')
        throw std::invalid_argument("an INI key cannot be \"" + std::string(key) + "\"");
    if (HasLineBreak(value))
        throw std::invalid_argument("the value of INI key " + std::string(key)
                                    + " holds a line break");

    const std::string text = std::string(key) + "=" + std::string(value);
    const auto index = SectionIndex(section);
    if (index) {
        Section &target = m_sections[*index];
        if (const auto k = KeyIndex(target, key)) {
            Line &line = target.lines[*k];
            line.text = line.text.substr(0, EqualsOf(line.text) + 1) + std::string(value);
            return;
        }
    } else {
        EndLastLine();
        const bool empty = m_sections.size() == 1 && m_sections[0].lines.empty();
        Section &last = m_sections.back();
        const bool lastIsBlank = !last.lines.empty() && Trim(last.lines.back().text, IsBlank).empty();
        if (!empty && !lastIsBlank)
            last.lines.push_back(Line{"", DefaultEnding()});
        Section added;
        added.name = section;
        added.header = Line{"[" + std::string(section) + "]", DefaultEnding()};
        added.lines.push_back(Line{text, DefaultEnding()});
        m_sections.push_back(std::move(added));
        return;
    }
    std::vector<Line> &lines = m_sections[*index].lines;
    size_t at = lines.size();
    while (at > 0 && Trim(lines[at - 1].text, IsBlank).empty())
        --at;
    if (at == lines.size() && *index + 1 == m_sections.size())
        EndLastLine();
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Line{text, DefaultEnding()});
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

} // namespace hoofer
