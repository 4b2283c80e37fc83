// The plain progress window and the bar's arithmetic.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <vector>
#include "controls/progress_window.h"
#include "resources/resource.h"

static std::vector<WPARAM> PositionsSent;
static WNDPROC BarProc;

static LRESULT CALLBACK RecordingBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PBM_SETPOS) PositionsSent.push_back(wParam);
    return CallWindowProcA(BarProc, bar, message, wParam, lParam);
}

class PlainProgressWindow : public ::testing::Test {
protected:
    HWND owner = NULL;
    HWND window = NULL;
    void SetUp() override
    {
        owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600, 400, NULL,
                                NULL, NULL, NULL);
        window = CreatePlainProgressWindow(owner);
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override
    {
        if (window) DestroyWindow(window);
        DestroyWindow(owner);
    }
};

TEST_F(PlainProgressWindow, TitledCentredAndUncancellable)
{
    char caption[256];
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ("Corvantis Vandrel Setup", caption) << "never the template's own caption";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDCANCEL)));
    UINT close = GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND);
    EXPECT_NE(0u, close & MF_GRAYED);

    RECT box, over;
    GetWindowRect(window, &box);
    GetWindowRect(owner, &over);
    EXPECT_NEAR((over.left + over.right) / 2, (box.left + box.right) / 2, 1);
    EXPECT_NEAR((over.top + over.bottom) / 2, (box.top + box.bottom) / 2, 1);

    BOOL wasEnabled = ShowProgressWindow(owner, window);
    EXPECT_TRUE(wasEnabled);
    EXPECT_FALSE(IsWindowEnabled(owner));
    ShowProgressText(window, IDC_PLAIN_PROGRESS_TEXT, "Removing a.txt...");
    GetDlgItemTextA(window, IDC_PLAIN_PROGRESS_TEXT, caption, sizeof caption);
    EXPECT_STREQ("Removing a.txt...", caption);
    DestroyProgressWindow(owner, window, wasEnabled);
    window = NULL;
    EXPECT_TRUE(IsWindowEnabled(owner));

    // An owner that was disabled before stays disabled after.
    window = CreatePlainProgressWindow(owner);
    EnableWindow(owner, FALSE);
    wasEnabled = ShowProgressWindow(owner, window);
    DestroyProgressWindow(owner, window, wasEnabled);
    window = NULL;
    EXPECT_FALSE(IsWindowEnabled(owner));
}

TEST_F(PlainProgressWindow, BarMovesOnlyWhenThePercentageChanges)
{
    HWND bar = GetDlgItem(window, IDC_PLAIN_PROGRESS_BAR);
    BarProc = (WNDPROC)SetWindowLongPtrA(bar, GWLP_WNDPROC, (LONG_PTR)RecordingBarProc);
    ProgressRecord record = {};
    record.window = window;
    record.progressBarId = IDC_PLAIN_PROGRESS_BAR;
    record.statusTextId = IDC_PLAIN_PROGRESS_TEXT;
    record.total = 5000;
    PositionsSent.clear();
    for (DWORD units : { 2048u, 2048u, 0u, 904u, 10u, 3000u }) AdvanceProgress(units, &record);
    EXPECT_EQ(5000u, record.done) << "done never passes the total";
    ASSERT_EQ(3u, PositionsSent.size());
    EXPECT_EQ(41u, PositionsSent[0]);  // MulDiv rounds: 40.96
    EXPECT_EQ(82u, PositionsSent[1]);
    EXPECT_EQ(100u, PositionsSent[2]);

    // A total of 0 sends the low byte of MulDiv's -1.
    ProgressRecord empty = {};
    empty.window = window;
    empty.progressBarId = IDC_PLAIN_PROGRESS_BAR;
    PositionsSent.clear();
    AdvanceProgress(0, &empty);
    AdvanceProgress(0, &empty);
    ASSERT_EQ(1u, PositionsSent.size());
    EXPECT_EQ(255u, PositionsSent[0]);
    SetWindowLongPtrA(bar, GWLP_WNDPROC, (LONG_PTR)BarProc);
}

TEST(ProgressPump, AdvanceDeliversWaitingMessages)
{
    HWND target = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    PostMessageA(target, WM_NULL, 0, 0);
    ProgressRecord record = {};
    record.window = target;
    record.total = 10;
    AdvanceProgress(0, &record);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, target, 0, 0, PM_NOREMOVE)) << "the pump took every waiting message";
    DestroyWindow(target);
}
