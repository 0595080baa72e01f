#include "routine_json.h"

#include "latin1.h"
#include "model/routine_codec.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <initializer_list>

namespace hoofer {

namespace {

using nlohmann::json;

constexpr const char *kFormatName = "hoofer routine";
constexpr int kVersion = 1;
constexpr size_t kNameBytes = 12;

/// A JSON string literal for the name bytes: Latin-1 text, with every control
/// character (C0, DEL and C1, all invisible) written as \u00XX so the exact
/// byte stays visible.
std::string NameLiteral(const std::string &bytes)
{
    std::string out = "\"";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20 || (b >= 0x7F && b <= 0x9F)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", b);
            out += escape;
        } else {
            out += Latin1ToUtf8(std::string(1, c));
        }
    }
    return out + "\"";
}

std::string FrameLine(const THFFrame &frame)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "{\"interpolation\": %3d, \"displacement\": %4d, \"points\": [",
                  frame.Interpolation, frame.Displacement);
    std::string line = buffer;
    for (int n = 1; n <= kPartCount; ++n) {
        std::snprintf(buffer, sizeof buffer, "%s{\"x\": %3d, \"y\": %3d}", n > 1 ? ", " : "",
                      frame.Point(n).X, frame.Point(n).Y);
        line += buffer;
    }
    return line + "]}";
}

/// Appends value as dump() writes it, but stops soon after out has grown past
/// limit. Every level writes a bracket before it goes deeper, so the
/// recursion is never deeper than limit, however deep the value nests.
void AppendDumpPrefix(const json &value, std::string &out, size_t limit)
{
    if (!value.is_structured()) {
        out += value.dump();
        return;
    }
    const bool array = value.is_array();
    out += array ? '[' : '{';
    bool first = true;
    for (const auto &[key, item] : value.items()) {
        if (out.size() > limit)
            return;
        if (!first)
            out += ',';
        first = false;
        if (!array)
            out += json(key).dump() + ':';
        AppendDumpPrefix(item, out, limit);
    }
    out += array ? ']' : '}';
}

std::string Describe(const json &value)
{
    std::string text;
    AppendDumpPrefix(value, text, 40);
    return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

[[noreturn]] void Fail(const std::string &path, const std::string &what)
{
    throw RoutineJsonError(path + ": " + what);
}

const json &ExpectObject(const json &value, const std::string &path,
                         std::initializer_list<const char *> required,
                         std::initializer_list<const char *> optional = {})
{
    if (!value.is_object())
        Fail(path, "expected an object, found " + Describe(value));
    for (const char *key : required)
        if (!value.contains(key))
            Fail(path, std::string("\"") + key + "\" is missing");
    for (const auto &[key, item] : value.items()) {
        bool known = false;
        for (const char *k : required)
            known = known || key == k;
        for (const char *k : optional)
            known = known || key == k;
        if (!known)
            Fail(path, "unknown key \"" + key + "\"");
    }
    return value;
}

const json &ExpectArray(const json &value, const std::string &path, size_t min, size_t max,
                        const char *what)
{
    if (!value.is_array())
        Fail(path, "expected an array, found " + Describe(value));
    if (value.size() < min || value.size() > max) {
        const std::string range = min == max ? std::to_string(min)
                                             : std::to_string(min) + ".." + std::to_string(max);
        Fail(path, std::to_string(value.size()) + " " + what + "; expected " + range);
    }
    return value;
}

int ExpectInteger(const json &value, const std::string &path, int min, int max)
{
    if (!value.is_number_integer())
        Fail(path, Describe(value) + " is not an integer");
    // Numbers beyond long long arrive as unsigned; compare those unsigned.
    bool inRange = false;
    if (value.is_number_unsigned()) {
        const auto u = value.get<unsigned long long>();
        inRange = u <= static_cast<unsigned long long>(max) && static_cast<long long>(u) >= min;
    } else {
        const auto v = value.get<long long>();
        inRange = v >= min && v <= max;
    }
    if (!inRange)
        Fail(path, value.dump() + " is outside " + std::to_string(min) + ".." + std::to_string(max));
    return static_cast<int>(value.get<long long>());
}

std::string ExpectName(const json &value, const std::string &path)
{
    if (!value.is_string())
        Fail(path, Describe(value) + " is not a string");
    long offending = 0;
    const auto bytes = Utf8ToLatin1(value.get<std::string>(), offending);
    if (!bytes) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04lX", offending);
        Fail(path, Describe(value) + " holds " + code
                       + ", which is not a single byte (names hold U+0000..U+00FF)");
    }
    if (bytes->size() > kNameBytes)
        Fail(path, Describe(value) + " has " + std::to_string(bytes->size())
                       + " characters; a name holds at most 12");
    return *bytes;
}

std::unique_ptr<THFFrame> FrameFromJson(const json &value, const std::string &path)
{
    ExpectObject(value, path, {"interpolation", "displacement", "points"});
    auto frame = std::make_unique<THFFrame>();
    frame->Interpolation = ExpectInteger(value["interpolation"], path + ".interpolation", 0, 255);
    frame->Displacement = ExpectInteger(value["displacement"], path + ".displacement", -128, 127);
    const json &points = ExpectArray(value["points"], path + ".points", kPartCount, kPartCount,
                                     "points");
    for (int i = 0; i < kPartCount; ++i) {
        const std::string at = path + ".points[" + std::to_string(i) + "]";
        const json &point = ExpectObject(points[i], at, {"x", "y"});
        frame->Points[i].X = ExpectInteger(point["x"], at + ".x", 0, 255);
        frame->Points[i].Y = ExpectInteger(point["y"], at + ".y", 0, 255);
    }
    return frame;
}

std::unique_ptr<THFMove> MoveFromJson(const json &value, const std::string &path)
{
    ExpectObject(value, path, {"name", "frames"});
    auto move = std::make_unique<THFMove>();
    move->MoveName = ExpectName(value["name"], path + ".name");
    const json &frames = ExpectArray(value["frames"], path + ".frames", 0, kMaxFramesPerMove,
                                     "key frames");
    for (size_t i = 0; i < frames.size(); ++i)
        move->Frames.push_back(FrameFromJson(frames[i], path + ".frames[" + std::to_string(i) + "]"));
    move->SyncFrameCount();
    return move;
}

/// The message without the library's "[json.exception.parse_error.101] " tag.
std::string WithoutLibraryTag(std::string what)
{
    if (const size_t close = what.find("] "); what.rfind("[json.", 0) == 0 && close != std::string::npos)
        what.erase(0, close + 2);
    return what;
}

/// Reads text without building anything and notes where reading stopped.
class FailureLocator final : public nlohmann::json_sax<json> {
public:
    std::size_t position = 0;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t &) override { return true; }
    bool string(string_t &) override { return true; }
    bool binary(binary_t &) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t &) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t at, const std::string &, const json::exception &) override
    {
        position = at;
        return false;
    }
};

/// "line L, column C" of the place where reading text fails, counted as the
/// library counts them in its syntax errors.
std::string PlaceOfFailure(const std::string &text)
{
    FailureLocator locator;
    json::sax_parse(text, &locator);
    const size_t at = std::min(locator.position, text.size());
    const size_t lineStart = at == 0 ? 0 : text.rfind('\n', at - 1);
    const size_t column = lineStart == std::string::npos ? at : at - lineStart - 1;
    const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

} // namespace

std::string RoutineToJson(const TMoveList &moves)
{
    std::string out = "{\n  \"format\": \"";
    out += kFormatName;
    out += "\",\n  \"version\": " + std::to_string(kVersion) + ",\n  \"moves\": [";
    for (size_t m = 0; m < moves.size(); ++m) {
        const THFMove &move = *moves[m];
        const std::string name = (move.MoveName + std::string(kNameBytes, ' ')).substr(0, kNameBytes);
        out += m ? ",\n" : "\n";
        out += "    {\n      \"name\": " + NameLiteral(name) + ",\n      \"frames\": [";
        for (size_t f = 0; f < move.Frames.size(); ++f)
            out += (f ? ",\n        " : "\n        ") + FrameLine(*move.Frames[f]);
        out += move.Frames.empty() ? "]\n    }" : "\n      ]\n    }";
    }
    out += "\n  ]\n}\n";
    return out;
}

namespace {

json ParseDocument(const std::string &text)
{
    try {
        return json::parse(text);
    } catch (const json::parse_error &e) {
        throw RoutineJsonError(WithoutLibraryTag(e.what()));
    } catch (const json::out_of_range &e) {
        // A number too large for a double; the library names the number but
        // not where it stands.
        throw RoutineJsonError("parse error at " + PlaceOfFailure(text) + ": " + WithoutLibraryTag(e.what()));
    }
}

} // namespace

namespace {

TMoveList MovesFromDocument(const json &document)
{
    const std::string top = "top level";
    ExpectObject(document, top, {"moves"}, {"format", "version"});
    if (document.contains("format") && document["format"] != kFormatName)
        Fail("format", Describe(document["format"]) + " is not \"" + kFormatName + "\"");
    if (document.contains("version"))
        ExpectInteger(document["version"], "version", kVersion, kVersion);
    const json &moves = ExpectArray(document["moves"], "moves", 1, kMaxMoves, "moves");
    TMoveList result;
    for (size_t m = 0; m < moves.size(); ++m)
        result.push_back(MoveFromJson(moves[m], "moves[" + std::to_string(m) + "]"));
    return result;
}

} // namespace

TMoveList RoutineFromJson(const std::string &text)
{
    return MovesFromDocument(ParseDocument(text));
}

std::vector<std::unique_ptr<THFFrame>> KeyFramesFromJson(const std::string &text)
{
    // One line taken from the routine's text ends in the comma between key frames.
    std::string trimmed = text;
    while (!trimmed.empty() && std::isspace(static_cast<unsigned char>(trimmed.back())))
        trimmed.pop_back();
    if (!trimmed.empty() && trimmed.back() == ',')
        trimmed.pop_back();
    const json document = ParseDocument(trimmed);
    std::vector<std::unique_ptr<THFFrame>> frames;
    if (document.is_object() && document.contains("moves")) {
        for (auto &move : MovesFromDocument(document))
            for (auto &frame : move->Frames)
                frames.push_back(std::move(frame));
    } else if (document.is_array()) {
        ExpectArray(document, "top level", 1, kMaxFramesPerMove, "key frames");
        for (size_t i = 0; i < document.size(); ++i)
            frames.push_back(FrameFromJson(document[i], "frames[" + std::to_string(i) + "]"));
    } else {
        frames.push_back(FrameFromJson(document, "top level"));
    }
    if (frames.empty())
        Fail("top level", "no key frames");
    if (frames.size() > static_cast<size_t>(kMaxFramesPerMove))
        Fail("top level", std::to_string(frames.size()) + " key frames; a move holds at most 255");
    return frames;
}

} // namespace hoofer
