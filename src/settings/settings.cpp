#include "settings.h"

#include <filesystem>

#include <unistd.h>

namespace hoofer {

namespace {

constexpr const char *kInterface = "Interface";
constexpr const char *kNetwork = "Network";
constexpr const char *kView = "View";
constexpr const char *kEditing = "Editing";

std::string FirstLine(const std::string &value)
{
    return value.substr(0, value.find_first_of("\r\n"));
}

} // namespace

EditorSettings ReadEditorSettings(const IniFile &ini)
{
    EditorSettings s;
    s.DragWithoutShift = ini.ReadBool(kInterface, "DragWithoutShift", s.DragWithoutShift);
    s.PlayContinuously = ini.ReadBool(kInterface, "PlayContinuously", s.PlayContinuously);
    s.SnapToGrid = ini.ReadBool(kInterface, "SnapToGrid", s.SnapToGrid);
    s.GridSize = ini.ReadInteger(kInterface, "GridSize", kDefaultGridSize);
    if (s.GridSize <= 0)
        s.GridSize = kDefaultGridSize;
    s.NetworkName = ini.ReadString(kNetwork, "empegNetworkName", s.NetworkName);
    s.FtpUserName = ini.ReadString(kNetwork, "empegFTPUserName", s.FtpUserName);
    s.FtpPassword = ini.ReadString(kNetwork, "empegFTPPassword", s.FtpPassword);
    s.OnionSkin = ini.ReadBool(kView, "OnionSkin", s.OnionSkin);
    s.PlaybackSpeed = ini.ReadInteger(kView, "PlaybackSpeed", kNormalSpeed);
    if (s.PlaybackSpeed != kHalfSpeed && s.PlaybackSpeed != kQuarterSpeed)
        s.PlaybackSpeed = kNormalSpeed;
    s.KeyFrameStrip = ini.ReadBool(kView, "KeyFrameStrip", s.KeyFrameStrip);
    s.Zoom = ini.ReadInteger(kView, "Zoom", 1);
    if (s.Zoom < 1 || s.Zoom > 3)
        s.Zoom = 1;
    s.KeepBoneLengths = ini.ReadBool(kEditing, "KeepBoneLengths", s.KeepBoneLengths);
    s.CtrlZUndoesAnyChange = ini.ReadBool(kEditing, "CtrlZUndoesAnyChange", s.CtrlZUndoesAnyChange);
    s.ShowGrid = ini.ReadBool(kView, "ShowGrid", s.ShowGrid);
    s.FitPreviewToWindow = ini.ReadBool(kView, "FitPreviewToWindow", s.FitPreviewToWindow);
    s.Window = {ini.ReadInteger(kView, "WindowLeft", 0), ini.ReadInteger(kView, "WindowTop", 0),
                ini.ReadInteger(kView, "WindowWidth", 0), ini.ReadInteger(kView, "WindowHeight", 0)};
    if (s.Window.Width <= 0 || s.Window.Height <= 0)
        s.Window = {};
    return s;
}

void WriteEditorSettings(IniFile &ini, const EditorSettings &s)
{
    ini.WriteBool(kInterface, "DragWithoutShift", s.DragWithoutShift);
    ini.WriteBool(kInterface, "PlayContinuously", s.PlayContinuously);
    ini.WriteBool(kInterface, "SnapToGrid", s.SnapToGrid);
    ini.WriteInteger(kInterface, "GridSize", s.GridSize);
    ini.WriteString(kNetwork, "empegNetworkName", FirstLine(s.NetworkName));
    ini.WriteString(kNetwork, "empegFTPUserName", FirstLine(s.FtpUserName));
    ini.WriteString(kNetwork, "empegFTPPassword", FirstLine(s.FtpPassword));
    ini.WriteBool(kView, "OnionSkin", s.OnionSkin);
    ini.WriteInteger(kView, "PlaybackSpeed", s.PlaybackSpeed);
    ini.WriteBool(kView, "KeyFrameStrip", s.KeyFrameStrip);
    ini.WriteInteger(kView, "Zoom", s.Zoom);
    ini.WriteBool(kEditing, "KeepBoneLengths", s.KeepBoneLengths);
    ini.WriteBool(kEditing, "CtrlZUndoesAnyChange", s.CtrlZUndoesAnyChange);
    ini.WriteBool(kView, "ShowGrid", s.ShowGrid);
    ini.WriteBool(kView, "FitPreviewToWindow", s.FitPreviewToWindow);
    if (s.Window.Width > 0) {
        ini.WriteInteger(kView, "WindowLeft", s.Window.Left);
        ini.WriteInteger(kView, "WindowTop", s.Window.Top);
        ini.WriteInteger(kView, "WindowWidth", s.Window.Width);
        ini.WriteInteger(kView, "WindowHeight", s.Window.Height);
    }
}

std::string SettingsPathForExecutable(const std::string &exePath)
{
    // path::replace_extension looks at the file name only, so a dot in a
    // folder name is left alone and ".hidden" counts as a name, not an
    // extension.
    std::filesystem::path path(exePath);
    path.replace_extension(".ini");
    return path.string();
}

bool ProgramIsInstalled(const std::string &exePath)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(exePath).parent_path();
    if (folder.filename() != "bin")
        return false;
    std::error_code ec;
    return fs::is_regular_file(folder.parent_path() / "share/applications/org.hooferedit.HooferEdit.desktop", ec);
}

SettingsLocation ChooseSettingsLocation(const std::string &exeIniPath, const std::string &userConfigFolder,
                                        const std::function<bool(const std::string &folder)> &folderIsWritable,
                                        bool installed)
{
    namespace fs = std::filesystem;
    const fs::path beside(exeIniPath);
    // An installed program's folder belongs to the install (no package owns
    // a file written there), however writable it is.
    if (!installed && folderIsWritable(beside.parent_path().string()))
        return SettingsLocation(exeIniPath);
    const std::string own = (fs::path(userConfigFolder) / beside.filename()).string();
    std::error_code ec;
    if (!fs::exists(own, ec) && fs::exists(beside, ec))
        return SettingsLocation(exeIniPath, own);
    return SettingsLocation(own);
}

bool FolderIsWritable(const std::string &folder)
{
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace hoofer
