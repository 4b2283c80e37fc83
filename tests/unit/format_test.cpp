// The formatter's own rules, which differ from printf's, and the string helpers.
#include <gtest/gtest.h>
#include <string>
#include "core/format.h"

// The text written into a buffer of that size; nothing may be written past it.
static std::string Format(unsigned size, const char* format, ...)
{
    char buffer[600];
    memset(buffer, 'Z', sizeof buffer);
    va_list args;
    va_start(args, format);
    FormatTextV(buffer, size, format, args);
    va_end(args);
    for (unsigned i = size; i < sizeof buffer; i++) EXPECT_EQ('Z', buffer[i]) << "overflow at " << i;
    return size ? std::string(buffer) : std::string("<untouched>");
}

TEST(FormatText, ConversionsPaddingEscapesAndCuts)
{
    std::string longText(1000, 'q');
    struct { std::string expected, actual; } cases[] = {
        { "   42|00042|-5u|42|  ab|x7", Format(64, "%5u|%05u|%-5u|%1u|%4s|x%.3u", 42, 42, 42, "ab", 7) },
        { "-17|4294967279|ff|FF|3", Format(64, "%d|%u|%x|%X|%i", -17, (unsigned)-17, 255, 255, 3) },
        { "-17|4294967279|ff|FF", Format(64, "%ld|%lu|%lx|%lX", -17L, (unsigned long)-17, 255UL, 255UL) },
        { "c 100% 5", Format(64, "%c %u%% %u", 100, 5) },  // %c is the letter c and takes no argument
        { "[]|a", Format(64, "[%s]|a%", (const char*)NULL) },
        { "1", Format(64, "%u", 0x100000001ULL) },  // the low 32 bits of the slot
        { "a\\b|abc|%s|ab", Format(64, "a\\\\b|a\\bc|\\%s|ab\\", "x") },
        { "", Format(1, "abc") },
        { "<untouched>", Format(0, "abc") },
        { "a", Format(2, "abc") },
        { "x12", Format(4, "x%u", 12345) },
        { "x   ", Format(5, "x%9s", "long") },
        { "x00", Format(4, "x%09u", 7) },
        { "He", Format(3, "%s", "Hello") },
        { std::string(511, 'q'), Format(512, "%s", longText.c_str()) },
    };
    for (auto& c : cases) EXPECT_EQ(c.expected, c.actual);
}

TEST(StringHelpers, CopyAppendJoinSearchAndParse)
{
    char buffer[8];
    memset(buffer, 'Z', sizeof buffer);
    CopyText("abcdefghij", buffer, 5);
    EXPECT_STREQ("abcd", buffer);
    EXPECT_EQ('Z', buffer[5]);
    CopyText("xyz", buffer, 0);
    CopyText(NULL, buffer + 6, 1);
    EXPECT_STREQ("abcd", buffer);
    EXPECT_EQ(0, buffer[6]);

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

    EXPECT_EQ(2, IndexOfChar("ab,c,", ','));
    EXPECT_EQ(-1, IndexOfChar("abc", ','));
    EXPECT_EQ(4, IndexOfText("foo.iexplore.exe", "iexplore"));
    EXPECT_EQ(-1, IndexOfText("abc", "abcd"));
    EXPECT_EQ(0, IndexOfText("abc", ""));
    EXPECT_EQ(-1, IndexOfText("ABC", "abc"));

    for (auto c : { std::make_pair("12ab", 12u), { "ab", 0u }, { " 7", 0u }, { "-3", 0u }, { "5000000000", 705032704u } })
        EXPECT_EQ(c.second, ParseDecimal(c.first)) << c.first;
    POINT point = { 7, 8 };
    ParsePoint("12", &point);
    EXPECT_EQ(7, point.x);
    ParsePoint("-12,34x", &point);
    EXPECT_EQ(-12, point.x);
    EXPECT_EQ(34, point.y);
    ParsePoint("5,-6", &point);
    EXPECT_EQ(5, point.x);
    EXPECT_EQ(-6, point.y);
    DWORD n[4] = { 1, 2, 3, 4 };
    ParseFourNumbers("10,20,30", &n[0], &n[1], &n[2], &n[3]);
    EXPECT_EQ(1u, n[0]);
    ParseFourNumbers("10,20,x,40,50", &n[0], &n[1], &n[2], &n[3]);
    EXPECT_EQ((std::vector<DWORD>{ 10, 20, 0, 40 }), std::vector<DWORD>(n, n + 4));

    char folder[MAX_PATH], path[MAX_PATH], small[4] = "xyz";
    GetModuleFolder(folder, sizeof folder);
    GetModuleFileNameA(NULL, path, sizeof path);
    size_t length = strlen(folder);
    ASSERT_GT(length, 0u);
    EXPECT_EQ('\\', folder[length - 1]);
    EXPECT_EQ(0, strncmp(folder, path, length));
    EXPECT_EQ(nullptr, strchr(path + length, '\\'));
    GetModuleFolder(small, sizeof small);
    EXPECT_LE(strlen(small), 3u);
}
