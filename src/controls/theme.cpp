#include "controls/theme.h"

HMODULE ThemeLibrary = NULL;

void UnloadThemeLibrary()
{
    if (ThemeLibrary) {
        FreeLibrary(ThemeLibrary);
        ThemeLibrary = NULL;
    }
}
