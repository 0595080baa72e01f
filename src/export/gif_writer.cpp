#include "export/gif_writer.h"

#include "model/save_file.h"

#include <gif_lib.h>

#include <memory>
#include <unordered_map>

namespace hoofer {

namespace {

constexpr int kMaxColours = 256;
constexpr int kMaxSide = 65535;

std::string GiflibReason(int code)
{
    const char *text = GifErrorString(code);
    return std::string("giflib: ") + (text ? text : "error " + std::to_string(code));
}

int AppendToString(GifFileType *gif, const GifByteType *data, int length)
{
    static_cast<std::string *>(gif->UserData)->append(reinterpret_cast<const char *>(data),
                                                     static_cast<size_t>(length));
    return length;
}

/// Closes the encoder on every path out; a close after a failure only frees.
struct GifCloser {
    void operator()(GifFileType *gif) const
    {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

void Check(int result, GifFileType *gif)
{
    if (result == GIF_ERROR)
        throw GifWriteError(GiflibReason(gif->Error));
}

struct Palette {
    std::vector<GifColorType> colours;
    std::unordered_map<QRgb, GifPixelType> index;
};

Palette BuildPalette(const std::vector<QImage> &images)
{
    Palette palette;
    for (const QImage &image : images)
        for (int y = 0; y < image.height(); ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QRgb rgb = row[x] & 0xFFFFFFu;
                if (palette.index.contains(rgb))
                    continue;
                if (palette.colours.size() == kMaxColours)
                    throw GifWriteError("the pictures use more than 256 colours, more than a GIF holds");
                palette.index.emplace(rgb, static_cast<GifPixelType>(palette.colours.size()));
                palette.colours.push_back(GifColorType{static_cast<GifByteType>(qRed(rgb)),
                                                       static_cast<GifByteType>(qGreen(rgb)),
                                                       static_cast<GifByteType>(qBlue(rgb))});
            }
        }
    // giflib wants a power of two of at least 2 entries; the rest stay black.
    size_t size = 2;
    while (size < palette.colours.size())
        size *= 2;
    palette.colours.resize(size, GifColorType{0, 0, 0});
    return palette;
}

void PutLoopBlock(GifFileType *gif, int loopCount)
{
    static const char kApplication[] = "NETSCAPE2.0";
    const unsigned char loop[3] = {1, static_cast<unsigned char>(loopCount & 0xFF),
                                   static_cast<unsigned char>((loopCount >> 8) & 0xFF)};
    Check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE), gif);
    Check(EGifPutExtensionBlock(gif, 11, kApplication), gif);
    Check(EGifPutExtensionBlock(gif, 3, loop), gif);
    Check(EGifPutExtensionTrailer(gif), gif);
}

void PutPicture(GifFileType *gif, const QImage &image, int delayCs, int scale, const Palette &palette)
{
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delayCs;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension), gif);

    const int width = image.width() * scale;
    const int height = image.height() * scale;
    Check(EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr), gif);
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y / scale));
        for (int x = 0; x < width; ++x)
            line[static_cast<size_t>(x)] = palette.index.at(row[x / scale] & 0xFFFFFFu);
        Check(EGifPutLine(gif, line.data(), width), gif);
    }
}

} // namespace

std::string EncodeAnimatedGif(const std::vector<GifFrame> &frames, const GifOptions &options)
{
    if (frames.empty())
        throw GifWriteError("there are no pictures to write");
    if (options.scale < 1)
        throw GifWriteError("the scale must be 1 or more, not " + std::to_string(options.scale));
    if (options.loopCount < 0 || options.loopCount > 65535)
        throw GifWriteError("the loop count must be 0..65535, not " + std::to_string(options.loopCount));

    std::vector<QImage> images;
    images.reserve(frames.size());
    const QSize size = frames.front().image.size();
    if (size.isEmpty())
        throw GifWriteError("the pictures are empty");
    if (static_cast<long long>(size.width()) * options.scale > kMaxSide
        || static_cast<long long>(size.height()) * options.scale > kMaxSide)
        throw GifWriteError("a GIF is at most 65535 pixels wide and high");
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].image.size() != size)
            throw GifWriteError("picture " + std::to_string(i + 1) + " is not the size of the first");
        if (frames[i].delayCs < 0 || frames[i].delayCs > 65535)
            throw GifWriteError("the delay of picture " + std::to_string(i + 1)
                                + " is outside 0..65535 hundredths of a second");
        images.push_back(frames[i].image.convertToFormat(QImage::Format_RGB32));
    }
    const Palette palette = BuildPalette(images);

    std::string out;
    int error = 0;
    GifHandle gif(EGifOpen(&out, AppendToString, &error));
    if (!gif)
        throw GifWriteError(GiflibReason(error));
    EGifSetGifVersion(gif.get(), true);

    ColorMapObject *map = GifMakeMapObject(static_cast<int>(palette.colours.size()),
                                           palette.colours.data());
    if (!map)
        throw GifWriteError("giflib: cannot make a colour map");
    const int result = EGifPutScreenDesc(gif.get(), size.width() * options.scale,
                                         size.height() * options.scale, 8, 0, map);
    GifFreeMapObject(map); // the encoder keeps its own copy
    Check(result, gif.get());
    if (options.loop)
        PutLoopBlock(gif.get(), options.loopCount);
    for (size_t i = 0; i < images.size(); ++i)
        PutPicture(gif.get(), images[i], frames[i].delayCs, options.scale, palette);

    GifFileType *raw = gif.release();
    if (EGifCloseFile(raw, &error) == GIF_ERROR)
        throw GifWriteError(GiflibReason(error));
    return out;
}

std::string SaveAnimatedGif(const std::string &path, const std::vector<GifFrame> &frames,
                            const GifOptions &options)
{
    std::string data;
    try {
        data = EncodeAnimatedGif(frames, options);
    } catch (const GifWriteError &e) {
        return e.what();
    }
    if (const std::string why = SaveFileAtomically(path, data); !why.empty())
        return "cannot write: " + why;
    return {};
}

} // namespace hoofer
