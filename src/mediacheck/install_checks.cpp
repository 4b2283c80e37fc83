#include "mediacheck/media_check.h"
#include "mediacheck/media_files.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/script.h"

const char DefaultInstallFolder[] = "C:\\Program Files\\Corvantis Vandrel";

static void AddNote(MediaCheck* check, const char* note)
{
    char* end = check->notes + lstrlenA(check->notes);
    unsigned left = sizeof check->notes - lstrlenA(check->notes);
    AppendAtCursor(note, &end, &left);
}

static const DWORD FlagSkipOnNT = 1, FlagMainProgram = 2, FlagOptional = 4, FlagComponent = 8;

bool CheckNamedPath(DWORD line, const char* what, const char* relative, bool folder, FoundPath* found)
{
    FindMediaPath(relative, found);
    switch (found->result) {
    case PathOutsideMedia:
        Report(line, SeverityError, "%s '%s' lies outside the media folder", what, relative);
        return false;
    case PathMissing:
    case PathFolderMissing:
        Report(line, SeverityError, "%s '%s' is missing from the media", what, relative);
        return false;
    case PathCaseDiffers:
        Report(line, SeverityWarning, "%s '%s' is '%s' on the media: a copy on a case-sensitive file system misses it",
               what, relative, found->actual);
        break;
    }
    if (found->isFolder != folder)
        Report(line, SeverityError, "%s '%s' is a %s, not a %s", what, relative, found->isFolder ? "folder" : "file",
               folder ? "folder" : "file");
    return true;
}

// The install log's key ends at the first "=", so such a name could never be removed; and
// every installed path must fit below the proposed installation folder.
static void CheckInstalledName(DWORD line, const char* relative)
{
    int slash = -1;
    for (int i = 0; relative[i]; i++)
        if (relative[i] == '\\' || relative[i] == '/') slash = i;
    if (IndexOfChar(relative + slash + 1, '=') >= 0)
        Report(line, SeverityError, "'%s' has '=' in its name, which the install log cannot hold: its removal would miss it",
               relative);
    if (lstrlenA(DefaultInstallFolder) + 1 + lstrlenA(relative) > MAX_PATH - 1)
        Report(line, SeverityError, "'%s' would be installed as a path longer than 259 characters under %s", relative,
               DefaultInstallFolder);
}

struct TreeCheck {
    MediaCheck* check;
    DWORD line;
};

static void CheckTreeEntry(const char* relative, bool isFolder, unsigned long long, void* context)
{
    CheckInstalledName(((TreeCheck*)context)->line, relative);
}

static DWORD EntryFlags(MediaCheck* check, const char* section, const char* key, DWORD line)
{
    char value[256];
    GetScriptValue(check->index.text, section, key, "", value, sizeof value);
    if (value[0] && !CheckNumber(line, key, value, "a number of flags (1, 2, 4, 8 added up)")) return 0;
    DWORD flags = ParseDecimal(value);
    if (flags & ~15u) Report(line, SeverityWarning, "%s: flags %u hold bits that setup does not know", key, flags);
    if (flags & FlagSkipOnNT)
        Report(line, SeverityWarning, "%s: flag 1 skips it on every Windows NT system, so it is never installed", key);
    return flags;
}

static bool IsProgram(const char* path)
{
    BYTE start[2] = { 0, 0 };
    return ReadFileStart(path, start, 2) == 2 && start[0] == 'M' && start[1] == 'Z';
}

// What the install reads of the main program for the uninstall entry: a translation and the
// fixed version information. The product version goes into the summary.
static bool ReadProgramVersion(const char* path, char* version, unsigned size)
{
    DWORD handle = 0, length = GetFileVersionInfoSizeA(path, &handle);
    void* block = length ? GlobalAlloc(GMEM_FIXED, length) : NULL;
    bool found = false;
    void* value = NULL;
    UINT valueLength = 0;
    if (block && GetFileVersionInfoA(path, 0, length, block)
        && VerQueryValueA(block, "\\VarFileInfo\\Translation", &value, &valueLength) && valueLength >= 4
        && VerQueryValueA(block, "\\", &value, &valueLength) && valueLength >= 24) {
        const DWORD* fixed = (const DWORD*)value;  // signature, structure version, file and product versions
        FormatText(version, size, "%u.%u.%u.%u", fixed[4] >> 16, fixed[4] & 0xFFFF, fixed[5] >> 16, fixed[5] & 0xFFFF);
        found = true;
    }
    if (block) GlobalFree(block);
    return found;
}

// A key that the list holds twice is checked once; the duplicate is reported by its line.
static bool ListedBefore(const char* keys, const char* key)
{
    for (const char* earlier = keys; earlier < key; earlier = NextKey(earlier))
        if (!lstrcmpiA(earlier, key)) return true;
    return false;
}

static void CheckInstallFiles(MediaCheck* check, const char* keys)
{
    const ScriptIndex* index = &check->index;
    bool setupListed = false;
    DWORD mainLine = 0;
    for (const char* key = keys; *key; key = NextKey(key)) {
        if (ListedBefore(keys, key)) continue;
        DWORD line = LineOfEntry(index, "InstallFiles", key);
        DWORD flags = EntryFlags(check, "InstallFiles", key, line);
        if (!StaysInside(key)) {
            Report(line, SeverityError, "'%s' is not a path inside the installation folder", key);
            continue;
        }
        CheckInstalledName(line, key);
        if (IndexOfChar(key, '\\') >= 0 || IndexOfChar(key, '/') >= 0)
            Report(line, SeverityError,
                   "'%s': files are copied before any folder is made, so its folder does not exist on a fresh install; "
                   "install the folder through [InstallDirs]", key);
        // The running setup.exe is always beside its script; it joins the media when they are built.
        if (!lstrcmpiA(key, "setup.exe")) {
            setupListed = true;
            continue;
        }
        if (flags & FlagSkipOnNT) continue;
        FoundPath found;
        FindMediaPath(key, &found);
        if (found.result == PathFolderMissing && (flags & FlagOptional))
            Report(line, SeverityError, "'%s' is optional, but its folder is missing too: the install stops there", key);
        else if (found.result != PathMissing || !(flags & FlagOptional))
            CheckNamedPath(line, "file", key, false, &found);
        bool present = found.result == PathFound || found.result == PathCaseDiffers;
        if ((flags & FlagComponent) && present && !IsProgram(found.actual))
            Report(line, SeverityWarning, "'%s' (flag 8) is no program or library: nothing is registered", key);
        if (!(flags & FlagMainProgram)) continue;
        if (mainLine) {
            Report(line, SeverityError, "'%s' is a second main program (flag 2); line %u names the first", key, mainLine);
            continue;
        }
        mainLine = line;
        int length = lstrlenA(key);
        char version[64];
        if (length < 5 || lstrcmpiA(key + length - 4, ".exe"))
            Report(line, SeverityError, "the main program '%s' (flag 2) is started, so it must be an .exe", key);
        else if (present && !ReadProgramVersion(found.actual, version, sizeof version))
            Report(line, SeverityError,
                   "the main program '%s' has no version resource: the install stops when it writes the uninstall entry",
                   key);
        else if (present) {
            char note[MAX_PATH + 64];
            FormatText(note, sizeof note, "main program: %s, product version %s\n", key, version);
            AddNote(check, note);
        }
    }
    if (!setupListed)
        Report(LineOfSection(index, "InstallFiles"), SeverityError,
               "[InstallFiles] does not list setup.exe: the installed copy that removes the product would be missing");
    if (!mainLine)
        AddNote(check, "main program: none (no [InstallFiles] entry with flag 2)\n");
}

static void CheckInstallDirs(MediaCheck* check, const char* keys)
{
    for (const char* key = keys; *key; key = NextKey(key)) {
        if (ListedBefore(keys, key)) continue;
        DWORD line = LineOfEntry(&check->index, "InstallDirs", key);
        DWORD flags = EntryFlags(check, "InstallDirs", key, line);
        if (flags & (FlagMainProgram | FlagComponent))
            Report(line, SeverityWarning, "'%s': flags 2 and 8 do nothing for a folder tree", key);
        if (!StaysInside(key)) {
            Report(line, SeverityError, "'%s' is not a path inside the installation folder", key);
            continue;
        }
        CheckInstalledName(line, key);
        FoundPath found;
        FindMediaPath(key, &found);
        if (found.result >= PathMissing && (flags & (FlagOptional | FlagSkipOnNT))) continue;
        if (!CheckNamedPath(line, "folder", key, true, &found) || !found.isFolder) continue;
        TreeCheck tree = { check, line };
        WalkMediaTree(found.actual, CheckTreeEntry, &tree);
    }
}

// A file that the install puts into the installation folder: an [InstallFiles] key, or a file
// inside an [InstallDirs] tree.
static bool IsInstalled(MediaCheck* check, const char* files, const char* dirs, const char* path)
{
    for (const char* key = files; *key; key = NextKey(key))
        if (!lstrcmpiA(key, path)) return true;
    for (const char* key = dirs; *key; key = NextKey(key)) {
        int length = lstrlenA(key);
        char start[MAX_PATH];
        CopyText(path, start, length + 1 < MAX_PATH ? length + 1 : MAX_PATH);
        FoundPath found;
        FindMediaPath(path, &found);
        if (!lstrcmpiA(start, key) && (path[length] == '\\' || path[length] == '/') && found.result <= PathCaseDiffers
            && !found.isFolder)
            return true;
    }
    return false;
}

static void CheckShortcutName(DWORD line, const char* name)
{
    if (!name[0]) {
        Report(line, SeverityError, "the shortcut has no name: it would be saved as '.lnk'");
        return;
    }
    for (const char* p = name; *p; p++)
        if (IndexOfChar("\\/:*?\"<>|", *p) >= 0) {
            Report(line, SeverityError, "the shortcut name '%s' is no valid file name ('%c' is not allowed)", name, *p);
            return;
        }
    if (IndexOfChar(name, '=') >= 0)
        Report(line, SeverityError, "the shortcut name '%s' has '=', which the install log cannot hold", name);
}

// The keys of a section as setup.exe lists them, for the caller to free with GlobalFree; NULL
// when memory runs out.
static char* SectionKeys(const MediaCheck* check, const char* section)
{
    char* keys = NULL;
    DWORD capacity = 0;
    ErrorStatus status = { 0, "" };
    GetScriptKeyList(check->index.text, section, &keys, &capacity, &status);
    return keys;
}

static void CheckShortcuts(MediaCheck* check, const char* files, const char* dirs)
{
    char* keys = SectionKeys(check, "InstallShortcuts");
    for (const char* key = keys; key && *key; key = NextKey(key)) {
        DWORD line = LineOfEntry(&check->index, "InstallShortcuts", key);
        char name[260];
        GetScriptValue(check->index.text, "InstallShortcuts", key, "", name, sizeof name);
        if (!IsInstalled(check, files, dirs, key))
            Report(line, SeverityError, "the shortcut '%s' points at '%s', which is not installed", name, key);
        CheckShortcutName(line, name);
    }
    if (keys) GlobalFree(keys);

    char target[260], name[260];
    GetScriptValue(check->index.text, "Destination", "DesktopShortcut", "", target, sizeof target);
    if (!target[0]) return;
    DWORD line = LineOfEntry(&check->index, "Destination", "DesktopShortcut");
    if (!IsInstalled(check, files, dirs, target))
        Report(line, SeverityError, "the desktop shortcut points at '%s', which is not installed", target);
    GetScriptValue(check->index.text, "Destination", "DesktopShortcutDescription", target, name, sizeof name);
    CheckShortcutName(LineOfEntry(&check->index, "Destination", "DesktopShortcutDescription"), name);
    char flag[16];
    GetScriptValue(check->index.text, "Destination", "FileTypes", "", flag, sizeof flag);
    if (!ParseDecimal(flag))
        Report(line, SeverityWarning, "only the combined destination page ([Destination] FileTypes=1) offers the desktop shortcut");
}

static void CheckRemoveOnInstall(MediaCheck* check, const char* files)
{
    char* keys = SectionKeys(check, "RemoveOnInstall");
    for (const char* key = keys; key && *key; key = NextKey(key)) {
        DWORD line = LineOfEntry(&check->index, "RemoveOnInstall", key);
        if (!IsInstalled(check, files, "", key))
            Report(line, SeverityWarning, "'%s' is no [InstallFiles] key, so these files are never removed", key);
        char value[1024];
        if (GetScriptValue(check->index.text, "RemoveOnInstall", key, "", value, sizeof value) > 511)
            Report(line, SeverityError, "the list of '%s' is longer than 511 characters: setup cuts it", key);
        for (char* part = value; *part;) {
            int bar = IndexOfChar(part, '|');
            char* next = bar >= 0 ? part + bar + 1 : part + lstrlenA(part);
            if (bar >= 0) part[bar] = 0;
            if (*part && !StaysInside(part))
                Report(line, SeverityError, "'%s' lies outside the installation folder, which an update must not touch", part);
            else if (*part && IsInstalled(check, files, "", part))
                Report(line, SeverityError, "'%s' is removed on an update although this install copies it", part);
            part = next;
        }
    }
    if (keys) GlobalFree(keys);
}

static void CheckFontsAndTypes(MediaCheck* check)
{
    char* keys = SectionKeys(check, "fonts");
    for (const char* key = keys; key && *key; key = NextKey(key)) {
        FoundPath found;
        CheckNamedPath(LineOfEntry(&check->index, "fonts", key), "font", key, false, &found);
    }
    if (keys) GlobalFree(keys);
    keys = SectionKeys(check, "InstallFileTypes");
    char flag[16];
    GetScriptValue(check->index.text, "Destination", "FileTypes", "", flag, sizeof flag);
    if (keys && *keys && ParseDecimal(flag))
        Report(LineOfSection(&check->index, "InstallFileTypes"), SeverityWarning,
               "[InstallFileTypes] is not shown: [Destination] FileTypes=1 registers all file types");
    DWORD names = 0;
    for (const char* key = keys; key && *key; key = NextKey(key)) {
        names += lstrlenA(key) + 1;
        char value[256];
        GetScriptValue(check->index.text, "InstallFileTypes", key, "", value, sizeof value);
        DWORD line = LineOfEntry(&check->index, "InstallFileTypes", key);
        if (value[0] != '0' && value[0] != '1')
            Report(line, SeverityError, "'%s': the value's first character is the default, 1 or 0, and is not shown", key);
    }
    if (names > 256)
        Report(LineOfSection(&check->index, "InstallFileTypes"), SeverityWarning,
               "all file-type names together are longer than 255 characters: a full choice is cut");
    if (keys) GlobalFree(keys);
}

struct ExamplesCheck {
    DWORD files;
};

static void CheckExample(const MediaEntry* entry, void* context)
{
    char relative[MAX_PATH];
    FormatText(relative, sizeof relative, "Examples\\\\%s", entry->name);
    if (entry->isFolder)
        Report(1, SeverityWarning, "'%s': only the files directly in Examples are installed, not its folders", relative);
    else {
        ((ExamplesCheck*)context)->files++;
        CheckInstalledName(1, relative);
    }
}

// The licence, the example files and the update marker: files beside setup.exe that no key names.
static void CheckFilesBesideSetup(MediaCheck* check)
{
    char show[16];
    GetScriptValue(check->index.text, "License", "Show", "", show, sizeof show);
    FoundPath found;
    if (!show[0] || ParseDecimal(show))
        CheckNamedPath(LineOfSection(&check->index, "License"), "the licence agreement", "license.txt", false, &found);
    ExamplesCheck examples = { 0 };
    char line[128] = "";
    if (ListMediaFolder("Examples", CheckExample, &examples))
        FormatText(line, sizeof line, "Examples: %u files offered\n", examples.files);
    AddNote(check, line);
    FindMediaPath("install.txt", &found);
    if (found.result == PathFound && !found.isFolder)
        AddNote(check, "install.txt: present, so an installed product is offered Update or Remove\n");
}

void CheckInstallEntries(MediaCheck* check)
{
    char* files = SectionKeys(check, "InstallFiles");
    char* dirs = SectionKeys(check, "InstallDirs");
    if (files && dirs) {
        CheckInstallFiles(check, files);
        CheckInstallDirs(check, dirs);
        CheckShortcuts(check, files, dirs);
        CheckRemoveOnInstall(check, files);
    }
    CheckFontsAndTypes(check);
    CheckFilesBesideSetup(check);
    if (files) GlobalFree(files);
    if (dirs) GlobalFree(dirs);
}
