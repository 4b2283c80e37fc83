// Helpers of the unit tests: scratch files, programs of the build, message boxes answered from a
// second thread, imports pointed elsewhere to make the platform fail, the restart lists, and
// script texts.
#pragma once
#include <windows.h>
#include <stdlib.h>
#include <fstream>
#include <functional>
#include <string>
#include <vector>
#include "core/error_status.h"
#include "core/globals.h"

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
struct Holder {  // holds a file open without sharing while it lives
    HANDLE file;
    explicit Holder(const std::string& path) : file(CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL)) {}
    ~Holder() { CloseHandle(file); }
};
// What the message boxes of this process showed while an action ran, answered from a second thread.
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
// Points this program's import of a system function at a replacement while it lives, to make the
// platform fail where Wine never does.
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
// While it lives, CreateFileA refuses to write a read-only file as Windows does (root's Wine writes).
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
// The NT or the Windows 9x family for one test.
struct WindowsFamily {
    BOOL saved;
    explicit WindowsFamily(BOOL nt) : saved(IsWindowsNT) { IsWindowsNT = nt; }
    ~WindowsFamily() { IsWindowsNT = saved; }
};
// The strings of the pending-rename list, in order: source, target ("" = deletion), ...
inline std::vector<std::string> PendingRenames()
{
    std::vector<std::string> entries(1);
    WCHAR data[16384] = L"";
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", L"PendingFileRenameOperations",
                     RRF_RT_REG_MULTI_SZ, NULL, data, &size))
        size = 0;
    for (DWORD i = 0; i < size / 2; i++)
        if (data[i]) entries.back() += (char)data[i];
        else entries.push_back("");
    return entries;
}
inline void ClearPendingRenames()
{
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", "PendingFileRenameOperations");
}
// Whether "from" -> "to" ("" = deletion) is listed; paths compared by their ends (the list holds "\??\" forms).
inline bool HasRename(const std::vector<std::string>& entries, const std::string& from, const std::string& to)
{
    auto endsWith = [](const std::string& text, const std::string& tail) {
        return text.size() >= tail.size() && lstrcmpiA(text.c_str() + text.size() - tail.size(), tail.c_str()) == 0;
    };
    for (size_t i = 0; i + 1 < entries.size(); i += 2)
        if (endsWith(entries[i], from) && (to.empty() ? entries[i + 1].empty() : endsWith(entries[i + 1], to))) return true;
    return false;
}
// The bytes and a NUL placed so that the NUL is the last byte before a page that cannot be
// touched: reading one byte past the text's end crashes the test.
struct GuardedText {
    SIZE_T length, pages = (length + 4095) / 4096;
    BYTE* region = (BYTE*)VirtualAlloc(NULL, (pages + 1) * 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    char* text_;
    explicit GuardedText(const std::string& bytes) : length(bytes.size() + 1)
    {
        DWORD old;
        VirtualProtect(region + pages * 4096, 4096, PAGE_NOACCESS, &old);
        text_ = (char*)memcpy(region + pages * 4096 - length, bytes.c_str(), length);
    }
    ~GuardedText() { VirtualFree(region, 0, MEM_RELEASE); }
    GuardedText(const GuardedText&) = delete;
    char* text() { return text_; }
    std::string bytes() const { return std::string(text_, length); }  // up to and including the NUL
};
// A text in a GlobalAlloc block, as ReadWholeFile gives it.
inline char* GlobalText(const std::string& text) { return (char*)memcpy(GlobalAlloc(GMEM_FIXED, text.size() + 1), text.c_str(), text.size() + 1); }
