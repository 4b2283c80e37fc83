// Times the setup-script reader on a generated install log: every key of a 10,000-entry
// section looked up once, as the removal run does, and single changes near the section's end.
#include <windows.h>
#include <stdio.h>
#include <string>
#include "core/error_status.h"
#include "core/globals.h"
#include "core/script.h"

static const int Entries = 10000;

static std::string MakeLog(const char* folder)
{
    static const char* Subfolders[] = { "", "bin\\", "plugins\\filters\\", "help\\en\\", "examples\\" };
    std::string log = "[UninstallFiles]\r\n";
    char line[512];
    for (int i = 0; i < Entries; i++) {
        snprintf(line, sizeof line, "%s\\%sfile%05d.dat=%d\r\n", folder, Subfolders[i % 5], i, i % 3 == 0 ? 8 : 0);
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

static double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(end.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

// Builds the key list and looks up the first `count` keys; returns the time in ms.
static double LookUpKeys(char* text, int count, unsigned* checksum)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    char* list = NULL;
    DWORD capacity = 0;
    ErrorStatus status = {};
    GetScriptKeyList(text, "UninstallFiles", &list, &capacity, &status);
    char value[256];
    int done = 0;
    for (const char* key = list; *key && done < count; key += lstrlenA(key) + 1, done++)
        *checksum += GetScriptValue(text, "UninstallFiles", key, "", value, sizeof value) + (unsigned)value[0];
    QueryPerformanceCounter(&end);
    GlobalFree(list);
    return Milliseconds(start, end);
}

static double Best(double a, double b) { return a < b ? a : b; }

int main()
{
    AppInstance = GetModuleHandleA(NULL);
    std::string log = MakeLog("C:\\Program Files\\Corvantis Vandrel");
    char* text = GlobalCopy(log);
    std::string before = log;
    printf("install log: %d entries in [UninstallFiles], %u bytes\n", Entries, (unsigned)log.size());

    unsigned checksum = 0;
    double all = 1e300;
    for (int run = 0; run < 3; run++) all = Best(all, LookUpKeys(text, Entries, &checksum));
    printf("look up every key once (key list + %d lookups): %.1f ms (%.1f us per lookup, best of 3)\n", Entries, all,
           all * 1000.0 / Entries);
    if (before != text) printf("ERROR: the lookups changed the text\n");

    // One change near the end of the section: replacing entry 9990's value, and adding an entry.
    char key[300];
    snprintf(key, sizeof key, "C:\\Program Files\\Corvantis Vandrel\\%sfile%05d.dat", "", 9990);
    ErrorStatus status = {};
    const int Repeats = 200;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < Repeats; i++) SetScriptValue(&text, "UninstallFiles", key, i % 2 ? "4" : "8", &status);
    QueryPerformanceCounter(&end);
    printf("SetScriptValue replacing the value of entry 9990: %.3f ms (mean of %d)\n",
           Milliseconds(start, end) / Repeats, Repeats);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < Repeats; i++) {
        char added[64];
        snprintf(added, sizeof added, "C:\\Program Files\\Corvantis Vandrel\\new%03d.dat", i);
        SetScriptValue(&text, "UninstallFiles", added, "0", &status);
    }
    QueryPerformanceCounter(&end);
    printf("SetScriptValue adding an entry at the section's end (the text moves to a larger block): %.3f ms (mean of %d)\n",
           Milliseconds(start, end) / Repeats, Repeats);
    if (status.code) printf("ERROR: SetScriptValue failed: %s\n", status.text);
    GlobalFree(text);

    // The same walk when the names hold a character beyond ASCII.
    const int Sample = 1000;
    char* plain = GlobalCopy(log);
    char* accented = GlobalCopy(MakeLog("C:\\Program Files\\Corvantis V\xE4ndrel"));
    double plainTime = 1e300, accentedTime = 1e300;
    for (int run = 0; run < 3; run++) {
        plainTime = Best(plainTime, LookUpKeys(plain, Sample, &checksum));
        accentedTime = Best(accentedTime, LookUpKeys(accented, Sample, &checksum));
    }
    printf("first %d keys: %.1f ms with ASCII paths, %.1f ms with a non-ASCII folder name\n",
           Sample, plainTime, accentedTime);
    GlobalFree(plain);
    GlobalFree(accented);
    printf("(checksum %u)\n", checksum);
    return 0;
}
