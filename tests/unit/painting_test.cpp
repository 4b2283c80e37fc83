// The painted header band and Welcome background, drawn into a memory bitmap and read back.
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <vector>
#include "controls/painting.h"

static const COLORREF Untouched = RGB(255, 0, 255);

static HBITMAP SolidBitmap(int width, int height, COLORREF color)
{
    BITMAPINFO info = {};
    info.bmiHeader = { sizeof info.bmiHeader, width, -height, 1, 32 };
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    for (int i = 0; i < width * height; i++) ((DWORD*)bits)[i] = GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color);
    return bitmap;
}

// Paints into a 300 x 120 canvas through a hidden window of that client size; the colours at
// the points asked for.
static std::vector<COLORREF> Paint(const std::function<void(HWND, HDC)>& paint, std::vector<POINT> points)
{
    RECT rect = { 0, 0, 300, 120 };
    AdjustWindowRect(&rect, WS_POPUP, FALSE);
    HWND page = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, rect.right - rect.left, rect.bottom - rect.top, NULL, NULL, NULL, NULL);
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP canvas = SolidBitmap(300, 120, Untouched);
    HGDIOBJ old = SelectObject(dc, canvas);
    paint(page, dc);
    std::vector<COLORREF> colours;
    for (POINT p : points) colours.push_back(GetPixel(dc, p.x, p.y));
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
    DestroyWindow(page);
    return colours;
}

TEST(Painting, HeaderBandsAndTheWelcomeBackground)
{
    const COLORREF back = RGB(10, 20, 30), line = RGB(200, 0, 0), image = RGB(0, 0, 255), U = Untouched;
    HBITMAP bitmap = SolidBitmap(50, 30, image);
    // Strip of 4, band to 34, the image's right edge on the client's and its top on the strip's bottom.
    PageHeader full = { back, line, bitmap, 34, 4 };
    EXPECT_EQ((std::vector<COLORREF>{ line, line, back, back, U, line, image, image, U }),
              Paint([&](HWND page, HDC dc) { PaintPageHeader(page, dc, &full); },
                    { { 0, 0 }, { 249, 3 }, { 0, 4 }, { 249, 33 }, { 0, 34 }, { 250, 3 }, { 250, 4 }, { 299, 33 }, { 299, 34 } }));
    // Without a back colour only the image; without a strip the band starts at the top.
    PageHeader imageOnly = { NoColor, line, bitmap, 33, 3 }, noStrip = { back, line, NULL, 25, 0 };
    EXPECT_EQ((std::vector<COLORREF>{ U, U, U, image, image, U }), Paint([&](HWND page, HDC dc) { PaintPageHeader(page, dc, &imageOnly); },
              { { 0, 0 }, { 0, 10 }, { 270, 2 }, { 260, 3 }, { 299, 32 }, { 249, 10 } }));
    EXPECT_EQ((std::vector<COLORREF>{ back, back, U }), Paint([&](HWND page, HDC dc) { PaintPageHeader(page, dc, &noStrip); },
              { { 0, 0 }, { 299, 24 }, { 150, 25 } }));
    // The Welcome page: the colour over everything, the image at the top-left corner.
    HBITMAP picture = SolidBitmap(60, 90, image);
    EXPECT_EQ((std::vector<COLORREF>{ image, image, back, back, back }), Paint([&](HWND page, HDC dc) {
                  PaintWelcomeBackground(page, dc, back, picture);
                  PaintWelcomeBackground(page, dc, NoColor, NULL);
              }, { { 0, 0 }, { 59, 89 }, { 60, 0 }, { 0, 90 }, { 299, 119 } }));
    DeleteObject(bitmap);
    DeleteObject(picture);
}
