// The shortcut step on real shell links: program-folder and desktop shortcuts for this user
// and for all users, their log lines, an update's "4" values, the earlier release's shortcuts
// replaced, and the warnings for denied access.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <string>
#include <vector>
#include "controls/progress_window.h"
#include "core/error_status.h"
#include "core/globals.h"
#include "install/shortcuts.h"
#include "resources/resource.h"
#include "unit/file_helpers.h"
#include "unit/pending_renames.h"
#include "core/setup_context.h"

static ErrorStatus Clear()
{
    ErrorStatus status;
    status.code = 0;
    status.text[0] = 0;
    return status;
}

// The folder as the shell names it, found another way than the code under test does.
static std::string ShellFolder(int id)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(NULL, id, NULL, SHGFP_TYPE_CURRENT, path);
    return path;
}

struct LinkInfo {
    bool loaded;
    std::string target;
    std::string description;
};

static LinkInfo ReadLink(const std::string& path)
{
    LinkInfo info = { false, "", "" };
    HRESULT com = CoInitialize(NULL);
    IShellLinkA* link = NULL;
    IPersistFile* file = NULL;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[MAX_PATH] = "";
            info.loaded = true;
            if (SUCCEEDED(link->GetPath(text, sizeof text, NULL, SLGP_RAWPATH))) info.target = text;
            text[0] = 0;
            if (SUCCEEDED(link->GetDescription(text, sizeof text))) info.description = text;
        }
    }
    if (file) file->Release();
    if (link) link->Release();
    if (SUCCEEDED(com)) CoUninitialize();
    return info;
}

static SetupContext MakeContext(const std::string& installDir, const char* programFolder, DWORD flags)
{
    SetupContext context;
    ZeroMemory(&context, sizeof context);
    context.flags = flags;
    lstrcpynA(context.installDir, installDir.c_str(), sizeof context.installDir);
    lstrcpynA(context.programFolder, programFolder, sizeof context.programFolder);
    return context;
}

// An installation folder with the files that the shortcuts point to.
static std::string MakeInstallation(const char* name)
{
    std::string installDir = ScratchFolder(name);
    CreateDirectoryA((installDir + "\\bin").c_str(), NULL);
    WriteFileBytes(installDir + "\\bin\\app.exe", "program");
    WriteFileBytes(installDir + "\\app.exe", "program");
    WriteFileBytes(installDir + "\\readme.txt", "text");
    return installDir;
}

// The plain progress window, as the install run would show it.
struct ProgressFixture {
    HWND owner;
    ProgressRecord record;
    ProgressFixture()
    {
        owner = MakeOwnerWindow();
        ZeroMemory(&record, sizeof record);
        record.window = CreatePlainProgressWindow(owner);
        record.statusTextId = IDC_PLAIN_PROGRESS_TEXT;
        record.progressBarId = IDC_PLAIN_PROGRESS_BAR;
        SetDlgItemTextA(record.window, IDC_PLAIN_PROGRESS_TEXT, "before");
    }
    ~ProgressFixture()
    {
        DestroyWindow(record.window);
        DestroyWindow(owner);
    }
    std::string Text()
    {
        char text[256] = "";
        GetDlgItemTextA(record.window, IDC_PLAIN_PROGRESS_TEXT, text, sizeof text);
        return text;
    }
};

// Runs the step in a fresh install with an empty log text; gives back the log's text.
static std::string RunFresh(ProgressFixture* progress, const char* script, SetupContext* context, BOOL* comStarted,
                            ErrorStatus* status)
{
    LogText log = {};
    std::vector<char> text(script, script + strlen(script) + 1);
    BOOL restart = FALSE;
    CreateShortcuts(&progress->record, text.data(), context, FALSE, FALSE, &log, NULL, &restart, comStarted, status);
    EXPECT_FALSE(restart);
    std::string written = log.text ? log.text : "";
    FreeLogText(&log);
    return written;
}

// A script text that the code may move (the update's log): one GlobalAlloc block.
static char* GlobalText(const std::string& text)
{
    char* block = (char*)GlobalAlloc(GMEM_FIXED, text.size() + 1);
    memcpy(block, text.c_str(), text.size() + 1);
    return block;
}

TEST(GetSpecialFolderPath, TheFourFoldersAndABadId)
{
    const int ids[] = { CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, CSIDL_DESKTOP, CSIDL_COMMON_DESKTOPDIRECTORY };
    for (int id : ids) {
        ErrorStatus status = Clear();
        char path[MAX_PATH] = "old";
        EXPECT_TRUE(GetSpecialFolderPath(NULL, id, path, &status)) << id;
        EXPECT_EQ(0u, status.code);
        int expectedId = id == CSIDL_DESKTOP ? CSIDL_DESKTOPDIRECTORY : id;
        EXPECT_EQ(ShellFolder(expectedId), path) << id;
    }
    EXPECT_NE(ShellFolder(CSIDL_PROGRAMS), ShellFolder(CSIDL_COMMON_PROGRAMS));
    EXPECT_NE(ShellFolder(CSIDL_DESKTOPDIRECTORY), ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY));

    ErrorStatus status = Clear();
    char path[MAX_PATH] = "old";
    EXPECT_FALSE(GetSpecialFolderPath(NULL, 0x7E, path, &status));
    EXPECT_NE(0u, status.code);
    EXPECT_STREQ("", path);

    // A status that holds a code looks nothing up.
    status.code = 1223;
    lstrcpyA(path, "old");
    EXPECT_FALSE(GetSpecialFolderPath(NULL, CSIDL_PROGRAMS, path, &status));
    EXPECT_STREQ("", path);
    EXPECT_EQ(1223u, status.code);
}

TEST(CreateShortcuts, ThisUserProgramFolderAndDesktopAreMadeAndLogged)
{
    std::string installDir = MakeInstallation("sc-user");
    std::string programs = ShellFolder(CSIDL_PROGRAMS), desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    std::string group = programs + "\\Vandrel Test";
    RemoveTree(group);
    DeleteFileA((desktop + "\\app.exe.lnk").c_str());
    const char* script =
        "[InstallShortcuts]\r\nbin\\app.exe=My App\r\nreadme.txt=Read Me\r\n"
        "[Destination]\r\nDesktopShortcut=app.exe\r\n";

    ProgressFixture progress;
    SetupContext context = MakeContext(installDir, "Vandrel Test", 2);
    ErrorStatus status = Clear();
    BOOL comStarted = FALSE;
    std::string log = RunFresh(&progress, script, &context, &comStarted, &status);
    ASSERT_EQ(0u, status.code) << status.text;
    EXPECT_TRUE(comStarted);
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + group + "=0\r\n" + group + "\\My App.lnk=0\r\n" + group +
                  "\\Read Me.lnk=0\r\n" + desktop + "\\app.exe.lnk=0\r\n",
              log);
    EXPECT_EQ("Creating desktop shortcut...", progress.Text());
    EXPECT_EQ(2u, context.flags);

    LinkInfo app = ReadLink(group + "\\My App.lnk");
    ASSERT_TRUE(app.loaded);
    EXPECT_EQ(installDir + "\\bin\\app.exe", app.target);
    EXPECT_EQ("My App", app.description);
    LinkInfo readme = ReadLink(group + "\\Read Me.lnk");
    EXPECT_EQ(installDir + "\\readme.txt", readme.target);
    EXPECT_EQ("Read Me", readme.description);
    // Without "DesktopShortcutDescription" the desktop shortcut is named after its target.
    LinkInfo onDesktop = ReadLink(desktop + "\\app.exe.lnk");
    ASSERT_TRUE(onDesktop.loaded);
    EXPECT_EQ(installDir + "\\app.exe", onDesktop.target);
    EXPECT_EQ("app.exe", onDesktop.description);
    EXPECT_FALSE(PathExists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Vandrel Test"));

    // Again into the folder that now exists: the folder is not logged a second time, and
    // without the desktop flag only the program-folder step runs.
    context.flags = 0;
    SetDlgItemTextA(progress.record.window, IDC_PLAIN_PROGRESS_TEXT, "before");
    log = RunFresh(&progress, script, &context, &comStarted, &status);
    EXPECT_EQ(0u, status.code) << status.text;
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + group + "\\My App.lnk=0\r\n" + group + "\\Read Me.lnk=0\r\n", log);
    EXPECT_EQ("Creating shortcuts...", progress.Text());

    // A status that already holds a code does nothing at all.
    status.code = 5;
    log = RunFresh(&progress, script, &context, &comStarted, &status);
    EXPECT_EQ("", log);
    EXPECT_EQ(5u, status.code);

    CoUninitialize();
    RemoveTree(group);
    DeleteFileA((desktop + "\\app.exe.lnk").c_str());
    RemoveTree(installDir);
}

TEST(CreateShortcuts, AllUsersAndAnEmptyProgramFolder)
{
    std::string installDir = MakeInstallation("sc-all");
    std::string programs = ShellFolder(CSIDL_COMMON_PROGRAMS), desktop = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    std::string group = programs + "\\Vandrel All";
    RemoveTree(group);
    const char* script =
        "[InstallShortcuts]\r\nbin\\app.exe=My App\r\n"
        "[Destination]\r\nDesktopShortcut=bin\\app.exe\r\nDesktopShortcutDescription=Vandrel Desktop\r\n";
    ProgressFixture progress;
    BOOL comStarted = FALSE;

    // No program folder and no desktop shortcut: nothing at all, not even the header.
    SetupContext context = MakeContext(installDir, "", 1);
    ErrorStatus status = Clear();
    std::string log = RunFresh(&progress, script, &context, &comStarted, &status);
    EXPECT_EQ(0u, status.code) << status.text;
    EXPECT_EQ("", log);
    EXPECT_EQ("before", progress.Text());
    EXPECT_FALSE(comStarted);

    // No program folder, but the desktop shortcut: the header comes just before its line.
    context.flags = 3;
    log = RunFresh(&progress, script, &context, &comStarted, &status);
    ASSERT_EQ(0u, status.code) << status.text;
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + desktop + "\\Vandrel Desktop.lnk=0\r\n", log);
    LinkInfo onDesktop = ReadLink(desktop + "\\Vandrel Desktop.lnk");
    ASSERT_TRUE(onDesktop.loaded);
    EXPECT_EQ(installDir + "\\bin\\app.exe", onDesktop.target);
    EXPECT_EQ("Vandrel Desktop", onDesktop.description);
    EXPECT_FALSE(PathExists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Vandrel Desktop.lnk"));

    // Both, for all users.
    lstrcpyA(context.programFolder, "Vandrel All");
    log = RunFresh(&progress, script, &context, &comStarted, &status);
    ASSERT_EQ(0u, status.code) << status.text;
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + group + "=0\r\n" + group + "\\My App.lnk=0\r\n" + desktop +
                  "\\Vandrel Desktop.lnk=0\r\n",
              log);
    EXPECT_EQ(installDir + "\\bin\\app.exe", ReadLink(group + "\\My App.lnk").target);
    EXPECT_FALSE(PathExists(ShellFolder(CSIDL_PROGRAMS) + "\\Vandrel All"));

    if (comStarted) CoUninitialize();
    RemoveTree(group);
    DeleteFileA((desktop + "\\Vandrel Desktop.lnk").c_str());
    RemoveTree(installDir);
}

TEST(CreateShortcuts, UpdateSetsFourAndMakesNoDesktopShortcut)
{
    std::string installDir = MakeInstallation("sc-update");
    std::string programs = ShellFolder(CSIDL_PROGRAMS), desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    std::string group = programs + "\\Vandrel Upd";
    RemoveTree(group);
    DeleteFileA((desktop + "\\app.exe.lnk").c_str());
    const char* script =
        "[InstallShortcuts]\r\nbin\\app.exe=My App\r\nreadme.txt=Read Me\r\n"
        "[Destination]\r\nDesktopShortcut=app.exe\r\n";
    std::vector<char> scriptText(script, script + strlen(script) + 1);
    ProgressFixture progress;
    BOOL comStarted = FALSE;

    // The old log names a desktop shortcut and a shortcut under ProgramData; a plain update
    // takes the desktop flag from it but makes no desktop shortcut and keeps this user.
    std::string before = "[UninstallFiles]\r\n" + installDir + "\\setup.ini=0\r\n\r\n[UninstallShortcuts]\r\n" +
                         group + "\\MY APP.lnk=0\r\n" + desktop + "\\app.exe.lnk=0\r\n" +
                         "C:\\ProgramData\\Elsewhere\\x.lnk=0\r\n\r\n";
    char* log = GlobalText(before);
    SetupContext context = MakeContext(installDir, "Vandrel Upd", 0);
    ErrorStatus status = Clear();
    BOOL restart = FALSE;
    CreateShortcuts(&progress.record, scriptText.data(), &context, TRUE, FALSE, NULL, &log, &restart, &comStarted,
                    &status);
    EXPECT_FALSE(restart);
    ASSERT_EQ(0u, status.code) << status.text;
    // The program folder that the update made is logged too.
    EXPECT_EQ("[UninstallFiles]\r\n" + installDir + "\\setup.ini=0\r\n\r\n[UninstallShortcuts]\r\n" + group +
                  "\\My App.lnk=4\r\n" + desktop + "\\app.exe.lnk=0\r\nC:\\ProgramData\\Elsewhere\\x.lnk=0\r\n" +
                  group + "=4\r\n" + group + "\\Read Me.lnk=4\r\n\r\n",
              std::string(log));
    EXPECT_EQ(2u, context.flags);
    EXPECT_FALSE(PathExists(desktop + "\\app.exe.lnk"));
    EXPECT_EQ(installDir + "\\bin\\app.exe", ReadLink(group + "\\My App.lnk").target);
    EXPECT_EQ("Creating shortcuts...", progress.Text());
    GlobalFree(log);

    // A log that never had shortcuts gets the section; the last line had no line break.
    log = GlobalText("[UninstallFiles]\r\nC:\\x=0");
    context.flags = 0;
    CreateShortcuts(&progress.record, scriptText.data(), &context, TRUE, FALSE, NULL, &log, &restart, &comStarted,
                    &status);
    ASSERT_EQ(0u, status.code) << status.text;
    EXPECT_EQ("[UninstallFiles]\r\nC:\\x=0\r\n\r\n[UninstallShortcuts]\r\n" + group + "\\My App.lnk=4\r\n" + group +
                  "\\Read Me.lnk=4\r\n",
              std::string(log));
    EXPECT_EQ(0u, context.flags);
    GlobalFree(log);

    // Without a log text the shortcuts are still made.
    DeleteFileA((group + "\\Read Me.lnk").c_str());
    log = NULL;
    CreateShortcuts(&progress.record, scriptText.data(), &context, TRUE, FALSE, NULL, &log, &restart, &comStarted,
                    &status);
    EXPECT_EQ(0u, status.code) << status.text;
    EXPECT_TRUE(log == NULL);
    EXPECT_TRUE(ReadLink(group + "\\Read Me.lnk").loaded);

    if (comStarted) CoUninitialize();
    RemoveTree(group);
    RemoveTree(installDir);
}

TEST(CreateShortcuts, EarlierReleaseShortcutsAreReplaced)
{
    WindowsFamilyNT nt;
    ClearPendingRenames();
    std::string installDir = MakeInstallation("sc-earlier");
    std::string programs = ShellFolder(CSIDL_COMMON_PROGRAMS), desktop = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    std::string oldGroup = programs + "\\Quernell Vandrel", newGroup = programs + "\\Corvantis Vandrel (64-bit)";
    RemoveTree(oldGroup);
    RemoveTree(newGroup);
    CreateDirectoryA(oldGroup.c_str(), NULL);
    ASSERT_TRUE(WriteFileBytes(oldGroup + "\\Old App.lnk", "old link"));
    ASSERT_TRUE(WriteFileBytes(desktop + "\\Old App.lnk", "old link"));
    ASSERT_TRUE(WriteFileBytes(desktop + "\\Old Help.lnk", "old link"));
    // The old desktop shortcut is open elsewhere: it goes at the next restart.
    HANDLE holder = CreateFileA((desktop + "\\Old App.lnk").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);

    std::string before = "[UninstallFiles]\r\nC:\\x=0\r\n\r\n[UninstallShortcuts]\r\n" + oldGroup + "=0\r\n" + oldGroup +
                         "\\Old App.lnk=0\r\n" + desktop + "\\Old App.lnk=0\r\n" + desktop + "\\Old Help.lnk=0\r\n";
    char* log = GlobalText(before);
    const char* script =
        "[InstallShortcuts]\r\nbin\\app.exe=Vandrel\r\n"
        "[Destination]\r\nDesktopShortcut=bin\\app.exe\r\nDesktopShortcutDescription=Vandrel Desktop\r\n";
    std::vector<char> scriptText(script, script + strlen(script) + 1);
    ProgressFixture progress;
    SetupContext context = MakeContext(installDir, "Corvantis Vandrel (64-bit)", 0);
    ErrorStatus status = Clear();
    BOOL comStarted = FALSE;
    BOOL restart = FALSE;
    CreateShortcuts(&progress.record, scriptText.data(), &context, TRUE, TRUE, NULL, &log, &restart, &comStarted,
                    &status);
    EXPECT_TRUE(restart);
    CloseHandle(holder);
    ASSERT_EQ(0u, status.code) << status.text;

    // The old ones are gone (or going), the new ones are made for all users as the old ones
    // were, and the desktop shortcut returns because the old log had one.
    EXPECT_FALSE(PathExists(oldGroup));
    EXPECT_FALSE(PathExists(desktop + "\\Old Help.lnk"));
    EXPECT_GE(FindRename(PendingRenames(), desktop + "\\Old App.lnk", ""), 0);
    EXPECT_EQ(3u, context.flags);
    EXPECT_EQ(before + newGroup + "=4\r\n" + newGroup + "\\Vandrel.lnk=4\r\n" + desktop + "\\Vandrel Desktop.lnk=4\r\n",
              std::string(log));
    EXPECT_EQ(installDir + "\\bin\\app.exe", ReadLink(newGroup + "\\Vandrel.lnk").target);
    EXPECT_EQ("Vandrel Desktop", ReadLink(desktop + "\\Vandrel Desktop.lnk").description);
    EXPECT_EQ("Creating desktop shortcut...", progress.Text());

    // Old shortcuts in this user's folders keep the new ones there, and nothing is left for
    // restart.
    GlobalFree(log);
    std::string userDesktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    ASSERT_TRUE(WriteFileBytes(userDesktop + "\\Old App.lnk", "old link"));
    log = GlobalText("[UninstallShortcuts]\r\n" + userDesktop + "\\Old App.lnk=0\r\n");
    context.flags = 0;
    restart = FALSE;
    CreateShortcuts(&progress.record, scriptText.data(), &context, TRUE, TRUE, NULL, &log, &restart, &comStarted,
                    &status);
    EXPECT_FALSE(restart);
    ASSERT_EQ(0u, status.code) << status.text;
    EXPECT_FALSE(PathExists(userDesktop + "\\Old App.lnk"));
    EXPECT_EQ(2u, context.flags);
    EXPECT_TRUE(ReadLink(ShellFolder(CSIDL_PROGRAMS) + "\\Corvantis Vandrel (64-bit)\\Vandrel.lnk").loaded);
    EXPECT_TRUE(ReadLink(userDesktop + "\\Vandrel Desktop.lnk").loaded);
    GlobalFree(log);

    if (comStarted) CoUninitialize();
    ClearPendingRenames();
    RemoveTree(newGroup);
    RemoveTree(ShellFolder(CSIDL_PROGRAMS) + "\\Corvantis Vandrel (64-bit)");
    DeleteFileA((desktop + "\\Old App.lnk").c_str());
    DeleteFileA((desktop + "\\Vandrel Desktop.lnk").c_str());
    DeleteFileA((userDesktop + "\\Vandrel Desktop.lnk").c_str());
    RemoveTree(installDir);
}

TEST(CreateShortcuts, DeniedShortcutWarnsAndStopsTheProgramFolder)
{
    std::string installDir = MakeInstallation("sc-denied");
    std::string programs = ShellFolder(CSIDL_PROGRAMS), desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    std::string group = programs + "\\Vandrel Denied";
    RemoveTree(group);
    CreateDirectoryA(group.c_str(), NULL);
    // A folder in the way of the shortcut file: the save is denied.
    CreateDirectoryA((group + "\\My App.lnk").c_str(), NULL);
    const char* script =
        "[InstallShortcuts]\r\nbin\\app.exe=My App\r\nreadme.txt=Read Me\r\n"
        "[Destination]\r\nDesktopShortcut=app.exe\r\nDesktopShortcutDescription=Vandrel Denied\r\n";

    ProgressFixture progress;
    SetupContext context = MakeContext(installDir, "Vandrel Denied", 2);
    ErrorStatus status = Clear();
    BOOL comStarted = FALSE;
    BoxAnswerer answerer;
    StartAnswering(&answerer, IDOK);
    std::string log = RunFresh(&progress, script, &context, &comStarted, &status);
    StopAnswering(&answerer);
    EXPECT_EQ(0u, status.code) << status.text;
    ASSERT_EQ(1u, answerer.texts.size());
    EXPECT_EQ("Warning: Could not create shortcut \"My App\". Verify that the destination folder exists and that you "
              "can access it.",
              answerer.texts[0]);
    EXPECT_EQ("Corvantis Vandrel Setup", answerer.captions[0]);
    EXPECT_EQ(progress.record.window, answerer.owners[0]);
    // The shortcuts after the denied one are not attempted; the desktop shortcut still is.
    EXPECT_FALSE(PathExists(group + "\\Read Me.lnk"));
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + desktop + "\\Vandrel Denied.lnk=0\r\n", log);
    EXPECT_TRUE(ReadLink(desktop + "\\Vandrel Denied.lnk").loaded);

    // Saving directly: a given stop flag is set, an access failure never stays in the status,
    // and the log gets no line.
    IShellLinkA* link = NULL;
    IPersistFile* file = NULL;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link)));
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file)));
    link->SetPath((installDir + "\\app.exe").c_str());
    BOOL stop = FALSE;
    LogText logText = {};
    LogText* logFile = &logText;
    StartAnswering(&answerer, IDOK);
    SaveShortcut(group.c_str(), "My App", file, logFile, NULL, NULL, &stop, &status);
    StopAnswering(&answerer);
    EXPECT_TRUE(stop);
    EXPECT_EQ(0u, status.code);
    EXPECT_EQ(1u, answerer.texts.size());
    // Any other failure stays, as the system's text of the HRESULT alone: a folder that does not exist.
    SaveShortcut((group + "\\missing").c_str(), "My App", file, logFile, NULL, NULL, NULL, &status);
    EXPECT_NE(0u, status.code);
    EXPECT_EQ(std::string::npos, std::string(status.text).find("My App.lnk")) << status.text;
    // A name too long for a path is cut so that the whole path fits; a folder that leaves no
    // room for a name is refused with the folder named.
    status = Clear();
    SaveShortcut(group.c_str(), std::string(300, 'n').c_str(), file, logFile, NULL, NULL, NULL, &status);
    EXPECT_EQ(0u, status.code) << status.text;
    std::string cut = group + "\\" + std::string(MAX_PATH - 1 - group.size() - 5, 'n') + ".lnk";
    EXPECT_EQ(MAX_PATH - 1, cut.size());
    EXPECT_TRUE(ReadLink(cut).loaded);
    DeleteFileA(cut.c_str());
    std::string deep = group + "\\" + std::string(MAX_PATH - 6 - group.size(), 'd');
    SaveShortcut(deep.c_str(), "x", file, logFile, NULL, NULL, NULL, &status);
    EXPECT_EQ((DWORD)ERROR_FILENAME_EXCED_RANGE, status.code);
    EXPECT_NE(std::string::npos, std::string(status.text).find(deep)) << status.text;
    // A folder that holds a trailing backslash already gets no second one.
    status = Clear();
    SaveShortcut((group + "\\").c_str(), "Direct", file, logFile, NULL, NULL, NULL, &status);
    EXPECT_EQ(0u, status.code) << status.text;
    EXPECT_EQ(cut + "=0\r\n" + group + "\\Direct.lnk=0\r\n", std::string(logText.text));
    FreeLogText(&logText);
    file->Release();
    link->Release();

    if (comStarted) CoUninitialize();
    RemoveTree(group);
    DeleteFileA((desktop + "\\Vandrel Denied.lnk").c_str());
    RemoveTree(installDir);
}

// Points this user's Start-menu programs folder somewhere else for one test.
struct ProgramsFolderAt {
    HKEY key;
    DWORD type, size;
    BYTE saved[1024];
    explicit ProgramsFolderAt(const char* path)
    {
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", 0,
                      KEY_READ | KEY_WRITE, &key);
        size = sizeof saved;
        if (RegQueryValueExA(key, "Programs", NULL, &type, saved, &size)) size = 0;
        RegSetValueExA(key, "Programs", 0, REG_SZ, (const BYTE*)path, lstrlenA(path) + 1);
    }
    ~ProgramsFolderAt()
    {
        if (size)
            RegSetValueExA(key, "Programs", 0, type, saved, size);
        else
            RegDeleteValueA(key, "Programs");
        RegCloseKey(key);
    }
};

TEST(CreateShortcuts, DeniedShortcutFolderWarnsAndTheRunGoesOn)
{
    // Drive R: of the test prefix is a CD-ROM drive, where no folder may be created.
    std::string installDir = MakeInstallation("sc-folder-denied");
    CreateDirectoryA("R:\\Programs", NULL);
    std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    const char* script =
        "[InstallShortcuts]\r\nbin\\app.exe=My App\r\n"
        "[Destination]\r\nDesktopShortcut=app.exe\r\nDesktopShortcutDescription=Vandrel Folder Denied\r\n";
    ProgressFixture progress;
    SetupContext context = MakeContext(installDir, "Vandrel", 2);
    ErrorStatus status = Clear();
    BOOL comStarted = FALSE;
    BoxAnswerer answerer;
    std::string log;
    {
        ProgramsFolderAt programs("R:\\Programs");
        ASSERT_EQ("R:\\Programs", ShellFolder(CSIDL_PROGRAMS));
        StartAnswering(&answerer, IDOK);
        log = RunFresh(&progress, script, &context, &comStarted, &status);
        StopAnswering(&answerer);
    }
    EXPECT_EQ(0u, status.code) << status.text;
    ASSERT_EQ(1u, answerer.texts.size());
    EXPECT_EQ("Warning: Could not create shortcut folder \"R:\\Programs\\Vandrel\". Verify that the destination folder "
              "exists and that you can access it.",
              answerer.texts[0]);
    EXPECT_EQ("Corvantis Vandrel Setup", answerer.captions[0]);
    EXPECT_EQ(progress.record.window, answerer.owners[0]);
    EXPECT_FALSE(PathExists("R:\\Programs\\Vandrel"));
    EXPECT_EQ("\r\n[UninstallShortcuts]\r\n" + desktop + "\\Vandrel Folder Denied.lnk=0\r\n", log);

    if (comStarted) CoUninitialize();
    DeleteFileA((desktop + "\\Vandrel Folder Denied.lnk").c_str());
    RemoveDirectoryA("R:\\Programs");
    RemoveTree(installDir);
}
