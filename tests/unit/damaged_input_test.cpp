// Inputs that a damaged or hand-edited machine holds: registry keys whose names the ANSI code
// page cannot carry, links to nowhere, paths that do not fit, install logs with NUL bytes.
#include <gtest/gtest.h>
#include <string>
#include "file_helpers.h"
#include "core/error_status.h"
#include "core/format.h"
#include "core/log_entries.h"
#include "core/setup_context.h"
#include "install/install_log.h"
#include "install/registration.h"
#include "install/registry.h"

static bool KeyExists(const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key)) return false;
    RegCloseKey(key);
    return true;
}

static void MakeWideKey(const wchar_t* path, DWORD options = 0)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, NULL, options,
                                             KEY_ALL_ACCESS | KEY_CREATE_LINK, NULL, &key, NULL));
    if (options & REG_OPTION_CREATE_LINK) {
        static const wchar_t target[] = L"\\Registry\\Machine\\Software\\VandrelNoSuchTarget";
        RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK, (const BYTE*)target, sizeof target - sizeof(wchar_t));
    }
    RegCloseKey(key);
}

struct TreeDeletion {
    const char* path;
    ErrorStatus status;
};

static DWORD WINAPI DeleteTreeThread(LPVOID param)
{
    TreeDeletion* deletion = (TreeDeletion*)param;
    DeleteRegTree(HKEY_CURRENT_USER, &deletion->status, KEY_READ | KEY_WRITE, deletion->path, (const char*)NULL);
    return 0;
}

// Runs the deletion on a thread of its own, so that a deletion that never ends fails the test.
static bool DeleteTreeWithin(TreeDeletion* deletion, DWORD milliseconds)
{
    deletion->status = Clear();
    HANDLE thread = CreateThread(NULL, 0, DeleteTreeThread, deletion, 0, NULL);
    bool ended = WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
    if (!ended) TerminateThread(thread, 1);
    CloseHandle(thread);
    return ended;
}

TEST(DamagedRegistry, TreeDeletionEndsOnWideNamesAndBrokenLinks)
{
    MakeWideKey(L"Software\\VandrelWide\\\x65E5\x672C\\inner");
    MakeWideKey(L"Software\\VandrelWide\\plain");
    MakeWideKey(L"Software\\VandrelKeep");
    TreeDeletion wide = { "Software\\VandrelWide", {} };
    ASSERT_TRUE(DeleteTreeWithin(&wide, 20000)) << "the deletion of a key named in Japanese never ended";
    EXPECT_EQ(0u, wide.status.code) << wide.status.text;
    EXPECT_FALSE(KeyExists("Software\\VandrelWide")) << "the subkey is deleted by its wide name";

    MakeWideKey(L"Software\\VandrelLinked\\link", REG_OPTION_CREATE_LINK);
    MakeWideKey(L"Software\\VandrelLinked\\zafter\\x");
    TreeDeletion linked = { "Software\\VandrelLinked", {} };
    ASSERT_TRUE(DeleteTreeWithin(&linked, 20000)) << "a link to a missing key made the deletion loop";
    EXPECT_FALSE(KeyExists("Software\\VandrelLinked\\zafter")) << "the keys after the link are deleted too";
    // The link is passed over, so the key that holds it stays, and the failure says which.
    EXPECT_TRUE(KeyExists("Software\\VandrelLinked"));
    EXPECT_NE(nullptr, strstr(linked.status.text, "Unable to delete registry key (Software\\VandrelLinked)"))
        << linked.status.text;
    EXPECT_TRUE(KeyExists("Software\\VandrelKeep"));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VandrelKeep");
}

TEST(DamagedRegistry, WholeKeysThatOthersShareArePassedOver)
{
    struct Case {
        const char* entry;
        bool taken;
        const char* path;
        bool view64;
        bool shared;
    } cases[] = {
        { "HKLM\\Software\\Corvantis Vandrel\\", true, "Software\\Corvantis Vandrel\\", false, false },
        { "3(64)hklm\\SOFTWARE\\X\\Capabilities", true, "SOFTWARE\\X\\Capabilities", true, false },
        { "HKLM\\", true, "", false, true },
        { "(64)HKLM\\", true, "", true, true },
        { "HKLM\\Software", true, "Software", false, true },
        { "HKLM\\\\Software\\\\", true, "\\Software\\\\", false, true },
        { "HKLM\\software\\microsoft\\WINDOWS\\CurrentVersion\\Uninstall\\", true,
          "software\\microsoft\\WINDOWS\\CurrentVersion\\Uninstall\\", false, true },
        { "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", true,
          "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", false, true },
        { "HKLM\\Software\\Wow6432Node", true, "Software\\Wow6432Node", false, true },
        { "HKLM\\Software\\Wow6432Node\\Corvantis", true, "Software\\Wow6432Node\\Corvantis", false, false },
        { "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvantis Vandrel (64-bit)", true,
          "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvantis Vandrel (64-bit)", false, false },
        { "HKLM\\Software\\Classes\\*", false, "", false, false },
        { "HKLM\\Software\\C?", false, "", false, false },
        { "HKCU\\Software\\Corvantis", false, "", false, false },
        { "HKLM", false, "", false, false },
    };
    for (const Case& c : cases) {
        char path[208] = "unchanged";
        bool view64 = false;
        ASSERT_EQ(c.taken, ParseRegistryEntry(c.entry, path, sizeof path, &view64)) << c.entry;
        if (!c.taken) continue;
        EXPECT_STREQ(c.path, path) << c.entry;
        EXPECT_EQ(c.view64, view64) << c.entry;
        EXPECT_EQ(c.shared, IsSharedRegistryKey(path)) << c.entry;
    }
    std::string overlong = "HKLM\\Software\\" + std::string(200, 'k');
    char path[208];
    bool view64;
    EXPECT_FALSE(ParseRegistryEntry(overlong.c_str(), path, sizeof path, &view64)) << "never cut to a parent key";
    EXPECT_TRUE(IsSharedRegistryKey(std::string(300, 'k').c_str())) << "a key right below the root";
}

TEST(DamagedLog, OnlyPathsInsideTheFolderCount)
{
    const char* folder = "C:\\Apps\\Prod";
    struct Case {
        const char* path;
        int place;
    } cases[] = {
        { "C:\\Apps\\Prod", PathIsFolder },     { "c:\\apps\\PROD\\", PathIsFolder },
        { "C:\\Apps\\Prod\\a.dll", PathBelowFolder }, { "C:\\Apps\\Prod\\sub\\b..c", PathBelowFolder },
        { "C:\\Apps\\Product\\a.dll", PathOutside }, { "C:\\Apps\\Pro", PathOutside },
        { "C:\\Apps\\Prod\\..\\x.dll", PathOutside }, { "C:\\Apps\\Prod/../x.dll", PathOutside },
        { "C:\\Apps\\Prod\\. .\\x.dll", PathOutside }, { "C:\\Apps\\Prod\\...", PathOutside },
        { "C:\\Apps\\Prod\\*.dll", PathOutside }, { "C:\\Apps\\Prod\\a?.dll", PathOutside },
        { "D:\\Apps\\Prod\\a.dll", PathOutside }, { "", PathOutside },
    };
    for (const Case& c : cases) EXPECT_EQ(c.place, PlaceOfPath(c.path, folder)) << c.path;
    EXPECT_EQ(PathBelowFolder, PlaceOfPath("C:\\Apps\\Prod\\a.dll", "C:\\Apps\\Prod\\"));
    EXPECT_EQ(PathOutside, PlaceOfPath("C:\\a.dll", "")) << "without a folder nothing counts";
}

TEST(PathJoins, RemoveOnInstallNeverDeletesACutPath)
{
    // installDir\sub\plugin.dll is 259 characters: "plugin.dll.old" cut to fit names the live file.
    std::string installDir = ScratchFolder("cut-path");
    installDir += "\\" + std::string(259 - installDir.size() - 1 - 4 - 10 - 1, 'p');
    ASSERT_TRUE(CreateDirectoryA(installDir.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((installDir + "\\sub").c_str(), NULL));
    std::string live = installDir + "\\sub\\plugin.dll";
    ASSERT_EQ(259u, live.size());
    ASSERT_TRUE(WriteFileBytes(live, "live"));

    char script[] = "[RemoveOnInstall]\r\nnew.dll=sub\\plugin.dll.old\r\n";
    SetupContext context = {};
    CopyText(installDir.c_str(), context.installDir, sizeof context.installDir);
    ErrorStatus status = Clear();
    RemoveOnInstall(script, &context, "new.dll", NULL, &status);
    EXPECT_TRUE(PathExists(live)) << "the live file was deleted in place of the old one";
    EXPECT_EQ((DWORD)ERROR_FILENAME_EXCED_RANGE, status.code);
    EXPECT_NE(nullptr, strstr(status.text, "\\sub\\plugin.dll.old")) << status.text;
    RemoveTree(ScratchFolder("cut-path"));
}

TEST(DamagedLog, ALogWithNulBytesIsNeverWrittenBackAndStillRead)
{
    std::string folder = ScratchFolder("nul-log");
    std::string path = folder + "\\setup.ini";
    std::string bytes("[UninstallFiles]\r\nC:\\a.txt=0\r\nC:\\b\0junk.txt=0\r\nC:\\c.txt=0\r\n", 59);
    ASSERT_TRUE(WriteFileBytes(path, bytes));

    PendingChange* list = NULL;
    ErrorStatus status = Clear();
    NotePendingChange(&list, "C:\\new.txt", 0, &status);
    ApplyPendingChangesToLog(path.c_str(), list, &status);
    FreePendingChanges(&list);
    EXPECT_EQ((DWORD)ERROR_FILE_CORRUPT, status.code);
    EXPECT_NE(nullptr, strstr(status.text, ("The install log is damaged and was left unchanged (" + path + ")").c_str()))
        << status.text;
    EXPECT_EQ(bytes, ReadFileBytes(path)) << "the log was cut at its first NUL";

    // The removal reads what it can: a NUL ends a line; a log saved as UTF-16 is read as text.
    struct Case {
        std::string bytes;
        const char* expected;
    } cases[] = {
        { bytes, "[UninstallFiles]\r\nC:\\a.txt=0\r\nC:\\b\njunk.txt=0\r\nC:\\c.txt=0\r\n" },
        { std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0", 18), "[S]\r\nk=\xE9" },
        { "[S]\r\nk=1", "[S]\r\nk=1" },
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        char* text = ReadInstallLog(path.c_str());
        ASSERT_NE(nullptr, text);
        EXPECT_STREQ(c.expected, text);
        GlobalFree(text);
    }
    RemoveTree(folder);
}
