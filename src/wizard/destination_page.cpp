#include "wizard/destination_page.h"
#include "wizard/page_frame.h"
#include "wizard/page_protocol.h"
#include "wizard/setup_context.h"
#include "wizard/window_helpers.h"
#include "wizard/wizard_state.h"
#include "controls/painting.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/script.h"
#include "resources/resource.h"
#include <commctrl.h>

static void SetUpCombinedPage(HWND page, WizardState* state)
{
    SetupContext* context = state->context;
    char productName[256];
    if (!GetScriptValue(context->script, "Setup", "ProductName", "", productName, sizeof productName))
        LoadProductName(productName, sizeof productName, NULL);
    FormatControlText(page, IDC_DEST_FOR_LABEL, productName);
    FormatControlText(page, IDC_DEST_PATH_LABEL, productName);
    SetDlgItemTextA(page, IDC_DEST_PATH, context->installDir);
    SendDlgItemMessageA(page, IDC_DEST_PATH, EM_LIMITTEXT, MAX_PATH - 1, 0);
    LoadPageHeader(state, &state->destination.header, "Destination");
    state->destination.initialWidth = PageWidth(page);
}

static void LayOutCombinedPage(HWND page, WizardState* state)
{
    FramedPage* frame = &state->destination;
    if (state->widenedPageWidth) {
        SetPageWidth(page, state->widenedPageWidth);
        GrowControl(page, state, IDC_DEST_PATH, frame->initialWidth);
    }
    RECT rect;
    RectInParent(page, &rect);
    frame->leftInSheet = rect.left;
    if (frame->header.bitmap) {
        static const int moved[] = { IDC_DEST_FOR_LABEL, IDC_DEST_ALL_USERS, IDC_DEST_ONLY_ME, IDC_DEST_EXAMPLES };
        HeaderMoves moves = { moved, 4, NULL, 0 };
        LayOutPageHeader(page, state, "Destination", &frame->header, &moves, &frame->finalRect);
    } else if (state->widenedPageWidth) {
        StoreFinalRect(page, &frame->finalRect);
    }
    state->destinationLaidOut = true;
}

static void ActivateCombinedPage(HWND page, WizardState* state)
{
    if (!state->destinationLaidOut) LayOutCombinedPage(page, state);
    MoveToFinalRect(page, &state->destination.finalRect);
    PlaceDividerLabel(page, state, "Destination", state->destination.leftInSheet, &state->destination.label);
    SetWizardButtons(page, PSWIZB_BACK | PSWIZB_NEXT);
    SetPageResult(page, 0);
}

static void LeaveDestinationPage(HWND page, WizardState* state, int pathId)
{
    GetDlgItemTextA(page, pathId, state->context->installDir, sizeof state->context->installDir);
    SetPageResult(page, 0);
}

INT_PTR CALLBACK CombinedDestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetUpCombinedPage(page, (WizardState*)KeepPageParameter(page, lParam));
        return TRUE;
    case WM_PAINT:
        PaintHeaderPage(page, &GetWizardState(page)->destination.header);
        return TRUE;
    case WM_NOTIFY: {
        WizardState* state = GetWizardState(page);
        switch (((NMHDR*)lParam)->code) {
        case PSN_SETACTIVE:
            ActivateCombinedPage(page, state);
            return TRUE;
        case PSN_KILLACTIVE:
            HideDividerLabel(&state->destination.label);
            SetPageResult(page, FALSE);
            return TRUE;
        case PSN_WIZNEXT:
        case PSN_WIZBACK:
            LeaveDestinationPage(page, state, IDC_DEST_PATH);
            CopyText("all", state->context->fileTypes, sizeof state->context->fileTypes);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}

INT_PTR CALLBACK ClassicDestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        WizardState* state = (WizardState*)KeepPageParameter(page, lParam);
        char productName[256];
        LoadProductName(productName, sizeof productName, NULL);
        FormatControlText(page, IDC_CLASSIC_INTRO, productName);
        FormatControlText(page, IDC_CLASSIC_CANCEL_TEXT, productName);
        SetDlgItemTextA(page, IDC_CLASSIC_PATH, state->context->installDir);
        SendDlgItemMessageA(page, IDC_CLASSIC_PATH, EM_LIMITTEXT, MAX_PATH - 1, 0);
        return TRUE;
    }
    case WM_NOTIFY:
        switch (((NMHDR*)lParam)->code) {
        case PSN_SETACTIVE:
            SetWizardButtons(page, PSWIZB_BACK | PSWIZB_NEXT);
            SetPageResult(page, 0);
            return TRUE;
        case PSN_WIZNEXT:
        case PSN_WIZBACK:
            LeaveDestinationPage(page, GetWizardState(page), IDC_CLASSIC_PATH);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
