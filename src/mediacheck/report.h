// The media checker's report: "file:line: error|warning: text" lines, as editors and build
// servers read them, then a summary of the media. Printed to standard output.
#pragma once
#include <windows.h>

enum Severity { SeverityWarning, SeverityError };

struct MediaSummary {
    DWORD files;
    DWORD folders;
    unsigned long long bytes;
    char largest[5][MAX_PATH];  // the largest files, largest first
    unsigned long long largestSize[5];
};

// The script's path as the report names it (the media folder as given and "setup.ini").
void SetReportFile(const char* path);
// One finding at a line of the script; the text is a format of core/format.h.
void Report(DWORD line, int severity, const char* format, ...);
DWORD ReportedErrors();
DWORD ReportedWarnings();

// Counts a file (path relative to the media folder) or a folder into the summary.
void CountMediaFile(MediaSummary* summary, const char* path, unsigned long long size);
void PrintSummary(const MediaSummary* summary, const char* extra);

// A 64-bit number in decimal.
void FormatBig(unsigned long long number, char* buffer, unsigned size);
