#include "install/uninstall_entry.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/version.h"
#include "install/file_ops.h"
#include "install/registry.h"
#include "resources/resource.h"

static const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The product version's parts: major and minor, then the third part and the build, which
// the entry shows together as third * 256 + build ("4.2.263" for 4.2.1.7).
static void WriteVersionValues(HKEY key, const char* mainSource, ErrorStatus* status)
{
    VersionInfo* info = LoadVersionInfo(NULL, mainSource, status);
    if (!info) return;
    const VS_FIXEDFILEINFO* fixed = (const VS_FIXEDFILEINFO*)QueryVersionValue(info, 0, status);
    if (fixed) {
        DWORD major = HIWORD(fixed->dwProductVersionMS), minor = LOWORD(fixed->dwProductVersionMS);
        DWORD third = HIWORD(fixed->dwProductVersionLS), fourth = LOWORD(fixed->dwProductVersionLS);
        char text[64];
        FormatText(text, sizeof text, "%u.%u.%u", major, minor, third * 256 + fourth);
        SetRegString(key, "DisplayVersion", text, status);
        SetRegDword(key, "Version", ((major << 8 | minor) << 8 | third) << 8 | fourth, status);
        SetRegDword(key, "VersionMajor", major, status);
        SetRegDword(key, "VersionMinor", minor, status);
    }
    GlobalFree(info);
}

void WriteUninstallEntry(const char* installDir, const char* mainSource, const char* mainTarget, ErrorStatus* status)
{
    HKEY key = OpenRegKey(HKEY_LOCAL_MACHINE, KEY_WRITE, TRUE, status, UninstallKey,
                          MAKEINTRESOURCEA(IDS_UNINSTALL_ENTRY), (const char*)NULL);
    if (!key) return;
    SetRegString(key, "DisplayName", MAKEINTRESOURCEA(IDS_UNINSTALL_ENTRY), status);

    // The setup program is installed by the script like any file; it is not copied here.
    char setupName[64], uninstallCommand[MAX_PATH];
    LoadResString(IDS_SETUP_EXE, setupName, sizeof setupName, status);
    if (JoinPathWhole(installDir, setupName, uninstallCommand, status))
        SetRegString(key, "UninstallString", uninstallCommand, status);

    if (mainSource[0]) {
        SetRegString(key, "Publisher", MAKEINTRESOURCEA(IDS_PUBLISHER), status);
        if (!status->code) WriteVersionValues(key, mainSource, status);
        SetRegString(key, "DisplayIcon", mainTarget, status);
    }
    RegCloseKey(key);
}

void WriteProgramFolder(const char* programFolder, ErrorStatus* status)
{
    HKEY key = OpenRegKey(HKEY_LOCAL_MACHINE, KEY_WRITE, TRUE, status, MAKEINTRESOURCEA(IDS_SOFTWARE),
                          MAKEINTRESOURCEA(IDS_MAKER), MAKEINTRESOURCEA(IDS_SETUP_KEY_NAME),
                          MAKEINTRESOURCEA(IDS_SETUP_VERSION), (const char*)NULL);
    if (!key) return;
    SetRegString(key, MAKEINTRESOURCEA(IDS_PROGRAM_FOLDER_VALUE), programFolder, status);
    RegCloseKey(key);
}
