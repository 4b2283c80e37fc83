#include "wizard/welcome_pages.h"
#include "wizard/agreement_page.h"
#include "wizard/page_frame.h"
#include "wizard/page_protocol.h"
#include "controls/rich_text.h"
#include "wizard/script_values.h"
#include "core/setup_context.h"
#include "controls/window_helpers.h"
#include "wizard/wizard_state.h"
#include "controls/painting.h"
#include "core/error_status.h"
#include "core/script.h"
#include "resources/resource.h"
#include "wizard/running_programs.h"
#include <commctrl.h>
#include <richedit.h>

void WarnIfBrowserRunning(HWND owner)
{
    if (!IsProgramRunning(IDS_BROWSER_PROGRAM)) return;
    char name[256];
    LoadResString(IDS_BROWSER_NAME, name, sizeof name, NULL);
    MessageBoxById(owner, IDS_PROGRAM_RUNNING, IDS_SETUP_TITLE, MB_ICONWARNING, name, name);
}

static void FormatWelcomeTexts(HWND page, int firstId, int lastId)
{
    char productName[256];
    LoadProductName(productName, sizeof productName, NULL);
    for (int id = firstId; id <= lastId; id++) FormatControlText(page, id, productName);
}

static void CentreSheetOnce(HWND page, bool* sheetCentred)
{
    if (*sheetCentred) return;
    CenterWindow(GetParent(page));
    *sheetCentred = true;
}

static void SetUpInstallWelcome(HWND page, WizardState* state)
{
    char* script = state->context->script;
    FormatWelcomeTexts(page, IDC_WELCOME_HEADING, IDC_WELCOME_EXIT_TEXT);

    DWORD number;
    if (ReadScriptNumber(script, "Welcome", "BackColor", &number)) state->welcomeBackColor = number;

    HWND richText = NULL;
    char file[MAX_PATH];
    if (GetScriptValue(script, "Welcome", "RTF", "", file, sizeof file)) {
        RECT heading, client;
        RectInParent(GetDlgItem(page, IDC_WELCOME_HEADING), &heading);
        GetClientRect(page, &client);
        richText = CreateRichTextControl(&state->context->richEditModule, file, heading.left, heading.top,
                                         heading.right - heading.left, client.bottom - heading.top, page);
        if (richText) {
            if (state->welcomeBackColor != NoColor)
                SendMessageA(richText, EM_SETBKGNDCOLOR, 0, state->welcomeBackColor);
            for (int id = IDC_WELCOME_HEADING; id <= IDC_WELCOME_EXIT_TEXT; id++)
                ShowWindow(GetDlgItem(page, id), SW_HIDE);
        }
    }

    if (GetScriptValue(script, "Welcome", "image", "", file, sizeof file)) {
        state->welcomeImage =
            (HBITMAP)LoadImageA(NULL, file, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        if (state->welcomeImage) {
            HWND icon = GetDlgItem(page, IDC_WELCOME_ICON);
            ShowWindow(icon, SW_HIDE);
            BITMAP bitmap;
            ZeroMemory(&bitmap, sizeof bitmap);
            GetObjectA(state->welcomeImage, sizeof bitmap, &bitmap);
            RECT iconRect;
            RectInParent(icon, &iconRect);
            int difference = bitmap.bmWidth - (iconRect.right - iconRect.left);
            // The texts keep clear of the picture, the rich text or, without it, the three statics.
            if (difference && richText) MoveWindowBy(richText, difference, 0);
            if (difference && !richText)
                for (int id = IDC_WELCOME_HEADING; id <= IDC_WELCOME_EXIT_TEXT; id++)
                    MoveWindowBy(GetDlgItem(page, id), difference, 0);
            if (difference > 0) state->welcomeExtraWidth = difference;
        }
    }

    state->extendBackground = ReadScriptFlag(script, "Welcome", "ExtendBackground", state->extendBackground);
    CentreSheetOnce(page, &state->sheetCentred);
}

// A picture wider than the screen leaves the sheet as wide as the work area; the texts moved
// right of it stop at the page's right margin, or shrink to nothing there.
static void KeepWelcomeTextsInPage(HWND page)
{
    RECT margin = { 0, 0, 7, 0 };
    MapDialogRect(page, &margin);
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(child);
        char name[16];
        bool richText = GetClassNameA(child, name, sizeof name) && !lstrcmpiA(name, "RICHEDIT");
        if (richText || (id >= IDC_WELCOME_HEADING && id <= IDC_WELCOME_EXIT_TEXT))
            KeepControlInPage(page, child, margin.right);
    }
}

static void ActivateInstallWelcome(HWND page, WizardState* state)
{
    HWND sheet = GetParent(page);
    if (state->welcomeExtraWidth) {
        int extraWidth = FitSheetGrowth(sheet, state->welcomeExtraWidth);
        if (extraWidth) {
            state->widenedPageWidth = PageWidth(page) + extraWidth;
            SetPageWidth(page, state->widenedPageWidth);
            WidenSheet(sheet, state, extraWidth, state->extendBackground);
        }
        state->welcomeExtraWidth = 0;
        StoreFinalRect(page, &state->welcomeFinalRect);
    }
    if (state->extendBackground && !state->welcomeExtended) {
        FindSheetDivider(state, page);
        RECT rect;
        RectInParent(page, &rect);
        MoveChildrenBy(page, rect.left, rect.top);
        RECT sheetClient;
        GetClientRect(sheet, &sheetClient);
        MoveWindow(page, 0, 0, sheetClient.right, state->dividerTop, TRUE);
        state->welcomeExtended = true;
        StoreFinalRect(page, &state->welcomeFinalRect);
    }
    MoveToFinalRect(page, &state->welcomeFinalRect);
    KeepWelcomeTextsInPage(page);
    SetWizardButtons(page, PSWIZB_NEXT);
    SetPageResult(page, 0);
}

static void LeaveInstallWelcome(HWND page, WizardState* state)
{
    SetPageResult(page, 0);
    if (state->agreementShown && !state->agreementInWizard && !state->agreementAccepted) {
        if (RunAgreementDialog(page, state) == AgreementDeclined) {
            CancelSheet(page);
            SetPageResult(page, -1);
            return;
        }
    }
    WarnIfBrowserRunning(page);
}

INT_PTR CALLBACK InstallWelcomePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetUpInstallWelcome(page, (WizardState*)KeepPageParameter(page, lParam));
        return TRUE;
    case WM_PAINT: {
        WizardState* state = GetWizardState(page);
        PaintWelcomePage(page, state->welcomeBackColor, state->welcomeImage);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
        // The texts stand on the page's own colour, not in boxes of the dialog colour.
        COLORREF color = GetWizardState(page)->welcomeBackColor;
        if (color == NoColor) break;
        SetBkColor((HDC)wParam, color);
        SetDCBrushColor((HDC)wParam, color);
        return (INT_PTR)GetStockObject(DC_BRUSH);
    }
    case WM_NOTIFY:
        switch (((NMHDR*)lParam)->code) {
        case PSN_SETACTIVE:
            ActivateInstallWelcome(page, GetWizardState(page));
            return TRUE;
        case PSN_WIZNEXT:
            LeaveInstallWelcome(page, GetWizardState(page));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK RemovalWelcomePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        ChoicePageState* state = (ChoicePageState*)KeepPageParameter(page, lParam);
        FormatWelcomeTexts(page, IDC_WELCOME_HEADING, IDC_WELCOME_EXIT_TEXT);
        CentreSheetOnce(page, &state->sheetCentred);
        return TRUE;
    }
    case WM_NOTIFY:
        if (((NMHDR*)lParam)->code == PSN_SETACTIVE) {
            SetWizardButtons(page, PSWIZB_FINISH);
            SetPageResult(page, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK UpdateOrRemovePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        ChoicePageState* state = (ChoicePageState*)KeepPageParameter(page, lParam);
        FormatWelcomeTexts(page, IDC_WELCOME_HEADING, IDC_CHOICE_EXIT_TEXT);
        CentreSheetOnce(page, &state->sheetCentred);
        return TRUE;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDC_CHOICE_UPDATE || LOWORD(wParam) == IDC_CHOICE_REMOVE)) {
            ChoicePageState* state = GetChoicePageState(page);
            if (state->choice) *state->choice = LOWORD(wParam) == IDC_CHOICE_UPDATE ? UpdateChoice : RemoveChoice;
            PressSheetButton(page, PSBTN_FINISH);
            return TRUE;
        }
        break;
    case WM_NOTIFY:
        if (((NMHDR*)lParam)->code == PSN_SETACTIVE) {
            SetWizardButtons(page, PSWIZB_DISABLEDFINISH);
            SetPageResult(page, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
