// The native stand-ins of the core's Windows-only parts: the error status holds the code and
// the message id, since there is no string table to load texts from (the Windows build's
// error_status.cpp has the real texts), and the screen that picks image variants is a 96-DPI one.
#include "core/error_status.h"
#include "core/format.h"
#include "core/script.h"

static int StandardScreen() { return 96; }
int (*ScreenResolution)() = StandardScreen;

// The message's arguments are not read: there is no message text to fill.
void SetStatus(ErrorStatus* status, DWORD code, WORD messageId, ...)
{
    if (!status || status->code) return;
    if (!code) code = 120;
    FormatText(status->text, sizeof status->text, "Error %u (message %u)", (unsigned)code, (unsigned)messageId);
    status->code = code;
}

int LoadResString(WORD id, char* buffer, int size, ErrorStatus* status)
{
    if (size > 0) buffer[0] = 0;
    SetStatus(status, ERROR_RESOURCE_NAME_NOT_FOUND, 0, (unsigned)id);
    return 0;
}

void SetStatusV(ErrorStatus* status, DWORD code, WORD messageId, va_list) { SetStatus(status, code, messageId); }
