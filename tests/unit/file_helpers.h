// Helpers of the unit tests: scratch files, programs of the build, message boxes answered from a
// second thread, and imports of this program pointed elsewhere to make the platform fail.
#pragma once
#include <windows.h>
#include <stdlib.h>
#include <fstream>
#include <functional>
#include <string>
#include <vector>
#include "core/error_status.h"

inline ErrorStatus Clear() { return ErrorStatus{ 0, "" }; }
inline bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
inline std::string Text(const std::vector<std::string>& parts)  // "a|b|c"
{
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : "|") + part;
    return text;
}

// A file of the build named by an environment variable (CTest gives Unix paths; Wine maps Z:).
inline std::string BuiltFile(const char* variable)
{
    std::string path = getenv(variable) ? getenv(variable) : "";
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path[0] == '\\' ? "Z:" + path : path;
}

// Deletes a file or a folder tree, clearing read-only attributes on the way.
inline void RemoveTree(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &entry))
        if (strcmp(entry.cFileName, ".") && strcmp(entry.cFileName, "..")) RemoveTree(path + "\\" + entry.cFileName);
    FindClose(search);
    (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryA(path.c_str()) : DeleteFileA(path.c_str());
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

inline bool WriteFileBytes(const std::string& path, const std::string& bytes) { return (bool)(std::ofstream(path, std::ios::binary) << bytes); }
// The file's bytes, or "<missing>" when it cannot be read.
inline std::string ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}
inline bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Holds a file open without sharing while it lives.
struct Holder {
    HANDLE file;
    explicit Holder(const std::string& path) : file(CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL)) {}
    ~Holder() { CloseHandle(file); }
};

// What the message boxes of this process showed while an action ran; each was answered with the
// given button from a second thread.
struct BoxAnswerer {
    int button;
    DWORD thread;
    volatile LONG stop;
    std::vector<std::string> texts, captions;
    std::vector<HWND> owners;
};

inline DWORD WINAPI AnswerBoxes(LPVOID param)
{
    BoxAnswerer* answerer = (BoxAnswerer*)param;
    for (HWND box = NULL; !answerer->stop; Sleep(10), box = NULL) {
        while ((box = FindWindowExA(NULL, box, "#32770", NULL)) != NULL)
            if (GetWindowThreadProcessId(box, NULL) == answerer->thread && IsWindowVisible(box) && GetDlgItem(box, 0xFFFF)) break;
        if (!box) continue;
        char caption[256] = "", text[512] = "";
        GetWindowTextA(box, caption, sizeof caption);
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        answerer->captions.push_back(caption), answerer->texts.push_back(text), answerer->owners.push_back(GetWindow(box, GW_OWNER));
        PostMessageA(box, WM_COMMAND, answerer->button, 0);
        for (int i = 0; i < 500 && IsWindow(box); i++) Sleep(10);
    }
    return 0;
}

inline BoxAnswerer Answering(int button, const std::function<void()>& action)
{
    BoxAnswerer answerer = { button, GetCurrentThreadId(), 0, {}, {}, {} };
    HANDLE worker = CreateThread(NULL, 0, AnswerBoxes, &answerer, 0, NULL);
    action();
    InterlockedExchange(&answerer.stop, 1);
    WaitForSingleObject(worker, 10000);
    CloseHandle(worker);
    return answerer;
}

inline HWND MakeOwnerWindow() { return CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL, NULL, NULL); }

// Points this program's import of a system function at a replacement while it lives, so that a
// test can make the platform fail where Wine never does. Original holds the system's function.
struct ImportHook {
    void** slot = NULL;
    void* original = NULL;
    ImportHook(const char* name, void* replacement)
    {
        BYTE* base = (BYTE*)GetModuleHandleA(NULL);
        auto* headers = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
        auto* dll = (IMAGE_IMPORT_DESCRIPTOR*)(base + headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
        for (; dll->Name && !slot; dll++)
            for (auto *byName = (IMAGE_THUNK_DATA*)(base + dll->OriginalFirstThunk), *bound = (IMAGE_THUNK_DATA*)(base + dll->FirstThunk);
                 byName->u1.AddressOfData && !slot; byName++, bound++)
                if (!IMAGE_SNAP_BY_ORDINAL(byName->u1.Ordinal) && !strcmp((char*)((IMAGE_IMPORT_BY_NAME*)(base + byName->u1.AddressOfData))->Name, name))
                    slot = (void**)&bound->u1.Function;
        if (slot) original = *slot, Swap(replacement);
    }
    ~ImportHook() { if (slot) Swap(original); }
    void Swap(void* function)
    {
        DWORD old;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
        *slot = function;
        VirtualProtect(slot, sizeof *slot, old, &old);
    }
};

// Windows refuses to open a read-only file for writing; Wine run by root does not. While this
// lives, this program's CreateFileA refuses as Windows does.
struct ReadOnlyFilesRefuseWrites {
    static HANDLE WINAPI Open(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags, HANDLE model)
    {
        DWORD attributes = GetFileAttributesA(path);
        if ((access & GENERIC_WRITE) && attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == FILE_ATTRIBUTE_READONLY)
            return SetLastError(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
        return ((decltype(&Open))Hook()->original)(path, access, share, security, disposition, flags, model);
    }
    static ImportHook*& Hook()
    {
        static ImportHook* hook;
        return hook;
    }
    ImportHook hook{ "CreateFileA", (void*)Open };
    ReadOnlyFilesRefuseWrites() { Hook() = &hook; }
};
