// The state of one wizard sheet, shared by its pages through their DWLP_USER slot, and the
// per-page header band and divider label.
#pragma once
#include <windows.h>
#include "controls/painting.h"

struct SetupContext;

// A label that sits on the sheet's divider line above the buttons.
struct DividerLabel {
    HWND window;          // a hidden child of the sheet until first placed; none if no text
    POINT offset;
};

// A page that can carry a header band and a divider label.
struct FramedPage {
    PageHeader header;
    DividerLabel label;
    int initialWidth;     // the page's width before any layout
    int leftInSheet;      // where the page stood in the sheet when laid out: the label's anchor
    RECT finalRect;       // where the page goes on every activation; empty until laid out
};

const int MaxWizardPages = 5;

struct WizardState {
    SetupContext* context;

    bool listedForAllUsers;     // the all-users choice the program-folder list was filled for
    bool sheetCentred;
    bool combinedDestination;   // [Destination] FileTypes
    bool destinationLaidOut;
    bool examplesAvailable;
    bool extendBackground;      // the Welcome page covers the sheet down to its divider

    bool agreementAccepted;     // in the stand-alone dialog, or on the page with its text shown
    bool agreementLaidOut;
    bool agreementHasPrevious;
    bool agreementInWizard;     // [License] Wizard
    bool agreementShown;        // [License] Show
    bool agreementHasNext;
    bool programFolderLaidOut;
    bool welcomeExtended;
    bool agreementTextLoaded;   // license.txt was read into the agreement page

    bool sheetWidenedByAgreement;

    COLORREF welcomeBackColor;  // NoColor = none
    HBITMAP welcomeImage;
    int welcomeExtraWidth;      // what the Welcome image demands beyond the icon
    int widenedPageWidth;       // 0 = the sheet was not widened by the Welcome image
    int dividerTop;             // top of the sheet's divider line; 0 = not yet found
    RECT welcomeFinalRect;

    FramedPage destination;
    FramedPage license;
    FramedPage programFolder;

    char* titles[MaxWizardPages];   // GlobalAlloc'ed page titles
    char* fileTypeKeys;             // the [InstallFileTypes] key list
    DWORD fileTypeKeysCapacity;
    char savedNextCaption[64];      // the Next caption before the agreement page changed it
};

// The page parameter of the removal confirmation and update-or-remove sheets.
struct ChoicePageState {
    bool sheetCentred;
    DWORD* choice;   // 0 = update, 1 = remove
};

// Choices of the update-or-remove sheet.
const DWORD UpdateChoice = 0;
const DWORD RemoveChoice = 1;
