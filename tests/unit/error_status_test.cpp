// The error status rules, string loading with the edition redirection, message boxes, and the
// string table of the shipped setup.exe.
#include <gtest/gtest.h>
#include <string>
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "resources/resource.h"
#include "unit/file_helpers.h"

static std::string SystemText(DWORD code)
{
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, code, 0, text, sizeof text, NULL);
    return text;
}

// The text a fresh status gets (the unit tests' message table names 0x02000005 and 32).
static std::string StatusText(DWORD code, WORD messageId, const char* argument = "")
{
    ErrorStatus status = Clear();
    SetStatus(&status, code, messageId, argument);
    EXPECT_EQ(code ? code : 120u, status.code);
    return status.text;
}

TEST(SetStatus, TextsAndTheFirstFailureWins)
{
    std::string system = SystemText(2);
    ASSERT_FALSE(system.empty());
    if (system.size() < 2 || system.compare(system.size() - 2, 2, "\r\n")) system += "\r\n";
    EXPECT_EQ(system + "Unable to open file (C:\\a.txt)", StatusText(2, IDS_UNABLE_TO_OPEN_FILE, "C:\\a.txt"));
    EXPECT_EQ("Unknown error (120)", StatusText(0, 0));
    EXPECT_EQ("Unknown error (120)\r\nC:", StatusText(0, IDS_PLAIN_TEXT, "C:"));
    EXPECT_EQ("Corvantis Vandrel has been successfully removed.", StatusText(0x02000005, 0));
    EXPECT_EQ("Warning\r\nfile", StatusText(32, IDS_PLAIN_TEXT, "file"));
    EXPECT_EQ("Unknown error (33554439)", StatusText(0x02000007, 0));
    EXPECT_EQ("Unknown error (33554441)", StatusText(0x02000009, 999));  // a message that does not load adds nothing
    EXPECT_EQ(SystemText(7), StatusText(7, 0));  // a code the system knows never reaches the table
    if (SystemText(0x1234567).empty()) EXPECT_EQ("Unknown error (19088743)\r\ntail", StatusText(0x1234567, IDS_PLAIN_TEXT, "tail"));
    std::string cut = StatusText(0x02000009, IDS_UNABLE_TO_OPEN_FILE, std::string(700, 'p').c_str());
    EXPECT_EQ(511u, cut.size());
    EXPECT_EQ("Unknown error (33554441)\r\nUnable to open file (ppp", cut.substr(0, 50));

    ErrorStatus status = Clear();
    SetStatus(&status, 2, IDS_UNABLE_TO_OPEN_FILE, "C:\\a.txt");
    std::string first = status.text;
    SetStatus(&status, 5, IDS_UNABLE_TO_OPEN_KEY, "x");
    EXPECT_EQ(2u, status.code);
    EXPECT_EQ(first, status.text);
    SetStatus(NULL, 5, 0);
}

TEST(LoadResString, LoadsCutsRedirectsAndReports)
{
    char buffer[512];
    ErrorStatus status = Clear();
    ASSERT_EQ(1, LoadResString(900, buffer, 64, &status));
    EXPECT_EQ(0, memcmp(buffer, "one\0two\0\0", 9)) << "byte 1 becomes NUL";
    ASSERT_EQ(1, LoadResString(IDS_SETUP_TITLE, buffer, 8, &status));
    EXPECT_STREQ("Corvant", buffer);
    EXPECT_EQ(0u, status.code);
    EXPECT_EQ(0, LoadResString(777, buffer, 64, &status));
    EXPECT_STREQ("", buffer);
    EXPECT_TRUE(Has(status.text, "\r\nUnable to load string (777)")) << status.text;
    EXPECT_EQ(0, LoadResString(777, buffer, 0, NULL));
    EXPECT_EQ(1, LoadFormattedText(901, buffer, 64, &status, "x"));
    EXPECT_STREQ("plain \\ x", buffer);
    EXPECT_EQ(0, LoadFormattedText(778, buffer, 64, NULL, "x"));
    EXPECT_STREQ("", buffer);

    // The second edition has its own title, messages, folder and addresses; nothing else moves.
    const WORD ids[] = { 100, 102, 103, 104, 106, 33, 34, 101, 105, 107, 123 };
    const WORD second[] = { 115, 119, 116, 118, 117, 120, 121, 101, 105, 107, 123 };
    for (size_t i = 0; i < sizeof ids / sizeof ids[0]; i++) {
        char expected[512];
        LoadResString(second[i], expected, sizeof expected, NULL);
        ProductEdition = 4;
        LoadResString(ids[i], buffer, sizeof buffer, NULL);
        ProductEdition = 0;
        EXPECT_STREQ(expected, buffer) << ids[i];
    }
    ProductEdition = 4;
    LoadProductName(buffer, sizeof buffer, NULL);
    ProductEdition = 0;
    EXPECT_STREQ("Zarn Image Viewer", buffer);
    LoadProductName(buffer, sizeof buffer, NULL);
    EXPECT_STREQ("Corvantis Vandrel", buffer);

    status = Clear();
    EXPECT_NE(nullptr, LoadAppIcon(IDI_SETUP, &status));
    EXPECT_EQ(nullptr, LoadAppIcon(55, &status));
    EXPECT_TRUE(Has(status.text, "Unable to load icon (55)")) << status.text;
}

TEST(MessageBoxes, CaptionRulesAndWhatShowStatusShows)
{
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
        MessageBoxById(titled, IDS_WARNING, 0, MB_OK);
        MessageBoxById(child, 779, IDS_WARNING, MB_OK);
        ShowStatus(NULL, &cancelled);
        ShowStatus(NULL, &failed);
        failed.code = 0;
        ShowStatus(NULL, &failed);
    });
    EXPECT_EQ((std::vector<std::string>{ "Unable to open file (C:\\x)", "Warning", "Warning", "", "the failure" }), seen.texts);
    EXPECT_EQ((std::vector<std::string>{ "Corvantis Vandrel Setup", "Parent title", "Own title", "Warning", "Error" }),
              seen.captions);
    DestroyWindow(parent);
}

// A handful of the shipped table's texts, with their escapes, and the number of texts.
TEST(ShippedStringTable, TextsWithEscapesAndTheCount)
{
    HMODULE setup = LoadLibraryExA(BuiltFile("SETUP_EXE").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, setup) << "SETUP_EXE must name the built setup.exe";
    struct { unsigned id; const char* text; } entries[] = {
        { 2, "The folder\n%s\ndoes not exist. Do you want the folder to be created?" },
        { 12, "Unable to copy file (\"%s\" to \"%s\")" },
        { 46, "There is not enough free disk space to complete the installation.\r\nSpace required: %lu KB\r\n"
              "Space available: %lu KB\r\nPlease free up some disk space." },
        { 70, "\\VarFileInfo\\Translation" },
        { 76, "The error was:\n%s\n\nSetup will now exit." },
        { 83, "Warning: Could not register DLL \"%s\". Verify that you have write access to the registry. (Error: %08lx)" },
        { 102, "%s\\\\Corvantis Vandrel" },
    };
    for (auto& e : entries) {
        char buffer[1024];
        EXPECT_EQ((int)strlen(e.text), LoadStringA(setup, e.id, buffer, sizeof buffer)) << e.id;
        EXPECT_STREQ(e.text, buffer) << e.id;
    }
    int count = 0;
    for (unsigned id = 0; id < 1024; id++) {
        char buffer[8];
        count += LoadStringA(setup, id, buffer, sizeof buffer) > 0;
    }
    EXPECT_EQ(89, count);
    FreeLibrary(setup);
}
