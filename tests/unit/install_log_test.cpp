// The install log's building blocks on real files: the log, entry lines, and the update's
// pending-change list applied to a log on disk.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core/error_status.h"
#include "core/script.h"
#include "core/section_index.h"
#include "install/file_ops.h"
#include "install/install_log.h"
#include "unit/file_helpers.h"

static ErrorStatus Clear()
{
    ErrorStatus status;
    status.code = 0;
    status.text[0] = 0;
    return status;
}

static std::vector<std::pair<std::string, DWORD>> Entries(const PendingChange* list)
{
    std::vector<std::pair<std::string, DWORD>> entries;
    for (; list; list = list->next) entries.push_back({ list->path, list->value });
    return entries;
}

TEST(InstallLog, LogIsCreatedAndTakesEntryLines)
{
    std::string installDir = ScratchFolder("log-install");

    // Lines kept in memory; one may go before all others.
    ErrorStatus status = Clear();
    LogText lines = {};
    AddLogEntry(&lines, (installDir + "\\data\\sub").c_str(), 0, &status);
    AddLogEntry(&lines, (installDir + "\\data").c_str(), 4294967294u, &status);
    AddLogEntryFirst(&lines, (installDir + "\\bin").c_str(), 0, &status);
    EXPECT_EQ(installDir + "\\bin=0\r\n" + installDir + "\\data\\sub=0\r\n" + installDir + "\\data=4294967294\r\n",
              std::string(lines.text));
    FreeLogText(&lines);

    char path[MAX_PATH];
    GetInstallLogPath(installDir.c_str(), path, &status);
    EXPECT_EQ(installDir + "\\setup.ini", path);
    HANDLE log = CreateInstallLog(installDir.c_str(), &status);
    ASSERT_NE(INVALID_HANDLE_VALUE, log) << status.text;
    AddLogText(&lines, "[UninstallFiles]\r\n", &status);
    AddLogEntry(&lines, (installDir + "\\readme.txt").c_str(), 0, &status);
    AddLogEntry(&lines, (installDir + "\\bin\\app.exe").c_str(), 10, &status);
    AddLogText(&lines, "\r\n[UninstallDirs]\r\n", &status);
    AddLogLine(&lines, (installDir + "\\data").c_str(), "04", &status);
    WriteText(log, lines.text, 0xFFFFFFFF);
    FreeLogText(&lines);
    CloseHandle(log);
    EXPECT_EQ(0u, status.code);
    EXPECT_EQ("[UninstallFiles]\r\n" + installDir + "\\readme.txt=0\r\n" + installDir + "\\bin\\app.exe=10\r\n"
              "\r\n[UninstallDirs]\r\n" + installDir + "\\data=04\r\n",
              ReadFileBytes(path));
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_ARCHIVE, GetFileAttributesA(path));

    // A read-only log of an earlier install is replaced.
    SetFileAttributesA(path, FILE_ATTRIBUTE_READONLY);
    log = CreateInstallLog(installDir.c_str(), &status);
    ASSERT_NE(INVALID_HANDLE_VALUE, log) << status.text;
    CloseHandle(log);
    EXPECT_EQ("", ReadFileBytes(path));
    RemoveTree(installDir);
}

TEST(InstallLog, CreationFailuresStoreTheSystemsCode)
{
    std::string installDir = ScratchFolder("log-fail");
    std::string path = installDir + "\\setup.ini";
    ASSERT_TRUE(WriteFileBytes(path, "[UninstallFiles]\r\n"));

    // The log held by another handle without sharing.
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ErrorStatus status = Clear();
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateInstallLog(installDir.c_str(), &status));
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, status.code);
    CloseHandle(holder);
    EXPECT_EQ("[UninstallFiles]\r\n", ReadFileBytes(path));

    // A status that holds a code creates nothing.
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateInstallLog(installDir.c_str(), &status));
    EXPECT_EQ("[UninstallFiles]\r\n", ReadFileBytes(path));

    // An installation folder too long for the path buffer is a failure, never cut or overflowed.
    std::string longFolder(400, 'f');
    char buffer[MAX_PATH + 8];
    memset(buffer, 'G', sizeof buffer);
    status = Clear();
    GetInstallLogPath(longFolder.c_str(), buffer, &status);
    EXPECT_EQ((DWORD)ERROR_FILENAME_EXCED_RANGE, status.code);
    EXPECT_STREQ("", buffer);
    EXPECT_EQ(0, memcmp(buffer + MAX_PATH, "GGGGGGGG", 8));
    RemoveTree(installDir);
}

TEST(PendingChanges, AddReplaceByPathAndFree)
{
    PendingChange* list = NULL;
    ErrorStatus status = Clear();
    std::string longPath = "C:\\" + std::string(600, 'p');
    NotePendingChange(&list, "C:\\Apps\\a.txt", 0, &status);
    NotePendingChange(&list, "C:\\Apps\\Data", 4, &status);
    NotePendingChange(&list, "C:\\Apps\\old.dll", RemoveLogEntry, &status);
    NotePendingChange(&list, longPath.c_str(), 8, &status);
    // The same path in another case replaces the value and keeps its place and spelling.
    NotePendingChange(&list, "c:\\apps\\DATA", 0, &status);
    NotePendingChange(&list, "C:\\APPS\\A.TXT", RemoveLogEntry, &status);
    EXPECT_EQ(0u, status.code);
    std::vector<std::pair<std::string, DWORD>> expected = {
        { "C:\\Apps\\a.txt", RemoveLogEntry },
        { "C:\\Apps\\Data", 0 },
        { "C:\\Apps\\old.dll", RemoveLogEntry },
        { longPath, 8 },
    };
    EXPECT_EQ(expected, Entries(list));

    // A status that holds a code notes nothing.
    status.code = 5;
    NotePendingChange(&list, "C:\\Apps\\new.txt", 0, &status);
    EXPECT_EQ(4u, Entries(list).size());

    FreePendingChanges(&list);
    EXPECT_EQ(nullptr, list);
    FreePendingChanges(&list);
}

// An update's log with two sections; the list changes only "[UninstallFiles]".
static const char UpdateLog[] =
    "[UninstallFiles]\r\n"
    "C:\\P\\a.txt=0\r\n"
    "C:\\P\\b.dll=8\r\n"
    "C:\\P\\setup.ini=0\r\n"
    "\r\n"
    "[UninstallDirs]\r\n"
    "C:\\P\\new.txt=9\r\n"
    "C:\\P=0\r\n";

TEST(PendingChanges, AppliedToTheLogOnDiskInListOrder)
{
    std::string folder = ScratchFolder("log-apply");
    std::string path = folder + "\\setup.ini";
    ASSERT_TRUE(WriteFileBytes(path, UpdateLog));

    PendingChange* list = NULL;
    ErrorStatus status = Clear();
    NotePendingChange(&list, "c:\\p\\B.DLL", RemoveLogEntry, &status);
    NotePendingChange(&list, "C:\\P\\new.txt", 4, &status);
    NotePendingChange(&list, "C:\\P\\a.txt", 2, &status);
    NotePendingChange(&list, "C:\\P\\data", 4, &status);
    NotePendingChange(&list, "C:\\P\\gone.txt", RemoveLogEntry, &status);
    NotePendingChange(&list, "C:\\P\\DATA", 0, &status);      // the parent sets its subfolder to 0
    NotePendingChange(&list, "C:\\P\\big.bin", 4294967294u, &status);
    ApplyPendingChangesToLog(path.c_str(), list, &status);
    EXPECT_EQ(0u, status.code) << status.text;
    EXPECT_EQ("[UninstallFiles]\r\n"
              "C:\\P\\a.txt=2\r\n"
              "C:\\P\\setup.ini=0\r\n"
              "C:\\P\\new.txt=4\r\n"
              "C:\\P\\data=0\r\n"
              "C:\\P\\big.bin=4294967294\r\n"
              "\r\n"
              "[UninstallDirs]\r\n"
              "C:\\P\\new.txt=9\r\n"
              "C:\\P=0\r\n",
              ReadFileBytes(path));
    FreePendingChanges(&list);
    RemoveTree(folder);
}

TEST(PendingChanges, EmptyListAndUnreadableLogChangeNothing)
{
    std::string folder = ScratchFolder("log-apply-fail");
    std::string path = folder + "\\setup.ini";
    ASSERT_TRUE(WriteFileBytes(path, UpdateLog));
    PendingChange* list = NULL;
    ErrorStatus status = Clear();

    // An empty list neither reads nor writes: a held log is no failure.
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ApplyPendingChangesToLog(path.c_str(), list, &status);
    EXPECT_EQ(0u, status.code);

    // A log that cannot be read is left alone.
    NotePendingChange(&list, "C:\\P\\a.txt", RemoveLogEntry, &status);
    ApplyPendingChangesToLog(path.c_str(), list, &status);
    EXPECT_EQ(0u, status.code);
    CloseHandle(holder);
    ApplyPendingChangesToLog((folder + "\\missing.ini").c_str(), list, &status);
    EXPECT_EQ(0u, status.code);
    EXPECT_FALSE(PathExists(folder + "\\missing.ini"));
    EXPECT_EQ(UpdateLog, ReadFileBytes(path));

    // A status that holds a code changes nothing.
    status.code = 5;
    ApplyPendingChangesToLog(path.c_str(), list, &status);
    EXPECT_EQ(UpdateLog, ReadFileBytes(path));
    FreePendingChanges(&list);
    RemoveTree(folder);
}

TEST(PendingChanges, OnlyPathsWithoutALogEntryAreNoted)
{
    char* log = (char*)GlobalAlloc(GMEM_FIXED, sizeof UpdateLog + 40);
    ASSERT_NE(nullptr, log);
    lstrcpyA(log, "[UninstallFiles]\r\nC:\\P\\a.txt=0\r\nC:\\P\\empty.txt=\r\n\r\n[UninstallDirs]\r\nC:\\P\\d=0\r\n");
    PendingChange* list = NULL;
    ErrorStatus status = Clear();
    SectionIndex logged;
    BuildSectionIndex(log, "UninstallFiles", &logged, &status);
    NoteIfNotLogged(&logged, &list, "c:\\p\\A.TXT", 8, &status);    // logged (case-insensitive)
    NoteIfNotLogged(&logged, &list, "C:\\P\\empty.txt", 8, &status);  // an empty value counts as none
    NoteIfNotLogged(&logged, &list, "C:\\P\\d", 4, &status);          // only "[UninstallFiles]" counts
    NoteIfNotLogged(&logged, &list, "C:\\P\\new.txt", 2, &status);
    FreeSectionIndex(&logged);
    NoteIfNotLogged(NULL, &list, "C:\\P\\nolog.txt", 1, &status);  // no log read: every path
    EXPECT_EQ(0u, status.code);
    std::vector<std::pair<std::string, DWORD>> expected = {
        { "C:\\P\\empty.txt", 8 }, { "C:\\P\\d", 4 }, { "C:\\P\\new.txt", 2 }, { "C:\\P\\nolog.txt", 1 },
    };
    EXPECT_EQ(expected, Entries(list));

    // Applied in memory, the text is changed where it lies and may move.
    ApplyPendingChanges(&log, list, &status);
    EXPECT_EQ(0u, status.code);
    EXPECT_STREQ("[UninstallFiles]\r\nC:\\P\\a.txt=0\r\nC:\\P\\empty.txt=8\r\nC:\\P\\d=4\r\nC:\\P\\new.txt=2\r\n"
                 "C:\\P\\nolog.txt=1\r\n\r\n[UninstallDirs]\r\nC:\\P\\d=0\r\n", log);
    FreePendingChanges(&list);
    GlobalFree(log);
}
