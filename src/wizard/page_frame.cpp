#include "wizard/page_frame.h"
#include "wizard/page_protocol.h"
#include "controls/rich_text.h"
#include "wizard/script_values.h"
#include "core/setup_context.h"
#include "controls/window_helpers.h"
#include "wizard/wizard_state.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include <richedit.h>
#include <limits.h>

static int ScreenDpi()
{
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpi;
}

int ScaleLineHeight(const char* value, int dpi)
{
    // The value as a fraction numerator / denominator, to six decimals.
    unsigned long long numerator = 0, denominator = 1;
    const char* p = value;
    for (int digits = 0; *p >= '0' && *p <= '9'; p++)
        if (++digits <= 9) numerator = numerator * 10 + (unsigned)(*p - '0');
    if (*p == '.')
        for (p++; *p >= '0' && *p <= '9' && denominator < 1000000; p++) {
            numerator = numerator * 10 + (unsigned)(*p - '0');
            denominator *= 10;
        }
    if (dpi < 0) dpi = 0;
    unsigned long long scaledTwice = 2 * numerator * (unsigned)dpi;
    unsigned long long unit = denominator * 96;
    unsigned long long height = (scaledTwice + unit) / (2 * unit);
    return height > INT_MAX ? INT_MAX : (int)height;
}

void LoadPageHeader(WizardState* state, PageHeader* header, const char* section)
{
    char* script = state->context->script;
    header->lineHeight = 0;
    header->lineColor = 0;

    char file[MAX_PATH];
    if (!GetScriptValue(script, section, "headerimage", "", file, sizeof file)) return;
    header->bitmap = (HBITMAP)LoadImageA(NULL, file, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!header->bitmap) return;

    DWORD number;
    if (ReadScriptNumber(script, section, "HeaderBackColor", &number)) header->backColor = number;

    char value[256];
    if (GetScriptValue(script, "Setup", "headerlineheight", "", value, sizeof value)) {
        header->lineHeight = ScaleLineHeight(value, ScreenDpi());
        if (ReadScriptNumber(script, "Setup", "headerlinecolor", &number)) header->lineColor = number;
        else header->lineHeight = 0;
    }
}

void LayOutPageHeader(HWND page, WizardState* state, const char* section, PageHeader* header,
                      const HeaderMoves* moves, RECT* finalRect)
{
    HWND sheet = GetParent(page);
    RECT pageRect;
    RectInParent(page, &pageRect);
    POINT offset = { pageRect.left, pageRect.top };

    // The page grows to cover the sheet from its top-left corner; its controls stay where
    // they are on the screen.
    MoveChildrenBy(page, offset.x, offset.y);
    RECT sheetClient;
    GetClientRect(sheet, &sheetClient);
    MoveWindow(page, 0, 0, sheetClient.right, pageRect.bottom, TRUE);

    BITMAP bitmap;
    ZeroMemory(&bitmap, sizeof bitmap);
    GetObjectA(header->bitmap, sizeof bitmap, &bitmap);
    header->bandHeight = header->lineHeight + bitmap.bmHeight;

    RECT client;
    GetClientRect(page, &client);
    CreateWindowExA(WS_EX_STATICEDGE | WS_EX_NOPARENTNOTIFY, "Static", "", WS_CHILD | WS_VISIBLE | SS_SUNKEN, 0,
                    header->bandHeight, client.right, 2, page, NULL, AppInstance, NULL);

    int shift = bitmap.bmHeight + 2;
    for (int i = 0; i < moves->movedCount; i++) MoveWindowBy(GetDlgItem(page, moves->movedIds[i]), 0, shift);
    for (int i = 0; i < moves->pushedCount; i++) PushTopEdgeDown(GetDlgItem(page, moves->pushedIds[i]), shift);

    char* script = state->context->script;
    char value[256];
    DWORD left = 0, top = 0, right = 0, bottom = 0;
    GetScriptValue(script, section, "HeaderRTFMargins", "", value, sizeof value);
    ParseFourNumbers(value, &left, &top, &right, &bottom);
    char file[MAX_PATH];
    if (GetScriptValue(script, section, "HeaderRTF", "", file, sizeof file)) {
        HWND richText = CreateRichTextControl(
            &state->context->richEditModule, file, offset.x + (int)left, header->lineHeight + (int)top,
            client.right - bitmap.bmWidth - offset.x - (int)left - (int)right,
            header->bandHeight - header->lineHeight - (int)top - (int)bottom, page);
        if (richText && header->backColor != NoColor)
            SendMessageA(richText, EM_SETBKGNDCOLOR, 0, header->backColor);
    }
    StoreFinalRect(page, finalRect);
}

void PlaceDividerLabel(HWND page, WizardState* state, const char* section, int anchorX, DividerLabel* label)
{
    HWND sheet = GetParent(page);
    if (!label->window) {
        char* script = state->context->script;
        char text[256];
        if (GetScriptValue(script, section, "DividerText", "", text, sizeof text)) {
            label->window = CreateWindowExA(0, "Static", text, WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0, sheet, NULL,
                                            AppInstance, NULL);
            if (label->window) {
                HFONT font = (HFONT)SendMessageA(sheet, WM_GETFONT, 0, 0);
                SendMessageA(label->window, WM_SETFONT, (WPARAM)font, TRUE);
                HDC dc = GetDC(label->window);
                HGDIOBJ oldFont = font ? SelectObject(dc, font) : NULL;
                SIZE size = { 0, 0 };
                GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
                if (oldFont) SelectObject(dc, oldFont);
                ReleaseDC(label->window, dc);
                SetWindowPos(label->window, NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        char value[256];
        label->offset.x = 0;
        label->offset.y = 0;
        GetScriptValue(script, section, "DividerTextOffset", "", value, sizeof value);
        ParsePoint(value, &label->offset);
        if (label->offset.x < 0) label->offset.x = anchorX;
        if (!label->window) return;
    }
    RECT rect;
    GetWindowRect(label->window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    MoveWindow(label->window, label->offset.x, state->dividerTop - height / 2 + label->offset.y, width, height, TRUE);
    ShowWindow(label->window, SW_SHOW);
}

void HideDividerLabel(DividerLabel* label)
{
    if (label->window) ShowWindow(label->window, SW_HIDE);
}

static bool IsClass(HWND window, const char* className)
{
    char name[64];
    if (!GetClassNameA(window, name, sizeof name)) return false;
    return lstrcmpiA(name, className) == 0;
}

// The lowest "STATIC" child of the sheet; the first of equal tops wins.
static HWND FindLowestStatic(HWND sheet, RECT* rect)
{
    HWND found = NULL;
    for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsClass(child, "STATIC")) continue;
        RECT childRect;
        RectInParent(child, &childRect);
        if (!found || childRect.top > rect->top) {
            found = child;
            *rect = childRect;
        }
    }
    return found;
}

void FindSheetDivider(WizardState* state, HWND page)
{
    if (state->dividerTop) return;
    RECT rect;
    if (!FindLowestStatic(GetParent(page), &rect)) return;
    state->dividerTop = rect.top;
    state->context->dividerRect = rect;
}

void WidenSheet(HWND sheet, WizardState* state, int extraWidth, bool fullWidthDivider)
{
    RECT window;
    GetWindowRect(sheet, &window);
    SetWindowPos(sheet, NULL, 0, 0, window.right - window.left + extraWidth, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    state->dividerTop = 0;
    for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsClass(child, "BUTTON")) MoveWindowBy(child, extraWidth, 0);

    RECT rect;
    HWND divider = FindLowestStatic(sheet, &rect);
    if (divider) {
        state->dividerTop = rect.top;
        rect.right += extraWidth;
        if (fullWidthDivider) {
            RECT client;
            GetClientRect(sheet, &client);
            rect.left = client.left;
            rect.right = client.right;
        }
        MoveWindow(divider, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
        state->context->dividerRect = rect;
    }
    CenterWindow(sheet);
    // A button moved into the newly exposed strip can be painted before the sheet erases
    // that strip; repaint the sheet and all its children in order.
    RedrawWindow(sheet, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void GrowControl(HWND page, WizardState* state, int controlId, int initialWidth)
{
    HWND control = GetDlgItem(page, controlId);
    RECT rect;
    RectInParent(control, &rect);
    MoveWindow(control, rect.left, rect.top, rect.right - rect.left + state->widenedPageWidth - initialWidth,
               rect.bottom - rect.top, TRUE);
}

void SetPageWidth(HWND page, int width)
{
    RECT rect;
    RectInParent(page, &rect);
    MoveWindow(page, rect.left, rect.top, width, rect.bottom - rect.top, TRUE);
}

int PageWidth(HWND page)
{
    RECT rect;
    GetWindowRect(page, &rect);
    return rect.right - rect.left;
}
