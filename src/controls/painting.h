// Painting of the wizard pages' own backgrounds: the header band with its image, and the
// Welcome page's colour and picture.
#pragma once
#include <windows.h>

const COLORREF NoColor = 0xFFFFFFFF;

// The coloured band across the top of a page, with its image at the right.
struct PageHeader {
    COLORREF backColor;   // NoColor = no fill
    COLORREF lineColor;   // the strip at the top of the band
    HBITMAP bitmap;       // the band exists only when this is loaded
    int bandHeight;       // lineHeight plus the bitmap's height, once laid out
    int lineHeight;       // height of the top strip in pixels
};

// In the page's client coordinates: the strip of lineColor from the top to lineHeight and the
// band of backColor down to bandHeight (both only with a back colour), then the bitmap at its
// full size with its right edge on the client's right edge and its top at lineHeight.
void PaintPageHeader(HWND page, HDC dc, const PageHeader* header);

// The whole client area in the back colour (unless NoColor), then the image unscaled at (0, 0).
void PaintWelcomeBackground(HWND page, HDC dc, COLORREF backColor, HBITMAP image);

// A page's WM_PAINT: BeginPaint, the painting above, EndPaint.
void PaintHeaderPage(HWND page, const PageHeader* header);
void PaintWelcomePage(HWND page, COLORREF backColor, HBITMAP image);
