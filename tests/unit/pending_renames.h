// The platform's list of renames and deletions waiting for the next restart, and the switch
// between the NT family's restart mechanism and the Windows 9x one for one test.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "core/globals.h"

struct WindowsFamily {
    BOOL saved;
    explicit WindowsFamily(BOOL nt) : saved(IsWindowsNT) { IsWindowsNT = nt; }
    ~WindowsFamily() { IsWindowsNT = saved; }
};
struct WindowsFamilyNT : WindowsFamily {
    WindowsFamilyNT() : WindowsFamily(TRUE) {}
};

static const char SessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";

// The strings of the pending-rename list, in order: source, target ("" = deletion), ...
inline std::vector<std::string> PendingRenames()
{
    std::vector<std::string> entries;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SessionManager, 0, KEY_READ, &key)) return entries;
    DWORD type = 0, size = 0;
    if (!RegQueryValueExW(key, L"PendingFileRenameOperations", NULL, &type, NULL, &size) && size) {
        std::vector<WCHAR> data(size / 2 + 2, 0);
        RegQueryValueExW(key, L"PendingFileRenameOperations", NULL, &type, (BYTE*)data.data(), &size);
        std::string current;
        for (size_t i = 0; i < size / 2; i++) {
            if (data[i]) current += (char)data[i];
            else entries.push_back(current), current.clear();
        }
    }
    RegCloseKey(key);
    return entries;
}

inline void ClearPendingRenames()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SessionManager, 0, KEY_WRITE, &key)) return;
    RegDeleteValueA(key, "PendingFileRenameOperations");
    RegCloseKey(key);
}

// The index of the rename "from" -> "to" ("" = deletion) in the list, or -1. Paths are
// compared by their ends, without regard to case (the list holds "\??\" forms).
inline int FindRename(const std::vector<std::string>& entries, const std::string& from, const std::string& to)
{
    auto endsWith = [](const std::string& text, const std::string& tail) {
        return text.size() >= tail.size() && lstrcmpiA(text.c_str() + text.size() - tail.size(), tail.c_str()) == 0;
    };
    for (size_t i = 0; i + 1 < entries.size(); i += 2)
        if (endsWith(entries[i], from) && (to.empty() ? entries[i + 1].empty() : endsWith(entries[i + 1], to)))
            return (int)i;
    return -1;
}
