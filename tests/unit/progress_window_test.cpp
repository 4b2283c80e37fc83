// The progress windows: the plain box, the bar's arithmetic, and the header window standing where
// the wizard stood, with the header band of a script's [Progress] section.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <vector>
#include "controls/progress_window.h"
#include "core/globals.h"
#include "core/setup_context.h"
#include "resources/resource.h"
#include "unit/file_helpers.h"

static std::vector<WPARAM> PositionsSent;
static WNDPROC BarProc;

static LRESULT CALLBACK RecordingBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PBM_SETPOS) PositionsSent.push_back(wParam);
    return CallWindowProcA(BarProc, bar, message, wParam, lParam);
}

static std::string Caption(HWND window)
{
    char caption[256];
    GetWindowTextA(window, caption, sizeof caption);
    return caption;
}

static bool Uncancellable(HWND window)
{
    return !IsWindowVisible(GetDlgItem(window, IDCANCEL)) &&
           (GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
}

TEST(PlainProgressWindow, CentredTitledUncancellableAndItsBar)
{
    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600, 400, NULL, NULL, NULL, NULL);
    HWND window = CreatePlainProgressWindow(owner);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ("Corvantis Vandrel Setup", Caption(window));
    EXPECT_TRUE(Uncancellable(window));
    RECT box, over;
    GetWindowRect(window, &box);
    GetWindowRect(owner, &over);
    EXPECT_NEAR((over.left + over.right) / 2, (box.left + box.right) / 2, 1);
    EXPECT_NEAR((over.top + over.bottom) / 2, (box.top + box.bottom) / 2, 1);
    EXPECT_TRUE(ShowProgressWindow(owner, window));
    EXPECT_TRUE(IsWindowVisible(window) && !IsWindowEnabled(owner));
    ShowProgressText(window, IDC_PLAIN_PROGRESS_TEXT, "Removing a.txt...");
    char text[64];
    GetDlgItemTextA(window, IDC_PLAIN_PROGRESS_TEXT, text, sizeof text);
    EXPECT_STREQ("Removing a.txt...", text);

    // The bar moves only when the percentage's low byte changes; done never passes the total.
    HWND bar = GetDlgItem(window, IDC_PLAIN_PROGRESS_BAR);
    BarProc = (WNDPROC)SetWindowLongPtrA(bar, GWLP_WNDPROC, (LONG_PTR)RecordingBarProc);
    ProgressRecord record = {};
    record.window = window;
    record.progressBarId = IDC_PLAIN_PROGRESS_BAR;
    record.total = 5000;
    for (DWORD units : { 2048u, 2048u, 0u, 904u, 10u, 3000u }) AdvanceProgress(units, &record);
    EXPECT_EQ(5000u, record.done);
    record.total = record.done = 0;  // MulDiv answers -1 for a total of 0: its low byte 255 shows a full bar
    AdvanceProgress(0, &record);
    AdvanceProgress(0, &record);
    EXPECT_EQ((std::vector<WPARAM>{ 41, 82, 100, 255 }), PositionsSent);
    PostMessageA(window, WM_NULL, 0, 0);
    AdvanceProgress(0, &record);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE)) << "the pump took every waiting message";

    DestroyProgressWindow(owner, window, TRUE);
    EXPECT_TRUE(IsWindowEnabled(owner) && !IsWindow(window));
    window = CreatePlainProgressWindow(owner);
    EnableWindow(owner, FALSE);
    DestroyProgressWindow(owner, window, ShowProgressWindow(owner, window));
    EXPECT_FALSE(IsWindowEnabled(owner)) << "an owner that was disabled before stays disabled";
    DestroyWindow(owner);
}

static RECT ChildRect(HWND window, HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(NULL, window, (POINT*)&rect, 2);
    return rect;
}

// A header window on the script's text, where a wizard stood at 50,40 (width)x420.
struct HeaderWindow {
    SetupContext context = {};
    ProgressRecord record = {};
    HWND window;
    RECT client;
    HeaderWindow(const std::string& script, int width)
    {
        context.script = (char*)script.c_str();
        SetRect(&context.wizardRect, 50, 40, 50 + width, 40 + 420);
        SetRect(&context.dividerRect, 0, 340, 550, 342);
        record.context = &context;
        window = CreateHeaderProgressWindow(NULL, &record);
        GetClientRect(window, &client);
    }
    ~HeaderWindow()
    {
        DestroyWindow(window);
        if (record.headerBitmap) DeleteObject(record.headerBitmap);
        if (context.richEditModule) FreeLibrary(context.richEditModule);
    }
    RECT Control(int id) { return ChildRect(window, GetDlgItem(window, id)); }
};

TEST(HeaderProgressWindow, StandsWhereTheWizardStoodAndCarriesTheBand)
{
    std::string folder = ScratchFolder("progress-band"), image = folder + "\\band.bmp";
    BITMAPINFOHEADER info = { sizeof info, 120, 60, 1, 24 };
    std::string pixels;
    for (int i = 0; i < 120 * 60; i++) pixels += std::string("\xFF\x00\x00", 3);
    BITMAPFILEHEADER file = { 0x4D42, (DWORD)(sizeof file + sizeof info + pixels.size()), 0, 0, sizeof file + sizeof info };
    WriteFileBytes(image, std::string((char*)&file, sizeof file) + std::string((char*)&info, sizeof info) + pixels);
    WriteFileBytes(folder + "\\band.rtf", "{\\rtf1\\ansi Band\\par}");

    HeaderWindow plain("[Progress]\r\nDividerText=Vandrel\r\nDividerTextOffset=-1,3\r\n", 560);
    ASSERT_NE(nullptr, plain.window);
    RECT box, divider = plain.Control(IDC_HEADER_PROGRESS_DIVIDER);
    GetWindowRect(plain.window, &box);
    EXPECT_EQ((std::vector<LONG>{ 50, 40, 610, 460, 0, 340, 550, 342 }),
              (std::vector<LONG>{ box.left, box.top, box.right, box.bottom, divider.left, divider.top, divider.right, divider.bottom }));
    EXPECT_EQ("Corvantis Vandrel Setup", Caption(plain.window));
    EXPECT_TRUE(Uncancellable(plain.window));
    EXPECT_EQ(nullptr, plain.record.headerBitmap);
    RECT bar = plain.Control(IDC_HEADER_PROGRESS_BAR), status = plain.Control(IDC_HEADER_PROGRESS_TEXT);
    RECT label = ChildRect(plain.window, FindWindowExA(plain.window, NULL, "Static", "Vandrel"));
    EXPECT_EQ(status.left, label.left);
    EXPECT_EQ(340 - (label.bottom - label.top) / 2 + 3, label.top);

    char saved[MAX_PATH];
    lstrcpyA(saved, SetupFolder);
    lstrcpyA(SetupFolder, (folder + "\\").c_str());
    HeaderWindow band("[Progress]\r\nTitle=Installing\r\nheaderimage=" + image +
                      "\r\nHeaderBackColor=65280\r\nHeaderRTF=band.rtf\r\nHeaderRTFMargins=5,6,7,8\r\n", 660);
    lstrcpyA(SetupFolder, saved);
    HWND window = band.window;
    EXPECT_EQ("Installing", Caption(window));
    EXPECT_EQ(60, band.record.headerHeight);
    EXPECT_EQ(RGB(0, 255, 0), band.record.headerBackColor);
    RECT client = band.client, wideBar = band.Control(IDC_HEADER_PROGRESS_BAR), wideStatus = band.Control(IDC_HEADER_PROGRESS_TEXT);
    EXPECT_EQ(client.right - plain.client.right, 100) << "the window is 100 pixels wider";
    // The bar and the text keep their left edges and margins, and move down by the image and 2.
    EXPECT_EQ((std::vector<LONG>{ bar.left, bar.top + 62, plain.client.right - bar.right, bar.bottom - bar.top }),
              (std::vector<LONG>{ wideBar.left, wideBar.top, client.right - wideBar.right, wideBar.bottom - wideBar.top }));
    EXPECT_EQ((std::vector<LONG>{ status.left, status.top + 62, plain.client.right - status.right }),
              (std::vector<LONG>{ wideStatus.left, wideStatus.top, client.right - wideStatus.right }));
    EXPECT_EQ(340, band.Control(IDC_HEADER_PROGRESS_DIVIDER).top) << "the divider stays below the band";
    bool separator = false;
    HWND rich = FindWindowExA(window, NULL, "RICHEDIT", NULL);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect = ChildRect(window, child);
        separator |= !GetDlgCtrlID(child) && rect.top == 60 && rect.bottom == 62 && rect.right - rect.left == client.right;
    }
    EXPECT_TRUE(separator);
    ASSERT_NE(nullptr, rich);
    RECT text = ChildRect(window, rich);
    EXPECT_EQ(status.left + 5, text.left);
    EXPECT_EQ(6, text.top);
    EXPECT_EQ(client.right - 5 - 7 - status.left - 120, text.right - text.left);
    EXPECT_EQ(60 - 6 - 8, text.bottom - text.top);

    // Painted: the image at the top right, the back colour to its left.
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    HDC dc = GetDC(window);
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, client.right - 10, 30));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, client.right - 120, 59));
    EXPECT_EQ(RGB(0, 255, 0), GetPixel(dc, 2, 30));
    ReleaseDC(window, dc);
    RemoveTree(folder);
}
