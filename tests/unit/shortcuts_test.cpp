// The shortcut step on real links: this user's folders, the desktop shortcut, an update's log, the
// earlier release's shortcuts replaced, and the warnings for denied access.
#include <gtest/gtest.h>
#include <shlobj.h>
#include "controls/progress_window.h"
#include "core/setup_context.h"
#include "install/shortcuts.h"
#include "resources/resource.h"
#include "unit/file_helpers.h"

// Where the shell keeps a folder, asked another way than the code under test asks.
static std::string ShellPath(int id)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, id, NULL, SHGFP_TYPE_CURRENT, path);
    return path;
}
// The step of one run, with the plain progress window as the install run shows it.
struct ShortcutRun {
    std::string dir = ScratchFolder("shortcuts"), script = "[InstallShortcuts]\r\nbin\\app.exe=My App\r\n"
                      "readme.txt=Read Me\r\n[Destination]\r\nDesktopShortcut=app.exe\r\n";
    HWND owner = MakeOwnerWindow();
    ProgressRecord record = {};
    SetupContext context = {};
    ErrorStatus status = Clear();
    BOOL restart = FALSE, comStarted = FALSE;
    ShortcutRun(const char* folder, DWORD flags)
    {
        record.window = CreatePlainProgressWindow(owner), record.statusTextId = IDC_PLAIN_PROGRESS_TEXT;
        context.flags = flags;
        lstrcpyA(context.installDir, dir.c_str());
        lstrcpyA(context.programFolder, folder);
    }
    ~ShortcutRun() { DestroyWindow(owner); }
    std::string Fresh()  // a fresh install's step on an empty log text; the lines it added
    {
        LogText log = {};
        CreateShortcuts(&record, &script[0], &context, FALSE, FALSE, &log, NULL, &restart, &comStarted, &status);
        std::string text = log.text ? log.text : "";
        FreeLogText(&log);
        return text;
    }
    std::string Update(const std::string& before, BOOL earlier = FALSE)  // an update's step on the log's text
    {
        char* log = GlobalText(before);
        CreateShortcuts(&record, &script[0], &context, TRUE, earlier, NULL, &log, &restart, &comStarted, &status);
        std::string after = log;
        GlobalFree(log);
        return after;
    }
};

TEST(CreateShortcuts, ThisUserTheDesktopAndUpdates)
{
    std::string user = ShellPath(CSIDL_PROGRAMS) + "\\Vandrel Test", desktop = ShellPath(CSIDL_DESKTOPDIRECTORY);
    ShortcutRun run("Vandrel Test", 2);
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + user + "=0\r\n" + user + "\\My App.lnk=0\r\n" + user + "\\Read Me.lnk=0\r\n" + desktop +
              "\\app.exe.lnk=0\r\n", run.Fresh()) << "the desktop shortcut named after its target";
    char text[64];
    GetDlgItemTextA(run.record.window, IDC_PLAIN_PROGRESS_TEXT, text, sizeof text);
    EXPECT_EQ("Creating desktop shortcut...|1", std::string(text) + "|" + std::to_string(run.comStarted));
    run.context.flags = 0;
    EXPECT_EQ("[UninstallFiles]\r\nC:\\x=0\r\n\r\n[UninstallShortcuts]\r\n" + user + "\\My App.lnk=4\r\n" + user + "\\Read Me.lnk=4\r\n",
              run.Update("[UninstallFiles]\r\nC:\\x=0")) << "a log without the section gets it";
    EXPECT_EQ(0u, run.status.code) << run.status.text;
    RemoveTree(user);
    DeleteFileA((desktop + "\\app.exe.lnk").c_str());
}
// The earlier release's shortcuts go (one in use at restart); the new ones are made where they were,
// and the program folder that the update made is logged too.
TEST(CreateShortcuts, TheEarlierReleasesShortcutsAreReplaced)
{
    WindowsFamily nt(TRUE);
    ClearPendingRenames();
    std::string common = ShellPath(CSIDL_COMMON_PROGRAMS), old = common + "\\Quernell Vandrel", group = "\\Corvantis Vandrel (64-bit)";
    std::string shared = ShellPath(CSIDL_COMMON_DESKTOPDIRECTORY), desktop = ShellPath(CSIDL_DESKTOPDIRECTORY), after;
    CreateDirectoryA(old.c_str(), NULL);
    for (std::string path : { old + "\\Old App.lnk", shared + "\\Old App.lnk", shared + "\\Old Help.lnk", desktop + "\\Old.lnk" }) WriteFileBytes(path, "old");
    std::string log = "[UninstallFiles]\r\nC:\\x=0\r\n\r\n[UninstallShortcuts]\r\n" + old + "=0\r\n" + old + "\\Old App.lnk=0\r\n" + shared +
                      "\\Old App.lnk=0\r\n" + shared + "\\Old Help.lnk=0\r\n";
    ShortcutRun run("Corvantis Vandrel (64-bit)", 0);
    {
        Holder holder(shared + "\\Old App.lnk");
        after = run.Update(log, TRUE);
    }
    EXPECT_EQ(log + common + group + "=4\r\n" + common + group + "\\My App.lnk=4\r\n" + common + group + "\\Read Me.lnk=4\r\n" + shared + "\\app.exe.lnk=4\r\n", after);
    EXPECT_EQ("0 1 3 0 0", std::to_string(run.status.code) + " " + std::to_string(run.restart) + " " + std::to_string(run.context.flags) + " " +
              std::to_string(PathExists(old)) + " " + std::to_string(PathExists(shared + "\\Old Help.lnk")));
    EXPECT_TRUE(HasRename(PendingRenames(), shared + "\\Old App.lnk", ""));
    run.restart = FALSE;
    run.context.flags = 0;
    run.Update("[UninstallShortcuts]\r\n" + desktop + "\\Old.lnk=0\r\n", TRUE);
    EXPECT_EQ("0 2 0 1 1", std::to_string(run.restart) + " " + std::to_string(run.context.flags) + " " + std::to_string(PathExists(desktop + "\\Old.lnk")) +
              " " + std::to_string(PathExists(ShellPath(CSIDL_PROGRAMS) + group + "\\Read Me.lnk")) + " " + std::to_string(PathExists(desktop + "\\app.exe.lnk")));
    for (std::string path : { common + group, ShellPath(CSIDL_PROGRAMS) + group, shared + "\\Old App.lnk", shared + "\\app.exe.lnk", desktop + "\\app.exe.lnk" })
        RemoveTree(path);
    ClearPendingRenames();
}

TEST(CreateShortcuts, DeniedAccessWarnsAndTheRunGoesOn)
{
    std::string user = ShellPath(CSIDL_PROGRAMS) + "\\Vandrel Denied", desktop = ShellPath(CSIDL_DESKTOPDIRECTORY), log;
    CreateDirectoryA(user.c_str(), NULL);
    CreateDirectoryA((user + "\\My App.lnk").c_str(), NULL);  // a folder in the way of the link
    ShortcutRun run("Vandrel Denied", 2);
    // A shortcut folder on the CD-ROM drive R: cannot be made either.
    const char* shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    BoxAnswerer seen = Answering(IDOK, [&] {
        log = run.Fresh();
        RegSetKeyValueA(HKEY_CURRENT_USER, shellFolders, "Programs", REG_SZ, "R:\\Programs", 12);
        CreateDirectoryA("R:\\Programs", NULL);
        log += run.Fresh();
        RegDeleteKeyValueA(HKEY_CURRENT_USER, shellFolders, "Programs");
    });
    std::string desktopLog = "\r\n[UninstallShortcuts]\r\n" + desktop + "\\app.exe.lnk=0\r\n";
    EXPECT_EQ(Text({ "Warning: Could not create shortcut \"My App\". Verify that the destination folder exists and that you can access it.",
                     "Warning: Could not create shortcut folder \"R:\\Programs\\Vandrel Denied\". Verify that the destination folder exists and "
                     "that you can access it.", "Corvantis Vandrel Setup" }), Text(seen.texts) + "|" + seen.captions[0]);
    EXPECT_EQ((std::vector<HWND>{ run.record.window, run.record.window }), seen.owners);
    EXPECT_EQ(desktopLog + desktopLog, log) << "the shortcuts after the denied one are not attempted; the desktop one is";
    EXPECT_FALSE(PathExists(user + "\\Read Me.lnk") || run.status.code);
    RemoveTree(user);
    RemoveDirectoryA("R:\\Programs");
    DeleteFileA((desktop + "\\app.exe.lnk").c_str());
}
// A name too long for its folder is cut so that the path fits; a folder that leaves no room for a
// name is refused with the folder named; any other failure keeps the system's text alone.
TEST(SaveShortcut, NamesCutToFitAndFailures)
{
    CoInitialize(NULL);
    IShellLinkA* link = NULL;
    IPersistFile* file = NULL;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link)));
    link->QueryInterface(IID_IPersistFile, (void**)&file);
    link->SetPath("C:\\windows\\notepad.exe");
    std::string dir = ScratchFolder("save"), deep = dir + "\\" + std::string(MAX_PATH - 6 - dir.size(), 'd');
    std::string cut = dir + "\\" + std::string(MAX_PATH - 6 - dir.size(), 'n') + ".lnk";
    LogText log = {};
    ErrorStatus fits = Clear(), noRoom = Clear(), missing = Clear();
    SaveShortcut(dir.c_str(), std::string(300, 'n').c_str(), file, &log, NULL, NULL, NULL, &fits);
    SaveShortcut(deep.c_str(), "x", file, &log, NULL, NULL, NULL, &noRoom);
    SaveShortcut((dir + "\\missing").c_str(), "My App", file, &log, NULL, NULL, NULL, &missing);
    EXPECT_EQ(cut + "=0\r\n|0|1", std::string(log.text) + "|" + std::to_string(fits.code) + "|" + std::to_string(PathExists(cut)));
    EXPECT_TRUE(noRoom.code == ERROR_FILENAME_EXCED_RANGE && Has(noRoom.text, deep)) << noRoom.text;
    EXPECT_TRUE(missing.code && !Has(missing.text, "My App")) << missing.text;
    FreeLogText(&log);
    file->Release(), link->Release();
    CoUninitialize();
    RemoveTree(dir);
}
