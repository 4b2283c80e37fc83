#include "core/log_entries.h"
#include "core/format.h"

static char Folded(char c) { return (char)(c >= 'A' && c <= 'Z' ? c + 32 : c); }
static bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasWildcard(const char* text)
{
    for (const char* p = text; *p; p++)
        if (*p == '*' || *p == '?') return true;
    return false;
}

// A part made only of dots and blanks: the system reads "..", "..." and ". ." as a way up or
// as the folder itself, so such a path can name anything.
static bool HasDotPart(const char* path)
{
    const char* part = path;
    bool onlyDots = true;
    for (const char* p = path;; p++) {
        if (!*p || IsSeparator(*p)) {
            if (p > part && onlyDots) return true;
            if (!*p) return false;
            part = p + 1;
            onlyDots = true;
        } else if (*p != '.' && *p != ' ') {
            onlyDots = false;
        }
    }
}

// The path's text after the folder's, or NULL when the path does not start with the folder.
// Characters of two bytes must match exactly: folding a trail byte could join two names.
static const char* AfterPrefix(const char* path, const char* folder, const char* folderEnd)
{
    const char* f = folder;
    const char* p = path;
    while (f < folderEnd) {
        const char* next = CharNextA(f);
        if (next == f) break;
        if (next - f == 1) {
            if (Folded(*p) != Folded(*f)) return NULL;
            p++;
        } else {
            for (const char* c = f; c < next; c++, p++)
                if (*p != *c) return NULL;
        }
        f = next;
    }
    return p;
}

int PlaceOfPath(const char* path, const char* folder)
{
    const char* folderEnd = folder + lstrlenA(folder);
    while (folderEnd > folder && folderEnd[-1] == '\\') folderEnd--;
    if (folderEnd == folder || HasWildcard(path) || HasDotPart(path)) return PathOutside;

    const char* rest = AfterPrefix(path, folder, folderEnd);
    if (!rest || (*rest && !IsSeparator(*rest))) return PathOutside;
    while (IsSeparator(*rest)) rest++;
    return *rest ? PathBelowFolder : PathIsFolder;
}

static bool StartsWithFolded(const char* text, const char* start)
{
    for (; *start; text++, start++)
        if (Folded(*text) != *start) return false;
    return true;
}

bool ParseRegistryEntry(const char* entry, char* keyPath, unsigned size, bool* view64)
{
    const char* path = entry;
    *view64 = IndexOfText(entry, "(64)") >= 0;
    // Counter digits, "(64)", then the path: what follows the first "(" and three more.
    if (*view64) path = entry + IndexOfChar(entry, '(') + 4;
    if (!StartsWithFolded(path, "hklm\\")) return false;
    path += 5;
    if ((unsigned)lstrlenA(path) >= size || HasWildcard(path)) return false;
    CopyText(path, keyPath, size);
    return true;
}

// Keys that other programs share, written as they compare: single backslashes, the 32-bit
// view's "Wow6432Node" left out.
static const char* const SharedKeys[] = {
    "software\\microsoft",
    "software\\classes",
    "software\\policies",
    "software\\microsoft\\windows",
    "software\\microsoft\\windows\\currentversion",
    "software\\microsoft\\windows\\currentversion\\uninstall",
    "software\\microsoft\\windows\\currentversion\\run",
    "software\\microsoft\\windows\\currentversion\\runonce",
    "software\\microsoft\\windows\\currentversion\\app paths",
    "software\\microsoft\\windows\\currentversion\\explorer",
    "software\\microsoft\\windows nt",
    "software\\microsoft\\windows nt\\currentversion",
    "software\\classes\\clsid",
    "software\\classes\\interface",
    "software\\classes\\typelib",
    "software\\classes\\appid",
    "system\\currentcontrolset",
    "system\\currentcontrolset\\services",
    "system\\currentcontrolset\\control",
};

bool IsSharedRegistryKey(const char* keyPath)
{
    // The path folded, its empty parts dropped; a key too long for this buffer is none of the
    // listed ones, but its parts are still counted.
    char folded[160];
    folded[0] = 0;
    unsigned length = 0, parts = 0;
    bool fits = true;
    const char* p = keyPath;
    while (*p) {
        while (*p == '\\') p++;
        if (!*p) break;
        const char* part = p;
        while (*p && *p != '\\') p++;
        unsigned partLength = (unsigned)(p - part);
        if (parts == 1 && fits && partLength == 11 && StartsWithFolded(part, "wow6432node")
            && !lstrcmpA(folded, "software"))
            continue;
        parts++;
        if (!fits || length + partLength + 2 > sizeof folded) {
            fits = false;
            continue;
        }
        if (length) folded[length++] = '\\';
        for (unsigned i = 0; i < partLength; i++) folded[length++] = Folded(part[i]);
        folded[length] = 0;
    }
    if (parts <= 1) return true;
    if (!fits) return false;
    for (const char* shared : SharedKeys)
        if (!lstrcmpA(folded, shared)) return true;
    return false;
}
