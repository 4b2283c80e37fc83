// The header band and divider label as the setup script describes them, on plain windows
// standing in for a sheet and its page, with real bitmap and rich-text files.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "core/format.h"
#include "core/globals.h"
#include "wizard/page_frame.h"
#include "core/setup_context.h"
#include "controls/window_helpers.h"
#include "wizard/wizard_state.h"

namespace {

std::string TempFolder()
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "page-header-test\\";
    CreateDirectoryA(path.c_str(), NULL);
    return path;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
}

// A 24-bit bitmap file of one colour.
std::string BitmapFile(const std::string& name, int width, int height)
{
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride * height;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes((const char*)&file, sizeof file);
    bytes.append((const char*)&info, sizeof info);
    bytes.append(stride * height, '\x40');
    std::string path = TempFolder() + name;
    WriteFile(path, bytes);
    return path;
}

struct Fixture {
    SetupContext context;
    WizardState state;
    char script[2048];
    HWND sheet, page;
};

void Open(Fixture* fixture, const std::string& script)
{
    ZeroMemory(fixture, sizeof *fixture);
    CopyText(script.c_str(), fixture->script, sizeof fixture->script);
    fixture->context.script = fixture->script;
    fixture->state.context = &fixture->context;
    fixture->state.license.header.backColor = NoColor;
    fixture->sheet = CreateWindowExA(0, "#32770", "sheet", WS_POPUP | WS_CAPTION, 50, 50, 500, 400, NULL, NULL, NULL, NULL);
    fixture->page = CreateWindowExA(0, "#32770", "", WS_CHILD | WS_VISIBLE, 12, 9, 400, 300, fixture->sheet, NULL, NULL, NULL);
}

void Close(Fixture* fixture)
{
    if (fixture->state.license.header.bitmap) DeleteObject(fixture->state.license.header.bitmap);
    DestroyWindow(fixture->sheet);
    if (fixture->context.richEditModule) FreeLibrary(fixture->context.richEditModule);
}

HWND Control(HWND parent, int id, int x, int y, int width, int height)
{
    return CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent, (HMENU)(INT_PTR)id,
                           NULL, NULL);
}

// Shown as far as the window itself goes (the test's sheet is never shown).
bool Shown(HWND window)
{
    return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

RECT InParent(HWND window)
{
    RECT rect;
    RectInParent(window, &rect);
    return rect;
}

// The page's child of a class, or none.
HWND FindChild(HWND parent, const char* className)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64];
        GetClassNameA(child, name, sizeof name);
        if (!lstrcmpiA(name, className)) return child;
    }
    return NULL;
}

int Dpi()
{
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpi;
}

}  // namespace

TEST(LoadPageHeader, ReadsColoursAndStripOnlyWithABitmap)
{
    std::string image = BitmapFile("band.bmp", 30, 20);
    Fixture fixture;
    Open(&fixture, "[Setup]\r\nheaderlineheight=2.5\r\nheaderlinecolor=65280\r\n[License]\r\nheaderimage=" + image +
                       "\r\nHeaderBackColor=255\r\n");
    PageHeader* header = &fixture.state.license.header;
    LoadPageHeader(&fixture.state, header, "License");
    ASSERT_TRUE(header->bitmap != NULL);
    EXPECT_EQ(255u, header->backColor);
    EXPECT_EQ(65280u, header->lineColor);
    EXPECT_EQ(ScaleLineHeight("2.5", Dpi()), header->lineHeight);
    Close(&fixture);

    // A strip height without a colour gives no strip.
    Open(&fixture, "[Setup]\r\nheaderlineheight=4\r\n[License]\r\nheaderimage=" + image + "\r\n");
    header = &fixture.state.license.header;
    LoadPageHeader(&fixture.state, header, "License");
    EXPECT_TRUE(header->bitmap != NULL);
    EXPECT_EQ(0, header->lineHeight);
    EXPECT_EQ(NoColor, header->backColor);
    Close(&fixture);

    // Without a bitmap that loads, the other keys are not read.
    Open(&fixture, "[Setup]\r\nheaderlineheight=4\r\nheaderlinecolor=1\r\n[License]\r\nheaderimage=" + TempFolder() +
                       "missing.bmp\r\nHeaderBackColor=255\r\n");
    header = &fixture.state.license.header;
    LoadPageHeader(&fixture.state, header, "License");
    EXPECT_TRUE(header->bitmap == NULL);
    EXPECT_EQ(NoColor, header->backColor);
    EXPECT_EQ(0, header->lineHeight);
    Close(&fixture);
}

TEST(LayOutPageHeader, CoversTheSheetAndMovesControlsOutOfTheBand)
{
    std::string folder = TempFolder();
    std::string image = BitmapFile("layout.bmp", 60, 40);
    WriteFile(folder + "band.rtf", "{\\rtf1\\ansi Band text\\par}");
    CopyText(folder.c_str(), SetupFolder, sizeof SetupFolder);

    Fixture fixture;
    Open(&fixture, "[Setup]\r\nheaderlineheight=3\r\nheaderlinecolor=1\r\n[License]\r\nheaderimage=" + image +
                       "\r\nHeaderBackColor=16777215\r\nHeaderRTF=band.rtf\r\nHeaderRTFMargins=5,6,7\r\n");
    HWND moved = Control(fixture.page, 101, 0, 0, 100, 20);
    HWND pushed = Control(fixture.page, 102, 0, 30, 100, 200);
    HWND still = Control(fixture.page, 103, 0, 250, 100, 20);
    PageHeader* header = &fixture.state.license.header;
    LoadPageHeader(&fixture.state, header, "License");
    ASSERT_TRUE(header->bitmap != NULL);
    ASSERT_EQ(3 * Dpi() / 96, header->lineHeight);
    int strip = header->lineHeight;

    const int movedIds[] = { 101 }, pushedIds[] = { 102 };
    HeaderMoves moves = { movedIds, 1, pushedIds, 1 };
    RECT finalRect = {};
    LayOutPageHeader(fixture.page, &fixture.state, "License", header, &moves, &finalRect);

    RECT sheetClient;
    GetClientRect(fixture.sheet, &sheetClient);
    RECT page = InParent(fixture.page);
    EXPECT_EQ(0, page.left);
    EXPECT_EQ(0, page.top);
    EXPECT_EQ(sheetClient.right, page.right);
    EXPECT_EQ(309, page.bottom);
    EXPECT_TRUE(EqualRect(&page, &finalRect));
    EXPECT_EQ(strip + 40, header->bandHeight);

    // Every control keeps its place on the screen, then leaves the band by 42 pixels.
    EXPECT_EQ(12, InParent(moved).left);
    EXPECT_EQ(9 + 42, InParent(moved).top);
    EXPECT_EQ(9 + 30 + 42, InParent(pushed).top);
    EXPECT_EQ(9 + 30 + 200, InParent(pushed).bottom);
    EXPECT_EQ(9 + 250, InParent(still).top);

    // The etched line under the band and the rich text with margins 0 (three numbers only).
    HWND line = NULL;
    for (HWND child = GetWindow(fixture.page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongA(child, GWL_STYLE) & SS_SUNKEN) line = child;
    ASSERT_TRUE(line != NULL);
    RECT lineRect = InParent(line);
    EXPECT_EQ(strip + 40, lineRect.top);
    EXPECT_EQ(2, lineRect.bottom - lineRect.top);
    EXPECT_EQ(sheetClient.right, lineRect.right - lineRect.left);
    HWND richText = FindChild(fixture.page, "RICHEDIT");
    ASSERT_TRUE(richText != NULL);
    RECT text = InParent(richText);
    EXPECT_EQ(12, text.left);
    EXPECT_EQ(strip, text.top);
    EXPECT_EQ(sheetClient.right - 60 - 12, text.right - text.left);
    EXPECT_EQ(40, text.bottom - text.top);
    EXPECT_FALSE(IsWindowEnabled(richText));
    EXPECT_TRUE(fixture.context.richEditModule != NULL);
    Close(&fixture);

    // A rich-text file that is missing makes no control.
    Open(&fixture, "[License]\r\nheaderimage=" + image + "\r\nHeaderRTF=missing.rtf\r\nHeaderRTFMargins=1,2,3,4\r\n");
    header = &fixture.state.license.header;
    LoadPageHeader(&fixture.state, header, "License");
    LayOutPageHeader(fixture.page, &fixture.state, "License", header, &moves, &finalRect);
    EXPECT_TRUE(FindChild(fixture.page, "RICHEDIT") == NULL);
    Close(&fixture);
}

TEST(PlaceDividerLabel, SitsOnTheDividerAtItsOffset)
{
    Fixture fixture;
    Open(&fixture, "[License]\r\nDividerText=On the line\r\nDividerTextOffset=-1,3\r\n"
                   "[Destination]\r\nDividerText=Single\r\nDividerTextOffset=5\r\n[ProgFolder]\r\nDividerTextOffset=4,4\r\n");
    fixture.state.dividerTop = 200;
    DividerLabel* label = &fixture.state.license.label;
    PlaceDividerLabel(fixture.page, &fixture.state, "License", 12, label);
    ASSERT_TRUE(label->window != NULL);
    EXPECT_EQ(fixture.sheet, GetParent(label->window));
    EXPECT_TRUE(Shown(label->window));
    char text[64];
    GetWindowTextA(label->window, text, sizeof text);
    EXPECT_STREQ("On the line", text);
    RECT rect = InParent(label->window);
    int height = rect.bottom - rect.top;
    EXPECT_GT(height, 0);
    EXPECT_GT(rect.right - rect.left, 0);
    EXPECT_EQ(12, rect.left);
    EXPECT_EQ(200 - height / 2 + 3, rect.top);

    HideDividerLabel(label);
    EXPECT_FALSE(Shown(label->window));
    PlaceDividerLabel(fixture.page, &fixture.state, "License", 99, label);
    EXPECT_TRUE(Shown(label->window));
    EXPECT_EQ(12, InParent(label->window).left);

    // One number without a comma leaves the offset 0,0; an unknown divider means y 0.
    fixture.state.dividerTop = 0;
    DividerLabel* single = &fixture.state.destination.label;
    PlaceDividerLabel(fixture.page, &fixture.state, "Destination", 12, single);
    ASSERT_TRUE(single->window != NULL);
    rect = InParent(single->window);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(-((rect.bottom - rect.top) / 2), rect.top);

    // No text, no label.
    DividerLabel* none = &fixture.state.programFolder.label;
    PlaceDividerLabel(fixture.page, &fixture.state, "ProgFolder", 12, none);
    EXPECT_TRUE(none->window == NULL);
    Close(&fixture);
}
