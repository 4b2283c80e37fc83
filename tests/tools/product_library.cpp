// A stand-in for the product's libraries in tests. Its registration entry points append a line
// to "calls.log" in its own folder (or to the file that PRODUCT_CALLS_LOG names) and return the HRESULT written in hexadecimal in
// "<its name>.hresult" beside it (S_OK when there is none).
#include <windows.h>
#include <stdio.h>
#include <string.h>

static HMODULE Self;

static HRESULT Record(const char* entry)
{
    char path[MAX_PATH], folder[MAX_PATH], log[MAX_PATH], resultFile[MAX_PATH + 16];
    GetModuleFileNameA(Self, path, sizeof path);
    strcpy(folder, path);
    char* slash = strrchr(folder, '\\');
    if (slash) slash[1] = 0;
    snprintf(log, sizeof log, "%scalls.log", folder);
    char elsewhere[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("PRODUCT_CALLS_LOG", elsewhere, sizeof elsewhere);
    if (length && length < sizeof elsewhere) strcpy(log, elsewhere);
    FILE* file = fopen(log, "ab");
    if (file) {
        fprintf(file, "%s %s\n", entry, path);
        fclose(file);
    }
    snprintf(resultFile, sizeof resultFile, "%s.hresult", path);
    unsigned long result = 0;
    file = fopen(resultFile, "rb");
    if (file) {
        if (fscanf(file, "%lx", &result) != 1) result = 0;
        fclose(file);
    }
    return (HRESULT)result;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() { return Record("DllRegisterServer"); }
extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() { return Record("DllUnregisterServer"); }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) Self = instance;
    return TRUE;
}
