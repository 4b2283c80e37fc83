// Registry values read with and without defaults, and writes denied; folders whose removal is
// denied (Wine never denies it, nor shows a folder read-only, so this program's imports do).
#include <gtest/gtest.h>
#include <map>
#include <string>
#include "install/path_removal.h"
#include "install/registry.h"
#include "resources/resource.h"
#include "unit/file_helpers.h"

TEST(Registry, ValuesReadWithDefaultsAndWritesDenied)
{
    ErrorStatus status = Clear();
    HKEY key = OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE, FALSE, &status, "Software", "VandrelTest", (const char*)NULL);
    SetRegString(key, "Text", "C:\\Apps", &status);
    SetRegString(key, "Long", "0123456789abcdef", &status);
    SetRegString(key, MAKEINTRESOURCEA(IDS_PROGRAM_FOLDER_VALUE), MAKEINTRESOURCEA(IDS_SETUP_VERSION), &status);
    SetRegDword(key, "Number", 7, &status);
    RegSetValueExA(key, "NoNul", 0, REG_SZ, (const BYTE*)"abc", 3);
    RegCloseKey(key);
    key = OpenRegKey(HKEY_CURRENT_USER, KEY_READ, TRUE, &status, "Software\\VandrelTest", (const char*)NULL);
    struct { HKEY key; const char *name, *fallback, *expected; DWORD code; } cases[] = {
        { key, "Text", "unused", "C:\\Apps", 0 }, { key, "Missing", "default", "default", 0 }, { key, "Missing", NULL, "", 2 },
        { NULL, "Text", "no key", "no key", 0 }, { key, "Number", "default", "default", 0 }, { key, "Number", NULL, "", 2 },
        { key, "Long", "default", "default", 0 }, { key, "Long", NULL, "", ERROR_MORE_DATA }, { key, "NoNul", NULL, "abc", 0 },
        { key, "Missing", "a long default", "a long ", 0 }, { key, MAKEINTRESOURCEA(IDS_PROGRAM_FOLDER_VALUE), NULL, "1.0", 0 },
    };
    for (auto& c : cases) {
        std::string name = IS_INTRESOURCE(c.name) ? "Program Folder" : c.name;
        char buffer[16];
        memset(buffer, 'G', sizeof buffer);
        status = Clear();
        QueryRegString(c.key, c.name, c.fallback, buffer, 8, &status);
        EXPECT_EQ(Text({ c.expected, "GGGGGGGG", std::to_string(c.code) }), Text({ buffer, std::string(buffer + 8, 8), std::to_string(status.code) }));
        EXPECT_TRUE(!c.code || Has(status.text, "\r\nUnable to query registry value (" + name + ")")) << status.text;
    }
    // A key opened for reading only: every write fails with the value's name in the text.
    for (int write = 0; write < 3; write++) {
        status = Clear();
        write == 0 ? SetRegString(key, "Text", "x", &status) : write == 1 ? SetRegString(key, "Text", NULL, &status) : SetRegDword(key, "Text", 1, &status);
        EXPECT_TRUE(status.code == ERROR_ACCESS_DENIED && Has(status.text, write == 1 ? "delete registry value (Text)" : "set registry value (Text)"));
    }
    RegCloseKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VandrelTest");
}
struct Fault {
    int denials;    // how many removals of the folder are denied
    bool readOnly;  // whether the folder shows the read-only attribute until it is cleared
};
static std::map<std::string, Fault> Faults;
static ImportHook *RemoveHook, *AttributesHook, *SetHook;
static BOOL WINAPI DenyRemoval(LPCSTR path)
{
    auto fault = Faults.find(path);
    if (fault != Faults.end() && fault->second.denials && fault->second.denials--) return SetLastError(ERROR_ACCESS_DENIED), FALSE;
    return ((decltype(&DenyRemoval))RemoveHook->original)(path);
}
static DWORD WINAPI ShowReadOnly(LPCSTR path)
{
    DWORD attributes = ((decltype(&ShowReadOnly))AttributesHook->original)(path);
    return Faults.count(path) && Faults[path].readOnly && attributes != INVALID_FILE_ATTRIBUTES ? attributes | FILE_ATTRIBUTE_READONLY : attributes;
}
static BOOL WINAPI ClearReadOnly(LPCSTR path, DWORD attributes)
{
    if (Faults.count(path) && !(attributes & FILE_ATTRIBUTE_READONLY)) Faults[path].readOnly = false;
    return ((decltype(&ClearReadOnly))SetHook->original)(path, attributes);
}

TEST(RemovePath, DeniedHeldAndReadOnlyFolders)
{
    WindowsFamily nt(TRUE);
    ClearPendingRenames();
    std::string dir = ScratchFolder("denied"), outer = dir + "\\outer";
    for (const char* name : { "\\empty", "\\full", "\\readonly", "\\held", "\\outer", "\\outer\\a", "\\outer\\b", "\\outer\\z" })
        CreateDirectoryA((dir + name).c_str(), NULL);
    for (std::string file : { dir + "\\full\\f.txt", outer + "\\b\\in.txt", outer + "\\f.txt" }) WriteFileBytes(file, "x");
    Faults = { { dir + "\\empty", { 9, false } }, { dir + "\\full", { 9, false } }, { dir + "\\readonly", { 1, true } }, { outer, { 9, false } } };
    ImportHook removeHook("RemoveDirectoryA", (void*)DenyRemoval), attributesHook("GetFileAttributesA", (void*)ShowReadOnly),
        setHook("SetFileAttributesA", (void*)ClearReadOnly);
    RemoveHook = &removeHook, AttributesHook = &attributesHook, SetHook = &setHook;
    ErrorStatus status = Clear();
    HANDLE held = CreateFileA((dir + "\\held").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, NULL);
    EXPECT_EQ("1 0 0 1", Text({ std::to_string(RemovePath((dir + "\\empty").c_str(), TRUE, TRUE, &status)) + " " +
                                std::to_string(RemovePath((dir + "\\full").c_str(), TRUE, FALSE, &status)) + " " +
                                std::to_string(RemovePath((dir + "\\readonly").c_str(), TRUE, FALSE, &status)) + " " +
                                std::to_string(RemovePath((dir + "\\held").c_str(), TRUE, FALSE, &status)) }))
        << "an empty folder and one in use go at restart, one that holds a file stays, a read-only one goes";
    CloseHandle(held);
    // Descending, the empty subfolders go until the first file is met; the folder itself stays.
    std::string order, expected;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((outer + "\\*").c_str(), &found);
    for (BOOL more = TRUE; more; more = FindNextFileA(search, &found)) order += found.cFileName[0] == '.' ? "" : std::string(1, found.cFileName[0]);
    FindClose(search);
    EXPECT_FALSE(RemovePath(outer.c_str(), TRUE, TRUE, &status));
    for (size_t i = 0; i < order.size(); i++) expected += order[i] == 'b' || i >= order.find('f') ? order[i] : '-';
    for (char& name : order) name = PathExists(outer + "\\" + name + (name == 'f' ? ".txt" : "")) ? name : '-';
    EXPECT_EQ(expected, order);
    std::vector<std::string> pending = PendingRenames();
    EXPECT_TRUE(HasRename(pending, dir + "\\empty", "") && HasRename(pending, dir + "\\held", "") &&
                !HasRename(pending, dir + "\\full", "") && !HasRename(pending, outer, ""));
    EXPECT_TRUE(!status.code && !PathExists(dir + "\\readonly") && PathExists(dir + "\\full\\f.txt") && PathExists(outer)) << status.text;
    ClearPendingRenames();
    Faults.clear();
}
