// The modeless progress windows that the install and removal runs show while they work.
//
// The plain window is a small box with a status line and a bar; the header window takes the
// place of the wizard that was just closed and carries the header band of the script's
// "Progress" section. Neither can be cancelled. The run that creates a window drives it: it
// shows it, disables the owner, sets texts, advances the bar, pumps, and destroys it.
#pragma once
#include <windows.h>

struct SetupContext;

// Shared by the install run, its header window and the copy's progress callback.
struct ProgressRecord {
    BYTE lastPercentage;      // the percentage last sent to the bar
    COLORREF headerBackColor; // 0xFFFFFFFF = none
    ULONGLONG done;           // units (bytes) done so far
    ULONGLONG total;          // units of the whole run
    ULONGLONG nextPercentageAt; // done from which the percentage changes again; 0 = work it out
    HBITMAP headerBitmap;     // deleted by the install run just before it destroys the window
    HWND window;
    int headerHeight;         // height of the header band in pixels, 0 without an image
    SetupContext* context;
    WORD progressBarId;       // IDC_HEADER_PROGRESS_BAR or IDC_PLAIN_PROGRESS_BAR
    WORD statusTextId;        // IDC_HEADER_PROGRESS_TEXT or IDC_PLAIN_PROGRESS_TEXT
    int lineHeight;           // the strip at the top of the band, as on the wizard's pages
    COLORREF lineColor;
    DWORD lastPump;           // GetTickCount() of the last pump
    BOOL textHeld;            // the status text does not repaint until the next pump
    BOOL barHeld;             // nor does the bar
    HWND statusText;          // the status text control of textWindow, found once: under Wine
    HWND textWindow;          // each GetDlgItem asks the server for the window's children
};

// Milliseconds between two pumps while a run works.
const DWORD ProgressPumpInterval = 15;

// The plain window (template 8): centred on its owner, titled with the setup title, Cancel
// hidden, Close greyed. None when it cannot be created.
HWND CreatePlainProgressWindow(HWND owner);

// The header window (template 14): placed where the wizard stood (wizardRect, its divider line on
// dividerRect), captioned by [Progress] Title, with the section's header image, back colour,
// rich-text header and divider label, and the Setup section's strip above the band as the
// wizard's pages have it. The label sits at the status text's left edge unless
// DividerTextOffset says otherwise, and ends with an ellipsis at the divider line's end. The
// record becomes the window's DWLP_USER; its header bitmap, back colour, strip and header
// height (strip and image) are filled here. None when it cannot be created.
HWND CreateHeaderProgressWindow(HWND owner, ProgressRecord* record);

// A run pumps its window at most every ProgressPumpInterval ms: under Wine every pump and every
// repaint crosses to the server, and a run that did so per step or per copied block spent more
// time on them than on its work. Every text is still set at once, so that a text read from the
// control (WM_GETTEXT) is always the current one; only its repaint waits for the next pump. The
// bar too takes every percent at once (PBM_GETPOS is always current) and repaints at the pump.
// A run flushes before a message box, before it starts a program and at its end, so that the
// window shows the current step whenever the run waits.

// Sets the status text of the record's window (none: nothing), then pumps when it is time.
void ShowProgressText(ProgressRecord* record, const char* text);
// The same with the text formatted from a format with one "%s", the name.
void ShowProgressStep(ProgressRecord* record, const char* format, const char* name);

// Pumps when ProgressPumpInterval ms have passed since the last pump.
void PaceProgress(ProgressRecord* record);
// Repaints the status text and the bar and pumps now.
void FlushProgress(ProgressRecord* record);

// Adds the units just done (clamped to the total), moves the bar when the percentage changed,
// then pumps when it is time. The percentage is rounded to the nearest whole; a total of 0
// gives 255 (a full bar). Matches the copy's progress callback: (count, record).
void AdvanceProgress(DWORD units, void* record);

// Takes every waiting message, letting the window's dialog keys work.
void PumpProgressWindow(HWND window);

// Shows the window and disables its owner; returns whether the owner had been enabled.
BOOL ShowProgressWindow(HWND owner, HWND window);

// Gives the owner back its remembered enabled state and destroys the window.
void DestroyProgressWindow(HWND owner, HWND window, BOOL ownerWasEnabled);
