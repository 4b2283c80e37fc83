#include "setup/startup.h"
#include "setup/main_window.h"
#include "controls/theme.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "core/script.h"
#include "resources/resource.h"

static void RecordWindowsVersion()
{
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;  // 148 bytes
    if (GetVersionExA(&version)) {
        IsWindowsNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        OsVersion = (WORD)((version.dwMajorVersion & 0xFF) << 8 | (version.dwMinorVersion & 0xFF));
    }
}

// The second edition is named by the setup script. A script that cannot be read is the
// driver's to report, not start-up's.
static void ReadProductEdition(const char* scriptPath)
{
    char* script = ReadWholeFile(scriptPath);
    if (!script) return;
    char edition[32];
    GetScriptValue(script, MAKEINTRESOURCEA(IDS_SECTION_EDITION), MAKEINTRESOURCEA(IDS_KEY_EDITION), "",
                   edition, sizeof edition);
    if (ParseDecimal(edition) == 4) ProductEdition = 4;
    GlobalFree(script);
}

// Brings a running copy of setup to the front; true when there is one.
static bool ActivateRunningCopy(const char* className)
{
    HWND other = FindWindowA(className, NULL);
    if (!other) return false;
    HWND popup = GetLastActivePopup(other);
    BringWindowToTop(popup);
    SetForegroundWindow(popup);
    return true;
}

void StartUp(HINSTANCE instance, ErrorStatus* status)
{
    SetErrorMode(SEM_NOOPENFILEERRORBOX);
    AppInstance = instance;
    RecordWindowsVersion();
    GetModuleFolder(SetupFolder, sizeof SetupFolder);

    char scriptPath[MAX_PATH];
    LoadFormattedText(IDS_SCRIPT_PATH, scriptPath, sizeof scriptPath, status, SetupFolder);
    if (!status->code) ReadProductEdition(scriptPath);

    char className[64];
    if (!status->code && LoadResString(IDS_CLASS_NAME, className, sizeof className, status)
        && ActivateRunningCopy(className))
        SetStatus(status, ERROR_CANCELLED, 0);

    if (!status->code) {
        WNDCLASSA windowClass;
        ZeroMemory(&windowClass, sizeof windowClass);
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.hInstance = AppInstance;
        windowClass.hIcon = LoadAppIcon(IDI_SETUP, status);
        windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
        windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        if (LoadResString(IDS_CLASS_NAME, className, sizeof className, status)) {
            windowClass.lpszClassName = className;
            if (!status->code && !RegisterClassA(&windowClass))
                SetStatus(status, GetLastError(), 0);
        }
    }

    if (!status->code) {
        char title[256];
        LoadResString(IDS_SETUP_TITLE, title, sizeof title, NULL);
        MainWindow = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL,
                                     AppInstance, NULL);
        // Without a main window no one would ever end the message loop.
        if (!MainWindow) SetStatus(status, GetLastError(), 0);
    }

    if (!status->code) {
        ShowWindow(MainWindow, SW_MINIMIZE);
        UpdateWindow(MainWindow);
    }
}

int RunMessageLoop()
{
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}

void CleanUp()
{
    if (MainWindow) {
        DestroyWindow(MainWindow);
        MainWindow = NULL;
    }
    char className[64];
    if (LoadResString(IDS_CLASS_NAME, className, sizeof className, NULL))
        UnregisterClassA(className, AppInstance);
    UnloadThemeLibrary();
}
