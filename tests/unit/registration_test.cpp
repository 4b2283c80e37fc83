// Component registration with the stand-in product program and library where the install
// scenarios do not reach, and the files that an update deletes because a new file replaces them.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core/error_status.h"
#include "core/setup_context.h"
#include "install/install_log.h"
#include "install/registration.h"
#include "unit/file_helpers.h"
#include "unit/pending_renames.h"

TEST(RegisterComponent, WhatWarnsAndWhatIsPassedOver)
{
    std::string folder = ScratchFolder("register"), server = folder + "\\srv.EXE", library = folder + "\\tool.dll";
    ASSERT_TRUE(CopyFileA(BuiltFile("PRODUCT_PROGRAM").c_str(), server.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(BuiltFile("PRODUCT_LIBRARY").c_str(), library.c_str(), FALSE));
    WriteFileBytes(folder + "\\broken.exe", "not a program");
    WriteFileBytes(folder + "\\text.dll", "not a library");
    WriteFileBytes(server + ".sleep", "300");
    WriteFileBytes(library + ".hresult", "1");  // S_FALSE is success
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    HWND owner = MakeOwnerWindow();
    BoxAnswerer seen = Answering(IDOK, [&] {
        for (std::string path : { server, library, folder + "\\text.dll", std::string(system) + "\\kernel32.dll",
                                  folder + "\\broken.exe" })
            RegisterComponent(owner, path.c_str());
        WriteFileBytes(library + ".hresult", "80004005");
        RegisterComponent(owner, library.c_str());
    });
    ASSERT_EQ(2u, seen.texts.size());
    EXPECT_EQ("Warning: Could not register program \"" + folder + "\\broken.exe\". Verify that you have write access to "
              "the registry.", seen.texts[0]) << "a program that cannot be started has not registered either";
    EXPECT_EQ("Warning: Could not register DLL \"" + library + "\". Verify that you have write access to the registry. "
              "(Error: 80004005)", seen.texts[1]);
    EXPECT_EQ(owner, seen.owners[1]);
    EXPECT_EQ("Corvantis Vandrel Setup", seen.captions[1]);
    std::string call = "DllRegisterServer " + library + "\n";
    EXPECT_EQ("\"" + server + "\" /RegServer\n" + call + call, ReadFileBytes(folder + "\\calls.log"));
    EXPECT_TRUE(DeleteFileA(library.c_str())) << "the library was let go again";
    DestroyWindow(owner);
    RemoveTree(folder);
}

TEST(RemoveOnInstall, ReplacedFilesGoNowOrAtRestartAndAMissingFolderStops)
{
    WindowsFamilyNT nt;
    ClearPendingRenames();
    std::string dir = ScratchFolder("remove-on-install");
    CreateDirectoryA((dir + "\\sub").c_str(), NULL);
    for (const char* name : { "old.dll", "sub\\old2.dll", "keep.dll", "busy.dll", "free2.dll", "later.dll" })
        WriteFileBytes(dir + "\\" + name, "old");
    SetFileAttributesA((dir + "\\old.dll").c_str(), FILE_ATTRIBUTE_READONLY);
    char script[] = "[RemoveOnInstall]\r\nnew.dll=old.dll|sub\\old2.dll|gone.dll||busy.dll|\r\nother.dll=keep.dll\r\n"
                    "bad.dll=free2.dll|nodir\\x.dll|later.dll\r\n[InstallFiles]\r\nnew.dll=0\r\n";
    SetupContext context = {};
    lstrcpyA(context.installDir, dir.c_str());
    PendingChange* list = NULL;
    ErrorStatus status = Clear();
    EXPECT_FALSE(RemoveOnInstall(script, &context, "readme.txt", &list, &status));
    status.code = 5;
    EXPECT_FALSE(RemoveOnInstall(script, &context, "new.dll", &list, &status));
    EXPECT_TRUE(PathExists(dir + "\\old.dll")) << "a status that holds a code deletes nothing";
    status = Clear();
    {
        Holder holder(dir + "\\busy.dll");
        EXPECT_TRUE(RemoveOnInstall(script, &context, "NEW.DLL", &list, &status));
    }
    EXPECT_EQ(0u, status.code) << status.text;
    EXPECT_FALSE(PathExists(dir + "\\old.dll") || PathExists(dir + "\\sub\\old2.dll"));
    EXPECT_TRUE(PathExists(dir + "\\busy.dll") && PathExists(dir + "\\sub") && PathExists(dir + "\\keep.dll"));
    EXPECT_GE(FindRename(PendingRenames(), dir + "\\busy.dll", ""), 0);
    EXPECT_FALSE(RemoveOnInstall(script, &context, "other.dll", NULL, &status)) << "without a list the files still go";
    EXPECT_FALSE(PathExists(dir + "\\keep.dll"));
    EXPECT_FALSE(RemoveOnInstall(script, &context, "bad.dll", &list, &status));
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, status.code);
    EXPECT_FALSE(PathExists(dir + "\\free2.dll"));
    EXPECT_TRUE(PathExists(dir + "\\later.dll"));
    std::vector<std::string> noted;
    for (PendingChange* change = list; change; change = change->next) {
        EXPECT_EQ(RemoveLogEntry, change->value);
        noted.push_back(change->path);
    }
    EXPECT_EQ((std::vector<std::string>{ dir + "\\old.dll", dir + "\\sub\\old2.dll", dir + "\\busy.dll", dir + "\\free2.dll" }), noted);
    FreePendingChanges(&list);
    ClearPendingRenames();
    RemoveTree(dir);
}
