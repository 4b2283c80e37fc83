// RunAndWait with a real child process.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "core/format.h"
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
