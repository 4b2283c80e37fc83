// The install log's building blocks: the log "setup.ini" in the installation folder, texts of
// entry lines kept in memory while a run goes, and the update's pending-change list that is
// applied to the log's "[UninstallFiles]".
//
// An entry line is the key, "=", the value and CR LF. Nothing is ever written beside the setup
// program: its folder may be read-only media, or shared by several machines.
#pragma once
#include <windows.h>

struct ErrorStatus;
struct SectionIndex;

// The value that takes an entry out of the log instead of setting it.
const DWORD RemoveLogEntry = 0xFFFFFFFF;

// One noted change of an update: the flags to store for a path, or RemoveLogEntry. Each node
// is one GlobalAlloc block sized for its path.
struct PendingChange {
    DWORD value;
    PendingChange* next;
    char path[1];  // NUL-terminated full path
};

// Creates or truncates a log file for writing (no sharing, archive attribute); a read-only
// file is made writable and the create tried once more. INVALID_HANDLE_VALUE on failure,
// with the system's code in the status.
HANDLE CreateLogFile(const char* path, ErrorStatus* status);

// "setup.ini" in the installation folder (given without its trailing backslash).
void GetInstallLogPath(const char* installDir, char* buffer /* MAX_PATH */, ErrorStatus* status);
HANDLE CreateInstallLog(const char* installDir, ErrorStatus* status);

// Writes the text up to its NUL over the log file, made writable first when it is read-only.
// A failure stores the system's code; a text that did not reach the disk whole is a failure.
void WriteLogFile(const char* text, const char* path, ErrorStatus* status);

// A text that grows as lines are added: one GlobalAlloc block, NUL-ended once anything was
// added (text NULL before). A block that cannot grow stores the system's code.
struct LogText {
    char* text;
    DWORD length;
    DWORD capacity;
};

void AddLogText(LogText* log, const char* text, ErrorStatus* status);
// "key=value\r\n", the value in decimal or as the text given.
void AddLogEntry(LogText* log, const char* key, DWORD value, ErrorStatus* status);
void AddLogLine(LogText* log, const char* key, const char* value, ErrorStatus* status);
// The line goes before every line already there.
void AddLogEntryFirst(LogText* log, const char* key, DWORD value, ErrorStatus* status);
void FreeLogText(LogText* log);

// Notes a path (compared without regard to case): a path already in the list gets the new
// value, a new one goes at the end. A failed allocation stores the system's code.
void NotePendingChange(PendingChange** list, const char* path, DWORD value, ErrorStatus* status);

// Notes the path only when the log's "[UninstallFiles]" (its index, section_index.h; NULL or
// empty when no log was read) has no entry, or an empty one, for it.
void NoteIfNotLogged(const SectionIndex* loggedFiles, PendingChange** list, const char* path, DWORD value,
                     ErrorStatus* status);

// Frees every node and empties the list.
void FreePendingChanges(PendingChange** list);

// Applies the list in its order to "[UninstallFiles]" of the text in memory (which may move):
// RemoveLogEntry deletes the key, any other value sets it in decimal.
void ApplyPendingChanges(char** logText, const PendingChange* list, ErrorStatus* status);

// The install log as text, or NULL with the system's last error. A log that holds NUL bytes
// is damaged (*damaged tells, when given) and read as far as it can be: one saved as UTF-16
// with its byte-order mark is converted to the ANSI code page; any other NUL ends a line.
char* ReadInstallLog(const char* path, BOOL* damaged = NULL);

// The installed log for an update to change: NULL when it cannot be read (nothing is changed
// then), or, for a damaged log, NULL with ERROR_FILE_CORRUPT and the log's path in the status,
// since writing its text back would lose what follows the NUL bytes.
char* ReadLogForUpdate(const char* path, ErrorStatus* status);

// With a non-empty list: reads the log from disk, applies the list and writes the text back.
// A log that cannot be read is left alone; a damaged one is refused as ReadLogForUpdate says;
// a failed write-back stores the system's code.
void ApplyPendingChangesToLog(const char* logPath, const PendingChange* list, ErrorStatus* status);
