// What the wizard reads besides its pages: flags of the setup script, the licence text loaded
// into a control, and the accepted agreement version against the stored one.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "core/error_status.h"
#include "wizard/agreement_page.h"
#include "wizard/agreement_version.h"
#include "wizard/script_values.h"
#include "unit/file_helpers.h"

TEST(ReadScriptFlag, LeadingDigitsDecideAndEmptyKeepsTheDefault)
{
    char script[] = "[S]\r\none=1\r\nzero=0\r\nyes=yes\r\nempty=\r\nblank=   \r\ntwelve=12abc\r\n";
    struct { const char* key; bool fallback, expected; } cases[] = {
        { "one", false, true }, { "zero", true, false }, { "yes", true, false }, { "twelve", false, true },
        { "empty", true, true }, { "empty", false, false }, { "blank", true, true }, { "missing", true, true },
    };
    for (auto& c : cases) EXPECT_EQ(c.expected, ReadScriptFlag(script, "S", c.key, c.fallback)) << c.key;
    EXPECT_FALSE(ReadScriptFlag(NULL, "S", "one", false));
}

TEST(LoadTextIntoControl, PutsTheWholeFileInUnchanged)
{
    HWND dialog = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 300, 200, NULL, NULL, NULL, NULL);
    CreateWindowExA(0, "Edit", "before", WS_CHILD | ES_MULTILINE, 0, 0, 200, 100, dialog, (HMENU)26, NULL, NULL);
    std::string folder = ScratchFolder("licence"), terms = "Terms for %s.\r\nLine two \\ end";
    WriteFileBytes(folder + "\\a.txt", terms);
    WriteFileBytes(folder + "\\b.txt", "");
    WriteFileBytes(folder + "\\c.txt", "other");
    ErrorStatus status = Clear();
    char text[512];
    for (const char* name : { "\\a.txt", "\\b.txt", "\\missing\\c.txt", "\\c.txt" }) {
        LoadTextIntoControl(dialog, 26, (folder + name).c_str(), &status);
        GetDlgItemTextA(dialog, 26, text, sizeof text);
        EXPECT_EQ(terms, text) << name << ": an empty file, a missing one and a failure before leave the text";
    }
    EXPECT_EQ(3u, status.code);
    DestroyWindow(dialog);
    RemoveTree(folder);
}

TEST(AgreementVersion, TheScriptsVersionAgainstTheStoredOne)
{
    const char* key = "Software\\Corvantis Vandrel";
    struct { const char *script, *stored; bool newer; } cases[] = {
        { "3", NULL, true }, { "3", "no", true }, { "3", "none", true }, { "3", "3", false }, { "4", "3", true },
        { "9", "10", false }, { "", "3", false }, { "3", "", true },
    };
    for (auto& c : cases) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
        if (c.stored) RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, "EULAVersion", REG_SZ, c.stored, lstrlenA(c.stored) + 1);
        std::string script = std::string("[Setup]\r\nEULAVersion=") + c.script + "\r\n";
        ErrorStatus status = Clear();
        EXPECT_EQ(c.newer, AgreementVersionIsNewer(&script[0], &status)) << c.script << " over " << (c.stored ? c.stored : "none");
        EXPECT_EQ(0u, status.code);
    }
    char script[] = "[Setup]\r\nEULAVersion=5\r\n", stored[8] = "";
    ErrorStatus status = Clear();
    StoreAcceptedAgreementVersion(script, &status);
    DWORD size = sizeof stored;
    RegGetValueA(HKEY_LOCAL_MACHINE, key, "EULAVersion", RRF_RT_REG_SZ, NULL, stored, &size);
    EXPECT_STREQ("5", stored);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
}
