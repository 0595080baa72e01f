#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace hoofer::toolkit {

/// Move names and other texts are bytes in the model; the window shows them
/// as Latin-1, so every byte is one character and comes back as the same byte.
inline QString ToQt(const std::string &bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

/// Characters beyond Latin-1 cannot be stored in a name byte; they become '?'.
inline std::string FromQt(const QString &text)
{
    const QByteArray latin1 = text.toLatin1();
    return std::string(latin1.constData(), static_cast<size_t>(latin1.size()));
}

/// File names are bytes on the system; Qt holds them as text in its own
/// file-name encoding. Every path that crosses into Qt or back goes through
/// these two. Qt cannot hold a name that is not valid UTF-8 faithfully, so
/// files themselves are opened by the byte path (model/save_file.h).
inline QString PathToQt(const std::string &path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string PathFromQt(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

/// A path as the window's messages carry text (Latin-1, see ToQt): each
/// character of the name as the system shows it, '?' for any beyond Latin-1.
inline std::string PathForMessage(const std::string &path)
{
    return FromQt(PathToQt(path));
}

} // namespace hoofer::toolkit
