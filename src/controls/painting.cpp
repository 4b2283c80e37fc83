#include "controls/painting.h"

static void FillWithColor(HDC dc, const RECT* rect, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    if (!brush) return;
    FillRect(dc, rect, brush);
    DeleteObject(brush);
}

// Draws the bitmap at its full size with its top-left corner at (x, y).
static void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, const BITMAP* size)
{
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return;
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(dc, x, y, size->bmWidth, size->bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void PaintPageHeader(HWND page, HDC dc, const PageHeader* header)
{
    RECT client;
    GetClientRect(page, &client);
    if (header->backColor != NoColor) {
        RECT band = client;
        if (header->lineHeight) {
            RECT strip = client;
            strip.bottom = client.top + header->lineHeight;
            FillWithColor(dc, &strip, header->lineColor);
            band.top = client.top + header->lineHeight;
        }
        band.bottom = client.top + header->bandHeight;
        FillWithColor(dc, &band, header->backColor);
    }
    if (header->bitmap) {
        BITMAP size;
        if (GetObjectA(header->bitmap, sizeof size, &size))
            DrawBitmap(dc, header->bitmap, client.right - size.bmWidth, header->lineHeight, &size);
    }
}

void PaintWelcomeBackground(HWND page, HDC dc, COLORREF backColor, HBITMAP image)
{
    if (backColor != NoColor) {
        RECT client;
        GetClientRect(page, &client);
        FillWithColor(dc, &client, backColor);
    }
    if (image) {
        BITMAP size;
        if (GetObjectA(image, sizeof size, &size)) DrawBitmap(dc, image, 0, 0, &size);
    }
}

void PaintHeaderPage(HWND page, const PageHeader* header)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(page, &paint);
    if (dc) PaintPageHeader(page, dc, header);
    EndPaint(page, &paint);
}

void PaintWelcomePage(HWND page, COLORREF backColor, HBITMAP image)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(page, &paint);
    if (dc) PaintWelcomeBackground(page, dc, backColor, image);
    EndPaint(page, &paint);
}
