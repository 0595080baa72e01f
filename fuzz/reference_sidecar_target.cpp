// Hostile text as a routine's references sidecar: ApplyReferenceSidecar either
// refuses it whole, leaving every move as it was, or gives the moves
// references within their ranges, which written back and read again come
// back the same.
#include "fuzz_check.h"
#include "model/reference_sidecar.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

using namespace hoofer;

TMoveList Moves()
{
    TMoveList moves;
    for (const char *name : {"wave", "kick", "wave"})
        moves.emplace_back(std::make_unique<THFMove>())->MoveName = name;
    return moves;
}

} // namespace

void hoofer::fuzz::CheckInput(const uint8_t *bytes, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(bytes), size);
    TMoveList moves = Moves();
    try {
        ApplyReferenceSidecar(text, "/r", moves);
    } catch (const std::runtime_error &) {
        for (const auto &move : moves)
            FUZZ_CHECK(!move->Reference);
        return;
    }
    for (const auto &move : moves) {
        if (!move->Reference)
            continue;
        const MoveReference &r = *move->Reference;
        FUZZ_CHECK(!r.file.empty() && r.file[0] == '/');
        FUZZ_CHECK(r.start >= 0 && std::isfinite(r.start));
        FUZZ_CHECK(r.opacity >= 0 && r.opacity <= 1);
        FUZZ_CHECK(r.scale > 0 && std::isfinite(r.scale));
        FUZZ_CHECK(std::abs(r.x) <= 4096 && std::abs(r.y) <= 4096);
    }
    const std::string written = WriteReferenceSidecar(moves, "/r");
    TMoveList again = Moves();
    if (!written.empty())
        FUZZ_CHECK(ApplyReferenceSidecar(written, "/r", again).empty());
    for (size_t i = 0; i < moves.size(); ++i)
        FUZZ_CHECK(again[i]->Reference == moves[i]->Reference);
}
