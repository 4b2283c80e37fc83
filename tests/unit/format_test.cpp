// The formatter's own rules, which differ from printf's, and the string helpers.
#include <gtest/gtest.h>
#include <string>
#include "core/format.h"

static std::string Format(unsigned size, const char* format, ...)
{
    char buffer[600];
    memset(buffer, 'Z', sizeof buffer);
    va_list args;
    va_start(args, format);
    FormatTextV(buffer, size, format, args);
    va_end(args);
    // Nothing is written past the buffer's size.
    for (unsigned i = size; i < sizeof buffer; i++) EXPECT_EQ('Z', buffer[i]) << "overflow at " << i;
    return size ? std::string(buffer) : std::string("<untouched>");
}

TEST(FormatText, WidthPaddingAndNoLeftAlignment)
{
    EXPECT_EQ("   42", Format(64, "%5u", 42));
    EXPECT_EQ("00042", Format(64, "%05u", 42));
    EXPECT_EQ("-5u", Format(64, "%-5u", 42));
    EXPECT_EQ("42", Format(64, "%1u", 42));
    EXPECT_EQ("  ab", Format(64, "%4s", "ab"));
    EXPECT_EQ("x7", Format(64, "x%.3u", 7));
}

TEST(FormatText, Conversions)
{
    EXPECT_EQ("-17|4294967279|ff|FF|3", Format(64, "%d|%u|%x|%X|%i", -17, (unsigned)-17, 255, 255, 3));
    EXPECT_EQ("-17|4294967279|ff", Format(64, "%ld|%lu|%lx", -17L, (unsigned long)-17, 255UL));
    // %c is the letter c and takes no argument; %% is a percent sign.
    EXPECT_EQ("c 100% 5", Format(64, "%c %u%% %u", 100, 5));
    EXPECT_EQ("[]", Format(64, "[%s]", (const char*)NULL));
    EXPECT_EQ("a", Format(64, "a%"));
    // Numbers take the low 32 bits of their slot.
    EXPECT_EQ("1", Format(64, "%u", 0x100000001ULL));
}

TEST(FormatText, BackslashEscapes)
{
    EXPECT_EQ("a\\b", Format(64, "a\\\\b"));
    EXPECT_EQ("abc", Format(64, "a\\bc"));
    EXPECT_EQ("%s", Format(64, "\\%s", "x"));
    EXPECT_EQ("ab", Format(64, "ab\\"));
}

TEST(FormatText, CutsAtTheBufferEvenInsideAConversion)
{
    EXPECT_EQ("", Format(1, "abc"));
    EXPECT_EQ("<untouched>", Format(0, "abc"));
    EXPECT_EQ("a", Format(2, "abc"));
    EXPECT_EQ("x12", Format(4, "x%u", 12345));
    EXPECT_EQ("x   ", Format(5, "x%9s", "long"));
    EXPECT_EQ("He", Format(3, "%s", "Hello"));
    std::string longText(1000, 'q');
    EXPECT_EQ(std::string(511, 'q'), Format(512, "%s", longText.c_str()));
}

TEST(StringHelpers, CopyAppendJoin)
{
    char buffer[8];
    memset(buffer, 'Z', sizeof buffer);
    CopyText("abcdefghij", buffer, 5);
    EXPECT_STREQ("abcd", buffer);
    EXPECT_EQ('Z', buffer[5]);
    CopyText("xyz", buffer, 0);
    EXPECT_STREQ("abcd", buffer);

    char* position = buffer;
    unsigned left = sizeof buffer;
    AppendAtCursor("abc", &position, &left);
    AppendAtCursor("defgh", &position, &left);
    EXPECT_STREQ("abcdefg", buffer);
    EXPECT_EQ(1u, left);
    EXPECT_EQ(buffer + 7, position);
    left = 0;
    AppendAtCursor("x", &position, &left);
    EXPECT_STREQ("abcdefg", buffer);

    JoinTexts(buffer, 6, "ab", "", "cd", "efgh", (const char*)NULL);
    EXPECT_STREQ("abcde", buffer);
    JoinTexts(buffer, sizeof buffer, "ab", (const char*)NULL, "cd");
    EXPECT_STREQ("ab", buffer);
}

TEST(StringHelpers, Searches)
{
    EXPECT_EQ(2, IndexOfChar("ab,c,", ','));
    EXPECT_EQ(-1, IndexOfChar("abc", ','));
    EXPECT_EQ(4, IndexOfText("foo.iexplore.exe", "iexplore"));
    EXPECT_EQ(-1, IndexOfText("abc", "abcd"));
    EXPECT_EQ(0, IndexOfText("abc", ""));
    EXPECT_EQ(-1, IndexOfText("ABC", "abc"));
}

TEST(StringHelpers, Numbers)
{
    EXPECT_EQ(12u, ParseDecimal("12ab"));
    EXPECT_EQ(0u, ParseDecimal("ab"));
    EXPECT_EQ(0u, ParseDecimal(" 7"));
    EXPECT_EQ(0u, ParseDecimal("-3"));

    POINT point = { 7, 8 };
    ParsePoint("12", &point);
    EXPECT_EQ(7, point.x);
    EXPECT_EQ(8, point.y);
    ParsePoint("-12,34x", &point);
    EXPECT_EQ(-12, point.x);
    EXPECT_EQ(34, point.y);
    ParsePoint("5,-6", &point);
    EXPECT_EQ(5, point.x);
    EXPECT_EQ(-6, point.y);

    DWORD a = 1, b = 2, c = 3, d = 4;
    ParseFourNumbers("10,20,30", &a, &b, &c, &d);
    EXPECT_EQ(1u, a);
    EXPECT_EQ(4u, d);
    ParseFourNumbers("10,20,x,40,50", &a, &b, &c, &d);
    EXPECT_EQ(10u, a);
    EXPECT_EQ(20u, b);
    EXPECT_EQ(0u, c);
    EXPECT_EQ(40u, d);
}

TEST(StringHelpers, ModuleFolderKeepsItsBackslash)
{
    char folder[MAX_PATH], path[MAX_PATH];
    GetModuleFolder(folder, sizeof folder);
    GetModuleFileNameA(NULL, path, sizeof path);
    size_t length = strlen(folder);
    ASSERT_GT(length, 0u);
    EXPECT_EQ('\\', folder[length - 1]);
    EXPECT_EQ(0, strncmp(folder, path, length));
    EXPECT_EQ(nullptr, strchr(path + length, '\\'));

    char small[4];
    GetModuleFolder(small, sizeof small);
    EXPECT_LE(strlen(small), 3u);
}
