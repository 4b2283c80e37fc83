// The program's entry: start-up, the message loop in which the setup runs, and clean-up.
#include "setup/startup.h"
#include "core/error_status.h"
#include "core/globals.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    ErrorStatus status;
    status.code = 0;
    status.text[0] = 0;

    StartUp(instance, &status);
    int exitCode = 1;
    if (!status.code) exitCode = RunMessageLoop();

    ShowStatus(MainWindow, &status);
    CleanUp();
    return status.code ? 1 : exitCode;
}
