#pragma once

#include "edit/grid_snap.h"
#include "settings/ini_file.h"
#include "view/playback.h"

#include <functional>
#include <string>

namespace hoofer {

/// The password the FTP client offers until the user sets another one.
inline constexpr const char *kDefaultFtpPassword = "hoofer@home";

/// A window's frame on the desktop: left, top, width and height in pixels.
struct WindowPlace {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const WindowPlace &) const = default;
};

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
    /// View > Onion Skin.
    bool OnionSkin = false;
    /// View > Playback Speed as the factor of every pause: 1, 2 or 4.
    int PlaybackSpeed = kNormalSpeed;
    /// View > Key Frame Strip.
    bool KeyFrameStrip = false;
    /// Options > Keep Bone Lengths.
    bool KeepBoneLengths = false;
    /// View > Zoom: the preview's scale, 1, 2 or 3.
    int Zoom = 1;
    /// Options > Ctrl+Z Undoes Any Change: Ctrl+Z and Ctrl+Y are Edit > Undo
    /// and Redo, and what the routine's history takes back is not asked about.
    bool CtrlZUndoesAnyChange = false;
    /// View > Show Grid: the grid's points and the ground behind the preview's figure.
    bool ShowGrid = false;
    /// View > Fit Preview to Window: a window the user sizes, the preview at
    /// the largest whole zoom that fits.
    bool FitPreviewToWindow = false;
    /// Where the window was and how large, kept while the preview fits the
    /// window; a width of 0 is none.
    WindowPlace Window;

    bool operator==(const EditorSettings &) const = default;
};

/// The settings held in the file; missing or unreadable values give their
/// defaults, a grid size of 0 or less reads as the default 5 (snapping
/// divides by it), a playback speed other than 1, 2 or 4 as 1 and a zoom
/// other than 1, 2 or 3 as 1.
EditorSettings ReadEditorSettings(const IniFile &ini);

/// Writes the settings into the file's "Interface", "Network" and "View"
/// sections, leaving every other line of the file alone. A line break in a
/// string would start a new line of the file, so strings are cut at the first
/// one.
void WriteEditorSettings(IniFile &ini, const EditorSettings &settings);

/// Where the settings of the program at exePath live: its path with the
/// extension replaced by ".ini", or ".ini" appended when the file name has
/// none.
std::string SettingsPathForExecutable(const std::string &exePath);

/// Where the editor reads its settings and where it writes them back.
struct SettingsLocation {
    std::string readPath;
    std::string writePath;

    SettingsLocation() = default;
    /// One file for both, as in the tests and the build folder.
    SettingsLocation(std::string path) : readPath(path), writePath(std::move(path)) {}
    SettingsLocation(std::string read, std::string write)
        : readPath(std::move(read)), writePath(std::move(write)) {}
    bool operator==(const SettingsLocation &) const = default;
};

/// Whether the program at exePath is installed: it lies in a folder "bin"
/// whose prefix holds the menu entry the install lays,
/// share/applications/org.hooferedit.HooferEdit.desktop.
bool ProgramIsInstalled(const std::string &exePath);

/// Chooses the settings file of the program whose own file would be exeIniPath
/// (see SettingsPathForExecutable). While the program is not installed and
/// the executable's folder is writable that file is used for both. Otherwise
/// (installed under /usr/bin or ~/.local/bin, say) the
/// user's file of the same name in userConfigFolder is written, and read when
/// it exists; until it does, the file beside the executable is read when there
/// is one, so an administrator can give everyone defaults.
SettingsLocation ChooseSettingsLocation(const std::string &exeIniPath, const std::string &userConfigFolder,
                                        const std::function<bool(const std::string &folder)> &folderIsWritable,
                                        bool installed = false);

/// Whether this process may create files in folder (access(2), W_OK and X_OK).
bool FolderIsWritable(const std::string &folder);

} // namespace hoofer
