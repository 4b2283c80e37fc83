// The system's own bounded formatter and string helpers.
//
// Every operation writes at most size - 1 characters and a NUL; what does not fit is cut.
// Format rules (not printf's): a backslash makes the next character literal; "%" takes an
// optional "0", a width, an ignored ".digits", an optional "l", then d, i, u, x, X or s; any
// other character after "%" (including "%" and "c") is written itself and takes no argument.
#pragma once
#include <windows.h>
#include <stdarg.h>

struct ErrorStatus;

void FormatText(char* buffer, unsigned size, const char* format, ...);
void FormatTextV(char* buffer, unsigned size, const char* format, va_list args);

// Loads a string-table text and formats it. 1 on success; 0 with an empty buffer when the
// id cannot be loaded (the status then holds the load failure).
int LoadFormattedText(WORD id, char* buffer, unsigned size, ErrorStatus* status, ...);
int LoadFormattedTextV(WORD id, char* buffer, unsigned size, ErrorStatus* status, va_list args);

// Copies the source cut to size - 1 characters; size 0 writes nothing.
void CopyText(const char* source, char* destination, unsigned size);
// Copies at *position while more than one byte of space is left, moving the position and
// lowering the space; then writes a NUL at the position (not counted).
void AppendAtCursor(const char* source, char** position, unsigned* spaceLeft);
// The texts one after the other, up to a terminating NULL, cut to the buffer.
void JoinTexts(char* buffer, unsigned size, ...);

// Paths are never cut: a cut path names another file. These join or format a path whole, or
// fail with ERROR_FILENAME_EXCED_RANGE and the uncut path in the status (a NULL status makes the
// failure silent), the buffer emptied.
BOOL JoinPathParts(char* buffer, unsigned size, ErrorStatus* status, ...);
BOOL LoadFormattedPath(WORD id, char* buffer, unsigned size, ErrorStatus* status, ...);

// Searches on the ANSI code page's characters; -1 when not found.
int IndexOfChar(const char* text, char character);
int IndexOfText(const char* text, const char* part);

// The value of the leading decimal digits (no sign, no blanks); a larger number reads as
// 0xFFFFFFFF.
DWORD ParseDecimal(const char* text);
// "x,y", each part may start with "-" and is held between LONG_MIN and LONG_MAX; without a
// "," the point is left unchanged.
void ParsePoint(const char* text, POINT* point);
// "a,b,c,d"; without three "," the numbers are left unchanged.
void ParseFourNumbers(const char* text, DWORD* a, DWORD* b, DWORD* c, DWORD* d);

// Windows only (program_run.cpp): the running program's folder with its trailing backslash.
void GetModuleFolder(char* buffer, unsigned size);

// Starts a program. With a place for the exit code it waits for the program, delivering only
// messages sent to this thread meanwhile, and stores the exit code. 1 if the program was
// started, 0 if not (the last error tells why).
int RunAndWait(const char* programPath, char* commandLine, DWORD* exitCode);
