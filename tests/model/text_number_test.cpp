#include "model/text_number.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

using namespace hoofer;

// The one integer reader of the number fields ("$" or "0x" hexadecimal) and
// of the settings file ("0x" only); none means "not exactly one integer".
TEST(ParseInteger, ReadsExactlyOneIntegerOf32Bits)
{
    constexpr auto both = HexPrefix::DollarOr0x, ini = HexPrefix::Only0x;
    const std::optional<int> none;
    struct Row {
        const char *text;
        HexPrefix hex;
        std::optional<int> want;
    };
    const Row rows[] = {
        {"12", both, 12},        {"  -7", both, -7},      {"+3", both, 3},         {"$1F", both, 31},
        {"0x0C", both, 12},      {"0X0c", ini, 12},       {"0xFf", ini, 255},      {"007", ini, 7},
        {"-0x10", ini, -16},     {"\t42", ini, 42},       {"$0C", ini, none},      {"$", both, none},
        {"", both, none},        {"-", both, none},       {"abc", both, none},     {"12 ", both, none},
        {"12abc", ini, none},    {"1 2", ini, none},      {"1.5", both, none},     {"1e3", ini, none},
        {"0x", both, none},      {"0xG1", ini, none},     {"--3", ini, none},      {"+-3", ini, none},
        {"0x-5", ini, none},     {"x12", ini, none},      {"2147483647", ini, INT_MAX},
        {"-2147483648", both, INT_MIN}, {"2147483648", both, none}, {"-2147483649", ini, none},
        {"0x80000000", ini, none}, {"99999999999999999999", both, none},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ParseInteger(r.text, r.hex), r.want)
            << '"' << r.text << '"' << (r.hex == ini ? " in the settings file" : " in a number field");
}
