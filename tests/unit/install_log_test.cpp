// The install log's building blocks where the install scenarios do not reach: files that cannot
// be created, the pending-change list's own rules, and a log on disk that cannot be read.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core/globals.h"
#include "install/install_log.h"
#include "unit/file_helpers.h"

static std::vector<std::pair<std::string, DWORD>> Entries(const PendingChange* list)
{
    std::vector<std::pair<std::string, DWORD>> entries;
    for (; list; list = list->next) entries.push_back({ list->path, list->value });
    return entries;
}

TEST(InstallLog, FilesThatCannotBeCreatedOrRead)
{
    std::string folder = ScratchFolder("log"), path = folder + "\\setup.ini";
    ErrorStatus status = Clear();
    ASSERT_TRUE(WriteFileBytes(path, "[UninstallFiles]\r\nC:\\P\\a.txt=0\r\n"));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        Holder holder(path);
        EXPECT_EQ(INVALID_HANDLE_VALUE, CreateInstallLog(folder.c_str(), &status));
        EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, status.code);
        EXPECT_EQ(INVALID_HANDLE_VALUE, CreateInstallLog(folder.c_str(), &status)) << "a status that holds a code";
        // A log that cannot be read is left alone, and an empty list reads nothing.
        PendingChange* list = NULL;
        status = Clear();
        ApplyPendingChangesToLog(path.c_str(), list, &status);
        NotePendingChange(&list, "C:\\P\\a.txt", RemoveLogEntry, &status);
        ApplyPendingChangesToLog(path.c_str(), list, &status);
        ApplyPendingChangesToLog((folder + "\\missing.ini").c_str(), list, &status);
        EXPECT_EQ(0u, status.code);
        FreePendingChanges(&list);
        EXPECT_EQ(nullptr, list);
    }
    EXPECT_FALSE(PathExists(folder + "\\missing.ini"));
    ReadOnlyFilesRefuseWrites windows;
    HANDLE log = CreateInstallLog(folder.c_str(), &status);
    ASSERT_NE(INVALID_HANDLE_VALUE, log) << "a read-only log of an earlier install is replaced: " << status.text;
    WriteLogEntry(log, "C:\\P\\big.bin", 4294967294u);
    CloseHandle(log);
    EXPECT_EQ("C:\\P\\big.bin=4294967294\r\n", ReadFileBytes(path));
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_ARCHIVE, GetFileAttributesA(path.c_str()));

    char saved[MAX_PATH], buffer[MAX_PATH + 8];
    lstrcpyA(saved, SetupFolder);
    lstrcpyA(SetupFolder, (folder + "\\missing\\").c_str());
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateScratchList(&status));
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, status.code);
    lstrcpyA(SetupFolder, saved);
    memset(buffer, 'G', sizeof buffer);
    GetInstallLogPath(std::string(400, 'f').c_str(), buffer, &status);
    EXPECT_EQ(MAX_PATH - 1, (int)strlen(buffer));
    EXPECT_EQ(0, memcmp(buffer + MAX_PATH, "GGGGGGGG", 8));
    RemoveTree(folder);
}

TEST(PendingChanges, PathsAreNotedOnceAndOnlyWhenNotLogged)
{
    PendingChange* list = NULL;
    ErrorStatus status = Clear();
    std::string longPath = "C:\\" + std::string(600, 'p');
    char* log = (char*)GlobalAlloc(GMEM_FIXED, 200);
    lstrcpyA(log, "[UninstallFiles]\r\nC:\\P\\a.txt=0\r\nC:\\P\\empty.txt=\r\n\r\n[UninstallDirs]\r\nC:\\P\\d=0\r\n");
    NotePendingChange(&list, "C:\\P\\new.txt", 0, &status);
    NotePendingChange(&list, longPath.c_str(), 8, &status);
    NoteIfNotLogged(log, &list, "c:\\p\\A.TXT", 8, &status);    // logged, in another case
    NoteIfNotLogged(log, &list, "C:\\P\\empty.txt", 8, &status);  // an empty value counts as none
    NoteIfNotLogged(log, &list, "C:\\P\\d", 4, &status);          // only "[UninstallFiles]" counts
    NoteIfNotLogged(NULL, &list, "C:\\P\\nolog.txt", 1, &status);
    NotePendingChange(&list, "c:\\p\\NEW.TXT", 2, &status);        // keeps its place and spelling
    EXPECT_EQ(0u, status.code);
    std::vector<std::pair<std::string, DWORD>> expected = {
        { "C:\\P\\new.txt", 2 }, { longPath, 8 }, { "C:\\P\\empty.txt", 8 }, { "C:\\P\\d", 4 }, { "C:\\P\\nolog.txt", 1 },
    };
    EXPECT_EQ(expected, Entries(list));
    status.code = 5;
    NotePendingChange(&list, "C:\\P\\other.txt", 0, &status);
    NoteIfNotLogged(log, &list, "C:\\P\\other.txt", 0, &status);
    EXPECT_EQ(5u, Entries(list).size()) << "a status that holds a code notes nothing";
    FreePendingChanges(&list);
    GlobalFree(log);
}
