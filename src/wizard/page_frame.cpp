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
    LoadHeaderStrip(script, header);
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
    RECT client;
    GetClientRect(page, &client);
    // However high the script makes the strip, the band and its etched line stay on the page.
    int stripRoom = client.bottom - bitmap.bmHeight - 2;
    if (header->lineHeight > stripRoom) header->lineHeight = stripRoom > 0 ? stripRoom : 0;
    header->bandHeight = header->lineHeight + bitmap.bmHeight;

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
        RECT place = HeaderTextRect(offset.x, header->lineHeight, client.right - bitmap.bmWidth, header->bandHeight,
                                    left, top, right, bottom);
        HWND richText = CreateRichTextControl(&state->context->richEditModule, file, place.left, place.top,
                                              place.right - place.left, place.bottom - place.top, page);
        if (richText && header->backColor != NoColor)
            SendMessageA(richText, EM_SETBKGNDCOLOR, 0, header->backColor);
    }
    StoreFinalRect(page, finalRect);
}

static bool IsClass(HWND window, const char* className)
{
    char name[64];
    if (!GetClassNameA(window, name, sizeof name)) return false;
    return lstrcmpiA(name, className) == 0;
}

// The left edge of the sheet's leftmost visible button; the client's right edge without one.
static int ButtonsLeft(HWND sheet)
{
    RECT client;
    GetClientRect(sheet, &client);
    int left = client.right;
    for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsClass(child, "BUTTON") || !(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT rect;
        RectInParent(child, &rect);
        if (rect.left < left) left = rect.left;
    }
    return left;
}

void PlaceDividerLabel(HWND page, WizardState* state, const char* section, int anchorX, DividerLabel* label)
{
    HWND sheet = GetParent(page);
    if (!label->window) {
        char* script = state->context->script;
        char text[256];
        if (GetScriptValue(script, section, "DividerText", "", text, sizeof text)) {
            label->window = CreateWindowExA(0, "Static", text, WS_CHILD | SS_NOPREFIX | SS_ENDELLIPSIS, 0, 0, 0, 0,
                                            sheet, NULL, AppInstance, NULL);
            if (label->window)
                SendMessageA(label->window, WM_SETFONT, SendMessageA(sheet, WM_GETFONT, 0, 0), TRUE);
        }
        char value[256];
        label->offset.x = 0;
        label->offset.y = 0;
        GetScriptValue(script, section, "DividerTextOffset", "", value, sizeof value);
        ParsePoint(value, &label->offset);
        if (label->offset.x < 0) label->offset.x = anchorX;
        if (!label->window) return;
    }
    // As wide as its text, but never over the buttons: a longer text ends with an ellipsis.
    SIZE size = WindowTextExtent(label->window);
    int width = size.cx, height = size.cy;
    int room = ButtonsLeft(sheet) - label->offset.x;
    if (width > room) width = room > 0 ? room : 0;
    MoveWindow(label->window, label->offset.x, state->dividerTop - height / 2 + label->offset.y, width, height, TRUE);
    ShowWindow(label->window, SW_SHOW);
}

void HideDividerLabel(DividerLabel* label)
{
    if (label->window) ShowWindow(label->window, SW_HIDE);
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

int FitSheetGrowth(HWND sheet, int extraWidth)
{
    RECT work, window;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return extraWidth;
    GetWindowRect(sheet, &window);
    int room = (work.right - work.left) - (window.right - window.left);
    if (extraWidth > room) extraWidth = room;
    return extraWidth > 0 ? extraWidth : 0;
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

void FitControlToPage(HWND page, int controlId)
{
    HWND control = GetDlgItem(page, controlId);
    RECT rect, client;
    RectInParent(control, &rect);
    GetClientRect(page, &client);
    int right = client.right - rect.left;
    if (right < rect.left) right = rect.left;
    MoveWindow(control, rect.left, rect.top, right - rect.left, rect.bottom - rect.top, TRUE);
}

void WidenLabelToText(HWND page, int controlId, int right)
{
    HWND label = GetDlgItem(page, controlId);
    RECT rect;
    RectInParent(label, &rect);
    int width = WindowTextExtent(label).cx;
    if (width <= rect.right - rect.left) return;
    if (width > right - rect.left) {
        width = right - rect.left;
        SetWindowLongA(label, GWL_STYLE, GetWindowLongA(label, GWL_STYLE) | SS_ENDELLIPSIS);
    }
    if (width > rect.right - rect.left)
        MoveWindow(label, rect.left, rect.top, width, rect.bottom - rect.top, TRUE);
}

void KeepControlInPage(HWND page, HWND control, int margin)
{
    RECT rect, client;
    RectInParent(control, &rect);
    GetClientRect(page, &client);
    int right = client.right - margin;
    if (rect.right <= right) return;
    if (rect.left > right) rect.left = right > 0 ? right : 0;
    if (right < rect.left) right = rect.left;
    MoveWindow(control, rect.left, rect.top, right - rect.left, rect.bottom - rect.top, TRUE);
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
