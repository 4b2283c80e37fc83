// Numbers of the setup script hold at their type's limits instead of wrapping round.
#include <windows.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <vector>
#include "core/format.h"
#include "wizard/page_frame.h"

TEST(NumberLimits, UnsignedNumbersHoldAtTheLargestValue)
{
    const struct { const char* text; DWORD value; } cases[] = {
        { "4294967295", 4294967295u },
        { "4294967296", 4294967295u },  // EULAVersion=4294967296 is the newest, not 0
        { "42949672950", 4294967295u },
        { "99999999999999999999999999x", 4294967295u },
        { "000000000000000000000000017", 17u },
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, ParseDecimal(c.text)) << c.text;

    DWORD a = 0, b = 0, c = 0, d = 0;
    ParseFourNumbers("4294967296,5,18446744073709551617,4294967294", &a, &b, &c, &d);
    EXPECT_EQ((std::vector<DWORD>{ 4294967295u, 5, 4294967295u, 4294967294u }), (std::vector<DWORD>{ a, b, c, d }));

    // A header line of any height is a height, never a negative one.
    EXPECT_EQ(INT_MAX, ScaleLineHeight("999999999", 960));
    EXPECT_EQ(INT_MAX, ScaleLineHeight("999999999.999999", 240));
}

TEST(NumberLimits, SignedNumbersHoldAtBothEnds)
{
    const struct { const char* text; LONG x, y; } cases[] = {
        { "2147483647,-2147483647", LONG_MAX, -LONG_MAX },
        { "2147483648,-2147483648", LONG_MAX, LONG_MIN },
        { "4294967296,-4294967296", LONG_MAX, LONG_MIN },
        { "-99999999999999999999,99999999999999999999", LONG_MIN, LONG_MAX },
        { "-0,-1", 0, -1 },
    };
    for (const auto& c : cases) {
        POINT point = { 7, 8 };
        ParsePoint(c.text, &point);
        EXPECT_EQ(c.x, point.x) << c.text;
        EXPECT_EQ(c.y, point.y) << c.text;
    }
}
