// Version resources of files and the version macro, read from small sample programs that the
// build makes (tests/tools/version_sample.rc): A 7.2.1.9 beta (0409, 1252), B 5.0.3 (0407,
// 1200), C two translations, D no translation, E a translation of two bytes.
#include <gtest/gtest.h>
#include <string>
#include "core/error_status.h"
#include "core/script.h"
#include "core/version.h"
#include "script_test_support.h"
#include "unit/file_helpers.h"

static std::string Sample(char variant) { return BuiltFile((std::string("VERSION_SAMPLE_") + variant).c_str()); }

static bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(VersionInfo, TheFirstTranslationItsValuesAndEachFailure)
{
    struct { std::string path; WORD language, codePage; const char* product; } samples[] = {
        { Sample('A'), 0x409, 1252, "7.2.1.9 beta" }, { Sample('B'), 0x407, 1200, "5.0.3" }, { Sample('C'), 0x409, 1252, "7.2.1.9 beta" },
    };
    for (auto& s : samples) {
        ErrorStatus status = ClearStatus();
        VersionInfo* info = LoadVersionInfo(NULL, s.path.c_str(), &status);
        ASSERT_NE(nullptr, info) << status.text;
        EXPECT_EQ(s.language, info->language);
        EXPECT_EQ(s.codePage, info->codePage);
        EXPECT_STREQ(s.product, (const char*)QueryVersionValue(info, 930, &status));
        GlobalFree(info);
    }
    ErrorStatus status = ClearStatus();
    VersionInfo* info = LoadVersionInfo(NULL, Sample('A').c_str(), &status);
    VS_FIXEDFILEINFO* fixed = (VS_FIXEDFILEINFO*)QueryVersionValue(info, 0, &status);
    ASSERT_NE(nullptr, fixed);
    EXPECT_EQ(0x00070002u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00010009u, fixed->dwProductVersionLS);
    EXPECT_EQ(nullptr, QueryVersionValue(info, 931, &status));
    EXPECT_TRUE(EndsWith(status.text, "\r\nVerQueryValue(\\StringFileInfo\\040904e4\\NoSuchValue) failed")) << status.text;
    EXPECT_EQ(nullptr, QueryVersionValue(info, 0, &status)) << "a status that holds a failure does nothing";
    GlobalFree(info);

    HMODULE module = LoadLibraryExA(Sample('B').c_str(), NULL, DONT_RESOLVE_DLL_REFERENCES);
    status = ClearStatus();
    info = LoadVersionInfo(module, NULL, &status);
    ASSERT_NE(nullptr, info) << status.text;
    EXPECT_EQ(0x407, info->language);
    GlobalFree(info);
    FreeLibrary(module);

    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    struct { HMODULE module; std::string path; DWORD code; std::string ending; } failures[] = {
        { NULL, "C:\\no\\such\\program.exe", 0, "\r\nGetFileVersionInfoSize(C:\\no\\such\\program.exe) failed" },
        { NULL, "", 0, "\r\nGetFileVersionInfoSize(" + std::string(self) + ") failed" },  // this program has none
        { (HMODULE)(UINT_PTR)0x7ff00000, "", 0, "\r\nUnable to get module file name" },
        { NULL, Sample('D'), 2, "VerQueryValue(\\VarFileInfo\\Translation) failed" },
        { NULL, Sample('E'), 0x8000FFFF, "" },
    };
    for (auto& f : failures) {
        status = ClearStatus();
        EXPECT_EQ(nullptr, LoadVersionInfo(f.module, f.path.empty() ? NULL : f.path.c_str(), &status)) << f.path;
        EXPECT_TRUE(f.code ? status.code == f.code : status.code != 0) << f.path << ": " << status.code;
        EXPECT_TRUE(EndsWith(status.text, f.ending)) << status.text;
    }
    EXPECT_EQ(nullptr, LoadVersionInfo(NULL, Sample('A').c_str(), &status));
    EXPECT_EQ(0x8000FFFFu, status.code);
}

// Both passes, as GetExpandedScriptValue runs them; the writing pass writes what was counted.
static std::string Expand(const std::string& text)
{
    char cache[256] = "";
    size_t percent = text.find('%');
    const char* first = text.c_str() + (percent == std::string::npos ? text.size() : percent);
    DWORD length = ExpandVersionMacro(text.c_str(), first, NULL, cache);
    std::string output(length + 8, 'Z');
    EXPECT_EQ(length, ExpandVersionMacro(text.c_str(), first, &output[0], cache));
    EXPECT_EQ(std::string(1, '\0') + 'Z', output.substr(length, 2));
    return output.substr(0, length);
}

TEST(VersionMacro, ExpandsToTheFirstFilesProductVersion)
{
    std::string a = "%productversion(" + Sample('A'), b = "%ProductVersion(" + Sample('B');
    struct { std::string text, expected; } cases[] = {
        { "no macro here", "no macro here" },
        { "Version " + a + ")%.", "Version 7.2.1.9 beta." },
        { "Version %PRODUCTversion(" + Sample('A') + ")%.", "Version 7.2.1.9 beta." },
        { "Version " + b + ")% of 100% and %product", "Version 5.0.3 of 100% and %product" },
        { "%productversion", "%productversion" },
        { "Version " + a, "Version 7.2.1.9 beta" },  // without ")%" the rest is the file's name
        { "v" + a + ")", "v" },
        { a + ")% and " + b + ")%", "7.2.1.9 beta and 7.2.1.9 beta" },  // every macro shows the first file's
        { b + ")% and " + a + ")%", "5.0.3 and 5.0.3" },
        { "%productversion(C:\\missing.exe)% and " + a + ")%", " and " },
        { "[%productversion(" + Sample('C') + ")%][%productversion(" + Sample('D') + ")%]", "[][]" },
    };
    for (auto& c : cases) EXPECT_EQ(c.expected, Expand(c.text)) << c.text;
    char cache[256] = "1.0";
    std::string text = "v" + b + ")%";
    EXPECT_EQ(4u, ExpandVersionMacro(text.c_str(), text.c_str() + 1, NULL, cache)) << "a filled cache is used as it is";

    GuardedText script("[W]\r\ntitle=Vandrel " + a + ")% Setup\r\nplain=Welcome  \r\nempty=\r\n");
    char* title = GetExpandedScriptValue(script.text(), "W", "title");
    ASSERT_NE(nullptr, title);
    EXPECT_STREQ("Vandrel 7.2.1.9 beta Setup", title);
    EXPECT_EQ(strlen(title) + 1, GlobalSize(title));
    GlobalFree(title);
    char* plain = GetExpandedScriptValue(script.text(), "W", "plain");
    EXPECT_STREQ("Welcome", plain);
    GlobalFree(plain);
    EXPECT_EQ(nullptr, GetExpandedScriptValue(script.text(), "W", "empty"));
    EXPECT_EQ(nullptr, GetExpandedScriptValue(NULL, "W", "title"));
}
