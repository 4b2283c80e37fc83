// The file layer on real files of the test prefix: copying, replacement at restart by both
// mechanisms, folder paths and their creation.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "install/file_ops.h"
#include "unit/file_helpers.h"

static void RecordBytes(DWORD bytes, void* context) { ((std::vector<DWORD>*)context)->push_back(bytes); }
static std::string Pattern(size_t size)
{
    std::string bytes(size, 0);
    for (size_t i = 0; i < size; i++) bytes[i] = (char)(i * 7 + i / 256);
    return bytes;
}
static std::string RestartList()
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\wininit.ini";
}

TEST(CopyFileWithProgress, BlocksTimeAttributesAndFailures)
{
    std::string folder = ScratchFolder("copy"), source = folder + "\\source.bin", target = folder + "\\target.bin";
    ReadOnlyFilesRefuseWrites windows;  // each target after the first is read-only, as the last one left it
    for (auto c : { std::make_pair((size_t)0, std::vector<DWORD>{}), { 2048, { 2048 } }, { 5000, { 2048, 2048, 904 } } }) {
        WriteFileBytes(source, Pattern(c.first));
        HANDLE file = CreateFileA(source.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        FILETIME old = { 0x12345600, 0x01C00000 };
        SetFileTime(file, NULL, NULL, &old);
        CloseHandle(file);
        SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        std::vector<DWORD> calls;
        EXPECT_TRUE(CopyFileWithProgress(source.c_str(), target.c_str(), RecordBytes, &calls)) << GetLastError();
        WIN32_FILE_ATTRIBUTE_DATA data;
        GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data);
        EXPECT_EQ(c.second, calls) << c.first << " bytes";
        EXPECT_TRUE(ReadFileBytes(target) == Pattern(c.first) && data.dwFileAttributes == FILE_ATTRIBUTE_ARCHIVE && !CompareFileTime(&old, &data.ftLastWriteTime));
        SetFileAttributesA(source.c_str(), 0);
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    // A missing source, a target held elsewhere and a source that breaks after a block touch nothing.
    std::vector<DWORD> calls;
    EXPECT_TRUE(!CopyFileWithProgress((folder + "\\none").c_str(), target.c_str(), NULL, NULL) && GetLastError() == ERROR_FILE_NOT_FOUND);
    {
        Holder holder(target);
        EXPECT_TRUE(!CopyFileWithProgress(source.c_str(), target.c_str(), RecordBytes, &calls) && GetLastError() == ERROR_SHARING_VIOLATION);
    }
    const char* pipeName = "\\\\.\\pipe\\vandrel-copy-source";
    HANDLE pipe = CreateNamedPipeA(pipeName, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, NULL);
    HANDLE server = CreateThread(NULL, 0, [](LPVOID pipe) -> DWORD {
        DWORD written = 0;
        ConnectNamedPipe(pipe, NULL);
        WriteFile(pipe, Pattern(2048).data(), 2048, &written, NULL);
        FlushFileBuffers(pipe);
        return CloseHandle(pipe);
    }, pipe, 0, NULL);
    EXPECT_TRUE(!CopyFileWithProgress(pipeName, (folder + "\\partial.bin").c_str(), RecordBytes, &calls) && GetLastError() == ERROR_BROKEN_PIPE);
    WaitForSingleObject(server, 10000);
    EXPECT_EQ((std::vector<DWORD>{ 2048 }), calls);
    EXPECT_EQ(Pattern(5000) + "|<missing>", ReadFileBytes(target) + "|" + ReadFileBytes(folder + "\\partial.bin")) << "a partly written target is deleted";
}

// Sizes come from the folder listings, summed in 64 bits: a file held without sharing still counts.
TEST(Sizes, FromTheListingsHeldFilesIncluded)
{
    std::string folder = ScratchFolder("sizes"), held = folder + "\\a\\held.bin";
    CreateDirectoryA((folder + "\\a").c_str(), NULL);
    WriteFileBytes(folder + "\\one.bin", std::string(100, 'x')), WriteFileBytes(held, std::string(30000, 'y'));
    ErrorStatus status = Clear();
    Holder holder(held);
    EXPECT_EQ("30100 30000 0", std::to_string(GetFolderSize(folder.c_str(), &status)) + " " + std::to_string(GetFileSizeChecked(held.c_str(), &status)) +
                                   " " + std::to_string(status.code));
}

TEST(RestartReplacement, TheWindows9xListAndTargetsInUse)
{
    std::string list = RestartList(), folder = ScratchFolder("restart"), longPath = folder, temporary;
    std::string from = folder + "\\a new library.dll", to = folder + "\\the old library.dll";
    WriteFileBytes(from, Pattern(3000)), WriteFileBytes(to, "in use");
    char fromShort[MAX_PATH], toShort[MAX_PATH];
    GetShortPathNameA(from.c_str(), fromShort, MAX_PATH), GetShortPathNameA(to.c_str(), toShort, MAX_PATH);
    std::string entry = "NUL=" + std::string(toShort) + "\r\n";
    ASSERT_NE(from, fromShort) << "short names must differ from the long ones for this test";
    {
        WindowsFamily nine(FALSE);
        DeleteFileA(list.c_str());
        EXPECT_TRUE(MoveFileAtRestart(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT));
        EXPECT_EQ("[rename]\r\n" + std::string(toShort) + "=" + fromShort + "\r\n", ReadFileBytes(list));
        EXPECT_TRUE(!MoveFileAtRestart(from.c_str(), to.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_COPY_ALLOWED) && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED);
        EXPECT_FALSE(MoveFileAtRestart((folder + "\\none.dll").c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT));
        EXPECT_TRUE(!MoveFileAtRestart(from.c_str(), (folder + "\\none.dll").c_str(), 4) && GetLastError() == ERROR_FILE_NOT_FOUND);
        std::pair<std::string, std::string> cases[] = {
            { "[rename]\r\nA=B\r\n", "[rename]\r\nA=B\r\n" + entry }, { "[boot]\r\n[RENAME]\r\nX=Y", "[boot]\r\n[RENAME]\r\nX=Y\r\n" + entry },
            { "[boot]\r\na=1\r\n[Rename]\r\nX=Y\r\n\r\n[other]\r\nb=2\r\n", "[boot]\r\na=1\r\n[Rename]\r\nX=Y\r\n\r\n" + entry + "[other]\r\nb=2\r\n" },
            { "[boot]\r\na=1", "[boot]\r\na=1\r\n[rename]\r\n" + entry }, { "[boot]\n", "[boot]\n[rename]\r\n" + entry }, { "", "[rename]\r\n" + entry },
            { "[rename] old\r\nX=Y\r\n", "[rename] old\r\nX=Y\r\n" + entry },  // the header's first eight characters count
            { "[renamed]\r\nX=Y\r\n", "[renamed]\r\nX=Y\r\n[rename]\r\n" + entry }, { "[renam", "[renam\r\n[rename]\r\n" + entry },
        };
        for (auto& c : cases) {
            WriteFileBytes(list, c.first);
            EXPECT_TRUE(MoveFileAtRestart(to.c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT));
            EXPECT_EQ(c.second, ReadFileBytes(list)) << "before: " << c.first;
        }
        DeleteFileA(list.c_str());
        while (longPath.size() < 400) longPath += "\\abcdefghijklmnop";
        EXPECT_FALSE(MoveFileAtRestart(longPath.c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT) || PathExists(list)) << "a path too long";
        // A replacement that cannot be scheduled (the list is a folder) takes its staged file along.
        CreateDirectoryA(list.c_str(), NULL);
        ErrorStatus status = Clear();
        Holder holder(to);
        EXPECT_FALSE(CopyOrReplaceAtRestart(from.c_str(), to.c_str(), NULL, TRUE, NULL, NULL, &status));
        WIN32_FIND_DATAA staged;
        EXPECT_TRUE(status.code && status.code != ERROR_SHARING_VIOLATION && FindFirstFileA((folder + "\\vds*.tmp").c_str(), &staged) == INVALID_HANDLE_VALUE)
            << status.code;
        RemoveDirectoryA(list.c_str());
    }
    // The NT family: a target in use fails unless a restart is allowed; then the new file waits
    // beside it, on its volume, to replace it at restart. A status that holds a code does nothing.
    WindowsFamily nt(TRUE);
    ClearPendingRenames();
    ErrorStatus status = Clear();
    std::vector<DWORD> calls;
    {
        Holder holder(to);
        EXPECT_FALSE(CopyOrReplaceAtRestart(from.c_str(), to.c_str(), NULL, FALSE, RecordBytes, &calls, &status));
        EXPECT_TRUE(status.code == ERROR_SHARING_VIOLATION && Has(status.text, "Unable to copy file (\"" + from + "\" to \"" + to + "\")")) << status.text;
        status = Clear();
        EXPECT_TRUE(CopyOrReplaceAtRestart(from.c_str(), to.c_str(), NULL, TRUE, RecordBytes, &calls, &status));
    }
    std::vector<std::string> pending = PendingRenames();
    EXPECT_TRUE(pending.size() > 2 && !HasRename(pending, to, to) && HasRename(pending, "", to) && Has(pending[0], folder + "\\vds")) << pending[0];
    EXPECT_EQ(Pattern(3000) + "|in use", ReadFileBytes(pending[0].substr(4)) + "|" + ReadFileBytes(to)) << "the temporary file, the target";
    EXPECT_EQ((std::vector<DWORD>{ 2048, 952 }), calls);
    EXPECT_FALSE(CopyOrReplaceAtRestart(from.c_str(), (folder + "\\free.dll").c_str(), NULL, TRUE, NULL, NULL, &status));
    status.code = 5;
    EXPECT_FALSE(CopyOrReplaceAtRestart(from.c_str(), (folder + "\\new.dll").c_str(), NULL, TRUE, NULL, NULL, &status));
    EXPECT_EQ(Pattern(3000) + "|<missing>", ReadFileBytes(folder + "\\free.dll") + "|" + ReadFileBytes(folder + "\\new.dll"));
    ClearPendingRenames();
}

TEST(FolderPaths, ValidityAndCreation)
{
    for (const char* path : { "C:\\", "C:\\a", "C:\\a\\b", "z:\\Program Files\\Corvantis Vandrel", "C:\\a.b\\\xE9t\xE9", "\\\\server\\share",
                              "\\\\server\\share\\folder", "\\\\s\\s\\a\\b" })
        EXPECT_TRUE(IsValidFolderPath(path)) << path;
    for (const char* path : { "", "C:", "C:a", "C:\\a\\", "C:\\\\a", "C:\\a\\\\b", "a\\b", "\\a", "C:\\a|b", "C:\\a:b", "C:\\a\\b*", "1:\\a",
                              "C:/a", "\\\\server", "\\\\server\\", "\\\\server\\share\\", "\\\\\\share\\x", "C:\\a\tb" })
        EXPECT_FALSE(IsValidFolderPath(path)) << path;
    for (int c = -128; c < 128; c++) EXPECT_EQ(c < 0 || (c >= 32 && !strchr("\"*/:<>?\\|", c)), IsValidPathChar((char)c) != 0) << c;
    std::string folder = ScratchFolder("create"), levels = folder + "\\one\\two\\three", longPath = folder;
    while (longPath.size() < 300) longPath += "\\abcdefghij";
    WriteFileBytes(folder + "\\file", "x");
    ASSERT_EQ((UINT)DRIVE_CDROM, GetDriveTypeA("R:\\")) << "the test prefix should map R: as a CD-ROM";
    std::pair<std::string, DWORD> refused[] = {
        { folder, 0 }, { "C:\\", 0 }, { folder + "\\", ERROR_BAD_PATHNAME }, { "C:relative", ERROR_BAD_PATHNAME }, { "Q:\\Apps", ERROR_PATH_NOT_FOUND },
        { "R:\\Apps", ERROR_ACCESS_DENIED }, { folder + "\\file", ERROR_FILE_EXISTS }, { levels, ERROR_CANCELLED },
    };
    HWND owner = MakeOwnerWindow();
    ErrorStatus status = Clear();
    BoxAnswerer asked = Answering(IDNO, [&] {
        for (auto& c : refused) {
            status = Clear();
            EXPECT_TRUE(!CreateFolderPath(owner, c.first.c_str(), &status) && status.code == c.second) << c.first << ": " << status.code;
        }
    });
    EXPECT_EQ((std::vector<std::string>{ "The folder\n" + levels + "\ndoes not exist. Do you want the folder to be created?" }), asked.texts);
    EXPECT_EQ("Corvantis Vandrel Setup", asked.captions[0]);
    EXPECT_FALSE(PathExists(folder + "\\one") || PathExists("R:\\Apps"));
    status = Clear();
    asked = Answering(IDYES, [&] { EXPECT_TRUE(CreateFolderPath(owner, levels.c_str(), &status)); });
    EXPECT_TRUE(asked.texts.size() == 1 && PathExists(levels));
    EXPECT_TRUE(CreateFolderPath(NULL, (folder + "\\one\\four\\five").c_str(), &status) && PathExists(folder + "\\one\\four\\five")) << "no owner: no question";
    for (std::string path : { folder + "\\file\\sub", longPath, "\\\\" + std::string(300, 's') + "\\share\\folder" }) {
        status = Clear();
        EXPECT_TRUE(!CreateFolderPath(NULL, path.c_str(), &status) && status.code) << path;
    }
    EXPECT_FALSE(PathExists(longPath.substr(0, MAX_PATH - 1))) << "never a folder under a cut name";
    DestroyWindow(owner);
}
