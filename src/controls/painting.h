// Painting of the wizard pages' own backgrounds: the header band with its image, and the
// Welcome page's colour and picture.
#pragma once
#include <windows.h>

struct PageHeader;

// In the page's client coordinates: the strip of lineColor from the top to lineHeight and the
// band of backColor down to bandHeight (both only with a back colour), then the bitmap at its
// full size with its right edge on the client's right edge and its top at lineHeight.
void PaintPageHeader(HWND page, HDC dc, const PageHeader* header);

// The whole client area in the back colour (unless NoColor), then the image unscaled at (0, 0).
void PaintWelcomeBackground(HWND page, HDC dc, COLORREF backColor, HBITMAP image);

// A page's WM_PAINT: BeginPaint, the painting above, EndPaint.
void PaintHeaderPage(HWND page, const PageHeader* header);
void PaintWelcomePage(HWND page, COLORREF backColor, HBITMAP image);
