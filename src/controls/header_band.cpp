#include "controls/header_band.h"
#include "controls/painting.h"
#include "core/format.h"
#include "core/script.h"

int ScaleLineHeight(const char* value, int dpi)
{
    // The value as a fraction numerator / denominator, to six decimals.
    unsigned long long numerator = 0, denominator = 1;
    const char* p = value;
    for (int digits = 0; *p >= '0' && *p <= '9'; p++)
        if (++digits <= 9) numerator = numerator * 10 + (unsigned)(*p - '0');
    if (*p == '.')
        for (p++; *p >= '0' && *p <= '9' && denominator < 1000000; p++) {
            numerator = numerator * 10 + (unsigned)(*p - '0');
            denominator *= 10;
        }
    if (dpi < 0) dpi = 0;
    unsigned long long scaledTwice = 2 * numerator * (unsigned)dpi;
    unsigned long long unit = denominator * 96;
    unsigned long long height = (scaledTwice + unit) / (2 * unit);
    return height > 0x7FFFFFFF ? 0x7FFFFFFF : (int)height;
}

static int ScreenDpi()
{
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpi;
}

void LoadHeaderStrip(char* script, PageHeader* header)
{
    header->lineHeight = 0;
    header->lineColor = 0;
    char value[256];
    if (!GetScriptValue(script, "Setup", "headerlineheight", "", value, sizeof value)) return;
    int height = ScaleLineHeight(value, ScreenDpi());
    if (!GetScriptValue(script, "Setup", "headerlinecolor", "", value, sizeof value)) return;
    header->lineHeight = height;
    header->lineColor = ParseDecimal(value);
}

// start + inset, kept between low and high.
static int Inset(int start, long long inset, int low, int high)
{
    long long value = start + inset;
    if (value < low) value = low;
    if (value > high) value = high;
    return (int)value;
}

RECT HeaderTextRect(int left, int top, int right, int bottom, DWORD marginLeft, DWORD marginTop,
                    DWORD marginRight, DWORD marginBottom)
{
    if (right < left) right = left;
    if (bottom < top) bottom = top;
    RECT rect;
    rect.left = Inset(left, marginLeft, left, right);
    rect.top = Inset(top, marginTop, top, bottom);
    rect.right = Inset(right, -(long long)marginRight, rect.left, right);
    rect.bottom = Inset(bottom, -(long long)marginBottom, rect.top, bottom);
    return rect;
}
