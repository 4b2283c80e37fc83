#include "wizard/file_types_page.h"
#include "wizard/page_protocol.h"
#include "core/setup_context.h"
#include "controls/window_helpers.h"
#include "wizard/wizard_state.h"
#include "controls/check_list.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/script.h"
#include "resources/resource.h"
#include <commctrl.h>

// A row's user value is the position of its key in the section's key list, in all the bits
// that the check-box list leaves to its caller, so that every row names its own entry.
static const DWORD KeyPositionMask = CLI_VALUE;

static const char* FileTypesSection() { return MAKEINTRESOURCEA(IDS_SECTION_INSTALL_FILE_TYPES); }

// The key at that position of the page's key list, or NULL past its end.
static const char* KeyAt(WizardState* state, DWORD position)
{
    const char* key = state->fileTypeKeys;
    if (!key) return NULL;
    for (; *key; key += lstrlenA(key) + 1)
        if (!position--) return key;
    return NULL;
}

// What the script makes of a row: "1" as the value's first character checks it by default.
static bool RowDefault(WizardState* state, DWORD data)
{
    const char* key = KeyAt(state, data & KeyPositionMask);
    if (!key) return false;
    char value[256];
    GetScriptValue(state->context->script, FileTypesSection(), key, "", value, sizeof value);
    return value[0] == '1';
}

static HWND TypesList(HWND page) { return GetDlgItem(page, IDC_TYPES_LIST); }
static int RowCount(HWND list) { return (int)SendMessageA(list, LB_GETCOUNT, 0, 0); }
static DWORD RowData(HWND list, int row) { return (DWORD)SendMessageA(list, LB_GETITEMDATA, row, 0); }

// Each button is enabled while pressing it would change something; with no rows none is.
static void UpdateTypeButtons(HWND page, WizardState* state)
{
    HWND list = TypesList(page);
    int count = RowCount(list);
    bool allChecked = true, noneChecked = true, allDefault = true;
    for (int row = 0; row < count; row++) {
        DWORD data = RowData(list, row);
        bool checked = (data & CLI_CHECKED) != 0;
        if (checked) noneChecked = false;
        else allChecked = false;
        if (checked != RowDefault(state, data)) allDefault = false;
    }
    EnableControl(page, IDC_TYPES_SELECT_ALL, count > 0 && !allChecked);
    EnableControl(page, IDC_TYPES_CLEAR_ALL, count > 0 && !noneChecked);
    EnableControl(page, IDC_TYPES_DEFAULT, count > 0 && !allDefault);
}

// "Select All", "Clear All" (check given) and "Default" (check NULL).
static void SetAllRows(HWND page, WizardState* state, const bool* check)
{
    HWND list = TypesList(page);
    int count = RowCount(list);
    for (int row = 0; row < count; row++) {
        DWORD data = RowData(list, row);
        bool on = check ? *check : RowDefault(state, data);
        CheckListSetData(list, row, on ? data | CLI_CHECKED : data & ~CLI_CHECKED);
    }
    UpdateTypeButtons(page, state);
}

// One row per entry of "InstallFileTypes", in the file's order; the list sorts them by text.
// A failure stops the filling and is shown; the rows added so far stay.
static void SetUpFileTypesPage(HWND page, WizardState* state)
{
    char productName[256];
    LoadProductName(productName, sizeof productName, NULL);
    FormatControlText(page, IDC_TYPES_INTRO, productName);

    ErrorStatus status = { 0, "" };
    HWND list = TypesList(page);
    CheckListAttach(list, &status);
    GetScriptKeyList(state->context->script, FileTypesSection(), &state->fileTypeKeys, &state->fileTypeKeysCapacity,
                     &status);
    DWORD position = 0;
    for (const char* key = state->fileTypeKeys; !status.code && key && *key && position <= KeyPositionMask;
         key += lstrlenA(key) + 1) {
        char value[256];
        GetScriptValue(state->context->script, FileTypesSection(), key, "", value, sizeof value);
        CheckListAdd(list, value[0] ? value + 1 : value, value[0] == '1', position, &status);
        position++;
    }
    UpdateTypeButtons(page, state);
    ShowStatus(page, &status);
}

// fileTypes := the checked rows' names in the order shown, one blank apart, or "none".
static void StoreFileTypes(HWND page, WizardState* state)
{
    SetupContext* context = state->context;
    HWND list = TypesList(page);
    int count = RowCount(list);
    char* cursor = context->fileTypes;
    unsigned spaceLeft = sizeof context->fileTypes;
    *cursor = 0;
    bool any = false;
    for (int row = 0; row < count; row++) {
        DWORD data = RowData(list, row);
        if (!(data & CLI_CHECKED)) continue;
        const char* key = KeyAt(state, data & KeyPositionMask);
        if (!key) continue;
        if (any) AppendAtCursor(" ", &cursor, &spaceLeft);
        AppendAtCursor(key, &cursor, &spaceLeft);
        any = true;
    }
    if (!any) CopyText("none", context->fileTypes, sizeof context->fileTypes);
}

INT_PTR CALLBACK FileTypesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetUpFileTypesPage(page, (WizardState*)KeepPageParameter(page, lParam));
        return TRUE;
    case WM_DRAWITEM:
        CheckListDrawItem((const DRAWITEMSTRUCT*)lParam);
        return TRUE;
    case WM_MEASUREITEM:
        if (wParam != IDC_TYPES_LIST) break;
        CheckListMeasureItem(TypesList(page), (MEASUREITEMSTRUCT*)lParam);
        return TRUE;
    case WM_COMMAND: {
        if (HIWORD(wParam) != BN_CLICKED) break;
        WizardState* state = GetWizardState(page);
        bool check;
        switch (LOWORD(wParam)) {
        case IDC_TYPES_SELECT_ALL: check = true; SetAllRows(page, state, &check); return TRUE;
        case IDC_TYPES_CLEAR_ALL: check = false; SetAllRows(page, state, &check); return TRUE;
        case IDC_TYPES_DEFAULT: SetAllRows(page, state, NULL); return TRUE;
        }
        break;
    }
    case WM_NOTIFY: {
        NMHDR* header = (NMHDR*)lParam;
        if (header->idFrom == IDC_TYPES_LIST && header->code == CLN_TOGGLED) {
            UpdateTypeButtons(page, GetWizardState(page));
            return TRUE;
        }
        switch (header->code) {
        case PSN_SETACTIVE:
            SetWizardButtons(page, PSWIZB_BACK | PSWIZB_FINISH);
            SetPageResult(page, 0);
            return TRUE;
        case PSN_WIZFINISH:
            SetPageResult(page, 0);
            StoreFileTypes(page, GetWizardState(page));
            RecordWizardPlace(page, GetWizardState(page));
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}
