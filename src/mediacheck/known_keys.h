// Every section and key that setup.exe reads from its setup script, with the form of its value:
// the one table that the media checker knows them from. A test compares it with the names that
// the code itself passes to the script reader, and with docs/setup-ini.md.
#pragma once
#include <windows.h>

enum ValueForm {
    FormText,        // shown as it is
    FormTitle,       // shown, with version macros expanded
    FormFlag,        // leading digits, 0 false, anything else true
    FormNumber,      // leading digits
    FormColour,      // decimal 0x00BBGGRR
    FormLineHeight,  // decimal pixels at 96 DPI, a fraction allowed
    FormPoint,       // x,y, each may start with "-"
    FormMargins,     // left,top,right,bottom
    FormBitmap,      // a bitmap file, found from the current folder
    FormRichText,    // a rich-text file beside setup.exe
    FormEdition,     // 4 selects the second edition
    FormShortcutTarget,  // a file path relative to the installation folder
    FormPresence,    // any text switches it on
    // Sections whose keys are the script's own data: one row with the key "*".
    FormInstallFile, FormInstallFolder, FormShortcut, FormFileType, FormRemoveOnInstall, FormFont,
    FormLogEntry,    // sections of the install log
};

struct KnownKey {
    const char* section;
    const char* key;  // "*": any key
    int form;         // ValueForm
};

extern const KnownKey KnownKeys[];
extern const int KnownKeyCount;

// The row of the section (any row, for a section whose keys are data); NULL when unknown.
const KnownKey* FindKnownSection(const char* section);
// The row of the key in the section, or the section's "*" row; NULL when unknown.
const KnownKey* FindKnownKey(const char* section, const char* key);
// Whether the key picks a bitmap by screen resolution: "image" and "headerimage".
bool IsImageKey(const char* key);

// The known section, or key of the section, nearest to the name (at most two letters apart, or
// differing in case alone); NULL when there is none.
const char* NearestSection(const char* name);
const char* NearestKey(const char* section, const char* name);
