// The page frame's geometry on plain windows standing in for a sheet and its page, with real
// bitmap and rich-text files: the header band, the divider label, the sheet's divider line and
// widening, and centring.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "controls/window_helpers.h"
#include "core/globals.h"
#include "core/setup_context.h"
#include "wizard/page_frame.h"
#include "wizard/wizard_state.h"
#include "unit/file_helpers.h"

static RECT In(HWND window)
{
    RECT rect;
    RectInParent(window, &rect);
    return rect;
}

static HWND Child(HWND parent, const char* className, int x, int y, int width, int height, int id = 0)
{
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent, (HMENU)(INT_PTR)id, NULL, NULL);
}

TEST(PageFrame, HeaderBandAndDividerLabel)
{
    for (auto c : { std::make_pair("1.5", 2), { "2.5", 3 }, { "0.5", 1 }, { "0.49", 0 }, { "4px", 4 }, { "", 0 }, { "thin", 0 } })
        EXPECT_EQ(c.second, ScaleLineHeight(c.first, 96)) << c.first;
    EXPECT_EQ((std::vector<int>{ 5, 1, 0 }), (std::vector<int>{ ScaleLineHeight("3", 144), ScaleLineHeight("1", 120), ScaleLineHeight("3", -5) }));
    std::string folder = ScratchFolder("page-header"), pixels(180 * 40, '\x40');
    BITMAPINFOHEADER info = { sizeof info, 60, 40, 1, 24 };
    BITMAPFILEHEADER file = { 0x4D42, (DWORD)(sizeof file + sizeof info + pixels.size()), 0, 0, sizeof file + sizeof info };
    WriteFileBytes(folder + "\\band.bmp", std::string((char*)&file, sizeof file) + std::string((char*)&info, sizeof info) + pixels);
    WriteFileBytes(folder + "\\band.rtf", "{\\rtf1\\ansi Band text\\par}");
    lstrcpyA(SetupFolder, (folder + "\\").c_str());
    std::string scripts[] = {
        "[Setup]\r\nheaderlineheight=4\r\nheaderlinecolor=1\r\n[License]\r\nheaderimage=" + folder + "\\none.bmp\r\nHeaderBackColor=255\r\n",
        "[Setup]\r\nheaderlineheight=4\r\n[License]\r\nheaderimage=" + folder + "\\band.bmp\r\n",
        "[Setup]\r\nheaderlineheight=4\r\nheaderlinecolor=65280\r\n[License]\r\nheaderimage=" + folder + "\\band.bmp\r\nHeaderBackColor=16777215\r\n"
        "HeaderRTF=band.rtf\r\nHeaderRTFMargins=5,6,7\r\nDividerText=On the line\r\nDividerTextOffset=-1,3\r\n",
    };
    HDC screen = GetDC(NULL);
    int strip = 4 * GetDeviceCaps(screen, LOGPIXELSY) / 96;
    ReleaseDC(NULL, screen);
    std::vector<std::vector<LONG>> headers;
    for (std::string& script : scripts) {
        SetupContext context = {};
        WizardState state = {};
        context.script = &script[0];
        state.context = &context;
        PageHeader* header = &state.license.header;
        header->backColor = NoColor;
        LoadPageHeader(&state, header, "License");
        headers.push_back({ header->bitmap != NULL, (LONG)header->backColor, (LONG)header->lineColor, header->lineHeight });
        if (script != scripts[2]) continue;
        // A sheet at 50,50 500x400 with a page at 12,9 400x300; every control keeps its place on
        // the screen, then the moved and the pushed ones leave the band by the image and 2.
        HWND sheet = CreateWindowExA(0, "#32770", "sheet", WS_POPUP | WS_CAPTION, 50, 50, 500, 400, NULL, NULL, NULL, NULL);
        HWND page = Child(sheet, "#32770", 12, 9, 400, 300), moved = Child(page, "Static", 0, 0, 100, 20, 101);
        HWND pushed = Child(page, "Static", 0, 30, 100, 200, 102), still = Child(page, "Static", 0, 250, 100, 20, 103), line = NULL;
        const int movedIds[] = { 101 }, pushedIds[] = { 102 };
        HeaderMoves moves = { movedIds, 1, pushedIds, 1 };
        RECT finalRect = {}, client;
        LayOutPageHeader(page, &state, "License", header, &moves, &finalRect);
        GetClientRect(sheet, &client);
        for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetWindowLongA(child, GWL_STYLE) & SS_SUNKEN) line = child;
        RECT placed = In(page), etched = In(line), rich = In(FindWindowExA(page, NULL, "RICHEDIT", NULL));
        EXPECT_TRUE(EqualRect(&placed, &finalRect));
        EXPECT_EQ((std::vector<LONG>{ 0, 0, client.right, 309, strip + 40, 12, 51, 81, 239, 259, strip + 40, strip + 42, client.right,
                                      12, strip, client.right - 60 - 12, strip + 40 }),
                  (std::vector<LONG>{ placed.left, placed.top, placed.right, placed.bottom, header->bandHeight, In(moved).left, In(moved).top,
                                      In(pushed).top, In(pushed).bottom, In(still).top, etched.top, etched.bottom, etched.right - etched.left,
                                      rich.left, rich.top, rich.right - rich.left, rich.bottom }));
        state.dividerTop = 200;
        PlaceDividerLabel(page, &state, "License", 12, &state.license.label);
        HideDividerLabel(&state.license.label);
        PlaceDividerLabel(page, &state, "License", 99, &state.license.label);
        RECT label = In(state.license.label.window);
        HWND shown = state.license.label.window;
        EXPECT_EQ((std::vector<LONG>{ 12, 200 - (label.bottom - label.top) / 2 + 3, 1, 1 }),
                  (std::vector<LONG>{ label.left, label.top, (GetWindowLongA(shown, GWL_STYLE) & WS_VISIBLE) != 0, GetParent(shown) == sheet }))
            << "on the divider at -1,3 from the page's left edge, placed once, shown again";
        PlaceDividerLabel(page, &state, "Destination", 12, &state.destination.label);
        EXPECT_EQ(nullptr, state.destination.label.window) << "no text, no label";
        DeleteObject(header->bitmap);
        DestroyWindow(sheet);
        if (context.richEditModule) FreeLibrary(context.richEditModule);
    }
    lstrcpyA(SetupFolder, "");
    EXPECT_EQ((std::vector<std::vector<LONG>>{ { 0, -1, 0, 0 }, { 1, -1, 0, 0 }, { 1, 16777215, 65280, strip } }), headers)
        << "without a bitmap nothing else is read; a strip height without a colour gives no strip";
}

TEST(PageFrame, SheetDividerWideningAndCentring)
{
    HWND sheet = CreateWindowExA(0, "#32770", "sheet", WS_POPUP | WS_CAPTION, 100, 100, 400, 300, NULL, NULL, NULL, NULL);
    Child(sheet, "Static", 5, 20, 300, 2);
    HWND page = Child(sheet, "#32770", 10, 10, 350, 180), divider = Child(sheet, "Static", 7, 200, 370, 2);
    HWND twin = Child(sheet, "STATIC", 30, 200, 10, 2), back = Child(sheet, "Button", 150, 220, 60, 20);
    SetupContext context = {};
    WizardState state = {};
    state.context = &context;
    FindSheetDivider(&state, page);
    HWND lower = Child(sheet, "Static", 0, 250, 5, 5);
    FindSheetDivider(&state, page);
    EXPECT_EQ((std::vector<LONG>{ 200, 7, 377 }), (std::vector<LONG>{ state.dividerTop, context.dividerRect.left, context.dividerRect.right }))
        << "the first of the lowest statics, found once";
    DestroyWindow(lower);
    RECT before, after, client;
    GetWindowRect(sheet, &before);
    state.dividerTop = 999;
    WidenSheet(sheet, &state, 40, false);
    GetWindowRect(sheet, &after);
    EXPECT_EQ((std::vector<LONG>{ 40, 0, 190, 10, 200, 7, 417, 10 }),
              (std::vector<LONG>{ after.right - after.left - before.right + before.left, after.bottom - after.top - before.bottom + before.top,
                                  In(back).left, In(page).left, state.dividerTop, In(divider).left, In(divider).right, In(twin).right - In(twin).left }));
    WidenSheet(sheet, &state, 20, true);
    GetClientRect(sheet, &client);
    RECT line = In(divider);
    EXPECT_EQ((std::vector<LONG>{ 0, client.right, 210, 1 }), (std::vector<LONG>{ line.left, line.right, In(back).left, EqualRect(&line, &context.dividerRect) }));
    DestroyWindow(sheet);

    RECT work, rect;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    HWND owner = CreateWindowExA(0, "#32770", "", WS_POPUP, work.left + 100, work.top + 50, 300, 300, NULL, NULL, NULL, NULL);
    HWND owned = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 100, 80, owner, NULL, NULL, NULL);
    HWND tall = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 400, 2000, owner, NULL, NULL, NULL);
    std::vector<LONG> places;
    for (int step = 0; step < 3; step++) {
        if (step == 1) SetWindowPos(owner, NULL, work.right - 120, work.top + 50, 300, 300, SWP_NOZORDER | SWP_NOACTIVATE);
        if (step == 2) ShowWindow(owner, SW_MINIMIZE);
        CenterWindow(step == 1 ? tall : owned);
        GetWindowRect(step == 1 ? tall : owned, &rect);
        places.insert(places.end(), { rect.left, rect.top });
    }
    EXPECT_EQ((std::vector<LONG>{ work.left + 200, work.top + 160, work.right - 400, work.top, (work.left + work.right - 100) / 2,
                                  (work.top + work.bottom - 80) / 2 }), places)
        << "on the owner; kept inside the work area; a minimised owner counts as none";
    DestroyWindow(owner);
}
