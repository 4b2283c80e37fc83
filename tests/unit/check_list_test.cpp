#define OEMRESOURCE
// The check-box list on a real dialog: hit-testing on the box only, the press with capture, the
// space bar's key-repeat rule, toggles and notifications, the boxes drawn classic and themed.
#include <windows.h>
#include <gtest/gtest.h>
#include <vector>
#include "controls/check_list.h"
#include "controls/theme.h"
#include "core/error_status.h"

static const int ListId = 100;
static std::vector<INT_PTR> Toggles;
static int SelectionChanges;
static INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM) CheckListDrawItem((const DRAWITEMSTRUCT*)lParam);
    if (message == WM_MEASUREITEM) CheckListMeasureItem(GetDlgItem(dialog, (int)wParam), (MEASUREITEMSTRUCT*)lParam);
    if (message == WM_NOTIFY && ((NMHDR*)lParam)->code == CLN_TOGGLED && ((NMHDR*)lParam)->idFrom == ListId)
        Toggles.push_back(((const CheckListToggle*)lParam)->item);
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) SelectionChanges++;
    return message == WM_INITDIALOG || message == WM_DRAWITEM || message == WM_MEASUREITEM;
}
// A dialog from a template in memory: one list box with the check list's styles.
static HWND MakeDialog()
{
    alignas(4) static WORD buffer[512];
    ZeroMemory(buffer, sizeof buffer);
    DLGTEMPLATE* dialog = (DLGTEMPLATE*)buffer;
    *dialog = { WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT, 0, 1, 0, 0, 200, 120 };
    WORD* p = (WORD*)(dialog + 1) + 3;  // no menu, class or title
    *p++ = 8;
    for (const char* f = "MS Sans Serif"; (*p++ = (WORD)*f) != 0; f++) {}
    p = (WORD*)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
    *(DLGITEMTEMPLATE*)p = { WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                             LBS_SORT | LBS_NOTIFY | LBS_NOSEL | LBS_NOINTEGRALHEIGHT, 0, 5, 5, 180, 100, ListId };
    p = (WORD*)((DLGITEMTEMPLATE*)p + 1);
    *p++ = 0xFFFF;
    *p = 0x0083;  // a list box, no text, no creation data
    return CreateDialogIndirectParamA(GetModuleHandleA(NULL), dialog, NULL, TestDialogProc, 0);
}
static DWORD Data(HWND list, int index) { return (DWORD)SendMessageA(list, LB_GETITEMDATA, index, 0); }
static RECT ItemRect(HWND list, int index)
{
    RECT rect;
    SendMessageA(list, LB_GETITEMRECT, index, (LPARAM)&rect);
    return rect;
}
static SIZE BoxSize(HWND list)
{
    SIZE size = { 0, 0 };
    ControlTheme theme = OpenControlTheme(list, "BUTTON");
    if (theme) {
        HDC dc = GetDC(list);
        GetControlPartSize(theme, dc, 3, 1, &size);
        ReleaseDC(list, dc);
        CloseControlTheme(theme);
        return size;
    }
    HBITMAP boxes = LoadBitmapA(NULL, MAKEINTRESOURCEA(OBM_CHECKBOXES));
    BITMAP bitmap;
    GetObjectA(boxes, sizeof bitmap, &bitmap);
    DeleteObject(boxes);
    return { bitmap.bmWidth / 4, bitmap.bmHeight / 3 };
}
// The middle of an item's box: two pixels in, one box further for an indented item.
static POINT BoxCentre(HWND list, int index)
{
    SIZE box = BoxSize(list);
    RECT item = ItemRect(list, index);
    int left = item.left + 2 + ((Data(list, index) & CLI_INDENTED) ? box.cx + 2 : 0);
    return { left + box.cx / 2, (item.top + item.bottom) / 2 };
}
static void Mouse(HWND list, UINT message, POINT at) { SendMessageA(list, message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y)); }
static void Key(HWND list, UINT message, WPARAM key, LPARAM data) { SendMessageA(list, message, key, data); }
// A checksum of the pixels of an item's box as drawn; with dark, the number of its dark pixels.
static DWORD BoxPixels(HWND list, int index, bool dark = false)
{
    InvalidateRect(list, NULL, FALSE);
    UpdateWindow(list);
    SIZE box = BoxSize(list);
    RECT item = ItemRect(list, index);
    int top = item.top + (item.bottom - box.cy - item.top) / 2;
    HDC dc = GetDC(list);
    DWORD sum = 0;
    for (int y = top; y < top + box.cy; y++)
        for (int x = item.left + 2; x < item.left + 2 + box.cx; x++) {
            COLORREF c = GetPixel(dc, x, y);
            bool inner = y >= top + 3 && y < top + box.cy - 3 && x >= item.left + 5 && x < item.left + box.cx - 1;
            sum = dark ? sum + (inner && GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) : sum * 31 + c;
        }
    ReleaseDC(list, dc);
    return sum;
}
class CheckListTest : public ::testing::Test {
protected:
    HWND dialog = NULL, list = NULL;
    void Open(DWORD commonControls, std::vector<std::pair<const char*, DWORD>> rows)
    {
        ResetThemeState();
        CommonControlsVersion = commonControls;
        Toggles.clear();
        SelectionChanges = 0;
        dialog = MakeDialog();
        list = GetDlgItem(dialog, ListId);
        ErrorStatus status = {};
        CheckListAttach(list, &status);
        for (auto& row : rows)
            if (row.second & CLI_CHECKED) CheckListAdd(list, row.first, TRUE, row.second & CLI_VALUE, &status);
            else CheckListAddData(list, row.first, row.second, &status);
        ASSERT_EQ(0u, status.code);
    }
    void TearDown() override { DestroyWindow(dialog); }
};
// Sorted: alpha 0, beta 1 (checked), delta 2 (mixed), gamma 3 (disabled), omega 4 (indented, bold).
static const std::vector<std::pair<const char*, DWORD>> Rows = {
    { "beta", CLI_CHECKED | 2 }, { "alpha", 1 }, { "gamma", CLI_DISABLED | 3 }, { "delta", CLI_MIXED | 4 },
    { "omega", CLI_INDENTED | CLI_BOLD | 5 },
};

TEST_F(CheckListTest, MouseTogglesOnlyOnTheBox)
{
    Open(0x50051, Rows);
    ASSERT_FALSE(ThemesActive());
    EXPECT_EQ((std::vector<DWORD>{ 1, CLI_CHECKED | 2, CLI_MIXED | 4, CLI_DISABLED | 3, CLI_INDENTED | CLI_BOLD | 5 }),
              (std::vector<DWORD>{ Data(list, 0), Data(list, 1), Data(list, 2), Data(list, 3), Data(list, 4) }));
    // The indented item's box sits one box further right, a click on a text changes nothing, a
    // disabled item does not toggle, a mixed one loses the mixed bit and shows bit 31's state.
    POINT indented = BoxCentre(list, 4);
    RECT item = ItemRect(list, 1);
    for (POINT at : { BoxCentre(list, 0), { item.left + 80, (item.top + item.bottom) / 2 }, { ItemRect(list, 4).left + 5, indented.y },
                      indented, BoxCentre(list, 3), BoxCentre(list, 2) })
        Mouse(list, WM_LBUTTONDOWN, at), Mouse(list, WM_LBUTTONUP, at);
    EXPECT_EQ((std::vector<DWORD>{ CLI_CHECKED | 1, CLI_CHECKED | 2, 4, CLI_DISABLED | 3, CLI_CHECKED | CLI_INDENTED | CLI_BOLD | 5 }),
              (std::vector<DWORD>{ Data(list, 0), Data(list, 1), Data(list, 2), Data(list, 3), Data(list, 4) }));
    EXPECT_EQ((std::vector<INT_PTR>{ 0, 4, 2 }), Toggles);
    EXPECT_EQ(2, SendMessageA(list, LB_GETCURSEL, 0, 0)) << "the pressed box's item becomes the caret item";
    EXPECT_GE(SelectionChanges, 3);
    // A press released off the box does nothing; back on, it toggles; losing the capture cancels it.
    POINT box = BoxCentre(list, 0), away = { box.x + 100, box.y };
    for (bool back : { false, true, false }) {
        Mouse(list, WM_LBUTTONDOWN, box);
        EXPECT_EQ(list, GetCapture());
        Mouse(list, WM_MOUSEMOVE, away);
        if (back) Mouse(list, WM_MOUSEMOVE, box);
        if (Toggles.size() == 4) ReleaseCapture();
        Mouse(list, WM_LBUTTONUP, back || Toggles.size() == 4 ? box : away);
    }
    EXPECT_TRUE(Data(list, 0) == 1 && Toggles.size() == 4 && !GetCapture());
    EXPECT_TRUE(BoxPixels(list, 0, true) == 0 && BoxPixels(list, 1, true) > 4) << "classic boxes drawn empty and checked";
}

TEST_F(CheckListTest, TheSpaceBarTogglesOnceOnRelease)
{
    Open(0x50051, Rows);
    SetFocus(NULL);
    SendMessageA(list, LB_SETCURSEL, (WPARAM)-1, 0);
    SetFocus(list);  // as the Tab key gives it: a list without a caret takes its top row
    Key(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
    Key(list, WM_KEYDOWN, VK_SPACE, 0x40390001);  // key repeat
    EXPECT_TRUE(Toggles.empty()) << "nothing toggles before the release";
    Key(list, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(CLI_CHECKED | 1u, Data(list, 0));
    // Another key while the space bar is held toggles at once; then the caret moves on.
    Key(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
    Key(list, WM_KEYDOWN, VK_DOWN, 0x01500001);
    EXPECT_EQ(1u, Data(list, 0));
    EXPECT_EQ(1, SendMessageA(list, LB_GETCURSEL, 0, 0));
    Key(list, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(2u, Toggles.size()) << "the press already ended";
    Key(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SetFocus(dialog);
    EXPECT_EQ(2u, Data(list, 1)) << "losing the focus ends a key press with its toggle";
    EXPECT_EQ((std::vector<INT_PTR>{ 0, 0, 1 }), Toggles);
}
// Wine's common controls 6 report version 5.81, so the version is set as Windows would report it.
TEST_F(CheckListTest, ThemedBoxesLookHotAndPressed)
{
    Open(0x60000, { { "alpha", 1 }, { "beta", CLI_DISABLED | 2 } });
    ASSERT_TRUE(ThemesActive()) << "the prefix has no visual style switched on";
    POINT centre = BoxCentre(list, 0), text = { centre.x + 100, centre.y };
    DWORD normal = BoxPixels(list, 0), disabled = BoxPixels(list, 1);
    Mouse(list, WM_MOUSEMOVE, centre);
    DWORD hot = BoxPixels(list, 0);
    EXPECT_NE(normal, hot) << "the box under the pointer looks hot";
    Mouse(list, WM_MOUSEMOVE, text);
    EXPECT_EQ(normal, BoxPixels(list, 0)) << "off the box it is normal again";
    Mouse(list, WM_MOUSEMOVE, centre);
    SendMessageA(list, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(normal, BoxPixels(list, 0)) << "leaving the control ends the hot look";
    Mouse(list, WM_MOUSEMOVE, BoxCentre(list, 1));
    EXPECT_EQ(disabled, BoxPixels(list, 1));
    Mouse(list, WM_MOUSEMOVE, centre);
    Mouse(list, WM_LBUTTONDOWN, centre);
    EXPECT_NE(hot, BoxPixels(list, 0)) << "pressed differs from hot";
    Mouse(list, WM_LBUTTONUP, centre);
    EXPECT_EQ(CLI_CHECKED | 1u, Data(list, 0));
}
