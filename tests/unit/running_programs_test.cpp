// Running-program detection with real processes: copies of the test child under the browser's
// file name and under a name that only ends with it.
#include <windows.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
#include "core/globals.h"
#include "resources/resource.h"
#include "wizard/running_programs.h"

TEST(PathNamesProgram, MatchesTheWholeFileNameInAnyCase)
{
    EXPECT_TRUE(PathNamesProgram("iexplore.exe", "iexplore.exe"));
    EXPECT_TRUE(PathNamesProgram("C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE", "iexplore.exe"));
    EXPECT_TRUE(PathNamesProgram("C:iExplore.Exe", "iexplore.exe"));
    EXPECT_FALSE(PathNamesProgram("C:\\tools\\myiexplore.exe", "iexplore.exe"));
    EXPECT_FALSE(PathNamesProgram("C:\\tools/iexplore.exe", "iexplore.exe"));
    EXPECT_FALSE(PathNamesProgram("explore.exe", "iexplore.exe"));
    EXPECT_FALSE(PathNamesProgram("C:\\iexplore.exe.bak", "iexplore.exe"));
    EXPECT_FALSE(PathNamesProgram("C:\\x\\iexplore.exe", ""));
}

static std::string ChildPath()
{
    const char* path = getenv("TEST_CHILD");
    std::string result = path ? path : "";
    if (!result.empty() && result[0] == '/') {
        result = "Z:" + result;
        for (char& c : result)
            if (c == '/') c = '\\';
    }
    return result;
}

// Starts a copy of the test child under the given file name and waits until it runs its own
// code (it records its command line); it then sleeps until terminated.
static HANDLE StartCopyNamed(const char* fileName)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string directory = std::string(folder) + "browser-test";
    CreateDirectoryA(directory.c_str(), NULL);
    std::string path = directory + "\\" + fileName;
    if (!CopyFileA(ChildPath().c_str(), path.c_str(), FALSE)) return NULL;
    std::string record = path + ".started";
    DeleteFileA(record.c_str());
    std::string commandLine = "\"" + path + "\" record \"" + record + "\" sleep 60000";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return NULL;
    CloseHandle(process.hThread);
    for (int i = 0; i < 500 && GetFileAttributesA(record.c_str()) == INVALID_FILE_ATTRIBUTES; i++) Sleep(20);
    return process.hProcess;
}

static void Stop(HANDLE process)
{
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

// Both walks: the process-status one of the NT family and the tool-help snapshot.
static bool RunningByEitherWalk(bool* bySnapshot)
{
    BOOL saved = IsWindowsNT;
    IsWindowsNT = TRUE;
    bool byProcessStatus = IsProgramRunning(IDS_BROWSER_PROGRAM);
    IsWindowsNT = FALSE;
    *bySnapshot = IsProgramRunning(IDS_BROWSER_PROGRAM);
    IsWindowsNT = saved;
    return byProcessStatus;
}

TEST(IsProgramRunning, FindsTheBrowserByFileNameOnly)
{
    ASSERT_FALSE(ChildPath().empty());
    bool bySnapshot = true;
    EXPECT_FALSE(RunningByEitherWalk(&bySnapshot));
    EXPECT_FALSE(bySnapshot);

    HANDLE lookalike = StartCopyNamed("myiexplore.exe");
    ASSERT_TRUE(lookalike != NULL);
    EXPECT_FALSE(RunningByEitherWalk(&bySnapshot));
    EXPECT_FALSE(bySnapshot);

    HANDLE browser = StartCopyNamed("IExplore.EXE");
    ASSERT_TRUE(browser != NULL);
    EXPECT_TRUE(RunningByEitherWalk(&bySnapshot));
    EXPECT_TRUE(bySnapshot);

    Stop(browser);
    Stop(lookalike);
    EXPECT_FALSE(RunningByEitherWalk(&bySnapshot));
    EXPECT_FALSE(bySnapshot);
}
