#include "wizard/agreement_page.h"
#include "wizard/page_frame.h"
#include "wizard/page_protocol.h"
#include "core/setup_context.h"
#include "controls/window_helpers.h"
#include "wizard/wizard_state.h"
#include "controls/painting.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include "install/file_ops.h"
#include "resources/resource.h"
#include <commctrl.h>

// Without a widened Welcome page the agreement page gets this width and the sheet grows.
const int AgreementPageWidth = 460;
const int AgreementSheetGrowth = 160;

void LoadTextIntoControl(HWND dialog, int controlId, const char* path, ErrorStatus* status)
{
    if (status->code) return;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        SetStatus(status, GetLastError(), 0);
        return;
    }
    DWORD size = GetFileSize(file, NULL);
    if (size == INVALID_FILE_SIZE) {
        SetStatus(status, GetLastError(), 0);
    } else if (size) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size + 1);
        char* text = memory ? (char*)GlobalLock(memory) : NULL;
        DWORD read = 0;
        if (!text || !ReadFile(file, text, size, &read, NULL)) {
            SetStatus(status, GetLastError(), 0);
        } else {
            text[read] = 0;
            SetDlgItemTextA(dialog, controlId, text);
        }
        if (text) GlobalUnlock(memory);
        if (memory) GlobalFree(memory);
    }
    CloseHandle(file);
}

static void GetAgreementPath(char* path, unsigned size, ErrorStatus* status)
{
    LoadFormattedText(IDS_LICENSE_PATH, path, size, status, SetupFolder);
}

static void SetUpAgreementPage(HWND page, WizardState* state)
{
    LoadPageHeader(state, &state->license.header, "License");
    state->license.initialWidth = PageWidth(page);

    ErrorStatus status = { 0, "" };
    char path[MAX_PATH];
    GetAgreementPath(path, sizeof path, &status);
    bool present = !status.code && FileExists(path, &status);
    if (present) LoadTextIntoControl(page, IDC_AGREEMENT_TEXT, path, &status);
    state->agreementTextLoaded = present && !status.code;
    ShowStatus(page, &status);
}

static void UpdateAgreementButtons(HWND page, WizardState* state)
{
    bool accepted = IsDlgButtonChecked(page, IDC_AGREEMENT_ACCEPT) == BST_CHECKED;
    DWORD buttons = state->agreementHasPrevious ? PSWIZB_BACK : 0;
    if (state->agreementHasNext) buttons |= accepted ? PSWIZB_NEXT : 0;
    else buttons |= accepted ? PSWIZB_FINISH : PSWIZB_DISABLEDFINISH;
    SetWizardButtons(page, buttons);
}

static void LayOutAgreementPage(HWND page, WizardState* state)
{
    FramedPage* frame = &state->license;
    HWND sheet = GetParent(page);
    if (state->widenedPageWidth) {
        SetPageWidth(page, state->widenedPageWidth);
    } else {
        // At a high resolution the acceptance box alone is wider than 460 pixels.
        RECT box;
        RectInParent(GetDlgItem(page, IDC_AGREEMENT_ACCEPT), &box);
        SetPageWidth(page, box.left + box.right > AgreementPageWidth ? box.left + box.right : AgreementPageWidth);
        WidenSheet(sheet, state, FitSheetGrowth(sheet, AgreementSheetGrowth), state->extendBackground);
        state->sheetWidenedByAgreement = true;
    }
    RECT rect;
    RectInParent(page, &rect);
    frame->leftInSheet = rect.left;
    if (frame->header.bitmap) {
        static const int pushed[] = { IDC_AGREEMENT_TEXT };
        HeaderMoves moves = { NULL, 0, pushed, 1 };
        LayOutPageHeader(page, state, "License", &frame->header, &moves, &frame->finalRect);
    } else {
        StoreFinalRect(page, &frame->finalRect);
    }
    // The text box spans the page as it finally stands, whatever the page grew by.
    FitControlToPage(page, IDC_AGREEMENT_TEXT);
    FindSheetDivider(state, page);
    state->agreementLaidOut = true;
}

static void ActivateAgreementPage(HWND page, WizardState* state)
{
    HWND sheet = GetParent(page);
    if (!state->agreementLaidOut) LayOutAgreementPage(page, state);
    MoveToFinalRect(page, &state->license.finalRect);

    char nextText[256];
    if (GetScriptValue(state->context->script, "License", "NextText", "", nextText, sizeof nextText)) {
        GetDlgItemTextA(sheet, IDC_SHEET_NEXT, state->savedNextCaption, sizeof state->savedNextCaption);
        SetDlgItemTextA(sheet, IDC_SHEET_NEXT, nextText);
    }
    PlaceDividerLabel(page, state, "License", state->license.leftInSheet, &state->license.label);
    CenterWindow(sheet);
    UpdateAgreementButtons(page, state);
    SetPageResult(page, 0);
}

static void LeaveAgreementPage(HWND page, WizardState* state)
{
    if (state->savedNextCaption[0]) {
        SetDlgItemTextA(GetParent(page), IDC_SHEET_NEXT, state->savedNextCaption);
        state->savedNextCaption[0] = 0;
    }
    HideDividerLabel(&state->license.label);
    SetPageResult(page, FALSE);
}

INT_PTR CALLBACK AgreementPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetUpAgreementPage(page, (WizardState*)KeepPageParameter(page, lParam));
        return TRUE;
    case WM_PAINT:
        PaintHeaderPage(page, &GetWizardState(page)->license.header);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_AGREEMENT_ACCEPT) {
            UpdateAgreementButtons(page, GetWizardState(page));
            return TRUE;
        }
        break;
    case WM_NOTIFY:
        switch (((NMHDR*)lParam)->code) {
        case PSN_SETACTIVE:
            ActivateAgreementPage(page, GetWizardState(page));
            return TRUE;
        case PSN_KILLACTIVE:
            LeaveAgreementPage(page, GetWizardState(page));
            return TRUE;
        case PSN_WIZNEXT:
        case PSN_WIZFINISH: {
            // A box checked under an empty text accepts nothing: the user never saw the terms.
            WizardState* state = GetWizardState(page);
            state->agreementAccepted =
                state->agreementTextLoaded && IsDlgButtonChecked(page, IDC_AGREEMENT_ACCEPT) == BST_CHECKED;
            SetPageResult(page, 0);
            return TRUE;
        }
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK AgreementDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        CenterWindow(dialog);
        char productName[256];
        LoadProductName(productName, sizeof productName, NULL);
        FormatControlText(dialog, IDC_AGREEMENT_QUESTION, productName);
        ErrorStatus status = { 0, "" };
        LoadTextIntoControl(dialog, IDC_AGREEMENT_DIALOG_TEXT, (const char*)lParam, &status);
        if (status.code) {
            ShowStatus(dialog, &status);
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        SetFocus(GetDlgItem(dialog, IDC_AGREEMENT_DIALOG_TEXT));
        return FALSE;
    }
    case WM_COMMAND:
        // Only the two buttons end the dialog: Escape and the close box send IDCANCEL.
        if (LOWORD(wParam) == IDYES || LOWORD(wParam) == IDNO) EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

AgreementAnswer RunAgreementDialog(HWND welcomePage, WizardState* state)
{
    ErrorStatus status = { 0, "" };
    char path[MAX_PATH];
    GetAgreementPath(path, sizeof path, &status);
    if (status.code || !FileExists(path, &status)) {
        ShowStatus(welcomePage, &status);
        return AgreementSkipped;
    }
    INT_PTR result = ShowDialogBox(IDD_AGREEMENT_DIALOG, welcomePage, AgreementDialogProc, (LPARAM)path, &status);
    if (result == IDYES) {
        state->agreementAccepted = true;
        return AgreementAccepted;
    }
    if (result == IDNO) return AgreementDeclined;
    ShowStatus(welcomePage, &status);
    return AgreementSkipped;
}
