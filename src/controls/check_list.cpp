#define OEMRESOURCE
#include "controls/check_list.h"
#include "controls/theme.h"
#include "core/error_status.h"
#include "core/globals.h"

// Theme parts and states of a check button.
static const int PartCheckBox = 3;        // BP_CHECKBOX
static const int StateUnchecked = 1;      // CBS_UNCHECKEDNORMAL; +1 hot, +2 pressed, +3 disabled
static const int StateChecked = 5;        // CBS_CHECKEDNORMAL
static const int StateMixed = 9;          // CBS_MIXEDNORMAL

// Control state flags.
static const DWORD FlagInside = 1;      // the pointer is over the pressed item's box
static const DWORD FlagMousePress = 2;  // the left button went down on a box and is still down
static const DWORD FlagKeyPress = 4;    // the space bar is down on an item

// One block per control (40 bytes), its handle in GWLP_USERDATA, locked for each use.
struct CheckListState {
    DWORD flags;
    INT64 currentItem;  // the pressed item during a press, else the hot item; -1 for none
    int boxWidth;
    int boxHeight;
    ControlTheme theme;
    WNDPROC previous;
};

static LRESULT CALLBACK CheckListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

static CheckListState* LockState(HWND list)
{
    HGLOBAL block = (HGLOBAL)GetWindowLongPtrA(list, GWLP_USERDATA);
    return block ? (CheckListState*)GlobalLock(block) : NULL;
}

static void UnlockState(HWND list)
{
    HGLOBAL block = (HGLOBAL)GetWindowLongPtrA(list, GWLP_USERDATA);
    if (block) GlobalUnlock(block);
}

// The size of a check box: the theme's part size, else a quarter by a third of the system's
// check-box bitmap.
static SIZE MeasureBox(HWND list)
{
    SIZE size = { 0, 0 };
    ControlTheme theme = OpenControlTheme(list, "BUTTON");
    if (theme) {
        HDC dc = GetDC(list);
        if (FAILED(GetControlPartSize(theme, dc, PartCheckBox, StateUnchecked, &size))) {
            size.cx = 0;
            size.cy = 0;
        }
        ReleaseDC(list, dc);
        CloseControlTheme(theme);
        return size;
    }
    HBITMAP boxes = LoadBitmapA(NULL, MAKEINTRESOURCEA(OBM_CHECKBOXES));
    if (boxes) {
        BITMAP bitmap;
        if (GetObjectA(boxes, sizeof bitmap, &bitmap)) {
            size.cx = bitmap.bmWidth / 4;
            size.cy = bitmap.bmHeight / 3;
        }
        DeleteObject(boxes);
    }
    return size;
}

static RECT BoxRect(const RECT* item, DWORD data, int boxWidth, int boxHeight)
{
    RECT box;
    box.left = item->left + 2;
    if (data & CLI_INDENTED) box.left += boxWidth + 2;
    box.top = item->top + (item->bottom - boxHeight - item->top) / 2;
    box.right = box.left + boxWidth;
    box.bottom = box.top + boxHeight;
    return box;
}

static DWORD ItemData(HWND list, INT_PTR item)
{
    return (DWORD)SendMessageA(list, LB_GETITEMDATA, item, 0);
}

static void InvalidateBox(HWND list, CheckListState* state, INT_PTR item)
{
    RECT itemRect;
    if (item < 0 || SendMessageA(list, LB_GETITEMRECT, item, (LPARAM)&itemRect) == LB_ERR) return;
    RECT box = BoxRect(&itemRect, ItemData(list, item), state->boxWidth, state->boxHeight);
    InvalidateRect(list, &box, FALSE);
}

// The item whose box holds the point (client coordinates), or -1.
static INT_PTR HitTest(HWND list, CheckListState* state, POINT point)
{
    LRESULT found = SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (HIWORD(found)) return -1;
    INT_PTR item = LOWORD(found);
    DWORD data = ItemData(list, item);
    if (data & CLI_DISABLED) return -1;
    if (!state->boxWidth) return -1;
    RECT itemRect;
    if (SendMessageA(list, LB_GETITEMRECT, item, (LPARAM)&itemRect) == LB_ERR) return -1;
    RECT box = BoxRect(&itemRect, data, state->boxWidth, state->boxHeight);
    return PtInRect(&box, point) ? item : -1;
}

static int ItemHeight(HWND list, int boxHeight)
{
    HFONT font = (HFONT)SendMessageA(list, WM_GETFONT, 0, 0);
    if (!font && GetParent(list)) font = (HFONT)SendMessageA(GetParent(list), WM_GETFONT, 0, 0);
    HDC dc = GetDC(list);
    HGDIOBJ old = font ? SelectObject(dc, font) : NULL;
    TEXTMETRICA metrics;
    ZeroMemory(&metrics, sizeof metrics);
    GetTextMetricsA(dc, &metrics);
    if (old) SelectObject(dc, old);
    ReleaseDC(list, dc);
    return metrics.tmHeight > boxHeight ? metrics.tmHeight : boxHeight + 1;
}

static void Toggle(HWND list, INT_PTR item)
{
    DWORD data = ItemData(list, item);
    if (data & CLI_MIXED) data &= ~CLI_MIXED;
    else data ^= CLI_CHECKED;
    CheckListSetData(list, (int)item, data);

    CheckListToggle toggle;
    toggle.header.hwndFrom = list;
    toggle.header.idFrom = (UINT_PTR)GetDlgCtrlID(list);
    toggle.header.code = CLN_TOGGLED;
    toggle.item = item;
    SendMessageA(GetParent(list), WM_NOTIFY, toggle.header.idFrom, (LPARAM)&toggle);
}

// Hot tracking, with no item when leaving is true.
static void TrackPointer(HWND list, CheckListState* state, POINT point, bool leaving)
{
    if (state->flags & FlagMousePress) {
        bool onCurrent = HitTest(list, state, point) == state->currentItem;
        if (onCurrent != ((state->flags & FlagInside) != 0)) {
            state->flags ^= FlagInside;
            InvalidateBox(list, state, (INT_PTR)state->currentItem);
            UpdateWindow(list);
        }
        return;
    }
    if (!state->theme || (state->flags & FlagKeyPress)) return;
    INT_PTR hot = leaving ? -1 : HitTest(list, state, point);
    if (hot != state->currentItem) {
        InvalidateBox(list, state, (INT_PTR)state->currentItem);
        state->currentItem = hot;
        if (hot >= 0) {
            InvalidateBox(list, state, hot);
            TrackMouseLeave(list);
        }
    }
    UpdateWindow(list);
}

static void EndKeyPress(HWND list, CheckListState* state)
{
    if (!(state->flags & FlagKeyPress)) return;
    if (state->currentItem >= 0) Toggle(list, (INT_PTR)state->currentItem);
    state->flags &= ~FlagKeyPress;
    state->currentItem = -1;
    if (state->theme) {
        POINT point;
        GetCursorPos(&point);
        ScreenToClient(list, &point);
        TrackPointer(list, state, point, false);
    }
}

static void EndMousePress(HWND list, CheckListState* state, POINT point, bool cancelled)
{
    if (!(state->flags & FlagMousePress)) return;
    // Clear the flag first: releasing the capture sends WM_CAPTURECHANGED back to us.
    state->flags &= ~FlagMousePress;
    if (GetCapture() == list) ReleaseCapture();
    INT_PTR hit = cancelled ? -1 : HitTest(list, state, point);
    if (hit >= 0 && hit == state->currentItem) Toggle(list, hit);
    else if (state->flags & FlagInside) InvalidateBox(list, state, (INT_PTR)state->currentItem);
    state->flags &= ~FlagInside;
    UpdateWindow(list);
}

// True when the press hit a box and the message is swallowed.
static bool MousePress(HWND list, CheckListState* state, POINT point)
{
    INT_PTR hit = HitTest(list, state, point);
    EndKeyPress(list, state);
    if (hit < 0) return false;
    if (GetFocus() != list) SetFocus(list);
    if (SendMessageA(list, LB_GETCURSEL, 0, 0) != hit) {
        SendMessageA(list, LB_SETCURSEL, hit, 0);
        SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), (LPARAM)list);
    }
    state->flags |= FlagMousePress | FlagInside;
    SetCapture(list);
    InvalidateBox(list, state, (INT_PTR)state->currentItem);
    InvalidateBox(list, state, hit);
    state->currentItem = hit;
    UpdateWindow(list);
    return true;
}

static bool FocusRectanglesHidden(HWND window)
{
    if (!IsWindowsNT || OsVersion < 0x0500) return false;
    return (SendMessageA(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
}

// True when the key is swallowed.
static bool KeyPress(HWND list, CheckListState* state, WPARAM key, LPARAM keyData)
{
    if (FocusRectanglesHidden(list))
        SendMessageA(list, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (key != VK_SPACE) {
        EndKeyPress(list, state);
        return false;
    }
    if (!(state->flags & FlagKeyPress) && !(keyData & 0x40000000)) {
        LRESULT caret = SendMessageA(list, LB_GETCURSEL, 0, 0);
        // With no caret item (an empty list) there is nothing to toggle.
        if (caret != LB_ERR) {
            InvalidateBox(list, state, (INT_PTR)caret);
            state->flags |= FlagKeyPress;
            state->currentItem = caret;
        }
    }
    return true;
}

static void ReopenTheme(HWND list, CheckListState* state)
{
    CloseControlTheme(state->theme);
    state->theme = OpenControlTheme(list, "BUTTON");
    SIZE box = MeasureBox(list);
    state->boxWidth = box.cx;
    state->boxHeight = box.cy;
    int height = ItemHeight(list, state->boxHeight);
    if (SendMessageA(list, LB_GETITEMHEIGHT, 0, 0) != height) SendMessageA(list, LB_SETITEMHEIGHT, 0, height);
    InvalidateRect(list, NULL, TRUE);
}

static LRESULT CALLBACK CheckListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    CheckListState* state = LockState(list);
    if (!state) return DefWindowProcA(list, message, wParam, lParam);
    WNDPROC previous = state->previous;
    POINT point = { (short)LOWORD(lParam), (short)HIWORD(lParam) };
    bool swallow = false;

    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        swallow = MousePress(list, state, point);
        break;
    case WM_MOUSEMOVE:
        TrackPointer(list, state, point, false);
        break;
    case WM_LBUTTONUP:
        EndMousePress(list, state, point, false);
        break;
    case WM_CAPTURECHANGED:
        EndMousePress(list, state, point, true);
        break;
    case WM_MOUSELEAVE:
        TrackPointer(list, state, point, true);
        break;
    case WM_KEYDOWN:
        swallow = KeyPress(list, state, wParam, lParam);
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            EndKeyPress(list, state);
            swallow = true;
        }
        break;
    case WM_SETFOCUS:
        // Reached by the Tab key, a fresh list has no caret item for the space bar to toggle.
        if (SendMessageA(list, LB_GETCURSEL, 0, 0) == LB_ERR && SendMessageA(list, LB_GETCOUNT, 0, 0) > 0)
            SendMessageA(list, LB_SETCURSEL, SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
        break;
    case WM_KILLFOCUS:
        EndKeyPress(list, state);
        break;
    case WM_UPDATEUISTATE: {
        LRESULT caret = SendMessageA(list, LB_GETCURSEL, 0, 0);
        RECT itemRect;
        if (caret != LB_ERR && SendMessageA(list, LB_GETITEMRECT, caret, (LPARAM)&itemRect) != LB_ERR)
            InvalidateRect(list, &itemRect, TRUE);
        else
            InvalidateRect(list, NULL, TRUE);
        break;
    }
    case WM_THEMECHANGED:
        ReopenTheme(list, state);
        break;
    case WM_DESTROY: {
        CloseControlTheme(state->theme);
        UnlockState(list);
        HGLOBAL block = (HGLOBAL)SetWindowLongPtrA(list, GWLP_USERDATA, 0);
        GlobalFree(block);
        SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)previous);
        return CallWindowProcA(previous, list, message, wParam, lParam);
    }
    }

    UnlockState(list);
    if (swallow) return 0;
    return CallWindowProcA(previous, list, message, wParam, lParam);
}

void CheckListAttach(HWND list, ErrorStatus* status)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(CheckListState));
    if (!block) {
        SetStatus(status, GetLastError(), 0);
        return;
    }
    SetWindowLongPtrA(list, GWLP_USERDATA, (LONG_PTR)block);
    CheckListState* state = (CheckListState*)GlobalLock(block);
    state->theme = OpenControlTheme(list, "BUTTON");
    state->previous = (WNDPROC)SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)CheckListProc);
    state->flags = 0;
    state->currentItem = -1;
    SIZE box = MeasureBox(list);
    state->boxWidth = box.cx;
    state->boxHeight = box.cy;
    GlobalUnlock(block);
}

int CheckListAddData(HWND list, const char* text, DWORD data, ErrorStatus* status)
{
    char loaded[256];
    if (IS_INTRESOURCE(text)) {
        LoadResString((WORD)(UINT_PTR)text, loaded, sizeof loaded, status);
        text = loaded;
    }
    LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)text);
    if (index == LB_ERR || index == LB_ERRSPACE) {
        SetStatus(status, ERROR_OUTOFMEMORY, 0);
        return (int)index;
    }
    SendMessageA(list, LB_SETITEMDATA, index, data);
    return (int)index;
}

int CheckListAdd(HWND list, const char* text, BOOL checked, DWORD value, ErrorStatus* status)
{
    return CheckListAddData(list, text, value | (checked ? CLI_CHECKED : 0), status);
}

void CheckListSetData(HWND list, int index, DWORD data)
{
    if (ItemData(list, index) == data) return;
    SendMessageA(list, LB_SETITEMDATA, index, data);
    RECT itemRect;
    if (SendMessageA(list, LB_GETITEMRECT, index, (LPARAM)&itemRect) != LB_ERR)
        InvalidateRect(list, &itemRect, FALSE);
}

static int ThemedState(DWORD data, const CheckListState* state, INT_PTR item)
{
    bool disabled = (data & CLI_DISABLED) != 0;
    int base = (data & CLI_MIXED) ? StateMixed : (data & CLI_CHECKED) ? StateChecked : StateUnchecked;
    if (disabled) return base + 3;
    if (item != state->currentItem) return base;
    if (((state->flags & FlagMousePress) && (state->flags & FlagInside)) || (state->flags & FlagKeyPress))
        return base + 2;
    return base + 1;  // hot: under the pointer, or pressed with the pointer outside
}

void CheckListDrawItem(const DRAWITEMSTRUCT* item)
{
    HWND list = item->hwndItem;
    HDC dc = item->hDC;
    RECT itemRect = item->rcItem;
    HWND parent = GetParent(list);

    if ((int)item->itemID == -1) {
        FillRect(dc, &itemRect, GetSysColorBrush(COLOR_WINDOW));
        if ((item->itemState & ODS_FOCUS) && !FocusRectanglesHidden(list)) DrawFocusRect(dc, &itemRect);
        SetWindowLongPtrA(parent, DWLP_MSGRESULT, TRUE);
        return;
    }

    CheckListState fallback;
    ZeroMemory(&fallback, sizeof fallback);
    fallback.currentItem = -1;
    CheckListState* state = LockState(list);
    if (!state) {
        SIZE box = MeasureBox(list);
        fallback.boxWidth = box.cx;
        fallback.boxHeight = box.cy;
        state = &fallback;
    }

    DWORD data = (DWORD)item->itemData;
    bool disabled = (data & CLI_DISABLED) != 0;
    int background = COLOR_WINDOW, foreground = COLOR_WINDOWTEXT;
    if ((item->itemState & ODS_SELECTED) && !(GetWindowLongA(list, GWL_STYLE) & LBS_NOSEL) && !disabled) {
        background = COLOR_HIGHLIGHT;
        foreground = COLOR_HIGHLIGHTTEXT;
    }
    if (disabled) foreground = COLOR_GRAYTEXT;
    FillRect(dc, &itemRect, GetSysColorBrush(background));

    RECT box = BoxRect(&itemRect, data, state->boxWidth, state->boxHeight);
    if (state->theme) {
        DrawControlBackground(state->theme, dc, PartCheckBox, ThemedState(data, state, item->itemID), &box, NULL);
    } else {
        UINT look = DFCS_BUTTONCHECK;
        if (data & CLI_MIXED) look |= DFCS_BUTTON3STATE | DFCS_CHECKED;
        else if (data & CLI_CHECKED) look |= DFCS_CHECKED;
        if (disabled) look |= DFCS_INACTIVE;
        if ((INT_PTR)item->itemID == state->currentItem
            && (((state->flags & FlagMousePress) && (state->flags & FlagInside)) || (state->flags & FlagKeyPress)))
            look |= DFCS_PUSHED;
        DrawFrameControl(dc, &box, DFC_BUTTON, look);
    }

    char text[256];
    text[0] = 0;
    if (SendMessageA(list, LB_GETTEXTLEN, item->itemID, 0) < (LRESULT)sizeof text)
        SendMessageA(list, LB_GETTEXT, item->itemID, (LPARAM)text);

    COLORREF oldBack = SetBkColor(dc, GetSysColor(background));
    COLORREF oldText = SetTextColor(dc, GetSysColor(foreground));
    HFONT bold = NULL;
    HGDIOBJ oldFont = NULL;
    if (data & CLI_BOLD) {
        LOGFONTA font;
        if (GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font)) {
            font.lfWeight += 300;
            bold = CreateFontIndirectA(&font);
            if (bold) oldFont = SelectObject(dc, bold);
        }
    }
    RECT textRect = itemRect;
    textRect.left = box.right + 2;
    DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (oldFont) SelectObject(dc, oldFont);
    if (bold) DeleteObject(bold);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);

    if ((item->itemState & ODS_FOCUS) && !FocusRectanglesHidden(list)) DrawFocusRect(dc, &itemRect);
    if (state != &fallback) UnlockState(list);
    SetWindowLongPtrA(parent, DWLP_MSGRESULT, TRUE);
}

void CheckListMeasureItem(HWND list, MEASUREITEMSTRUCT* item)
{
    int boxHeight;
    CheckListState* state = list ? LockState(list) : NULL;
    if (state) {
        boxHeight = state->boxHeight;
        UnlockState(list);
    } else {
        boxHeight = MeasureBox(list).cy;
    }
    item->itemHeight = ItemHeight(list, boxHeight);
    if (list && GetParent(list)) SetWindowLongPtrA(GetParent(list), DWLP_MSGRESULT, TRUE);
}
