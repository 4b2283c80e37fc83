#include "install/shortcuts.h"
#include <shlobj.h>
#include "controls/progress_window.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/script.h"
#include "install/file_ops.h"
#include "install/install_log.h"
#include "install/path_removal.h"
#include "resources/resource.h"
#include "core/setup_context.h"

static const char ShortcutSection[] = "UninstallShortcuts";

static void StoreResult(HRESULT result, ErrorStatus* status) { SetStatus(status, (DWORD)result, 0); }

BOOL GetSpecialFolderPath(HWND owner, int folderId, char* buffer, ErrorStatus* status)
{
    buffer[0] = 0;
    if (status->code) return FALSE;
    IMalloc* allocator = NULL;
    HRESULT result = SHGetMalloc(&allocator);
    if (FAILED(result)) {
        StoreResult(result, status);
        return FALSE;
    }
    BOOL found = FALSE;
    LPITEMIDLIST folder = NULL;
    result = SHGetSpecialFolderLocation(owner, folderId, &folder);
    if (FAILED(result)) {
        StoreResult(result, status);
    } else {
        found = SHGetPathFromIDListA(folder, buffer) && buffer[0];
        allocator->Free(folder);
    }
    allocator->Release();
    if (!found) buffer[0] = 0;
    return found;
}

// True when the text has a "[UninstallShortcuts]" header line.
static BOOL HasShortcutSection(const char* text)
{
    const int length = sizeof ShortcutSection - 1;
    for (const char* line = text; *line; line = NextLine(line)) {
        if (line[0] != '[') continue;
        char name[sizeof ShortcutSection];
        CopyText(line + 1, name, sizeof name);
        if (!lstrcmpiA(name, ShortcutSection) && line[1 + length] == ']') return TRUE;
    }
    return FALSE;
}

// The writer changes only sections that exist, so a log that never had shortcuts gets the
// section at its end first.
static void AddShortcutSection(char** text, ErrorStatus* status)
{
    if (HasShortcutSection(*text)) return;
    static const char header[] = "\r\n[UninstallShortcuts]\r\n";
    DWORD length = lstrlenA(*text);
    BOOL needsBreak = length && (*text)[length - 1] != '\n' && (*text)[length - 1] != '\r';
    char* grown = (char*)GlobalAlloc(GMEM_FIXED, length + 2 + sizeof header);
    if (!grown) {
        SetStatus(status, GetLastError(), 0);
        return;
    }
    CopyMemory(grown, *text, length);
    char* end = grown + length;
    if (needsBreak) {
        *end++ = '\r';
        *end++ = '\n';
    }
    CopyMemory(end, header, sizeof header);
    GlobalFree(*text);
    *text = grown;
}

// Records a shortcut or a shortcut folder that this step made: "4" in an update's log text,
// "0" in a fresh install's log.
static void RecordShortcut(const char* path, LogText* installLog, char** updateLog, ErrorStatus* status)
{
    if (updateLog) {
        if (*updateLog) {
            AddShortcutSection(updateLog, status);
            SetScriptValue(updateLog, ShortcutSection, path, "4", status);
        }
    } else if (installLog) {
        AddLogLine(installLog, path, "0", status);
    }
}

// The name cut to at most room bytes, at a character boundary.
static void CutName(const char* name, int room, char* fitting)
{
    const char* end = name;
    for (const char* next; *end; end = next) {
        next = CharNextA(end);
        if (next - name > room) break;
    }
    lstrcpynA(fitting, name, (int)(end - name) + 1);
}

void SaveShortcut(const char* folder, const char* name, IPersistFile* link, LogText* installLog, char** updateLog,
                  HWND progressWindow, BOOL* stop, ErrorStatus* status)
{
    if (status->code) return;
    char folderPath[MAX_PATH], path[MAX_PATH];
    JoinPath(folder, "", folderPath);
    // The name is display text and may be cut to fit; the folder may not, since a cut folder
    // would name another place.
    int room = MAX_PATH - 1 - lstrlenA(folderPath) - 4;
    if (room < 1) {
        SetStatus(status, ERROR_FILENAME_EXCED_RANGE, IDS_PLAIN_TEXT, folder);
        return;
    }
    char fittingName[MAX_PATH];
    CutName(name, room, fittingName);
    JoinTexts(path, sizeof path, folderPath, fittingName, ".lnk", (const char*)NULL);

    WCHAR widePath[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH)) {
        SetStatus(status, GetLastError(), IDS_PLAIN_TEXT, path);
    } else {
        HRESULT result = link->Save(widePath, TRUE);
        if (FAILED(result)) StoreResult(result, status);
        else RecordShortcut(path, installLog, updateLog, status);
    }

    if (status->code == ERROR_ACCESS_DENIED || status->code == (DWORD)E_ACCESSDENIED) {
        MessageBoxById(progressWindow, IDS_SHORTCUT_FAILED, IDS_SETUP_TITLE, MB_ICONWARNING, name);
        status->code = 0;
        if (stop) *stop = TRUE;
    }
}

// The state of one shortcut step.
struct ShortcutRun {
    ProgressRecord* progress;
    HWND window;  // the progress window: step texts, owner of the warnings
    char* script;
    SetupContext* context;
    LogText* installLog;
    char** updateLog;
    BOOL* comStarted;
    BOOL headerWritten;
};

static void ShowStep(const ShortcutRun* run, WORD textId)
{
    if (!run->window) return;
    char text[256];
    LoadResString(textId, text, sizeof text, NULL);
    ShowProgressText(run->progress, text);
    // Warnings may follow, and a box waits with the window as it stands.
    FlushProgress(run->progress);
}

static void WriteShortcutHeader(ShortcutRun* run, ErrorStatus* status)
{
    if (run->headerWritten || !run->installLog) return;
    AddLogText(run->installLog, "\r\n[UninstallShortcuts]\r\n", status);
    run->headerWritten = TRUE;
}

// COM (once per run) and a new shell link with its IPersistFile; NULLs on failure.
static void CreateLink(ShortcutRun* run, IShellLinkA** link, IPersistFile** file, ErrorStatus* status)
{
    *link = NULL;
    *file = NULL;
    if (status->code) return;
    if (!*run->comStarted) {
        HRESULT result = CoInitialize(NULL);
        if (FAILED(result)) {
            StoreResult(result, status);
            return;
        }
        *run->comStarted = TRUE;
    }
    HRESULT result = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)link);
    if (FAILED(result)) {
        *link = NULL;
        StoreResult(result, status);
        return;
    }
    result = (*link)->QueryInterface(IID_IPersistFile, (void**)file);
    if (FAILED(result)) {
        *file = NULL;
        StoreResult(result, status);
    }
}

static void ReleaseLink(IShellLinkA* link, IPersistFile* file)
{
    if (file) file->Release();
    if (link) link->Release();
}

// Points the link at the installed file and gives it its description.
static void PrepareLink(IShellLinkA* link, const char* installDir, const char* relativePath, const char* description,
                        ErrorStatus* status)
{
    char target[MAX_PATH];
    if (!JoinPathParts(target, sizeof target, status, installDir, "\\", relativePath, (const char*)NULL)) return;
    HRESULT result = link->SetPath(target);
    if (FAILED(result)) {
        StoreResult(result, status);
        return;
    }
    result = link->SetDescription(description);
    if (FAILED(result)) StoreResult(result, status);
}

static void MakeProgramFolderShortcuts(ShortcutRun* run, const char* keys, ErrorStatus* status)
{
    BOOL allUsers = (run->context->flags & AllUsersFlag) != 0;
    char folder[MAX_PATH];
    if (!GetSpecialFolderPath(run->window, allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, folder, status)) return;
    char shortcutFolder[MAX_PATH];
    if (!JoinPathParts(shortcutFolder, sizeof shortcutFolder, status, folder, "\\", run->context->programFolder,
                       (const char*)NULL))
        return;

    BOOL created = CreateFolderPath(NULL, shortcutFolder, status);
    if (status->code == ERROR_ACCESS_DENIED) {
        MessageBoxById(run->window, IDS_SHORTCUT_FOLDER_FAILED, IDS_SETUP_TITLE, MB_ICONWARNING, shortcutFolder);
        status->code = 0;
        return;
    }
    if (status->code) return;
    // An update over the earlier release makes the folder under the new title.
    if (created) RecordShortcut(shortcutFolder, run->installLog, run->updateLog, status);

    IShellLinkA* link;
    IPersistFile* file;
    CreateLink(run, &link, &file, status);
    BOOL stop = FALSE;
    for (const char* key = keys; *key && !status->code && !stop; key = NextKey(key)) {
        char name[260];
        GetScriptValue(run->script, MAKEINTRESOURCEA(IDS_SECTION_INSTALL_SHORTCUTS), key, "", name, sizeof name);
        PrepareLink(link, run->context->installDir, key, name, status);
        SaveShortcut(shortcutFolder, name, file, run->installLog, run->updateLog, run->window, &stop, status);
    }
    ReleaseLink(link, file);
}

static void MakeDesktopShortcut(ShortcutRun* run, ErrorStatus* status)
{
    char relativePath[260], name[260];
    // Without a target the link points at the installation folder; only a missing
    // description, not an empty one, takes the target's name.
    GetScriptValue(run->script, "Destination", "DesktopShortcut", "", relativePath, sizeof relativePath);
    GetScriptValue(run->script, "Destination", "DesktopShortcutDescription", relativePath, name, sizeof name);

    ShowStep(run, IDS_CREATING_DESKTOP_SHORTCUT);
    WriteShortcutHeader(run, status);
    BOOL allUsers = (run->context->flags & AllUsersFlag) != 0;
    char desktop[MAX_PATH];
    if (!GetSpecialFolderPath(run->window, allUsers ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOP, desktop, status))
        return;

    IShellLinkA* link;
    IPersistFile* file;
    CreateLink(run, &link, &file, status);
    if (!status->code) PrepareLink(link, run->context->installDir, relativePath, name, status);
    SaveShortcut(desktop, name, file, run->installLog, run->updateLog, run->window, NULL, status);
    ReleaseLink(link, file);
}

void CreateShortcuts(ProgressRecord* progress, char* script, SetupContext* context, BOOL update,
                     BOOL earlierRelease, LogText* installLog, char** updateLog, BOOL* restart, BOOL* comStarted,
                     ErrorStatus* status)
{
    if (status->code) return;
    // Without the caller's flag, COM is ended here.
    BOOL ownCom = FALSE;
    BOOL* comFlag = comStarted ? comStarted : &ownCom;
    ShortcutRun run;
    run.progress = progress;
    run.window = progress ? progress->window : NULL;
    run.script = script;
    run.context = context;
    run.installLog = update ? NULL : installLog;
    run.updateLog = update ? updateLog : NULL;
    run.comStarted = comFlag;
    run.headerWritten = FALSE;
    char* oldLog = update && updateLog ? *updateLog : NULL;
    // Read before this step adds its own entries to the text.
    BOOL oldDesktopShortcut = oldLog && SectionHasKeyLike(oldLog, ShortcutSection, "\\Desktop\\");

    if (context->programFolder[0]) {
        ShowStep(&run, IDS_CREATING_SHORTCUTS);
        WriteShortcutHeader(&run, status);
        char* keys = NULL;
        DWORD capacity = 0;
        GetScriptKeyList(script, MAKEINTRESOURCEA(IDS_SECTION_INSTALL_SHORTCUTS), &keys, &capacity, status);
        if (earlierRelease && oldLog) {
            // The earlier release's shortcuts go first; where they were tells whether they
            // were made for all users.
            if (RemoveShortcuts(FALSE, oldLog, status) && restart) *restart = TRUE;
            if (SectionHasKeyLike(oldLog, ShortcutSection, "ProgramData")) context->flags |= AllUsersFlag;
        }
        if (!status->code) MakeProgramFolderShortcuts(&run, keys, status);
        if (keys) GlobalFree(keys);
    }

    if (oldDesktopShortcut) context->flags |= DesktopShortcutFlag;
    if (!status->code && (!update || earlierRelease) && (context->flags & DesktopShortcutFlag))
        MakeDesktopShortcut(&run, status);
    if (ownCom) CoUninitialize();
}
