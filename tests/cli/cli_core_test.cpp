// The tool's own pieces that the commands rest on.

#include "cli/move_pictures.h"
#include "cli/terminal_text.h"

#include <gtest/gtest.h>

namespace hoofer {
namespace {

TEST(TerminalText, EscapesControlsAndBrokenBytesOnly)
{
    const std::pair<std::string, std::string> rows[] = {
        {"plain caf\xc3\xa9 \xe6\x97\xa5 a\\b", "plain caf\xc3\xa9 \xe6\x97\xa5 a\\b"},
        {"a\rb\nc\td\x7f\x1b", "a\\x0Db\\x0Ac\\x09d\\x7F\\x1B"},  // C0 controls, DEL
        {"\xc2\x9b\xc2\x85", "\\x9B\\x85"},                         // C1 controls
        {"caf\xe9 \xc3", "caf\\xE9 \\xC3"},                         // not UTF-8, cut off
        {"\xc1\x81 \xed\xa0\x80", "\\xC1\\x81 \\xED\\xA0\\x80"},    // overlong, surrogate
    };
    for (const auto &[text, shown] : rows)
        EXPECT_EQ(TerminalText(text), shown) << shown;
}

TEST(MoveChoice, IndexFirstThenExactNameThenNameInAnyCase)
{
    TMoveList moves;
    for (const char *name : {"Wave        \r", "  12        \r", "Caf\xE9       \r", "wave        \r"}) {
        moves.push_back(std::make_unique<THFMove>());
        moves.back()->MoveName = name;
    }
    const std::tuple<const char *, std::optional<size_t>, std::string> rows[] = {
        {"1", 1, ""}, {"12", {}, "there is no move 12; the routine has moves 0..3"}, {"wave", 3, ""}, {"Wave", 0, ""},
        {"WAVE", {}, "several moves are named \"WAVE\" (0, 3); give the index instead"}, {"Caf\xC3\xA9", 2, ""},
        {"CAF\xC3\x89", 2, ""}};
    for (const auto &[which, index, message] : rows) {
        std::string why;
        EXPECT_EQ(FindMove(moves, which, why), index) << which;
        EXPECT_EQ(why, message) << which;
    }
}

} // namespace
} // namespace hoofer
