#include "core/format.h"
#include "core/error_status.h"
#include "resources/resource.h"

void FormatText(char* buffer, unsigned size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatTextV(buffer, size, format, args);
    va_end(args);
}

// Writes one character while more than the NUL's byte is left.
static inline bool PutChar(char** out, unsigned* left, char c)
{
    if (*left <= 1) return false;
    *(*out)++ = c;
    (*left)--;
    return true;
}

// value * 10 + the digit, held at the largest DWORD instead of wrapping.
static DWORD AppendDigit(DWORD value, char digit)
{
    DWORD units = (DWORD)(digit - '0');
    if (value > (0xFFFFFFFF - units) / 10) return 0xFFFFFFFF;
    return value * 10 + units;
}

void FormatTextV(char* buffer, unsigned size, const char* format, va_list args)
{
    if (size < 2) {
        if (size == 1) buffer[0] = 0;
        return;
    }
    char* out = buffer;
    unsigned left = size;
    const char* f = format ? format : "";

    while (left > 1 && *f) {
        char c = *f++;
        if (c == '\\') {
            // A backslash that ends the format ends the text.
            if (!*f) break;
            PutChar(&out, &left, *f++);
            continue;
        }
        if (c != '%') {
            PutChar(&out, &left, c);
            continue;
        }

        bool zeroPad = false;
        unsigned width = 0;
        bool isLong = false;
        if (*f == '0') { zeroPad = true; f++; }
        while (*f >= '0' && *f <= '9') width = AppendDigit(width, *f++);
        if (*f == '.') {
            f++;
            while (*f >= '0' && *f <= '9') f++;
        }
        if (*f == 'l') { isLong = true; f++; }

        char conversion = *f;
        if (!conversion) break;
        f++;

        char number[40];
        const char* text = number;
        switch (conversion) {
        case 'd': case 'i':
            wsprintfA(number, isLong ? "%ld" : "%d", va_arg(args, int));
            break;
        case 'u':
            wsprintfA(number, isLong ? "%lu" : "%u", va_arg(args, unsigned int));
            break;
        case 'x':
            wsprintfA(number, isLong ? "%lx" : "%x", va_arg(args, unsigned int));
            break;
        case 'X':
            wsprintfA(number, isLong ? "%lX" : "%X", va_arg(args, unsigned int));
            break;
        case 's':
            text = va_arg(args, const char*);
            if (!text) text = "";
            break;
        default:
            number[0] = conversion;
            number[1] = 0;
            break;
        }

        unsigned length = lstrlenA(text);
        for (unsigned pad = length; pad < width; pad++)
            if (!PutChar(&out, &left, zeroPad ? '0' : ' ')) break;
        while (*text && PutChar(&out, &left, *text)) text++;
    }
    *out = 0;
}

int LoadFormattedText(WORD id, char* buffer, unsigned size, ErrorStatus* status, ...)
{
    va_list args;
    va_start(args, status);
    int result = LoadFormattedTextV(id, buffer, size, status, args);
    va_end(args);
    return result;
}

int LoadFormattedTextV(WORD id, char* buffer, unsigned size, ErrorStatus* status, va_list args)
{
    char format[512];
    if (!LoadResString(id, format, sizeof format, status)) {
        if (size) buffer[0] = 0;
        return 0;
    }
    FormatTextV(buffer, size, format, args);
    return 1;
}

void CopyText(const char* source, char* destination, unsigned size)
{
    if (!size) return;
    unsigned i = 0;
    if (source)
        for (; i + 1 < size && source[i]; i++) destination[i] = source[i];
    destination[i] = 0;
}

void AppendAtCursor(const char* source, char** position, unsigned* spaceLeft)
{
    if (!*spaceLeft) return;
    char* out = *position;
    unsigned left = *spaceLeft;
    if (source)
        while (left > 1 && *source) {
            *out++ = *source++;
            left--;
        }
    *out = 0;
    *position = out;
    *spaceLeft = left;
}

void JoinTexts(char* buffer, unsigned size, ...)
{
    if (!size) return;
    va_list args;
    va_start(args, size);
    char* out = buffer;
    unsigned left = size;
    *out = 0;
    for (const char* text = va_arg(args, const char*); text; text = va_arg(args, const char*))
        AppendAtCursor(text, &out, &left);
    va_end(args);
}

// A path that did not fit: the status names it as far as the status text can hold it.
static BOOL RefusePath(const char* whole, char* buffer, unsigned size, ErrorStatus* status)
{
    if (size) buffer[0] = 0;
    SetStatus(status, ERROR_FILENAME_EXCED_RANGE, IDS_PLAIN_TEXT, whole);
    return FALSE;
}

BOOL JoinPathParts(char* buffer, unsigned size, ErrorStatus* status, ...)
{
    char whole[1024];
    char* out = whole;
    unsigned left = sizeof whole;
    *out = 0;
    va_list args;
    va_start(args, status);
    for (const char* text = va_arg(args, const char*); text; text = va_arg(args, const char*))
        AppendAtCursor(text, &out, &left);
    va_end(args);
    if (status && status->code) {
        if (size) buffer[0] = 0;
        return FALSE;
    }
    if ((unsigned)(out - whole) >= size || left <= 1) return RefusePath(whole, buffer, size, status);
    CopyText(whole, buffer, size);
    return TRUE;
}

BOOL LoadFormattedPath(WORD id, char* buffer, unsigned size, ErrorStatus* status, ...)
{
    if (size) buffer[0] = 0;
    if (status && status->code) return FALSE;
    char whole[1024];
    va_list args;
    va_start(args, status);
    int loaded = LoadFormattedTextV(id, whole, sizeof whole, status, args);
    va_end(args);
    if (!loaded) return FALSE;
    unsigned length = lstrlenA(whole);
    if (length >= size || length >= sizeof whole - 1) return RefusePath(whole, buffer, size, status);
    CopyText(whole, buffer, size);
    return TRUE;
}

int IndexOfChar(const char* text, char character)
{
    for (const char* p = text; *p; p = CharNextA(p))
        if (*p == character) return (int)(p - text);
    return -1;
}

int IndexOfText(const char* text, const char* part)
{
    int partLength = lstrlenA(part);
    for (const char* p = text;; p = CharNextA(p)) {
        if (strncmp(p, part, partLength) == 0) return (int)(p - text);
        if (!*p) return -1;
    }
}

DWORD ParseDecimal(const char* text)
{
    DWORD value = 0;
    while (*text >= '0' && *text <= '9') value = AppendDigit(value, *text++);
    return value;
}

// A number that may start with "-", held within the 32 bits of a LONG.
static LONG ParseSigned(const char* text)
{
    const DWORD largest = 0x7FFFFFFF;
    bool negative = *text == '-';
    DWORD magnitude = ParseDecimal(negative ? text + 1 : text);
    if (negative) return magnitude > largest ? -(LONG)largest - 1 : -(LONG)magnitude;
    return magnitude > largest ? (LONG)largest : (LONG)magnitude;
}

void ParsePoint(const char* text, POINT* point)
{
    int comma = IndexOfChar(text, ',');
    if (comma < 0) return;
    point->x = ParseSigned(text);
    point->y = ParseSigned(text + comma + 1);
}

void ParseFourNumbers(const char* text, DWORD* a, DWORD* b, DWORD* c, DWORD* d)
{
    const char* starts[4] = { text, NULL, NULL, NULL };
    const char* p = text;
    for (int i = 1; i < 4; i++) {
        int comma = IndexOfChar(p, ',');
        if (comma < 0) return;
        p += comma + 1;
        starts[i] = p;
    }
    *a = ParseDecimal(starts[0]);
    *b = ParseDecimal(starts[1]);
    *c = ParseDecimal(starts[2]);
    *d = ParseDecimal(starts[3]);
}
