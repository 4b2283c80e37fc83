#include "controls/progress_window.h"
#include <commctrl.h>
#include <richedit.h>
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include "resources/resource.h"
#include "controls/header_band.h"
#include "controls/painting.h"
#include "controls/rich_text.h"
#include "core/setup_context.h"
#include "controls/window_helpers.h"

static const char* ProgressSection = "Progress";

static void MakeUncancellable(HWND window)
{
    ShowWindow(GetDlgItem(window, IDCANCEL), SW_HIDE);
    EnableMenuItem(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
}

static INT_PTR CALLBACK PlainProgressProc(HWND window, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG) return FALSE;
    CenterWindow(window);
    char title[256];
    LoadResString(IDS_SETUP_TITLE, title, sizeof title, NULL);
    SetWindowTextA(window, title);
    MakeUncancellable(window);
    return TRUE;
}

// Moves every child whose top lies above the given line down by dy.
static void MoveChildrenAbove(HWND window, int line, int dy)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        RectInParent(child, &rect);
        if (rect.top < line) SetWindowPos(child, NULL, rect.left, rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

// A control keeps its left, top and bottom; its right edge moves by dx.
static void WidenControl(HWND window, int id, int dx)
{
    HWND control = GetDlgItem(window, id);
    RECT rect;
    RectInParent(control, &rect);
    SetWindowPos(control, NULL, 0, 0, rect.right - rect.left + dx, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER);
}

// The header band: the section's image at the top right, a separator under it, the rich-text
// header to its left.
static void SetUpHeaderBand(HWND window, ProgressRecord* record, char* script)
{
    char value[256];
    GetScriptValue(script, ProgressSection, "headerimage", "", value, sizeof value);
    if (value[0])
        record->headerBitmap = (HBITMAP)LoadImageA(NULL, value, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!record->headerBitmap) return;

    record->headerBackColor = 0xFFFFFFFF;
    if (GetScriptValue(script, ProgressSection, "HeaderBackColor", "", value, sizeof value))
        record->headerBackColor = ParseDecimal(value);
    BITMAP bitmap;
    GetObjectA(record->headerBitmap, sizeof bitmap, &bitmap);
    RECT divider, client, status;
    GetClientRect(window, &client);
    // The same strip as on the wizard's pages, so that the band does not jump when this window
    // takes the wizard's place; kept on the window however high the script makes it.
    PageHeader strip;
    LoadHeaderStrip(script, &strip);
    int stripRoom = client.bottom - bitmap.bmHeight - 2;
    record->lineHeight = strip.lineHeight <= stripRoom ? strip.lineHeight : stripRoom > 0 ? stripRoom : 0;
    record->lineColor = strip.lineColor;
    record->headerHeight = record->lineHeight + bitmap.bmHeight;

    RectInParent(GetDlgItem(window, IDC_HEADER_PROGRESS_DIVIDER), &divider);
    MoveChildrenAbove(window, divider.top, bitmap.bmHeight + 2);
    CreateWindowExA(WS_EX_STATICEDGE | WS_EX_NOPARENTNOTIFY, "Static", "", WS_CHILD | WS_VISIBLE | SS_SUNKEN, 0,
                    record->headerHeight, client.right, 2, window, NULL, AppInstance, NULL);

    DWORD left = 0, top = 0, right = 0, bottom = 0;
    if (GetScriptValue(script, ProgressSection, "HeaderRTFMargins", "", value, sizeof value))
        ParseFourNumbers(value, &left, &top, &right, &bottom);
    if (!GetScriptValue(script, ProgressSection, "HeaderRTF", "", value, sizeof value)) return;
    RectInParent(GetDlgItem(window, IDC_HEADER_PROGRESS_TEXT), &status);
    RECT place = HeaderTextRect(status.left, record->lineHeight, client.right - bitmap.bmWidth, record->headerHeight,
                                left, top, right, bottom);
    HWND rich = CreateRichTextControl(&record->context->richEditModule, value, place.left, place.top,
                                      place.right - place.left, place.bottom - place.top, window);
    if (rich && record->headerBackColor != 0xFFFFFFFF)
        SendMessageA(rich, EM_SETBKGNDCOLOR, 0, record->headerBackColor);
}

// The section's DividerText, centred on the divider line at the section's offset; a negative x
// offset, and a missing one, stand for the status text's left edge, where the wizard's pages
// have their labels. The label ends with an ellipsis where the divider line ends.
static void PlaceDividerText(HWND window, char* script)
{
    char text[256], value[64];
    if (!GetScriptValue(script, ProgressSection, "DividerText", "", text, sizeof text)) return;
    POINT offset = { -1, 0 };
    if (GetScriptValue(script, ProgressSection, "DividerTextOffset", "", value, sizeof value)) {
        offset.x = 0;
        ParsePoint(value, &offset);
    }
    RECT divider, status;
    RectInParent(GetDlgItem(window, IDC_HEADER_PROGRESS_DIVIDER), &divider);
    RectInParent(GetDlgItem(window, IDC_HEADER_PROGRESS_TEXT), &status);

    HWND label = CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_ENDELLIPSIS, 0, 0, 0, 0,
                                 window, NULL, AppInstance, NULL);
    SendMessageA(label, WM_SETFONT, SendMessageA(window, WM_GETFONT, 0, 0), TRUE);
    SIZE extent = WindowTextExtent(label);
    int x = offset.x < 0 ? status.left : offset.x;
    int room = divider.right - x;
    if (extent.cx > room) extent.cx = room > 0 ? room : 0;
    SetWindowPos(label, NULL, x, divider.top - extent.cy / 2 + offset.y, extent.cx, extent.cy, SWP_NOZORDER);
}

static INT_PTR CALLBACK HeaderProgressProc(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        ProgressRecord* record = (ProgressRecord*)lParam;
        SetWindowLongPtrA(window, DWLP_USER, (LONG_PTR)record);
        SetupContext* context = record->context;
        RECT before, after;
        GetClientRect(window, &before);

        // Stand where the wizard stood, the divider line where its divider was.
        const RECT* place = &context->wizardRect;
        MoveWindow(window, place->left, place->top, place->right - place->left, place->bottom - place->top, TRUE);
        const RECT* divider = &context->dividerRect;
        MoveWindow(GetDlgItem(window, IDC_HEADER_PROGRESS_DIVIDER), divider->left, divider->top,
                   divider->right - divider->left, divider->bottom - divider->top, TRUE);
        GetClientRect(window, &after);
        WidenControl(window, IDC_HEADER_PROGRESS_BAR, after.right - before.right);
        WidenControl(window, IDC_HEADER_PROGRESS_TEXT, after.right - before.right);

        char* title = GetExpandedScriptValue(context->script, ProgressSection, "Title");
        if (title) {
            SetWindowTextA(window, title);
            GlobalFree(title);
        } else {
            char setupTitle[256];
            LoadResString(IDS_SETUP_TITLE, setupTitle, sizeof setupTitle, NULL);
            SetWindowTextA(window, setupTitle);
        }
        MakeUncancellable(window);
        SetUpHeaderBand(window, record, context->script);
        PlaceDividerText(window, context->script);
        return TRUE;
    }
    if (message == WM_PAINT) {
        ProgressRecord* record = (ProgressRecord*)GetWindowLongPtrA(window, DWLP_USER);
        PageHeader band = { NoColor, 0, NULL, 0, 0 };
        if (record) {
            band.backColor = record->headerBackColor;
            band.lineColor = record->lineColor;
            band.bitmap = record->headerBitmap;
            band.bandHeight = record->headerHeight;
            band.lineHeight = record->lineHeight;
        }
        PaintHeaderPage(window, &band);
        return TRUE;
    }
    return FALSE;
}

HWND CreateHeaderProgressWindow(HWND owner, ProgressRecord* record)
{
    record->headerBackColor = 0xFFFFFFFF;
    return CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_PROGRESS_HEADER), owner, HeaderProgressProc,
                              (LPARAM)record);
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

static HWND StatusText(ProgressRecord* record)
{
    if (record->textWindow != record->window) {
        record->statusText = GetDlgItem(record->window, record->statusTextId);
        record->textWindow = record->window;
    }
    return record->statusText;
}

// With its redraw off a control takes new texts or positions without painting them through X
// (the bar repaints itself at once on every new position); the next flush paints what it holds.
static void HoldControl(HWND control, BOOL* held)
{
    if (*held) return;
    SendMessageA(control, WM_SETREDRAW, FALSE, 0);
    *held = TRUE;
}

static void ReleaseControl(HWND control, BOOL* held)
{
    if (!*held) return;
    SendMessageA(control, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(control, NULL, TRUE);
    UpdateWindow(control);
    *held = FALSE;
}

void FlushProgress(ProgressRecord* record)
{
    if (!record->window) return;
    ReleaseControl(StatusText(record), &record->textHeld);
    ReleaseControl(GetDlgItem(record->window, record->progressBarId), &record->barHeld);
    PumpProgressWindow(record->window);
    record->lastPump = GetTickCount();
}

void PaceProgress(ProgressRecord* record)
{
    if (record->window && GetTickCount() - record->lastPump >= ProgressPumpInterval) FlushProgress(record);
}

void ShowProgressText(ProgressRecord* record, const char* text)
{
    if (!record->window) return;
    HoldControl(StatusText(record), &record->textHeld);
    SetWindowTextA(StatusText(record), text);
    PaceProgress(record);
}

void ShowProgressStep(ProgressRecord* record, const char* format, const char* name)
{
    if (!record->window) return;
    char text[256];
    FormatText(text, sizeof text, format, name);
    ShowProgressText(record, text);
}

void AdvanceProgress(DWORD units, void* context)
{
    ProgressRecord* record = (ProgressRecord*)context;
    record->done += units;
    if (record->done > record->total) record->done = record->total;
    // Most blocks leave the percentage as it is; the division waits for the one that moves it.
    if (record->done >= record->nextPercentageAt || !record->total) {
        // Rounded as MulDiv rounds, in 128 bits so that no size can overflow; a total of 0 gives
        // MulDiv's -1, whose low byte 255 shows a full bar.
        BYTE percentage = 255;
        unsigned __int128 total = record->total;
        if (total) {
            percentage = (BYTE)((100 * (unsigned __int128)record->done + total / 2) / total);
            // The least done that rounds to the next percentage: 100 * done + total / 2 reaches
            // (percentage + 1) * total.
            unsigned __int128 reach = (percentage + 1) * total - total / 2;
            record->nextPercentageAt = percentage >= 100 ? ~0ull : (ULONGLONG)((reach + 99) / 100);
        }
        if (percentage != record->lastPercentage) {
            record->lastPercentage = percentage;
            if (record->window) {
                HWND bar = GetDlgItem(record->window, record->progressBarId);
                HoldControl(bar, &record->barHeld);
                SendMessageA(bar, PBM_SETPOS, percentage, 0);
            }
        }
    }
    PaceProgress(record);
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
