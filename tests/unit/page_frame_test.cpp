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

static RECT InParent(HWND window)
{
    RECT rect;
    RectInParent(window, &rect);
    return rect;
}

static HWND Child(HWND parent, const char* className, int x, int y, int width, int height, int id = 0)
{
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent, (HMENU)(INT_PTR)id, NULL, NULL);
}

static int Dpi()
{
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpi;
}

// A 24-bit bitmap file of one grey.
static std::string Bitmap(const std::string& path, int width, int height)
{
    BITMAPINFOHEADER info = { sizeof info, width, height, 1, 24 };
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = { 0x4D42, (DWORD)(sizeof file + sizeof info + stride * height), 0, 0, sizeof file + sizeof info };
    WriteFileBytes(path, std::string((char*)&file, sizeof file) + std::string((char*)&info, sizeof info) +
                             std::string(stride * height, '\x40'));
    return path;
}

// A sheet at 50,50 500x400 with a page at 12,9 400x300, and the state of a wizard on a script.
struct Sheet {
    std::string script;
    SetupContext context = {};
    WizardState state = {};
    HWND sheet = CreateWindowExA(0, "#32770", "sheet", WS_POPUP | WS_CAPTION, 50, 50, 500, 400, NULL, NULL, NULL, NULL);
    HWND page = Child(sheet, "#32770", 12, 9, 400, 300);
    explicit Sheet(const std::string& text) : script(text)
    {
        context.script = &script[0];
        state.context = &context;
        state.license.header.backColor = NoColor;
    }
    ~Sheet()
    {
        if (state.license.header.bitmap) DeleteObject(state.license.header.bitmap);
        DestroyWindow(sheet);
        if (context.richEditModule) FreeLibrary(context.richEditModule);
    }
};

TEST(PageHeader, ReadLaidOutAndLabelled)
{
    for (auto c : { std::make_pair("1.5", 2), { "2.5", 3 }, { "0.5", 1 }, { "0.49", 0 }, { "4px", 4 }, { "", 0 }, { "thin", 0 } })
        EXPECT_EQ(c.second, ScaleLineHeight(c.first, 96)) << c.first;
    EXPECT_EQ(5 * 10 + 1, ScaleLineHeight("3", 144) * 10 + ScaleLineHeight("1", 120));  // 4.5 and 1.25
    EXPECT_EQ(0, ScaleLineHeight("3", -5));

    std::string folder = ScratchFolder("page-header"), image = Bitmap(folder + "\\band.bmp", 60, 40);
    WriteFileBytes(folder + "\\band.rtf", "{\\rtf1\\ansi Band text\\par}");
    {
        Sheet without("[Setup]\r\nheaderlineheight=4\r\nheaderlinecolor=1\r\n[License]\r\nheaderimage=" + folder +
                      "\\missing.bmp\r\nHeaderBackColor=255\r\n");
        LoadPageHeader(&without.state, &without.state.license.header, "License");
        EXPECT_EQ(nullptr, without.state.license.header.bitmap) << "without a bitmap nothing else is read";
        EXPECT_EQ(0, without.state.license.header.lineHeight);
        EXPECT_EQ(NoColor, without.state.license.header.backColor);
        Sheet noColour("[Setup]\r\nheaderlineheight=4\r\n[License]\r\nheaderimage=" + image + "\r\n");
        LoadPageHeader(&noColour.state, &noColour.state.license.header, "License");
        EXPECT_NE(nullptr, noColour.state.license.header.bitmap);
        EXPECT_EQ(0, noColour.state.license.header.lineHeight) << "a strip height without a colour gives no strip";
    }

    char saved[MAX_PATH];
    lstrcpyA(saved, SetupFolder);
    lstrcpyA(SetupFolder, (folder + "\\").c_str());
    Sheet fixture("[Setup]\r\nheaderlineheight=4\r\nheaderlinecolor=65280\r\n[License]\r\nheaderimage=" + image +
                  "\r\nHeaderBackColor=16777215\r\nHeaderRTF=band.rtf\r\nHeaderRTFMargins=5,6,7\r\n"
                  "DividerText=On the line\r\nDividerTextOffset=-1,3\r\n[ProgFolder]\r\nDividerTextOffset=4,4\r\n");
    HWND moved = Child(fixture.page, "Static", 0, 0, 100, 20, 101), pushed = Child(fixture.page, "Static", 0, 30, 100, 200, 102);
    HWND still = Child(fixture.page, "Static", 0, 250, 100, 20, 103);
    PageHeader* header = &fixture.state.license.header;
    LoadPageHeader(&fixture.state, header, "License");
    ASSERT_NE(nullptr, header->bitmap);
    EXPECT_EQ(16777215u, header->backColor);
    EXPECT_EQ(65280u, header->lineColor);
    int strip = 4 * Dpi() / 96;
    EXPECT_EQ(strip, header->lineHeight);
    const int movedIds[] = { 101 }, pushedIds[] = { 102 };
    HeaderMoves moves = { movedIds, 1, pushedIds, 1 };
    RECT finalRect = {}, sheetClient, page;
    LayOutPageHeader(fixture.page, &fixture.state, "License", header, &moves, &finalRect);
    GetClientRect(fixture.sheet, &sheetClient);
    page = InParent(fixture.page);
    EXPECT_TRUE(EqualRect(&page, &finalRect));
    EXPECT_EQ((std::vector<LONG>{ 0, 0, sheetClient.right, 309 }), (std::vector<LONG>{ page.left, page.top, page.right, page.bottom }));
    EXPECT_EQ(strip + 40, header->bandHeight);
    // Every control keeps its place on the screen, then leaves the band by the image and 2.
    EXPECT_EQ((std::vector<LONG>{ 12, 51, 81, 239, 259 }), (std::vector<LONG>{ InParent(moved).left, InParent(moved).top,
              InParent(pushed).top, InParent(pushed).bottom, InParent(still).top }));
    HWND line = NULL, rich = FindWindowExA(fixture.page, NULL, "RICHEDIT", NULL);
    for (HWND child = GetWindow(fixture.page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongA(child, GWL_STYLE) & SS_SUNKEN) line = child;
    lstrcpyA(SetupFolder, saved);
    ASSERT_TRUE(line && rich);
    RECT lineRect = InParent(line), text = InParent(rich);
    EXPECT_EQ((std::vector<LONG>{ strip + 40, 2, sheetClient.right }),
              (std::vector<LONG>{ lineRect.top, lineRect.bottom - lineRect.top, lineRect.right - lineRect.left }));
    // Three numbers only: the margins stay 0.
    EXPECT_EQ((std::vector<LONG>{ 12, strip, sheetClient.right - 60 - 12, 40 }),
              (std::vector<LONG>{ text.left, text.top, text.right - text.left, text.bottom - text.top }));
    EXPECT_FALSE(IsWindowEnabled(rich));

    // The label sits on the divider at its offset; a negative x means the page's left edge.
    fixture.state.dividerTop = 200;
    DividerLabel* label = &fixture.state.license.label;
    PlaceDividerLabel(fixture.page, &fixture.state, "License", 12, label);
    ASSERT_NE(nullptr, label->window);
    RECT place = InParent(label->window);
    char caption[64];
    GetWindowTextA(label->window, caption, sizeof caption);
    EXPECT_STREQ("On the line", caption);
    EXPECT_EQ(fixture.sheet, GetParent(label->window));
    EXPECT_GT(place.right - place.left, 20);
    EXPECT_EQ((std::vector<LONG>{ 12, 200 - (place.bottom - place.top) / 2 + 3 }), (std::vector<LONG>{ place.left, place.top }));
    HideDividerLabel(label);
    EXPECT_FALSE(GetWindowLongA(label->window, GWL_STYLE) & WS_VISIBLE);
    PlaceDividerLabel(fixture.page, &fixture.state, "License", 99, label);
    EXPECT_TRUE(GetWindowLongA(label->window, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(12, InParent(label->window).left) << "placed once, kept";
    PlaceDividerLabel(fixture.page, &fixture.state, "ProgFolder", 12, &fixture.state.programFolder.label);
    EXPECT_EQ(nullptr, fixture.state.programFolder.label.window) << "no text, no label";
    RemoveTree(folder);
}

TEST(SheetGeometry, DividerWideningAndCentring)
{
    HWND sheet = CreateWindowExA(0, "#32770", "sheet", WS_POPUP | WS_CAPTION, 100, 100, 400, 300, NULL, NULL, NULL, NULL);
    Child(sheet, "Static", 5, 20, 300, 2);
    HWND page = Child(sheet, "#32770", 10, 10, 350, 180), divider = Child(sheet, "Static", 7, 200, 370, 2);
    HWND twin = Child(sheet, "STATIC", 30, 200, 10, 2), back = Child(sheet, "Button", 150, 220, 60, 20);
    SetupContext context = {};
    WizardState state = {};
    state.context = &context;
    FindSheetDivider(&state, page);
    EXPECT_EQ((std::vector<LONG>{ 200, 7, 377 }), (std::vector<LONG>{ state.dividerTop, context.dividerRect.left, context.dividerRect.right }));
    HWND lower = Child(sheet, "Static", 0, 250, 5, 5);
    FindSheetDivider(&state, page);
    EXPECT_EQ(200, state.dividerTop) << "found once";
    DestroyWindow(lower);

    RECT before, after, client;
    GetWindowRect(sheet, &before);
    state.dividerTop = 999;
    WidenSheet(sheet, &state, 40, false);
    GetWindowRect(sheet, &after);
    EXPECT_EQ(before.right - before.left + 40, after.right - after.left);
    EXPECT_EQ(before.bottom - before.top, after.bottom - after.top);
    EXPECT_EQ((std::vector<LONG>{ 190, 10, 200 }), (std::vector<LONG>{ InParent(back).left, InParent(page).left, state.dividerTop }));
    EXPECT_EQ(417, InParent(divider).right);
    EXPECT_EQ(10, InParent(twin).right - InParent(twin).left);
    WidenSheet(sheet, &state, 20, true);
    GetClientRect(sheet, &client);
    RECT line = InParent(divider);
    EXPECT_EQ((std::vector<LONG>{ 0, client.right, 210 }), (std::vector<LONG>{ line.left, line.right, InParent(back).left }));
    EXPECT_TRUE(EqualRect(&line, &context.dividerRect));
    DestroyWindow(sheet);

    RECT work, rect;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    HWND owner = CreateWindowExA(0, "#32770", "", WS_POPUP, work.left + 100, work.top + 50, 300, 300, NULL, NULL, NULL, NULL);
    HWND owned = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 100, 80, owner, NULL, NULL, NULL);
    HWND wide = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 400, 2000, owner, NULL, NULL, NULL);
    CenterWindow(owned);
    GetWindowRect(owned, &rect);
    EXPECT_EQ((std::vector<LONG>{ work.left + 200, work.top + 160 }), (std::vector<LONG>{ rect.left, rect.top }));
    SetWindowPos(owner, NULL, work.right - 120, work.top + 50, 300, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow(wide);
    GetWindowRect(wide, &rect);
    EXPECT_EQ((std::vector<LONG>{ work.right - 400, work.top }), (std::vector<LONG>{ rect.left, rect.top })) << "kept inside";
    ShowWindow(owner, SW_MINIMIZE);
    CenterWindow(owned);
    GetWindowRect(owned, &rect);
    EXPECT_EQ((std::vector<LONG>{ (work.left + work.right - 100) / 2, (work.top + work.bottom - 80) / 2 }),
              (std::vector<LONG>{ rect.left, rect.top })) << "a minimised owner counts as none";
    DestroyWindow(owner);
}
