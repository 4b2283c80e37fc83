// The setup script's fonts loaded from files beside the setup program, private to this process.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
#include "core/error_status.h"
#include "core/globals.h"
#include "install/setup_fonts.h"
#include "unit/file_helpers.h"

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

// The sample font with its family name replaced everywhere (8-bit and UTF-16BE records of the
// name table) by another name of the same length, so that the name is known to no one else.
static std::string RenamedFont(const std::string& bytes, const std::string& from, const std::string& to)
{
    std::string result = bytes, wideFrom, wideTo;
    for (size_t i = 0; i < from.size(); i++) {
        wideFrom += '\0';
        wideFrom += from[i];
        wideTo += '\0';
        wideTo += to[i];
    }
    int replaced = 0;
    for (size_t at = result.find(from); at != std::string::npos; at = result.find(from, at + 1), replaced++)
        result.replace(at, from.size(), to);
    for (size_t at = result.find(wideFrom); at != std::string::npos; at = result.find(wideFrom, at + 1), replaced++)
        result.replace(at, wideFrom.size(), wideTo);
    EXPECT_GT(replaced, 0);
    return result;
}

// True when a font asked for by this face name is given that face, not a substitute. Each
// question asks for a new height: the platform remembers the font it chose for a request.
static bool FaceIsKnown(const char* face)
{
    static int height = 10;
    HDC dc = CreateCompatibleDC(NULL);
    HFONT font = CreateFontA(-(height++), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH, face);
    HGDIOBJ old = SelectObject(dc, font);
    char chosen[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof chosen, chosen);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return lstrcmpiA(chosen, face) == 0;
}

struct SetupFolderAt {
    char saved[MAX_PATH];
    explicit SetupFolderAt(const std::string& folder)
    {
        lstrcpynA(saved, SetupFolder, MAX_PATH);
        lstrcpynA(SetupFolder, (folder + "\\").c_str(), MAX_PATH);
    }
    ~SetupFolderAt() { lstrcpynA(SetupFolder, saved, MAX_PATH); }
};

TEST(LoadSetupFonts, LoadsTheReadableFontsAndPassesOverTheRest)
{
    // Every test prefix carries Wine's own fonts in its Fonts folder.
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string sample = ReadFileBytes(std::string(windows) + "\\Fonts\\tahoma.ttf");
    ASSERT_NE("<missing>", sample) << "the prefix has no Fonts\\tahoma.ttf";
    std::string media = ScratchFolder("fonts-media");
    SetupFolderAt setupFolder(media);
    CreateDirectoryA((media + "\\fonts").c_str(), NULL);
    ASSERT_TRUE(WriteFileBytes(media + "\\fonts\\a.ttf", RenamedFont(sample, "Tahoma", "Vndrla")));
    ASSERT_TRUE(WriteFileBytes(media + "\\b.ttf", RenamedFont(sample, "Tahoma", "Vndrlb")));
    ASSERT_TRUE(WriteFileBytes(media + "\\held.ttf", RenamedFont(sample, "Tahoma", "Vndrlc")));
    ASSERT_TRUE(WriteFileBytes(media + "\\empty.ttf", ""));
    for (const char* face : { "Vndrla", "Vndrlb", "Vndrlc" }) ASSERT_FALSE(FaceIsKnown(face)) << face;

    char script[] =
        "[Vandrel]\r\nProductName=0\r\n"
        "[fonts]\r\nmissing.ttf=1\r\nfonts\\a.ttf=\r\nheld.ttf\r\nheld.ttf=\r\nempty.ttf=\r\nmissing\\c.ttf=\r\nb.ttf=0\r\n";
    // A status that already holds a code loads nothing.
    ErrorStatus status;
    status.code = 5;
    LoadSetupFonts(script, &status);
    EXPECT_FALSE(FaceIsKnown("Vndrla"));
    EXPECT_EQ(5u, status.code);

    // A font file open elsewhere cannot be read and is passed over like a missing one.
    HANDLE holder = CreateFileA((media + "\\held.ttf").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    status.code = 0;
    LoadSetupFonts(script, &status);
    CloseHandle(holder);
    EXPECT_EQ(0u, status.code);
    EXPECT_TRUE(FaceIsKnown("Vndrla"));
    EXPECT_TRUE(FaceIsKnown("Vndrlb"));
    EXPECT_FALSE(FaceIsKnown("Vndrlc"));
    // Nothing is installed on the machine.
    char fonts[MAX_PATH];
    GetWindowsDirectoryA(fonts, sizeof fonts);
    EXPECT_FALSE(PathExists(std::string(fonts) + "\\Fonts\\a.ttf"));

    // A script without fonts, or no script at all, is no failure.
    char none[] = "[Other]\r\nx=1\r\n";
    LoadSetupFonts(none, &status);
    LoadSetupFonts(NULL, &status);
    EXPECT_EQ(0u, status.code);
    RemoveTree(media);
}
