#include "routine_report.h"

#include "model/latin1.h"
#include "terminal_text.h"
#include "model/routine_codec.h"
#include "view/playback.h"

#include <cstdio>

namespace hoofer {

namespace {

constexpr unsigned char kCarriageReturn = 0x0D;

std::string Hex(unsigned char b)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", b);
    return text;
}

std::string Plural(size_t n, const char *one, const char *many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

/// Characters, not bytes, so that names with Latin-1 letters line up.
size_t Utf8Length(const std::string &text)
{
    size_t n = 0;
    for (const char c : text)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

std::string PadRight(const std::string &text, size_t width)
{
    const size_t length = Utf8Length(text);
    return length >= width ? text : text + std::string(width - length, ' ');
}

std::string PadLeft(const std::string &text, size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

} // namespace

std::vector<Diagnostic> CheckRoutineImage(const std::string &data)
{
    using S = Diagnostic::Severity;
    std::vector<Diagnostic> found;
    const RoutineImageInfo info = InspectRoutineImage(data);
    if (info.empty) {
        found.push_back({S::Error, "the file is empty", false});
        return found;
    }
    const auto format = static_cast<unsigned char>(data[0]);
    if (format != kFormatByte)
        found.push_back({S::Warning,
                         "the format byte is " + std::to_string(format) + " (" + Hex(format)
                             + "), not 100",
                         true});
    if (!info.ok()) {
        found.push_back({S::Error, info.problem, false});
        return found;
    }
    size_t pos = 2;
    for (int m = 0; m < info.moveCount; ++m) {
        const std::string name = data.substr(pos, 12);
        const auto terminator = static_cast<unsigned char>(data[pos + 12]);
        const int frames = static_cast<unsigned char>(data[pos + 13]);
        const std::string which = "move " + std::to_string(m) + " (\"" + DisplayName(name) + "\")";
        if (terminator != kCarriageReturn)
            found.push_back({S::Warning,
                             which + ": byte 12 of the name is " + Hex(terminator)
                                 + ", not 0x0D (CR)",
                             true});
        if (frames == 0)
            found.push_back({S::Warning, which + " has no key frames and cannot be played", false});
        pos += kMoveHeaderSize + static_cast<size_t>(frames) * kFrameRecordSize;
    }
    if (info.trailingBytes > 0)
        found.push_back({S::Warning,
                         Plural(info.trailingBytes, "byte", "bytes")
                             + " after the last move (ignored when read, dropped when saved)",
                         true});
    return found;
}

std::string DisplayName(const std::string &moveName)
{
    return TerminalText(Latin1ToUtf8(TrimName(moveName)));
}

std::string DescribeRoutine(const TMoveList &moves, size_t fileSize, size_t trailingBytes)
{
    std::string out = "  #  name          key frames  pictures  playing time\n";
    for (size_t i = 0; i < moves.size(); ++i) {
        const THFMove &move = *moves[i];
        out += PadLeft(std::to_string(i), 3) + "  " + PadRight(DisplayName(move.MoveName), 12)
               + "  " + PadLeft(std::to_string(move.FrameCount), 10) + "  "
               + PadLeft(std::to_string(PassPictureCount(move)), 8) + "  "
               + PadLeft(PlayingTimeText(move), 12) + "\n";
    }
    out += Plural(moves.size(), "move", "moves") + ", " + Plural(fileSize, "byte", "bytes") + ", "
           + Plural(trailingBytes, "byte", "bytes") + " after the last move\n";
    return out;
}

} // namespace hoofer
