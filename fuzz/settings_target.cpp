// Hostile text through the settings reader: IniFile::Parse keeps every byte
// (Text() gives the input back), the editor's settings read from it are
// written back and read again unchanged, and a second write changes nothing.
// A number read back from its plain writing is the same number.
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "fuzz_check.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace hoofer;

/// What ParseInteger makes of a text must not depend on how the number is
/// written: the value it finds, written out plainly, reads back the same.
void CheckInteger(const std::string &text)
{
    const std::optional<int> value = IniFile::ParseInteger(text);
    if (!value)
        return;
    FUZZ_CHECK(IniFile::ParseInteger(std::to_string(*value)) == value);
    FUZZ_CHECK(IniFile::ParseInteger(" " + text + "\t") == value);
}

void CheckSettings(const EditorSettings &s)
{
    FUZZ_CHECK(s.GridSize > 0);
    for (const std::string *text : {&s.NetworkName, &s.FtpUserName, &s.FtpPassword})
        FUZZ_CHECK(text->find_first_of("\r\n") == std::string::npos);
}

} // namespace

void hoofer::fuzz::CheckInput(const uint8_t *bytes, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(bytes), size);
    CheckInteger(text);

    IniFile ini = IniFile::Parse(text);
    FUZZ_CHECK(ini.Text() == text);

    const EditorSettings read = ReadEditorSettings(ini);
    CheckSettings(read);
    const std::string value = ini.ReadString("Interface", "GridSize", "");
    FUZZ_CHECK(ini.HasKey("Interface", "GridSize") == ini.HasKey("INTERFACE", "gridsize"));
    CheckInteger(value);
    FUZZ_CHECK(ini.ReadInteger("Interface", "GridSize", -1) == IniFile::ParseInteger(value).value_or(-1));

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
}
