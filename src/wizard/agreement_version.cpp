#include "wizard/agreement_version.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/script.h"
#include "install/registry.h"
#include "resources/resource.h"

// HKEY_LOCAL_MACHINE\Software\Corvantis Vandrel
static const char ProductKeySoftware[] = "Software";
static const char ProductKeyName[] = "Corvantis Vandrel";
static const char VersionValue[] = "EULAVersion";

bool AgreementVersionIsNewer(char* script, ErrorStatus* status)
{
    char newVersion[MAX_PATH];
    GetScriptValue(script, "Setup", VersionValue, "", newVersion, sizeof newVersion);
    HKEY key = OpenRegKey(HKEY_LOCAL_MACHINE, KEY_READ | KEY_WRITE, FALSE, status, ProductKeySoftware,
                          ProductKeyName, (const char*)NULL);
    char stored[MAX_PATH] = "";
    QueryRegString(key, VersionValue, "no", stored, sizeof stored, status);
    bool newer = false;
    if (!status->code)
        newer = IndexOfText(stored, "no") >= 0 || ParseDecimal(newVersion) > ParseDecimal(stored);
    if (key) RegCloseKey(key);
    return newer;
}

void StoreAcceptedAgreementVersion(char* script, ErrorStatus* status)
{
    if (status->code) return;
    char version[MAX_PATH];
    GetScriptValue(script, "Setup", VersionValue, "", version, sizeof version);
    // Whether the key or the value refuses, the user is told that the value could not be set.
    ErrorStatus opening = { 0, "" };
    HKEY key = OpenRegKey(HKEY_LOCAL_MACHINE, KEY_WRITE, TRUE, &opening, ProductKeySoftware, ProductKeyName,
                          (const char*)NULL);
    if (!key) {
        SetStatus(status, opening.code, IDS_UNABLE_TO_SET_VALUE, VersionValue);
        return;
    }
    SetRegString(key, VersionValue, version, status);
    RegCloseKey(key);
}
