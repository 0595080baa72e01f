#include "edit/document_file.h"

#include "model/move.h"

#include <filesystem>

namespace hoofer {

void DocumentFile::SetOwnFile(const std::string &path)
{
    m_own = path;
    m_restoredSource.clear();
}

void DocumentFile::Detach()
{
    m_own.clear();
    m_restoredSource.clear();
}

void DocumentFile::Restored(const std::string &source)
{
    m_own.clear();
    m_restoredSource = source;
}

std::string DocumentFile::Caption(const std::string &appTitle, bool modified) const
{
    const std::string mark = modified ? "*" : "";
    if (m_own.empty())
        return appTitle + mark;
    return std::filesystem::path(m_own).filename().string() + mark + " — " + appTitle;
}

std::string GifNameForMove(const std::string &moveName)
{
    const std::string trimmed = TrimName(moveName);
    if (trimmed.empty())
        return "move.gif";
    std::string name;
    for (const char c : trimmed) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || byte == '/') {
            name += '_';
        } else if (byte < 0x80) {
            name += c;
        } else {
            name += static_cast<char>(0xC0 | (byte >> 6));
            name += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return name + ".gif";
}

} // namespace hoofer
