#include "install/install_copy.h"
#include "install/install_state.h"
#include "controls/progress_window.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include "install/file_ops.h"
#include "install/install_log.h"
#include "core/setup_context.h"
#include "install/registration.h"
#include "resources/resource.h"

// An entry's value as the script writes it (that of the section's first entry with its key),
// and its flags.
static DWORD EntryFlags(const SectionIndex* entries, DWORD entry, char* value /* 256 */)
{
    GetEntryValue(entries, entry, value, 256);
    return ParseDecimal(value);
}

// Source and target of an entry: the same relative path under both folders, never cut.
static BOOL EntryPaths(InstallRun* run, const char* key, char* source, char* target, ErrorStatus* status)
{
    return JoinPathWhole(SetupFolder, key, source, status)
        && JoinPathWhole(run->context->installDir, key, target, status);
}

// Whether an entry stays out of this run: flag 1 on the NT family, or flag 4 with its source
// missing. The existence test may store an unexpected lookup error (a missing folder on the
// way to a file, for one), which ends the run.
static BOOL IsSkipped(const char* source, DWORD flags, BOOL folder, ErrorStatus* status)
{
    if (IsWindowsNT && (flags & FlagSkipOnNT)) return TRUE;
    if (!(flags & FlagOptional)) return FALSE;
    return folder ? !FolderExists(source, status) : !FileExists(source, status);
}

static void ExamplesSource(char* folder, ErrorStatus* status)
{
    LoadFormattedText(IDS_EXAMPLES_PATH, folder, MAX_PATH, status, SetupFolder);
}

static BOOL WantsExamples(InstallRun* run) { return (run->context->flags & ExampleFilesFlag) != 0; }

// Lists a folder's entries; the callback sees each one but "." and "..", while the status is
// clear.
typedef void (*EntryVisitor)(InstallRun* run, const char* folder, const WIN32_FIND_DATAA* found, void* extra,
                             ErrorStatus* status);

static void ListFolder(InstallRun* run, const char* folder, EntryVisitor visit, void* extra, ErrorStatus* status)
{
    char pattern[MAX_PATH];
    if (!JoinPathWhole(folder, "*", pattern, status)) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, "..")) continue;
        visit(run, folder, &found, extra, status);
    } while (!status->code && FindNextFileA(search, &found));
    FindClose(search);
}

static void AddExampleSize(InstallRun*, const char*, const WIN32_FIND_DATAA* found, void* extra, ErrorStatus*)
{
    if (!(found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        *(ULONGLONG*)extra += (ULONGLONG)found->nFileSizeHigh << 32 | found->nFileSizeLow;
}

ULONGLONG SumInstallSize(InstallRun* run, ErrorStatus* status)
{
    ULONGLONG sum = 0;
    char source[MAX_PATH], target[MAX_PATH], value[256];
    for (DWORD i = 0; !status->code && i < run->files.count; i++) {
        const char* key = run->files.entries[i].key;
        if (!*key) continue;  // an empty key names nothing and is not listed
        if (!EntryPaths(run, key, source, target, status)) break;
        if (!IsSkipped(source, EntryFlags(&run->files, i, value), FALSE, status) && !status->code)
            sum += GetFileSizeChecked(source, status);
    }
    for (DWORD i = 0; !status->code && i < run->dirs.count; i++) {
        const char* key = run->dirs.entries[i].key;
        if (!*key) continue;
        if (!EntryPaths(run, key, source, target, status)) break;
        if (IsSkipped(source, EntryFlags(&run->dirs, i, value), TRUE, status) || status->code) continue;
        // A required tree that is missing stops the run as a missing file does, rather than
        // leaving an empty folder behind.
        if (!FolderExists(source, status) && !status->code)
            SetStatus(status, ERROR_PATH_NOT_FOUND, IDS_UNABLE_TO_OPEN_FILE, source);
        sum += GetFolderSize(source, status);
    }
    if (WantsExamples(run) && !status->code) {
        ExamplesSource(source, status);
        if (!status->code) ListFolder(run, source, AddExampleSize, &sum, status);
    }
    return sum;
}

// Copies one file over its target; a target in use or denied is replaced at the next
// restart instead. Failures are in the status.
static void CopyInstalledFile(InstallRun* run, const char* source, const char* target, ErrorStatus* status)
{
    if (CopyOrReplaceAtRestart(source, target, NULL, TRUE, AdvanceProgress, &run->progress, status))
        run->restart = TRUE;
}

// A file of the install: its line in the fresh log, or a pending change when the installed
// log does not list it yet.
static void RecordFile(InstallRun* run, const char* target, DWORD value, ErrorStatus* status)
{
    if (status->code) return;
    if (run->update)
        NoteIfNotLogged(&run->loggedFiles, &run->pending, target, value, status);
    else
        AddLogEntry(&run->record.files, target, value, status);
}

// A nested key ("bin\x.exe") needs its folders inside the installation folder. Each one made
// here goes first in the record's list, so that inner folders come before outer ones.
static void MakeTargetFolders(InstallRun* run, const char* key, ErrorStatus* status)
{
    char base[MAX_PATH], folder[MAX_PATH];
    JoinPath(run->context->installDir, "", base);
    for (const char* p = key; *p && !status->code; p = CharNextA(p)) {
        if (*p != '\\' || p == key) continue;
        int length = lstrlenA(base) + (int)(p - key);
        if (length >= MAX_PATH) {
            // A cut path would name another folder.
            SetStatus(status, ERROR_FILENAME_EXCED_RANGE, IDS_PLAIN_TEXT, key);
            return;
        }
        JoinTexts(folder, length + 1, base, key, (const char*)NULL);
        if (FolderExists(folder, status) || status->code) continue;
        if (!CreateDirectoryA(folder, NULL)) {
            SetStatus(status, GetLastError(), IDS_PLAIN_TEXT, folder);
            return;
        }
        AddLogEntryFirst(&run->record.madeFolders, folder, 0, status);
    }
}

// The main program registers itself and the chosen file types.
static void StartMainProgram(InstallRun* run, const char* target)
{
    char commandLine[600];
    JoinTexts(commandLine, sizeof commandLine, "\"", target, "\" /RegServer /filetypes ", run->context->fileTypes,
              (const char*)NULL);
    DWORD exitCode;
    RunAndWait(target, commandLine, &exitCode);
}

void InstallFileEntries(InstallRun* run, ErrorStatus* status)
{
    char source[MAX_PATH], target[MAX_PATH], value[256];
    for (DWORD i = 0; !status->code && i < run->files.count; i++) {
        const char* key = run->files.entries[i].key;
        if (!*key) continue;
        DWORD flags = EntryFlags(&run->files, i, value);
        if (!EntryPaths(run, key, source, target, status)) break;
        if (IsWindowsNT && (flags & FlagSkipOnNT)) {
            AdvanceProgress(0, &run->progress);
            continue;
        }
        ShowProgressStep(&run->progress, run->installingText, key);
        if ((flags & FlagOptional) && !FileExists(source, status)) {
            AdvanceProgress(0, &run->progress);
            continue;
        }

        MakeTargetFolders(run, key, status);
        CopyInstalledFile(run, source, target, status);
        if (run->update && !status->code && RemoveOnInstall(run->script, run->context, key, &run->pending, status))
            run->restart = TRUE;
        RecordFile(run, target, flags, status);

        if ((flags & FlagMainProgram) && !status->code) {
            CopyText(source, run->mainSource, sizeof run->mainSource);
            CopyText(target, run->mainTarget, sizeof run->mainTarget);
            if (!run->update) {
                ShowProgressStep(&run->progress, run->registeringText, key);
                FlushProgress(&run->progress);
                StartMainProgram(run, target);
            }
        }
        if ((flags & FlagComponent) && !status->code) {
            ShowProgressStep(&run->progress, run->registeringText, key);
            // Registering starts programs and may warn.
            FlushProgress(&run->progress);
            RegisterComponent(run->progress.window ? run->progress.window : run->owner, target);
        }
        AdvanceProgress(0, &run->progress);
    }
}

// One folder of a tree: relative path and the entry's flags. Programs and components inside
// a tree are copied like any file: nothing is started or registered.
struct TreeCopy {
    const char* relative;
    DWORD flags;
};

static void CopyTree(InstallRun* run, const char* relative, DWORD flags, ErrorStatus* status);

static void CopyTreeEntry(InstallRun* run, const char* sourceFolder, const WIN32_FIND_DATAA* found, void* extra,
                          ErrorStatus* status)
{
    const TreeCopy* tree = (const TreeCopy*)extra;
    char relative[MAX_PATH], target[MAX_PATH];
    if (!JoinPathWhole(tree->relative, found->cFileName, relative, status)
        || !JoinPathWhole(run->context->installDir, relative, target, status))
        return;

    if (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        CopyTree(run, relative, tree->flags, status);
        if (status->code) return;
        // After all of its contents, so that inner folders come before outer ones.
        if (run->update) NoteIfNotLogged(&run->loggedFiles, &run->pending, target, 0, status);
        else AddLogEntry(&run->record.subfolders, target, tree->flags, status);
        return;
    }
    char source[MAX_PATH];
    if (!JoinPathWhole(sourceFolder, found->cFileName, source, status)) return;
    CopyInstalledFile(run, source, target, status);
    RecordFile(run, target, tree->flags, status);
}

static void CopyTree(InstallRun* run, const char* relative, DWORD flags, ErrorStatus* status)
{
    ShowProgressStep(&run->progress, run->installingText, relative);
    char source[MAX_PATH], target[MAX_PATH];
    if (!EntryPaths(run, relative, source, target, status)) return;
    CreateFolderPath(NULL, target, status);
    if (status->code) return;

    TreeCopy tree = { relative, flags };
    ListFolder(run, source, CopyTreeEntry, &tree, status);
    // A subfolder noted here as the top of its own copy is set to 0 by its parent afterwards.
    if (run->update) NoteIfNotLogged(&run->loggedFiles, &run->pending, target, 4, status);
}

void InstallFolderEntries(InstallRun* run, ErrorStatus* status)
{
    char source[MAX_PATH], target[MAX_PATH], value[256];
    for (DWORD i = 0; !status->code && i < run->dirs.count; i++) {
        const char* key = run->dirs.entries[i].key;
        if (!*key) continue;
        DWORD flags = EntryFlags(&run->dirs, i, value);
        if (!EntryPaths(run, key, source, target, status)) break;
        if (IsSkipped(source, flags, TRUE, status) || status->code) continue;
        // The tree's own line keeps its value as the script writes it.
        if (!run->update) AddLogLine(&run->record.trees, target, value, status);
        CopyTree(run, key, flags, status);
    }
}

static void CopyExampleFile(InstallRun* run, const char* sourceFolder, const WIN32_FIND_DATAA* found, void* extra,
                            ErrorStatus* status)
{
    if (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
    char source[MAX_PATH], target[MAX_PATH];
    if (!JoinPathWhole(sourceFolder, found->cFileName, source, status)
        || !JoinPathWhole((const char*)extra, found->cFileName, target, status))
        return;
    ShowProgressStep(&run->progress, run->installingText, found->cFileName);
    CopyInstalledFile(run, source, target, status);
    RecordFile(run, target, 0, status);
}

void InstallExampleFiles(InstallRun* run, ErrorStatus* status)
{
    if (status->code || !WantsExamples(run)) return;
    char source[MAX_PATH], target[MAX_PATH];
    if (!JoinPathWhole(run->context->installDir, "Examples", target, status)) return;
    if (CreateFolderPath(NULL, target, status)) RecordFile(run, target, 0, status);
    ExamplesSource(source, status);
    if (!status->code) ListFolder(run, source, CopyExampleFile, target, status);
}

void NoteMadeFolders(InstallRun* run, ErrorStatus* status)
{
    if (!run->update) return;
    // Each line is the path, "=0" and CR LF.
    for (const char* line = run->record.madeFolders.text; line && *line && !status->code; line = NextLine(line)) {
        char path[MAX_PATH];
        int length = IndexOfChar(line, '\r') - 2;
        CopyText(line, path, length + 1 < MAX_PATH ? length + 1 : MAX_PATH);
        NoteIfNotLogged(&run->loggedFiles, &run->pending, path, 0, status);
    }
}
