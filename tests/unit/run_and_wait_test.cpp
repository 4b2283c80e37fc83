// Programs that setup starts and looks for, with real child processes: RunAndWait, and the
// browser found by its file name only, by both process walks.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "core/format.h"
#include "core/globals.h"
#include "resources/resource.h"
#include "wizard/running_programs.h"
#include "unit/file_helpers.h"

static int ProbesDelivered;

static LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP + 7) return ++ProbesDelivered, 42;
    return DefWindowProcA(window, message, wParam, lParam);
}

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
    EXPECT_EQ(7u, exitCode);
    EXPECT_LT(RunChild("sleep 3000", NULL), 2500u) << "without a place for the code it does not wait";
    char missing[] = "\"C:\\no\\such\\program.exe\"";
    EXPECT_EQ(0, RunAndWait("C:\\no\\such\\program.exe", missing, &exitCode));
    EXPECT_EQ(7u, exitCode);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ProbeWindowProc;
    windowClass.lpszClassName = "RunAndWaitProbe";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "RunAndWaitProbe", "", 0, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    PostMessageA(window, WM_APP + 8, 0, 0);
    RunChild("send " + std::to_string((UINT_PTR)window) + " " + std::to_string(WM_APP + 7) + " exit 3", &exitCode);
    EXPECT_EQ(3u, exitCode) << "99 means the sent message was not answered";
    EXPECT_EQ(1, ProbesDelivered);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, window, WM_APP + 8, WM_APP + 8, PM_REMOVE)) << "the posted message still waits";
    DestroyWindow(window);
}

// A copy of the test child under the given file name, running until stopped.
static HANDLE StartCopyNamed(const char* fileName)
{
    std::string folder = ScratchFolder(fileName), path = folder + "\\" + fileName, record = folder + "\\started";
    CopyFileA(BuiltFile("TEST_CHILD").c_str(), path.c_str(), FALSE);
    std::string commandLine = "\"" + path + "\" record \"" + record + "\" sleep 60000";
    STARTUPINFOA startup = { sizeof startup };
    PROCESS_INFORMATION process;
    if (!CreateProcessA(path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return NULL;
    CloseHandle(process.hThread);
    for (int i = 0; i < 500 && !PathExists(record); i++) Sleep(20);
    return process.hProcess;
}

// "process-status snapshot", each 0 or 1.
static std::string Running()
{
    BOOL saved = IsWindowsNT;
    IsWindowsNT = TRUE;
    std::string found = IsProgramRunning(IDS_BROWSER_PROGRAM) ? "1" : "0";
    IsWindowsNT = FALSE;
    found += IsProgramRunning(IDS_BROWSER_PROGRAM) ? " 1" : " 0";
    IsWindowsNT = saved;
    return found;
}

TEST(IsProgramRunning, FindsTheBrowserByItsFileNameOnly)
{
    EXPECT_EQ("0 0", Running());
    HANDLE lookalike = StartCopyNamed("myiexplore.exe");
    EXPECT_EQ("0 0", Running());
    HANDLE browser = StartCopyNamed("IExplore.EXE");
    ASSERT_TRUE(lookalike && browser);
    EXPECT_EQ("1 1", Running());
    for (HANDLE process : { browser, lookalike }) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
    EXPECT_EQ("0 0", Running());
    struct { const char* path; bool names; } paths[] = {
        { "iexplore.exe", true }, { "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE", true }, { "C:iExplore.Exe", true },
        { "C:\\tools\\myiexplore.exe", false }, { "C:\\tools/iexplore.exe", false }, { "explore.exe", false },
        { "C:\\iexplore.exe.bak", false },
    };
    for (auto& p : paths) EXPECT_EQ(p.names, PathNamesProgram(p.path, "iexplore.exe")) << p.path;
    EXPECT_FALSE(PathNamesProgram("C:\\x\\iexplore.exe", ""));
}
