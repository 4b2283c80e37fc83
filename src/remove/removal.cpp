#include "remove/removal.h"
#include "controls/progress_window.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/log_entries.h"
#include "core/script.h"
#include "install/file_ops.h"
#include "install/path_removal.h"
#include "install/registry.h"
#include "remove/own_file.h"
#include "resources/resource.h"

static const DWORD FlagMainProgram = 2;
static const DWORD FlagComponent = 8;
static const REGSAM AccessReadWrite = KEY_READ | KEY_WRITE;

// The text after a path's last backslash; the whole text when it has none.
static const char* NameOf(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; p = CharNextA(p))
        if (*p == '\\') name = p + 1;
    return name;
}

static void ShowStep(HWND window, WORD textId, const char* name)
{
    if (!window) return;
    char text[256];
    LoadFormattedText(textId, text, sizeof text, NULL, name);
    ShowProgressText(window, IDC_PLAIN_PROGRESS_TEXT, text);
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
static void RemoveRegistryEntries(char* log, char** keys, DWORD* capacity, ErrorStatus* status)
{
    GetScriptKeyList(log, "UninstallRegistry", keys, capacity, status);
    if (status->code) return;
    for (const char* entry = *keys; *entry && !status->code; entry = NextKey(entry)) {
        // Other roots, paths too long for the buffer (a cut path could name a parent key) and
        // wildcards are passed over, and so is a whole key that other programs share.
        char keyPath[208];
        bool view64;
        if (!ParseRegistryEntry(entry, keyPath, sizeof keyPath, &view64)) continue;
        REGSAM access = AccessReadWrite | (view64 ? KEY_WOW64_64KEY : 0);
        char value[256];
        GetScriptValue(log, "UninstallRegistry", entry, "", value, sizeof value);
        if (!lstrcmpA(value, "0")) {
            if (!IsSharedRegistryKey(keyPath))
                DeleteRegTree(HKEY_LOCAL_MACHINE, status, access, keyPath, (const char*)NULL);
        } else {
            DeleteRegValue(HKEY_LOCAL_MACHINE, status, access, keyPath, value);
        }
    }
    if (status->code) return;
    // These two go whatever the log says.
    DeleteRegTree(HKEY_LOCAL_MACHINE, status, AccessReadWrite, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                  MAKEINTRESOURCEA(IDS_UNINSTALL_ENTRY), (const char*)NULL);
    DeleteRegTree(HKEY_LOCAL_MACHINE, status, AccessReadWrite, "Software\\Corvantis Vandrel\\", (const char*)NULL);
}

// Removes every folder of the list that exists inside the log's folder; true when one was left
// for restart.
static BOOL RemoveFolders(HWND window, const char* keys, const char* logFolder, const OwnFile* own,
                          ErrorStatus* status)
{
    BOOL restart = FALSE;
    for (const char* path = keys; *path && !status->code; path = NextKey(path)) {
        ShowStep(window, IDS_REMOVING, NameOf(path));
        if (PlaceOfPath(path, logFolder) == PathOutside) continue;
        if (FolderExists(path, status)) {
            if (RemoveLoggedFolder(own, path, status)) restart = TRUE;
        } else {
            status->code = 0;
        }
    }
    return restart;
}

BOOL RemoveInstallation(HWND owner, char* log, const char* logFolder, ErrorStatus* status)
{
    char* keys = NULL;
    DWORD capacity = 0;
    BOOL restart = FALSE;
    HWND window = NULL;
    BOOL ownerWasEnabled = FALSE;
    OwnFile own;
    FindOwnFile(&own);
    LeaveCurrentFolder();

    GetScriptKeyList(log, "UninstallFiles", &keys, &capacity, status);
    if (!status->code) {
        window = CreatePlainProgressWindow(owner);
        if (window) {
            ShowWindow(GetDlgItem(window, IDC_PLAIN_PROGRESS_BAR), SW_HIDE);
            ownerWasEnabled = ShowProgressWindow(owner, window);
        }

        // Files: the main program and components are unregistered before they go.
        for (const char* path = keys; *path && !status->code; path = NextKey(path)) {
            ShowStep(window, IDS_REMOVING, NameOf(path));
            // An entry outside the installed folder was not made by the install.
            if (PlaceOfPath(path, logFolder) == PathOutside) continue;
            if (!FileExists(path, status)) {
                status->code = 0;
                continue;
            }
            char value[256];
            GetScriptValue(log, "UninstallFiles", path, "", value, sizeof value);
            DWORD flags = ParseDecimal(value);
            if (flags & FlagMainProgram) {
                ShowStep(window, IDS_UNREGISTERING, NameOf(path));
                char commandLine[324];
                FormatText(commandLine, sizeof commandLine, "\"%s\" /UnregAll", path);
                DWORD exitCode;
                RunAndWait(path, commandLine, &exitCode);
            }
            if (flags & FlagComponent) {
                ShowStep(window, IDS_UNREGISTERING, NameOf(path));
                UnregisterComponent(window, path);
            }
            if (RemoveLoggedFile(&own, path, status)) restart = TRUE;
        }

        // Folders listed among the files, then the folders that the install created.
        if (RemoveFolders(window, keys, logFolder, &own, status)) restart = TRUE;
        if (!status->code) {
            GetScriptKeyList(log, "UninstallDirs", &keys, &capacity, status);
            if (!status->code && RemoveFolders(window, keys, logFolder, &own, status)) restart = TRUE;
        }

        ShowStep(window, IDS_UPDATING_REGISTRY, NULL);
        if (!status->code) RemoveRegistryEntries(log, &keys, &capacity, status);
        ShowStep(window, IDS_REMOVING_SHORTCUTS, NULL);
    }

    restart = RemoveShortcuts(restart, log, status);

    if (window) DestroyProgressWindow(owner, window, ownerWasEnabled);
    if (keys) GlobalFree(keys);
    if (status->code) return FALSE;

    if (!restart) {
        MessageBoxById(owner, IDS_REMOVED, IDS_SETUP_TITLE, MB_ICONINFORMATION);
        return FALSE;
    }
    if (MessageBoxById(owner, IDS_RESTART_REMOVAL, IDS_SETUP_TITLE, MB_YESNO | MB_ICONQUESTION) == IDYES) return TRUE;
    MessageBoxById(owner, IDS_REMOVAL_PUT_OFF, IDS_SETUP_TITLE, MB_ICONINFORMATION);
    return FALSE;
}
