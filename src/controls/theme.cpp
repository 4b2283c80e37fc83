#include "controls/theme.h"
#include <shlwapi.h>

typedef HRESULT(WINAPI* CloseThemeDataFunction)(HANDLE);
typedef HRESULT(WINAPI* DrawThemeBackgroundFunction)(HANDLE, HDC, int, int, const RECT*, const RECT*);
typedef BOOL(WINAPI* IsAppThemedFunction)();
typedef DWORD(WINAPI* GetThemeAppPropertiesFunction)();
typedef HRESULT(WINAPI* GetThemePartSizeFunction)(HANDLE, HDC, int, int, const RECT*, int, SIZE*);
typedef HANDLE(WINAPI* OpenThemeDataFunction)(HWND, const WCHAR*);
typedef BOOL(WINAPI* TrackMouseEventFunction)(TRACKMOUSEEVENT*);

HMODULE ThemeLibrary = NULL;

DWORD CommonControlsVersion = 0;
static BOOL ThemeLibraryTried = FALSE;
static CloseThemeDataFunction CloseThemeDataEntry;
static DrawThemeBackgroundFunction DrawThemeBackgroundEntry;
static IsAppThemedFunction IsAppThemedEntry;
static GetThemeAppPropertiesFunction GetThemeAppPropertiesEntry;
static GetThemePartSizeFunction GetThemePartSizeEntry;
static OpenThemeDataFunction OpenThemeDataEntry;
static TrackMouseEventFunction TrackMouseEventEntry;

static const int ThemeSizeTrue = 1;            // TS_TRUE
static const DWORD AllowControls = 2;          // STAP_ALLOW_CONTROLS
static const DWORD CommonControls6 = 0x60000;  // version 6.0 as (major << 16) | minor

static void LoadThemeLibrary()
{
    if (ThemeLibraryTried) return;
    ThemeLibraryTried = TRUE;
    HMODULE library = LoadLibraryA("uxtheme.dll");
    if (!library) return;
    CloseThemeDataEntry = (CloseThemeDataFunction)GetProcAddress(library, "CloseThemeData");
    DrawThemeBackgroundEntry = (DrawThemeBackgroundFunction)GetProcAddress(library, "DrawThemeBackground");
    IsAppThemedEntry = (IsAppThemedFunction)GetProcAddress(library, "IsAppThemed");
    GetThemeAppPropertiesEntry = (GetThemeAppPropertiesFunction)GetProcAddress(library, "GetThemeAppProperties");
    GetThemePartSizeEntry = (GetThemePartSizeFunction)GetProcAddress(library, "GetThemePartSize");
    OpenThemeDataEntry = (OpenThemeDataFunction)GetProcAddress(library, "OpenThemeData");
    if (CloseThemeDataEntry && DrawThemeBackgroundEntry && IsAppThemedEntry && GetThemeAppPropertiesEntry
        && GetThemePartSizeEntry && OpenThemeDataEntry) {
        ThemeLibrary = library;
        return;
    }
    FreeLibrary(library);
}

static DWORD GetCommonControlsVersion()
{
    if (CommonControlsVersion) return CommonControlsVersion;
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (!library) return 0;
    DLLGETVERSIONPROC getVersion = (DLLGETVERSIONPROC)GetProcAddress(library, "DllGetVersion");
    if (getVersion) {
        DLLVERSIONINFO version;
        ZeroMemory(&version, sizeof version);
        version.cbSize = sizeof version;  // 20 bytes
        if (SUCCEEDED(getVersion(&version)))
            CommonControlsVersion = version.dwMajorVersion << 16 | (version.dwMinorVersion & 0xFFFF);
    }
    FreeLibrary(library);
    return CommonControlsVersion;
}

BOOL ThemesActive()
{
    LoadThemeLibrary();
    return GetCommonControlsVersion() >= CommonControls6 && ThemeLibrary && IsAppThemedEntry()
        && (GetThemeAppPropertiesEntry() & AllowControls);
}

ControlTheme OpenControlTheme(HWND window, const char* className)
{
    LoadThemeLibrary();
    if (!ThemeLibrary || !ThemesActive()) return NULL;
    WCHAR name[256];
    if (!MultiByteToWideChar(CP_ACP, 0, className, -1, name, 256)) return NULL;
    return OpenThemeDataEntry(window, name);
}

void CloseControlTheme(ControlTheme theme)
{
    if (theme && CloseThemeDataEntry) CloseThemeDataEntry(theme);
}

HRESULT GetControlPartSize(ControlTheme theme, HDC dc, int part, int state, SIZE* size)
{
    if (!GetThemePartSizeEntry) return E_NOTIMPL;
    return GetThemePartSizeEntry(theme, dc, part, state, NULL, ThemeSizeTrue, size);
}

HRESULT DrawControlBackground(ControlTheme theme, HDC dc, int part, int state, const RECT* rect,
                              const RECT* clip)
{
    if (!DrawThemeBackgroundEntry) return E_NOTIMPL;
    return DrawThemeBackgroundEntry(theme, dc, part, state, rect, clip);
}

BOOL TrackMouseLeave(HWND window)
{
    if (!TrackMouseEventEntry) {
        HMODULE user = LoadLibraryA("user32.dll");
        if (user) {
            TrackMouseEventEntry = (TrackMouseEventFunction)GetProcAddress(user, "TrackMouseEvent");
            // user32 stays loaded by the program itself, so the address stays good.
            FreeLibrary(user);
        }
    }
    if (!TrackMouseEventEntry) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    TRACKMOUSEEVENT track;
    track.cbSize = sizeof track;  // 24 bytes
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    track.dwHoverTime = 0;
    return TrackMouseEventEntry(&track);
}

void UnloadThemeLibrary()
{
    if (ThemeLibrary) {
        FreeLibrary(ThemeLibrary);
        ThemeLibrary = NULL;
    }
}

void ResetThemeState()
{
    UnloadThemeLibrary();
    ThemeLibraryTried = FALSE;
    CommonControlsVersion = 0;
    CloseThemeDataEntry = NULL;
    DrawThemeBackgroundEntry = NULL;
    IsAppThemedEntry = NULL;
    GetThemeAppPropertiesEntry = NULL;
    GetThemePartSizeEntry = NULL;
    OpenThemeDataEntry = NULL;
}
