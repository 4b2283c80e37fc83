#include "wizard/sheets.h"
#include "wizard/agreement_page.h"
#include "wizard/agreement_version.h"
#include "wizard/destination_page.h"
#include "wizard/file_types_page.h"
#include "wizard/program_folder_page.h"
#include "wizard/script_values.h"
#include "core/setup_context.h"
#include "wizard/welcome_pages.h"
#include "wizard/wizard_state.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "install/registry.h"
#include "resources/resource.h"
#include <commctrl.h>

// A page record of the newest layout, with the header bitmap member (104 bytes); the sheet
// walks the table by each record's dwSize.
struct PageRecord {
    PROPSHEETPAGEA page;
    HBITMAP headerBitmap;
};
const DWORD PageRecordSize = 104;
const DWORD SheetHeaderSize = 96;
static_assert(sizeof(PageRecord) == PageRecordSize, "a page record must be 104 bytes");
static_assert(sizeof(PROPSHEETHEADERA) == SheetHeaderSize, "the sheet header must be 96 bytes");

static void ClearStatus(ErrorStatus* status)
{
    status->code = 0;
    status->text[0] = 0;
}

// installDir := the program-files folder and the product name (empty without the folder);
// programFolder := the product name.
static void SetDefaultFolders(SetupContext* context, ErrorStatus* status)
{
    if (status->code) return;
    char programFiles[MAX_PATH] = "";
    HKEY key = OpenRegKey(HKEY_LOCAL_MACHINE, KEY_READ, TRUE, status, "Software\\Microsoft\\Windows\\CurrentVersion",
                          (const char*)NULL);
    QueryRegString(key, MAKEINTRESOURCEA(IDS_PROGRAM_FILES_DIR), NULL, programFiles, sizeof programFiles, status);
    if (key) RegCloseKey(key);
    if (status->code == ERROR_FILE_NOT_FOUND) {
        ClearStatus(status);
        context->installDir[0] = 0;
    } else if (status->code) {
        return;
    } else {
        LoadFormattedText(IDS_DEFAULT_DESTINATION, context->installDir, sizeof context->installDir, status,
                          programFiles);
    }
    LoadProductName(context->programFolder, sizeof context->programFolder, status);
}

static void ZeroWizardState(WizardState* state, SetupContext* context)
{
    ZeroMemory(state, sizeof *state);
    state->context = context;
    state->welcomeBackColor = NoColor;
    state->destination.header.backColor = NoColor;
    state->license.header.backColor = NoColor;
    state->programFolder.header.backColor = NoColor;
}

// Appends a page; its title comes from the section's Title when there is one.
static void AddPage(PageRecord* pages, int* count, WizardState* state, WORD templateId, DLGPROC procedure,
                    const char* titleSection)
{
    ZeroMemory(&pages[*count], sizeof pages[*count]);
    PROPSHEETPAGEA* page = &pages[*count].page;
    page->dwSize = PageRecordSize;
    page->hInstance = AppInstance;
    page->pszTemplate = MAKEINTRESOURCEA(templateId);
    page->pfnDlgProc = procedure;
    page->lParam = (LPARAM)state;
    if (titleSection) {
        char* title = ReadPageTitle(state->context->script, titleSection);
        if (title) {
            page->dwFlags = PSP_USETITLE;
            page->pszTitle = title;
            state->titles[*count] = title;
        }
    }
    (*count)++;
}

void StoreSheetResult(INT_PTR result, WORD templateId, ErrorStatus* status)
{
    if (result == 0) {
        SetStatus(status, ERROR_CANCELLED, 0);
    } else if (result < 0) {
        // A sheet that failed without saying why must still stop setup, and never silently.
        DWORD error = GetLastError();
        SetStatus(status, error ? error : ERROR_CAN_NOT_COMPLETE, IDS_UNABLE_TO_SHOW_DIALOG, (unsigned)templateId);
    }
}

static void ShowSheet(HWND owner, PageRecord* pages, int count, ErrorStatus* status)
{
    PROPSHEETHEADERA header;
    ZeroMemory(&header, sizeof header);
    header.dwSize = SheetHeaderSize;
    header.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hwndParent = owner;
    header.nPages = (UINT)count;
    header.nStartPage = 0;
    header.ppsp = &pages[0].page;
    SetLastError(0);
    INT_PTR result = PropertySheetA(&header);
    StoreSheetResult(result, (WORD)(UINT_PTR)pages[0].page.pszTemplate, status);
}

static void ReleaseWizardState(WizardState* state)
{
    if (state->fileTypeKeys) GlobalFree(state->fileTypeKeys);
    HBITMAP bitmaps[] = { state->welcomeImage, state->destination.header.bitmap, state->license.header.bitmap,
                          state->programFolder.header.bitmap };
    for (HBITMAP bitmap : bitmaps)
        if (bitmap) DeleteObject(bitmap);
    for (char* title : state->titles)
        if (title) GlobalFree(title);
    ZeroWizardState(state, state->context);
}

void RunInstallWizard(HWND owner, BOOL examplesAvailable, SetupContext* context, ErrorStatus* status)
{
    SetDefaultFolders(context, status);
    if (status->code) return;

    WizardState state;
    ZeroWizardState(&state, context);
    state.agreementHasPrevious = true;
    state.agreementHasNext = true;
    state.examplesAvailable = examplesAvailable != FALSE;
    SetRectEmpty(&context->wizardRect);

    char* script = context->script;
    PageRecord pages[MaxWizardPages];
    int count = 0;
    AddPage(pages, &count, &state, IDD_WELCOME, InstallWelcomePageProc, "Welcome");
    state.agreementShown = ReadScriptFlag(script, "License", "Show", true);
    if (state.agreementShown) state.agreementInWizard = ReadScriptFlag(script, "License", "Wizard", false);
    if (state.agreementShown && state.agreementInWizard)
        AddPage(pages, &count, &state, IDD_AGREEMENT_PAGE, AgreementPageProc, "License");
    state.combinedDestination = ReadScriptFlag(script, "Destination", "FileTypes", false);
    if (state.combinedDestination)
        AddPage(pages, &count, &state, IDD_COMBINED_DESTINATION, CombinedDestinationPageProc, "Destination");
    else
        AddPage(pages, &count, &state, IDD_CLASSIC_DESTINATION, ClassicDestinationPageProc, NULL);
    AddPage(pages, &count, &state, IDD_PROGRAM_FOLDER, ProgramFolderPageProc, "ProgFolder");
    if (!state.combinedDestination) AddPage(pages, &count, &state, IDD_FILE_TYPES, FileTypesPageProc, NULL);

    ShowSheet(owner, pages, count, status);
    bool accepted = state.agreementAccepted;
    ReleaseWizardState(&state);
    // Only an agreement that was shown and accepted in this run is recorded.
    if (!status->code && accepted) StoreAcceptedAgreementVersion(script, status);
}

void RunUpdateSheet(HWND owner, SetupContext* context, unsigned long long flags, ErrorStatus* status)
{
    SetDefaultFolders(context, status);
    if (status->code) return;

    WizardState state;
    ZeroWizardState(&state, context);
    char* script = context->script;
    bool showAgreement = (DWORD)flags != 0;
    bool agreementShown = showAgreement && ReadScriptFlag(script, "License", "Show", true);
    PageRecord pages[1];
    int count = 0;
    if (agreementShown) {
        state.agreementShown = true;
        state.agreementInWizard = ReadScriptFlag(script, "License", "Wizard", false);
        AddPage(pages, &count, &state, IDD_AGREEMENT_PAGE, AgreementPageProc, "License");
    }
    if (count) ShowSheet(owner, pages, count, status);
    bool accepted = state.agreementAccepted;
    ReleaseWizardState(&state);
    if (!status->code && accepted) StoreAcceptedAgreementVersion(script, status);
}

static void RunChoiceSheet(HWND owner, WORD templateId, DLGPROC procedure, DWORD* choice, ErrorStatus* status)
{
    if (status->code) return;
    ChoicePageState pageState = { false, choice };
    PageRecord record;
    ZeroMemory(&record, sizeof record);
    record.page.dwSize = PageRecordSize;
    record.page.hInstance = AppInstance;
    record.page.pszTemplate = MAKEINTRESOURCEA(templateId);
    record.page.pfnDlgProc = procedure;
    record.page.lParam = (LPARAM)&pageState;
    ShowSheet(owner, &record, 1, status);
}

void RunRemovalConfirmation(HWND owner, ErrorStatus* status)
{
    RunChoiceSheet(owner, IDD_REMOVAL_WELCOME, RemovalWelcomePageProc, NULL, status);
}

void RunUpdateOrRemoveChoice(HWND owner, DWORD* choice, ErrorStatus* status)
{
    RunChoiceSheet(owner, IDD_UPDATE_OR_REMOVE, UpdateOrRemovePageProc, choice, status);
}
