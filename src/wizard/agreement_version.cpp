#include "wizard/agreement_version.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/script.h"
#include "install/registry.h"

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
    HKEY key = OpenRegKey(HKEY_LOCAL_MACHINE, KEY_WRITE, TRUE, status, ProductKeySoftware, ProductKeyName,
                          (const char*)NULL);
    SetRegString(key, VersionValue, version, status);
    if (key) RegCloseKey(key);
}
