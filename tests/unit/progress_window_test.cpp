// The progress windows: the plain box and the bar's arithmetic, and the header window standing
// where the wizard stood with the band of a script's [Progress] section.
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

static RECT Place(HWND window, int id)
{
    RECT rect;
    GetWindowRect(id ? GetDlgItem(window, id) : window, &rect);
    if (id) MapWindowPoints(NULL, window, (POINT*)&rect, 2);
    return rect;
}

// "caption|Cancel visible|Close greyed"
static std::string Frame(HWND window)
{
    char caption[256];
    GetWindowTextA(window, caption, sizeof caption);
    return std::string(caption) + "|" + std::to_string(IsWindowVisible(GetDlgItem(window, IDCANCEL))) + "|" +
           std::to_string(GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
}

TEST(ProgressWindows, PlainCentredUncancellableAndItsBar)
{
    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600, 400, NULL, NULL, NULL, NULL);
    HWND window = CreatePlainProgressWindow(owner);
    RECT box = Place(window, 0);
    EXPECT_EQ("Corvantis Vandrel Setup|0|1", Frame(window));
    EXPECT_EQ(800 * 1000 + 600, (box.left + box.right) * 1000 + box.top + box.bottom) << "centred on the owner";
    EXPECT_TRUE(ShowProgressWindow(owner, window) && IsWindowVisible(window) && !IsWindowEnabled(owner));
    // The bar moves only when the percentage's low byte changes; done never passes the total.
    BarProc = (WNDPROC)SetWindowLongPtrA(GetDlgItem(window, IDC_PLAIN_PROGRESS_BAR), GWLP_WNDPROC, (LONG_PTR)RecordingBarProc);
    ProgressRecord record = {};
    record.window = window;
    record.progressBarId = IDC_PLAIN_PROGRESS_BAR;
    record.total = 5000;
    for (DWORD units : { 2048u, 2048u, 0u, 904u, 10u, 3000u }) AdvanceProgress(units, &record);
    EXPECT_EQ(5000u, record.done);
    record.total = record.done = 0;  // MulDiv answers -1 for a total of 0: its low byte 255 shows a full bar
    AdvanceProgress(0, &record);
    PostMessageA(window, WM_NULL, 0, 0);
    AdvanceProgress(0, &record);
    EXPECT_EQ((std::vector<WPARAM>{ 41, 82, 100, 255 }), PositionsSent);
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

// Header windows where wizards of two widths stood at 50,40, their divider line at 340: one with
// no image, its label on the divider at -1,3; one with the band of an image 120 x 60.
struct HeaderWindow {
    SetupContext context = {};
    ProgressRecord record = {};
    HWND window;
    RECT client, bar, text;
    HeaderWindow(std::string script, int width)
    {
        context.script = &script[0];
        SetRect(&context.wizardRect, 50, 40, 50 + width, 460);
        SetRect(&context.dividerRect, 0, 340, 550, 342);
        record.context = &context;
        window = CreateHeaderProgressWindow(NULL, &record);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
        GetClientRect(window, &client);
        bar = Place(window, IDC_HEADER_PROGRESS_BAR);
        text = Place(window, IDC_HEADER_PROGRESS_TEXT);
    }
    ~HeaderWindow()
    {
        DestroyWindow(window);
        DeleteObject(record.headerBitmap);
    }
    // The child of that class and title, or the one without an id and 2 pixels high.
    RECT Child(const char* className, const char* title)
    {
        RECT rect = {};
        for (HWND child = FindWindowExA(window, NULL, className, title); child; child = GetWindow(child, GW_HWNDNEXT)) {
            GetWindowRect(child, &rect);
            MapWindowPoints(NULL, window, (POINT*)&rect, 2);
            if (className || (!GetDlgCtrlID(child) && rect.bottom - rect.top == 2)) break;
        }
        return rect;
    }
};

TEST(ProgressWindows, TheHeaderWindowTakesTheWizardsPlace)
{
    std::string folder = ScratchFolder("progress-band"), pixels;
    for (int i = 0; i < 120 * 60; i++) pixels += std::string("\xFF\x00\x00", 3);
    BITMAPINFOHEADER info = { sizeof info, 120, 60, 1, 24 };
    BITMAPFILEHEADER file = { 0x4D42, (DWORD)(sizeof file + sizeof info + pixels.size()), 0, 0, sizeof file + sizeof info };
    WriteFileBytes(folder + "\\band.bmp", std::string((char*)&file, sizeof file) + std::string((char*)&info, sizeof info) + pixels);
    WriteFileBytes(folder + "\\band.rtf", "{\\rtf1\\ansi Band\\par}");
    lstrcpyA(SetupFolder, (folder + "\\").c_str());
    HeaderWindow plain("[Progress]\r\nDividerText=Vandrel\r\nDividerTextOffset=-1,3\r\n", 560);
    HeaderWindow band("[Progress]\r\nTitle=Installing\r\nheaderimage=" + folder + "\\band.bmp\r\nHeaderBackColor=65280\r\n"
                      "HeaderRTF=band.rtf\r\nHeaderRTFMargins=5,6,7,8\r\n", 660);
    lstrcpyA(SetupFolder, "");
    RECT box = Place(plain.window, 0), divider = Place(plain.window, IDC_HEADER_PROGRESS_DIVIDER), label = plain.Child("Static", "Vandrel");
    EXPECT_EQ((std::vector<LONG>{ 50, 40, 610, 460, 340, 550, plain.text.left, 340 - (label.bottom - label.top) / 2 + 3, 0 }),
              (std::vector<LONG>{ box.left, box.top, box.right, box.bottom, divider.top, divider.right, label.left, label.top, plain.record.headerHeight }));
    EXPECT_EQ("Corvantis Vandrel Setup|0|1|Installing|0|1", Frame(plain.window) + "|" + Frame(band.window));
    // The bar and the status text keep their left edges and right margins, and move down by the
    // image's height and 2; the separator lies under the band, the rich text in it.
    RECT rich = band.Child("RICHEDIT", NULL), separator = band.Child(NULL, NULL);
    int width = band.client.right, left = plain.text.left;
    EXPECT_EQ(100, width - plain.client.right);
    EXPECT_EQ((std::vector<LONG>{ plain.bar.left, plain.bar.top + 62, plain.client.right - plain.bar.right, left, plain.text.top + 62,
                                  plain.client.right - plain.text.right, 60, 62, width, left + 5, 6, width - 5 - 7 - left - 120, 60 - 8 }),
              (std::vector<LONG>{ band.bar.left, band.bar.top, width - band.bar.right, band.text.left, band.text.top, width - band.text.right,
                                  separator.top, separator.bottom, separator.right, rich.left, rich.top, rich.right - rich.left, rich.bottom }));
    HDC dc = GetDC(band.window);
    EXPECT_EQ((std::vector<COLORREF>{ RGB(0, 0, 255), RGB(0, 0, 255), RGB(0, 255, 0), (COLORREF)band.record.headerBackColor }),
              (std::vector<COLORREF>{ GetPixel(dc, width - 10, 30), GetPixel(dc, width - 120, 59), GetPixel(dc, 2, 30), RGB(0, 255, 0) }))
        << "the image at the top right, the back colour to its left";
    ReleaseDC(band.window, dc);
}
