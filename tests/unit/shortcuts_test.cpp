// The shortcut step on real shell links: what links and log lines a fresh install and an update
// make for this user and for all users, the earlier release's shortcuts replaced, and the
// warnings for denied access.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <string>
#include "controls/progress_window.h"
#include "core/setup_context.h"
#include "install/shortcuts.h"
#include "resources/resource.h"
#include "script_test_support.h"
#include "unit/file_helpers.h"
#include "unit/pending_renames.h"

// Where the shell keeps a folder, asked another way than the code under test asks.
static std::string ShellPath(int id)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, id, NULL, SHGFP_TYPE_CURRENT, path);
    return path;
}

// "target|description" of a link file, or "<none>".
static std::string Link(const std::string& path)
{
    std::string result = "<none>";
    IShellLinkA* link = NULL;
    IPersistFile* file = NULL;
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    CoInitialize(NULL);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file)) && SUCCEEDED(file->Load(wide, STGM_READ))) {
        char target[MAX_PATH] = "", description[MAX_PATH] = "";
        link->GetPath(target, sizeof target, NULL, SLGP_RAWPATH);
        link->GetDescription(description, sizeof description);
        result = std::string(target) + "|" + description;
    }
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return result;
}

struct ShortcutRun {
    std::string dir = ScratchFolder("shortcuts"), logPath = dir + "\\setup.ini";
    HWND owner = MakeOwnerWindow();
    ProgressRecord record = {};
    SetupContext context = {};
    ErrorStatus status = Clear();
    BOOL restart = FALSE, comStarted = FALSE;
    std::string script;

    ShortcutRun(const char* programFolder, DWORD flags, const std::string& scriptText) : script(scriptText)
    {
        record.window = CreatePlainProgressWindow(owner);
        record.statusTextId = IDC_PLAIN_PROGRESS_TEXT;
        SetDlgItemTextA(record.window, IDC_PLAIN_PROGRESS_TEXT, "before");
        context.flags = flags;
        lstrcpyA(context.installDir, dir.c_str());
        lstrcpyA(context.programFolder, programFolder);
    }
    ~ShortcutRun()
    {
        DestroyWindow(record.window);
        DestroyWindow(owner);
        if (comStarted) CoUninitialize();
    }
    // A fresh install's step with a new log file; its text.
    std::string Fresh()
    {
        HANDLE log = CreateFileA(logPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        CreateShortcuts(&record, &script[0], &context, FALSE, FALSE, log, NULL, &restart, &comStarted, &status);
        CloseHandle(log);
        return ReadFileBytes(logPath);
    }
    // An update's step on the installed log's text (NULL for none); the text afterwards.
    std::string Update(const char* before, BOOL earlier = FALSE)
    {
        char* log = before ? GlobalText(before) : NULL;
        CreateShortcuts(&record, &script[0], &context, TRUE, earlier, NULL, &log, &restart, &comStarted, &status);
        std::string after = log ? log : "<none>";
        if (log) GlobalFree(log);
        return after;
    }
    std::string Step()
    {
        char text[256] = "";
        GetDlgItemTextA(record.window, IDC_PLAIN_PROGRESS_TEXT, text, sizeof text);
        return text;
    }
};

static const char Script[] = "[InstallShortcuts]\r\nbin\\app.exe=My App\r\nreadme.txt=Read Me\r\n"
                             "[Destination]\r\nDesktopShortcut=app.exe\r\n";

TEST(CreateShortcuts, AFreshInstallMakesAndLogsTheLinks)
{
    std::string user = ShellPath(CSIDL_PROGRAMS) + "\\Vandrel Test", desktop = ShellPath(CSIDL_DESKTOPDIRECTORY);
    std::string common = ShellPath(CSIDL_COMMON_PROGRAMS) + "\\Vandrel Test", commonDesktop = ShellPath(CSIDL_COMMON_DESKTOPDIRECTORY);
    ShortcutRun run("Vandrel Test", 2, Script);
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + user + "=0\r\n" + user + "\\My App.lnk=0\r\n" + user + "\\Read Me.lnk=0\r\n" +
              desktop + "\\app.exe.lnk=0\r\n", run.Fresh());
    EXPECT_EQ(0u, run.status.code) << run.status.text;
    EXPECT_TRUE(run.comStarted);
    EXPECT_FALSE(run.restart);
    EXPECT_EQ("Creating desktop shortcut...", run.Step());
    EXPECT_EQ(run.dir + "\\bin\\app.exe|My App", Link(user + "\\My App.lnk"));
    EXPECT_EQ(run.dir + "\\readme.txt|Read Me", Link(user + "\\Read Me.lnk"));
    EXPECT_EQ(run.dir + "\\app.exe|app.exe", Link(desktop + "\\app.exe.lnk")) << "named after its target";
    EXPECT_FALSE(PathExists(common));

    // The folder exists now and is not logged again; without the desktop bit only the folder's step.
    run.context.flags = 0;
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + user + "\\My App.lnk=0\r\n" + user + "\\Read Me.lnk=0\r\n", run.Fresh());
    EXPECT_EQ("Creating shortcuts...", run.Step());
    run.status.code = 5;
    EXPECT_EQ("", run.Fresh()) << "a status that holds a code does nothing";

    // All users: the shared folders; without a program folder only the desktop shortcut.
    run.status = Clear();
    run.script += "DesktopShortcutDescription=Vandrel Desktop\r\n";
    run.context.flags = 1;
    run.context.programFolder[0] = 0;
    SetDlgItemTextA(run.record.window, IDC_PLAIN_PROGRESS_TEXT, "before");
    EXPECT_EQ("", run.Fresh());
    EXPECT_EQ("before", run.Step());
    run.context.flags = 3;
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + commonDesktop + "\\Vandrel Desktop.lnk=0\r\n", run.Fresh());
    lstrcpyA(run.context.programFolder, "Vandrel Test");
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + common + "=0\r\n" + common + "\\My App.lnk=0\r\n" + common +
              "\\Read Me.lnk=0\r\n" + commonDesktop + "\\Vandrel Desktop.lnk=0\r\n", run.Fresh());
    EXPECT_EQ(run.dir + "\\app.exe|Vandrel Desktop", Link(commonDesktop + "\\Vandrel Desktop.lnk"));
    EXPECT_EQ(0u, run.status.code) << run.status.text;
    for (std::string path : { user, common, desktop + "\\app.exe.lnk", commonDesktop + "\\Vandrel Desktop.lnk" }) RemoveTree(path);
}

TEST(CreateShortcuts, AnUpdateSetsFourAndTheEarlierReleasesShortcutsAreReplaced)
{
    std::string user = ShellPath(CSIDL_PROGRAMS) + "\\Vandrel Upd", desktop = ShellPath(CSIDL_DESKTOPDIRECTORY);
    ShortcutRun run("Vandrel Upd", 0, Script);
    // The old log names a desktop shortcut: the flag comes back, but a plain update makes none.
    std::string section = "[UninstallShortcuts]\r\n" + user + "\\MY APP.lnk=0\r\n" + desktop + "\\app.exe.lnk=0\r\n" +
                          "C:\\ProgramData\\Elsewhere\\x.lnk=0\r\n";
    EXPECT_EQ("[UninstallFiles]\r\nC:\\x=0\r\n\r\n[UninstallShortcuts]\r\n" + user + "\\My App.lnk=4\r\n" + desktop +
              "\\app.exe.lnk=0\r\nC:\\ProgramData\\Elsewhere\\x.lnk=0\r\n" + user + "\\Read Me.lnk=4\r\n\r\n",
              run.Update(("[UninstallFiles]\r\nC:\\x=0\r\n\r\n" + section + "\r\n").c_str()));
    EXPECT_EQ(2u, run.context.flags) << "this user still, and the desktop bit from the old log";
    EXPECT_FALSE(PathExists(desktop + "\\app.exe.lnk"));
    EXPECT_EQ(run.dir + "\\bin\\app.exe|My App", Link(user + "\\My App.lnk"));
    EXPECT_EQ("Creating shortcuts...", run.Step());
    run.context.flags = 0;
    EXPECT_EQ("[UninstallFiles]\r\nC:\\x=0\r\n\r\n[UninstallShortcuts]\r\n" + user + "\\My App.lnk=4\r\n" + user +
              "\\Read Me.lnk=4\r\n", run.Update("[UninstallFiles]\r\nC:\\x=0")) << "a log without the section gets it";
    DeleteFileA((user + "\\Read Me.lnk").c_str());
    EXPECT_EQ("<none>", run.Update(NULL));
    EXPECT_TRUE(PathExists(user + "\\Read Me.lnk")) << "without a log text the shortcuts are still made";
    EXPECT_EQ(0u, run.status.code) << run.status.text;
    RemoveTree(user);

    // Over the earlier release: its shortcuts go (one in use at restart), and the new ones are made
    // for all users and with a desktop shortcut, as the old ones were.
    WindowsFamilyNT nt;
    ClearPendingRenames();
    std::string common = ShellPath(CSIDL_COMMON_PROGRAMS), oldGroup = common + "\\Quernell Vandrel";
    std::string newGroup = common + "\\Corvantis Vandrel (64-bit)", shared = ShellPath(CSIDL_COMMON_DESKTOPDIRECTORY);
    CreateDirectoryA(oldGroup.c_str(), NULL);
    for (std::string path : { oldGroup + "\\Old App.lnk", shared + "\\Old App.lnk", shared + "\\Old Help.lnk" })
        WriteFileBytes(path, "old link");
    std::string old = "[UninstallFiles]\r\nC:\\x=0\r\n\r\n[UninstallShortcuts]\r\n" + oldGroup + "=0\r\n" + oldGroup +
                      "\\Old App.lnk=0\r\n" + shared + "\\Old App.lnk=0\r\n" + shared + "\\Old Help.lnk=0\r\n";
    lstrcpyA(run.context.programFolder, "Corvantis Vandrel (64-bit)");
    std::string after;
    {
        Holder holder(shared + "\\Old App.lnk");
        after = run.Update(old.c_str(), TRUE);
    }
    EXPECT_EQ(0u, run.status.code) << run.status.text;
    EXPECT_TRUE(run.restart);
    EXPECT_EQ(old + newGroup + "\\My App.lnk=4\r\n" + newGroup + "\\Read Me.lnk=4\r\n" + shared + "\\app.exe.lnk=4\r\n", after);
    EXPECT_EQ(3u, run.context.flags);
    EXPECT_FALSE(PathExists(oldGroup) || PathExists(shared + "\\Old Help.lnk"));
    EXPECT_GE(FindRename(PendingRenames(), shared + "\\Old App.lnk", ""), 0);
    EXPECT_EQ("Creating desktop shortcut...", run.Step());
    // Old shortcuts of this user's: the new ones go there, and nothing waits for a restart.
    run.restart = FALSE;
    run.context.flags = 0;
    WriteFileBytes(desktop + "\\Old App.lnk", "old link");
    run.Update(("[UninstallShortcuts]\r\n" + desktop + "\\Old App.lnk=0\r\n").c_str(), TRUE);
    EXPECT_FALSE(run.restart || PathExists(desktop + "\\Old App.lnk"));
    EXPECT_EQ(2u, run.context.flags);
    EXPECT_TRUE(PathExists(ShellPath(CSIDL_PROGRAMS) + "\\Corvantis Vandrel (64-bit)\\Read Me.lnk") &&
                PathExists(desktop + "\\app.exe.lnk"));
    for (std::string path : { newGroup, ShellPath(CSIDL_PROGRAMS) + "\\Corvantis Vandrel (64-bit)", shared + "\\Old App.lnk",
                              shared + "\\app.exe.lnk", desktop + "\\app.exe.lnk" })
        RemoveTree(path);
    ClearPendingRenames();
}

TEST(CreateShortcuts, DeniedAccessWarnsAndTheRunGoesOn)
{
    std::string user = ShellPath(CSIDL_PROGRAMS) + "\\Vandrel Denied", desktop = ShellPath(CSIDL_DESKTOPDIRECTORY);
    CreateDirectoryA(user.c_str(), NULL);
    CreateDirectoryA((user + "\\My App.lnk").c_str(), NULL);  // a folder in the way of the link
    ShortcutRun run("Vandrel Denied", 2, Script);
    std::string log;
    BoxAnswerer seen = Answering(IDOK, [&] { log = run.Fresh(); });
    EXPECT_EQ(0u, run.status.code) << run.status.text;
    ASSERT_EQ(1u, seen.texts.size());
    EXPECT_EQ("Warning: Could not create shortcut \"My App\". Verify that the destination folder exists and that you "
              "can access it.", seen.texts[0]);
    EXPECT_EQ(run.record.window, seen.owners[0]);
    EXPECT_EQ("Corvantis Vandrel Setup", seen.captions[0]);
    EXPECT_FALSE(PathExists(user + "\\Read Me.lnk")) << "the shortcuts after the denied one are not attempted";
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + desktop + "\\app.exe.lnk=0\r\n", log);

    // A shortcut folder on the CD-ROM drive R: cannot be made.
    HKEY key;
    RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", 0,
                  KEY_READ | KEY_WRITE, &key);
    char saved[1024];
    DWORD size = sizeof saved, type = REG_SZ;
    if (RegQueryValueExA(key, "Programs", NULL, &type, (BYTE*)saved, &size)) size = 0;
    RegSetValueExA(key, "Programs", 0, REG_SZ, (const BYTE*)"R:\\Programs", 12);
    CreateDirectoryA("R:\\Programs", NULL);
    seen = Answering(IDOK, [&] { log = run.Fresh(); });
    size ? RegSetValueExA(key, "Programs", 0, type, (BYTE*)saved, size) : RegDeleteValueA(key, "Programs");
    RegCloseKey(key);
    ASSERT_EQ(1u, seen.texts.size());
    EXPECT_EQ("Warning: Could not create shortcut folder \"R:\\Programs\\Vandrel Denied\". Verify that the destination "
              "folder exists and that you can access it.", seen.texts[0]);
    EXPECT_EQ(run.record.window, seen.owners[0]);
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + desktop + "\\app.exe.lnk=0\r\n", log);
    EXPECT_EQ(0u, run.status.code) << run.status.text;
    RemoveDirectoryA("R:\\Programs");

    // Saving directly: any other failure stays in the status, a name too long for a path is
    // refused rather than cut, and a folder with its backslash gets no second one.
    IShellLinkA* link = NULL;
    IPersistFile* file = NULL;
    CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link);
    link->QueryInterface(IID_IPersistFile, (void**)&file);
    link->SetPath((run.dir + "\\app.exe").c_str());
    HANDLE logFile = CreateFileA(run.logPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    SaveShortcut((user + "\\missing").c_str(), "My App", file, logFile, NULL, NULL, NULL, &run.status);
    EXPECT_TRUE(Has(run.status.text, user + "\\missing\\My App.lnk")) << run.status.text;
    run.status = Clear();
    SaveShortcut(user.c_str(), std::string(300, 'n').c_str(), file, logFile, NULL, NULL, NULL, &run.status);
    EXPECT_EQ((DWORD)ERROR_FILENAME_EXCED_RANGE, run.status.code);
    run.status = Clear();
    SaveShortcut((user + "\\").c_str(), "Direct", file, logFile, NULL, NULL, NULL, &run.status);
    CloseHandle(logFile);
    EXPECT_EQ(user + "\\Direct.lnk=0\r\n", ReadFileBytes(run.logPath));
    file->Release();
    link->Release();

    char path[MAX_PATH] = "old";
    EXPECT_FALSE(GetSpecialFolderPath(NULL, 0x7E, path, &run.status));
    EXPECT_NE(0u, run.status.code);
    EXPECT_STREQ("", path);
    lstrcpyA(path, "old");
    EXPECT_FALSE(GetSpecialFolderPath(NULL, CSIDL_PROGRAMS, path, &run.status)) << "a status that holds a code";
    EXPECT_STREQ("", path);
    RemoveTree(user);
    DeleteFileA((desktop + "\\app.exe.lnk").c_str());
}
