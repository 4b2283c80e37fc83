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
// and the flags of the context, and stores the accepted agreement version after Finish.
void RunInstallWizard(HWND owner, BOOL examplesAvailable, SetupContext* context, ErrorStatus* status);

// The agreement page alone when the low half of the flags (show the agreement) is set and
// [License] Show is true; otherwise nothing is shown. The high half (an earlier release was
// found) does not change the sheet.
void RunUpdateSheet(HWND owner, SetupContext* context, unsigned long long flags, ErrorStatus* status);

// What a sheet's result leaves in the status: Finish (a positive result) nothing, Cancel (0)
// 1223, and a sheet that could not be shown (-1) the system's last error.
void StoreSheetResult(INT_PTR result, WORD templateId, ErrorStatus* status);

// One Welcome page with Finish.
void RunRemovalConfirmation(HWND owner, ErrorStatus* status);

// One Welcome page whose Update and Remove buttons end the sheet: *choice becomes 0 for
// Update and 1 for Remove, and stays unchanged on Cancel.
void RunUpdateOrRemoveChoice(HWND owner, DWORD* choice, ErrorStatus* status);
