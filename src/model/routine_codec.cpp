#include "routine_codec.h"

namespace hoofer {

namespace {

unsigned char Byte(const std::string &s, size_t i)
{
    return static_cast<unsigned char>(s[i]);
}

std::string Plural(size_t n, const char *one, const char *many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::string TakeBytes(std::string &buffer, size_t n)
{
    if (n > buffer.size())
        throw RoutineFormatError("truncated: " + Plural(n, "byte", "bytes") + " wanted, "
                                 + Plural(buffer.size(), "byte remains", "bytes remain"));
    std::string head = buffer.substr(0, n);
    buffer.erase(0, n);
    return head;
}

int SignedByte(int value)
{
    return (value & 0x80) ? (value & 0x7F) - 128 : (value & 0x7F);
}

namespace {
/// Reads the 26-byte frame record that starts at data[pos].
void ReadFrameRecord(const std::string &data, size_t pos, THFFrame &frame)
{
    const auto *record = reinterpret_cast<const unsigned char *>(data.data()) + pos;
    for (size_t i = 0; i < frame.Points.size(); ++i)
        frame.Points[i] = {record[2 * i], record[2 * i + 1]};
    frame.Interpolation = record[kInterpolationByte];
    frame.Displacement = SignedByte(record[kDisplacementByte]);
}
} // namespace

void TakeFrameSnapshot(std::string &buffer, THFFrame &frame)
{
    ReadFrameRecord(TakeBytes(buffer, kFrameRecordSize), 0, frame);
}

void AppendFrameSnapshot(std::string &buffer, const THFFrame &frame)
{
    char record[kFrameRecordSize];
    for (int n = 1; n <= kPartCount; ++n) {
        record[2 * n - 2] = static_cast<char>(frame.Point(n).X & 0xFF);
        record[2 * n - 1] = static_cast<char>(frame.Point(n).Y & 0xFF);
    }
    record[kInterpolationByte] = static_cast<char>(frame.Interpolation & 0xFF);
    record[kDisplacementByte] = static_cast<char>(SignedByte(frame.Displacement) & 0xFF);
    buffer.append(record, kFrameRecordSize);
}

std::string FrameSnapshot(const THFFrame &frame)
{
    std::string s;
    AppendFrameSnapshot(s, frame);
    return s;
}

void WriteMove(std::string &buffer, const THFMove &move)
{
    buffer += (move.MoveName + std::string(kMoveNameLength, ' ')).substr(0, kMoveNameLength);
    buffer += '\r';
    buffer += static_cast<char>(move.FrameCount & 0xFF);
    for (int i = 0; i < move.FrameCount; ++i)
        AppendFrameSnapshot(buffer, *move.Frames.at(i));
}

RoutineImageInfo InspectRoutineImage(const std::string &data)
{
    RoutineImageInfo info;
    if (data.empty()) {
        info.empty = true;
        return info;
    }
    if (data.size() < 2) {
        info.problem = "truncated: the header needs 2 bytes, 1 byte remains";
        return info;
    }
    info.moveCount = Byte(data, 1) + 1;
    size_t pos = 2;
    for (int m = 0; m < info.moveCount; ++m) {
        const size_t left = data.size() - pos;
        if (left < kMoveHeaderSize) {
            info.problem = "truncated: move " + std::to_string(m) + " of "
                           + std::to_string(info.moveCount) + " needs a 14-byte name and count, "
                           + Plural(left, "byte remains", "bytes remain");
            return info;
        }
        const int frames = Byte(data, pos + kFrameCountByte);
        const size_t need = static_cast<size_t>(frames) * kFrameRecordSize;
        const size_t after = left - kMoveHeaderSize;
        if (after < need) {
            info.problem = "truncated: move " + std::to_string(m) + " announces "
                           + Plural(frames, "key frame", "key frames") + ", "
                           + Plural(after, "byte remains", "bytes remain");
            return info;
        }
        pos += kMoveHeaderSize + need;
    }
    info.usedBytes = pos;
    info.trailingBytes = data.size() - pos;
    return info;
}

TMoveList DecodeRoutine(const std::string &data)
{
    const RoutineImageInfo info = InspectRoutineImage(data);
    if (info.empty)
        throw RoutineFormatError("the routine is empty");
    if (!info.problem.empty())
        throw RoutineFormatError(info.problem);
    // Every record the counts announce is there, so the moves are read in
    // place: taking each key frame off the front of a buffer would move the
    // rest of the buffer once per key frame.
    TMoveList moves;
    moves.reserve(info.moveCount);
    size_t pos = 2;
    for (int m = 0; m < info.moveCount; ++m) {
        auto move = std::make_unique<THFMove>();
        move->MoveName = data.substr(pos, kNameFieldSize);
        const int count = Byte(data, pos + kFrameCountByte);
        pos += kMoveHeaderSize;
        move->Frames.reserve(count);
        for (int i = 0; i < count; ++i) {
            // The pose is put together in a local key frame and moved into
            // its place in one go: zeroing the place first and then
            // overwriting it wrote every key frame twice.
            THFFrame read;
            ReadFrameRecord(data, pos, read);
            pos += kFrameRecordSize;
            move->Frames.push_back(std::make_unique<THFFrame>(std::move(read)));
        }
        move->SyncFrameCount();
        moves.push_back(std::move(move));
    }
    return moves;
}

std::string RoutineLimitProblem(const TMoveList &moves)
{
    if (moves.empty())
        return "the routine has no moves; a routine file holds 1 to 256 moves";
    if (moves.size() > static_cast<size_t>(kMaxMoves))
        return "the routine has " + std::to_string(moves.size())
               + " moves; a routine file holds at most 256";
    for (size_t i = 0; i < moves.size(); ++i) {
        const int count = moves[i]->FrameCount;
        if (count > kMaxFramesPerMove)
            return "move " + std::to_string(i) + " (\"" + TrimName(moves[i]->MoveName) + "\") has "
                   + std::to_string(count) + " key frames; a move holds at most 255";
    }
    return {};
}

std::string EncodeRoutine(const TMoveList &moves)
{
    if (const std::string problem = RoutineLimitProblem(moves); !problem.empty())
        throw RoutineFormatError("Cannot write the routine: " + problem + ".");
    std::string buffer;
    size_t size = 2;
    for (const auto &m : moves)
        size += kMoveHeaderSize + static_cast<size_t>(m->FrameCount) * kFrameRecordSize;
    buffer.reserve(size);
    buffer += static_cast<char>(kFormatByte);
    buffer += static_cast<char>((moves.size() - 1) & 0xFF);
    for (const auto &m : moves)
        WriteMove(buffer, *m);
    return buffer;
}

} // namespace hoofer
