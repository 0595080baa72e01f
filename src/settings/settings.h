#pragma once

#include "edit/grid_snap.h"
#include "settings/ini_file.h"

#include <string>

namespace hoofer {

/// The password the FTP client offers until the user sets another one.
inline constexpr const char *kDefaultFtpPassword = "hoofer@home";

/// Everything the editor keeps between runs: the Options menu's check marks,
/// the grid size and the player's network settings. Plain values, so that the
/// window and the command-line tool can share them without any window.
struct EditorSettings {
    bool DragWithoutShift = false;
    bool PlayContinuously = false;
    bool SnapToGrid = false;
    int GridSize = kDefaultGridSize;
    std::string NetworkName;
    std::string FtpUserName = "Anonymous";
    std::string FtpPassword = kDefaultFtpPassword;

    bool operator==(const EditorSettings &) const = default;
};

/// The settings held in the file; missing or unreadable values give their
/// defaults, and a grid size of 0 or less reads as the default 5 (snapping
/// divides by it).
EditorSettings ReadEditorSettings(const IniFile &ini);

/// Writes the seven settings into the file's "Interface" and "Network"
/// sections, leaving every other line of the file alone. A line break in a
/// string would start a new line of the file, so strings are cut at the first
/// one.
void WriteEditorSettings(IniFile &ini, const EditorSettings &settings);

/// Where the settings of the program at exePath live: its path with the
/// extension replaced by ".ini", or ".ini" appended when the file name has
/// none.
std::string SettingsPathForExecutable(const std::string &exePath);

} // namespace hoofer
