#include "wizard/program_folder_page.h"
#include "wizard/page_frame.h"
#include "wizard/page_protocol.h"
#include "wizard/setup_context.h"
#include "wizard/window_helpers.h"
#include "wizard/wizard_state.h"
#include "controls/painting.h"
#include "core/error_status.h"
#include "resources/resource.h"
#include <commctrl.h>

static void SetUpProgramFolderPage(HWND page, WizardState* state)
{
    SetDlgItemTextA(page, IDC_FOLDER_NAME, state->context->programFolder);
    SendDlgItemMessageA(page, IDC_FOLDER_NAME, EM_LIMITTEXT, 255, 0);
    LoadPageHeader(state, &state->programFolder.header, "ProgFolder");
    state->programFolder.initialWidth = PageWidth(page);
}

// With a header band the icon and the introduction give way: the controls move up into
// their place before the band pushes them down again.
static void LayOutProgramFolderPage(HWND page, WizardState* state)
{
    FramedPage* frame = &state->programFolder;
    HWND icon = GetDlgItem(page, IDC_FOLDER_ICON);
    ShowWindow(icon, SW_HIDE);
    ShowWindow(GetDlgItem(page, IDC_FOLDER_INTRO), SW_HIDE);
    RECT iconRect, labelRect;
    RectInParent(icon, &iconRect);
    RectInParent(GetDlgItem(page, IDC_FOLDER_NAME_LABEL), &labelRect);
    int dx = iconRect.left - labelRect.left, dy = iconRect.top - labelRect.top;
    MoveWindowBy(GetDlgItem(page, IDC_FOLDER_NAME_LABEL), dx, dy);
    MoveWindowBy(GetDlgItem(page, IDC_FOLDER_LIST_LABEL), dx, dy);

    HWND edit = GetDlgItem(page, IDC_FOLDER_NAME);
    RECT rect;
    RectInParent(edit, &rect);
    MoveWindow(edit, rect.left + dx, rect.top + dy, rect.right - rect.left - dx, rect.bottom - rect.top, TRUE);
    HWND list = GetDlgItem(page, IDC_FOLDER_LIST);
    RectInParent(list, &rect);
    MoveWindow(list, rect.left + dx, rect.top + dy, rect.right - rect.left - dx, rect.bottom - rect.top - dy, TRUE);

    if (state->widenedPageWidth) {
        SetPageWidth(page, state->widenedPageWidth);
        GrowControl(page, state, IDC_FOLDER_NAME, frame->initialWidth);
        GrowControl(page, state, IDC_FOLDER_LIST, frame->initialWidth);
    }
    RectInParent(page, &rect);
    frame->leftInSheet = rect.left;
    static const int moved[] = { IDC_FOLDER_NAME_LABEL, IDC_FOLDER_NAME, IDC_FOLDER_LIST_LABEL };
    static const int pushed[] = { IDC_FOLDER_LIST };
    HeaderMoves moves = { moved, 3, pushed, 1 };
    LayOutPageHeader(page, state, "ProgFolder", &frame->header, &moves, &frame->finalRect);
    state->programFolderLaidOut = true;
}

static void ActivateProgramFolderPage(HWND page, WizardState* state)
{
    FramedPage* frame = &state->programFolder;
    if (frame->header.bitmap) {
        if (!state->programFolderLaidOut) LayOutProgramFolderPage(page, state);
        MoveToFinalRect(page, &frame->finalRect);
        PlaceDividerLabel(page, state, "ProgFolder", frame->leftInSheet, &frame->label);
    }
    SetWizardButtons(page, PSWIZB_BACK | (state->combinedDestination ? PSWIZB_FINISH : PSWIZB_NEXT));
    SetPageResult(page, 0);
}

// Leaving forwards, by Next or by Finish on the last page: an empty name keeps the page.
static void LeaveProgramFolderPage(HWND page, WizardState* state)
{
    SetPageResult(page, 0);
    if (!SendDlgItemMessageA(page, IDC_FOLDER_NAME, WM_GETTEXTLENGTH, 0, 0)) {
        MessageBoxById(page, IDS_SELECT_PROGRAM_FOLDER, IDS_SETUP_TITLE, MB_ICONERROR);
        SetPageResult(page, -1);
        return;
    }
    GetDlgItemTextA(page, IDC_FOLDER_NAME, state->context->programFolder, sizeof state->context->programFolder);
}

INT_PTR CALLBACK ProgramFolderPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetUpProgramFolderPage(page, (WizardState*)KeepPageParameter(page, lParam));
        return TRUE;
    case WM_PAINT:
        PaintHeaderPage(page, &GetWizardState(page)->programFolder.header);
        return TRUE;
    case WM_NOTIFY: {
        WizardState* state = GetWizardState(page);
        switch (((NMHDR*)lParam)->code) {
        case PSN_SETACTIVE:
            ActivateProgramFolderPage(page, state);
            return TRUE;
        case PSN_KILLACTIVE:
            HideDividerLabel(&state->programFolder.label);
            SetPageResult(page, FALSE);
            return TRUE;
        case PSN_WIZNEXT:
            LeaveProgramFolderPage(page, state);
            return TRUE;
        case PSN_WIZFINISH:
            if (!state->combinedDestination) break;
            LeaveProgramFolderPage(page, state);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}
