#include "media/reference_clip.h"

#include "media/video_file.h"

#include <QFileInfo>
#include <QImageReader>

#include <stdexcept>

namespace hoofer {

namespace {

/// A still picture: the same frame at every time.
class StillPicture final : public ReferenceClip {
public:
    explicit StillPicture(const std::string &path)
    {
        QImageReader reader(QString::fromStdString(path));
        const QSize size = reader.size();
        if (size.width() > kLargestReferenceSide || size.height() > kLargestReferenceSide)
            throw std::runtime_error("The picture " + path + " is " + std::to_string(size.width()) + " by "
                                     + std::to_string(size.height()) + " pixels: a reference can be at most 4096 by 4096.");
        m_frame.image = reader.read().convertToFormat(QImage::Format_RGB32);
        if (m_frame.image.isNull())
            throw std::runtime_error("Cannot read the picture " + path + ": " + reader.errorString().toStdString());
    }
    QSize FrameSize() const override { return m_frame.image.size(); }
    double Duration() const override { return 0; }
    double FrameRate() const override { return 0; }
    ClipFrame FrameAt(double) override { return m_frame; }
    long long DecodedFrames() const override { return 1; }

private:
    ClipFrame m_frame;
};

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
    return std::make_unique<VideoFile>(path);
}

} // namespace hoofer
