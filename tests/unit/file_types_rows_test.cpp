// The file-types page with more entries than a byte can count: every row names its own entry.
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include "controls/check_list.h"
#include "core/setup_context.h"
#include "resources/resource.h"
#include "wizard/file_types_page.h"
#include "wizard/wizard_state.h"

// What the page stores when the user presses Finish.
static std::string Finish(HWND page, SetupContext* context)
{
    NMHDR header = { GetParent(page), 0, (UINT)PSN_WIZFINISH };
    SendMessageA(page, WM_NOTIFY, 0, (LPARAM)&header);
    return context->fileTypes;
}

TEST(FileTypesPage, RowsBeyondTheTwoHundredFiftySixthKeepTheirOwnEntries)
{
    // Keys t000 to t299 shown as "Type 000" and on (so sorted as in the file); only t299 is
    // checked by default.
    std::string script = "[InstallFileTypes]\r\n";
    for (int i = 0; i < 300; i++) {
        char line[64];
        wsprintfA(line, "t%03d=%dType %03d\r\n", i, i == 299, i);
        script += line;
    }
    SetupContext context = {};
    context.script = &script[0];
    WizardState state = {};
    state.context = &context;
    PROPSHEETPAGEA parameter = {};
    parameter.lParam = (LPARAM)&state;

    // The page's own template, from the built setup.exe, which CTest names by its Unix path.
    std::string exe = std::string("Z:") + (getenv("SETUP_EXE") ? getenv("SETUP_EXE") : "");
    std::replace(exe.begin(), exe.end(), '/', '\\');
    HMODULE setup = LoadLibraryExA(exe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, setup) << "SETUP_EXE must name the built setup.exe";
    HWND sheet = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 500, 400, NULL, NULL, NULL, NULL);
    HWND page = CreateDialogParamA(setup, MAKEINTRESOURCEA(IDD_FILE_TYPES), sheet, FileTypesPageProc,
                                   (LPARAM)&parameter);
    ASSERT_NE(nullptr, page);
    HWND list = GetDlgItem(page, IDC_TYPES_LIST);
    ASSERT_EQ(300, (int)SendMessageA(list, LB_GETCOUNT, 0, 0));
    EXPECT_EQ("t299", Finish(page, &context)) << "the default of the last entry";

    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_TYPES_CLEAR_ALL, BN_CLICKED), 0);
    for (int row : { 256, 257 })
        CheckListSetData(list, row, (DWORD)SendMessageA(list, LB_GETITEMDATA, row, 0) | CLI_CHECKED);
    EXPECT_EQ("t256 t257", Finish(page, &context)) << "the 257th and 258th rows checked by hand";

    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_TYPES_DEFAULT, BN_CLICKED), 0);
    EXPECT_EQ("t299", Finish(page, &context)) << "Default restores each row's own default";

    DestroyWindow(page);
    DestroyWindow(sheet);
    GlobalFree(state.fileTypeKeys);
    FreeLibrary(setup);
}
