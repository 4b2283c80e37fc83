// What the wizard's pages and the header progress window share about a header band: the
// coloured strip at its top, as the setup script sizes it, and the place of the rich text
// inside the band. Sizes from the script are kept inside the band, whatever their values.
#pragma once
#include <windows.h>

struct PageHeader;

// The strip's height: value pixels at 96 DPI scaled to the given DPI, rounded half away from
// zero. The value may carry a fraction ("1.5"). Never more than INT_MAX.
int ScaleLineHeight(const char* value, int dpi);

// The Setup section's headerlineheight (scaled to the screen's DPI) and headerlinecolor into
// lineHeight and lineColor; without either of them the strip is 0 high. Called only when the
// band's bitmap loaded.
void LoadHeaderStrip(char* script, PageHeader* header);

// The rich text's rectangle in a band that spans left..right (the image's left edge) and
// top..bottom: inset by the script's margins, each cut so that the rectangle stays inside the
// band; margins wider than the band leave an empty rectangle at its edge.
RECT HeaderTextRect(int left, int top, int right, int bottom, DWORD marginLeft, DWORD marginTop,
                    DWORD marginRight, DWORD marginBottom);
