#include "wizard/destination_page.h"
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
#include "install/folder_containment.h"
#include "install/made_folders.h"
#include "resources/resource.h"
#include "wizard/script_values.h"
#include <commctrl.h>
#include <shlobj.h>

// Bits of SetupContext::flags that these pages set.

static void SetContextFlag(SetupContext* context, DWORD flag, bool on)
{
    if (on) context->flags |= flag;
    else context->flags &= ~flag;
}

static bool IsChecked(HWND page, int id)
{
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

// The example-files box is offered only when the media carries examples.
static void SetUpExamples(HWND page, WizardState* state, int boxId)
{
    SetContextFlag(state->context, ExampleFilesFlag, state->examplesAvailable);
    if (state->examplesAvailable) CheckDlgButton(page, boxId, BST_CHECKED);
    else ShowWindow(GetDlgItem(page, boxId), SW_HIDE);
}

// The name that "Only for &me (%s)" shows; empty when the system will not tell it.
static void GetCurrentUserName(char* buffer, DWORD size)
{
    if (!GetUserNameA(buffer, &size)) buffer[0] = 0;
}

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
    SetUpExamples(page, state, IDC_DEST_EXAMPLES);

    SetContextFlag(context, AllUsersFlag, false);
    char userName[256];
    GetCurrentUserName(userName, sizeof userName);
    FormatControlText(page, IDC_DEST_ONLY_ME, userName);
    CheckDlgButton(page, IDC_DEST_ALL_USERS, BST_CHECKED);

    LoadPageHeader(state, &state->destination.header, "Destination");
    state->destination.initialWidth = PageWidth(page);

    // Any text in DesktopShortcut offers the box, even "0".
    char offer[256];
    if (GetScriptValue(context->script, "Destination", "DesktopShortcut", "", offer, sizeof offer)) {
        if (ReadScriptFlag(context->script, "Destination", "DesktopShortcutDefault", false))
            CheckDlgButton(page, IDC_DEST_DESKTOP, BST_CHECKED);
    } else {
        ShowWindow(GetDlgItem(page, IDC_DEST_DESKTOP), SW_HIDE);
    }
}

static void SetUpClassicPage(HWND page, WizardState* state)
{
    SetupContext* context = state->context;
    char productName[256];
    LoadProductName(productName, sizeof productName, NULL);
    FormatControlText(page, IDC_CLASSIC_INTRO, productName);
    FormatControlText(page, IDC_CLASSIC_CANCEL_TEXT, productName);
    SetDlgItemTextA(page, IDC_CLASSIC_PATH, context->installDir);
    SendDlgItemMessageA(page, IDC_CLASSIC_PATH, EM_LIMITTEXT, MAX_PATH - 1, 0);
    SetUpExamples(page, state, IDC_CLASSIC_EXAMPLES);

    // Without the NT family there is no installation for one user only.
    SetContextFlag(context, AllUsersFlag, false);
    if (IsWindowsNT) {
        char userName[256];
        GetCurrentUserName(userName, sizeof userName);
        FormatControlText(page, IDC_CLASSIC_FOR_LABEL, productName);
        FormatControlText(page, IDC_CLASSIC_ONLY_ME, userName);
        CheckDlgButton(page, IDC_CLASSIC_ALL_USERS, BST_CHECKED);
    } else {
        DestroyWindow(GetDlgItem(page, IDC_CLASSIC_FOR_LABEL));
        DestroyWindow(GetDlgItem(page, IDC_CLASSIC_ALL_USERS));
        DestroyWindow(GetDlgItem(page, IDC_CLASSIC_ONLY_ME));
    }
}

// Opens the folder dialog on the edit's path once the dialog is up.
static int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

// The Browse button: a chosen folder replaces installDir and the edit's text; cancelling
// changes nothing.
static void BrowseForFolder(HWND page, WizardState* state, int pathId)
{
    SetupContext* context = state->context;
    GetDlgItemTextA(page, pathId, context->installDir, sizeof context->installDir);
    IMalloc* allocator = NULL;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator) return;
    char title[256];
    if (LoadResString(IDS_CHOOSE_FOLDER, title, sizeof title, NULL)) {
        BROWSEINFOA info;
        ZeroMemory(&info, sizeof info);
        info.hwndOwner = page;
        info.lpszTitle = title;
        info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
        info.lpfn = BrowseCallback;
        info.lParam = (LPARAM)context->installDir;
        LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
        if (chosen) {
            char path[MAX_PATH];
            if (SHGetPathFromIDListA(chosen, path)) {
                CopyText(path, context->installDir, sizeof context->installDir);
                SetDlgItemTextA(page, pathId, context->installDir);
            }
            allocator->Free(chosen);
        }
    }
    allocator->Release();
}

// The folder check of Next: a folder that cannot be used is explained, and the page stays.
static bool CheckInstallFolder(HWND page, const char* path)
{
    ErrorStatus status = { 0, "" };
    // The media's own folder would take the install log over its setup.ini, and every file
    // would replace itself; it is refused before anything is created there.
    if (IsSameOrInsideFolder(path, SetupFolder)) SetStatus(&status, ERROR_BAD_PATHNAME, 0);
    CreateFolderPath(page, path, &status);
    WORD message = 0;
    switch (status.code) {
    case 0: return true;
    case ERROR_PATH_NOT_FOUND: message = IDS_INVALID_FILE_SYSTEM; break;
    case ERROR_ACCESS_DENIED: message = IDS_WRITE_PROTECTED; break;
    case ERROR_FILE_EXISTS: message = IDS_FILE_IN_THE_WAY; break;
    case ERROR_BAD_PATHNAME: message = IDS_INVALID_DESTINATION; break;
    case ERROR_CANCELLED: break;
    default: ShowStatus(page, &status); break;
    }
    if (message) MessageBoxById(page, message, IDS_SETUP_TITLE, MB_ICONERROR);
    return false;
}

static void LayOutCombinedPage(HWND page, WizardState* state)
{
    FramedPage* frame = &state->destination;
    if (state->widenedPageWidth) {
        SetPageWidth(page, state->widenedPageWidth);
        GrowControl(page, state, IDC_DEST_PATH, frame->initialWidth);
    }
    // A long product name widens its labels as far as the path edit reaches.
    RECT rect;
    RectInParent(GetDlgItem(page, IDC_DEST_PATH), &rect);
    WidenLabelToText(page, IDC_DEST_FOR_LABEL, rect.right);
    WidenLabelToText(page, IDC_DEST_PATH_LABEL, rect.right);
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

// Next and Back both keep the choices, even when Next is refused; only Next checks the folder.
static void LeaveDestinationPage(HWND page, WizardState* state, bool forwards, int pathId, int examplesId,
                                 int allUsersId)
{
    SetupContext* context = state->context;
    GetDlgItemTextA(page, pathId, context->installDir, sizeof context->installDir);
    SetPageResult(page, 0);
    if (forwards) {
        // Remembered so that a cancel before anything is copied can take the folders away.
        char missing[MAX_PATH];
        FindOutermostMissingFolder(context->installDir, missing);
        if (!CheckInstallFolder(page, context->installDir)) SetPageResult(page, -1);
        else CopyText(missing, context->madeFolder, sizeof context->madeFolder);
    }
    SetContextFlag(context, ExampleFilesFlag, IsChecked(page, examplesId));
    if (IsWindowsNT) SetContextFlag(context, AllUsersFlag, IsChecked(page, allUsersId));
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
            LeaveDestinationPage(page, state, ((NMHDR*)lParam)->code == PSN_WIZNEXT, IDC_DEST_PATH,
                                 IDC_DEST_EXAMPLES, IDC_DEST_ALL_USERS);
            CopyText("all", state->context->fileTypes, sizeof state->context->fileTypes);
            SetContextFlag(state->context, DesktopShortcutFlag, IsChecked(page, IDC_DEST_DESKTOP));
            return TRUE;
        }
        break;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_DEST_BROWSE && HIWORD(wParam) == BN_CLICKED) {
            BrowseForFolder(page, GetWizardState(page), IDC_DEST_PATH);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK ClassicDestinationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetUpClassicPage(page, (WizardState*)KeepPageParameter(page, lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_CLASSIC_BROWSE && HIWORD(wParam) == BN_CLICKED) {
            BrowseForFolder(page, GetWizardState(page), IDC_CLASSIC_PATH);
            return TRUE;
        }
        break;
    case WM_NOTIFY:
        switch (((NMHDR*)lParam)->code) {
        case PSN_SETACTIVE:
            SetWizardButtons(page, PSWIZB_BACK | PSWIZB_NEXT);
            SetPageResult(page, 0);
            return TRUE;
        case PSN_WIZNEXT:
        case PSN_WIZBACK:
            LeaveDestinationPage(page, GetWizardState(page), ((NMHDR*)lParam)->code == PSN_WIZNEXT,
                                 IDC_CLASSIC_PATH, IDC_CLASSIC_EXAMPLES, IDC_CLASSIC_ALL_USERS);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
