// The setup script's fonts loaded from files beside the setup program, private to this process.
#include <gtest/gtest.h>
#include <string>
#include "core/error_status.h"
#include "core/globals.h"
#include "install/setup_fonts.h"
#include "unit/file_helpers.h"

// The sample font with its family name replaced everywhere (8-bit and UTF-16BE records of the
// name table) by another of the same length, so that the name is known to no one else.
static std::string RenamedFont(std::string bytes, const std::string& to)
{
    std::string from = "Tahoma", wideFrom, wideTo;
    for (size_t i = 0; i < from.size(); i++) wideFrom += std::string(1, '\0') + from[i], wideTo += std::string(1, '\0') + to[i];
    for (auto pair : { std::make_pair(from, to), std::make_pair(wideFrom, wideTo) })
        for (size_t at = bytes.find(pair.first); at != std::string::npos; at = bytes.find(pair.first, at + 1))
            bytes.replace(at, pair.first.size(), pair.second);
    return bytes;
}

// True when a font asked for by this face gets that face, not a substitute. Each question asks
// for a new height: the platform remembers the font it chose for a request.
static bool FaceIsKnown(const char* face)
{
    static int height = 10;
    HDC dc = CreateCompatibleDC(NULL);
    HFONT font = CreateFontA(-(height++), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    HGDIOBJ old = SelectObject(dc, font);
    char chosen[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof chosen, chosen);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return lstrcmpiA(chosen, face) == 0;
}

TEST(LoadSetupFonts, LoadsTheReadableFontsAndPassesOverTheRest)
{
    char windows[MAX_PATH], saved[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string sample = ReadFileBytes(std::string(windows) + "\\Fonts\\tahoma.ttf"), media = ScratchFolder("fonts");
    ASSERT_NE("<missing>", sample) << "every test prefix carries Wine's own fonts";
    CreateDirectoryA((media + "\\fonts").c_str(), NULL);
    WriteFileBytes(media + "\\fonts\\a.ttf", RenamedFont(sample, "Vndrla"));
    WriteFileBytes(media + "\\b.ttf", RenamedFont(sample, "Vndrlb"));
    WriteFileBytes(media + "\\held.ttf", RenamedFont(sample, "Vndrlc"));
    WriteFileBytes(media + "\\empty.ttf", "");
    for (const char* face : { "Vndrla", "Vndrlb", "Vndrlc" }) ASSERT_FALSE(FaceIsKnown(face)) << face;
    lstrcpyA(saved, SetupFolder);
    lstrcpyA(SetupFolder, (media + "\\").c_str());
    char script[] = "[Vandrel]\r\nProductName=0\r\n[fonts]\r\nmissing.ttf=1\r\nfonts\\a.ttf=\r\nheld.ttf\r\nheld.ttf=\r\n"
                    "empty.ttf=\r\nmissing\\c.ttf=\r\nb.ttf=0\r\n";
    ErrorStatus status = Clear();
    status.code = 5;
    LoadSetupFonts(script, &status);
    EXPECT_FALSE(FaceIsKnown("Vndrla")) << "a status that holds a code loads nothing";
    status = Clear();
    {
        Holder holder(media + "\\held.ttf");
        LoadSetupFonts(script, &status);
    }
    LoadSetupFonts(NULL, &status);
    lstrcpyA(SetupFolder, saved);
    EXPECT_EQ(0u, status.code);
    EXPECT_TRUE(FaceIsKnown("Vndrla") && FaceIsKnown("Vndrlb"));
    EXPECT_FALSE(FaceIsKnown("Vndrlc")) << "a font file open elsewhere is passed over";
    EXPECT_FALSE(PathExists(std::string(windows) + "\\Fonts\\a.ttf")) << "nothing is installed on the machine";
    RemoveTree(media);
}
