// What the benchmark programs share: a clock, counting what a tree holds, and the box that
// ends a run. Each program measures one thing per start and prints "name seconds" lines; the
// scripts around them repeat the starts and take the medians.
#pragma once
#include <windows.h>
#include <stdio.h>
#include "install/file_ops.h"

inline double BenchSeconds()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

// The files and folders below a folder (the folder itself not counted).
struct TreeCount {
    DWORD files;
    DWORD folders;
};

inline void CountTree(const char* folder, TreeCount* count)
{
    char pattern[MAX_PATH];
    JoinPath(folder, "*", pattern);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!lstrcmpA(found.cFileName, ".") || !lstrcmpA(found.cFileName, "..")) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            char inner[MAX_PATH];
            JoinPath(folder, found.cFileName, inner);
            count->folders++;
            CountTree(inner, count);
        } else {
            count->files++;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

inline TreeCount CountOf(const char* folder)
{
    TreeCount count = { 0, 0 };
    CountTree(folder, &count);
    return count;
}

// Both runs end with a message box: the moment it is activated ends the timing, and it is
// answered at once.
inline double& BoxSeenAt()
{
    static double seen;
    return seen;
}

inline LRESULT CALLBACK AnswerEndBox(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        char className[32];
        GetClassNameA((HWND)wParam, className, sizeof className);
        if (!lstrcmpA(className, "#32770") && GetDlgItem((HWND)wParam, 0xFFFF)) {
            if (!BoxSeenAt()) BoxSeenAt() = BenchSeconds();
            PostMessageA((HWND)wParam, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

inline void WatchForEndBox() { SetWindowsHookExA(WH_CBT, AnswerEndBox, NULL, GetCurrentThreadId()); }
