#include "model/text_number.h"

#include <gtest/gtest.h>

using hoofer::ParseInteger;

TEST(ParseInteger, ReadsDecimalSignsBlanksAndHexadecimal)
{
    EXPECT_EQ(ParseInteger("12"), 12);
    EXPECT_EQ(ParseInteger("  -7"), -7);
    EXPECT_EQ(ParseInteger("+3"), 3);
    EXPECT_EQ(ParseInteger("$1F"), 31);
    EXPECT_EQ(ParseInteger("0x0C"), 12);
    EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
}

TEST(ParseInteger, RefusesWhatIsNotAWholeInteger)
{
    for (const char *bad : {"", "-", "abc", "12 ", "1.5", "0x", "$", "2147483648", "99999999999999999999"})
        EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
}
