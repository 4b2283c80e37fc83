#include "mediacheck/report.h"
#include "core/format.h"
#include <stdio.h>

static char ReportFile[MAX_PATH + 16] = "setup.ini";
static DWORD Errors, Warnings;

void SetReportFile(const char* path) { CopyText(path, ReportFile, sizeof ReportFile); }

void Report(DWORD line, int severity, const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    FormatTextV(text, sizeof text, format, args);
    va_end(args);
    if (severity == SeverityError) Errors++;
    else Warnings++;
    printf("%s:%lu: %s: %s\n", ReportFile, (unsigned long)line, severity == SeverityError ? "error" : "warning", text);
}

DWORD ReportedErrors() { return Errors; }
DWORD ReportedWarnings() { return Warnings; }

void FormatBig(unsigned long long number, char* buffer, unsigned size)
{
    char digits[24];
    int count = 0;
    do {
        digits[count++] = (char)('0' + number % 10);
        number /= 10;
    } while (number);
    unsigned i = 0;
    for (; count && i + 1 < size; i++) buffer[i] = digits[--count];
    if (size) buffer[i < size ? i : size - 1] = 0;
}

void CountMediaFile(MediaSummary* summary, const char* path, unsigned long long size)
{
    summary->files++;
    summary->bytes += size;
    for (int i = 0; i < 5; i++) {
        // Equal sizes keep the order of their names, so that the summary reads the same on
        // every system.
        if (summary->largest[i][0] && (size < summary->largestSize[i]
                                        || (size == summary->largestSize[i] && lstrcmpiA(path, summary->largest[i]) > 0)))
            continue;
        for (int j = 4; j > i; j--) {
            CopyText(summary->largest[j - 1], summary->largest[j], MAX_PATH);
            summary->largestSize[j] = summary->largestSize[j - 1];
        }
        CopyText(path, summary->largest[i], MAX_PATH);
        summary->largestSize[i] = size;
        return;
    }
}

void PrintSummary(const MediaSummary* summary, const char* extra)
{
    char bytes[24];
    FormatBig(summary->bytes, bytes, sizeof bytes);
    printf("%lu errors, %lu warnings\n", (unsigned long)Errors, (unsigned long)Warnings);
    printf("media: %lu files, %lu folders, %s bytes\n", (unsigned long)summary->files, (unsigned long)summary->folders,
           bytes);
    for (int i = 0; i < 5 && summary->largest[i][0]; i++) {
        FormatBig(summary->largestSize[i], bytes, sizeof bytes);
        printf("  %12s  %s\n", bytes, summary->largest[i]);
    }
    if (extra[0]) printf("%s", extra);
}
