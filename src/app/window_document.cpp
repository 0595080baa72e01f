// The routine's file as the window shows it: the caption, File > Open Recent,
// the folder the file dialogs start in, and writing the settings file as
// soon as something in it changes.
#include "hoofer_window.h"

#include "toolkit/text.h"

#include <QDir>
#include <filesystem>

namespace hoofer {

void TfrmHoofer::UpdateCaption()
{
    m_captionShowsModified = Core.Modified();
    QString caption = toolkit::PathToQt(Core.File().Caption("Hoofer Editor V6", Core.Modified()));
    // Qt reads "[*]" in a title as the place of its own modified mark.
    setWindowTitle(caption.replace("[*]", "[*][*]"));
}

std::string TfrmHoofer::DialogFolder() const
{
    std::error_code ec;
    if (!Recent.LastFolder().empty() && std::filesystem::is_directory(Recent.LastFolder(), ec))
        return Recent.LastFolder();
    return toolkit::PathFromQt(QDir::homePath());
}

void TfrmHoofer::UpdateRecentMenu()
{
    const std::vector<std::string> &paths = Recent.Paths();
    for (size_t slot = 0; slot < mnuFileOpenRecentItems.size(); ++slot) {
        toolkit::TMenuItem *item = mnuFileOpenRecentItems[slot];
        const bool used = slot < paths.size();
        item->SetVisible(used);
        if (!used) {
            item->SetEnabled(false);
            continue;
        }
        // "&" in a name would mark an access letter.
        item->SetCaption("&" + QString::number(slot + 1) + " " + toolkit::PathToQt(paths[slot]).replace("&", "&&"));
        std::error_code ec;
        item->SetEnabled(std::filesystem::exists(paths[slot], ec));
    }
    mnuFileOpenRecentSeparator->SetVisible(!paths.empty());
    mnuFileOpenRecent->SetEnabled(!paths.empty());
}

void TfrmHoofer::mnuFileOpenRecentClick(int slot)
{
    if (slot < 0 || slot >= static_cast<int>(Recent.Paths().size()))
        return;
    // A copy: a successful load reorders the list.
    const std::string path = Recent.Paths()[slot];
    if (ConfirmReplace())
        OpenRoutineFile(path);
}

void TfrmHoofer::mnuFileOpenRecentClearClick()
{
    Recent.Clear();
    UpdateRecentMenu();
    SettingsChanged();
}

void TfrmHoofer::SettingsChanged()
{
    ShowOptions();
    // Before the file has been read, writing would put defaults over it.
    if (m_settingsLoaded)
        SaveSettings();
}

} // namespace hoofer
