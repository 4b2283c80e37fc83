// The error status rules, string loading with the edition redirection, and message boxes.
#include <gtest/gtest.h>
#include <string>
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "resources/resource.h"

static ErrorStatus Clear()
{
    ErrorStatus status;
    status.code = 0;
    memset(status.text, 'Z', sizeof status.text);
    status.text[0] = 0;
    return status;
}

static std::string SystemText(DWORD code)
{
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, code, 0, text, sizeof text, NULL);
    return text;
}

TEST(SetStatus, FirstFailureWins)
{
    ErrorStatus status = Clear();
    SetStatus(&status, 2, IDS_UNABLE_TO_OPEN_FILE, "C:\\a.txt");
    ASSERT_EQ(2u, status.code);
    std::string first = status.text;
    SetStatus(&status, 5, IDS_UNABLE_TO_OPEN_KEY, "x");
    EXPECT_EQ(2u, status.code);
    EXPECT_EQ(first, status.text);
    SetStatus(NULL, 5, IDS_UNABLE_TO_OPEN_KEY, "x");  // a null status is silent
}

TEST(SetStatus, SystemTextThenOneLineBreakThenMessage)
{
    std::string system = SystemText(2);
    ASSERT_FALSE(system.empty()) << "the platform has no text for error 2";
    ErrorStatus status = Clear();
    SetStatus(&status, 2, IDS_UNABLE_TO_OPEN_FILE, "C:\\a.txt");
    std::string expected = system;
    if (expected.size() < 2 || expected.compare(expected.size() - 2, 2, "\r\n") != 0) expected += "\r\n";
    expected += "Unable to open file (C:\\a.txt)";
    EXPECT_EQ(expected, status.text);
    EXPECT_EQ(std::string::npos, std::string(status.text).find("\r\n\r\n"));
}

TEST(SetStatus, CodeZeroBecomes120)
{
    ErrorStatus status = Clear();
    SetStatus(&status, 0, 0);
    EXPECT_EQ(120u, status.code);
    EXPECT_STREQ("Unknown error (120)", status.text);

    status = Clear();
    SetStatus(&status, 0, IDS_UNABLE_TO_LOAD_ICON, 7u);
    EXPECT_STREQ("Unknown error (120)\r\nUnable to load icon (7)", status.text);
}

TEST(SetStatus, MessageTableCodes)
{
    // This program's table names texts for 0x02000005 and 32; setup's own table is empty.
    ErrorStatus status = Clear();
    SetStatus(&status, 0x02000005, 0);
    EXPECT_STREQ("Corvantis Vandrel has been successfully removed.", status.text);
    status = Clear();
    SetStatus(&status, 32, IDS_PLAIN_TEXT, "file");
    EXPECT_STREQ("Warning\r\nfile", status.text);
    // Bit 25 without a table entry, and the two storage codes, use the fallbacks.
    status = Clear();
    SetStatus(&status, 0x02000007, 0);
    EXPECT_STREQ("Unknown error (33554439)", status.text);
    EXPECT_EQ(0x02000007u, status.code);
    // Codes the system knows never reach the table: 7 is in the table but has a system text.
    status = Clear();
    SetStatus(&status, 7, 0);
    EXPECT_EQ(SystemText(7), status.text);
}

TEST(SetStatus, UnknownSystemCodesFallBack)
{
    ErrorStatus status = Clear();
    SetStatus(&status, 0x1234567, IDS_PLAIN_TEXT, "tail");
    if (SystemText(0x1234567).empty()) EXPECT_STREQ("Unknown error (19088743)\r\ntail", status.text);
}

TEST(SetStatus, MessageThatCannotBeLoadedAddsNothing)
{
    ErrorStatus status = Clear();
    SetStatus(&status, 0x02000009, 999);
    EXPECT_STREQ("Unknown error (33554441)", status.text);
}

TEST(SetStatus, TextIsCutAt511Characters)
{
    std::string longPath(700, 'p');
    ErrorStatus status = Clear();
    SetStatus(&status, 0x02000009, IDS_UNABLE_TO_OPEN_FILE, longPath.c_str());
    EXPECT_EQ(511u, strlen(status.text));
    EXPECT_EQ(0, strncmp(status.text, "Unknown error (33554441)\r\nUnable to open file (ppp", 50));
}

TEST(LoadResString, LoadsAndTurnsByteOneIntoNul)
{
    char buffer[64];
    ErrorStatus status = Clear();
    ASSERT_EQ(1, LoadResString(900, buffer, sizeof buffer, &status));
    EXPECT_EQ(0, memcmp(buffer, "one\0two\0\0", 9));
    EXPECT_EQ(0u, status.code);

    ASSERT_EQ(1, LoadResString(IDS_SETUP_TITLE, buffer, 8, &status));
    EXPECT_STREQ("Corvant", buffer) << "cut to the buffer";
}

TEST(LoadResString, MissingIdEmptiesAndReports)
{
    char buffer[64] = "old";
    ErrorStatus status = Clear();
    EXPECT_EQ(0, LoadResString(777, buffer, sizeof buffer, &status));
    EXPECT_STREQ("", buffer);
    EXPECT_NE(0u, status.code);
    std::string text = status.text;
    EXPECT_NE(std::string::npos, text.find("\r\nUnable to load string (777)")) << text;
    EXPECT_EQ(0, LoadResString(777, buffer, sizeof buffer, NULL));
}

TEST(LoadResString, SecondEditionRedirectsSevenIds)
{
    struct { WORD id; const char* first; const char* second; } cases[] = {
        { 100, "Corvantis Vandrel Setup", "Zarn Image Viewer Setup" },
        { 102, "%s\\\\Corvantis Vandrel", "%s\\\\Zarn Image Viewer" },
        { 103, "Corvantis Vandrel has been successfully installed.", "Zarn Image Viewer has been successfully installed." },
        { 104, "Corvantis Vandrel has been successfully removed.", "Zarn Image Viewer has been successfully removed." },
        { 106, "Corvantis Vandrel has been successfully updated.", "Zarn Image Viewer has been successfully updated." },
        { 101, "Corvantis Vandrel (64-bit)", "Corvantis Vandrel (64-bit)" },
        { 105, "Corvantis Vandrel", "Corvantis Vandrel" },
        { 107, "Vandrel Setup", "Vandrel Setup" },
        { 123, "Quernell Vandrel (64-bit)", "Quernell Vandrel (64-bit)" },
    };
    char buffer[512], mailOrWeb[2][256], second[2][256];
    LoadResString(120, second[0], 256, NULL);
    LoadResString(121, second[1], 256, NULL);
    for (int edition = 0; edition <= 4; edition += 4) {
        ProductEdition = (BYTE)edition;
        for (auto& c : cases) {
            ASSERT_EQ(1, LoadResString(c.id, buffer, sizeof buffer, NULL));
            const char* expected = edition ? c.second : c.first;
            EXPECT_EQ(0, strncmp(buffer, expected, strlen(expected))) << c.id << ": " << buffer;
        }
        LoadResString(33, mailOrWeb[0], 256, NULL);
        LoadResString(34, mailOrWeb[1], 256, NULL);
        if (edition) {
            EXPECT_STREQ(second[0], mailOrWeb[0]);
            EXPECT_STREQ(second[1], mailOrWeb[1]);
        } else {
            EXPECT_STRNE(second[0], mailOrWeb[0]);
        }
        LoadProductName(buffer, sizeof buffer, NULL);
        EXPECT_STREQ(edition ? "Zarn Image Viewer" : "Corvantis Vandrel", buffer);
    }
    ProductEdition = 0;
}

TEST(LoadAppIcon, LoadsIconOneAndReportsAMissingOne)
{
    ErrorStatus status = Clear();
    EXPECT_NE(nullptr, LoadAppIcon(IDI_SETUP, &status));
    EXPECT_EQ(0u, status.code);
    EXPECT_EQ(nullptr, LoadAppIcon(55, &status));
    EXPECT_NE(0u, status.code);
    EXPECT_NE(std::string::npos, std::string(status.text).find("Unable to load icon (55)"));
}

TEST(FormattedText, LoadsAndFormats)
{
    char buffer[64];
    ErrorStatus status = Clear();
    EXPECT_EQ(1, LoadFormattedText(901, buffer, sizeof buffer, &status, "x"));
    EXPECT_STREQ("plain \\ x", buffer);
    EXPECT_EQ(1, LoadFormattedText(IDS_DEFAULT_DESTINATION, buffer, sizeof buffer, &status, "C:\\Program Files"));
    EXPECT_STREQ("C:\\Program Files\\Corvantis Vandrel", buffer);
    EXPECT_EQ(0, LoadFormattedText(778, buffer, sizeof buffer, &status, "x"));
    EXPECT_STREQ("", buffer);
    EXPECT_NE(0u, status.code);
}

// Message boxes: a helper thread reads the box's caption and text and closes it.
struct BoxSeen {
    char caption[256];
    char text[512];
    DWORD thread;
};

static DWORD WINAPI CloseBoxWhenShown(LPVOID param)
{
    BoxSeen* seen = (BoxSeen*)param;
    for (int i = 0; i < 500; i++) {
        Sleep(10);
        HWND box = NULL;
        while ((box = FindWindowExA(NULL, box, "#32770", NULL)) != NULL) {
            DWORD pid = 0;
            if (GetWindowThreadProcessId(box, &pid) != seen->thread) continue;
            if (!IsWindowVisible(box) || !GetDlgItem(box, 0xFFFF)) continue;  // message boxes only
            GetWindowTextA(box, seen->caption, sizeof seen->caption);
            GetDlgItemTextA(box, 0xFFFF, seen->text, sizeof seen->text);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
    }
    return 1;
}

static BoxSeen ShowBox(HWND owner, WORD textId, WORD captionId, const char* argument)
{
    BoxSeen seen = {};
    seen.thread = GetCurrentThreadId();
    HANDLE closer = CreateThread(NULL, 0, CloseBoxWhenShown, &seen, 0, NULL);
    MessageBoxById(owner, textId, captionId, MB_OK, argument);
    WaitForSingleObject(closer, 10000);
    CloseHandle(closer);
    return seen;
}

TEST(MessageBoxById, TextAndCaptionRules)
{
    BoxSeen seen = ShowBox(NULL, IDS_UNABLE_TO_OPEN_FILE, IDS_SETUP_TITLE, "C:\\x");
    EXPECT_STREQ("Unable to open file (C:\\x)", seen.text);
    EXPECT_STREQ("Corvantis Vandrel Setup", seen.caption);

    HWND parent = CreateWindowExA(0, "STATIC", "Parent title", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, parent, NULL, NULL, NULL);
    HWND titled = CreateWindowExA(0, "STATIC", "Own title", WS_CHILD, 0, 0, 10, 10, parent, NULL, NULL, NULL);
    seen = ShowBox(child, IDS_WARNING, 0, NULL);
    EXPECT_STREQ("Parent title", seen.caption);
    EXPECT_STREQ("Warning", seen.text);
    seen = ShowBox(titled, IDS_WARNING, 0, NULL);
    EXPECT_STREQ("Own title", seen.caption);
    seen = ShowBox(child, 779, IDS_WARNING, NULL);
    EXPECT_STREQ("", seen.text);
    EXPECT_STREQ("Warning", seen.caption);
    DestroyWindow(parent);
}

TEST(ShowStatus, CancellationAndSuccessShowNothing)
{
    ErrorStatus status = Clear();
    BoxSeen seen = {};
    seen.thread = GetCurrentThreadId();
    HANDLE closer = CreateThread(NULL, 0, CloseBoxWhenShown, &seen, 0, NULL);
    ShowStatus(NULL, &status);
    status.code = ERROR_CANCELLED;
    strcpy(status.text, "cancelled");
    ShowStatus(NULL, &status);
    status.code = 5;
    strcpy(status.text, "the failure");
    ShowStatus(NULL, &status);
    WaitForSingleObject(closer, 10000);
    CloseHandle(closer);
    // Only the third call showed a box.
    EXPECT_STREQ("the failure", seen.text);
    EXPECT_STREQ("Error", seen.caption);
}
