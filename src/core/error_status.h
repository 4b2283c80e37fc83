// The error status that every operation takes last, the string table and message boxes.
//
// The first failure stores its code and text; later steps see the code and do nothing.
// Code 1223 (ERROR_CANCELLED) stops everything like any failure but is never shown.
#pragma once
#include <windows.h>
#include <stdarg.h>

struct ErrorStatus {
    DWORD code;       // 0 = success
    char text[512];   // meaningful only while code is non-zero
};

// Stores a failure unless the status is null or already holds one. Code 0 becomes 120.
// The text is the system's text for the code, then (when messageId is non-zero and loads)
// a line break and the message formatted with the arguments that follow.
void SetStatus(ErrorStatus* status, DWORD code, WORD messageId, ...);
void SetStatusV(ErrorStatus* status, DWORD code, WORD messageId, va_list args);

// Loads a string-table text, redirected for the second edition; every byte 0x01 becomes NUL.
// 1 on success; 0 with an empty buffer and "Unable to load string (%u)" in the status.
int LoadResString(WORD id, char* buffer, int size, ErrorStatus* status);

// The text that the program's message table names for a code; 1 if found and loaded.
int FindMessageTableText(DWORD code, char* buffer, int size);

// Shows the status in an error box unless it is clear or a cancellation.
void ShowStatus(HWND owner, const ErrorStatus* status);

void LoadProductName(char* buffer, int size, ErrorStatus* status);
HICON LoadAppIcon(WORD id, ErrorStatus* status);

// A message box whose text (formatted with the arguments) and caption come from the string
// table. Caption id 0 takes the owner's title, or its parent's when the owner's is empty.
int MessageBoxById(HWND owner, WORD textId, WORD captionId, UINT flags, ...);
int MessageBoxByIdV(HWND owner, WORD textId, WORD captionId, UINT flags, va_list args);
