#pragma once

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

} // namespace hoofer::toolkit
