// The few Win32 types, constants and calls that the platform-neutral core uses, for building it
// natively (Linux, clang). Texts are the ANSI code page's bytes; the native code page is a
// single-byte one in which only ASCII letters have a case.
#pragma once
#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef int BOOL;
typedef unsigned int UINT;
typedef uintptr_t UINT_PTR, ULONG_PTR;
typedef size_t SIZE_T;
typedef DWORD LCID;
typedef void *HANDLE, *HWND, *HICON, *HINSTANCE, *HMODULE, *HGLOBAL, *HKEY;
typedef long HRESULT;
struct POINT { LONG x, y; };
struct RECT { LONG left, top, right, bottom; };
struct CPINFO { UINT MaxCharSize; BYTE DefaultChar[2]; BYTE LeadByte[12]; };

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define CP_ACP 0
#define GMEM_FIXED 0
#define LOCALE_IDEFAULTANSICODEPAGE 0x1004
#define LOCALE_RETURN_NUMBER 0x20000000
#define WINAPI
#define STDAPICALLTYPE
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
#define IS_INTRESOURCE(p) ((((ULONG_PTR)(p)) >> 16) == 0)
#define MAKEINTRESOURCEA(i) ((char*)(ULONG_PTR)(WORD)(i))
#define LOWORD(l) ((WORD)((ULONG_PTR)(l) & 0xFFFF))
#define CopyMemory(d, s, n) memcpy((d), (s), (n))
#define MoveMemory(d, s, n) memmove((d), (s), (n))
#define ZeroMemory(d, n) memset((d), 0, (n))

int lstrlenA(const char* text);
int lstrcmpA(const char* a, const char* b);
int lstrcmpiA(const char* a, const char* b);
char* CharNextA(const char* text);
int wsprintfA(char* buffer, const char* format, ...);
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL GlobalFree(HGLOBAL block);
DWORD GetLastError();
void SetLastError(DWORD code);
BOOL GetCPInfo(UINT codePage, CPINFO* info);
LCID GetThreadLocale();
int GetLocaleInfoA(LCID locale, DWORD type, char* buffer, int size);

// The version resource calls: natively no file has one (version_calls.cpp), unless a program
// brings its own (the fuzz target of the version macro does).
DWORD GetModuleFileNameA(HMODULE module, char* buffer, DWORD size);
DWORD GetFileVersionInfoSizeA(const char* path, DWORD* handle);
BOOL GetFileVersionInfoA(const char* path, DWORD handle, DWORD size, void* data);
BOOL VerQueryValueA(const void* block, const char* subBlock, void** value, UINT* length);
