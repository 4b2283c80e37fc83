#include "wizard/file_types_page.h"
#include "wizard/page_protocol.h"
#include "wizard/window_helpers.h"
#include "core/error_status.h"
#include "resources/resource.h"
#include <commctrl.h>

INT_PTR CALLBACK FileTypesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        KeepPageParameter(page, lParam);
        char productName[256];
        LoadProductName(productName, sizeof productName, NULL);
        FormatControlText(page, IDC_TYPES_INTRO, productName);
        return TRUE;
    }
    case WM_NOTIFY:
        switch (((NMHDR*)lParam)->code) {
        case PSN_SETACTIVE:
            SetWizardButtons(page, PSWIZB_BACK | PSWIZB_FINISH);
            SetPageResult(page, 0);
            return TRUE;
        case PSN_WIZFINISH:
            SetPageResult(page, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
