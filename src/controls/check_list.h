// The check-box list: an owner-drawn list box of a dialog, subclassed at run time, whose rows
// show a check box and a text. A click on the box or the space bar toggles a row; the parent
// hears of each toggle through WM_NOTIFY with code CLN_TOGGLED. The dialog procedure forwards
// WM_DRAWITEM and WM_MEASUREITEM to CheckListDrawItem and CheckListMeasureItem.
//
// The list box needs LBS_OWNERDRAWFIXED | LBS_HASSTRINGS and is best made with LBS_SORT |
// LBS_NOTIFY | LBS_NOSEL | LBS_NOINTEGRALHEIGHT, WS_VSCROLL | WS_BORDER | WS_TABSTOP.
#pragma once
#include <windows.h>

struct ErrorStatus;

// Item data bits; the low 27 bits are the caller's own value.
#define CLI_CHECKED  0x80000000u
#define CLI_MIXED    0x40000000u
#define CLI_BOLD     0x20000000u
#define CLI_INDENTED 0x10000000u
#define CLI_DISABLED 0x08000000u
#define CLI_VALUE    0x07FFFFFFu

// The notification code, and what follows the NMHDR.
#define CLN_TOGGLED 1
struct CheckListToggle {
    NMHDR header;
    INT_PTR item;
};

void CheckListAttach(HWND list, ErrorStatus* status);

// Adds a row (text or MAKEINTRESOURCEA(string id)); returns its index, or LB_ERR/LB_ERRSPACE
// with ERROR_OUTOFMEMORY in the status.
int CheckListAdd(HWND list, const char* text, BOOL checked, DWORD value, ErrorStatus* status);
int CheckListAddData(HWND list, const char* text, DWORD data, ErrorStatus* status);

// Stores a row's data and redraws the row when it changed.
void CheckListSetData(HWND list, int index, DWORD data);

// WM_DRAWITEM and WM_MEASUREITEM of the list, forwarded by its dialog. Both set the dialog's
// DWLP_MSGRESULT to TRUE.
void CheckListDrawItem(const DRAWITEMSTRUCT* item);
void CheckListMeasureItem(HWND list, MEASUREITEMSTRUCT* item);
