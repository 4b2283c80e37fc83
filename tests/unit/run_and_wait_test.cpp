// RunAndWait with a real child process; the licence text loaded into a control and the accepted
// agreement version against the stored one.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "core/format.h"
#include "wizard/agreement_page.h"
#include "wizard/agreement_version.h"
#include "unit/file_helpers.h"

static DWORD RunChild(const std::string& arguments, DWORD* exitCode)
{
    std::string child = BuiltFile("TEST_CHILD"), commandLine = "\"" + child + "\" " + arguments;
    DWORD start = GetTickCount();
    EXPECT_EQ(1, RunAndWait(child.c_str(), &commandLine[0], exitCode));
    return GetTickCount() - start;
}

TEST(RunAndWait, WaitsForTheExitCodeDeliveringOnlySentMessages)
{
    DWORD exitCode = 12345;
    EXPECT_GE(RunChild("sleep 200 exit 7", &exitCode), 150u);
    EXPECT_LT(RunChild("sleep 3000", NULL), 2500u) << "without a place for the code it does not wait";
    char missing[] = "\"C:\\no\\such\\program.exe\"";
    EXPECT_EQ(0, RunAndWait("C:\\no\\such\\program.exe", missing, &exitCode));
    EXPECT_EQ(7u, exitCode);
    static int probes;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        return message == WM_APP + 7 ? (probes++, 42) : DefWindowProcA(window, message, wParam, lParam);
    };
    windowClass.lpszClassName = "RunAndWaitProbe";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "RunAndWaitProbe", "", 0, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    PostMessageA(window, WM_APP + 8, 0, 0);
    RunChild("send " + std::to_string((UINT_PTR)window) + " " + std::to_string(WM_APP + 7) + " exit 3", &exitCode);
    MSG message;
    EXPECT_EQ("3|1|1", Text({ std::to_string(exitCode), std::to_string(probes),
                               std::to_string(PeekMessageA(&message, window, WM_APP + 8, WM_APP + 8, PM_REMOVE)) }))
        << "the sent message answered (99 when not), the posted one still waiting";
    DestroyWindow(window);
}

TEST(Agreement, LicenceTextAndTheVersionAgainstTheStoredOne)
{
    HWND dialog = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 300, 200, NULL, NULL, NULL, NULL);
    CreateWindowExA(0, "Edit", "before", WS_CHILD | ES_MULTILINE, 0, 0, 200, 100, dialog, (HMENU)26, NULL, NULL);
    std::string folder = ScratchFolder("licence");
    WriteFileBytes(folder + "\\a.txt", "Terms for %s."), WriteFileBytes(folder + "\\b.txt", ""), WriteFileBytes(folder + "\\c.txt", "other");
    ErrorStatus status = Clear();
    char text[512];
    for (const char* name : { "\\a.txt", "\\b.txt", "\\missing\\c.txt", "\\c.txt" }) LoadTextIntoControl(dialog, 26, (folder + name).c_str(), &status);
    GetDlgItemTextA(dialog, 26, text, sizeof text);
    EXPECT_EQ("Terms for %s.|3", std::string(text) + "|" + std::to_string(status.code)) << "an empty file, a missing one and a failure before leave it";
    DestroyWindow(dialog);
    const char* key = "Software\\Corvantis Vandrel";
    std::string answers;
    for (auto c : { std::make_pair("3", (const char*)NULL), { "3", "no" }, { "3", "none" }, { "3", "3" }, { "4", "3" }, { "9", "10" }, { "", "3" }, { "3", "" } }) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
        if (c.second) RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, "EULAVersion", REG_SZ, c.second, lstrlenA(c.second) + 1);
        std::string script = std::string("[Setup]\r\nEULAVersion=") + c.first + "\r\n";
        status = Clear();
        answers += AgreementVersionIsNewer(&script[0], &status) && !status.code ? "1" : "0";
    }
    EXPECT_EQ("11101001", answers) << "no stored value, or one holding \"no\", or an older number: newer";
}
