// What every wizard page does the same way: where it keeps the sheet's state, how it answers
// the sheet's notifications and how it asks the sheet for buttons.
#pragma once
#include <windows.h>

struct WizardState;
struct ChoicePageState;

// At WM_INITDIALOG: keeps the page parameter (the lParam of the PROPSHEETPAGE that arrives as
// the message's parameter) in the page's DWLP_USER slot and returns it.
void* KeepPageParameter(HWND page, LPARAM initParam);
WizardState* GetWizardState(HWND page);
ChoicePageState* GetChoicePageState(HWND page);

// Posts PSM_SETWIZBUTTONS to the sheet (the page's parent).
void SetWizardButtons(HWND page, DWORD buttons);
// Posts PSM_PRESSBUTTON to the sheet.
void PressSheetButton(HWND page, int button);
// Posts the Cancel button's command to the sheet, which then ends as cancelled.
void CancelSheet(HWND page);

// The answer to a notification: 0 lets the sheet go on, -1 keeps the page.
void SetPageResult(HWND page, LONG_PTR result);

// The sheet puts an activated page back at its standard place; a laid-out page moves itself
// back to where its layout left it. Does nothing while the rectangle is empty.
void MoveToFinalRect(HWND page, const RECT* finalRect);
// Stores where the page now stands in the sheet.
void StoreFinalRect(HWND page, RECT* finalRect);

// Records where the sheet stands on the screen when the user finishes it, so that the
// install run's progress window can take its place.
void RecordWizardPlace(HWND page, WizardState* state);
