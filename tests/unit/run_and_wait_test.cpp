// Programs that setup starts and looks for, with real child processes: RunAndWait, and the
// browser found by its file name by both process walks; the licence text loaded into a control
// and the accepted agreement version against the stored one.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "core/format.h"
#include "core/globals.h"
#include "resources/resource.h"
#include "wizard/agreement_page.h"
#include "wizard/agreement_version.h"
#include "wizard/running_programs.h"
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

// Copies of the test child under a name that only ends with the browser's and under the
// browser's own in another case; "process-status snapshot" answers, each 0 or 1.
TEST(IsProgramRunning, FindsTheBrowserByItsFileNameOnly)
{
    auto running = [] {
        std::string found;
        BOOL saved = IsWindowsNT;
        for (BOOL nt : { TRUE, FALSE }) IsWindowsNT = nt, found += IsProgramRunning(IDS_BROWSER_PROGRAM) ? "1" : "0";
        IsWindowsNT = saved;
        return found;
    };
    std::vector<PROCESS_INFORMATION> started;
    std::string answers = running(), folder = ScratchFolder("browser");
    for (const char* name : { "myiexplore.exe", "IExplore.EXE" }) {
        std::string path = folder + "\\" + name, record = path + ".started", commandLine = "\"" + path + "\" record \"" + record + "\" sleep 60000";
        CopyFileA(BuiltFile("TEST_CHILD").c_str(), path.c_str(), FALSE);
        STARTUPINFOA startup = { sizeof startup };
        started.push_back({});
        CreateProcessA(path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &started.back());
        for (int i = 0; i < 500 && !PathExists(record); i++) Sleep(20);
        answers += " " + running();
    }
    for (PROCESS_INFORMATION& process : started) TerminateProcess(process.hProcess, 0), WaitForSingleObject(process.hProcess, 5000);
    EXPECT_EQ("00 00 11 00", answers + " " + running());
    EXPECT_EQ("1100", std::to_string(PathNamesProgram("C:iExplore.Exe", "iexplore.exe")) + std::to_string(PathNamesProgram("iexplore.exe", "iexplore.exe")) +
              std::to_string(PathNamesProgram("C:\\tools/iexplore.exe", "iexplore.exe")) + std::to_string(PathNamesProgram("C:\\x\\iexplore.exe", "")));
}

TEST(Agreement, LicenceTextAndTheVersionAgainstTheStoredOne)
{
    HWND dialog = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 300, 200, NULL, NULL, NULL, NULL);
    CreateWindowExA(0, "Edit", "before", WS_CHILD | ES_MULTILINE, 0, 0, 200, 100, dialog, (HMENU)26, NULL, NULL);
    std::string folder = ScratchFolder("licence"), terms = "Terms for %s.\r\nLine two \\ end";
    WriteFileBytes(folder + "\\a.txt", terms), WriteFileBytes(folder + "\\b.txt", ""), WriteFileBytes(folder + "\\c.txt", "other");
    ErrorStatus status = Clear();
    char text[512];
    for (const char* name : { "\\a.txt", "\\b.txt", "\\missing\\c.txt", "\\c.txt" }) LoadTextIntoControl(dialog, 26, (folder + name).c_str(), &status);
    GetDlgItemTextA(dialog, 26, text, sizeof text);
    EXPECT_EQ(terms + "|3", std::string(text) + "|" + std::to_string(status.code)) << "an empty file, a missing one and a failure before leave it";
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
    char script[] = "[Setup]\r\nEULAVersion=5\r\n", stored[8] = "";
    StoreAcceptedAgreementVersion(script, &status);
    DWORD size = sizeof stored;
    RegGetValueA(HKEY_LOCAL_MACHINE, key, "EULAVersion", RRF_RT_REG_SZ, NULL, stored, &size);
    EXPECT_STREQ("5", stored);
}
