// Component registration with the stand-in product program and library, and the files that an
// update deletes because a new file replaces them.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "core/error_status.h"
#include "core/script.h"
#include "install/install_log.h"
#include "install/registration.h"
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

static std::string WindowsPathOf(const char* variable)
{
    const char* path = getenv(variable);
    std::string result = path ? path : "";
    if (!result.empty() && result[0] == '/') {
        result = "Z:" + result;
        for (char& c : result)
            if (c == '/') c = '\\';
    }
    return result;
}

static const char ProgramWarning[] =
    "Warning: Could not register program \"%s\". Verify that you have write access to the registry.";
static const char LibraryWarning[] =
    "Warning: Could not register DLL \"%s\". Verify that you have write access to the registry. (Error: %s)";

static std::string Filled(const char* format, const std::string& path, const char* code = "")
{
    char text[1024];
    snprintf(text, sizeof text, format, path.c_str(), code);
    return text;
}

TEST(RegisterComponent, ProgramsAreRunWithRegServerAndWarnOnFailure)
{
    std::string folder = ScratchFolder("register-exe");
    std::string server = folder + "\\srv.EXE";
    ASSERT_TRUE(CopyFileA(WindowsPathOf("PRODUCT_PROGRAM").c_str(), server.c_str(), FALSE)) << "PRODUCT_PROGRAM";
    ASSERT_TRUE(WriteFileBytes(folder + "\\broken.exe", "not a program"));
    HWND owner = MakeOwnerWindow();
    BoxAnswerer answerer;

    StartAnswering(&answerer, IDOK);
    RegisterComponent(owner, server.c_str());
    StopAnswering(&answerer);
    EXPECT_EQ("\"" + server + "\" /RegServer\n", ReadFileBytes(folder + "\\calls.log"));
    EXPECT_TRUE(answerer.texts.empty());

    // A server that fails (exit code 1), and one that cannot be started at all, warn; the
    // warning waits for the server to end.
    ASSERT_TRUE(WriteFileBytes(server + ".exitcode", "1"));
    ASSERT_TRUE(WriteFileBytes(server + ".sleep", "300"));
    StartAnswering(&answerer, IDOK);
    RegisterComponent(owner, server.c_str());
    RegisterComponent(owner, (folder + "\\broken.exe").c_str());
    StopAnswering(&answerer);
    ASSERT_EQ(2u, answerer.texts.size());
    EXPECT_EQ(Filled(ProgramWarning, server), answerer.texts[0]);
    EXPECT_EQ(Filled(ProgramWarning, folder + "\\broken.exe"), answerer.texts[1]);
    EXPECT_EQ("Corvantis Vandrel Setup", answerer.captions[0]);
    EXPECT_EQ(owner, answerer.owners[0]);
    EXPECT_EQ("\"" + server + "\" /RegServer\n\"" + server + "\" /RegServer\n", ReadFileBytes(folder + "\\calls.log"));

    DestroyWindow(owner);
    RemoveTree(folder);
}

TEST(RegisterComponent, LibrariesAreCalledAndANegativeResultWarns)
{
    std::string folder = ScratchFolder("register-dll");
    CreateDirectoryA((folder + "\\lib").c_str(), NULL);
    std::string library = folder + "\\lib\\tool.dll";
    ASSERT_TRUE(CopyFileA(WindowsPathOf("PRODUCT_LIBRARY").c_str(), library.c_str(), FALSE)) << "PRODUCT_LIBRARY";
    ASSERT_TRUE(WriteFileBytes(folder + "\\text.dll", "not a library"));
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    HWND owner = MakeOwnerWindow();
    BoxAnswerer answerer;

    // Success and S_FALSE are quiet; so are a file that does not load and a library without
    // the entry point. An ".exe" check that looked at less than the end would run these.
    StartAnswering(&answerer, IDOK);
    RegisterComponent(owner, library.c_str());
    ASSERT_TRUE(WriteFileBytes(library + ".hresult", "1"));
    RegisterComponent(owner, library.c_str());
    RegisterComponent(owner, (folder + "\\text.dll").c_str());
    RegisterComponent(owner, (std::string(system) + "\\kernel32.dll").c_str());
    StopAnswering(&answerer);
    EXPECT_TRUE(answerer.texts.empty()) << answerer.texts[0];
    std::string call = "DllRegisterServer " + library + "\n";
    EXPECT_EQ(call + call, ReadFileBytes(folder + "\\lib\\calls.log"));

    ASSERT_TRUE(WriteFileBytes(library + ".hresult", "80004005"));
    StartAnswering(&answerer, IDOK);
    RegisterComponent(owner, library.c_str());
    StopAnswering(&answerer);
    ASSERT_EQ(1u, answerer.texts.size());
    EXPECT_EQ(Filled(LibraryWarning, library, "80004005"), answerer.texts[0]);
    EXPECT_EQ("Corvantis Vandrel Setup", answerer.captions[0]);
    EXPECT_EQ(owner, answerer.owners[0]);
    EXPECT_EQ(call + call + call, ReadFileBytes(folder + "\\lib\\calls.log"));
    // The library was let go again: it can be deleted.
    EXPECT_TRUE(DeleteFileA(library.c_str()));

    DestroyWindow(owner);
    RemoveTree(folder);
}

static std::vector<std::pair<std::string, DWORD>> Entries(const PendingChange* list)
{
    std::vector<std::pair<std::string, DWORD>> entries;
    for (; list; list = list->next) entries.push_back({ list->path, list->value });
    return entries;
}

static SetupContext ContextFor(const std::string& installDir)
{
    SetupContext context;
    ZeroMemory(&context, sizeof context);
    lstrcpynA(context.installDir, installDir.c_str(), sizeof context.installDir);
    return context;
}

TEST(RemoveOnInstall, ReplacedFilesAreDeletedAndLeaveTheLog)
{
    std::string installDir = ScratchFolder("remove-on-install");
    CreateDirectoryA((installDir + "\\sub").c_str(), NULL);
    ASSERT_TRUE(WriteFileBytes(installDir + "\\old.dll", "old"));
    SetFileAttributesA((installDir + "\\old.dll").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(WriteFileBytes(installDir + "\\sub\\old2.dll", "old"));
    ASSERT_TRUE(WriteFileBytes(installDir + "\\keep.dll", "keep"));
    char script[] =
        "[RemoveOnInstall]\r\nnew.dll=old.dll|sub\\old2.dll|gone.dll||\r\nother.dll=keep.dll\r\n"
        "[InstallFiles]\r\nnew.dll=0\r\n";
    SetupContext context = ContextFor(installDir);
    PendingChange* list = NULL;
    ErrorStatus status = Clear();
    NotePendingChange(&list, (installDir + "\\new.dll").c_str(), 0, &status);

    // A key without an entry, and a status that already holds a code, change nothing.
    EXPECT_FALSE(RemoveOnInstall(script, &context, "readme.txt", &list, &status));
    status.code = 5;
    EXPECT_FALSE(RemoveOnInstall(script, &context, "new.dll", &list, &status));
    EXPECT_TRUE(PathExists(installDir + "\\old.dll"));
    status = Clear();

    EXPECT_FALSE(RemoveOnInstall(script, &context, "NEW.DLL", &list, &status));
    EXPECT_EQ(0u, status.code) << status.text;
    EXPECT_FALSE(PathExists(installDir + "\\old.dll")) << "the read-only file is made writable and deleted";
    EXPECT_FALSE(PathExists(installDir + "\\sub\\old2.dll"));
    EXPECT_TRUE(PathExists(installDir + "\\keep.dll"));
    EXPECT_TRUE(PathExists(installDir + "\\sub"));
    std::vector<std::pair<std::string, DWORD>> expected = {
        { installDir + "\\new.dll", 0 },
        { installDir + "\\old.dll", RemoveLogEntry },
        { installDir + "\\sub\\old2.dll", RemoveLogEntry },
    };
    EXPECT_EQ(expected, Entries(list));

    // Applied to the log, the deleted files' entries leave "[UninstallFiles]".
    char* log = (char*)GlobalAlloc(GMEM_FIXED, 1024);
    std::string before = "[UninstallFiles]\r\n" + installDir + "\\old.dll=8\r\n" + installDir + "\\keep.dll=0\r\n" +
                         installDir + "\\sub\\old2.dll=0\r\n" + installDir + "\\setup.ini=0\r\n";
    lstrcpyA(log, before.c_str());
    ApplyPendingChanges(&log, list, &status);
    EXPECT_EQ(0u, status.code);
    EXPECT_EQ("[UninstallFiles]\r\n" + installDir + "\\keep.dll=0\r\n" + installDir + "\\setup.ini=0\r\n" + installDir +
                  "\\new.dll=0\r\n",
              std::string(log));
    GlobalFree(log);
    FreePendingChanges(&list);

    // Without a list the files still go.
    EXPECT_FALSE(RemoveOnInstall(script, &context, "other.dll", NULL, &status));
    EXPECT_EQ(0u, status.code);
    EXPECT_FALSE(PathExists(installDir + "\\keep.dll"));
    RemoveTree(installDir);
}

TEST(RemoveOnInstall, FileInUseGoesAtRestartAndAMissingFolderStops)
{
    WindowsFamilyNT nt;
    ClearPendingRenames();
    std::string installDir = ScratchFolder("remove-in-use");
    ASSERT_TRUE(WriteFileBytes(installDir + "\\old.dll", "old"));
    ASSERT_TRUE(WriteFileBytes(installDir + "\\free.dll", "old"));
    char script[] = "[RemoveOnInstall]\r\nnew.dll=old.dll|free.dll\r\nbad.dll=free2.dll|nodir\\x.dll|later.dll\r\n";
    SetupContext context = ContextFor(installDir);
    PendingChange* list = NULL;
    ErrorStatus status = Clear();

    HANDLE holder = CreateFileA((installDir + "\\old.dll").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_TRUE(RemoveOnInstall(script, &context, "new.dll", &list, &status));
    CloseHandle(holder);
    EXPECT_EQ(0u, status.code) << status.text;
    EXPECT_TRUE(PathExists(installDir + "\\old.dll"));
    EXPECT_FALSE(PathExists(installDir + "\\free.dll"));
    EXPECT_GE(FindRename(PendingRenames(), installDir + "\\old.dll", ""), 0);
    std::vector<std::pair<std::string, DWORD>> expected = {
        { installDir + "\\old.dll", RemoveLogEntry },
        { installDir + "\\free.dll", RemoveLogEntry },
    };
    EXPECT_EQ(expected, Entries(list));

    // A part whose folder is missing stops with error 3; the parts after it are left alone.
    ASSERT_TRUE(WriteFileBytes(installDir + "\\free2.dll", "old"));
    ASSERT_TRUE(WriteFileBytes(installDir + "\\later.dll", "old"));
    EXPECT_FALSE(RemoveOnInstall(script, &context, "bad.dll", &list, &status));
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, status.code);
    EXPECT_FALSE(PathExists(installDir + "\\free2.dll"));
    EXPECT_TRUE(PathExists(installDir + "\\later.dll"));
    expected.push_back({ installDir + "\\free2.dll", RemoveLogEntry });
    EXPECT_EQ(expected, Entries(list));

    FreePendingChanges(&list);
    ClearPendingRenames();
    RemoveTree(installDir);
}
