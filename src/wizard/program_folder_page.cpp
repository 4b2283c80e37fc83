#include "wizard/program_folder_page.h"
#include "wizard/page_frame.h"
#include "wizard/page_protocol.h"
#include "core/setup_context.h"
#include "controls/window_helpers.h"
#include "wizard/wizard_state.h"
#include "controls/painting.h"
#include "core/error_status.h"
#include "core/format.h"
#include "resources/resource.h"
#include <commctrl.h>
#include <shlobj.h>


static bool AllUsersChosen(WizardState* state) { return (state->context->flags & AllUsersFlag) != 0; }

// Adds the sub-folders of the folder to the list; files are left out, and a folder that cannot
// be listed adds nothing.
static void AddSubFolders(HWND list, const char* folder)
{
    char pattern[MAX_PATH];
    size_t length = lstrlenA(folder);
    bool hasBackslash = length && folder[length - 1] == '\\';
    JoinTexts(pattern, sizeof pattern, folder, hasBackslash ? "" : "\\", "*", (const char*)NULL);
    if (length + (hasBackslash ? 1 : 2) >= sizeof pattern) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, "..")) continue;
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Lists the folders of the shared or the user's Start-menu programs folder, by the all-users
// choice that the destination page stored.
static void FillFolderList(HWND page, WizardState* state)
{
    state->listedForAllUsers = AllUsersChosen(state);
    HWND list = GetDlgItem(page, IDC_FOLDER_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);

    ErrorStatus status = { 0, "" };
    IMalloc* allocator = NULL;
    HRESULT result = SHGetMalloc(&allocator);
    if (FAILED(result) || !allocator) {
        SetStatus(&status, (DWORD)result, 0);
        ShowStatus(page, &status);
        return;
    }
    LPITEMIDLIST folder = NULL;
    result = SHGetSpecialFolderLocation(page, state->listedForAllUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS,
                                        &folder);
    if (FAILED(result) || !folder) {
        SetStatus(&status, (DWORD)result, 0);
    } else {
        char path[MAX_PATH];
        if (SHGetPathFromIDListA(folder, path)) AddSubFolders(list, path);
        allocator->Free(folder);
    }
    allocator->Release();
    ShowStatus(page, &status);
}

static void SetUpProgramFolderPage(HWND page, WizardState* state)
{
    SetDlgItemTextA(page, IDC_FOLDER_NAME, state->context->programFolder);
    SendDlgItemMessageA(page, IDC_FOLDER_NAME, EM_LIMITTEXT, 255, 0);
    FillFolderList(page, state);
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
    case WM_SHOWWINDOW: {
        // Back to the destination page and a changed all-users choice: the other folder's list.
        WizardState* state = GetWizardState(page);
        if (wParam && state->listedForAllUsers != AllUsersChosen(state)) FillFolderList(page, state);
        break;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_FOLDER_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
            HWND list = (HWND)lParam;
            LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
            if (selected == LB_ERR) break;
            char name[MAX_PATH];
            if (SendMessageA(list, LB_GETTEXTLEN, selected, 0) >= (LRESULT)sizeof name) break;
            if (SendMessageA(list, LB_GETTEXT, selected, (LPARAM)name) == LB_ERR) break;
            SetDlgItemTextA(page, IDC_FOLDER_NAME, name);
            return TRUE;
        }
        break;
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
            RecordWizardPlace(page, state);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}
