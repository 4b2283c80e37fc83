// The file layer on real files of the test prefix: copying, existence and sizes, the two
// restart mechanisms, folder paths and text helpers.
#include <gtest/gtest.h>
#include "unit/pending_renames.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "core/error_status.h"
#include "core/globals.h"
#include "install/file_ops.h"
#include "unit/file_helpers.h"

static ErrorStatus Clear()
{
    ErrorStatus status;
    status.code = 0;
    status.text[0] = 0;
    return status;
}

// Selects the restart mechanism for one test.
struct WindowsFamily {
    BOOL saved;
    explicit WindowsFamily(BOOL nt) : saved(IsWindowsNT) { IsWindowsNT = nt; }
    ~WindowsFamily() { IsWindowsNT = saved; }
};

static void RecordBytes(DWORD bytes, void* context)
{
    ((std::vector<DWORD>*)context)->push_back(bytes);
}

static std::string Pattern(size_t size)
{
    std::string bytes(size, 0);
    for (size_t i = 0; i < size; i++) bytes[i] = (char)(i * 7 + i / 256);
    return bytes;
}

static std::string ShortPathOf(const std::string& path)
{
    char buffer[MAX_PATH] = "";
    GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return buffer;
}

static std::string WindowsFile(const char* name)
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

static bool Contains(const char* text, const std::string& part)
{
    return std::string(text).find(part) != std::string::npos;
}

static bool EndsWithNoCase(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && lstrcmpiA(text.c_str() + text.size() - tail.size(), tail.c_str()) == 0;
}

// The staged files "vds*.tmp" of a folder (given with its trailing backslash).
static std::vector<std::string> TempFiles(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((std::string(folder) + "vds*.tmp").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do names.push_back(entry.cFileName); while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    return names;
}

TEST(CopyFileWithProgress, BlocksBytesTimeAndAttributes)
{
    std::string folder = ScratchFolder("copy");
    struct { size_t size; std::vector<DWORD> calls; } cases[] = {
        { 0, {} },
        { 2048, { 2048 } },
        { 5000, { 2048, 2048, 904 } },
    };
    for (auto& c : cases) {
        std::string source = folder + "\\source" + std::to_string(c.size) + ".bin";
        std::string target = folder + "\\target" + std::to_string(c.size) + ".bin";
        ASSERT_TRUE(WriteFileBytes(source, Pattern(c.size)));
        // An old time and attributes that must not travel with the copy.
        HANDLE file = CreateFileA(source.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        FILETIME old = { 0x12345600, 0x01C00000 };
        ASSERT_TRUE(SetFileTime(file, NULL, NULL, &old));
        CloseHandle(file);
        SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

        std::vector<DWORD> calls;
        ASSERT_TRUE(CopyFileWithProgress(source.c_str(), target.c_str(), RecordBytes, &calls)) << GetLastError();
        EXPECT_EQ(c.calls, calls) << c.size << " bytes";
        EXPECT_EQ(Pattern(c.size), ReadFileBytes(target));
        EXPECT_EQ((DWORD)FILE_ATTRIBUTE_ARCHIVE, GetFileAttributesA(target.c_str()));

        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data));
        EXPECT_EQ(0, CompareFileTime(&old, &data.ftLastWriteTime));
    }
    // No callback at all is allowed.
    EXPECT_TRUE(CopyFileWithProgress((folder + "\\source5000.bin").c_str(), (folder + "\\plain.bin").c_str(), NULL, NULL));
    EXPECT_EQ(Pattern(5000), ReadFileBytes(folder + "\\plain.bin"));
    RemoveTree(folder);
}

// Whether this platform refuses to open a read-only file for writing. Wine run by root does
// not: the unix permission bits that stand for the attribute do not stop root.
static bool RefusesReadOnlyWrites(const std::string& folder)
{
    std::string probe = folder + "\\probe";
    WriteFileBytes(probe, "p");
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    bool refused = file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    RemoveTree(probe);
    return refused;
}

TEST(CopyFileWithProgress, ReadOnlyTargetIsReplaced)
{
    std::string folder = ScratchFolder("copy-readonly");
    std::string source = folder + "\\new.txt", target = folder + "\\old.txt";
    ASSERT_TRUE(WriteFileBytes(source, "new contents"));
    ASSERT_TRUE(WriteFileBytes(target, "old contents that are longer"));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(CopyFileWithProgress(source.c_str(), target.c_str(), NULL, NULL)) << GetLastError();
    EXPECT_EQ("new contents", ReadFileBytes(target));
    if (RefusesReadOnlyWrites(folder))
        EXPECT_EQ((DWORD)FILE_ATTRIBUTE_ARCHIVE, GetFileAttributesA(target.c_str()));
    else
        std::printf("note: read-only files are writable here; the attribute is not cleared\n");
    RemoveTree(folder);
}

TEST(CopyFileWithProgress, FailuresLeaveTheTargetAlone)
{
    std::string folder = ScratchFolder("copy-fail");
    std::string source = folder + "\\source.txt", target = folder + "\\target.txt";
    ASSERT_TRUE(WriteFileBytes(target, "keep me"));

    // A missing source touches nothing.
    SetLastError(0);
    EXPECT_FALSE(CopyFileWithProgress(source.c_str(), target.c_str(), NULL, NULL));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, GetLastError());
    EXPECT_EQ("keep me", ReadFileBytes(target));

    // A target that another handle holds without sharing: error 32, contents kept.
    ASSERT_TRUE(WriteFileBytes(source, Pattern(3000)));
    HANDLE holder = CreateFileA(target.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    std::vector<DWORD> calls;
    EXPECT_FALSE(CopyFileWithProgress(source.c_str(), target.c_str(), RecordBytes, &calls));
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, GetLastError());
    EXPECT_TRUE(calls.empty());
    CloseHandle(holder);
    EXPECT_EQ("keep me", ReadFileBytes(target));
    RemoveTree(folder);
}

// A pipe that hands out 2048 bytes and then breaks: a source whose second read fails.
static DWORD WINAPI ServeOneBlock(LPVOID param)
{
    HANDLE pipe = (HANDLE)param;
    if (!ConnectNamedPipe(pipe, NULL) && GetLastError() != ERROR_PIPE_CONNECTED) return 1;
    std::string block = Pattern(2048);
    DWORD written = 0;
    WriteFile(pipe, block.data(), (DWORD)block.size(), &written, NULL);
    FlushFileBuffers(pipe);  // until the reader has taken it
    CloseHandle(pipe);
    return 0;
}

TEST(CopyFileWithProgress, ReadFailureDeletesThePartlyWrittenTarget)
{
    std::string folder = ScratchFolder("copy-partial");
    std::string target = folder + "\\target.bin";
    const char* source = "\\\\.\\pipe\\vandrel-copy-source";
    HANDLE pipe = CreateNamedPipeA(source, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, pipe);
    HANDLE server = CreateThread(NULL, 0, ServeOneBlock, pipe, 0, NULL);

    std::vector<DWORD> calls;
    EXPECT_FALSE(CopyFileWithProgress(source, target.c_str(), RecordBytes, &calls));
    EXPECT_EQ((DWORD)ERROR_BROKEN_PIPE, GetLastError());
    DWORD copied = 0;
    for (DWORD bytes : calls) copied += bytes;
    EXPECT_EQ(2048u, copied) << "the first block was written before the failure";
    EXPECT_FALSE(PathExists(target));
    WaitForSingleObject(server, 10000);
    CloseHandle(server);
    RemoveTree(folder);
}

TEST(MakeTempFileName, CreatesAnEmptyVdsFile)
{
    char buffer[MAX_PATH + 8];
    memset(buffer, 'G', sizeof buffer);
    MakeTempFileName(buffer);
    ASSERT_NE(0, buffer[0]);
    EXPECT_EQ(0, memcmp(buffer + MAX_PATH, "GGGGGGGG", 8));
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string name = buffer;
    EXPECT_EQ(0, lstrcmpiA(name.substr(0, strlen(folder)).c_str(), folder));
    EXPECT_EQ(0, lstrcmpiA(name.substr(strlen(folder), 3).c_str(), "vds")) << name;
    EXPECT_EQ("", ReadFileBytes(name));
    DeleteFileA(buffer);
}

TEST(Existence, FileAndFolderTestsAndTheirErrorRules)
{
    std::string folder = ScratchFolder("exists");
    std::string file = folder + "\\file.txt";
    ASSERT_TRUE(WriteFileBytes(file, "x"));

    ErrorStatus status = Clear();
    EXPECT_TRUE(FileExists(file.c_str(), &status));
    EXPECT_FALSE(FolderExists(file.c_str(), &status));
    EXPECT_TRUE(FolderExists(folder.c_str(), &status));
    EXPECT_FALSE(FileExists(folder.c_str(), &status));
    EXPECT_FALSE(FileExists((folder + "\\none.txt").c_str(), &status));
    EXPECT_FALSE(FolderExists((folder + "\\none").c_str(), &status));
    EXPECT_EQ(0u, status.code);

    // A missing folder on the way is an answer for FolderExists, a failure for FileExists.
    std::string deep = folder + "\\missing\\file.txt";
    EXPECT_FALSE(FolderExists(deep.c_str(), &status));
    EXPECT_EQ(0u, status.code);
    EXPECT_FALSE(FileExists(deep.c_str(), &status));
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, status.code);

    // Neither looks at the status before answering.
    EXPECT_TRUE(FileExists(file.c_str(), &status));
    EXPECT_TRUE(FolderExists(folder.c_str(), &status));
    RemoveTree(folder);
}

TEST(IsFolderEmpty, EntriesOtherThanDotsCount)
{
    std::string folder = ScratchFolder("empty");
    EXPECT_TRUE(IsFolderEmpty(folder.c_str(), NULL));
    CreateDirectoryA((folder + "\\sub").c_str(), NULL);
    EXPECT_FALSE(IsFolderEmpty(folder.c_str(), NULL));
    EXPECT_TRUE(IsFolderEmpty((folder + "\\sub").c_str(), NULL));
    WriteFileBytes(folder + "\\sub\\f", "");
    EXPECT_FALSE(IsFolderEmpty((folder + "\\sub").c_str(), NULL));
    EXPECT_TRUE(IsFolderEmpty((folder + "\\missing").c_str(), NULL)) << "cannot be listed";
    RemoveTree(folder);
}

TEST(Sizes, FolderTreeSumAndUnreadableFiles)
{
    std::string folder = ScratchFolder("sizes");
    CreateDirectoryA((folder + "\\a").c_str(), NULL);
    CreateDirectoryA((folder + "\\a\\b").c_str(), NULL);
    CreateDirectoryA((folder + "\\empty").c_str(), NULL);
    WriteFileBytes(folder + "\\one.bin", Pattern(100));
    WriteFileBytes(folder + "\\a\\two.bin", Pattern(2000));
    WriteFileBytes(folder + "\\a\\b\\three.bin", Pattern(30000));

    ErrorStatus status = Clear();
    EXPECT_EQ(32100u, GetFolderSize(folder.c_str(), &status));
    EXPECT_EQ(0u, GetFolderSize((folder + "\\missing").c_str(), &status));
    EXPECT_EQ(2000u, GetFileSizeChecked((folder + "\\a\\two.bin").c_str(), &status));
    EXPECT_EQ(0u, status.code);

    std::string missing = folder + "\\none.bin";
    EXPECT_EQ(0u, GetFileSizeChecked(missing.c_str(), &status));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, status.code);
    EXPECT_NE(std::string::npos, std::string(status.text).find("Unable to open file (" + missing + ")"));

    // Sizes come from the listings: a file held without sharing still counts.
    std::string held = folder + "\\a\\b\\three.bin";
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    status = Clear();
    EXPECT_EQ(32100u, GetFolderSize(folder.c_str(), &status));
    EXPECT_EQ(30000u, GetFileSizeChecked(held.c_str(), &status));
    CloseHandle(holder);
    EXPECT_EQ(0u, status.code);
    RemoveTree(folder);
}

static bool MakeSparseFile(const std::string& path, LONGLONG size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER end;
    end.QuadPart = size;
    BOOL ok = SetFilePointerEx(file, end, NULL, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

TEST(Sizes, FolderSumPasses32Bits)
{
    std::string folder = ScratchFolder("sizes-big");
    ASSERT_TRUE(MakeSparseFile(folder + "\\three.bin", 3LL << 30));
    ASSERT_TRUE(MakeSparseFile(folder + "\\two.bin", 2LL << 30));
    ErrorStatus status = Clear();
    EXPECT_EQ(5ULL << 30, GetFolderSize(folder.c_str(), &status));
    EXPECT_EQ(0u, status.code);
    RemoveTree(folder);
}

TEST(MoveFileAtRestart, NtFamilyUsesThePendingRenameList)
{
    WindowsFamily nt(TRUE);
    ClearPendingRenames();
    std::string folder = ScratchFolder("restart-nt");
    std::string from = folder + "\\new.dll", to = folder + "\\old.dll", gone = folder + "\\gone.dll";
    WriteFileBytes(from, "n");
    WriteFileBytes(to, "o");
    WriteFileBytes(gone, "g");

    EXPECT_TRUE(MoveFileAtRestart(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_TRUE(MoveFileAtRestart(gone.c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT));
    std::vector<std::string> entries = PendingRenames();
    EXPECT_GE(FindRename(entries, from, to), 0);
    EXPECT_GE(FindRename(entries, gone, ""), 0);
    // Nothing moves before the restart.
    EXPECT_EQ("n", ReadFileBytes(from));
    EXPECT_EQ("o", ReadFileBytes(to));
    ClearPendingRenames();
    RemoveTree(folder);
}

TEST(MoveFileAtRestart, Windows9xRenameListInANewFile)
{
    WindowsFamily nine(FALSE);
    std::string list = WindowsFile("wininit.ini");
    DeleteFileA(list.c_str());
    std::string folder = ScratchFolder("restart-9x");
    std::string from = folder + "\\a new library.dll", to = folder + "\\the old library.dll";
    WriteFileBytes(from, "n");
    WriteFileBytes(to, "o");
    std::string fromShort = ShortPathOf(from), toShort = ShortPathOf(to);
    ASSERT_NE("", fromShort);
    ASSERT_NE(from, fromShort) << "short names must differ from the long ones for this test";

    EXPECT_TRUE(MoveFileAtRestart(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_EQ("[rename]\r\n" + toShort + "=" + fromShort + "\r\n", ReadFileBytes(list));

    // A deletion is a rename to NUL, added below the first entry.
    EXPECT_TRUE(MoveFileAtRestart(to.c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_EQ("[rename]\r\n" + toShort + "=" + fromShort + "\r\nNUL=" + toShort + "\r\n", ReadFileBytes(list));

    // Other flags are not known there; a missing file has no short name.
    SetLastError(0);
    EXPECT_FALSE(MoveFileAtRestart(from.c_str(), to.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_COPY_ALLOWED));
    EXPECT_EQ((DWORD)ERROR_CALL_NOT_IMPLEMENTED, GetLastError());
    EXPECT_FALSE(MoveFileAtRestart((folder + "\\none.dll").c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, GetLastError());
    std::string after = ReadFileBytes(list);
    EXPECT_EQ(2, std::count(after.begin(), after.end(), '='));
    DeleteFileA(list.c_str());
    RemoveTree(folder);
}

TEST(MoveFileAtRestart, Windows9xRenameListInAnExistingFile)
{
    WindowsFamily nine(FALSE);
    std::string list = WindowsFile("wininit.ini");
    std::string folder = ScratchFolder("restart-9x-existing");
    std::string file = folder + "\\obsolete file.txt";
    WriteFileBytes(file, "x");
    std::string entry = "NUL=" + ShortPathOf(file) + "\r\n";

    struct { const char* before; std::string after; } cases[] = {
        // The section in the middle gets the entry as its last line; what follows is kept.
        { "[boot]\r\na=1\r\n[Rename]\r\nX=Y\r\n\r\n[other]\r\nb=2\r\n",
          "[boot]\r\na=1\r\n[Rename]\r\nX=Y\r\n\r\n" + entry + "[other]\r\nb=2\r\n" },
        // The section at the end, its last line without a line break.
        { "[boot]\r\n[RENAME]\r\nX=Y", "[boot]\r\n[RENAME]\r\nX=Y\r\n" + entry },
        // No section: it is added at the end.
        { "[boot]\r\na=1", "[boot]\r\na=1\r\n[rename]\r\n" + entry },
        { "[boot]\n", "[boot]\n[rename]\r\n" + entry },
        { "", "[rename]\r\n" + entry },
        // Only the header's first eight characters are compared.
        { "[rename] old\r\nX=Y\r\n", "[rename] old\r\nX=Y\r\n" + entry },
        { "[renamed]\r\nX=Y\r\n", "[renamed]\r\nX=Y\r\n[rename]\r\n" + entry },
    };
    for (auto& c : cases) {
        ASSERT_TRUE(WriteFileBytes(list, c.before));
        EXPECT_TRUE(MoveFileAtRestart(file.c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT));
        EXPECT_EQ(c.after, ReadFileBytes(list)) << "before: " << c.before;
    }
    DeleteFileA(list.c_str());
    RemoveTree(folder);
}

TEST(CopyOrReplaceAtRestart, TargetInUseIsScheduledOnlyWhenAllowed)
{
    WindowsFamily nt(TRUE);
    ClearPendingRenames();
    std::string folder = ScratchFolder("replace");
    std::string source = folder + "\\source.dll", target = folder + "\\target.dll";
    ASSERT_TRUE(WriteFileBytes(source, Pattern(3000)));
    ASSERT_TRUE(WriteFileBytes(target, "in use"));
    HANDLE holder = CreateFileA(target.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);

    // Not allowed: the copy failure stays in the status.
    ErrorStatus status = Clear();
    std::vector<DWORD> calls;
    EXPECT_FALSE(CopyOrReplaceAtRestart(source.c_str(), target.c_str(), NULL, FALSE, RecordBytes, &calls, &status));
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, status.code);
    EXPECT_NE(std::string::npos, std::string(status.text).find("Unable to copy file (\"" + source + "\" to \"" + target + "\")"))
        << status.text;

    // Allowed: the new file waits beside the target and replaces it at restart.
    std::vector<std::string> before = TempFiles(folder + "\\");
    status = Clear();
    calls.clear();
    EXPECT_TRUE(CopyOrReplaceAtRestart(source.c_str(), target.c_str(), NULL, TRUE, RecordBytes, &calls, &status));
    EXPECT_EQ(0u, status.code);
    EXPECT_EQ((std::vector<DWORD>{ 2048, 952 }), calls);
    std::vector<std::string> after = TempFiles(folder + "\\");
    ASSERT_EQ(before.size() + 1, after.size());
    std::string temporary;
    for (auto& name : after)
        if (std::find(before.begin(), before.end(), name) == before.end()) temporary = name;
    temporary = folder + "\\" + temporary;
    EXPECT_EQ(Pattern(3000), ReadFileBytes(temporary));
    EXPECT_GE(FindRename(PendingRenames(), temporary, target), 0);
    CloseHandle(holder);
    EXPECT_EQ("in use", ReadFileBytes(target));

    // A status that already holds a code does nothing.
    status.code = 5;
    EXPECT_FALSE(CopyOrReplaceAtRestart(source.c_str(), (folder + "\\free.dll").c_str(), NULL, TRUE, NULL, NULL, &status));
    EXPECT_FALSE(PathExists(folder + "\\free.dll"));

    // A free target is simply copied.
    status = Clear();
    EXPECT_FALSE(CopyOrReplaceAtRestart(source.c_str(), (folder + "\\free.dll").c_str(), NULL, TRUE, NULL, NULL, &status));
    EXPECT_EQ(0u, status.code);
    EXPECT_EQ(Pattern(3000), ReadFileBytes(folder + "\\free.dll"));

    DeleteFileA(temporary.c_str());
    ClearPendingRenames();
    RemoveTree(folder);
}

TEST(CopyOrReplaceAtRestart, TemporaryFileIsDeletedWhenSchedulingFails)
{
    // On the 9x path a folder named like the restart list cannot be read as a file.
    WindowsFamily nine(FALSE);
    std::string list = WindowsFile("wininit.ini");
    DeleteFileA(list.c_str());
    ASSERT_TRUE(CreateDirectoryA(list.c_str(), NULL));
    std::string folder = ScratchFolder("replace-fail");
    std::string source = folder + "\\source.dll", target = folder + "\\target.dll";
    WriteFileBytes(source, "new");
    WriteFileBytes(target, "old");
    HANDLE holder = CreateFileA(target.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);

    std::vector<std::string> before = TempFiles(folder + "\\");
    ErrorStatus status = Clear();
    EXPECT_FALSE(CopyOrReplaceAtRestart(source.c_str(), target.c_str(), NULL, TRUE, NULL, NULL, &status));
    EXPECT_NE(0u, status.code);
    EXPECT_NE((DWORD)ERROR_SHARING_VIOLATION, status.code);
    EXPECT_EQ(before, TempFiles(folder + "\\"));

    CloseHandle(holder);
    RemoveDirectoryA(list.c_str());
    RemoveTree(folder);
}

TEST(IsValidFolderPath, DriveAndUncForms)
{
    const char* valid[] = {
        "C:\\", "C:\\a", "C:\\a\\b", "z:\\Program Files\\Corvantis Vandrel", "C:\\a.b\\\xE9t\xE9",
        "\\\\server\\share", "\\\\server\\share\\folder", "\\\\s\\s\\a\\b",
    };
    const char* invalid[] = {
        "", "C:", "C:a", "C:\\a\\", "C:\\\\a", "C:\\a\\\\b", "a\\b", "\\a", "C:\\a|b", "C:\\a:b", "C:\\a\\b*",
        "1:\\a", "C:/a", "\\\\server", "\\\\server\\", "\\\\server\\share\\", "\\\\\\share\\x", "C:\\a\tb",
    };
    for (const char* path : valid) EXPECT_TRUE(IsValidFolderPath(path)) << path;
    for (const char* path : invalid) EXPECT_FALSE(IsValidFolderPath(path)) << path;

    const char bad[] = "\"*/:<>?\\|";
    for (int c = -128; c < 128; c++) {
        bool expected = c < 0 || (c >= 32 && !strchr(bad, c));
        EXPECT_EQ(expected, IsValidPathChar((char)c) != 0) << c;
    }
}

TEST(CreateFolderPath, ExistingRootsInvalidAndRefusedPaths)
{
    std::string folder = ScratchFolder("create");
    WriteFileBytes(folder + "\\file", "x");
    HWND owner = MakeOwnerWindow();
    BoxAnswerer answerer;
    StartAnswering(&answerer, IDYES);

    struct { std::string path; DWORD code; } cases[] = {
        { folder, 0 },                       // exists: nothing to do
        { "C:\\", 0 },                       // a drive root exists too
        { folder + "\\", ERROR_BAD_PATHNAME },
        { "C:relative", ERROR_BAD_PATHNAME },
        { "Q:\\Apps", ERROR_PATH_NOT_FOUND },  // no such drive
        { "R:\\Apps", ERROR_ACCESS_DENIED },   // a CD-ROM
        { folder + "\\file", ERROR_FILE_EXISTS },
    };
    ASSERT_EQ((UINT)DRIVE_NO_ROOT_DIR, GetDriveTypeA("Q:\\"));
    ASSERT_EQ((UINT)DRIVE_CDROM, GetDriveTypeA("R:\\")) << "the test prefix should map R: as a CD-ROM";
    for (auto& c : cases) {
        ErrorStatus status = Clear();
        EXPECT_FALSE(CreateFolderPath(owner, c.path.c_str(), &status)) << c.path;
        EXPECT_EQ(c.code, status.code) << c.path;
    }
    StopAnswering(&answerer);
    EXPECT_TRUE(answerer.texts.empty()) << "no question for existing or refused paths";
    EXPECT_FALSE(PathExists("R:\\Apps"));

    // A file further up the path: Windows reports the lookup as a missing path and meets the
    // file while creating (80); Wine reports the lookup's own error. Nothing is made either way.
    ErrorStatus status = Clear();
    EXPECT_FALSE(CreateFolderPath(NULL, (folder + "\\file\\sub").c_str(), &status));
    EXPECT_NE(0u, status.code);
    EXPECT_EQ("x", ReadFileBytes(folder + "\\file"));

    DestroyWindow(owner);
    RemoveTree(folder);
}

TEST(CreateFolderPath, CreatesEveryMissingLevelAfterAsking)
{
    std::string folder = ScratchFolder("create-levels");
    HWND owner = MakeOwnerWindow();
    std::string path = folder + "\\one\\two\\three";

    // No: nothing is made.
    BoxAnswerer answerer;
    StartAnswering(&answerer, IDNO);
    ErrorStatus status = Clear();
    EXPECT_FALSE(CreateFolderPath(owner, path.c_str(), &status));
    StopAnswering(&answerer);
    EXPECT_EQ((DWORD)ERROR_CANCELLED, status.code);
    ASSERT_EQ(1u, answerer.texts.size());
    EXPECT_EQ("The folder\n" + path + "\ndoes not exist. Do you want the folder to be created?", answerer.texts[0]);
    EXPECT_EQ("Corvantis Vandrel Setup", answerer.captions[0]);
    EXPECT_FALSE(PathExists(folder + "\\one"));

    // Yes: every level is made.
    StartAnswering(&answerer, IDYES);
    status = Clear();
    EXPECT_TRUE(CreateFolderPath(owner, path.c_str(), &status));
    StopAnswering(&answerer);
    EXPECT_EQ(0u, status.code);
    EXPECT_EQ(1u, answerer.texts.size());
    EXPECT_TRUE(FolderExists(path.c_str(), &status));

    // Without an owner nothing is asked; existing levels are passed over.
    status = Clear();
    EXPECT_TRUE(CreateFolderPath(NULL, (folder + "\\one\\four\\five").c_str(), &status));
    EXPECT_EQ(0u, status.code);
    EXPECT_TRUE(PathExists(folder + "\\one\\four\\five"));

    DestroyWindow(owner);
    RemoveTree(folder);
}

TEST(CreateFolderPath, PathsLongerThanTheBufferAreRefusedWhole)
{
    std::string folder = ScratchFolder("create-long");
    std::string path = folder;
    while (path.size() < 300) path += "\\abcdefghij";
    ErrorStatus status = Clear();
    EXPECT_FALSE(CreateFolderPath(NULL, path.c_str(), &status));
    EXPECT_NE(0u, status.code);
    // No folder under a name cut to 259 characters.
    EXPECT_FALSE(PathExists(path.substr(0, MAX_PATH - 1)));
    RemoveTree(folder);
}

TEST(TextHelpers, NextLineWriteTextAndJoinPath)
{
    const char* text = "one\r\n\r\n\ntwo\nthree";
    const char* line = NextLine(text);
    EXPECT_STREQ("two\nthree", line);
    line = NextLine(line);
    EXPECT_STREQ("three", line);
    line = NextLine(line);
    EXPECT_EQ(text + strlen(text), line);
    EXPECT_EQ(line, NextLine(line));
    EXPECT_STREQ("x", NextLine("\r\n\r\nx"));

    std::string folder = ScratchFolder("write-text");
    std::string path = folder + "\\out.txt";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    EXPECT_TRUE(WriteText(file, "abc\0def", 0xFFFFFFFF));
    EXPECT_TRUE(WriteText(file, "12345", 2));
    EXPECT_TRUE(WriteText(file, "", 0));
    CloseHandle(file);
    EXPECT_EQ("abc12", ReadFileBytes(path));
    file = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_FALSE(WriteText(file, "x", 1));
    CloseHandle(file);
    RemoveTree(folder);

    char buffer[MAX_PATH + 8];
    JoinPath("C:\\a", "b.txt", buffer);
    EXPECT_STREQ("C:\\a\\b.txt", buffer);
    JoinPath("C:\\", "b.txt", buffer);
    EXPECT_STREQ("C:\\b.txt", buffer);
    JoinPath("", "b.txt", buffer);
    EXPECT_STREQ("b.txt", buffer);
    std::string folder258(258, 'f'), folder259(259, 'f'), long300(300, 'n');
    JoinPath(folder258.c_str(), "x", buffer);
    EXPECT_EQ(folder258 + "\\", buffer) << "the name is cut";
    JoinPath(folder259.c_str(), "x", buffer);
    EXPECT_EQ(folder259, buffer);
    memset(buffer, 'G', sizeof buffer);
    JoinPath(long300.c_str(), long300.c_str(), buffer);
    EXPECT_EQ(long300.substr(0, MAX_PATH - 1), buffer);
    EXPECT_EQ(0, memcmp(buffer + MAX_PATH, "GGGGGGGG", 8));
}

TEST(LongPaths, InputsLongerThanMaxPathFailCleanly)
{
    std::string folder = ScratchFolder("long-paths");
    std::string path = folder;
    while (path.size() < 400) path += "\\abcdefghijklmnop";

    ErrorStatus status = Clear();
    EXPECT_EQ(0u, GetFolderSize(path.c_str(), &status));
    EXPECT_TRUE(IsFolderEmpty(path.c_str(), NULL));
    EXPECT_FALSE(FolderExists(path.c_str(), &status));
    status = Clear();
    EXPECT_EQ(0u, GetFileSizeChecked(path.c_str(), &status));
    EXPECT_NE(0u, status.code);
    EXPECT_TRUE(Contains(status.text, "Unable to open file (" + path.substr(0, 100))) << status.text;

    {
        WindowsFamily nine(FALSE);
        std::string list = WindowsFile("wininit.ini");
        DeleteFileA(list.c_str());
        EXPECT_FALSE(MoveFileAtRestart(path.c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT));
        EXPECT_FALSE(PathExists(list));
    }

    std::string unc = "\\\\" + std::string(300, 's') + "\\share\\folder";
    ASSERT_TRUE(IsValidFolderPath(unc.c_str()));
    status = Clear();
    EXPECT_FALSE(CreateFolderPath(NULL, unc.c_str(), &status));
    EXPECT_NE(0u, status.code);

    std::string source = folder + "\\source.txt";
    WriteFileBytes(source, "x");
    status = Clear();
    EXPECT_FALSE(CopyOrReplaceAtRestart(source.c_str(), path.c_str(), NULL, TRUE, NULL, NULL, &status));
    EXPECT_NE(0u, status.code);
    EXPECT_TRUE(Contains(status.text, "\" to \"" + path + "\")")) << status.text;
    RemoveTree(folder);
}
