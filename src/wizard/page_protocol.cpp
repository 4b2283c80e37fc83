#include "wizard/page_protocol.h"
#include "core/setup_context.h"
#include "controls/window_helpers.h"
#include "wizard/wizard_state.h"
#include <commctrl.h>

void* KeepPageParameter(HWND page, LPARAM initParam)
{
    void* parameter = (void*)((PROPSHEETPAGEA*)initParam)->lParam;
    SetWindowLongPtrA(page, DWLP_USER, (LONG_PTR)parameter);
    return parameter;
}

WizardState* GetWizardState(HWND page)
{
    return (WizardState*)GetWindowLongPtrA(page, DWLP_USER);
}

ChoicePageState* GetChoicePageState(HWND page)
{
    return (ChoicePageState*)GetWindowLongPtrA(page, DWLP_USER);
}

void SetWizardButtons(HWND page, DWORD buttons)
{
    PostMessageA(GetParent(page), PSM_SETWIZBUTTONS, 0, buttons);
}

void PressSheetButton(HWND page, int button)
{
    PostMessageA(GetParent(page), PSM_PRESSBUTTON, button, 0);
}

void CancelSheet(HWND page)
{
    HWND sheet = GetParent(page);
    PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(sheet, IDCANCEL));
}

void SetPageResult(HWND page, LONG_PTR result)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
}

void MoveToFinalRect(HWND page, const RECT* finalRect)
{
    if (IsRectEmpty(finalRect)) return;
    MoveWindow(page, finalRect->left, finalRect->top, finalRect->right - finalRect->left,
               finalRect->bottom - finalRect->top, TRUE);
}

void StoreFinalRect(HWND page, RECT* finalRect)
{
    RectInParent(page, finalRect);
}

void RecordWizardPlace(HWND page, WizardState* state)
{
    if (state && state->context) GetWindowRect(GetParent(page), &state->context->wizardRect);
}
