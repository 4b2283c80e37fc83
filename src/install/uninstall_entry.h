// The registry values of an installation: the product's uninstall entry, through which
// Windows lists the product and setup finds the installed copy, and the setup's own key with
// the program folder chosen at install time.
#pragma once
#include <windows.h>

struct ErrorStatus;

// Creates or opens HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\<product title>
// and sets "DisplayName" and "UninstallString" (the installation folder's "setup.exe").
// With a main program (its source for the version, its target for the icon; empty = none):
// "Publisher", "DisplayVersion", "Version", "VersionMajor", "VersionMinor" from the source's
// product version, and "DisplayIcon".
void WriteUninstallEntry(const char* installDir, const char* mainSource, const char* mainTarget,
                         ErrorStatus* status);

// "Program Folder" in HKLM\Software\Quernell\Vandrel Setup\1.0.
void WriteProgramFolder(const char* programFolder, ErrorStatus* status);
