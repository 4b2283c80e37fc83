#include "mediacheck/known_keys.h"

// Written as the code reads them; lookups compare without regard to case, except the image keys,
// which the reader finds by a case-sensitive search.
#define PAGE_HEADER(section)                                                                           \
    { section, "headerimage", FormBitmap }, { section, "HeaderBackColor", FormColour },              \
    { section, "HeaderRTF", FormRichText }, { section, "HeaderRTFMargins", FormMargins },            \
    { section, "DividerText", FormText }, { section, "DividerTextOffset", FormPoint }

const KnownKey KnownKeys[] = {
    { "Vandrel", "ProductName", FormEdition },
    { "Setup", "ProductName", FormText },
    { "Setup", "EULAVersion", FormNumber },
    { "Setup", "headerlineheight", FormLineHeight },
    { "Setup", "headerlinecolor", FormColour },
    { "Welcome", "Title", FormTitle },
    { "Welcome", "BackColor", FormColour },
    { "Welcome", "RTF", FormRichText },
    { "Welcome", "image", FormBitmap },
    { "Welcome", "ExtendBackground", FormFlag },
    { "License", "Show", FormFlag },
    { "License", "Wizard", FormFlag },
    { "License", "Title", FormTitle },
    { "License", "NextText", FormText },
    PAGE_HEADER("License"),
    { "Destination", "FileTypes", FormFlag },
    { "Destination", "Title", FormTitle },
    { "Destination", "DesktopShortcut", FormShortcutTarget },
    { "Destination", "DesktopShortcutDefault", FormFlag },
    { "Destination", "DesktopShortcutDescription", FormText },
    PAGE_HEADER("Destination"),
    { "ProgFolder", "Title", FormTitle },
    PAGE_HEADER("ProgFolder"),
    { "Progress", "Title", FormTitle },
    PAGE_HEADER("Progress"),
    { "InstallFiles", "*", FormInstallFile },
    { "InstallDirs", "*", FormInstallFolder },
    { "InstallShortcuts", "*", FormShortcut },
    { "InstallFileTypes", "*", FormFileType },
    { "RemoveOnInstall", "*", FormRemoveOnInstall },
    { "fonts", "*", FormFont },
    { "UninstallFiles", "*", FormLogEntry },
    { "UninstallDirs", "*", FormLogEntry },
    { "UninstallRegistry", "*", FormLogEntry },
    { "UninstallShortcuts", "*", FormLogEntry },
};

const int KnownKeyCount = sizeof KnownKeys / sizeof KnownKeys[0];

bool IsImageKey(const char* key) { return !lstrcmpA(key, "image") || !lstrcmpA(key, "headerimage"); }

const KnownKey* FindKnownSection(const char* section)
{
    for (int i = 0; i < KnownKeyCount; i++)
        if (!lstrcmpiA(KnownKeys[i].section, section)) return &KnownKeys[i];
    return NULL;
}

const KnownKey* FindKnownKey(const char* section, const char* key)
{
    for (int i = 0; i < KnownKeyCount; i++) {
        const KnownKey* known = &KnownKeys[i];
        if (lstrcmpiA(known->section, section)) continue;
        if (!lstrcmpA(known->key, "*")) return known;
        if (IsImageKey(known->key) ? !lstrcmpA(known->key, key) : !lstrcmpiA(known->key, key)) return known;
    }
    return NULL;
}

static char Folded(char c) { return (char)(c >= 'A' && c <= 'Z' ? c + 32 : c); }

// Letters to change, add or drop to turn one name into the other, letter case aside; names of
// up to 63 characters.
static int Distance(const char* a, const char* b)
{
    int lengthA = lstrlenA(a), lengthB = lstrlenA(b);
    if (lengthA > 63 || lengthB > 63) return 99;
    int row[64];
    for (int j = 0; j <= lengthB; j++) row[j] = j;
    for (int i = 1; i <= lengthA; i++) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= lengthB; j++) {
            int above = row[j];
            int best = diagonal + (Folded(a[i - 1]) != Folded(b[j - 1]));
            if (above + 1 < best) best = above + 1;
            if (row[j - 1] + 1 < best) best = row[j - 1] + 1;
            row[j] = best;
            diagonal = above;
        }
    }
    return row[lengthB];
}

static const char* Nearer(const char* candidate, const char* name, const char* best, int* bestDistance)
{
    int distance = Distance(candidate, name);
    if (distance >= *bestDistance || distance > 2 || (distance == 0 && !lstrcmpA(candidate, name))) return best;
    *bestDistance = distance;
    return candidate;
}

const char* NearestSection(const char* name)
{
    const char* best = NULL;
    int bestDistance = 3;
    for (int i = 0; i < KnownKeyCount; i++) best = Nearer(KnownKeys[i].section, name, best, &bestDistance);
    return best;
}

const char* NearestKey(const char* section, const char* name)
{
    const char* best = NULL;
    int bestDistance = 3;
    for (int i = 0; i < KnownKeyCount; i++)
        if (!lstrcmpiA(KnownKeys[i].section, section) && lstrcmpA(KnownKeys[i].key, "*"))
            best = Nearer(KnownKeys[i].key, name, best, &bestDistance);
    return best;
}
