// Parts of the wizard on their own: the licence text loaded into a control, the accepted agreement
// version against the stored one and stored, a property sheet's end, and the file-types page with
// more rows than a byte counts.
#include <windows.h>
#include <commctrl.h>
#include <sddl.h>
#include <gtest/gtest.h>
#include <string>
#include "controls/check_list.h"
#include "core/setup_context.h"
#include "resources/resource.h"
#include "wizard/agreement_page.h"
#include "wizard/agreement_version.h"
#include "wizard/file_types_page.h"
#include "wizard/sheets.h"
#include "wizard/wizard_state.h"
#include "unit/file_helpers.h"

TEST(Agreement, LicenceTextAndTheVersionAgainstTheStoredOne)
{
    HWND dialog = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 300, 200, NULL, NULL, NULL, NULL);
    CreateWindowExA(0, "Edit", "before", WS_CHILD | ES_MULTILINE, 0, 0, 200, 100, dialog, (HMENU)26, NULL, NULL);
    std::string folder = ScratchFolder("licence");
    WriteFileBytes(folder + "\\a.txt", "Terms for %s."), WriteFileBytes(folder + "\\b.txt", ""), WriteFileBytes(folder + "\\c.txt", "other");
    ErrorStatus status = Clear();
    char text[512];
    for (const char* name : { "\\a.txt", "\\b.txt", "\\missing\\c.txt", "\\c.txt" }) LoadTextIntoControl(dialog, 26, (folder + name).c_str(), &status);
    GetDlgItemTextA(dialog, 26, text, sizeof text);
    EXPECT_EQ("Terms for %s.|3", std::string(text) + "|" + std::to_string(status.code)) << "an empty file, a missing one and a failure before leave it";
    DestroyWindow(dialog);
    const char* key = "Software\\Corvantis Vandrel";
    std::string answers;
    for (auto c : { std::make_pair("3", (const char*)NULL), { "3", "no" }, { "3", "none" }, { "3", "3" }, { "4", "3" }, { "9", "10" }, { "", "3" }, { "3", "" } }) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
        if (c.second) RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, "EULAVersion", REG_SZ, c.second, lstrlenA(c.second) + 1);
        std::string script = std::string("[Setup]\r\nEULAVersion=") + c.first + "\r\n";
        status = Clear();
        answers += AgreementVersionIsNewer(&script[0], &status) && !status.code ? "1" : "0";
    }
    EXPECT_EQ("11101001", answers) << "no stored value, or one holding \"no\", or an older number: newer";
    // A product key that cannot be written (its access list denies everything): the value is not set.
    HKEY product;
    PSECURITY_DESCRIPTOR deny, allow;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &product, NULL);
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;KA;;;WD)", SDDL_REVISION_1, &deny, NULL);
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KA;;;WD)", SDDL_REVISION_1, &allow, NULL);
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeySecurity(product, DACL_SECURITY_INFORMATION, deny));
    char script[] = "[Setup]\r\nEULAVersion=7\r\n";
    status = Clear();
    StoreAcceptedAgreementVersion(script, &status);
    RegSetKeySecurity(product, DACL_SECURITY_INFORMATION, allow);
    RegCloseKey(product), LocalFree(deny), LocalFree(allow);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
    EXPECT_EQ("5 Unable to set registry value (EULAVersion)", std::to_string(status.code) + " " + (strchr(status.text, '\n') ? strchr(status.text, '\n') + 1 : ""));
}
// A sheet that failed is a failure even when the system gave no reason, never a cancel or a Finish.
TEST(StoreSheetResult, OnlyFinishLeavesTheStatusClear)
{
    std::string results;
    for (auto c : { std::make_pair((INT_PTR)1, 0ul), { 0, 0 }, { -1, 0 }, { -1, ERROR_NOT_ENOUGH_MEMORY } }) {
        ErrorStatus status = Clear();
        SetLastError(c.second);
        StoreSheetResult(c.first, 4, &status);
        results += std::to_string(status.code) + (Has(status.text, "Unable to display dialog box (4)") ? "+ " : " ");
    }
    EXPECT_EQ("0 1223 1003+ 8+ ", results);
}
// Keys t000 to t299 shown as "Type 000" on (so sorted as in the script), only t299 checked by
// default: rows past the 256th keep their own entries and defaults.
TEST(FileTypesPage, RowsPastTheTwoHundredFiftySixthKeepTheirOwnEntries)
{
    std::string script = "[InstallFileTypes]\r\n";
    char line[64];
    for (int i = 0; i < 300; i++) script += (snprintf(line, sizeof line, "t%03d=%dType %03d\r\n", i, i == 299, i), line);
    SetupContext context = {};
    context.script = &script[0];
    WizardState state = {};
    state.context = &context;
    PROPSHEETPAGEA parameter = {};
    parameter.lParam = (LPARAM)&state;
    HMODULE setup = LoadLibraryExA(BuiltFile("SETUP_EXE").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);  // the page's own template
    HWND sheet = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 500, 400, NULL, NULL, NULL, NULL);
    HWND page = CreateDialogParamA(setup, MAKEINTRESOURCEA(IDD_FILE_TYPES), sheet, FileTypesPageProc, (LPARAM)&parameter), list = GetDlgItem(page, IDC_TYPES_LIST);
    auto finish = [&] {
        NMHDR header = { sheet, 0, (UINT)PSN_WIZFINISH };
        SendMessageA(page, WM_NOTIFY, 0, (LPARAM)&header);
        return std::string(context.fileTypes);
    };
    ASSERT_EQ(300, (int)SendMessageA(list, LB_GETCOUNT, 0, 0));
    std::string stored = finish();
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_TYPES_CLEAR_ALL, BN_CLICKED), 0);
    for (int row : { 256, 257 }) CheckListSetData(list, row, (DWORD)SendMessageA(list, LB_GETITEMDATA, row, 0) | CLI_CHECKED);
    stored += "|" + finish();
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_TYPES_DEFAULT, BN_CLICKED), 0);
    EXPECT_EQ("t299|t256 t257|t299", stored + "|" + finish()) << "the default, two rows checked by hand, Default again";
    DestroyWindow(page), DestroyWindow(sheet);
    GlobalFree(state.fileTypeKeys);
    FreeLibrary(setup);
}
