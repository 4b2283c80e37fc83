#include "install/file_ops.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "resources/resource.h"

static const DWORD CopyBlockSize = 2048;

void JoinPath(const char* folder, const char* name, char* buffer)
{
    CopyText(folder, buffer, MAX_PATH);
    unsigned length = lstrlenA(buffer);
    char* end = buffer + length;
    unsigned left = MAX_PATH - length;
    if (length >= 1 && length <= 258 && buffer[length - 1] != '\\')
        AppendAtCursor("\\", &end, &left);
    AppendAtCursor(name, &end, &left);
}

BOOL JoinPathWhole(const char* folder, const char* name, char* buffer, ErrorStatus* status)
{
    unsigned length = lstrlenA(folder);
    const char* separator = length && folder[length - 1] != '\\' ? "\\" : "";
    return JoinPathParts(buffer, MAX_PATH, status, folder, separator, name, (const char*)NULL);
}

HANDLE CreateTargetFile(const char* path)
{
    const DWORD blocking = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, NULL);
    DWORD attributes;
    if (file != INVALID_HANDLE_VALUE) {
        // Some platforms let a replaced file keep its attributes; the copy has its own. A new
        // file has only the archive attribute and needs no look.
        if (GetLastError() != ERROR_ALREADY_EXISTS) return file;
        attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & blocking))
            SetFileAttributesA(path, FILE_ATTRIBUTE_ARCHIVE);
        return file;
    }
    if (GetLastError() != ERROR_ACCESS_DENIED) return file;
    // Overwriting a hidden or system file without naming those attributes is denied like
    // writing a read-only one; none of them is a file in use, so clear them all and retry.
    attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & blocking)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (!SetFileAttributesA(path, attributes & ~blocking)) return INVALID_HANDLE_VALUE;
    return CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, NULL);
}

// Copies the source's bytes and last-write time; only the archive attribute is set on the
// target, whatever the source carries.
BOOL CopyFileWithProgress(const char* source, const char* target, ProgressCallback callback, void* context)
{
    HANDLE in = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (in == INVALID_HANDLE_VALUE) return FALSE;

    FILETIME lastWrite;
    BOOL haveTime = GetFileTime(in, NULL, NULL, &lastWrite);

    HANDLE out = CreateTargetFile(target);
    if (out == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        CloseHandle(in);
        SetLastError(error);
        return FALSE;
    }

    DWORD error = 0;
    BYTE block[CopyBlockSize];
    for (;;) {
        DWORD read = 0, written = 0;
        if (!ReadFile(in, block, sizeof block, &read, NULL)) {
            error = GetLastError();
            break;
        }
        if (!read) break;
        if (!WriteFile(out, block, read, &written, NULL)) {
            error = GetLastError();
            break;
        }
        if (written < read) {
            error = (DWORD)E_UNEXPECTED;
            break;
        }
        if (callback) callback(read, context);
    }

    if (haveTime) SetFileTime(out, NULL, NULL, &lastWrite);
    CloseHandle(out);
    if (error) DeleteFileA(target);
    CloseHandle(in);
    if (error) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

void MakeTempFileName(char* buffer)
{
    buffer[0] = 0;
    char folder[MAX_PATH];
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (!length || length >= sizeof folder) return;
    if (!GetTempFileNameA(folder, "vds", 0, buffer)) buffer[0] = 0;
}

// A new empty file "vds*.tmp" in the target's folder; the buffer is empty when the folder
// refuses one (or the name would not fit).
static void MakeStagingFileName(const char* target, char* buffer)
{
    buffer[0] = 0;
    char folder[MAX_PATH];
    CopyText(target, folder, sizeof folder);
    char* cut = NULL;
    for (char* p = folder; *p; p = CharNextA(p))
        if (*p == '\\') cut = p;
    if (!cut) return;
    cut[1] = 0;
    // The folder, the name "vdsXXXX.tmp" and its NUL must fit in MAX_PATH.
    if (cut + 1 - folder > MAX_PATH - 14) return;
    if (!GetTempFileNameA(folder, "vds", 0, buffer)) buffer[0] = 0;
}

// Looks a path up; TRUE and what its folder's listing says of it when found, else FALSE with
// the lookup's error.
static BOOL FindPath(const char* path, WIN32_FIND_DATAA* found, DWORD* error)
{
    HANDLE search = FindFirstFileA(path, found);
    if (search == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return FALSE;
    }
    FindClose(search);
    return TRUE;
}

// Looks a path up; TRUE and its attributes when found, else FALSE with the lookup's error.
static BOOL LookUp(const char* path, DWORD* attributes, DWORD* error)
{
    WIN32_FIND_DATAA found;
    if (!FindPath(path, &found, error)) return FALSE;
    *attributes = found.dwFileAttributes;
    return TRUE;
}

BOOL FileExists(const char* path, ErrorStatus* status)
{
    DWORD attributes = 0, error = 0;
    if (LookUp(path, &attributes, &error)) return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (error != ERROR_FILE_NOT_FOUND) SetStatus(status, error, 0);
    return FALSE;
}

BOOL FolderExists(const char* path, ErrorStatus* status)
{
    DWORD attributes = 0, error = 0;
    if (LookUp(path, &attributes, &error)) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) SetStatus(status, error, 0);
    return FALSE;
}

static bool IsDotOrDotDot(const char* name)
{
    return name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2]));
}

BOOL IsFolderEmpty(const char* folder, ErrorStatus* status)
{
    char pattern[MAX_PATH];
    JoinPath(folder, "*", pattern);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return TRUE;
    BOOL empty = TRUE;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsDotOrDotDot(entry.cFileName)) {
            empty = FALSE;
            break;
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return empty;
}

static ULONGLONG FoundSize(const WIN32_FIND_DATAA* found)
{
    return (ULONGLONG)found->nFileSizeHigh << 32 | found->nFileSizeLow;
}

// Sizes come from the listings: opening every file only to ask its size cost the install run
// a server round trip per file under Wine. A file that cannot be read fails when it is copied.
ULONGLONG GetFolderSize(const char* folder, ErrorStatus* status)
{
    char pattern[MAX_PATH];
    JoinPath(folder, "*", pattern);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    ULONGLONG sum = 0;
    do {
        if (status->code) break;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            sum += FoundSize(&entry);
        } else if (!IsDotOrDotDot(entry.cFileName)) {
            char path[MAX_PATH];
            JoinPath(folder, entry.cFileName, path);
            sum += GetFolderSize(path, status);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return sum;
}

ULONGLONG GetFileSizeChecked(const char* path, ErrorStatus* status)
{
    if (status->code) return 0;
    // A pattern would find other files; opening a folder as a file is denied.
    DWORD error = ERROR_INVALID_NAME;
    WIN32_FIND_DATAA found;
    if (IndexOfChar(path, '*') < 0 && IndexOfChar(path, '?') < 0 && FindPath(path, &found, &error)) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return FoundSize(&found);
        error = ERROR_ACCESS_DENIED;
    }
    SetStatus(status, error, IDS_UNABLE_TO_OPEN_FILE, path);
    return 0;
}

// The short (8.3) form of a path; FALSE with the last error when there is none or it does
// not fit.
static BOOL ShortPath(const char* path, char* buffer)
{
    DWORD length = GetShortPathNameA(path, buffer, MAX_PATH);
    if (!length) return FALSE;
    if (length >= MAX_PATH) {
        buffer[0] = 0;
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    return TRUE;
}

static bool BeginsWithRename(const char* line)
{
    char head[9];
    int i = 0;
    for (; i < 8 && line[i]; i++) head[i] = line[i];
    head[i] = 0;
    return i == 8 && lstrcmpiA(head, "[rename]") == 0;
}

// Adds "new=existing" as the last line of the "[rename]" section of the Windows 9x restart
// list, creating the section (and the file) when missing.
static BOOL AddToRenameList(const char* existingShort, const char* newShort)
{
    char windows[MAX_PATH], listPath[MAX_PATH];
    DWORD length = GetWindowsDirectoryA(windows, sizeof windows);
    if (!length || length >= sizeof windows) return FALSE;
    JoinPath(windows, "wininit.ini", listPath);

    HANDLE file = CreateFileA(listPath, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return FALSE;
        file = CreateFileA(listPath, GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, 0, NULL);
        if (file == INVALID_HANDLE_VALUE) return FALSE;
        WriteText(file, "[rename]\r\n", 0xFFFFFFFF);
        WriteText(file, newShort, 0xFFFFFFFF);
        WriteText(file, "=", 1);
        WriteText(file, existingShort, 0xFFFFFFFF);
        WriteText(file, "\r\n", 2);
        CloseHandle(file);
        return TRUE;
    }

    DWORD size = GetFileSize(file, NULL);
    char* text = size == INVALID_FILE_SIZE ? NULL : (char*)GlobalAlloc(GMEM_FIXED, size + 1);
    DWORD read = 0;
    BOOL ok = text && ReadFile(file, text, size, &read, NULL) && read == size;
    DWORD error = ok ? 0 : GetLastError();
    CloseHandle(file);
    if (!ok) {
        if (text) GlobalFree(text);
        SetLastError(error ? error : ERROR_READ_FAULT);
        return FALSE;
    }
    text[size] = 0;

    file = CreateFileA(listPath, GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        GlobalFree(text);
        SetLastError(error);
        return FALSE;
    }

    // The section runs from its header to the next line that opens a section.
    const char* line = text;
    while (*line && !BeginsWithRename(line)) line = NextLine(line);
    const char* sectionEnd = text + size;
    if (*line) {
        for (const char* next = NextLine(line); *next; next = NextLine(next))
            if (*next == '[') {
                sectionEnd = next;
                break;
            }
    }

    if (sectionEnd != text) WriteText(file, text, (DWORD)(sectionEnd - text));
    char before = sectionEnd != text ? sectionEnd[-1] : 0;
    bool endsInLineBreak = before == '\r' || before == '\n';
    if (!*line) {
        if (size && !endsInLineBreak) WriteText(file, "\r\n", 2);
        WriteText(file, "[rename]\r\n", 0xFFFFFFFF);
    } else if (!endsInLineBreak) {
        WriteText(file, "\r\n", 2);
    }
    WriteText(file, newShort, 0xFFFFFFFF);
    WriteText(file, "=", 1);
    WriteText(file, existingShort, 0xFFFFFFFF);
    WriteText(file, "\r\n", 2);
    if (*sectionEnd) WriteText(file, sectionEnd, 0xFFFFFFFF);
    CloseHandle(file);
    GlobalFree(text);
    return TRUE;
}

BOOL MoveFileAtRestart(const char* existingPath, const char* newPath, DWORD flags)
{
    if (IsWindowsNT) return MoveFileExA(existingPath, newPath, flags);

    if (flags & ~(DWORD)(MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT)) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    char existingShort[MAX_PATH], newShort[MAX_PATH];
    if (!ShortPath(existingPath, existingShort)) return FALSE;
    if (!newPath) CopyText("NUL", newShort, sizeof newShort);
    else if (!ShortPath(newPath, newShort)) return FALSE;
    return AddToRenameList(existingShort, newShort);
}

BOOL CopyOrReplaceAtRestart(const char* source, const char* target, HWND owner, BOOL allowRestart,
                            ProgressCallback callback, void* context, ErrorStatus* status)
{
    if (status->code) return FALSE;
    if (!CopyFileWithProgress(source, target, callback, context))
        SetStatus(status, GetLastError(), IDS_UNABLE_TO_COPY, source, target);
    if ((status->code != ERROR_SHARING_VIOLATION && status->code != ERROR_ACCESS_DENIED) || !allowRestart)
        return FALSE;

    // The target is in use: the new file waits beside it until the restart, since the
    // restart moves files only within one volume; only a folder that refuses a new file
    // sends it to the temporary folder.
    status->code = 0;
    char temporary[MAX_PATH];
    MakeStagingFileName(target, temporary);
    if (!temporary[0]) MakeTempFileName(temporary);
    if (!temporary[0]) SetStatus(status, GetLastError(), 0);
    if (!status->code && !CopyFileWithProgress(source, temporary, callback, context))
        SetStatus(status, GetLastError(), 0);
    if (!status->code && !MoveFileAtRestart(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT))
        SetStatus(status, GetLastError(), 0);
    if (status->code && temporary[0]) DeleteFileA(temporary);
    return !status->code;
}

BOOL IsValidPathChar(char character)
{
    unsigned char c = (unsigned char)character;
    if (c < 32) return FALSE;
    switch (c) {
    case '"': case '*': case '/': case ':': case '<': case '>': case '?': case '\\': case '|':
        return FALSE;
    }
    return TRUE;
}

// Skips one or more valid characters; NULL when there is none.
static const char* SkipName(const char* p)
{
    if (!IsValidPathChar(*p)) return NULL;
    while (IsValidPathChar(*p)) p++;
    return p;
}

// Where the components of a valid path begin (just past the root's or share's backslash, or
// at the end of a share without one), or NULL when the head is not a drive or UNC head.
static const char* SkipHead(const char* path, bool* isUnc)
{
    const char* p = path;
    if (p[0] == '\\' && p[1] == '\\') {
        *isUnc = true;
        p = SkipName(p + 2);
        if (!p || *p != '\\') return NULL;
        return SkipName(p + 1);
    }
    *isUnc = false;
    if (IsCharAlphaA(p[0]) && p[1] == ':' && p[2] == '\\' && p[3] != '\\') return p + 3;
    return NULL;
}

BOOL IsValidFolderPath(const char* path)
{
    bool isUnc;
    const char* p = SkipHead(path, &isUnc);
    if (!p) return FALSE;
    if (!isUnc)
        while (IsValidPathChar(*p)) p++;
    while (*p) {
        if (*p != '\\') return FALSE;
        p = SkipName(p + 1);
        if (!p) return FALSE;
    }
    return TRUE;
}

// The first `length` characters of the path, cut to MAX_PATH - 1.
static void PathPrefix(const char* path, unsigned length, char* buffer)
{
    CopyText(path, buffer, length + 1 < MAX_PATH ? length + 1 : MAX_PATH);
}

BOOL CreateFolderPath(HWND owner, const char* path, ErrorStatus* status)
{
    if (status->code) return FALSE;
    if (!IsValidFolderPath(path)) SetStatus(status, ERROR_BAD_PATHNAME, 0);

    if (!status->code && path[0] != '\\') {
        char root[4];
        CopyText(path, root, sizeof root);
        switch (GetDriveTypeA(root)) {
        case DRIVE_NO_ROOT_DIR: SetStatus(status, ERROR_PATH_NOT_FOUND, 0); break;
        case DRIVE_CDROM: SetStatus(status, ERROR_ACCESS_DENIED, 0); break;
        }
    }

    if (!status->code) {
        DWORD attributes = 0, error = 0;
        if (LookUp(path, &attributes, &error)) {
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) SetStatus(status, ERROR_FILE_EXISTS, 0);
            return FALSE;
        }
        switch (error) {
        case ERROR_PATH_NOT_FOUND: SetStatus(status, ERROR_FILE_NOT_FOUND, 0); break;
        case ERROR_BAD_NETPATH: case 2106: SetStatus(status, ERROR_PATH_NOT_FOUND, 0); break;
        default: SetStatus(status, error, 0); break;
        }
    }
    if (status->code != ERROR_FILE_NOT_FOUND) return FALSE;
    status->code = 0;

    bool isUnc;
    const char* components = SkipHead(path, &isUnc);
    if (isUnc) {
        // The share itself must be there; only the folders below it are made.
        char head[MAX_PATH];
        PathPrefix(path, (unsigned)(components - path), head);
        DWORD attributes = 0, error = 0;
        if (components - path >= MAX_PATH) {
            SetStatus(status, ERROR_FILENAME_EXCED_RANGE, 0);
            return FALSE;
        }
        if (!LookUp(head, &attributes, &error)) {
            SetStatus(status, error, 0);
            return FALSE;
        }
        if (*components == '\\') components++;
    }
    if (!*components) return FALSE;

    if (owner && MessageBoxById(owner, IDS_ASK_CREATE_FOLDER, IDS_SETUP_TITLE, MB_YESNO | MB_ICONQUESTION, path) == IDNO)
        SetStatus(status, ERROR_CANCELLED, 0);

    BOOL created = FALSE;
    const char* end = components;
    while (!status->code && *end) {
        while (*end && *end != '\\') end++;
        if (end - path >= MAX_PATH) {
            // Never create a folder under a name cut to the buffer.
            SetStatus(status, ERROR_FILENAME_EXCED_RANGE, 0);
            break;
        }
        char folder[MAX_PATH];
        PathPrefix(path, (unsigned)(end - path), folder);
        if (*end) end++;

        DWORD attributes = 0, error = 0;
        if (LookUp(folder, &attributes, &error)) {
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) SetStatus(status, ERROR_FILE_EXISTS, 0);
        } else if (CreateDirectoryA(folder, NULL)) {
            created = TRUE;
        } else {
            SetStatus(status, GetLastError(), 0);
        }
    }
    return created;
}

const char* NextLine(const char* text)
{
    while (*text && *text != '\r' && *text != '\n') text++;
    while (*text == '\r' || *text == '\n') text++;
    return text;
}

BOOL WriteText(HANDLE file, const char* text, DWORD length)
{
    if (length == 0xFFFFFFFF) length = lstrlenA(text);
    DWORD written = 0;
    return WriteFile(file, text, length, &written, NULL) && written == length;
}
