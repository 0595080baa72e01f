#include "clipboard.h"

#include "toolkit/guard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace hoofer::toolkit {

void Clipboard::Put(const std::vector<Form> &forms, const std::string &text)
{
    auto *data = new QMimeData;
    for (const Form &form : forms)
        data->setData(QString::fromStdString(form.mimeType),
                      QByteArray(form.bytes.data(), static_cast<qsizetype>(form.bytes.size())));
    data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    // The clipboard owns the data from here on.
    QGuiApplication::clipboard()->setMimeData(data);
}

bool Clipboard::Has(const std::string &mimeType)
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(QString::fromStdString(mimeType));
}

std::optional<std::string> Clipboard::Data(const std::string &mimeType)
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    const QString type = QString::fromStdString(mimeType);
    if (!data || !data->hasFormat(type))
        return std::nullopt;
    const QByteArray bytes = data->data(type);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::optional<std::string> Clipboard::Text()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text().toStdString();
}

void Clipboard::WhenChanged(QObject *context, std::function<void()> changed)
{
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, context,
                     [changed = std::move(changed)] { RunGuarded(changed); });
}

} // namespace hoofer::toolkit
