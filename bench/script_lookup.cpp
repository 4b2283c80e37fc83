// Times lookups in generated install logs: the section index that the runs use (built once,
// then every key looked up, as the removal reads each entry's flags) at 1,000, 10,000 and
// 100,000 entries, so that the time per lookup shows whether it stays constant; the scan of
// GetScriptValue beside it; and single changes near the section's end.
#include <windows.h>
#include <stdio.h>
#include <string>
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include "core/section_index.h"

static std::string MakeLog(const char* folder, int entries)
{
    static const char* Subfolders[] = { "", "bin\\", "plugins\\filters\\", "help\\en\\", "examples\\" };
    std::string log = "[UninstallFiles]\r\n";
    char line[512];
    for (int i = 0; i < entries; i++) {
        snprintf(line, sizeof line, "%s\\%sfile%06d.dat=%d\r\n", folder, Subfolders[i % 5], i, i % 3 == 0 ? 8 : 0);
        log += line;
    }
    log += "\r\n[UninstallDirs]\r\n";
    for (int i = 4; i > 0; i--) {
        snprintf(line, sizeof line, "%s\\%s=0\r\n", folder, Subfolders[i]);
        log += line;
    }
    log += std::string(folder) + "=0\r\n\r\n[UninstallRegistry]\r\n"
           "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvantis Vandrel (64-bit)=0\r\n";
    return log;
}

static char* GlobalCopy(const std::string& text)
{
    char* block = (char*)GlobalAlloc(GMEM_FIXED, text.size() + 1);
    memcpy(block, text.c_str(), text.size() + 1);
    return block;
}

static double Milliseconds()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

// The removal's reading of a log: the index built, each entry's flags, then every key looked
// up once more by its text. Best of 3; checks that the index answers as the scan does for the
// first `checked` keys.
static void TimeIndex(const char* folder, int entries, int checked)
{
    std::string log = MakeLog(folder, entries);
    char* text = GlobalCopy(log);
    double build = 1e300, lookup = 1e300;
    unsigned flags = 0;
    for (int run = 0; run < 3; run++) {
        double start = Milliseconds();
        SectionIndex index;
        ErrorStatus status = {};
        BuildSectionIndex(text, "UninstallFiles", &index, &status);
        char value[256];
        for (DWORD i = 0; i < index.count; i++) {
            GetEntryValue(&index, i, value, sizeof value);
            flags |= ParseDecimal(value);
        }
        double built = Milliseconds();
        for (DWORD i = 0; i < index.count; i++) flags += GetSectionValue(&index, index.entries[i].key, "", value, 16);
        double done = Milliseconds();
        if (built - start < build) build = built - start;
        if (done - built < lookup) lookup = done - built;
        for (int i = 0; run == 0 && i < checked; i++) {
            char scanned[256];
            GetScriptValue(text, "UninstallFiles", index.entries[i].key, "", scanned, sizeof scanned);
            GetSectionValue(&index, index.entries[i].key, "", value, sizeof value);
            if (lstrcmpA(scanned, value)) printf("ERROR: the index and the scan differ at entry %d\n", i);
        }
        FreeSectionIndex(&index);
    }
    printf("%6d entries: index and every entry's flags %7.2f ms, then every key by its text %7.2f ms (%.2f us a "
           "lookup)\n", entries, build, lookup, lookup * 1000.0 / entries);
    if (log != text) printf("ERROR: the index changed the text\n");
    GlobalFree(text);
    if (!flags) printf("(no flags read)\n");
}

// GetScriptValue walks the text from its start for every lookup.
static void TimeScan(const char* folder, int entries, int sample)
{
    char* text = GlobalCopy(MakeLog(folder, entries));
    char* list = NULL;
    DWORD capacity = 0;
    ErrorStatus status = {};
    GetScriptKeyList(text, "UninstallFiles", &list, &capacity, &status);
    double start = Milliseconds();
    int done = 0;
    char value[256];
    for (const char* key = list; *key && done < sample; key = NextKey(key), done++)
        GetScriptValue(text, "UninstallFiles", key, "", value, sizeof value);
    double took = Milliseconds() - start;
    printf("%6d entries: the scan, the first %d keys: %.2f ms (%.1f us a lookup)\n", entries, done, took,
           took * 1000.0 / done);
    GlobalFree(list);
    GlobalFree(text);
}

int main()
{
    AppInstance = GetModuleHandleA(NULL);
    const char* folder = "C:\\Program Files\\Corvantis Vandrel";
    for (int entries : { 1000, 10000, 100000 }) TimeIndex(folder, entries, entries == 10000 ? entries : 0);
    printf("a folder name with a character beyond ASCII:\n");
    TimeIndex("C:\\Program Files\\Corvantis V\xE4ndrel", 10000, 10000);
    TimeScan(folder, 10000, 1000);

    // One change near the end of the section: replacing entry 9990's value, and adding an entry.
    char* text = GlobalCopy(MakeLog(folder, 10000));
    char key[300];
    snprintf(key, sizeof key, "%s\\file%06d.dat", folder, 9990);
    ErrorStatus status = {};
    const int Repeats = 200;
    double start = Milliseconds();
    for (int i = 0; i < Repeats; i++) SetScriptValue(&text, "UninstallFiles", key, i % 2 ? "4" : "8", &status);
    printf("SetScriptValue replacing the value of entry 9990: %.3f ms (mean of %d)\n",
           (Milliseconds() - start) / Repeats, Repeats);
    start = Milliseconds();
    for (int i = 0; i < Repeats; i++) {
        char added[64];
        snprintf(added, sizeof added, "%s\\new%03d.dat", folder, i);
        SetScriptValue(&text, "UninstallFiles", added, "0", &status);
    }
    printf("SetScriptValue adding an entry at the section's end (the text moves to a larger block): %.3f ms (mean "
           "of %d)\n", (Milliseconds() - start) / Repeats, Repeats);
    if (status.code) printf("ERROR: SetScriptValue failed: %s\n", status.text);
    GlobalFree(text);
    return 0;
}
