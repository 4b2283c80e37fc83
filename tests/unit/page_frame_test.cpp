// The page frame's window geometry on plain windows standing in for a sheet and its page.
#include <windows.h>
#include <gtest/gtest.h>
#include "wizard/page_frame.h"
#include "core/setup_context.h"
#include "controls/window_helpers.h"
#include "wizard/wizard_state.h"

TEST(ScaleLineHeight, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(2, ScaleLineHeight("1.5", 144));  // 2.25
    EXPECT_EQ(3, ScaleLineHeight("2.5", 96));
    EXPECT_EQ(5, ScaleLineHeight("3", 144));    // 4.5
    EXPECT_EQ(1, ScaleLineHeight("1", 120));    // 1.25
    EXPECT_EQ(1, ScaleLineHeight("0.5", 96));
    EXPECT_EQ(0, ScaleLineHeight("0.49", 96));
    EXPECT_EQ(4, ScaleLineHeight("4px", 96));
    EXPECT_EQ(0, ScaleLineHeight("", 96));
    EXPECT_EQ(0, ScaleLineHeight("thin", 96));
}

namespace {

// A top-level "sheet" with two buttons, three statics (two sharing the lowest top) and a page.
struct FakeSheet {
    HWND sheet, page, back, next, upper, divider, twin;
};

HWND Child(HWND parent, const char* className, int x, int y, int width, int height)
{
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent, NULL, NULL, NULL);
}

void MakeSheet(FakeSheet* fake)
{
    fake->sheet = CreateWindowExA(0, "#32770", "sheet", WS_POPUP | WS_CAPTION, 100, 100, 400, 300, NULL, NULL, NULL, NULL);
    fake->upper = Child(fake->sheet, "Static", 5, 20, 300, 2);
    fake->page = Child(fake->sheet, "#32770", 10, 10, 350, 180);
    fake->divider = Child(fake->sheet, "Static", 7, 200, 370, 2);
    fake->twin = Child(fake->sheet, "STATIC", 30, 200, 10, 2);
    fake->back = Child(fake->sheet, "Button", 150, 220, 60, 20);
    fake->next = Child(fake->sheet, "Button", 210, 220, 60, 20);
}

RECT InParent(HWND window)
{
    RECT rect;
    RectInParent(window, &rect);
    return rect;
}

}  // namespace

TEST(FindSheetDivider, TakesTheFirstLowestStaticOnce)
{
    FakeSheet fake;
    MakeSheet(&fake);
    SetupContext context = {};
    WizardState state = {};
    state.context = &context;
    FindSheetDivider(&state, fake.page);
    EXPECT_EQ(200, state.dividerTop);
    EXPECT_EQ(7, context.dividerRect.left);
    EXPECT_EQ(377, context.dividerRect.right);

    // Found once: a lower static later changes nothing.
    Child(fake.sheet, "Static", 0, 250, 5, 5);
    FindSheetDivider(&state, fake.page);
    EXPECT_EQ(200, state.dividerTop);
    DestroyWindow(fake.sheet);
}

TEST(WidenSheet, MovesButtonsAndStretchesTheDivider)
{
    FakeSheet fake;
    MakeSheet(&fake);
    SetupContext context = {};
    WizardState state = {};
    state.context = &context;
    state.dividerTop = 999;
    RECT before;
    GetWindowRect(fake.sheet, &before);

    WidenSheet(fake.sheet, &state, 40, false);
    RECT after;
    GetWindowRect(fake.sheet, &after);
    EXPECT_EQ(before.right - before.left + 40, after.right - after.left);
    EXPECT_EQ(before.bottom - before.top, after.bottom - after.top);
    EXPECT_EQ(190, InParent(fake.back).left);
    EXPECT_EQ(250, InParent(fake.next).left);
    EXPECT_EQ(10, InParent(fake.page).left);
    EXPECT_EQ(200, state.dividerTop);
    RECT divider = InParent(fake.divider);
    EXPECT_EQ(7, divider.left);
    EXPECT_EQ(417, divider.right);
    EXPECT_TRUE(EqualRect(&divider, &context.dividerRect));
    EXPECT_EQ(10, InParent(fake.twin).right - InParent(fake.twin).left);

    WidenSheet(fake.sheet, &state, 20, true);
    RECT client;
    GetClientRect(fake.sheet, &client);
    divider = InParent(fake.divider);
    EXPECT_EQ(0, divider.left);
    EXPECT_EQ(client.right, divider.right);
    EXPECT_EQ(210, InParent(fake.back).left);
    DestroyWindow(fake.sheet);
}

TEST(CenterWindow, CentresOnTheOwnerOrTheWorkAreaAndStaysInside)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    HWND lone = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 200, 100, NULL, NULL, NULL, NULL);
    CenterWindow(lone);
    RECT rect;
    GetWindowRect(lone, &rect);
    EXPECT_EQ((work.left + work.right - 200) / 2, rect.left);
    EXPECT_EQ((work.top + work.bottom - 100) / 2, rect.top);

    HWND owner = CreateWindowExA(0, "#32770", "", WS_POPUP, work.left + 100, work.top + 50, 300, 300, NULL, NULL, NULL, NULL);
    HWND owned = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 100, 80, owner, NULL, NULL, NULL);
    CenterWindow(owned);
    GetWindowRect(owned, &rect);
    EXPECT_EQ(work.left + 100 + 100, rect.left);
    EXPECT_EQ(work.top + 50 + 110, rect.top);

    // An owner against the work area's right edge: the window is kept inside.
    SetWindowPos(owner, NULL, work.right - 120, work.top + 50, 300, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    HWND wide = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 400, 80, owner, NULL, NULL, NULL);
    CenterWindow(wide);
    GetWindowRect(wide, &rect);
    EXPECT_EQ(work.right - 400, rect.left);

    // A minimised owner counts as none.
    ShowWindow(owner, SW_MINIMIZE);
    CenterWindow(owned);
    GetWindowRect(owned, &rect);
    EXPECT_EQ((work.left + work.right - 100) / 2, rect.left);
    DestroyWindow(owner);
    DestroyWindow(lone);
}
