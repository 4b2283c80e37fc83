// The formatter's own rules (not printf's), the string helpers, the numbers, the error status,
// and string loading with the edition redirection.
#include <gtest/gtest.h>
#include <limits.h>
#include "core/format.h"
#include "core/globals.h"
#include "wizard/page_frame.h"
#include "resources/resource.h"
#include "unit/file_helpers.h"

// The text written into a buffer of that size; nothing may be written past it.
static std::string Format(unsigned size, const char* format, ...)
{
    char buffer[600];
    memset(buffer, 'Z', sizeof buffer);
    va_list args;
    va_start(args, format);
    FormatTextV(buffer, size, format, args);
    va_end(args);
    EXPECT_EQ(std::string(sizeof buffer - size, 'Z'), std::string(buffer + size, sizeof buffer - size)) << format;
    return size ? buffer : "<untouched>";
}

TEST(Format, ConversionsEscapesCutsAndHelpers)
{
    EXPECT_EQ("   42|00042|-5u|42|  ab|x7|-17|4294967279|ff|FF|3|-17|ff", Format(64, "%5u|%05u|%-5u|%1u|%4s|x%.3u|%d|%u|%x|%X|%i|%ld|%lx", 42,
              42, 42, "ab", 7, -17, (unsigned)-17, 255, 255, 3, -17L, 255UL));
    EXPECT_EQ("c 100% 5|[]|1|a\\b|abc|%s|ab", Format(64, "%c %u%% %u|[%s]|%u|a\\\\b|a\\bc|\\%s|ab\\", 100, 5, (const char*)NULL, 0x100000001ULL, "x"));
    EXPECT_EQ(Text({ "", "<untouched>", "a", "x12", "x   ", "He", std::string(511, 'q') }),
              Text({ Format(1, "abc"), Format(0, "abc"), Format(2, "abc"), Format(4, "x%u", 12345), Format(5, "x%9s", "long"),
                     Format(3, "%s", "Hello"), Format(512, "%s", std::string(1000, 'q').c_str()) }));
    char buffer[8] = "ZZZZZZZ", *position = buffer;
    unsigned left = sizeof buffer, none = 0;
    CopyText("abcdefghij", buffer, 5);
    CopyText("xyz", buffer, 0);
    EXPECT_EQ(std::string("abcd\0ZZ", 7), std::string(buffer, 7));
    AppendAtCursor("abc", &position, &left), AppendAtCursor("defgh", &position, &left), AppendAtCursor("x", &position, &none);
    JoinTexts(buffer + 2, 0, "x", (const char*)NULL);
    EXPECT_EQ("abcdefg|1|7", Text({ buffer, std::to_string(left), std::to_string(position - buffer) }));
    JoinTexts(buffer, 6, "ab", "", "cd", "efgh", (const char*)NULL);
    EXPECT_STREQ("abcde", buffer);
    EXPECT_EQ("2 -1 4 -1 0 -1", Text({ std::to_string(IndexOfChar("ab,c,", ',')) + " " + std::to_string(IndexOfChar("abc", ',')) + " " +
              std::to_string(IndexOfText("foo.iexplore.exe", "iexplore")) + " " + std::to_string(IndexOfText("abc", "abcd")) + " " +
              std::to_string(IndexOfText("abc", "")) + " " + std::to_string(IndexOfText("ABC", "abc")) }));
}
// The script's numbers: leading digits, held at their type's limits rather than wrapped round
// (EULAVersion=4294967296 is the newest version, not 0); a header line of any height is a height.
TEST(Format, NumbersHoldAtTheirLimits)
{
    std::string decimals;
    for (const char* text : { "12ab", "ab", " 7", "-3", "4294967295", "4294967296", "42949672950", "99999999999999999999999999x", "000000000000000000000000017" })
        decimals += std::to_string(ParseDecimal(text)) + " ";
    EXPECT_EQ("12 0 0 0 4294967295 4294967295 4294967295 4294967295 17 ", decimals);
    std::vector<LONG> points;
    for (const char* text : { "12", "5,-6", "-12,34x", "2147483647,-2147483647", "2147483648,-2147483648", "4294967296,-4294967296",
                              "-99999999999999999999,99999999999999999999", "-0,-1" }) {
        POINT point = { 7, 8 };
        ParsePoint(text, &point);
        points.insert(points.end(), { point.x, point.y });
    }
    EXPECT_EQ((std::vector<LONG>{ 7, 8, 5, -6, -12, 34, LONG_MAX, -LONG_MAX, LONG_MAX, LONG_MIN, LONG_MAX, LONG_MIN, LONG_MIN, LONG_MAX, 0, -1 }), points);
    DWORD n[8] = { 1, 2, 3, 4 };
    ParseFourNumbers("10,20,30", &n[0], &n[1], &n[2], &n[3]);
    ParseFourNumbers("10,20,x,40,50", &n[1], &n[2], &n[3], &n[0]);
    ParseFourNumbers("4294967296,5,18446744073709551617,4294967294", &n[4], &n[5], &n[6], &n[7]);
    EXPECT_EQ((std::vector<DWORD>{ 40, 10, 20, 0, 4294967295u, 5, 4294967295u, 4294967294u }), std::vector<DWORD>(n, n + 8));
    EXPECT_EQ(INT_MAX, ScaleLineHeight("999999999", 960));
    EXPECT_EQ(INT_MAX, ScaleLineHeight("999999999.999999", 240));
}
// The text a fresh status gets (the unit tests' message table names 0x02000005 and 32).
static std::string StatusText(DWORD code, WORD messageId, const char* argument = "")
{
    ErrorStatus status = Clear();
    SetStatus(&status, code, messageId, argument);
    return std::to_string(status.code) + " " + status.text;
}

TEST(ErrorStatus, TextsFirstFailureAndStrings)
{
    char system[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, 2, 0, system, sizeof system, NULL);
    std::string text = system + std::string(strstr(system, "\r\n") ? "" : "\r\n") + "Unable to open file (C:\\a.txt)";
    EXPECT_EQ(Text({ "2 " + text, "120 Unknown error (120)", "120 Unknown error (120)\r\nC:", "33554437 Corvantis Vandrel has been successfully removed.",
                     "32 Warning\r\nfile", "33554439 Unknown error (33554439)", "33554441 Unknown error (33554441)",
                     "33554441 Unknown error (33554441)\r\nUnable to open file (" + std::string(511 - 47, 'p') }),
              Text({ StatusText(2, IDS_UNABLE_TO_OPEN_FILE, "C:\\a.txt"), StatusText(0, 0), StatusText(0, IDS_PLAIN_TEXT, "C:"),
                     StatusText(0x02000005, 0), StatusText(32, IDS_PLAIN_TEXT, "file"), StatusText(0x02000007, 0), StatusText(0x02000009, 999),
                     StatusText(0x02000009, IDS_UNABLE_TO_OPEN_FILE, std::string(700, 'p').c_str()) }));
    ErrorStatus status = Clear();
    SetStatus(&status, 2, IDS_UNABLE_TO_OPEN_FILE, "C:\\a.txt");
    SetStatus(&status, 5, IDS_UNABLE_TO_OPEN_KEY, "x");
    SetStatus(NULL, 5, 0);
    EXPECT_EQ("2 " + text, std::to_string(status.code) + " " + status.text) << "the first failure wins";
    char buffer[512] = "old";
    EXPECT_EQ(0, LoadResString(IDS_SETUP_TITLE, buffer, 0, NULL));
    EXPECT_STREQ("old", buffer) << "nothing is written into no room";
    status = Clear();
    EXPECT_TRUE(LoadResString(900, buffer, 64, &status) && !memcmp(buffer, "one\0two\0\0", 9)) << "byte 1 becomes NUL";
    EXPECT_TRUE(LoadResString(IDS_SETUP_TITLE, buffer, 8, &status) && !strcmp(buffer, "Corvant"));
    EXPECT_EQ(0, LoadResString(777, buffer, 64, &status) + LoadFormattedText(778, buffer + 1, 64, NULL, "x"));
    EXPECT_EQ(0, buffer[0] + buffer[1]) << "emptied";
    EXPECT_TRUE(Has(status.text, "\r\nUnable to load string (777)")) << status.text;
    EXPECT_TRUE(LoadFormattedText(901, buffer, 64, &status, "x") && !strcmp(buffer, "plain \\ x"));
    // The second edition has its own title, messages, folder and addresses; nothing else moves.
    const WORD ids[] = { 100, 102, 103, 104, 106, 33, 34, 101, 105, 107, 123 }, second[] = { 115, 119, 116, 118, 117, 120, 121, 101, 105, 107, 123 };
    for (size_t i = 0; i < sizeof ids / sizeof ids[0]; i++) {
        char expected[512];
        LoadResString(second[i], expected, sizeof expected, NULL);
        ProductEdition = 4;
        LoadResString(ids[i], buffer, sizeof buffer, NULL);
        LoadProductName(expected + 400, 100, NULL);
        ProductEdition = 0;
        EXPECT_EQ(std::string(expected) + "|Zarn Image Viewer", std::string(buffer) + "|" + (expected + 400)) << ids[i];
    }
    status = Clear();
    EXPECT_TRUE(LoadAppIcon(IDI_SETUP, &status) && !LoadAppIcon(55, &status) && Has(status.text, "Unable to load icon (55)")) << status.text;
    ErrorStatus cancelled = { ERROR_CANCELLED, "cancelled" }, failed = { 5, "the failure" };
    BoxAnswerer seen = Answering(IDOK, [&] { ShowStatus(NULL, &cancelled), ShowStatus(NULL, &failed), ShowStatus(NULL, &status); });
    EXPECT_EQ(Text({ "the failure", status.text, "Error" }), Text(seen.texts) + "|" + seen.captions[0]) << "no box for a cancellation";
}
