#include "install/install_log.h"
#include "install/file_ops.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/script.h"
#include "core/section_index.h"
#include "resources/resource.h"

static const char FilesSection[] = "UninstallFiles";

HANDLE CreateLogFile(const char* path, ErrorStatus* status)
{
    if (status->code) return INVALID_HANDLE_VALUE;
    HANDLE file = CreateTargetFile(path);
    if (file == INVALID_HANDLE_VALUE) SetStatus(status, GetLastError(), 0);
    return file;
}

void GetInstallLogPath(const char* installDir, char* buffer, ErrorStatus* status)
{
    // The string's "%s" takes the folder with its trailing backslash.
    char folder[MAX_PATH];
    JoinPath(installDir, "", folder);
    LoadFormattedPath(IDS_SCRIPT_PATH, buffer, MAX_PATH, status, folder);
}

HANDLE CreateInstallLog(const char* installDir, ErrorStatus* status)
{
    if (status->code) return INVALID_HANDLE_VALUE;
    char path[MAX_PATH];
    GetInstallLogPath(installDir, path, status);
    return CreateLogFile(path, status);
}

void WriteLogFile(const char* text, const char* path, ErrorStatus* status)
{
    HANDLE file = CreateLogFile(path, status);
    if (file == INVALID_HANDLE_VALUE) return;
    if (!WriteText(file, text, 0xFFFFFFFF)) {
        // A short write leaves no error of its own.
        DWORD error = GetLastError();
        SetStatus(status, error ? error : ERROR_WRITE_FAULT, 0);
    }
    CloseHandle(file);
}

// Room for `more` bytes and the NUL; the block at least doubles so that adding stays cheap.
static BOOL MakeRoom(LogText* log, DWORD more, ErrorStatus* status)
{
    if (status->code) return FALSE;
    if (log->text && log->length + more < log->capacity) return TRUE;
    DWORD capacity = log->capacity ? log->capacity : 1024;
    while (capacity <= log->length + more) capacity *= 2;
    char* grown = (char*)GlobalAlloc(GMEM_FIXED, capacity);
    if (!grown) {
        SetStatus(status, GetLastError(), 0);
        return FALSE;
    }
    if (log->text) {
        CopyMemory(grown, log->text, log->length + 1);
        GlobalFree(log->text);
    } else {
        grown[0] = 0;
    }
    log->text = grown;
    log->capacity = capacity;
    return TRUE;
}

void AddLogText(LogText* log, const char* text, ErrorStatus* status)
{
    DWORD length = lstrlenA(text);
    if (!MakeRoom(log, length, status)) return;
    CopyMemory(log->text + log->length, text, length + 1);
    log->length += length;
}

void AddLogLine(LogText* log, const char* key, const char* value, ErrorStatus* status)
{
    AddLogText(log, key, status);
    AddLogText(log, "=", status);
    AddLogText(log, value, status);
    AddLogText(log, "\r\n", status);
}

void AddLogEntry(LogText* log, const char* key, DWORD value, ErrorStatus* status)
{
    char number[16];
    FormatText(number, sizeof number, "%lu", value);
    AddLogLine(log, key, number, status);
}

void AddLogEntryFirst(LogText* log, const char* key, DWORD value, ErrorStatus* status)
{
    LogText line = { NULL, 0, 0 };
    AddLogEntry(&line, key, value, status);
    if (MakeRoom(log, line.length, status)) {
        MoveMemory(log->text + line.length, log->text, log->length + 1);
        CopyMemory(log->text, line.text, line.length);
        log->length += line.length;
    }
    FreeLogText(&line);
}

void FreeLogText(LogText* log)
{
    if (log->text) GlobalFree(log->text);
    log->text = NULL;
    log->length = log->capacity = 0;
}

void NotePendingChange(PendingChange** list, const char* path, DWORD value, ErrorStatus* status)
{
    if (status->code) return;
    PendingChange** link = list;
    for (; *link; link = &(*link)->next) {
        if (lstrcmpiA((*link)->path, path) == 0) {
            (*link)->value = value;
            return;
        }
    }
    unsigned length = lstrlenA(path);
    PendingChange* change = (PendingChange*)GlobalAlloc(GMEM_FIXED, sizeof(PendingChange) + length);
    if (!change) {
        SetStatus(status, GetLastError(), 0);
        return;
    }
    change->value = value;
    change->next = NULL;
    CopyText(path, change->path, length + 1);
    *link = change;
}

void NoteIfNotLogged(const SectionIndex* loggedFiles, PendingChange** list, const char* path, DWORD value,
                     ErrorStatus* status)
{
    if (status->code) return;
    char logged[16];
    if (loggedFiles && GetSectionValue(loggedFiles, path, "", logged, sizeof logged)) return;
    NotePendingChange(list, path, value, status);
}

void FreePendingChanges(PendingChange** list)
{
    while (*list) {
        PendingChange* next = (*list)->next;
        GlobalFree(*list);
        *list = next;
    }
}

void ApplyPendingChanges(char** logText, const PendingChange* list, ErrorStatus* status)
{
    for (const PendingChange* change = list; change && !status->code; change = change->next) {
        if (change->value == RemoveLogEntry) {
            SetScriptValue(logText, FilesSection, change->path, NULL, status);
        } else {
            char number[16];
            FormatText(number, sizeof number, "%u", change->value);
            SetScriptValue(logText, FilesSection, change->path, number, status);
        }
    }
}

// A UTF-16 text with its byte-order mark, in the ANSI code page; NULL when it cannot be had.
static char* FromUtf16(const char* bytes, DWORD size)
{
    const WCHAR* wide = (const WCHAR*)(bytes + 2);
    int count = (int)((size - 2) / 2);
    int length = count ? WideCharToMultiByte(CP_ACP, 0, wide, count, NULL, 0, NULL, NULL) : 0;
    char* text = (char*)GlobalAlloc(GMEM_FIXED, length + 1);
    if (!text) return NULL;
    if (count) WideCharToMultiByte(CP_ACP, 0, wide, count, text, length, NULL, NULL);
    text[length] = 0;
    // A character that the code page lacks, or a NUL, must still not join two lines.
    for (int i = 0; i < length; i++)
        if (!text[i]) text[i] = '\n';
    return text;
}

char* ReadInstallLog(const char* path, BOOL* damaged)
{
    if (damaged) *damaged = FALSE;
    DWORD size = 0;
    char* text = ReadWholeFileSized(path, &size);
    if (!text || (DWORD)lstrlenA(text) == size) return text;
    if (damaged) *damaged = TRUE;
    if (size >= 2 && (BYTE)text[0] == 0xFF && (BYTE)text[1] == 0xFE) {
        char* converted = FromUtf16(text, size);
        if (converted) {
            GlobalFree(text);
            return converted;
        }
    }
    for (DWORD i = 0; i < size; i++)
        if (!text[i]) text[i] = '\n';
    return text;
}

char* ReadLogForUpdate(const char* path, ErrorStatus* status)
{
    if (status->code) return NULL;
    BOOL damaged = FALSE;
    char* text = ReadInstallLog(path, &damaged);
    if (text && damaged) {
        GlobalFree(text);
        text = NULL;
        SetStatus(status, ERROR_FILE_CORRUPT, IDS_LOG_DAMAGED, path);
    }
    return text;
}

void ApplyPendingChangesToLog(const char* logPath, const PendingChange* list, ErrorStatus* status)
{
    if (status->code || !list) return;
    char* text = ReadLogForUpdate(logPath, status);
    if (!text) return;
    ApplyPendingChanges(&text, list, status);
    if (!status->code) WriteLogFile(text, logPath, status);
    GlobalFree(text);
}
