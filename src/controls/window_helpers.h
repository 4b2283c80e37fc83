// Small window helpers that every page and dialog of setup uses.
#pragma once
#include <windows.h>

struct ErrorStatus;

// Centres the window over its owner, or over the work area when it has none or the owner is
// minimised, keeping it inside the work area.
void CenterWindow(HWND window);

// Uses a control's own text as the format for the arguments and writes the result back.
void FormatControlText(HWND dialog, int controlId, ...);

// DialogBoxParamA from the program's templates; -1 stores the failure with the template id.
INT_PTR ShowDialogBox(WORD templateId, HWND owner, DLGPROC procedure, LPARAM parameter, ErrorStatus* status);

void EnableControl(HWND dialog, int controlId, BOOL enable);

// The window's rectangle in its parent's client coordinates.
void RectInParent(HWND window, RECT* rect);

// Moves a window by dx, dy in its parent's client coordinates, keeping its size.
void MoveWindowBy(HWND window, int dx, int dy);
// Moves every child of the window by dx, dy.
void MoveChildrenBy(HWND window, int dx, int dy);
// Moves a control's top edge down by dy, keeping its bottom.
void PushTopEdgeDown(HWND control, int dy);

// The size of the window's own text drawn on one line in the window's font.
SIZE WindowTextExtent(HWND window);
