// The version macro with files whose version resources hold anything: a translation of any
// length and a product version of any bytes. The measuring and the writing pass must agree,
// and the text written must fit what was measured.
#include <windows.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "core/version.h"
static void Check(bool condition) { if (!condition) abort(); }
// The file of the macro, as the stand-ins of the version calls give it.
static bool HasResource;
static std::vector<uint8_t> Translation, Version;
DWORD GetFileVersionInfoSizeA(const char*, DWORD* handle)
{
    *handle = 0;
    return HasResource ? 64 : 0;
}
BOOL GetFileVersionInfoA(const char*, DWORD, DWORD, void*) { return HasResource; }
DWORD GetModuleFileNameA(HMODULE, char*, DWORD) { return 0; }
BOOL VerQueryValueA(const void*, const char* subBlock, void** value, UINT* length)
{
    std::vector<uint8_t>& found = strstr(subBlock, "Translation") ? Translation : Version;
    *value = found.data();
    *length = (UINT)found.size();
    return !found.empty();
}
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    HasResource = input.ConsumeBool();
    Translation = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 8));
    Version = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 400));
    std::string text = input.ConsumeRemainingBytesAsString();
    text = text.c_str();
    size_t percent = text.find('%');
    if (percent == std::string::npos) return 0;
    char cache[256] = "";
    DWORD measured = ExpandVersionMacro(text.c_str(), text.c_str() + percent, NULL, cache);
    Check(strlen(cache) < sizeof cache);
    char* output = (char*)malloc(measured + 1);
    DWORD written = ExpandVersionMacro(text.c_str(), text.c_str() + percent, output, cache);
    Check(written == measured && strlen(output) == measured);
    free(output);
    return 0;
}
