// RemovePath on folders that cannot simply be removed. Wine never denies the removal of a folder
// (nor shows a folder as read-only), so the test denies it through this program's imports.
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>
#include "install/path_removal.h"
#include "unit/file_helpers.h"
#include "unit/pending_renames.h"

struct Fault {
    int denials;    // how many removals of the folder are denied
    bool readOnly;  // whether the folder shows the read-only attribute until it is cleared
};
static std::map<std::string, Fault> Faults;
static ImportHook* RemoveHook;
static ImportHook* AttributesHook;
static ImportHook* SetHook;

static BOOL WINAPI DenyRemoval(LPCSTR path)
{
    auto fault = Faults.find(path);
    if (fault != Faults.end() && fault->second.denials && fault->second.denials--) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return ((BOOL(WINAPI*)(LPCSTR))RemoveHook->original)(path);
}

static DWORD WINAPI ShowReadOnly(LPCSTR path)
{
    DWORD attributes = ((DWORD(WINAPI*)(LPCSTR))AttributesHook->original)(path);
    auto fault = Faults.find(path);
    return fault != Faults.end() && fault->second.readOnly && attributes != INVALID_FILE_ATTRIBUTES
        ? attributes | FILE_ATTRIBUTE_READONLY : attributes;
}

static BOOL WINAPI ClearReadOnly(LPCSTR path, DWORD attributes)
{
    auto fault = Faults.find(path);
    if (fault != Faults.end() && !(attributes & FILE_ATTRIBUTE_READONLY)) fault->second.readOnly = false;
    return ((BOOL(WINAPI*)(LPCSTR, DWORD))SetHook->original)(path, attributes);
}

TEST(RemovePath, DeniedHeldAndReadOnlyFolders)
{
    WindowsFamilyNT nt;
    ClearPendingRenames();
    std::string dir = ScratchFolder("denied"), outer = dir + "\\outer";
    for (const char* name : { "\\empty", "\\full", "\\readonly", "\\held", "\\outer", "\\outer\\a", "\\outer\\b", "\\outer\\z" })
        CreateDirectoryA((dir + name).c_str(), NULL);
    WriteFileBytes(dir + "\\full\\f.txt", "x");
    WriteFileBytes(outer + "\\b\\in.txt", "x");
    WriteFileBytes(outer + "\\f.txt", "x");
    Faults = { { dir + "\\empty", { 9, false } }, { dir + "\\full", { 9, false } }, { dir + "\\readonly", { 1, true } },
               { outer, { 9, false } } };
    ImportHook removeHook("RemoveDirectoryA", (void*)DenyRemoval), attributesHook("GetFileAttributesA", (void*)ShowReadOnly),
        setHook("SetFileAttributesA", (void*)ClearReadOnly);
    RemoveHook = &removeHook;
    AttributesHook = &attributesHook;
    SetHook = &setHook;
    ASSERT_TRUE(removeHook.slot && attributesHook.slot && setHook.slot);

    ErrorStatus status = Clear();
    EXPECT_TRUE(RemovePath((dir + "\\empty").c_str(), TRUE, TRUE, &status)) << "an empty folder goes at restart";
    EXPECT_FALSE(RemovePath((dir + "\\full").c_str(), TRUE, FALSE, &status)) << "one that holds a file stays";
    EXPECT_FALSE(RemovePath((dir + "\\readonly").c_str(), TRUE, FALSE, &status));
    EXPECT_FALSE(PathExists(dir + "\\readonly")) << "a read-only folder goes once the attribute is cleared";
    {
        HANDLE held = CreateFileA((dir + "\\held").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
        EXPECT_TRUE(RemovePath((dir + "\\held").c_str(), TRUE, FALSE, &status)) << "a folder in use goes at restart";
        CloseHandle(held);
    }

    // Descending, the empty subfolders go until the first file is met; the folder itself stays.
    std::vector<std::string> order;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((outer + "\\*").c_str(), &found);
    do
        if (found.cFileName[0] != '.') order.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_FALSE(RemovePath(outer.c_str(), TRUE, TRUE, &status));
    EXPECT_EQ(0u, status.code) << status.text;
    bool beforeFile = true;
    for (const std::string& name : order) {
        if (name == "f.txt") beforeFile = false;
        EXPECT_EQ(!beforeFile || name == "b" || name == "f.txt", PathExists(outer + "\\" + name)) << name;
    }
    std::vector<std::string> pending = PendingRenames();
    EXPECT_GE(FindRename(pending, dir + "\\empty", ""), 0);
    EXPECT_GE(FindRename(pending, dir + "\\held", ""), 0);
    EXPECT_LT(FindRename(pending, dir + "\\full", ""), 0);
    EXPECT_LT(FindRename(pending, outer, ""), 0);
    EXPECT_TRUE(PathExists(dir + "\\full\\f.txt") && PathExists(outer));
    ClearPendingRenames();
    Faults.clear();
}
