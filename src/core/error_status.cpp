#include "core/error_status.h"
#include "core/format.h"
#include "core/globals.h"
#include "resources/resource.h"

static const DWORD CodeUnknown = 120;  // ERROR_CALL_NOT_IMPLEMENTED stands for "no code given"

static void UnknownErrorText(char* text, unsigned size, DWORD code)
{
    switch (code) {
    case 8:
        CopyText("Not enough storage is available to process this command.", text, size);
        break;
    case 14:
        CopyText("Not enough storage is available to complete this operation.", text, size);
        break;
    default:
        FormatText(text, size, "Unknown error (%lu)", code);
        break;
    }
}

void SetStatus(ErrorStatus* status, DWORD code, WORD messageId, ...)
{
    va_list args;
    va_start(args, messageId);
    SetStatusV(status, code, messageId, args);
    va_end(args);
}

void SetStatusV(ErrorStatus* status, DWORD code, WORD messageId, va_list args)
{
    if (!status || status->code) return;
    if (!code) code = CodeUnknown;

    char* text = status->text;
    text[0] = 0;
    if ((code & 0x02000000) || code == 32) {
        if (!FindMessageTableText(code, text, sizeof status->text))
            UnknownErrorText(text, sizeof status->text, code);
    } else if (code == CodeUnknown) {
        FormatText(text, sizeof status->text, "Unknown error (%lu)", code);
    } else {
        DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, code, 0, text,
                                      sizeof status->text, NULL);
        if (!length) {
            text[0] = 0;
            if (!FindMessageTableText(code, text, sizeof status->text))
                UnknownErrorText(text, sizeof status->text, code);
        }
    }

    char message[256];
    if (messageId && LoadResString(messageId, message, sizeof message, NULL)) {
        unsigned length = lstrlenA(text);
        if (length < 2 || text[length - 2] != '\r' || text[length - 1] != '\n') {
            char* end = text + length;
            unsigned left = sizeof status->text - length;
            AppendAtCursor("\r\n", &end, &left);
            length = lstrlenA(text);
        }
        FormatTextV(text + length, sizeof status->text - length, message, args);
    }
    status->code = code;
}

int LoadResString(WORD id, char* buffer, int size, ErrorStatus* status)
{
    if (ProductEdition == 4) {
        switch (id) {
        case IDS_WEB_ADDRESS: id = IDS_MAIL_ADDRESS_2; break;
        case IDS_SUPPORT_ADDRESS: id = IDS_WEB_ADDRESS_2; break;
        case IDS_SETUP_TITLE: id = IDS_SETUP_TITLE_2; break;
        case IDS_DEFAULT_DESTINATION: id = IDS_DEFAULT_DESTINATION_2; break;
        case IDS_INSTALLED: id = IDS_INSTALLED_2; break;
        case IDS_REMOVED: id = IDS_REMOVED_2; break;
        case IDS_UPDATED: id = IDS_UPDATED_2; break;
        }
    }
    int length = size > 0 ? LoadStringA(AppInstance, id, buffer, size) : 0;
    if (length <= 0) {
        DWORD error = GetLastError();
        if (size > 0) buffer[0] = 0;
        SetStatus(status, error, IDS_UNABLE_TO_LOAD_STRING, (unsigned)id);
        return 0;
    }
    for (char* p = buffer; *p; p++)
        if (*p == 1) *p = 0;
    return 1;
}

int FindMessageTableText(DWORD code, char* buffer, int size)
{
    if (size > 0) buffer[0] = 0;
    HRSRC resource = FindResourceA(AppInstance, MAKEINTRESOURCEA(IDR_MESSAGE_TABLE), MAKEINTRESOURCEA(10));
    if (!resource) return 0;
    HGLOBAL loaded = LoadResource(AppInstance, resource);
    if (!loaded) return 0;
    const BYTE* entry = (const BYTE*)LockResource(loaded);
    if (!entry) return 0;
    // Entries are 6 bytes: a little-endian 32-bit code and a 16-bit string id. The terminator
    // may be just the four bytes of a zero code, so never read an id past the resource's end.
    const BYTE* end = entry + SizeofResource(AppInstance, resource);
    while (entry + 4 <= end) {
        DWORD entryCode = entry[0] | entry[1] << 8 | entry[2] << 16 | (DWORD)entry[3] << 24;
        if (!entryCode || entry + 6 > end) return 0;
        if (entryCode == code)
            return LoadResString((WORD)(entry[4] | entry[5] << 8), buffer, size, NULL);
        entry += 6;
    }
    return 0;
}

void ShowStatus(HWND owner, const ErrorStatus* status)
{
    if (!status->code || status->code == ERROR_CANCELLED) return;
    MessageBoxA(owner, status->text, NULL, MB_ICONERROR);
}

void LoadProductName(char* buffer, int size, ErrorStatus* status)
{
    LoadResString(ProductEdition == 4 ? IDS_PRODUCT_NAME_2 : IDS_PRODUCT_NAME, buffer, size, status);
}

HICON LoadAppIcon(WORD id, ErrorStatus* status)
{
    HICON icon = LoadIconA(AppInstance, MAKEINTRESOURCEA(id));
    if (!icon) SetStatus(status, GetLastError(), IDS_UNABLE_TO_LOAD_ICON, (unsigned)id);
    return icon;
}

int MessageBoxById(HWND owner, WORD textId, WORD captionId, UINT flags, ...)
{
    va_list args;
    va_start(args, flags);
    int result = MessageBoxByIdV(owner, textId, captionId, flags, args);
    va_end(args);
    return result;
}

int MessageBoxByIdV(HWND owner, WORD textId, WORD captionId, UINT flags, va_list args)
{
    char text[512];
    LoadFormattedTextV(textId, text, sizeof text, NULL, args);

    char caption[256];
    caption[0] = 0;
    if (!captionId && owner) {
        GetWindowTextA(owner, caption, sizeof caption);
        HWND parent;
        if (!caption[0] && (parent = GetParent(owner)) != NULL)
            GetWindowTextA(parent, caption, sizeof caption);
    } else {
        LoadResString(captionId, caption, sizeof caption, NULL);
    }
    return MessageBoxA(owner, text, caption, flags);
}
