// mediacheck: checks installation media before they ship. It reads the media folder's setup.ini
// with setup.exe's own reader and reports, as "setup.ini:line: error|warning: text", what would
// go wrong on a user's machine; then it sums up the media. Exit code 0 without errors, 1 with
// errors, 2 when the media cannot be read.
//   mediacheck [media folder]   the current folder by default
//   mediacheck --keys           the sections and keys that setup.exe reads, one "section<TAB>key" a line
#include <windows.h>
#include <stdio.h>
#include "mediacheck/known_keys.h"
#include "mediacheck/media_check.h"
#include "mediacheck/media_files.h"
#include "core/format.h"
#include "core/script.h"

static void CountEntry(const char* relative, bool isFolder, unsigned long long size, void* context)
{
    MediaSummary* summary = (MediaSummary*)context;
    if (isFolder) summary->folders++;
    else CountMediaFile(summary, relative, size);
}

// Bytes that the reader takes for text but an editor does not show.
static void CheckEncoding(const char* text, DWORD bytes)
{
    const BYTE* start = (const BYTE*)text;
    if (bytes >= 2 && ((start[0] == 0xFF && start[1] == 0xFE) || (start[0] == 0xFE && start[1] == 0xFF)))
        Report(1, SeverityError, "setup.ini is UTF-16 text; setup reads 8-bit text and finds nothing in it");
    else if (bytes >= 3 && start[0] == 0xEF && start[1] == 0xBB && start[2] == 0xBF)
        Report(1, SeverityError, "setup.ini starts with a UTF-8 byte-order mark, which hides its first line from setup");
    else if ((DWORD)lstrlenA(text) != bytes)
        Report(1, SeverityError, "setup.ini holds a NUL byte after %u bytes; setup reads nothing beyond it",
               (DWORD)lstrlenA(text));
}

int main(int argc, char** argv)
{
    if (argc == 2 && !lstrcmpA(argv[1], "--keys")) {
        for (int i = 0; i < KnownKeyCount; i++) printf("%s\t%s\n", KnownKeys[i].section, KnownKeys[i].key);
        return 0;
    }
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        fprintf(stderr, "usage: mediacheck [media folder]\n       mediacheck --keys\n");
        return 2;
    }
    const char* folder = argc == 2 ? argv[1] : ".";
    char scriptName[MAX_PATH + 16];
    const char* separator = IndexOfChar(folder, '\\') >= 0 ? "\\" : "/";
    int length = lstrlenA(folder);
    if (!lstrcmpA(folder, ".")) CopyText("setup.ini", scriptName, sizeof scriptName);
    else JoinTexts(scriptName, sizeof scriptName, folder, folder[length - 1] == separator[0] ? "" : separator, "setup.ini",
                   (const char*)NULL);
    SetReportFile(scriptName);

    if (!EnterMediaFolder(folder)) {
        fprintf(stderr, "mediacheck: cannot open the media folder %s\n", folder);
        return 2;
    }
    DWORD bytes = 0;
    char* text = ReadWholeFileSized("setup.ini", &bytes);
    MediaCheck check;
    ZeroMemory(&check, sizeof check);
    if (!text || !IndexScript(text, &check.index)) {
        fprintf(stderr, "mediacheck: cannot read %s\n", scriptName);
        if (text) GlobalFree(text);
        return 2;
    }
    CheckEncoding(text, bytes);
    CheckScriptNames(&check);
    CheckScriptValues(&check);
    CheckInstallEntries(&check);

    WalkMediaTree("", CountEntry, &check.summary);
    PrintSummary(&check.summary, check.notes);
    FreeScriptIndex(&check.index);
    GlobalFree(text);
    return ReportedErrors() ? 1 : 0;
}
