// Small helpers of the unit tests for real files: a scratch folder per test, file contents,
// and answering the message boxes that the code under test shows.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Deletes a file or a folder tree, clearing read-only attributes on the way.
inline void RemoveTree(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name != "." && name != "..") RemoveTree(path + "\\" + name);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

// A new empty folder "C:\vandrel-tests\<name>" (no trailing backslash).
inline std::string ScratchFolder(const char* name)
{
    CreateDirectoryA("C:\\vandrel-tests", NULL);
    std::string folder = std::string("C:\\vandrel-tests\\") + name;
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), NULL);
    return folder;
}

inline bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    return ok && written == bytes.size();
}

// The file's bytes, or "<missing>" when it cannot be read.
inline std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char block[4096];
    DWORD read = 0;
    while (ReadFile(file, block, sizeof block, &read, NULL) && read) bytes.append(block, read);
    CloseHandle(file);
    return bytes;
}

inline bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Answers every message box of this thread's process with the given button, recording what
// each showed, until stopped. Start it before the call that may show boxes.
struct BoxAnswerer {
    int button;                     // IDYES, IDNO, IDOK, ...
    DWORD thread;                   // the thread that shows the boxes
    volatile LONG stop;
    std::vector<std::string> texts;
    std::vector<std::string> captions;
    std::vector<HWND> owners;
    HANDLE worker;
};

inline DWORD WINAPI AnswerBoxes(LPVOID param)
{
    BoxAnswerer* answerer = (BoxAnswerer*)param;
    while (!answerer->stop) {
        Sleep(10);
        HWND box = NULL;
        while ((box = FindWindowExA(NULL, box, "#32770", NULL)) != NULL) {
            if (GetWindowThreadProcessId(box, NULL) != answerer->thread || !IsWindowVisible(box)) continue;
            char caption[256] = "", text[512] = "";
            GetWindowTextA(box, caption, sizeof caption);
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            answerer->captions.push_back(caption);
            answerer->texts.push_back(text);
            answerer->owners.push_back(GetWindow(box, GW_OWNER));
            PostMessageA(box, WM_COMMAND, answerer->button, 0);
            // Wait for the box to go before looking for the next one.
            for (int i = 0; i < 500 && IsWindow(box); i++) Sleep(10);
            break;
        }
    }
    return 0;
}

inline void StartAnswering(BoxAnswerer* answerer, int button)
{
    answerer->button = button;
    answerer->thread = GetCurrentThreadId();
    answerer->stop = 0;
    answerer->texts.clear();
    answerer->captions.clear();
    answerer->owners.clear();
    answerer->worker = CreateThread(NULL, 0, AnswerBoxes, answerer, 0, NULL);
}

inline void StopAnswering(BoxAnswerer* answerer)
{
    InterlockedExchange(&answerer->stop, 1);
    WaitForSingleObject(answerer->worker, 10000);
    CloseHandle(answerer->worker);
}

// A window to own message boxes.
inline HWND MakeOwnerWindow()
{
    return CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
}
