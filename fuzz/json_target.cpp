// Hostile text through the JSON import of hoofer and the editor's paste:
// RoutineFromJson either refuses it with a message that names the place (a
// JSON path, or the line and column of a syntax error), or builds moves that
// the codec writes, whose JSON export imports back to the very same image.
// KeyFramesFromJson likewise refuses with the place, or gives 1..255 key
// frames whose every value fits the bytes of a snapshot.
#include "model/routine_json.h"
#include "fuzz_check.h"
#include "model/routine_codec.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace hoofer;

/// Whether the message starts with the path of a value in a routine, as in
/// "moves[2].frames[0].points[4].x: ...".
bool StartsWithMovePath(const std::string &message)
{
    const size_t colon = message.find(": ");
    if (colon == std::string::npos)
        return false;
    std::string_view p(message.data(), colon);
    auto eat = [&p](std::string_view word) {
        if (p.substr(0, word.size()) != word)
            return false;
        p.remove_prefix(word.size());
        return true;
    };
    auto index = [&] {
        if (!eat("["))
            return false;
        size_t digits = 0;
        while (digits < p.size() && p[digits] >= '0' && p[digits] <= '9')
            ++digits;
        if (digits == 0)
            return false;
        p.remove_prefix(digits);
        return eat("]");
    };
    // Each list may end the path after its name or its index; what follows
    // the index is the next list or one of the values named here.
    struct Level {
        std::string_view list;
        std::vector<std::string_view> values;
    };
    static const Level levels[] = {
        {"moves", {".name"}},
        {".frames", {".interpolation", ".displacement"}},
        {".points", {".x", ".y"}},
    };
    for (const Level &level : levels) {
        if (!eat(level.list))
            return false;
        if (p.empty())
            return true;
        if (!index())
            return false;
        if (p.empty())
            return true;
        for (std::string_view value : level.values)
            if (eat(value))
                return p.empty();
    }
    return false;
}

bool NamesThePlace(const std::string &message)
{
    for (const char *root : {"top level: ", "format: ", "version: "})
        if (message.rfind(root, 0) == 0)
            return true;
    if (StartsWithMovePath(message))
        return true;
    // A list of key frames: its paths are those of a move's key frames.
    if (message.rfind("frames[", 0) == 0 && StartsWithMovePath("moves[0]." + message))
        return true;
    // Syntax errors come from the JSON library with their line and column.
    return message.find("at line ") != std::string::npos && message.find(", column ") != std::string::npos;
}

void CheckKeyFrames(const std::string &text)
{
    std::vector<std::unique_ptr<THFFrame>> frames;
    try {
        frames = KeyFramesFromJson(text);
    } catch (const RoutineJsonError &e) {
        if (!NamesThePlace(e.what()))
            throw fuzz::BrokenRule{std::string("key frames' message names no place: ") + e.what()};
        return;
    }
    FUZZ_CHECK(!frames.empty() && frames.size() <= static_cast<size_t>(kMaxFramesPerMove));
    for (const auto &frame : frames) {
        std::string snapshot = FrameSnapshot(*frame);
        THFFrame back;
        TakeFrameSnapshot(snapshot, back);
        FUZZ_CHECK(back.Points == frame->Points && back.Interpolation == frame->Interpolation
                   && back.Displacement == frame->Displacement);
    }
}

} // namespace

void hoofer::fuzz::CheckInput(const uint8_t *bytes, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(bytes), size);
    CheckKeyFrames(text);
    TMoveList moves;
    try {
        moves = RoutineFromJson(text);
    } catch (const RoutineJsonError &e) {
        if (!NamesThePlace(e.what()))
            throw fuzz::BrokenRule{std::string("message names no place: ") + e.what()};
        return;
    }

    FUZZ_CHECK(!moves.empty());
    FUZZ_CHECK(RoutineLimitProblem(moves).empty());
    std::string image;
    try {
        image = EncodeRoutine(moves);
    } catch (const RoutineFormatError &e) {
        throw fuzz::BrokenRule{std::string("accepted routine cannot be written: ") + e.what()};
    }
    const std::string json = RoutineToJson(moves);
    FUZZ_CHECK(EncodeRoutine(RoutineFromJson(json)) == image);
    FUZZ_CHECK(RoutineToJson(DecodeRoutine(image)) == json);
}
