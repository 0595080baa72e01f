#include "model/reference_sidecar.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace hoofer {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr const char *kFormat = "hooferedit-reference";
/// A placement further off than this many points shows nothing of the picture.
constexpr double kFarthest = 4096;

/// The number under key, or fallback when it is missing or no number.
double Number(const json &entry, const char *key, double fallback)
{
    const auto found = entry.find(key);
    return found != entry.end() && found->is_number() ? found->get<double>() : fallback;
}

std::string StoredPath(const std::string &file, const std::string &folder)
{
    const fs::path path = fs::path(file).lexically_normal();
    const fs::path relative = path.lexically_relative(fs::path(folder).lexically_normal());
    if (path.is_absolute() && !relative.empty() && *relative.begin() != "..")
        return relative.generic_string();
    return file;
}

/// The move an entry goes to: its index while the name agrees, else the
/// first move of its name; either without a reference yet.
THFMove *MoveFor(const json &entry, const std::string &name, TMoveList &moves)
{
    const auto index = entry.find("move");
    if (index != entry.end() && index->is_number_integer()) {
        const auto i = index->get<long long>();
        if (i >= 0 && i < static_cast<long long>(moves.size()) && !moves[i]->Reference
            && TrimName(moves[i]->MoveName) == name)
            return moves[i].get();
    }
    for (auto &move : moves)
        if (!move->Reference && TrimName(move->MoveName) == name)
            return move.get();
    return nullptr;
}

} // namespace

std::string ReferenceSidecarPath(const std::string &routinePath)
{
    return routinePath + ".reference.json";
}

std::string WriteReferenceSidecar(const TMoveList &moves, const std::string &routineFolder)
{
    json entries = json::array();
    for (size_t i = 0; i < moves.size(); ++i) {
        if (!moves[i]->Reference)
            continue;
        const MoveReference &r = *moves[i]->Reference;
        entries.push_back({{"move", i}, {"name", TrimName(moves[i]->MoveName)},
                           {"file", StoredPath(r.file, routineFolder)}, {"start", r.start},
                           {"opacity", r.opacity}, {"mirror", r.mirror}, {"x", r.x}, {"y", r.y}, {"scale", r.scale}});
    }
    if (entries.empty())
        return {};
    // Names are bytes from the file: invalid UTF-8 is replaced rather than refused.
    return json{{"format", kFormat}, {"version", 1}, {"moves", entries}}.dump(2, ' ', false,
                                                                            json::error_handler_t::replace)
           + "\n";
}

std::vector<std::string> ApplyReferenceSidecar(const std::string &text, const std::string &routineFolder,
                                               TMoveList &moves)
{
    const json document = json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_object())
        throw std::runtime_error("it is not JSON");
    if (document.value("format", json()) != kFormat)
        throw std::runtime_error(std::string("its \"format\" is not \"") + kFormat + "\"");
    const auto list = document.find("moves");
    if (list == document.end() || !list->is_array())
        throw std::runtime_error("it has no list of \"moves\"");

    std::vector<std::string> leftOut;
    for (const json &entry : *list) {
        if (!entry.is_object())
            continue;
        const auto file = entry.find("file");
        const auto name = entry.find("name");
        const std::string moveName = name != entry.end() && name->is_string() ? name->get<std::string>() : "";
        if (file == entry.end() || !file->is_string() || file->get<std::string>().empty()) {
            leftOut.push_back("The reference of move \"" + moveName + "\" names no file.");
            continue;
        }
        THFMove *move = MoveFor(entry, moveName, moves);
        if (!move) {
            const bool named = std::any_of(moves.begin(), moves.end(),
                                           [&](const auto &m) { return TrimName(m->MoveName) == moveName; });
            leftOut.push_back("The reference " + file->get<std::string>() + " was left out: "
                              + (named ? "every move named \"" + moveName + "\" has one already."
                                       : "no move is named \"" + moveName + "\"."));
            continue;
        }
        MoveReference r;
        const fs::path path(file->get<std::string>());
        r.file = (path.is_absolute() ? path : fs::path(routineFolder) / path).lexically_normal().string();
        r.start = std::max(0.0, Number(entry, "start", 0));
        r.opacity = std::clamp(Number(entry, "opacity", 0.5), 0.0, 1.0);
        const auto mirror = entry.find("mirror");
        r.mirror = mirror != entry.end() && mirror->is_boolean() && mirror->get<bool>();
        r.x = std::clamp(Number(entry, "x", 0), -kFarthest, kFarthest);
        r.y = std::clamp(Number(entry, "y", 0), -kFarthest, kFarthest);
        r.scale = Number(entry, "scale", 1);
        if (!(r.scale > 0))
            r.scale = 1;
        // Taken at once: a second entry for the same move finds it taken.
        move->Reference = r;
    }
    return leftOut;
}

} // namespace hoofer
