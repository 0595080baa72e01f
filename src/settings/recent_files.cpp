#include "settings/recent_files.h"

#include <algorithm>
#include <filesystem>

namespace hoofer {

namespace {

constexpr const char *kFiles = "Files";

std::string Key(int slot)
{
    return "Recent" + std::to_string(slot + 1);
}

bool Storable(const std::string &text)
{
    return text.find_first_of("\r\n") == std::string::npos;
}

std::string Absolute(const std::string &path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

} // namespace

RecentFiles RecentFiles::Read(const IniFile &ini)
{
    RecentFiles recent;
    for (int slot = 0; slot < kRecentFileCount; ++slot) {
        const std::string path = ini.ReadString(kFiles, Key(slot), "");
        if (!path.empty() && std::filesystem::path(path).is_absolute()
            && std::find(recent.m_paths.begin(), recent.m_paths.end(), path) == recent.m_paths.end())
            recent.m_paths.push_back(path);
    }
    recent.m_lastFolder = ini.ReadString(kFiles, "LastFolder", "");
    return recent;
}

void RecentFiles::Write(IniFile &ini) const
{
    for (int slot = 0; slot < kRecentFileCount; ++slot) {
        const bool used = slot < static_cast<int>(m_paths.size());
        if (used || ini.HasKey(kFiles, Key(slot)))
            ini.WriteString(kFiles, Key(slot), used ? m_paths[slot] : "");
    }
    ini.WriteString(kFiles, "LastFolder", m_lastFolder);
}

void RecentFiles::Add(const std::string &path)
{
    NoteFolderOf(path);
    if (!Storable(path))
        return;
    const std::string absolute = Absolute(path);
    std::erase(m_paths, absolute);
    m_paths.insert(m_paths.begin(), absolute);
    if (m_paths.size() > static_cast<size_t>(kRecentFileCount))
        m_paths.resize(kRecentFileCount);
}

void RecentFiles::NoteFolderOf(const std::string &path)
{
    const std::string folder = std::filesystem::path(Absolute(path)).parent_path().string();
    if (Storable(folder))
        m_lastFolder = folder;
}

} // namespace hoofer
