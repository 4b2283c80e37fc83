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

// Whether the rename "from" -> "to" ("" = deletion) is listed. Paths are compared by their ends,
// without regard to case (the list holds "\??\" forms).
inline bool HasRename(const std::vector<std::string>& entries, const std::string& from, const std::string& to)
{
    auto endsWith = [](const std::string& text, const std::string& tail) {
        return text.size() >= tail.size() && lstrcmpiA(text.c_str() + text.size() - tail.size(), tail.c_str()) == 0;
    };
    for (size_t i = 0; i + 1 < entries.size(); i += 2)
        if (endsWith(entries[i], from) && (to.empty() ? entries[i + 1].empty() : endsWith(entries[i + 1], to))) return true;
    return false;
}
