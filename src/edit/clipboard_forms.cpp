#include "clipboard_forms.h"

#include "model/routine_codec.h"
#include "model/routine_json.h"

#include <algorithm>
#include <cctype>

namespace hoofer {

namespace {

std::string MoveText(const THFMove &move)
{
    TMoveList one;
    one.push_back(CopyMovePoses(move));
    return RoutineToJson(one);
}

} // namespace

ClipboardForms KeyFramesForms(const std::string &moveName, const std::string &snapshots)
{
    // The text is made from the snapshots, so that both forms hold the same
    // values (a displacement of 128 is -128 in either).
    THFMove move;
    move.MoveName = moveName;
    std::string buffer = snapshots;
    while (buffer.size() >= static_cast<size_t>(kFrameRecordSize)) {
        move.Frames.push_back(std::make_unique<THFFrame>());
        TakeFrameSnapshot(buffer, *move.Frames.back());
    }
    move.SyncFrameCount();
    return {snapshots, MoveText(move)};
}

ClipboardForms MoveForms(const THFMove &move)
{
    TMoveList one;
    one.push_back(CopyMovePoses(move));
    // Moves of the editor hold their snapshots' values: what the file keeps.
    const std::string image = EncodeRoutine(one);
    return {image, RoutineToJson(DecodeRoutine(image))};
}

bool LooksLikeJson(const std::string &text)
{
    const auto first = std::find_if(text.begin(), text.end(), [](char c) { return !std::isspace(static_cast<unsigned char>(c)); });
    return first != text.end() && (*first == '{' || *first == '[');
}

bool OffersContent(const ClipboardOffer &offer)
{
    return offer.keyFrames || offer.moves || (offer.text && LooksLikeJson(*offer.text));
}

KeyFramesRead ReadKeyFrames(const ClipboardOffer &offer)
{
    KeyFramesRead read;
    if (offer.keyFrames && !offer.keyFrames->empty() && offer.keyFrames->size() % kFrameRecordSize == 0) {
        read.snapshots = *offer.keyFrames;
        return read;
    }
    if (offer.moves) {
        try {
            for (const auto &move : DecodeRoutine(*offer.moves))
                for (const auto &frame : move->Frames)
                    AppendFrameSnapshot(read.snapshots, *frame);
            if (!read.snapshots.empty())
                return read;
        } catch (const RoutineFormatError &) {
            // Not the bytes of a routine after all: the text may serve.
        }
    }
    if (!offer.text || !LooksLikeJson(*offer.text))
        return read;
    try {
        for (const auto &frame : KeyFramesFromJson(*offer.text))
            AppendFrameSnapshot(read.snapshots, *frame);
    } catch (const RoutineJsonError &e) {
        read.error = e.what();
    }
    return read;
}

MovesRead ReadMoves(const ClipboardOffer &offer)
{
    MovesRead read;
    if (offer.moves) {
        try {
            read.moves = DecodeRoutine(*offer.moves);
            if (!read.moves.empty())
                return read;
        } catch (const RoutineFormatError &) {
            // Not the bytes of a routine after all: the text may serve.
        }
    }
    if (!offer.text || !LooksLikeJson(*offer.text))
        return read;
    try {
        read.moves = RoutineFromJson(*offer.text);
    } catch (const RoutineJsonError &e) {
        read.error = e.what();
    }
    return read;
}

} // namespace hoofer
