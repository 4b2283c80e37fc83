// The licence agreement "license.txt" beside the setup program: as a wizard page, or as a
// modal dialog that opens when the user leaves the Welcome page.
#pragma once
#include <windows.h>

struct ErrorStatus;
struct WizardState;

INT_PTR CALLBACK AgreementPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AgreementDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

enum AgreementAnswer {
    AgreementAccepted,   // agreementAccepted is now set
    AgreementDeclined,   // the caller cancels the sheet
    AgreementSkipped,    // no licence file, or it could not be shown (already told)
};

// The stand-alone dialog, owned by the Welcome page.
AgreementAnswer RunAgreementDialog(HWND welcomePage, WizardState* state);

// Puts the whole file into the control as plain text; an empty file leaves it unchanged.
void LoadTextIntoControl(HWND dialog, int controlId, const char* path, ErrorStatus* status);
