// Flags of the setup script as the wizard reads them, and the licence text loaded into a control.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "core/error_status.h"
#include "wizard/agreement_page.h"
#include "wizard/script_values.h"

TEST(ReadScriptFlag, LeadingDigitsDecideAndEmptyKeepsTheDefault)
{
    char script[] = "[S]\r\none=1\r\nzero=0\r\nyes=yes\r\ntrue=true\r\nempty=\r\nblank=   \r\ntwelve=12abc\r\n";
    EXPECT_TRUE(ReadScriptFlag(script, "S", "one", false));
    EXPECT_FALSE(ReadScriptFlag(script, "S", "zero", true));
    EXPECT_FALSE(ReadScriptFlag(script, "S", "yes", true));
    EXPECT_FALSE(ReadScriptFlag(script, "S", "true", true));
    EXPECT_TRUE(ReadScriptFlag(script, "S", "twelve", false));
    EXPECT_TRUE(ReadScriptFlag(script, "S", "empty", true));
    EXPECT_FALSE(ReadScriptFlag(script, "S", "empty", false));
    EXPECT_TRUE(ReadScriptFlag(script, "S", "blank", true));
    EXPECT_TRUE(ReadScriptFlag(script, "S", "missing", true));
    EXPECT_FALSE(ReadScriptFlag(NULL, "S", "one", false));
}

namespace {

std::string WriteTemp(const char* name, const std::string& bytes)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    return path;
}

std::string ControlText(HWND dialog)
{
    char text[512];
    GetDlgItemTextA(dialog, 26, text, sizeof text);
    return text;
}

}  // namespace

TEST(LoadTextIntoControl, PutsTheWholeFileInUnchanged)
{
    HWND dialog = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 300, 200, NULL, NULL, NULL, NULL);
    CreateWindowExA(0, "Edit", "before", WS_CHILD | ES_MULTILINE, 0, 0, 200, 100, dialog, (HMENU)26, NULL, NULL);

    ErrorStatus status = { 0, "" };
    LoadTextIntoControl(dialog, 26, WriteTemp("licence-a.txt", "Terms for %s.\r\nLine two \\ end").c_str(), &status);
    EXPECT_EQ(0u, status.code);
    EXPECT_EQ("Terms for %s.\r\nLine two \\ end", ControlText(dialog));

    LoadTextIntoControl(dialog, 26, WriteTemp("licence-b.txt", "").c_str(), &status);
    EXPECT_EQ(0u, status.code);
    EXPECT_EQ("Terms for %s.\r\nLine two \\ end", ControlText(dialog)) << "an empty file leaves the text";

    LoadTextIntoControl(dialog, 26, "C:\\no\\such\\licence.txt", &status);
    EXPECT_EQ(3u, status.code);
    EXPECT_EQ("Terms for %s.\r\nLine two \\ end", ControlText(dialog));

    // A status that already holds a failure does nothing.
    LoadTextIntoControl(dialog, 26, WriteTemp("licence-c.txt", "other").c_str(), &status);
    EXPECT_EQ(3u, status.code);
    EXPECT_EQ("Terms for %s.\r\nLine two \\ end", ControlText(dialog));
    DestroyWindow(dialog);
}
