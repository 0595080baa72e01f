// Reading the settings file into the Options and View menus, the grid size, the
// network name, the FTP credentials and the recent files, and writing them
// back whenever they change and at the end.
#include "hoofer_window.h"

#include "settings/ini_file.h"
#include "settings/settings.h"
#include "device/id_ftp.h"

#include <cstdio>
#include <exception>
#include <filesystem>

namespace hoofer {

void TfrmHoofer::LoadSettings()
{
    EditorSettings settings;
    IniFile ini;
    try {
        ini = IniFile::Load(m_settingsReadPath);
        settings = ReadEditorSettings(ini);
    } catch (const std::exception &e) {
        // An unreadable file gives every default, as a missing one does.
        std::fprintf(stderr, "HooferEdit: %s\n", e.what());
    }
    Options = settings;
    // The strip, the zoom and the fit change the window's size, which they follow.
    Options.KeyFrameStrip = m_stripShown;
    Options.Zoom = Image->Zoom();
    Options.FitPreviewToWindow = m_fitting;
    SetKeyFrameStripShown(settings.KeyFrameStrip);
    SetZoom(settings.Zoom);
    SetFitPreviewToWindow(settings.FitPreviewToWindow);
    ShowOptions();
    NetworkName = settings.NetworkName;
    IdFTP->Username = settings.FtpUserName;
    IdFTP->Password = settings.FtpPassword;
    Recent = RecentFiles::Read(ini);
    UpdateRecentMenu();
    m_settingsLoaded = true;
}

void TfrmHoofer::ShowOptions()
{
    mnuOptionsDragWithoutShift->SetChecked(Options.DragWithoutShift);
    mnuOptionsPlayContinuously->SetChecked(Options.PlayContinuously);
    mnuOptionsKeepBoneLengths->SetChecked(Options.KeepBoneLengths);
    mnuOptionsCtrlZUndoesAnyChange->SetChecked(Options.CtrlZUndoesAnyChange);
    mnuViewShowGrid->SetChecked(Options.ShowGrid);
    mnuViewFitPreviewToWindow->SetChecked(Options.FitPreviewToWindow);
    mnuOptionGridSnapToGrid->SetChecked(Options.SnapToGrid);
    mnuOptionGridCurrentSize->SetCaption(QString::number(Options.GridSize) + " Pixels");
    mnuViewOnionSkin->SetChecked(Options.OnionSkin);
    mnuViewKeyFrameStrip->SetChecked(Options.KeyFrameStrip);
    mnuViewPlaybackSpeedNormal->SetChecked(Options.PlaybackSpeed == kNormalSpeed);
    mnuViewPlaybackSpeedHalf->SetChecked(Options.PlaybackSpeed == kHalfSpeed);
    mnuViewPlaybackSpeedQuarter->SetChecked(Options.PlaybackSpeed == kQuarterSpeed);
    mnuViewZoom1->SetChecked(Options.Zoom == 1);
    mnuViewZoom2->SetChecked(Options.Zoom == 2);
    mnuViewZoom3->SetChecked(Options.Zoom == 3);
    ShowUndoKeys();
    ShowBackdrop(true);
}

void TfrmHoofer::SaveSettings()
{
    RememberPlace();
    EditorSettings settings = Options;
    settings.NetworkName = NetworkName;
    settings.FtpUserName = IdFTP->Username;
    settings.FtpPassword = IdFTP->Password;
    try {
        // A file that is there but cannot be read is left alone: writing it
        // anew would lose every line of it that is not the editor's.
        // The user's own file may be the first in its folder.
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(m_settingsPath).parent_path(), ec);
        IniFile ini = IniFile::Load(m_settingsPath);
        WriteEditorSettings(ini, settings);
        Recent.Write(ini);
        ini.Save(m_settingsPath);
    } catch (const std::exception &e) {
        // Reported once; the program still ends normally.
        std::fprintf(stderr, "HooferEdit: the settings were not saved: %s\n", e.what());
    }
}

} // namespace hoofer
