#include "save_file.h"

#include <QFile>
#include <QSaveFile>

namespace hoofer {

std::string SaveFileAtomically(const std::string &path, const std::string &data)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString().toStdString();
    if (file.write(data.data(), static_cast<qint64>(data.size())) != static_cast<qint64>(data.size())) {
        const std::string why = file.errorString().toStdString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit())
        return file.errorString().toStdString();
    return {};
}

bool ReadWholeFile(const std::string &path, std::string &data, std::string &why)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString().toStdString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        why = file.errorString().toStdString();
        return false;
    }
    data.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

} // namespace hoofer
