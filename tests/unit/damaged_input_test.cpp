// Inputs that a damaged or hand-edited machine holds: registry keys whose names the ANSI code
// page cannot carry, links to nowhere, log entries the install cannot have made, paths that do
// not fit, install logs with NUL bytes.
#include <gtest/gtest.h>
#include <string>
#include "core/format.h"
#include "core/log_entries.h"
#include "core/setup_context.h"
#include "install/install_log.h"
#include "install/registration.h"
#include "install/registry.h"
#include "unit/file_helpers.h"

static void MakeWideKey(const wchar_t* path, DWORD options = 0)
{
    static const wchar_t target[] = L"\\Registry\\Machine\\Software\\VandrelNoSuchTarget";
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, NULL, options, KEY_ALL_ACCESS | KEY_CREATE_LINK, NULL, &key, NULL));
    if (options & REG_OPTION_CREATE_LINK) RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK, (const BYTE*)target, sizeof target - 2);
    RegCloseKey(key);
}
static bool KeyExists(const char* path)
{
    HKEY key;
    return !RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) && !RegCloseKey(key);
}
// Deletes the tree on a thread of its own, so that a deletion that never ends fails the test.
static ErrorStatus DeleteTreeWithin(const char* path, DWORD milliseconds)
{
    static ErrorStatus status;
    status = Clear();
    HANDLE thread = CreateThread(NULL, 0, [](LPVOID path) -> DWORD {
        return DeleteRegTree(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, (const char*)path, (const char*)NULL), 0;
    }, (LPVOID)path, 0, NULL);
    if (WaitForSingleObject(thread, milliseconds) != WAIT_OBJECT_0) TerminateThread(thread, 1), SetStatus(&status, 999, 0);
    CloseHandle(thread);
    return status;
}

TEST(DamagedRegistry, TreeDeletionEndsOnWideNamesAndBrokenLinks)
{
    MakeWideKey(L"Software\\VandrelWide\\\x65E5\x672C\\inner"), MakeWideKey(L"Software\\VandrelWide\\plain"), MakeWideKey(L"Software\\VandrelKeep");
    ErrorStatus wide = DeleteTreeWithin("Software\\VandrelWide", 20000);
    EXPECT_EQ("0 0", std::to_string(wide.code) + " " + std::to_string(KeyExists("Software\\VandrelWide"))) << "the subkey is deleted by its wide name";
    // A link to a missing key is passed over: the keys after it go, the key that holds it stays
    // and the failure names it.
    MakeWideKey(L"Software\\VandrelLinked\\link", REG_OPTION_CREATE_LINK), MakeWideKey(L"Software\\VandrelLinked\\zafter\\x");
    ErrorStatus linked = DeleteTreeWithin("Software\\VandrelLinked", 20000);
    EXPECT_TRUE(Has(linked.text, "Unable to delete registry key (Software\\VandrelLinked)")) << linked.code << linked.text;
    EXPECT_EQ("0 1 1", Text({ std::to_string(KeyExists("Software\\VandrelLinked\\zafter")) + " " + std::to_string(KeyExists("Software\\VandrelLinked")) +
                              " " + std::to_string(KeyExists("Software\\VandrelKeep")) }));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VandrelKeep");
}
// Which log entries the removal takes: keys below HKLM without wildcards, never cut, and whole keys
// that other programs share passed over; paths below the installed folder, named plainly.
TEST(DamagedLog, OnlyEntriesTheInstallCanHaveMadeCount)
{
    std::string overlong = "HKLM\\Software\\" + std::string(200, 'k');
    struct { const char *entry, *path; int shared; } keys[] = {  // shared -1: not taken at all
        { "HKLM\\Software\\Corvantis Vandrel\\", "Software\\Corvantis Vandrel\\", 0 }, { "3(64)hklm\\SOFTWARE\\X\\Capabilities", "(64)SOFTWARE\\X\\Capabilities", 0 },
        { "HKLM\\", "", 1 }, { "(64)HKLM\\", "(64)", 1 }, { "HKLM\\Software", "Software", 1 }, { "HKLM\\\\Software\\\\", "\\Software\\\\", 1 },
        { "HKLM\\software\\microsoft\\WINDOWS\\CurrentVersion\\Uninstall\\", "software\\microsoft\\WINDOWS\\CurrentVersion\\Uninstall\\", 1 },
        { "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", 1 },
        { "HKLM\\Software\\Wow6432Node", "Software\\Wow6432Node", 1 }, { "HKLM\\Software\\Wow6432Node\\Corvantis", "Software\\Wow6432Node\\Corvantis", 0 },
        { "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvantis Vandrel (64-bit)",
          "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvantis Vandrel (64-bit)", 0 },
        { "HKLM\\Software\\Classes\\*", "", -1 }, { "HKLM\\Software\\C?", "", -1 }, { "HKCU\\Software\\Corvantis", "", -1 }, { "HKLM", "", -1 },
        { overlong.c_str(), "", -1 },  // never cut to a parent key
    };
    for (auto& c : keys) {
        char path[208] = "";
        bool view64 = false, taken = ParseRegistryEntry(c.entry, path, sizeof path, &view64);
        EXPECT_EQ(Text({ c.path, std::to_string(c.shared) }), taken ? Text({ (view64 ? "(64)" : "") + std::string(path), std::to_string(IsSharedRegistryKey(path)) })
                                                                     : Text({ "", "-1" })) << c.entry;
    }
    EXPECT_TRUE(IsSharedRegistryKey(std::string(300, 'k').c_str())) << "a key right below the root";
    std::string places;
    for (const char* path : { "C:\\Apps\\Prod", "c:\\apps\\PROD\\", "C:\\Apps\\Prod\\a.dll", "C:\\Apps\\Prod\\sub\\b..c", "C:\\Apps\\Product\\a.dll",
                              "C:\\Apps\\Pro", "C:\\Apps\\Prod\\..\\x.dll", "C:\\Apps\\Prod/../x.dll", "C:\\Apps\\Prod\\. .\\x.dll", "C:\\Apps\\Prod\\...",
                              "C:\\Apps\\Prod\\*.dll", "C:\\Apps\\Prod\\a?.dll", "D:\\Apps\\Prod\\a.dll", "" })
        places += std::to_string(PlaceOfPath(path, "C:\\Apps\\Prod"));
    EXPECT_EQ("11220000000000|2|0", places + "|" + std::to_string(PlaceOfPath("C:\\Apps\\Prod\\a.dll", "C:\\Apps\\Prod\\")) + "|" +
                                        std::to_string(PlaceOfPath("C:\\a.dll", ""))) << "without a folder nothing counts";
}
// A path that does not fit is never cut: a cut path names another file.
TEST(PathJoins, RemoveOnInstallAndTheLogNeverUseACutPath)
{
    // installDir\sub\plugin.dll is 259 characters: "plugin.dll.old" cut to fit names the live file.
    std::string scratch = ScratchFolder("cut-path"), installDir = scratch + "\\" + std::string(259 - scratch.size() - 16, 'p');
    CreateDirectoryA(installDir.c_str(), NULL), CreateDirectoryA((installDir + "\\sub").c_str(), NULL);
    std::string live = installDir + "\\sub\\plugin.dll";
    ASSERT_TRUE(live.size() == 259 && WriteFileBytes(live, "live"));
    char script[] = "[RemoveOnInstall]\r\nnew.dll=sub\\plugin.dll.old\r\n", buffer[MAX_PATH + 8];
    SetupContext context = {};
    CopyText(installDir.c_str(), context.installDir, sizeof context.installDir);
    ErrorStatus status = Clear();
    RemoveOnInstall(script, &context, "new.dll", NULL, &status);
    EXPECT_TRUE(PathExists(live) && status.code == ERROR_FILENAME_EXCED_RANGE && Has(status.text, "\\sub\\plugin.dll.old")) << status.text;
    memset(buffer, 'G', sizeof buffer);
    status = Clear();
    GetInstallLogPath(std::string(400, 'f').c_str(), buffer, &status);
    EXPECT_TRUE(status.code == ERROR_FILENAME_EXCED_RANGE && !buffer[0] && !memcmp(buffer + MAX_PATH, "GGGGGGGG", 8)) << "the log's path";
    RemoveTree(scratch);
}

TEST(DamagedLog, ALogWithNulBytesIsNeverWrittenBackAndStillRead)
{
    std::string folder = ScratchFolder("nul-log"), path = folder + "\\setup.ini";
    std::string bytes("[UninstallFiles]\r\nC:\\a.txt=0\r\nC:\\b\0junk.txt=0\r\nC:\\c.txt=0\r\n", 59);
    WriteFileBytes(path, bytes);
    PendingChange* list = NULL;
    ErrorStatus status = Clear();
    NotePendingChange(&list, "C:\\new.txt", 0, &status);
    ApplyPendingChangesToLog(path.c_str(), list, &status);
    FreePendingChanges(&list);
    EXPECT_TRUE(status.code == ERROR_FILE_CORRUPT && Has(status.text, "The install log is damaged and was left unchanged (" + path + ")")) << status.text;
    EXPECT_EQ(bytes, ReadFileBytes(path)) << "the log was cut at its first NUL";
    // The removal reads what it can: a NUL ends a line; a log saved as UTF-16 is read as text.
    for (auto c : { std::make_pair(bytes, "[UninstallFiles]\r\nC:\\a.txt=0\r\nC:\\b\njunk.txt=0\r\nC:\\c.txt=0\r\n"),
                    { std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0", 18), "[S]\r\nk=\xE9" }, { "[S]\r\nk=1", "[S]\r\nk=1" } }) {
        WriteFileBytes(path, c.first);
        char* text = ReadInstallLog(path.c_str());
        EXPECT_EQ(c.second, std::string(text ? text : "<none>"));
        GlobalFree(text);
    }
    RemoveTree(folder);
}
