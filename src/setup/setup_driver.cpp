#include "setup/setup_driver.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include "install/file_ops.h"
#include "install/install_log.h"
#include "install/install_run.h"
#include "install/registry.h"
#include "install/setup_fonts.h"
#include "remove/removal.h"
#include "resources/resource.h"
#include "setup/pre_install_state.h"
#include "setup/restart.h"
#include "wizard/agreement_version.h"
#include "core/setup_context.h"
#include "wizard/sheets.h"
#include "wizard/welcome_pages.h"

static const char* UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Cuts a path after its last backslash, which stays.
static void CutAfterLastBackslash(char* path)
{
    char* cut = path;
    for (char* p = path; *p; p = CharNextA(p))
        if (*p == '\\') cut = p + 1;
    *cut = 0;
}

// Drops a folder's trailing backslash, except after a drive's colon (C:\ stays C:\).
static void DropTrailingBackslash(char* folder)
{
    int length = lstrlenA(folder);
    if (length > 1 && folder[length - 1] == '\\' && folder[length - 2] != ':') folder[length - 1] = 0;
}

// The uninstall command as the entry holds it, which another tool or a hand may have quoted.
static void DropQuotes(char* command)
{
    int length = lstrlenA(command);
    if (length < 2 || command[0] != '"' || command[length - 1] != '"') return;
    MoveMemory(command, command + 1, length - 2);
    command[length - 2] = 0;
}

// Reads the setup script beside the running setup; none when it cannot be read.
static char* ReadScriptBesideSetup()
{
    char folder[256], path[MAX_PATH];
    GetModuleFileNameA(NULL, folder, sizeof folder);
    folder[sizeof folder - 1] = 0;
    CutAfterLastBackslash(folder);
    if (!LoadFormattedText(IDS_SCRIPT_PATH, path, sizeof path, NULL, folder)) return NULL;
    return ReadWholeFile(path);
}

// The install or update run and, when it failed, the recovery the user is offered. A cancel
// at the disk-space warning ends setup silently with the machine as setup found it.
static BOOL InstallOrUpdate(HWND owner, char* script, BOOL update, SetupContext* context, BOOL earlierRelease,
                            const PreInstallState* before, ErrorStatus* status)
{
    char* takeBack = NULL;
    BOOL restart = RunInstall(owner, script, update, context, status, earlierRelease, &takeBack);
    if (status->code == ERROR_CANCELLED) RestorePreInstallState(before, context);
    if (!status->code || status->code == ERROR_CANCELLED) {
        if (takeBack) GlobalFree(takeBack);
        return restart;
    }

    char product[256];
    LoadProductName(product, sizeof product, NULL);
    if (!update) {
        MessageBoxById(owner, IDS_INSTALL_FAILED, IDS_SETUP_TITLE, MB_ICONERROR, product, status->text);
        status->code = 0;
        // The removal takes back what the run did, as its record tells, rather than what the
        // media's script lists.
        restart = RemoveInstallation(owner, takeBack, context->installDir, status);
        if (takeBack) GlobalFree(takeBack);
        return restart;
    }
    if (MessageBoxById(owner, IDS_UPDATE_FAILED_REMOVE, IDS_SETUP_TITLE, MB_ICONQUESTION | MB_YESNO, product, product,
                       product) == IDYES) {
        status->code = 0;
        return RemoveInstallation(owner, script, context->installDir, status);
    }
    MessageBoxById(owner, IDS_THE_ERROR_WAS, IDS_SETUP_TITLE, MB_ICONINFORMATION, status->text);
    status->code = 0;
    SetStatus(status, ERROR_CANCELLED, 0);
    return FALSE;
}

// The update path before the common part: the update sheet when it is needed, the installed
// folder with its example files and program folder, and the browser warning.
static void PrepareUpdate(HWND owner, const char* installedSetup, BOOL earlierRelease, SetupContext* context,
                          ErrorStatus* status)
{
    char* script = ReadScriptBesideSetup();
    LoadSetupFonts(script, status);
    context->script = script;
    bool showAgreement = AgreementVersionIsNewer(script, status);
    if (earlierRelease || showAgreement)
        RunUpdateSheet(owner, context, 1ull | (unsigned long long)(earlierRelease ? 1 : 0) << 32, status);
    if (script) GlobalFree(script);
    context->script = NULL;

    char examples[MAX_PATH];
    CopyText(installedSetup, context->installDir, sizeof context->installDir);
    CutAfterLastBackslash(context->installDir);
    LoadFormattedPath(IDS_EXAMPLES_PATH, examples, sizeof examples, status, context->installDir);
    DropTrailingBackslash(context->installDir);
    if (!status->code) {
        if (FolderExists(examples, status)) context->flags |= ExampleFilesFlag;
        else context->flags &= ~ExampleFilesFlag;
    }

    context->programFolder[0] = 0;
    if (!status->code) {
        HKEY key = OpenSetupKey(KEY_READ, status);
        if (key) {
            QueryRegString(key, MAKEINTRESOURCEA(IDS_PROGRAM_FOLDER_VALUE), "", context->programFolder,
                           sizeof context->programFolder, status);
            RegCloseKey(key);
        }
    }
    // A cancelled update sheet ends setup with nothing shown.
    if (!status->code) WarnIfBrowserRunning(owner);
}

void RunSetup(HWND mainWindow)
{
    ErrorStatus status;
    status.code = 0;
    status.text[0] = 0;
    BOOL restart = FALSE, earlierRelease = FALSE, marker = FALSE, examplesHere = FALSE;
    DWORD removal = 0;
    SetupContext context;
    ZeroMemory(&context, sizeof context);
    char installedSetup[MAX_PATH];
    char path[MAX_PATH];
    PreInstallState before;
    RememberPreInstallState(&before);

    // Installed: the uninstall entry of this release or of the earlier one.
    HKEY entry = OpenRegKey(HKEY_LOCAL_MACHINE, KEY_READ, FALSE, &status, UninstallKey,
                            MAKEINTRESOURCEA(IDS_UNINSTALL_ENTRY), (const char*)NULL);
    if (!entry && !status.code) {
        entry = OpenRegKey(HKEY_LOCAL_MACHINE, KEY_READ, FALSE, &status, UninstallKey,
                           MAKEINTRESOURCEA(IDS_EARLIER_UNINSTALL_ENTRY), (const char*)NULL);
        if (entry) earlierRelease = TRUE;
    }
    if (status.code == ERROR_FILE_NOT_FOUND) status.code = 0;

    if (!status.code) {
        GetModuleFileNameA(NULL, installedSetup, sizeof installedSetup);
        installedSetup[sizeof installedSetup - 1] = 0;
        if (entry) {
            // Without the value, the running setup's own path stands for the installed one; a
            // value too long for a path is a failure, never another folder.
            char ownPath[MAX_PATH];
            CopyText(installedSetup, ownPath, sizeof ownPath);
            QueryRegString(entry, "UninstallString", NULL, installedSetup, sizeof installedSetup, &status);
            if (status.code == ERROR_FILE_NOT_FOUND) {
                status.code = 0;
                CopyText(ownPath, installedSetup, sizeof installedSetup);
            }
            DropQuotes(installedSetup);
            removal = 1;
        }
        if (!status.code) {
            CopyText(SetupFolder, context.installDir, sizeof context.installDir);
            LoadFormattedText(IDS_EXAMPLES_PATH, path, sizeof path, &status, SetupFolder);
            if (!status.code) examplesHere = FolderExists(path, &status);
        }
    }
    if (entry) RegCloseKey(entry);
    context.richEditModule = NULL;

    if (!status.code) {
        if (removal) {
            LoadFormattedText(IDS_INSTALL_MARKER_PATH, path, sizeof path, &status, SetupFolder);
            marker = !status.code && FileExists(path, &status);
            if (!marker) {
                RunRemovalConfirmation(mainWindow, &status);
            } else {
                RunUpdateOrRemoveChoice(mainWindow, &removal, &status);
                if (!status.code && !removal) {
                    PrepareUpdate(mainWindow, installedSetup, earlierRelease, &context, &status);
                    // The new setup script lies beside the running setup; the install folder stays the installed one.
                    GetModuleFileNameA(NULL, installedSetup, sizeof installedSetup);
                }
            }
        } else {
            CutAfterLastBackslash(installedSetup);
            LoadFormattedText(IDS_SCRIPT_PATH, path, sizeof path, &status, installedSetup);
            char* script = NULL;
            if (!status.code) {
                script = ReadWholeFile(path);
                if (script) LoadSetupFonts(script, &status);
                else SetStatus(&status, GetLastError(), 0);
            }
            if (!status.code) {
                context.script = script;
                RunInstallWizard(mainWindow, examplesHere, &context, &status);
            }
            if (script) GlobalFree(script);
            context.script = NULL;
        }
    }

    // Common part: read the script of the run (for a removal, the install log) and run it.
    if (!status.code) {
        CutAfterLastBackslash(installedSetup);
        if (removal) {
            CopyText(installedSetup, context.installDir, sizeof context.installDir);
            DropTrailingBackslash(context.installDir);
        }
        char* script = NULL;
        LoadFormattedPath(IDS_SCRIPT_PATH, path, sizeof path, &status, installedSetup);
        if (!status.code) {
            // An install log with NUL bytes is still read as far as it can be.
            script = removal ? ReadInstallLog(path) : ReadWholeFile(path);
            if (!script) {
                DWORD error = GetLastError();
                // A removal without its install log still takes away what it can.
                if (!(removal && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)))
                    SetStatus(&status, error, 0);
            }
        }
        if (!status.code) {
            context.script = script;
            if (removal) restart = RemoveInstallation(mainWindow, script, context.installDir, &status);
            else restart = InstallOrUpdate(mainWindow, script, marker, &context, earlierRelease, &before, &status);
            context.script = NULL;
        }
        if (script) GlobalFree(script);
    }

    if (context.richEditModule) FreeLibrary(context.richEditModule);
    ShowStatus(mainWindow, &status);
    PostQuitMessage(status.code ? 1 : removal ? 2 : 0);
    if (restart) RestartWindows(mainWindow);
}
