#include "media/reference_clip.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLibrary>

#include <filesystem>
#include <stdexcept>

namespace hoofer {

namespace {

/// A still picture: the same frame at every time.
class StillPicture final : public ReferenceClip {
public:
    explicit StillPicture(const std::string &path)
    {
        QImageReader reader(QString::fromStdString(path));
        reader.setAutoTransform(true);  // a photo stands as it was taken
        const QSize size = reader.size();
        if (size.width() > kLargestReferenceSide || size.height() > kLargestReferenceSide)
            throw std::runtime_error("The picture " + path + " is " + std::to_string(size.width()) + " by "
                                     + std::to_string(size.height()) + " pixels: a reference can be at most 4096 by 4096.");
        m_frame.image = reader.read().convertToFormat(QImage::Format_RGB32);
        if (m_frame.image.isNull())
            throw std::runtime_error("Cannot read the picture " + path + ": " + reader.errorString().toStdString());
        if (m_frame.image.width() > kLargestReferenceSide || m_frame.image.height() > kLargestReferenceSide)
            throw std::runtime_error("The picture " + path + " is too large: a reference can be at most 4096 by 4096.");
    }
    QSize FrameSize() const override { return m_frame.image.size(); }
    double Duration() const override { return 0; }
    double FrameRate() const override { return 0; }
    ClipFrame FrameAt(double) override { return m_frame; }
    long long DecodedFrames() const override { return 1; }

private:
    ClipFrame m_frame;
};

/// The video module's entry; it throws std::runtime_error as ReferenceClip::Open does.
using OpenVideo = std::unique_ptr<ReferenceClip> *(*)(const std::string &path);

/// Loads the video module once: where it is installed beside the program,
/// else where this build made it. Null, with why, when neither loads.
OpenVideo VideoModule(std::string &why)
{
    static std::string failure;
    static const OpenVideo open = [] {
        // The program's own folder, with or without an application object.
        std::error_code ec;
        const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
        const QString installed = QDir(QString::fromStdString(program.parent_path().string()))
                                      .filePath(HOOFER_VIDEO_MODULE_INSTALLED "/" HOOFER_VIDEO_MODULE_NAME);
        for (const QString &candidate : {installed, QString(HOOFER_VIDEO_MODULE_BUILT)}) {
            QLibrary module(candidate);
            if (const auto entry = module.load() ? reinterpret_cast<OpenVideo>(module.resolve("hoofer_open_video")) : nullptr)
                return entry;
            failure = module.errorString().toStdString();
        }
        return OpenVideo{};
    }();
    why = failure;
    return open;
}

bool IsStillPicture(const std::string &path)
{
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    return suffix == "png" || suffix == "jpg" || suffix == "jpeg" || suffix == "bmp";
}

} // namespace

std::unique_ptr<ReferenceClip> ReferenceClip::Open(const std::string &path)
{
    if (IsStillPicture(path))
        return std::make_unique<StillPicture>(path);
    std::string why;
    const OpenVideo open = VideoModule(why);
    if (!open)
        throw std::runtime_error("Cannot read the video " + path + ": the video support " HOOFER_VIDEO_MODULE_NAME
                                 " cannot be loaded (" + why + ")");
    std::unique_ptr<std::unique_ptr<ReferenceClip>> clip(open(path));
    return std::move(*clip);
}

} // namespace hoofer
