// The file layer on real files of the test prefix: copying, existence and sizes, replacement at
// restart by both mechanisms, folder paths and their creation, and the text helpers.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "core/error_status.h"
#include "install/file_ops.h"
#include "unit/file_helpers.h"
#include "unit/pending_renames.h"

static void RecordBytes(DWORD bytes, void* context) { ((std::vector<DWORD>*)context)->push_back(bytes); }

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

static std::string RestartList()
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\wininit.ini";
}

TEST(CopyFileWithProgress, BlocksTimeAttributesAndFailures)
{
    std::string folder = ScratchFolder("copy");
    ReadOnlyFilesRefuseWrites windows;  // each target after the first is read-only, as the last one left it
    for (auto c : { std::make_pair((size_t)0, std::vector<DWORD>{}), { 2048, { 2048 } }, { 5000, { 2048, 2048, 904 } } }) {
        std::string source = folder + "\\source.bin", target = folder + "\\target.bin";
        ASSERT_TRUE(WriteFileBytes(source, Pattern(c.first)));
        HANDLE file = CreateFileA(source.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        FILETIME old = { 0x12345600, 0x01C00000 };
        SetFileTime(file, NULL, NULL, &old);
        CloseHandle(file);
        SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        std::vector<DWORD> calls;
        ASSERT_TRUE(CopyFileWithProgress(source.c_str(), target.c_str(), RecordBytes, &calls)) << GetLastError();
        EXPECT_EQ(c.second, calls) << c.first << " bytes";
        EXPECT_EQ(Pattern(c.first), ReadFileBytes(target));
        EXPECT_EQ((DWORD)FILE_ATTRIBUTE_ARCHIVE, GetFileAttributesA(target.c_str()));
        WIN32_FILE_ATTRIBUTE_DATA data;
        GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data);
        EXPECT_EQ(0, CompareFileTime(&old, &data.ftLastWriteTime));
        SetFileAttributesA(source.c_str(), 0);
        // A read-only target is replaced; no callback at all is allowed.
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_TRUE(CopyFileWithProgress(source.c_str(), target.c_str(), NULL, NULL));
    }

    // A missing source and a target held elsewhere touch nothing.
    std::string kept = folder + "\\kept.txt";
    ASSERT_TRUE(WriteFileBytes(kept, "keep me"));
    EXPECT_FALSE(CopyFileWithProgress((folder + "\\none").c_str(), kept.c_str(), NULL, NULL));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, GetLastError());
    std::vector<DWORD> calls;
    {
        Holder holder(kept);
        EXPECT_FALSE(CopyFileWithProgress((folder + "\\source.bin").c_str(), kept.c_str(), RecordBytes, &calls));
        EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, GetLastError());
    }
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ("keep me", ReadFileBytes(kept));
    RemoveTree(folder);
}

// A pipe that hands out 2048 bytes and then breaks: a source whose second read fails.
static DWORD WINAPI ServeOneBlock(LPVOID pipe)
{
    if (!ConnectNamedPipe(pipe, NULL) && GetLastError() != ERROR_PIPE_CONNECTED) return 1;
    DWORD written = 0;
    WriteFile(pipe, Pattern(2048).data(), 2048, &written, NULL);
    FlushFileBuffers(pipe);
    CloseHandle(pipe);
    return 0;
}

TEST(CopyFileWithProgress, AReadFailureDeletesThePartlyWrittenTarget)
{
    std::string target = ScratchFolder("copy-partial") + "\\target.bin";
    const char* source = "\\\\.\\pipe\\vandrel-copy-source";
    HANDLE pipe = CreateNamedPipeA(source, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, NULL);
    HANDLE server = CreateThread(NULL, 0, ServeOneBlock, pipe, 0, NULL);
    std::vector<DWORD> calls;
    EXPECT_FALSE(CopyFileWithProgress(source, target.c_str(), RecordBytes, &calls));
    EXPECT_EQ((DWORD)ERROR_BROKEN_PIPE, GetLastError());
    EXPECT_EQ((std::vector<DWORD>{ 2048 }), calls);
    EXPECT_FALSE(PathExists(target));
    WaitForSingleObject(server, 10000);
    CloseHandle(server);
}

TEST(Existence, ExistsEmptyAndSizes)
{
    std::string folder = ScratchFolder("exists"), file = folder + "\\a\\b\\three.bin", deep = folder + "\\missing\\f";
    CreateDirectoryA((folder + "\\a").c_str(), NULL);
    CreateDirectoryA((folder + "\\a\\b").c_str(), NULL);
    CreateDirectoryA((folder + "\\empty").c_str(), NULL);
    WriteFileBytes(folder + "\\one.bin", Pattern(100));
    WriteFileBytes(folder + "\\a\\two.bin", Pattern(2000));
    WriteFileBytes(file, Pattern(30000));
    ErrorStatus status = Clear();
    EXPECT_TRUE(FileExists(file.c_str(), &status) && !FolderExists(file.c_str(), &status));
    EXPECT_TRUE(FolderExists(folder.c_str(), &status) && !FileExists(folder.c_str(), &status));
    EXPECT_FALSE(FileExists((folder + "\\none").c_str(), &status) || FolderExists(deep.c_str(), &status));
    EXPECT_EQ(0u, status.code) << "a missing file, or a missing folder on the way to a folder, is an answer";
    EXPECT_FALSE(FileExists(deep.c_str(), &status));
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, status.code);
    EXPECT_TRUE(FileExists(file.c_str(), &status)) << "the status is not looked at";

    EXPECT_FALSE(IsFolderEmpty(folder.c_str(), NULL));
    EXPECT_TRUE(IsFolderEmpty((folder + "\\empty").c_str(), NULL));
    EXPECT_FALSE(IsFolderEmpty((folder + "\\a").c_str(), NULL));
    EXPECT_FALSE(IsFolderEmpty((folder + "\\a\\b").c_str(), NULL));
    EXPECT_TRUE(IsFolderEmpty(deep.c_str(), NULL)) << "cannot be listed";

    status = Clear();
    EXPECT_EQ(32100u, GetFolderSize(folder.c_str(), &status));
    EXPECT_EQ(0u, GetFolderSize(deep.c_str(), &status));
    EXPECT_EQ(2000u, GetFileSizeChecked((folder + "\\a\\two.bin").c_str(), &status));
    EXPECT_EQ(0u, status.code);
    for (std::string path : { folder + "\\none.bin", file }) {
        Holder holder(file);
        status = Clear();
        if (path == file) GetFolderSize(folder.c_str(), &status);
        else EXPECT_EQ(0u, GetFileSizeChecked(path.c_str(), &status));
        EXPECT_EQ(path == file ? (DWORD)ERROR_SHARING_VIOLATION : (DWORD)ERROR_FILE_NOT_FOUND, status.code);
        EXPECT_TRUE(Has(status.text, "Unable to open file (" + path + ")")) << status.text;
    }
    EXPECT_EQ(0u, GetFileSizeChecked((folder + "\\one.bin").c_str(), &status)) << "after a failure nothing is read";

    // The sum wraps at 32 bits (sparse files of 3 and 2 GB).
    for (auto big : { std::make_pair("\\empty\\three", 3LL << 30), { "\\empty\\two", 2LL << 30 } }) {
        HANDLE handle = CreateFileA((folder + big.first).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        LARGE_INTEGER end;
        end.QuadPart = big.second;
        SetFilePointerEx(handle, end, NULL, FILE_BEGIN);
        SetEndOfFile(handle);
        CloseHandle(handle);
    }
    status = Clear();
    EXPECT_EQ((DWORD)((5LL << 30) & 0xFFFFFFFF), GetFolderSize((folder + "\\empty").c_str(), &status));
    RemoveTree(folder);
}

TEST(MoveFileAtRestart, Windows9xRenameList)
{
    WindowsFamily nine(FALSE);
    std::string list = RestartList(), folder = ScratchFolder("restart-9x");
    std::string from = folder + "\\a new library.dll", to = folder + "\\the old library.dll";
    WriteFileBytes(from, "n");
    WriteFileBytes(to, "o");
    std::string fromShort = ShortPathOf(from), toShort = ShortPathOf(to), entry = "NUL=" + toShort + "\r\n";
    ASSERT_NE(from, fromShort) << "short names must differ from the long ones for this test";
    DeleteFileA(list.c_str());
    EXPECT_TRUE(MoveFileAtRestart(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_EQ("[rename]\r\n" + toShort + "=" + fromShort + "\r\n", ReadFileBytes(list));
    EXPECT_FALSE(MoveFileAtRestart(from.c_str(), to.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_COPY_ALLOWED));
    EXPECT_EQ((DWORD)ERROR_CALL_NOT_IMPLEMENTED, GetLastError());
    EXPECT_FALSE(MoveFileAtRestart((folder + "\\none.dll").c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_FALSE(MoveFileAtRestart(from.c_str(), (folder + "\\none.dll").c_str(), MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, GetLastError());

    struct { const char* before; std::string after; } cases[] = {
        { "[rename]\r\nA=B\r\n", "[rename]\r\nA=B\r\n" + entry },
        { "[boot]\r\na=1\r\n[Rename]\r\nX=Y\r\n\r\n[other]\r\nb=2\r\n", "[boot]\r\na=1\r\n[Rename]\r\nX=Y\r\n\r\n" + entry + "[other]\r\nb=2\r\n" },
        { "[boot]\r\n[RENAME]\r\nX=Y", "[boot]\r\n[RENAME]\r\nX=Y\r\n" + entry },
        { "[boot]\r\na=1", "[boot]\r\na=1\r\n[rename]\r\n" + entry },
        { "[boot]\n", "[boot]\n[rename]\r\n" + entry },
        { "", "[rename]\r\n" + entry },
        { "[rename] old\r\nX=Y\r\n", "[rename] old\r\nX=Y\r\n" + entry },  // the header's first eight characters count
        { "[renamed]\r\nX=Y\r\n", "[renamed]\r\nX=Y\r\n[rename]\r\n" + entry },
        { "[renam", "[renam\r\n[rename]\r\n" + entry },
    };
    for (auto& c : cases) {
        ASSERT_TRUE(WriteFileBytes(list, c.before));
        EXPECT_TRUE(MoveFileAtRestart(to.c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT));
        EXPECT_EQ(c.after, ReadFileBytes(list)) << "before: " << c.before;
    }
    // A path too long for a short name is refused and leaves no list.
    DeleteFileA(list.c_str());
    std::string path = folder;
    while (path.size() < 400) path += "\\abcdefghijklmnop";
    EXPECT_FALSE(MoveFileAtRestart(path.c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_FALSE(PathExists(list));
    RemoveTree(folder);
}

static std::vector<std::string> TempFiles()
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((std::string(folder) + "vds*.tmp").c_str(), &entry);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &entry))
        names.push_back(folder + std::string(entry.cFileName));
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return names;
}

TEST(CopyOrReplaceAtRestart, ATargetInUseIsReplacedAtRestartOnlyWhenAllowed)
{
    WindowsFamilyNT nt;
    ClearPendingRenames();
    std::string folder = ScratchFolder("replace"), source = folder + "\\source.dll", target = folder + "\\target.dll";
    ASSERT_TRUE(WriteFileBytes(source, Pattern(3000)));
    ASSERT_TRUE(WriteFileBytes(target, "in use"));
    std::vector<std::string> before = TempFiles(), after;
    ErrorStatus status = Clear();
    std::vector<DWORD> calls;
    {
        Holder holder(target);
        EXPECT_FALSE(CopyOrReplaceAtRestart(source.c_str(), target.c_str(), NULL, FALSE, RecordBytes, &calls, &status));
        EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, status.code);
        EXPECT_TRUE(Has(status.text, "Unable to copy file (\"" + source + "\" to \"" + target + "\")")) << status.text;
        status = Clear();
        EXPECT_TRUE(CopyOrReplaceAtRestart(source.c_str(), target.c_str(), NULL, TRUE, RecordBytes, &calls, &status));
        EXPECT_EQ(0u, status.code);
        after = TempFiles();
    }
    EXPECT_EQ((std::vector<DWORD>{ 2048, 952 }), calls);
    ASSERT_EQ(before.size() + 1, after.size());
    std::string temporary;
    for (auto& name : after)
        if (std::find(before.begin(), before.end(), name) == before.end()) temporary = name;
    EXPECT_EQ(Pattern(3000), ReadFileBytes(temporary));
    EXPECT_GE(FindRename(PendingRenames(), temporary, target), 0);
    EXPECT_EQ("in use", ReadFileBytes(target));
    DeleteFileA(temporary.c_str());
    ClearPendingRenames();

    // A free target is copied; a status that holds a code does nothing.
    EXPECT_FALSE(CopyOrReplaceAtRestart(source.c_str(), (folder + "\\free.dll").c_str(), NULL, TRUE, NULL, NULL, &status));
    EXPECT_EQ(Pattern(3000), ReadFileBytes(folder + "\\free.dll"));
    status.code = 5;
    EXPECT_FALSE(CopyOrReplaceAtRestart(source.c_str(), (folder + "\\new.dll").c_str(), NULL, TRUE, NULL, NULL, &status));
    EXPECT_FALSE(PathExists(folder + "\\new.dll"));

    // A replacement that cannot be scheduled (the 9x list is a folder) takes its temporary file along.
    WindowsFamily nine(FALSE);
    DeleteFileA(RestartList().c_str());
    ASSERT_TRUE(CreateDirectoryA(RestartList().c_str(), NULL));
    status = Clear();
    {
        Holder holder(target);
        EXPECT_FALSE(CopyOrReplaceAtRestart(source.c_str(), target.c_str(), NULL, TRUE, NULL, NULL, &status));
    }
    EXPECT_NE(0u, status.code);
    EXPECT_NE((DWORD)ERROR_SHARING_VIOLATION, status.code);
    EXPECT_EQ(before, TempFiles());
    RemoveDirectoryA(RestartList().c_str());
    RemoveTree(folder);
}

TEST(FolderPaths, ValidityAndCreation)
{
    for (const char* path : { "C:\\", "C:\\a", "C:\\a\\b", "z:\\Program Files\\Corvantis Vandrel", "C:\\a.b\\\xE9t\xE9",
                              "\\\\server\\share", "\\\\server\\share\\folder", "\\\\s\\s\\a\\b" })
        EXPECT_TRUE(IsValidFolderPath(path)) << path;
    for (const char* path : { "", "C:", "C:a", "C:\\a\\", "C:\\\\a", "C:\\a\\\\b", "a\\b", "\\a", "C:\\a|b", "C:\\a:b",
                              "C:\\a\\b*", "1:\\a", "C:/a", "\\\\server", "\\\\server\\", "\\\\server\\share\\",
                              "\\\\\\share\\x", "C:\\a\tb" })
        EXPECT_FALSE(IsValidFolderPath(path)) << path;
    for (int c = -128; c < 128; c++)
        EXPECT_EQ(c < 0 || (c >= 32 && !strchr("\"*/:<>?\\|", c)), IsValidPathChar((char)c) != 0) << c;

    std::string folder = ScratchFolder("create"), levels = folder + "\\one\\two\\three", longPath = folder;
    while (longPath.size() < 300) longPath += "\\abcdefghij";
    WriteFileBytes(folder + "\\file", "x");
    ASSERT_EQ((UINT)DRIVE_CDROM, GetDriveTypeA("R:\\")) << "the test prefix should map R: as a CD-ROM";
    struct { std::string path; DWORD code; } refused[] = {
        { folder, 0 }, { "C:\\", 0 }, { folder + "\\", ERROR_BAD_PATHNAME }, { "C:relative", ERROR_BAD_PATHNAME },
        { "Q:\\Apps", ERROR_PATH_NOT_FOUND }, { "R:\\Apps", ERROR_ACCESS_DENIED }, { folder + "\\file", ERROR_FILE_EXISTS },
        { levels, ERROR_CANCELLED },
    };
    HWND owner = MakeOwnerWindow();
    BoxAnswerer asked = Answering(IDNO, [&] {
        for (auto& c : refused) {
            ErrorStatus status = Clear();
            EXPECT_FALSE(CreateFolderPath(owner, c.path.c_str(), &status)) << c.path;
            EXPECT_EQ(c.code, status.code) << c.path;
        }
    });
    ASSERT_EQ(1u, asked.texts.size()) << "only a missing folder is asked about";
    EXPECT_EQ("The folder\n" + levels + "\ndoes not exist. Do you want the folder to be created?", asked.texts[0]);
    EXPECT_EQ("Corvantis Vandrel Setup", asked.captions[0]);
    EXPECT_FALSE(PathExists(folder + "\\one") || PathExists("R:\\Apps"));

    ErrorStatus status = Clear();
    asked = Answering(IDYES, [&] { EXPECT_TRUE(CreateFolderPath(owner, levels.c_str(), &status)); });
    EXPECT_EQ(1u, asked.texts.size());
    EXPECT_TRUE(PathExists(levels));
    EXPECT_TRUE(CreateFolderPath(NULL, (folder + "\\one\\four\\five").c_str(), &status)) << "no owner: nothing is asked";
    EXPECT_TRUE(PathExists(folder + "\\one\\four\\five"));
    EXPECT_EQ(0u, status.code);
    for (std::string path : { folder + "\\file\\sub", longPath, "\\\\" + std::string(300, 's') + "\\share\\folder" }) {
        status = Clear();
        EXPECT_FALSE(CreateFolderPath(NULL, path.c_str(), &status)) << path;
        EXPECT_NE(0u, status.code) << path;
    }
    EXPECT_FALSE(PathExists(longPath.substr(0, MAX_PATH - 1))) << "never a folder under a cut name";
    DestroyWindow(owner);
    RemoveTree(folder);
}

TEST(TextHelpers, NextLineWriteTextJoinPathAndTempNames)
{
    const char* text = "one\r\n\r\n\ntwo\nthree";
    EXPECT_STREQ("two\nthree", NextLine(text));
    EXPECT_STREQ("three", NextLine(NextLine(text)));
    EXPECT_EQ(text + strlen(text), NextLine(NextLine(NextLine(text))));
    EXPECT_STREQ("x", NextLine("\r\n\r\nx"));

    std::string path = ScratchFolder("write-text") + "\\out.txt";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    EXPECT_TRUE(WriteText(file, "abc\0def", 0xFFFFFFFF) && WriteText(file, "12345", 2) && WriteText(file, "", 0));
    CloseHandle(file);
    EXPECT_EQ("abc12", ReadFileBytes(path));
    file = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_FALSE(WriteText(file, "x", 1));
    CloseHandle(file);

    char buffer[MAX_PATH + 8];
    std::string f258(258, 'f'), f259(259, 'f'), n300(300, 'n');
    struct { std::string folder, name, expected; } joins[] = {
        { "C:\\a", "b.txt", "C:\\a\\b.txt" }, { "C:\\", "b.txt", "C:\\b.txt" }, { "", "b.txt", "b.txt" },
        { f258, "x", f258 + "\\" }, { f259, "x", f259 }, { n300, n300, n300.substr(0, MAX_PATH - 1) },
    };
    for (auto& j : joins) {
        memset(buffer, 'G', sizeof buffer);
        JoinPath(j.folder.c_str(), j.name.c_str(), buffer);
        EXPECT_EQ(j.expected, buffer);
        EXPECT_EQ(0, memcmp(buffer + MAX_PATH, "GGGGGGGG", 8));
    }

    MakeTempFileName(buffer);
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    EXPECT_EQ(0, lstrcmpiA(std::string(buffer).substr(0, strlen(folder) + 3).c_str(), (std::string(folder) + "vds").c_str()));
    EXPECT_EQ("", ReadFileBytes(buffer));
    DeleteFileA(buffer);
}
