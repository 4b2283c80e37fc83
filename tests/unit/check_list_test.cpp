#define OEMRESOURCE
// The check-box list on a real list box of a real dialog: hit-testing on the box only, the
// mouse press with capture, the space bar's key-repeat rule, toggles and notifications.
#include <windows.h>
#include <gtest/gtest.h>
#include <vector>
#include "controls/check_list.h"
#include "controls/theme.h"
#include "core/error_status.h"

static const int ListId = 100;

struct Dialog {
    std::vector<INT_PTR> toggles;
    int selectionChanges;
};
static Dialog Seen;

static INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_DRAWITEM:
        CheckListDrawItem((const DRAWITEMSTRUCT*)lParam);
        return TRUE;
    case WM_MEASUREITEM:
        CheckListMeasureItem(GetDlgItem(dialog, (int)wParam), (MEASUREITEMSTRUCT*)lParam);
        return TRUE;
    case WM_NOTIFY: {
        const CheckListToggle* toggle = (const CheckListToggle*)lParam;
        if (toggle->header.code == CLN_TOGGLED && toggle->header.idFrom == ListId) Seen.toggles.push_back(toggle->item);
        return TRUE;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == LBN_SELCHANGE) Seen.selectionChanges++;
        return TRUE;
    }
    return FALSE;
}

// A dialog template in memory: one list box with the check list's styles.
static HWND MakeDialog()
{
    alignas(4) static WORD buffer[512];
    ZeroMemory(buffer, sizeof buffer);
    DLGTEMPLATE* dialog = (DLGTEMPLATE*)buffer;
    dialog->style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT;
    dialog->cdit = 1;
    dialog->cx = 200;
    dialog->cy = 120;
    WORD* p = (WORD*)(dialog + 1);
    *p++ = 0;  // menu
    *p++ = 0;  // class
    *p++ = 0;  // title
    *p++ = 8;  // font size
    for (const char* f = "MS Sans Serif"; (*p++ = (WORD)*f) != 0; f++) {}
    p = (WORD*)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
    DLGITEMTEMPLATE* item = (DLGITEMTEMPLATE*)p;
    item->style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_OWNERDRAWFIXED
        | LBS_HASSTRINGS | LBS_SORT | LBS_NOTIFY | LBS_NOSEL | LBS_NOINTEGRALHEIGHT;
    item->x = 5;
    item->y = 5;
    item->cx = 180;
    item->cy = 100;
    item->id = ListId;
    p = (WORD*)(item + 1);
    *p++ = 0xFFFF;
    *p++ = 0x0083;  // list box
    *p++ = 0;       // text
    *p++ = 0;       // creation data
    return CreateDialogIndirectParamA(GetModuleHandleA(NULL), dialog, NULL, TestDialogProc, 0);
}

static void Pump()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

static DWORD Data(HWND list, int index) { return (DWORD)SendMessageA(list, LB_GETITEMDATA, index, 0); }

static RECT ItemRect(HWND list, int index)
{
    RECT rect;
    SendMessageA(list, LB_GETITEMRECT, index, (LPARAM)&rect);
    return rect;
}

// The middle of an item's box, by the box geometry of the classic check box.
static POINT BoxCentre(HWND list, int index)
{
    HBITMAP boxes = LoadBitmapA(NULL, MAKEINTRESOURCEA(OBM_CHECKBOXES));
    BITMAP bitmap;
    GetObjectA(boxes, sizeof bitmap, &bitmap);
    DeleteObject(boxes);
    int width = bitmap.bmWidth / 4;
    RECT item = ItemRect(list, index);
    int left = item.left + 2 + ((Data(list, index) & CLI_INDENTED) ? width + 2 : 0);
    POINT centre = { left + width / 2, (item.top + item.bottom) / 2 };
    return centre;
}

static void Mouse(HWND list, UINT message, POINT at)
{
    SendMessageA(list, message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y));
}

static void Click(HWND list, POINT at)
{
    Mouse(list, WM_LBUTTONDOWN, at);
    Mouse(list, WM_LBUTTONUP, at);
}

class CheckListTest : public ::testing::Test {
protected:
    HWND dialog = NULL;
    HWND list = NULL;
    void SetUp() override
    {
        // Common controls before version 6 draw the classic way.
        ResetThemeState();
        CommonControlsVersion = 0x50051;
        ASSERT_FALSE(ThemesActive());
        Seen = Dialog();
        dialog = MakeDialog();
        ASSERT_NE(nullptr, dialog);
        list = GetDlgItem(dialog, ListId);
        ErrorStatus status = {};
        CheckListAttach(list, &status);
        ASSERT_EQ(0u, status.code);
        // Sorted: alpha 0, beta 1, delta 2, gamma 3, omega 4.
        EXPECT_GE(CheckListAdd(list, "beta", TRUE, 2, &status), 0);
        CheckListAdd(list, "alpha", FALSE, 1, &status);
        CheckListAddData(list, "gamma", CLI_DISABLED | 3, &status);
        CheckListAddData(list, "delta", CLI_MIXED | 4, &status);
        CheckListAddData(list, "omega", CLI_INDENTED | CLI_BOLD | 5, &status);
        ASSERT_EQ(0u, status.code);
        Pump();
    }
    void TearDown() override
    {
        if (dialog) DestroyWindow(dialog);
        Pump();
    }
};

TEST_F(CheckListTest, AddStoresValueAndCheckedBit)
{
    EXPECT_EQ(1u, Data(list, 0));
    EXPECT_EQ(CLI_CHECKED | 2u, Data(list, 1));
    char text[32];
    SendMessageA(list, LB_GETTEXT, 3, (LPARAM)text);
    EXPECT_STREQ("gamma", text);
}

TEST_F(CheckListTest, OnlyAClickOnTheBoxToggles)
{
    Click(list, BoxCentre(list, 0));
    EXPECT_EQ(CLI_CHECKED | 1u, Data(list, 0));
    ASSERT_EQ(1u, Seen.toggles.size());
    EXPECT_EQ(0, Seen.toggles[0]);
    EXPECT_EQ(1, Seen.selectionChanges) << "the pressed item becomes the caret item";

    RECT item = ItemRect(list, 1);
    POINT onText = { item.left + 80, (item.top + item.bottom) / 2 };
    Click(list, onText);
    EXPECT_EQ(CLI_CHECKED | 2u, Data(list, 1));
    EXPECT_EQ(1u, Seen.toggles.size());

    // The indented item's box sits one box further right; its old place is no hit.
    POINT indented = BoxCentre(list, 4);
    POINT oldPlace = { ItemRect(list, 4).left + 2 + 3, indented.y };
    Click(list, oldPlace);
    EXPECT_EQ(CLI_INDENTED | CLI_BOLD | 5u, Data(list, 4));
    Click(list, indented);
    EXPECT_EQ(CLI_CHECKED | CLI_INDENTED | CLI_BOLD | 5u, Data(list, 4));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(CheckListTest, PressMovingOffAndBack)
{
    POINT box = BoxCentre(list, 0);
    POINT away = { box.x + 100, box.y };
    Mouse(list, WM_LBUTTONDOWN, box);
    EXPECT_EQ(list, GetCapture());
    Mouse(list, WM_MOUSEMOVE, away);
    Mouse(list, WM_LBUTTONUP, away);
    EXPECT_EQ(1u, Data(list, 0));
    EXPECT_TRUE(Seen.toggles.empty());

    Mouse(list, WM_LBUTTONDOWN, box);
    Mouse(list, WM_MOUSEMOVE, away);
    Mouse(list, WM_MOUSEMOVE, box);
    Mouse(list, WM_LBUTTONUP, box);
    EXPECT_EQ(CLI_CHECKED | 1u, Data(list, 0));
    EXPECT_EQ(1u, Seen.toggles.size());

    // Losing the capture cancels the press.
    Mouse(list, WM_LBUTTONDOWN, box);
    ReleaseCapture();
    Mouse(list, WM_LBUTTONUP, box);
    EXPECT_EQ(CLI_CHECKED | 1u, Data(list, 0));
}

TEST_F(CheckListTest, DisabledAndMixedItems)
{
    Click(list, BoxCentre(list, 3));
    EXPECT_EQ(CLI_DISABLED | 3u, Data(list, 3));
    EXPECT_TRUE(Seen.toggles.empty());

    Click(list, BoxCentre(list, 2));
    EXPECT_EQ(4u, Data(list, 2)) << "a mixed item loses the mixed bit and shows bit 31's state";
    Click(list, BoxCentre(list, 2));
    EXPECT_EQ(CLI_CHECKED | 4u, Data(list, 2));
}

TEST_F(CheckListTest, SpaceBarTogglesOnceOnRelease)
{
    SetFocus(list);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0x40390001);  // key repeat
    SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0x40390001);
    EXPECT_TRUE(Seen.toggles.empty()) << "nothing toggles before the release";
    SendMessageA(list, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(CLI_CHECKED | 1u, Data(list, 0));
    EXPECT_EQ(1u, Seen.toggles.size());

    // Another key while the space bar is held toggles at once, then the caret moves on.
    SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0x01500001);
    EXPECT_EQ(1u, Data(list, 0));
    EXPECT_EQ(2u, Seen.toggles.size());
    EXPECT_EQ(1, SendMessageA(list, LB_GETCURSEL, 0, 0));
    SendMessageA(list, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(2u, Seen.toggles.size()) << "the press already ended";

    // Losing the focus ends a key press with its toggle.
    SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SetFocus(dialog);
    EXPECT_EQ(2u, Data(list, 1)) << "beta was checked and is toggled off";
    EXPECT_EQ(3u, Seen.toggles.size());
}

TEST_F(CheckListTest, TheFocusGivesAListWithoutACaretItsTopRow)
{
    SetFocus(NULL);
    SendMessageA(list, LB_SETCURSEL, (WPARAM)-1, 0);
    SetFocus(list);  // as the Tab key gives it
    SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageA(list, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(CLI_CHECKED | 1u, Data(list, 0)) << "the space bar toggles the top row";
}

TEST_F(CheckListTest, ItemHeightIsTheFontOrTheBoxPlusOne)
{
    HBITMAP boxes = LoadBitmapA(NULL, MAKEINTRESOURCEA(OBM_CHECKBOXES));
    BITMAP bitmap;
    GetObjectA(boxes, sizeof bitmap, &bitmap);
    DeleteObject(boxes);
    int boxHeight = bitmap.bmHeight / 3;
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    int expected = metrics.tmHeight > boxHeight ? metrics.tmHeight : boxHeight + 1;
    EXPECT_EQ(expected, SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    MEASUREITEMSTRUCT measure = {};
    CheckListMeasureItem(list, &measure);
    EXPECT_EQ((UINT)expected, measure.itemHeight);
}

TEST_F(CheckListTest, ClassicBoxIsDrawnCheckedOrEmpty)
{
    // alpha unchecked, beta checked: the box of beta holds dark pixels of the tick.
    HDC screen = GetDC(list);
    InvalidateRect(list, NULL, TRUE);
    UpdateWindow(list);
    auto darkPixels = [&](int index) {
        POINT centre = BoxCentre(list, index);
        int dark = 0;
        for (int dx = -3; dx <= 3; dx++)
            for (int dy = -3; dy <= 3; dy++) {
                COLORREF c = GetPixel(screen, centre.x + dx, centre.y + dy);
                if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) dark++;
            }
        return dark;
    };
    int unchecked = darkPixels(0), checked = darkPixels(1);
    ReleaseDC(list, screen);
    EXPECT_EQ(0, unchecked);
    EXPECT_GT(checked, 4);
}

// Themed drawing. Wine's prefixes have a visual style switched on; its common controls 6 report
// version 5.81, so the version is set as Windows would report it.
class ThemedCheckListTest : public CheckListTest {
protected:
    void SetUp() override
    {
        ResetThemeState();
        CommonControlsVersion = 0x60000;
        ASSERT_TRUE(ThemesActive()) << "the prefix has no visual style switched on";
        Seen = Dialog();
        dialog = MakeDialog();
        list = GetDlgItem(dialog, ListId);
        ErrorStatus status = {};
        CheckListAttach(list, &status);
        CheckListAdd(list, "alpha", FALSE, 1, &status);
        CheckListAddData(list, "beta", CLI_DISABLED | 2, &status);
        Pump();
    }
};

static SIZE ThemedBoxSize(HWND window)
{
    SIZE size = { 0, 0 };
    ControlTheme theme = OpenControlTheme(window, "BUTTON");
    HDC dc = GetDC(window);
    GetControlPartSize(theme, dc, 3, 1, &size);
    ReleaseDC(window, dc);
    CloseControlTheme(theme);
    return size;
}

// A checksum of the pixels of an item's box.
static DWORD BoxPixels(HWND list, int index, SIZE box)
{
    InvalidateRect(list, NULL, FALSE);
    UpdateWindow(list);
    RECT item = ItemRect(list, index);
    int top = item.top + (item.bottom - box.cy - item.top) / 2;
    HDC dc = GetDC(list);
    DWORD sum = 0;
    for (int y = top; y < top + box.cy; y++)
        for (int x = item.left + 2; x < item.left + 2 + box.cx; x++) sum = sum * 31 + GetPixel(dc, x, y);
    ReleaseDC(list, dc);
    return sum;
}

TEST_F(ThemedCheckListTest, HotLookFollowsThePointerButNotOnDisabledItems)
{
    SIZE box = ThemedBoxSize(list);
    ASSERT_GT(box.cx, 0);
    RECT item = ItemRect(list, 0);
    POINT centre = { item.left + 2 + box.cx / 2, (item.top + item.bottom) / 2 };
    POINT text = { item.left + 100, centre.y };

    DWORD normal = BoxPixels(list, 0, box);
    Mouse(list, WM_MOUSEMOVE, centre);
    DWORD hot = BoxPixels(list, 0, box);
    EXPECT_NE(normal, hot) << "the box under the pointer looks hot";
    Mouse(list, WM_MOUSEMOVE, text);
    EXPECT_EQ(normal, BoxPixels(list, 0, box)) << "off the box it is normal again";

    Mouse(list, WM_MOUSEMOVE, centre);
    SendMessageA(list, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(normal, BoxPixels(list, 0, box)) << "leaving the control ends the hot look";

    RECT disabledItem = ItemRect(list, 1);
    POINT disabledBox = { disabledItem.left + 2 + box.cx / 2, (disabledItem.top + disabledItem.bottom) / 2 };
    DWORD disabled = BoxPixels(list, 1, box);
    Mouse(list, WM_MOUSEMOVE, disabledBox);
    EXPECT_EQ(disabled, BoxPixels(list, 1, box));

    // The pressed look differs from the hot one while the button is down on the box.
    Mouse(list, WM_MOUSEMOVE, centre);
    Mouse(list, WM_LBUTTONDOWN, centre);
    DWORD pressed = BoxPixels(list, 0, box);
    EXPECT_NE(hot, pressed);
    Mouse(list, WM_LBUTTONUP, centre);
    EXPECT_EQ(CLI_CHECKED | 1u, Data(list, 0));
}

TEST_F(ThemedCheckListTest, ApplicationWithoutThemedControlsDrawsClassic)
{
    HMODULE uxtheme = GetModuleHandleA("uxtheme.dll");
    ASSERT_NE(nullptr, uxtheme);
    typedef void(WINAPI * SetProperties)(DWORD);
    typedef DWORD(WINAPI * GetProperties)();
    SetProperties set = (SetProperties)GetProcAddress(uxtheme, "SetThemeAppProperties");
    GetProperties get = (GetProperties)GetProcAddress(uxtheme, "GetThemeAppProperties");
    DWORD old = get();
    set(old & ~2u);  // without STAP_ALLOW_CONTROLS
    EXPECT_FALSE(ThemesActive());
    EXPECT_EQ(nullptr, OpenControlTheme(list, "BUTTON"));
    set(old);
    EXPECT_TRUE(ThemesActive());

    ResetThemeState();
    CommonControlsVersion = 0x50051;
    EXPECT_FALSE(ThemesActive()) << "common controls before 6 never draw themed";
    EXPECT_EQ(nullptr, OpenControlTheme(list, "BUTTON"));
}
