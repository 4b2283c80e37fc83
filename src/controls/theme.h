// Visual-style drawing through "uxtheme.dll", loaded on first use.
#pragma once
#include <windows.h>

// The theme library once loaded, or none.
extern HMODULE ThemeLibrary;

// Frees the theme library if it was loaded; called once at program end.
void UnloadThemeLibrary();
