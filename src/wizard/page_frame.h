// The frame that the setup script puts around a wizard page: the header band with its image
// and rich text, the etched line under it, the label on the sheet's divider line, the sheet
// widened for the Welcome image or the agreement. Coordinates are device pixels.
#pragma once
#include <windows.h>
#include "controls/header_band.h"

struct WizardState;
struct PageHeader;
struct DividerLabel;

// Controls that a page moves out of the band: moved down, or with only their top edge pushed
// down, by the header bitmap's height plus 2.
struct HeaderMoves {
    const int* movedIds;
    int movedCount;
    const int* pushedIds;
    int pushedCount;
};

// From the page's section: the bitmap of "headerimage" (best variant for the screen) and,
// only when it loaded, HeaderBackColor, the Setup section's headerlineheight and
// headerlinecolor. Called at the page's WM_INITDIALOG.
void LoadPageHeader(WizardState* state, PageHeader* header, const char* section);

// On the page's first activation, when its header bitmap is loaded: the page covers the sheet
// from its top-left corner, the band and the etched line under it are made, the page's
// controls move out of the band and the header rich text is created. Stores finalRect.
void LayOutPageHeader(HWND page, WizardState* state, const char* section, PageHeader* header,
                      const HeaderMoves* moves, RECT* finalRect);

// Creates the label from the section's DividerText on first use and puts it on the divider
// line; a negative x offset stands for anchorX. Every activation of the page.
void PlaceDividerLabel(HWND page, WizardState* state, const char* section, int anchorX, DividerLabel* label);
// On leaving the page.
void HideDividerLabel(DividerLabel* label);

// Finds the sheet's divider line (the lowest "STATIC" child of the sheet) once: dividerTop
// and the context's dividerRect.
void FindSheetDivider(WizardState* state, HWND page);

// The extra width cut so that the sheet stays as wide as the work area at most; never below 0.
int FitSheetGrowth(HWND sheet, int extraWidth);

// Makes the sheet wider: its buttons move right, its divider line grows (or spans the whole
// client width), dividerTop and dividerRect are found again, and the sheet is centred.
void WidenSheet(HWND sheet, WizardState* state, int extraWidth, bool fullWidthDivider);

// A control of a page that took the widened width grows by as much as the page did.
void GrowControl(HWND page, WizardState* state, int controlId, int initialWidth);

// The control reaches to the page's right edge less its own left margin: the same margin on
// both sides.
void FitControlToPage(HWND page, int controlId);

// A one-line label too narrow for its text grows up to the right edge given; what still does
// not fit ends with an ellipsis.
void WidenLabelToText(HWND page, int controlId, int right);

// A control that reaches past the page's right edge less the margin is cut there; one that
// starts past it shrinks to nothing at that line.
void KeepControlInPage(HWND page, HWND control, int margin);

// Gives the page a new width, keeping its place and height.
void SetPageWidth(HWND page, int width);
// The page's current width in pixels.
int PageWidth(HWND page);
