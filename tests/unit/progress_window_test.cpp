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
    ProgressRecord progress = {};
    progress.window = window;
    progress.statusTextId = IDC_PLAIN_PROGRESS_TEXT;
    ShowProgressText(&progress, "Removing a.txt...");
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

// The header window on a script's [Progress] section, placed where a wizard stood.
#include "core/script.h"
#include "core/setup_context.h"

// Writes a 24-bit bitmap file of one colour.
static void WriteBitmap(const char* path, int width, int height, COLORREF colour)
{
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride * height;
    std::vector<BYTE> pixels(stride * height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            pixels[y * stride + x * 3] = GetBValue(colour);
            pixels[y * stride + x * 3 + 1] = GetGValue(colour);
            pixels[y * stride + x * 3 + 2] = GetRValue(colour);
        }
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written;
    WriteFile(handle, &file, sizeof file, &written, NULL);
    WriteFile(handle, &info, sizeof info, &written, NULL);
    WriteFile(handle, pixels.data(), (DWORD)pixels.size(), &written, NULL);
    CloseHandle(handle);
}

static RECT ChildRect(HWND window, int id)
{
    RECT rect;
    GetWindowRect(GetDlgItem(window, id), &rect);
    MapWindowPoints(NULL, window, (POINT*)&rect, 2);
    return rect;
}

struct HeaderWindowCase {
    SetupContext context = {};
    ProgressRecord record = {};
    HWND window = NULL;
    char* script = NULL;

    HWND Open(HWND owner, const char* text)
    {
        script = (char*)GlobalAlloc(GMEM_FIXED, lstrlenA(text) + 1);
        lstrcpyA(script, text);
        context.script = script;
        SetRect(&context.wizardRect, 50, 40, 50 + 560, 40 + 420);
        SetRect(&context.dividerRect, 0, 340, 550, 342);
        record.context = &context;
        record.progressBarId = IDC_HEADER_PROGRESS_BAR;
        record.statusTextId = IDC_HEADER_PROGRESS_TEXT;
        window = CreateHeaderProgressWindow(owner, &record);
        return window;
    }
    ~HeaderWindowCase()
    {
        if (window) DestroyWindow(window);
        if (record.headerBitmap) DeleteObject(record.headerBitmap);
        if (script) GlobalFree(script);
    }
};

TEST(HeaderProgressWindow, StandsWhereTheWizardStoodWithoutAnImage)
{
    HeaderWindowCase plain;
    ASSERT_NE(nullptr, plain.Open(NULL, "[Progress]\r\nDividerText=Vandrel\r\nDividerTextOffset=-1,3\r\n"));
    HWND window = plain.window;
    RECT box;
    GetWindowRect(window, &box);
    EXPECT_EQ(50, box.left);
    EXPECT_EQ(40, box.top);
    EXPECT_EQ(560, box.right - box.left);
    RECT divider = ChildRect(window, IDC_HEADER_PROGRESS_DIVIDER);
    EXPECT_EQ(340, divider.top);
    EXPECT_EQ(550, divider.right);

    char caption[256];
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ("Corvantis Vandrel Setup", caption) << "without Title, the setup title";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDCANCEL)));
    EXPECT_NE(0u, GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(nullptr, plain.record.headerBitmap);
    EXPECT_EQ(0, plain.record.headerHeight);

    // The bar and the status text grew with the client area and kept their left edges.
    RECT client, bar = ChildRect(window, IDC_HEADER_PROGRESS_BAR), status = ChildRect(window, IDC_HEADER_PROGRESS_TEXT);
    GetClientRect(window, &client);
    EXPECT_GT(bar.right, client.right * 8 / 10);
    EXPECT_LT(bar.left, 20);

    // The label is centred on the divider, 3 pixels lower, at the status text's left edge.
    HWND label = FindWindowExA(window, NULL, "Static", "Vandrel");
    ASSERT_NE(nullptr, label);
    RECT place;
    GetWindowRect(label, &place);
    MapWindowPoints(NULL, window, (POINT*)&place, 2);
    EXPECT_EQ(status.left, place.left);
    EXPECT_EQ(divider.top - (place.bottom - place.top) / 2 + 3, place.top);
}

TEST(HeaderProgressWindow, ImageBandMovesTheControlsDown)
{
    char folder[MAX_PATH], image[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    wsprintfA(image, "%sprogress_band.bmp", folder);
    WriteBitmap(image, 120, 60, RGB(0, 0, 255));

    HeaderWindowCase without;
    ASSERT_NE(nullptr, without.Open(NULL, "[Progress]\r\nTitle=Installing\r\n"));
    RECT statusBefore = ChildRect(without.window, IDC_HEADER_PROGRESS_TEXT);
    RECT barBefore = ChildRect(without.window, IDC_HEADER_PROGRESS_BAR);

    char script[1024];
    wsprintfA(script, "[Progress]\r\nTitle=Installing\r\nheaderimage=%s\r\nHeaderBackColor=65280\r\n", image);
    HeaderWindowCase with;
    ASSERT_NE(nullptr, with.Open(NULL, script));
    HWND window = with.window;
    char caption[256];
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ("Installing", caption);
    ASSERT_NE(nullptr, with.record.headerBitmap);
    EXPECT_EQ(60, with.record.headerHeight);
    EXPECT_EQ(RGB(0, 255, 0), with.record.headerBackColor);
    EXPECT_EQ(statusBefore.top + 62, ChildRect(window, IDC_HEADER_PROGRESS_TEXT).top);
    EXPECT_EQ(barBefore.top + 62, ChildRect(window, IDC_HEADER_PROGRESS_BAR).top);

    // The separator lies at y 60 across the client width.
    RECT client;
    GetClientRect(window, &client);
    bool separator = false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child)) continue;
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(NULL, window, (POINT*)&rect, 2);
        if (rect.top == 60 && rect.bottom - rect.top == 2 && rect.right - rect.left == client.right) separator = true;
    }
    EXPECT_TRUE(separator);

    // Painted: the image at the top right, the back colour to its left.
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    HDC dc = GetDC(window);
    COLORREF right = GetPixel(dc, client.right - 10, 30), left = GetPixel(dc, 10, 30);
    ReleaseDC(window, dc);
    EXPECT_EQ(RGB(0, 0, 255), right);
    EXPECT_EQ(RGB(0, 255, 0), left);
    DeleteFileA(image);
}
