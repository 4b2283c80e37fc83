#include "install/registration.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/script.h"
#include "install/file_ops.h"
#include "install/install_log.h"
#include "resources/resource.h"
#include "core/setup_context.h"

static BOOL EndsWithExe(const char* path)
{
    int length = lstrlenA(path);
    return length > 4 && !lstrcmpiA(path + length - 4, ".exe");
}

void RegisterComponent(HWND owner, const char* path)
{
    if (EndsWithExe(path)) {
        char commandLine[520];
        FormatText(commandLine, sizeof commandLine, "\"%s\" /RegServer", path);
        DWORD exitCode = 0;
        // A server that cannot even be started has not registered either.
        if (!RunAndWait(path, commandLine, &exitCode) || exitCode != 0)
            MessageBoxById(owner, IDS_REGISTER_PROGRAM_FAILED, IDS_SETUP_TITLE, MB_ICONWARNING, path);
        return;
    }
    HMODULE library = LoadLibraryA(path);
    if (!library) return;
    typedef HRESULT(STDAPICALLTYPE * EntryPoint)();
    EntryPoint registerServer = (EntryPoint)GetProcAddress(library, "DllRegisterServer");
    if (registerServer) {
        HRESULT result = registerServer();
        if (FAILED(result))
            MessageBoxById(owner, IDS_REGISTER_DLL_FAILED, IDS_SETUP_TITLE, MB_ICONWARNING, path, (unsigned long)result);
    }
    FreeLibrary(library);
}

// Deletes one replaced file; TRUE when it could only be left for the next restart.
static BOOL DeleteReplacedFile(const char* path, ErrorStatus* status)
{
    if (DeleteFileA(path)) return FALSE;
    DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED) {
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
            DeleteFileA(path);
        }
        if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return FALSE;
    } else if (error != ERROR_SHARING_VIOLATION) {
        SetStatus(status, error, IDS_PLAIN_TEXT, path);
        return FALSE;
    }
    if (MoveFileAtRestart(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT)) return TRUE;
    SetStatus(status, GetLastError(), 0);
    return FALSE;
}

BOOL RemoveOnInstall(char* script, const SetupContext* context, const char* key, PendingChange** list,
                     ErrorStatus* status)
{
    if (status->code) return FALSE;
    char value[512];
    GetScriptValue(script, "RemoveOnInstall", key, "", value, sizeof value);
    BOOL scheduled = FALSE;
    char* part = value;
    while (part && *part && !status->code) {
        char* next = NULL;
        int bar = IndexOfChar(part, '|');
        if (bar >= 0) {
            part[bar] = 0;
            next = part + bar + 1;
        }
        // An empty part ("a||b", a trailing "|") would name the installation folder itself.
        if (*part) {
            char path[MAX_PATH];
            // A cut path could name the live file that replaced the old one.
            if (JoinPathParts(path, sizeof path, status, context->installDir, "\\", part, (const char*)NULL)
                && FileExists(path, status)) {
                if (DeleteReplacedFile(path, status)) scheduled = TRUE;
                if (list && !status->code) NotePendingChange(list, path, RemoveLogEntry, status);
            }
        }
        part = next;
    }
    return scheduled;
}
