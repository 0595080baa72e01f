// Hostile text through the settings reader: IniFile::Parse keeps every byte
// (Text() gives the input back), the editor's settings read from it are
// written back and read again unchanged, and a second write changes nothing.
// Numbers are checked against a reading of their own.
#include "app/ini_file.h"
#include "app/settings.h"
#include "fuzz_check.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace hoofer;

bool Blank(char c) { return c == ' ' || c == '\t'; }

/// Decimal, or hexadecimal after 0x/0X, with blanks around and one sign.
std::optional<int> ExpectedInteger(std::string_view t)
{
    while (!t.empty() && Blank(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && Blank(t.back()))
        t.remove_suffix(1);
    bool negative = false;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    int base = 10;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t.remove_prefix(2);
    }
    if (t.empty())
        return std::nullopt;
    long long value = 0;
    for (char c : t) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

void CheckSettings(const EditorSettings &s)
{
    FUZZ_CHECK(s.GridSize > 0);
    for (const std::string *text : {&s.NetworkName, &s.FtpUserName, &s.FtpPassword})
        FUZZ_CHECK(text->find_first_of("\r\n") == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(bytes), size);
    FUZZ_CHECK(IniFile::ParseInteger(text) == ExpectedInteger(text));

    IniFile ini = IniFile::Parse(text);
    FUZZ_CHECK(ini.Text() == text);

    const EditorSettings read = ReadEditorSettings(ini);
    CheckSettings(read);
    const std::string value = ini.ReadString("Interface", "GridSize", "");
    FUZZ_CHECK(ini.HasKey("Interface", "GridSize") == ini.HasKey("INTERFACE", "gridsize"));
    FUZZ_CHECK(ini.ReadInteger("Interface", "GridSize", -1) == ExpectedInteger(value).value_or(-1));

    // What the editor does on exit, and on the next start.
    WriteEditorSettings(ini, read);
    const std::string written = ini.Text();
    IniFile reread = IniFile::Parse(written);
    FUZZ_CHECK(reread.Text() == written);
    FUZZ_CHECK(ReadEditorSettings(reread) == read);

    // Settings other than the ones read: every field changed, then changed
    // back, which leaves the text as the first write made it.
    EditorSettings other = read;
    other.DragWithoutShift = !other.DragWithoutShift;
    other.PlayContinuously = !other.PlayContinuously;
    other.SnapToGrid = !other.SnapToGrid;
    other.GridSize = other.GridSize == INT_MAX ? 1 : other.GridSize + 1;
    other.NetworkName += "x";
    other.FtpUserName = " " + other.FtpUserName;
    other.FtpPassword += "=;[";
    WriteEditorSettings(reread, other);
    FUZZ_CHECK(ReadEditorSettings(reread) == other);
    WriteEditorSettings(reread, read);
    FUZZ_CHECK(reread.Text() == written);
    return 0;
}
