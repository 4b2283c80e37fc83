#include "remove/removal.h"
#include "controls/progress_window.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/log_entries.h"
#include "core/script.h"
#include "core/section_index.h"
#include "install/file_ops.h"
#include "install/path_removal.h"
#include "install/registry.h"
#include "remove/own_file.h"
#include "resources/resource.h"

static const DWORD FlagMainProgram = 2;
static const DWORD FlagComponent = 8;
static const REGSAM AccessReadWrite = KEY_READ | KEY_WRITE;

// The state of one removal run.
struct RemovalRun {
    ProgressRecord progress;    // its window is NULL when no progress window could be made
    char removingText[256];     // "Removing %s...", loaded once for the run's many steps
    char unregisteringText[256];
    const char* logFolder;
    OwnFile own;
    BOOL restart;               // something was left for the next restart
};

// The text after a path's last backslash; the whole text when it has none.
static const char* NameOf(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; p = CharNextA(p))
        if (*p == '\\') name = p + 1;
    return name;
}

static void ShowText(RemovalRun* run, WORD textId)
{
    char text[256];
    LoadResString(textId, text, sizeof text, NULL);
    ShowProgressText(&run->progress, text);
}

static BOOL EndsWithExe(const char* path)
{
    int length = lstrlenA(path);
    return length > 4 && !lstrcmpiA(path + length - 4, ".exe");
}

void UnregisterComponent(HWND owner, const char* path)
{
    if (EndsWithExe(path)) {
        char commandLine[520];
        FormatText(commandLine, sizeof commandLine, "\"%s\" /UnRegServer", path);
        DWORD exitCode = 0;
        // A program that cannot be started has no exit code to complain about.
        if (RunAndWait(path, commandLine, &exitCode) && exitCode != 0)
            MessageBoxById(owner, IDS_UNREGISTER_PROGRAM_FAILED, IDS_SETUP_TITLE, MB_ICONEXCLAMATION, path);
        return;
    }
    HMODULE library = LoadLibraryA(path);
    if (!library) return;
    typedef HRESULT(STDAPICALLTYPE * EntryPoint)();
    EntryPoint unregister = (EntryPoint)GetProcAddress(library, "DllUnregisterServer");
    if (unregister) {
        HRESULT result = unregister();
        if (FAILED(result))
            MessageBoxById(owner, IDS_UNREGISTER_DLL_FAILED, IDS_SETUP_TITLE, MB_ICONEXCLAMATION, path,
                           (unsigned long)result);
    }
    FreeLibrary(library);
}

// The registry entries of the log: a whole key for the value "0", else one value of the key.
static void RemoveRegistryEntries(char* log, ErrorStatus* status)
{
    SectionIndex entries;
    BuildSectionIndex(log, "UninstallRegistry", &entries, status);
    for (DWORD i = 0; i < entries.count && !status->code; i++) {
        const char* entry = entries.entries[i].key;
        // Other roots, paths too long for the buffer (a cut path could name a parent key) and
        // wildcards are passed over, and so is a whole key that other programs share.
        char keyPath[208];
        bool view64;
        if (!entry[0] || !ParseRegistryEntry(entry, keyPath, sizeof keyPath, &view64)) continue;
        REGSAM access = AccessReadWrite | (view64 ? KEY_WOW64_64KEY : 0);
        char value[256];
        GetEntryValue(&entries, i, value, sizeof value);
        if (!lstrcmpA(value, "0")) {
            if (!IsSharedRegistryKey(keyPath))
                DeleteRegTree(HKEY_LOCAL_MACHINE, status, access, keyPath, (const char*)NULL);
        } else {
            DeleteRegValue(HKEY_LOCAL_MACHINE, status, access, keyPath, value);
        }
    }
    FreeSectionIndex(&entries);
    if (status->code) return;
    // These two go whatever the log says.
    DeleteRegTree(HKEY_LOCAL_MACHINE, status, AccessReadWrite, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                  MAKEINTRESOURCEA(IDS_UNINSTALL_ENTRY), (const char*)NULL);
    DeleteRegTree(HKEY_LOCAL_MACHINE, status, AccessReadWrite, "Software\\Corvantis Vandrel\\", (const char*)NULL);
}

// Removes a logged folder that exists inside the log's folder.
static void RemoveFolderEntry(RemovalRun* run, const char* path, ErrorStatus* status)
{
    ShowProgressStep(&run->progress, run->removingText, NameOf(path));
    if (PlaceOfPath(path, run->logFolder) == PathOutside) return;
    if (FolderExists(path, status)) {
        if (RemoveLoggedFolder(&run->own, path, status)) run->restart = TRUE;
    } else {
        status->code = 0;
    }
}

// A file entry that exists: the main program and components are unregistered before it goes.
static void RemoveFileEntry(RemovalRun* run, const SectionIndex* files, DWORD entry, ErrorStatus* status)
{
    const char* path = files->entries[entry].key;
    char value[256];
    GetEntryValue(files, entry, value, sizeof value);
    DWORD flags = ParseDecimal(value);
    if (flags & FlagMainProgram) {
        ShowProgressStep(&run->progress, run->unregisteringText, NameOf(path));
        FlushProgress(&run->progress);
        char commandLine[324];
        FormatText(commandLine, sizeof commandLine, "\"%s\" /UnregAll", path);
        DWORD exitCode;
        RunAndWait(path, commandLine, &exitCode);
    }
    if (flags & FlagComponent) {
        ShowProgressStep(&run->progress, run->unregisteringText, NameOf(path));
        FlushProgress(&run->progress);
        UnregisterComponent(run->progress.window, path);
    }
    if (RemoveLoggedFile(&run->own, path, status)) run->restart = TRUE;
}

// The "UninstallFiles" entries: the files, then the folders among them. An entry that the file
// pass found to be a file is no folder in the second pass, deleted or not, and is not looked
// up again. Empty keys name nothing and are not listed.
static void RemoveFileEntries(RemovalRun* run, const SectionIndex* files, ErrorStatus* status)
{
    BYTE* isFile = (BYTE*)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, files->count + 1);
    if (!isFile) {
        SetStatus(status, GetLastError(), 0);
        return;
    }
    for (DWORD i = 0; i < files->count && !status->code; i++) {
        const char* path = files->entries[i].key;
        if (!path[0]) continue;
        ShowProgressStep(&run->progress, run->removingText, NameOf(path));
        // An entry outside the installed folder was not made by the install.
        if (PlaceOfPath(path, run->logFolder) == PathOutside) continue;
        if (!FileExists(path, status)) {
            status->code = 0;
            continue;
        }
        isFile[i] = 1;
        RemoveFileEntry(run, files, i, status);
    }
    for (DWORD i = 0; i < files->count && !status->code; i++) {
        const char* path = files->entries[i].key;
        if (!path[0]) continue;
        if (isFile[i]) ShowProgressStep(&run->progress, run->removingText, NameOf(path));
        else RemoveFolderEntry(run, path, status);
    }
    GlobalFree(isFile);
}

BOOL RemoveInstallation(HWND owner, char* log, const char* logFolder, ErrorStatus* status)
{
    RemovalRun run;
    ZeroMemory(&run, sizeof run);
    run.logFolder = logFolder;
    run.progress.statusTextId = IDC_PLAIN_PROGRESS_TEXT;
    run.progress.progressBarId = IDC_PLAIN_PROGRESS_BAR;
    LoadResString(IDS_REMOVING, run.removingText, sizeof run.removingText, NULL);
    LoadResString(IDS_UNREGISTERING, run.unregisteringText, sizeof run.unregisteringText, NULL);
    BOOL ownerWasEnabled = FALSE;
    FindOwnFile(&run.own);
    LeaveCurrentFolder();

    // Each key with its flags, read in one walk of the log.
    SectionIndex files;
    BuildSectionIndex(log, "UninstallFiles", &files, status);
    if (!status->code) {
        run.progress.window = CreatePlainProgressWindow(owner);
        if (run.progress.window) {
            ShowWindow(GetDlgItem(run.progress.window, IDC_PLAIN_PROGRESS_BAR), SW_HIDE);
            ownerWasEnabled = ShowProgressWindow(owner, run.progress.window);
        }

        RemoveFileEntries(&run, &files, status);
        // Then the folders that the install created.
        if (!status->code) {
            char* keys = NULL;
            DWORD capacity = 0;
            GetScriptKeyList(log, "UninstallDirs", &keys, &capacity, status);
            for (const char* path = keys; !status->code && *path; path = NextKey(path))
                RemoveFolderEntry(&run, path, status);
            if (keys) GlobalFree(keys);
        }

        ShowText(&run, IDS_UPDATING_REGISTRY);
        if (!status->code) RemoveRegistryEntries(log, status);
        ShowText(&run, IDS_REMOVING_SHORTCUTS);
    }
    FreeSectionIndex(&files);

    BOOL restart = RemoveShortcuts(run.restart, log, status);

    FlushProgress(&run.progress);
    if (run.progress.window) DestroyProgressWindow(owner, run.progress.window, ownerWasEnabled);
    if (status->code) return FALSE;

    if (!restart) {
        MessageBoxById(owner, IDS_REMOVED, IDS_SETUP_TITLE, MB_ICONINFORMATION);
        return FALSE;
    }
    if (MessageBoxById(owner, IDS_RESTART_REMOVAL, IDS_SETUP_TITLE, MB_YESNO | MB_ICONQUESTION) == IDYES) return TRUE;
    MessageBoxById(owner, IDS_REMOVAL_PUT_OFF, IDS_SETUP_TITLE, MB_ICONINFORMATION);
    return FALSE;
}
