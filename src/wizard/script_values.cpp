#include "wizard/script_values.h"
#include "core/format.h"
#include "core/script.h"

bool ReadScriptFlag(char* script, const char* section, const char* key, bool defaultValue)
{
    DWORD number;
    if (!ReadScriptNumber(script, section, key, &number)) return defaultValue;
    return number != 0;
}

bool ReadScriptNumber(char* script, const char* section, const char* key, DWORD* number)
{
    char value[256];
    if (!GetScriptValue(script, section, key, "", value, sizeof value)) return false;
    *number = ParseDecimal(value);
    return true;
}

char* ReadPageTitle(char* script, const char* section)
{
    return GetExpandedScriptValue(script, section, "Title");
}
