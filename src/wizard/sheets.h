// The four property sheets that setup shows: the install wizard, the update sheet, the
// removal confirmation and the update-or-remove choice. Each ends with the status clear on
// Finish and 1223 on Cancel; nothing is shown for a failure, the caller shows it.
#pragma once
#include <windows.h>

struct ErrorStatus;
struct SetupContext;

// Welcome, the licence agreement when [License] Show and Wizard are both set, the combined
// or the classic destination page by [Destination] FileTypes, the program folder, and the
// file types after the classic destination page. Fills installDir, programFolder, fileTypes
// and the flags of the context. After Finish the agreement's version is stored when the
// agreement was shown and accepted in this run (not when license.txt was missing or unreadable).
void RunInstallWizard(HWND owner, BOOL examplesAvailable, SetupContext* context, ErrorStatus* status);

// The agreement page alone when the low half of the flags (show the agreement) is set and
// [License] Show is true; otherwise nothing is shown. The high half (an earlier release was
// found) does not change the sheet. The version is stored as by the install wizard.
void RunUpdateSheet(HWND owner, SetupContext* context, unsigned long long flags, ErrorStatus* status);

// What a sheet's result leaves in the status: Finish (a positive result) nothing, Cancel (0)
// 1223, and a sheet that could not be shown (-1) the system's last error, or 1003 when there
// is none, with "Unable to display dialog box (%u)" and the template of the first page.
void StoreSheetResult(INT_PTR result, WORD templateId, ErrorStatus* status);

// One Welcome page with Finish.
void RunRemovalConfirmation(HWND owner, ErrorStatus* status);

// One Welcome page whose Update and Remove buttons end the sheet: *choice becomes 0 for
// Update and 1 for Remove, and stays unchanged on Cancel.
void RunUpdateOrRemoveChoice(HWND owner, DWORD* choice, ErrorStatus* status);
