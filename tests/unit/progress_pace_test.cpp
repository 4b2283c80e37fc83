// The status text while the run's pumping is paced: every step's text is the control's text at
// once, and a flush paints it and lets the waiting messages through.
#include <gtest/gtest.h>
#include <string>
#include "controls/progress_window.h"
#include "resources/resource.h"

static int Paints;
static WNDPROC TextProc;

static LRESULT CALLBACK CountingTextProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) Paints++;
    return CallWindowProcA(TextProc, control, message, wParam, lParam);
}

TEST(ProgressPace, EveryStepsTextIsReadAtOnceAndAFlushShowsIt)
{
    ProgressRecord record = {};
    record.statusTextId = IDC_PLAIN_PROGRESS_TEXT;
    ASSERT_NE(nullptr, record.window = CreatePlainProgressWindow(NULL));
    ShowWindow(record.window, SW_SHOW);
    HWND control = GetDlgItem(record.window, IDC_PLAIN_PROGRESS_TEXT);
    TextProc = (WNDPROC)SetWindowLongPtrA(control, GWLP_WNDPROC, (LONG_PTR)CountingTextProc);

    char text[64];
    for (int i = 0; i < 300; i++) {
        std::string name = "file" + std::to_string(i) + ".txt";
        if (i == 299) Paints = 0;  // the last text is held: the next flush, paced or not, paints it
        ShowProgressStep(&record, "Removing %s...", name.c_str());
        SendMessageA(control, WM_GETTEXT, sizeof text, (LPARAM)text);
        ASSERT_EQ("Removing " + name + "...", text);
    }

    PostMessageA(record.window, WM_NULL, 0, 0);
    FlushProgress(&record);
    EXPECT_TRUE(IsWindowVisible(control)) << "the text is shown again";
    EXPECT_GE(Paints, 1) << "and painted";
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE)) << "nothing waits after a flush";
    DestroyWindow(record.window);
}
