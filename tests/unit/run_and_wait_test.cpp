// RunAndWait with a real child program.
#include <windows.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
#include "core/format.h"

static std::string ChildPath()
{
    const char* path = getenv("TEST_CHILD");
    std::string result = path ? path : "";
    if (!result.empty() && result[0] == '/') {
        result = "Z:" + result;
        for (char& c : result)
            if (c == '/') c = '\\';
    }
    return result;
}

static const UINT ProbeMessage = WM_APP + 7;
static int ProbesDelivered;

static LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == ProbeMessage) {
        ProbesDelivered++;
        return 42;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(RunAndWait, ReturnsTheExitCode)
{
    std::string child = ChildPath();
    ASSERT_FALSE(child.empty());
    char commandLine[512];
    snprintf(commandLine, sizeof commandLine, "\"%s\" sleep 200 exit 7", child.c_str());
    DWORD exitCode = 12345;
    DWORD start = GetTickCount();
    ASSERT_EQ(1, RunAndWait(child.c_str(), commandLine, &exitCode));
    EXPECT_EQ(7u, exitCode);
    EXPECT_GE(GetTickCount() - start, 150u);
}

TEST(RunAndWait, WithoutAPlaceForTheCodeItDoesNotWait)
{
    std::string child = ChildPath();
    char commandLine[512];
    snprintf(commandLine, sizeof commandLine, "\"%s\" sleep 3000", child.c_str());
    DWORD start = GetTickCount();
    ASSERT_EQ(1, RunAndWait(child.c_str(), commandLine, NULL));
    EXPECT_LT(GetTickCount() - start, 2500u);
}

TEST(RunAndWait, AMissingProgramIsNotStarted)
{
    char commandLine[] = "\"C:\\no\\such\\program.exe\"";
    DWORD exitCode = 5;
    SetLastError(0);
    EXPECT_EQ(0, RunAndWait("C:\\no\\such\\program.exe", commandLine, &exitCode));
    EXPECT_NE(0u, GetLastError());
    EXPECT_EQ(5u, exitCode);
}

TEST(RunAndWait, DeliversSentMessagesOnlyWhileWaiting)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ProbeWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "RunAndWaitProbe";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "RunAndWaitProbe", "", 0, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, window);
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);

    PostMessageA(window, WM_APP + 8, 0, 0);
    std::string child = ChildPath();
    char commandLine[512];
    snprintf(commandLine, sizeof commandLine, "\"%s\" send %llu %u exit 3", child.c_str(),
             (unsigned long long)(UINT_PTR)window, ProbeMessage);
    DWORD exitCode = 0;
    ProbesDelivered = 0;
    ASSERT_EQ(1, RunAndWait(child.c_str(), commandLine, &exitCode));
    EXPECT_EQ(3u, exitCode) << "99 means the sent message was not answered";
    EXPECT_EQ(1, ProbesDelivered);
    // The posted message is still waiting in the queue.
    EXPECT_TRUE(PeekMessageA(&message, window, WM_APP + 8, WM_APP + 8, PM_REMOVE));
    DestroyWindow(window);
}
