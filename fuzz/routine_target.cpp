// Hostile bytes through the routine reader: DecodeRoutine either refuses them
// with a RoutineFormatError, leaving a routine held before exactly as it was,
// or builds moves whose image reads back to the same moves and bytes.
#include "fuzz_check.h"
#include "model/routine_codec.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace hoofer;

/// The routine the editor holds before the load: every field non-zero, so a
/// stray write anywhere would show in its image.
TMoveList HeldRoutine()
{
    TMoveList moves;
    moves.push_back(MakeStandingMove());
    auto second = MakeStandingMove();
    second->MoveName = "Kept        \r";
    second->Frames[0]->Displacement = -7;
    auto frame = std::make_unique<THFFrame>();
    for (int i = 0; i < kPartCount; ++i)
        frame->Points[i] = {i * 20 + 1, 255 - i};
    frame->Interpolation = 9;
    frame->Displacement = 127;
    second->Frames.push_back(std::move(frame));
    second->SyncFrameCount();
    moves.push_back(std::move(second));
    return moves;
}

bool SameMoves(const TMoveList &a, const TMoveList &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t m = 0; m < a.size(); ++m) {
        const THFMove &x = *a[m];
        const THFMove &y = *b[m];
        if (x.MoveName != y.MoveName || x.FrameCount != y.FrameCount
            || x.Frames.size() != y.Frames.size()
            || static_cast<size_t>(x.FrameCount) != x.Frames.size())
            return false;
        for (size_t f = 0; f < x.Frames.size(); ++f) {
            const THFFrame &p = *x.Frames[f];
            const THFFrame &q = *y.Frames[f];
            if (p.Points != q.Points || p.Interpolation != q.Interpolation
                || p.Displacement != q.Displacement)
                return false;
        }
    }
    return true;
}

/// What EncodeRoutine must give for an accepted image: the bytes the header
/// and records take, with the format byte and each name's closing byte as
/// the editor writes them.
std::string ExpectedImage(const std::string &data, size_t used)
{
    std::string image = data.substr(0, used);
    image[0] = static_cast<char>(kFormatByte);
    size_t pos = 2;
    while (pos < used) {
        image[pos + 12] = '\r';
        const size_t frames = static_cast<unsigned char>(image[pos + 13]);
        pos += kMoveHeaderSize + frames * kFrameRecordSize;
    }
    FUZZ_CHECK(pos == used);
    return image;
}

} // namespace

void hoofer::fuzz::CheckInput(const uint8_t *bytes, size_t size)
{
    static const std::string heldImage = EncodeRoutine(HeldRoutine());
    const std::string data(reinterpret_cast<const char *>(bytes), size);
    const RoutineImageInfo info = InspectRoutineImage(data);

    TMoveList held = DecodeRoutine(heldImage);
    bool accepted = false;
    try {
        held = DecodeRoutine(data);
        accepted = true;
    } catch (const RoutineFormatError &e) {
        FUZZ_CHECK(std::string(e.what()).size() > 0);
        FUZZ_CHECK(!info.ok());
        FUZZ_CHECK(info.empty == data.empty());
        FUZZ_CHECK(EncodeRoutine(held) == heldImage);
    }
    if (!accepted)
        return;

    FUZZ_CHECK(info.ok());
    FUZZ_CHECK(info.usedBytes + info.trailingBytes == data.size());
    FUZZ_CHECK(held.size() == static_cast<size_t>(info.moveCount));
    FUZZ_CHECK(RoutineLimitProblem(held).empty());

    const std::string first = EncodeRoutine(held);
    FUZZ_CHECK(first == ExpectedImage(data, info.usedBytes));
    const TMoveList again = DecodeRoutine(first);
    FUZZ_CHECK(EncodeRoutine(again) == first);
    for (size_t m = 0; m < held.size(); ++m) {
        // A name reads back as its first 12 bytes and a CR, the rest as it was.
        FUZZ_CHECK(again[m]->MoveName == held[m]->MoveName.substr(0, 12) + '\r');
        FUZZ_CHECK(TrimName(again[m]->MoveName) == TrimName(held[m]->MoveName.substr(0, 12)));
        again[m]->MoveName = held[m]->MoveName;
    }
    FUZZ_CHECK(SameMoves(again, held));
}
