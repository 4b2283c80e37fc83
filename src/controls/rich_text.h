// A read-only rich-text view filled from an RTF file beside the setup program.
#pragma once
#include <windows.h>

// Opens the file (a name relative to the setup program's folder), loads riched32.dll into
// *module on first use, creates a disabled "RICHEDIT" child of the parent at the rectangle
// and streams the file into it. Returns the control, or none when the file or the library
// is missing or the control cannot be made; nothing is reported.
HWND CreateRichTextControl(HMODULE* module, const char* fileName, int x, int y, int width, int height,
                           HWND parent);
