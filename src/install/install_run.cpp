#include "install/install_run.h"
#include <shlobj.h>
#include <commctrl.h>
#include "controls/progress_window.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/script.h"
#include "install/disk_space.h"
#include "install/file_ops.h"
#include "install/install_copy.h"
#include "install/install_log.h"
#include "install/install_state.h"
#include "install/registry.h"
#include "install/uninstall_entry.h"
#include "core/setup_context.h"
#include "install/shortcuts.h"
#include "resources/resource.h"

static const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The window that owns the run's warnings: the progress window while there is one.
static HWND WarningOwner(InstallRun* run) { return run->progress.window ? run->progress.window : run->owner; }

// An update over the earlier release: its uninstall entry goes, and the program folder takes
// the current product title.
static void ForgetEarlierRelease(InstallRun* run, ErrorStatus* status)
{
    if (!run->earlierRelease) return;
    DeleteRegTree(HKEY_LOCAL_MACHINE, status, KEY_READ | KEY_WRITE, UninstallKey,
                  MAKEINTRESOURCEA(IDS_EARLIER_UNINSTALL_ENTRY), (const char*)NULL);
    if (!status->code)
        LoadResString(IDS_UNINSTALL_ENTRY, run->context->programFolder, sizeof run->context->programFolder, status);
}

// A fresh install creates its log, and holds it, before anything is copied; its text comes
// from the run's record at the end. An update reads the installed log, which may be missing,
// with the index that tells the copying which files it lists; the log is not written before
// the copying ends.
static void OpenInstallLog(InstallRun* run, ErrorStatus* status)
{
    if (status->code) return;
    if (!run->update) {
        run->log = CreateLogFile(run->logPath, status);
        return;
    }
    run->logText = ReadLogForUpdate(run->logPath, status);
    if (run->logText) BuildSectionIndex(run->logText, "UninstallFiles", &run->loggedFiles, status);
}

// The header window takes the wizard's place when the wizard's rectangle is known and the
// script names a header image; updates and every other case get the plain box.
static void OpenProgressWindow(InstallRun* run, ErrorStatus* status)
{
    if (status->code) return;
    char image[MAX_PATH] = "";
    if (!IsRectEmpty(&run->context->wizardRect) && !run->update)
        GetScriptValue(run->script, "Progress", "headerimage", "", image, sizeof image);
    ProgressRecord* record = &run->progress;
    record->statusTextId = IDC_PLAIN_PROGRESS_TEXT;
    record->progressBarId = IDC_PLAIN_PROGRESS_BAR;
    record->context = run->context;
    if (image[0]) {
        record->statusTextId = IDC_HEADER_PROGRESS_TEXT;
        record->progressBarId = IDC_HEADER_PROGRESS_BAR;
        record->window = CreateHeaderProgressWindow(run->owner, record);
    } else {
        record->window = CreatePlainProgressWindow(run->owner);
    }
    if (record->window) run->ownerWasEnabled = ShowProgressWindow(run->owner, record->window);
}

static void StartProgressBar(InstallRun* run, ULONGLONG total)
{
    ProgressRecord* record = &run->progress;
    record->done = 0;
    record->total = total;
    record->lastPercentage = 0;
    record->nextPercentageAt = 0;
    if (!record->window) return;
    SendDlgItemMessageA(record->window, record->progressBarId, PBM_SETPOS, 0, 0);
    SendDlgItemMessageA(record->window, record->progressBarId, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
}

// The uninstall entry, its line in a fresh log, and the program folder for the next update.
static void WriteRegistryValues(InstallRun* run, ErrorStatus* status)
{
    if (status->code) return;
    char text[256];
    LoadResString(IDS_UPDATING_REGISTRY, text, sizeof text, NULL);
    ShowProgressText(&run->progress, text);
    if (!run->update) {
        char title[256];
        LoadResString(IDS_UNINSTALL_ENTRY, title, sizeof title, status);
        AddLogText(&run->record.later, "\r\n[UninstallRegistry]\r\nHKLM\\", status);
        AddLogText(&run->record.later, UninstallKey, status);
        AddLogText(&run->record.later, "\\", status);
        AddLogEntry(&run->record.later, title, 0, status);
    }
    WriteUninstallEntry(run->context->installDir, run->mainSource, run->mainTarget, status);
    if (!run->update || run->earlierRelease) WriteProgramFolder(run->context->programFolder, status);
}

// A fresh install's log gets its whole text at the end of a successful run.
static void WriteFreshLog(InstallRun* run, ErrorStatus* status)
{
    char* text = ComposeInstallLog(&run->record, run->logPath, run->context->installDir, status);
    if (!text) return;
    if (!WriteText(run->log, text, 0xFFFFFFFF)) {
        DWORD error = GetLastError();
        SetStatus(status, error ? error : ERROR_WRITE_FAULT, 0);
    }
    GlobalFree(text);
}

// Closing steps, taken on every path: the shell hears of the folder, COM ends, the window
// goes, the log is written and closed (and deleted after a failed fresh install) or written
// back. A failed fresh install hands its record to takeBack, when given.
static void CloseRun(InstallRun* run, char** takeBack, ErrorStatus* status)
{
    SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHA, run->context->installDir, NULL);
    if (run->comStarted) CoUninitialize();
    if (run->progress.headerBitmap) DeleteObject(run->progress.headerBitmap);
    run->progress.headerBitmap = NULL;

    FlushProgress(&run->progress);
    if (run->progress.window) DestroyProgressWindow(run->owner, run->progress.window, run->ownerWasEnabled);
    run->progress.window = NULL;

    if (!run->update) {
        if (run->log != INVALID_HANDLE_VALUE) {
            if (!status->code) WriteFreshLog(run, status);
            CloseHandle(run->log);
            // A failed installation leaves no log behind.
            if (status->code) DeleteFileA(run->logPath);
        }
        if (status->code && takeBack) {
            // What the log would have held up to the failure, for the removal that takes the
            // run back; the installation folder was there before the run and stays.
            ErrorStatus own = { 0, "" };
            *takeBack = ComposeInstallLog(&run->record, run->logPath, NULL, &own);
        }
    } else if (!status->code && run->logText) {
        WriteLogFile(run->logText, run->logPath, status);
    }
    FreeInstallRecord(&run->record);
    FreeSectionIndex(&run->loggedFiles);
    if (run->logText) GlobalFree(run->logText);
    FreePendingChanges(&run->pending);
    FreeSectionIndex(&run->files);
    FreeSectionIndex(&run->dirs);
}

// The last word to the user: success, or the restart question and, on No, when the rest
// happens. 1 when Windows is to be restarted now.
static int TellOutcome(InstallRun* run)
{
    if (!run->restart) {
        MessageBoxById(run->owner, run->update ? IDS_UPDATED : IDS_INSTALLED, IDS_SETUP_TITLE, MB_ICONINFORMATION);
        return 0;
    }
    if (MessageBoxById(run->owner, run->update ? IDS_RESTART_UPDATE : IDS_RESTART_INSTALL, IDS_SETUP_TITLE,
                       MB_YESNO | MB_ICONQUESTION) == IDYES)
        return 1;
    MessageBoxById(run->owner, run->update ? IDS_UPDATE_PUT_OFF : IDS_INSTALL_PUT_OFF, IDS_SETUP_TITLE,
                   MB_ICONINFORMATION);
    return 0;
}

int RunInstall(HWND owner, char* script, BOOL update, SetupContext* context, ErrorStatus* status,
               BOOL earlierRelease, char** takeBack)
{
    if (takeBack) *takeBack = NULL;
    InstallRun run;
    ZeroMemory(&run, sizeof run);
    run.owner = owner;
    run.script = script;
    run.update = update;
    run.earlierRelease = earlierRelease;
    run.context = context;
    run.log = INVALID_HANDLE_VALUE;
    run.progress.headerBackColor = 0xFFFFFFFF;
    run.progress.context = context;
    LoadResString(IDS_INSTALLING, run.installingText, sizeof run.installingText, NULL);
    LoadResString(IDS_REGISTERING, run.registeringText, sizeof run.registeringText, NULL);

    GetInstallLogPath(context->installDir, run.logPath, status);
    // The entries with their values at hand: a script that lists thousands of files is not
    // walked again for each one's flags.
    BuildSectionIndex(script, MAKEINTRESOURCEA(IDS_SECTION_INSTALL_FILES), &run.files, status);
    BuildSectionIndex(script, MAKEINTRESOURCEA(IDS_SECTION_INSTALL_DIRS), &run.dirs, status);
    OpenProgressWindow(&run, status);

    // Nothing on the machine changes before the disk-space check, so that its Cancel leaves
    // the machine as it was.
    ULONGLONG total = SumInstallSize(&run, status);
    FlushProgress(&run.progress);
    CheckDiskSpace(WarningOwner(&run), context->installDir, total, status);
    ForgetEarlierRelease(&run, status);
    OpenInstallLog(&run, status);
    StartProgressBar(&run, total);

    InstallFileEntries(&run, status);
    InstallFolderEntries(&run, status);
    InstallExampleFiles(&run, status);
    if (update) {
        NoteMadeFolders(&run, status);
        ApplyPendingChangesToLog(run.logPath, run.pending, status);
        FreePendingChanges(&run.pending);
    }
    if (update && !status->code) {
        // The shortcuts are recorded in the log as it now stands on disk; nothing is looked up
        // in it by key any more.
        FreeSectionIndex(&run.loggedFiles);
        if (run.logText) GlobalFree(run.logText);
        run.logText = ReadLogForUpdate(run.logPath, status);
    }
    WriteRegistryValues(&run, status);
    CreateShortcuts(&run.progress, script, context, update, earlierRelease, update ? NULL : &run.record.later,
                    update ? &run.logText : NULL, &run.restart, &run.comStarted, status);

    CloseRun(&run, takeBack, status);
    if (status->code) return 0;
    return TellOutcome(&run);
}
