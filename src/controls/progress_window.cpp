#include "controls/progress_window.h"
#include <commctrl.h>
#include "core/error_status.h"
#include "core/globals.h"
#include "resources/resource.h"

// Centres a window over its owner (or the screen), kept inside the work area.
static void CenterOverOwner(HWND window)
{
    RECT box, area, over;
    GetWindowRect(window, &box);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    HWND owner = GetWindow(window, GW_OWNER);
    if (!owner || IsIconic(owner) || !GetWindowRect(owner, &over)) over = area;
    int width = box.right - box.left, height = box.bottom - box.top;
    int x = over.left + (over.right - over.left - width) / 2;
    int y = over.top + (over.bottom - over.top - height) / 2;
    if (x + width > area.right) x = area.right - width;
    if (y + height > area.bottom) y = area.bottom - height;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    SetWindowPos(window, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static void MakeUncancellable(HWND window)
{
    ShowWindow(GetDlgItem(window, IDCANCEL), SW_HIDE);
    EnableMenuItem(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
}

static INT_PTR CALLBACK PlainProgressProc(HWND window, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG) return FALSE;
    CenterOverOwner(window);
    char title[256];
    LoadResString(IDS_SETUP_TITLE, title, sizeof title, NULL);
    SetWindowTextA(window, title);
    MakeUncancellable(window);
    return TRUE;
}

HWND CreatePlainProgressWindow(HWND owner)
{
    return CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_PROGRESS), owner, PlainProgressProc, 0);
}

void PumpProgressWindow(HWND window)
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        if (window && IsDialogMessageA(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void ShowProgressText(HWND window, WORD statusTextId, const char* text)
{
    if (!window) return;
    SetDlgItemTextA(window, statusTextId, text);
    PumpProgressWindow(window);
}

void AdvanceProgress(DWORD units, void* context)
{
    ProgressRecord* record = (ProgressRecord*)context;
    record->done += units;
    if (record->done > record->total) record->done = record->total;
    // A total of 0 makes MulDiv answer -1, whose low byte 255 shows a full bar.
    BYTE percentage = (BYTE)MulDiv(100, (int)record->done, (int)record->total);
    if (percentage != record->lastPercentage) {
        record->lastPercentage = percentage;
        if (record->window) SendDlgItemMessageA(record->window, record->progressBarId, PBM_SETPOS, percentage, 0);
    }
    if (record->window) PumpProgressWindow(record->window);
}

BOOL ShowProgressWindow(HWND owner, HWND window)
{
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    BOOL wasEnabled = owner ? IsWindowEnabled(owner) : FALSE;
    if (owner) EnableWindow(owner, FALSE);
    return wasEnabled;
}

void DestroyProgressWindow(HWND owner, HWND window, BOOL ownerWasEnabled)
{
    if (owner) EnableWindow(owner, ownerWasEnabled);
    if (window) DestroyWindow(window);
}
