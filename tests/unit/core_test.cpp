// The core services: the formatter's own rules (not printf's), the string helpers, the error
// status, string loading with the edition redirection, message boxes, and the shipped table.
#include <gtest/gtest.h>
#include <string>
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
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
    std::string longText(1000, 'q');
    std::pair<std::string, std::string> cases[] = {
        { "   42|00042|-5u|42|  ab|x7", Format(64, "%5u|%05u|%-5u|%1u|%4s|x%.3u", 42, 42, 42, "ab", 7) },
        { "-17|4294967279|ff|FF|3", Format(64, "%d|%u|%x|%X|%i", -17, (unsigned)-17, 255, 255, 3) },
        { "-17|4294967279|ff|FF", Format(64, "%ld|%lu|%lx|%lX", -17L, (unsigned long)-17, 255UL, 255UL) },
        { "c 100% 5|[]|1|a", Format(64, "%c %u%% %u|[%s]|%u|a%", 100, 5, (const char*)NULL, 0x100000001ULL) },
        { "a\\b|abc|%s|ab", Format(64, "a\\\\b|a\\bc|\\%s|ab\\", "x") },
        { "", Format(1, "abc") }, { "<untouched>", Format(0, "abc") }, { "a", Format(2, "abc") }, { "x12", Format(4, "x%u", 12345) },
        { "x   ", Format(5, "x%9s", "long") }, { "He", Format(3, "%s", "Hello") }, { std::string(511, 'q'), Format(512, "%s", longText.c_str()) },
    };
    for (auto& c : cases) EXPECT_EQ(c.first, c.second);

    char buffer[8] = "ZZZZZZZ", *position = buffer;
    unsigned left = sizeof buffer, none = 0;
    CopyText("abcdefghij", buffer, 5);
    CopyText("xyz", buffer, 0);
    EXPECT_EQ(std::string("abcd\0ZZ", 7), std::string(buffer, 7));
    AppendAtCursor("abc", &position, &left);
    AppendAtCursor("defgh", &position, &left);
    AppendAtCursor("x", &position, &none);
    JoinTexts(buffer + 2, 0, "x", (const char*)NULL);
    EXPECT_EQ("abcdefg|1|7", std::string(buffer) + "|" + std::to_string(left) + "|" + std::to_string(position - buffer));
    JoinTexts(buffer, 6, "ab", "", "cd", "efgh", (const char*)NULL);
    EXPECT_STREQ("abcde", buffer);
    EXPECT_EQ((std::vector<int>{ 2, -1, 4, -1, 0, -1 }), (std::vector<int>{ IndexOfChar("ab,c,", ','), IndexOfChar("abc", ','),
              IndexOfText("foo.iexplore.exe", "iexplore"), IndexOfText("abc", "abcd"), IndexOfText("abc", ""), IndexOfText("ABC", "abc") }));
    EXPECT_EQ((std::vector<DWORD>{ 12, 0, 0, 0, 705032704 }),
              (std::vector<DWORD>{ ParseDecimal("12ab"), ParseDecimal("ab"), ParseDecimal(" 7"), ParseDecimal("-3"), ParseDecimal("5000000000") }));
    POINT point = { 7, 8 }, second = { 0, 0 }, third = { 0, 0 };
    ParsePoint("12", &point);
    ParsePoint("5,-6", &second);
    ParsePoint("-12,34x", &third);
    EXPECT_EQ((std::vector<LONG>{ 7, 8, 5, -6, -12, 34 }), (std::vector<LONG>{ point.x, point.y, second.x, second.y, third.x, third.y }));
    DWORD n[4] = { 1, 2, 3, 4 };
    ParseFourNumbers("10,20,30", &n[0], &n[1], &n[2], &n[3]);
    EXPECT_EQ(1u, n[0]);
    ParseFourNumbers("10,20,x,40,50", &n[0], &n[1], &n[2], &n[3]);
    EXPECT_EQ((std::vector<DWORD>{ 10, 20, 0, 40 }), std::vector<DWORD>(n, n + 4));
    char folder[MAX_PATH], path[MAX_PATH];
    GetModuleFolder(folder, sizeof folder);
    GetModuleFileNameA(NULL, path, sizeof path);
    EXPECT_EQ(std::string(path).substr(0, std::string(path).rfind('\\') + 1), folder);
}

// The text a fresh status gets (the unit tests' message table names 0x02000005 and 32).
static std::string StatusText(DWORD code, WORD messageId, const char* argument = "")
{
    ErrorStatus status = Clear();
    SetStatus(&status, code, messageId, argument);
    EXPECT_EQ(code ? code : 120u, status.code);
    return status.text;
}

TEST(ErrorStatus, TextsFirstFailureStringsAndBoxes)
{
    char system[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, 2, 0, system, sizeof system, NULL);
    std::string text = system;
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n")) text += "\r\n";
    std::string cut = StatusText(0x02000009, IDS_UNABLE_TO_OPEN_FILE, std::string(700, 'p').c_str());
    std::pair<std::string, std::string> cases[] = {
        { text + "Unable to open file (C:\\a.txt)", StatusText(2, IDS_UNABLE_TO_OPEN_FILE, "C:\\a.txt") },
        { "Unknown error (120)", StatusText(0, 0) }, { "Unknown error (120)\r\nC:", StatusText(0, IDS_PLAIN_TEXT, "C:") },
        { "Corvantis Vandrel has been successfully removed.", StatusText(0x02000005, 0) },
        { "Warning\r\nfile", StatusText(32, IDS_PLAIN_TEXT, "file") }, { "Unknown error (33554439)", StatusText(0x02000007, 0) },
        { "Unknown error (33554441)", StatusText(0x02000009, 999) },
        { "Unknown error (33554441)\r\nUnable to open file (ppp", cut.substr(0, 50) }, { "511", std::to_string(cut.size()) },
    };
    for (auto& c : cases) EXPECT_EQ(c.first, c.second);
    ErrorStatus status = Clear();
    SetStatus(&status, 2, IDS_UNABLE_TO_OPEN_FILE, "C:\\a.txt");
    SetStatus(&status, 5, IDS_UNABLE_TO_OPEN_KEY, "x");
    EXPECT_EQ(text + "Unable to open file (C:\\a.txt)|2", std::string(status.text) + "|" + std::to_string(status.code));
    SetStatus(NULL, 5, 0);

    char buffer[512] = "old";
    EXPECT_EQ(0, LoadResString(IDS_SETUP_TITLE, buffer, 0, NULL));
    EXPECT_STREQ("old", buffer) << "nothing is written into no room";
    status = Clear();
    EXPECT_EQ(1, LoadResString(900, buffer, 64, &status));
    EXPECT_EQ(0, memcmp(buffer, "one\0two\0\0", 9)) << "byte 1 becomes NUL";
    EXPECT_EQ(1, LoadResString(IDS_SETUP_TITLE, buffer, 8, &status));
    EXPECT_STREQ("Corvant", buffer);
    EXPECT_EQ(0, LoadResString(777, buffer, 64, &status) + LoadFormattedText(778, buffer + 1, 64, NULL, "x"));
    EXPECT_EQ(std::string("\0\0", 2), std::string(buffer, 2));
    EXPECT_TRUE(Has(status.text, "\r\nUnable to load string (777)")) << status.text;
    EXPECT_EQ(1, LoadFormattedText(901, buffer, 64, &status, "x"));
    EXPECT_STREQ("plain \\ x", buffer);
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
    EXPECT_TRUE(LoadAppIcon(IDI_SETUP, &status) && !LoadAppIcon(55, &status));
    EXPECT_TRUE(Has(status.text, "Unable to load icon (55)")) << status.text;

    HWND parent = CreateWindowExA(0, "STATIC", "Parent title", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, parent, NULL, NULL, NULL);
    HWND titled = CreateWindowExA(0, "STATIC", "Own title", WS_CHILD, 0, 0, 10, 10, parent, NULL, NULL, NULL);
    ErrorStatus cancelled = Clear(), failed = Clear();
    cancelled.code = ERROR_CANCELLED;
    failed.code = 5;
    strcpy(failed.text, "the failure");
    BoxAnswerer seen = Answering(IDOK, [&] {
        MessageBoxById(NULL, IDS_UNABLE_TO_OPEN_FILE, IDS_SETUP_TITLE, MB_OK, "C:\\x");
        MessageBoxById(child, IDS_WARNING, 0, MB_OK);
        MessageBoxById(titled, 779, 0, MB_OK);
        ShowStatus(NULL, &cancelled);
        ShowStatus(NULL, &failed);
        failed.code = 0;
        ShowStatus(NULL, &failed);
    });
    EXPECT_EQ((std::vector<std::string>{ "Unable to open file (C:\\x)", "Warning", "", "the failure" }), seen.texts);
    EXPECT_EQ((std::vector<std::string>{ "Corvantis Vandrel Setup", "Parent title", "Own title", "Error" }), seen.captions);
    DestroyWindow(parent);
}

// A handful of the shipped table's texts, with their escapes, and the number of texts.
TEST(ShippedStringTable, TextsWithEscapesAndTheCount)
{
    HMODULE setup = LoadLibraryExA(BuiltFile("SETUP_EXE").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, setup) << "SETUP_EXE must name the built setup.exe";
    std::pair<unsigned, std::string> entries[] = {
        { 2, "The folder\n%s\ndoes not exist. Do you want the folder to be created?" }, { 12, "Unable to copy file (\"%s\" to \"%s\")" },
        { 46, "There is not enough free disk space to complete the installation.\r\nSpace required: %lu KB\r\nSpace available: %lu KB\r\n"
              "Please free up some disk space." },
        { 70, "\\VarFileInfo\\Translation" }, { 76, "The error was:\n%s\n\nSetup will now exit." }, { 102, "%s\\\\Corvantis Vandrel" },
    };
    char buffer[1024];
    for (auto& e : entries) EXPECT_EQ(e.second, std::string(buffer, LoadStringA(setup, e.first, buffer, sizeof buffer)));
    int count = 0;
    for (unsigned id = 0; id < 1024; id++) count += LoadStringA(setup, id, buffer, sizeof buffer) > 0;
    EXPECT_EQ(89, count);
    FreeLibrary(setup);
}
