// The progress windows: the plain box, the bar's arithmetic, the paced texts, and the header
// window's controls, which keep their margins when it takes the place of a wizard of another width.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include "controls/progress_window.h"
#include "core/setup_context.h"
#include "resources/resource.h"
#include "unit/file_helpers.h"

static std::vector<WPARAM> PositionsSent;
static int Paints;
static WNDPROC BarProc, TextProc;
static LRESULT CALLBACK RecordPosition(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PBM_SETPOS) PositionsSent.push_back(wParam);
    return CallWindowProcA(BarProc, bar, message, wParam, lParam);
}
static LRESULT CALLBACK CountPaints(HWND text, UINT message, WPARAM wParam, LPARAM lParam)
{
    Paints += message == WM_PAINT;
    return CallWindowProcA(TextProc, text, message, wParam, lParam);
}

TEST(ProgressWindows, ThePlainBoxItsBarAndTheHeaderWindowsMargins)
{
    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600, 400, NULL, NULL, NULL, NULL);
    HWND window = CreatePlainProgressWindow(owner);
    RECT box;
    GetWindowRect(window, &box);
    char caption[64];
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_EQ("Corvantis Vandrel Setup|0|1|800600", Text({ caption, std::to_string(IsWindowVisible(GetDlgItem(window, IDCANCEL))),
              std::to_string(GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED),
              std::to_string((box.left + box.right) * 1000 + box.top + box.bottom) })) << "titled, uncancellable, centred on the owner";
    EXPECT_TRUE(ShowProgressWindow(owner, window) && IsWindowVisible(window) && !IsWindowEnabled(owner));
    // The bar moves when the percentage's low byte changes; done stops at the total; a total of 0
    // makes MulDiv answer -1, whose low byte 255 shows a full bar.
    BarProc = (WNDPROC)SetWindowLongPtrA(GetDlgItem(window, IDC_PLAIN_PROGRESS_BAR), GWLP_WNDPROC, (LONG_PTR)RecordPosition);
    ProgressRecord record = {};
    record.total = 5000, record.window = window, record.progressBarId = IDC_PLAIN_PROGRESS_BAR, record.statusTextId = IDC_PLAIN_PROGRESS_TEXT;
    for (DWORD units : { 2048u, 2048u, 0u, 904u, 10u, 3000u }) AdvanceProgress(units, &record);
    EXPECT_EQ(5000u, record.done);
    record.total = record.done = 0;
    AdvanceProgress(0, &record);
    AdvanceProgress(0, &record);
    EXPECT_EQ((std::vector<WPARAM>{ 41, 82, 100, 255 }), PositionsSent);
    // The pumping is paced, but every step's text is the control's at once; a flush paints the
    // last one and the bar, and lets every waiting message through.
    HWND text = GetDlgItem(window, IDC_PLAIN_PROGRESS_TEXT);
    TextProc = (WNDPROC)SetWindowLongPtrA(text, GWLP_WNDPROC, (LONG_PTR)CountPaints);
    char shown[64];
    for (int i = 0; i < 300; i++) {
        std::string name = "file" + std::to_string(i) + ".txt";
        Paints = 0;
        ShowProgressStep(&record, "Removing %s...", name.c_str());
        ASSERT_EQ("Removing " + name + "...", std::string(shown, SendMessageA(text, WM_GETTEXT, sizeof shown, (LPARAM)shown)));
    }
    PostMessageA(window, WM_NULL, 0, 0);
    FlushProgress(&record);
    MSG message;
    EXPECT_TRUE(IsWindowVisible(text) && IsWindowVisible(GetDlgItem(window, IDC_PLAIN_PROGRESS_BAR)) && Paints >= 1 &&
                !PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE)) << Paints;
    DestroyProgressWindow(owner, window, TRUE);
    EXPECT_TRUE(IsWindowEnabled(owner) && !IsWindow(window));
    DestroyWindow(owner);
    std::vector<LONG> margins;
    for (int width : { 560, 660 }) {
        char script[] = "[Progress]\r\nDividerText=Vandrel\r\nDividerTextOffset=-1,3\r\n";
        SetupContext context = { 0, NULL, script, { 50, 40, 50 + width, 460 }, { 0, 340, 550, 342 } };
        ProgressRecord header = {};
        header.context = &context;
        window = CreateHeaderProgressWindow(NULL, &header);
        RECT client, bar, text, label, divider;
        GetClientRect(window, &client);
        for (auto part : { std::make_pair(&bar, GetDlgItem(window, IDC_HEADER_PROGRESS_BAR)), { &text, GetDlgItem(window, IDC_HEADER_PROGRESS_TEXT) },
                           { &label, FindWindowExA(window, NULL, "Static", "Vandrel") }, { &divider, GetDlgItem(window, IDC_HEADER_PROGRESS_DIVIDER) } })
            GetWindowRect(part.second, part.first), MapWindowPoints(NULL, window, (POINT*)part.first, 2);
        margins.insert(margins.end(), { bar.left, client.right - bar.right, text.left, client.right - text.right, label.left - text.left,
                                        label.top - 340 + (label.bottom - label.top) / 2, divider.top, divider.right });
        DestroyWindow(window);
    }
    EXPECT_EQ(std::vector<LONG>(margins.begin(), margins.begin() + 8), std::vector<LONG>(margins.begin() + 8, margins.end()));
    EXPECT_EQ((std::vector<LONG>{ 0, 3, 340, 550 }), std::vector<LONG>(margins.begin() + 4, margins.begin() + 8))
        << "the label on the divider line at the status text's left edge, 3 lower; the divider where the wizard's was";
}
// Past 4 GiB the bar follows the bytes in 64 bits, through the same percentages as an install 1024
// times smaller, which are MulDiv's as the 32-bit arithmetic gave them for totals it could hold.
TEST(ProgressWindows, GibibytesMoveTheBarAsMebibytesDo)
{
    auto sent = [](ULONGLONG total, const std::vector<DWORD>& counts, DWORD scale) {
        ProgressRecord record = {};
        record.total = total * scale;
        std::vector<int> percentages;
        for (DWORD count : counts) {
            BYTE before = record.lastPercentage;
            AdvanceProgress(count * scale, &record);
            if (record.lastPercentage != before) percentages.push_back(record.lastPercentage);
        }
        return percentages;
    };
    for (auto c : { std::make_pair(5ull << 20, std::vector<DWORD>(2600, 2048)), { 5ull << 20, { 1, 52428, 52429, 1048576, 10, 2621440, 1520000, 4000000 } },
                    { 3ull << 20, { 31457, 1, 1572864, 1572864 } }, { (4ull << 20) + 7, { 2097152, 2097152, 3, 4 } } }) {
        std::vector<int> small = sent(c.first, c.second, 1), mulDiv;
        int last = 0;
        ULONGLONG done = 0;
        for (DWORD count : c.second) {
            int percentage = MulDiv(100, (int)(done = std::min(done + count, c.first)), (int)c.first);
            if (percentage != last) mulDiv.push_back(last = percentage);
        }
        EXPECT_EQ(mulDiv, small) << c.first;
        EXPECT_EQ(100, small.back()) << c.first;
        EXPECT_EQ(small, sent(c.first, c.second, 1024)) << c.first << " KiB";
    }
}
