// The painted header band and Welcome background, drawn into a memory bitmap and read back.
#include <windows.h>
#include <gtest/gtest.h>
#include "controls/painting.h"
#include "wizard/wizard_state.h"

namespace {

const COLORREF Untouched = RGB(255, 0, 255);
const int PageWidth = 300, PageHeight = 120;

// A hidden window of the page's client size and a 32-bit memory bitmap to paint into.
struct Canvas {
    HWND page;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

HBITMAP SolidBitmap(int width, int height, COLORREF color)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    DWORD pixel = GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color);
    for (int i = 0; i < width * height; i++) ((DWORD*)bits)[i] = pixel;
    return bitmap;
}

void OpenCanvas(Canvas* canvas)
{
    RECT rect = { 0, 0, PageWidth, PageHeight };
    AdjustWindowRect(&rect, WS_POPUP, FALSE);
    canvas->page = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                                   NULL, NULL, NULL, NULL);
    canvas->dc = CreateCompatibleDC(NULL);
    canvas->bitmap = SolidBitmap(PageWidth, PageHeight, Untouched);
    canvas->old = SelectObject(canvas->dc, canvas->bitmap);
}

void CloseCanvas(Canvas* canvas)
{
    SelectObject(canvas->dc, canvas->old);
    DeleteObject(canvas->bitmap);
    DeleteDC(canvas->dc);
    DestroyWindow(canvas->page);
}

}  // namespace

TEST(PaintPageHeader, StripBandAndImageAtTheRight)
{
    Canvas canvas;
    OpenCanvas(&canvas);
    const COLORREF back = RGB(10, 20, 30), line = RGB(200, 0, 0), image = RGB(0, 0, 255);
    PageHeader header = { back, line, SolidBitmap(50, 30, image), 34, 4 };
    PaintPageHeader(canvas.page, canvas.dc, &header);

    EXPECT_EQ(line, GetPixel(canvas.dc, 0, 0));
    EXPECT_EQ(line, GetPixel(canvas.dc, 249, 3));
    EXPECT_EQ(back, GetPixel(canvas.dc, 0, 4));
    EXPECT_EQ(back, GetPixel(canvas.dc, 249, 33));
    EXPECT_EQ(Untouched, GetPixel(canvas.dc, 0, 34));
    // The image: right edge on the client's, top at the strip's bottom.
    EXPECT_EQ(line, GetPixel(canvas.dc, 250, 3));
    EXPECT_EQ(image, GetPixel(canvas.dc, 250, 4));
    EXPECT_EQ(image, GetPixel(canvas.dc, 299, 33));
    EXPECT_EQ(Untouched, GetPixel(canvas.dc, 299, 34));
    DeleteObject(header.bitmap);
    CloseCanvas(&canvas);
}

TEST(PaintPageHeader, WithoutBackColourOnlyTheImage)
{
    Canvas canvas;
    OpenCanvas(&canvas);
    const COLORREF image = RGB(0, 128, 0);
    PageHeader header = { NoColor, RGB(200, 0, 0), SolidBitmap(40, 20, image), 23, 3 };
    PaintPageHeader(canvas.page, canvas.dc, &header);
    EXPECT_EQ(Untouched, GetPixel(canvas.dc, 0, 0));
    EXPECT_EQ(Untouched, GetPixel(canvas.dc, 0, 10));
    EXPECT_EQ(Untouched, GetPixel(canvas.dc, 270, 2));
    EXPECT_EQ(image, GetPixel(canvas.dc, 260, 3));
    EXPECT_EQ(image, GetPixel(canvas.dc, 299, 22));
    EXPECT_EQ(Untouched, GetPixel(canvas.dc, 259, 10));
    DeleteObject(header.bitmap);
    CloseCanvas(&canvas);
}

TEST(PaintPageHeader, BackColourWithoutStripStartsAtTheTop)
{
    Canvas canvas;
    OpenCanvas(&canvas);
    const COLORREF back = RGB(1, 2, 3);
    PageHeader header = { back, RGB(200, 0, 0), NULL, 25, 0 };
    PaintPageHeader(canvas.page, canvas.dc, &header);
    EXPECT_EQ(back, GetPixel(canvas.dc, 0, 0));
    EXPECT_EQ(back, GetPixel(canvas.dc, 299, 24));
    EXPECT_EQ(Untouched, GetPixel(canvas.dc, 150, 25));
    CloseCanvas(&canvas);
}

TEST(PaintWelcomeBackground, FillsTheClientAndDrawsTheImageAtTheCorner)
{
    Canvas canvas;
    OpenCanvas(&canvas);
    const COLORREF back = RGB(250, 240, 200), image = RGB(20, 40, 60);
    HBITMAP bitmap = SolidBitmap(60, 90, image);
    PaintWelcomeBackground(canvas.page, canvas.dc, back, bitmap);
    EXPECT_EQ(image, GetPixel(canvas.dc, 0, 0));
    EXPECT_EQ(image, GetPixel(canvas.dc, 59, 89));
    EXPECT_EQ(back, GetPixel(canvas.dc, 60, 0));
    EXPECT_EQ(back, GetPixel(canvas.dc, 0, 90));
    EXPECT_EQ(back, GetPixel(canvas.dc, 299, 119));

    PaintWelcomeBackground(canvas.page, canvas.dc, NoColor, NULL);
    EXPECT_EQ(back, GetPixel(canvas.dc, 299, 119));
    DeleteObject(bitmap);
    CloseCanvas(&canvas);
}
