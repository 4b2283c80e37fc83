// The setup script's own fonts, made available to the setup program's windows only.
#pragma once
#include <windows.h>

struct ErrorStatus;

// Loads every font file that the script's "fonts" section names (keys relative to the setup
// program's folder) with AddFontMemResourceEx, looked up at run time in gdi32. The fonts stay
// private to this process until it ends. Missing or unreadable files are passed over; nothing
// is reported. Does nothing when the status already holds a code.
void LoadSetupFonts(char* script, ErrorStatus* status);
