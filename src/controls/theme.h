// Themed drawing through "uxtheme.dll", loaded at run time so that setup starts on systems
// without visual styles; everything degrades to classic drawing when a piece is missing.
#pragma once
#include <windows.h>

typedef HANDLE ControlTheme;

// The theme library once loaded with all its functions, or none.
extern HMODULE ThemeLibrary;
// The common controls' version as (major << 16) | minor; 0 until looked up.
extern DWORD CommonControlsVersion;

// True when themed controls are to be drawn: common controls 6 or later, the theme library,
// the application themed and allowed to theme its controls.
BOOL ThemesActive();

// The theme data of a window class ("BUTTON"), or none when themes are not active.
ControlTheme OpenControlTheme(HWND window, const char* className);
void CloseControlTheme(ControlTheme theme);

HRESULT GetControlPartSize(ControlTheme theme, HDC dc, int part, int state, SIZE* size);
HRESULT DrawControlBackground(ControlTheme theme, HDC dc, int part, int state, const RECT* rect,
                              const RECT* clip);

// Asks for WM_MOUSELEAVE for the window; false (ERROR_CALL_NOT_IMPLEMENTED) when the system
// lacks TrackMouseEvent.
BOOL TrackMouseLeave(HWND window);

// Frees the theme library if it was loaded; called once at program end.
void UnloadThemeLibrary();

// Forgets what was looked up (the library, its functions, the version), so that the next call
// looks again.
void ResetThemeState();
