#include "controls/window_helpers.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "resources/resource.h"
#include <stdarg.h>

void CenterWindow(HWND window)
{
    HWND owner = GetWindow(window, GW_OWNER);
    RECT work;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) SetRect(&work, 0, 0, 0, 0);
    RECT reference = work;
    if (owner && !IsIconic(owner)) GetWindowRect(owner, &reference);

    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    int x = (reference.left + reference.right - width) / 2;
    int y = (reference.top + reference.bottom - height) / 2;
    if (x < work.left) x = work.left;
    else if (x + width > work.right) x = work.right - width;
    if (y < work.top) y = work.top;
    else if (y + height > work.bottom) y = work.bottom - height;
    SetWindowPos(window, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormatControlText(HWND dialog, int controlId, ...)
{
    char format[512], text[512];
    if (!GetDlgItemTextA(dialog, controlId, format, sizeof format)) format[0] = 0;
    va_list args;
    va_start(args, controlId);
    FormatTextV(text, sizeof text, format, args);
    va_end(args);
    SetDlgItemTextA(dialog, controlId, text);
}

INT_PTR ShowDialogBox(WORD templateId, HWND owner, DLGPROC procedure, LPARAM parameter, ErrorStatus* status)
{
    INT_PTR result = DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(templateId), owner, procedure, parameter);
    if (result == -1) SetStatus(status, GetLastError(), IDS_UNABLE_TO_SHOW_DIALOG, (unsigned)templateId);
    return result;
}

void EnableControl(HWND dialog, int controlId, BOOL enable)
{
    EnableWindow(GetDlgItem(dialog, controlId), enable);
}

void RectInParent(HWND window, RECT* rect)
{
    GetWindowRect(window, rect);
    HWND parent = GetParent(window);
    ScreenToClient(parent, (POINT*)&rect->left);
    ScreenToClient(parent, (POINT*)&rect->right);
}

void MoveWindowBy(HWND window, int dx, int dy)
{
    RECT rect;
    RectInParent(window, &rect);
    MoveWindow(window, rect.left + dx, rect.top + dy, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void MoveChildrenBy(HWND window, int dx, int dy)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        MoveWindowBy(child, dx, dy);
}

void PushTopEdgeDown(HWND control, int dy)
{
    RECT rect;
    RectInParent(control, &rect);
    MoveWindow(control, rect.left, rect.top + dy, rect.right - rect.left, rect.bottom - rect.top - dy, TRUE);
}

SIZE WindowTextExtent(HWND window)
{
    char text[512];
    GetWindowTextA(window, text, sizeof text);
    HFONT font = (HFONT)SendMessageA(window, WM_GETFONT, 0, 0);
    HDC dc = GetDC(window);
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : NULL;
    SIZE size = { 0, 0 };
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    if (oldFont) SelectObject(dc, oldFont);
    ReleaseDC(window, dc);
    return size;
}
