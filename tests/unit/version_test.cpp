// Version resources of files and the version macro, read from small sample programs that the
// build makes (tests/tools/version_sample.rc).
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
#include "core/error_status.h"
#include "core/script.h"
#include "core/version.h"
#include "script_test_support.h"

static const WORD ProductVersionFormat = 930;
static const WORD MissingValueFormat = 931;

// A sample program's path as Wine sees it.
static std::string Sample(char variant)
{
    std::string name = std::string("VERSION_SAMPLE_") + variant;
    const char* path = getenv(name.c_str());
    std::string result = path ? path : "";
    if (!result.empty() && result[0] == '/') {
        result = "Z:" + result;
        for (char& c : result)
            if (c == '/') c = '\\';
    }
    return result;
}

static bool EndsWith(const char* text, const std::string& end)
{
    std::string s = text;
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

TEST(VersionInfo, ReadsTheFirstTranslationAndItsValues)
{
    ErrorStatus status = ClearStatus();
    VersionInfo* info = LoadVersionInfo(NULL, Sample('A').c_str(), &status);
    ASSERT_EQ(0u, status.code) << status.text;
    ASSERT_NE(nullptr, info);
    EXPECT_EQ(0x409, info->language);
    EXPECT_EQ(1252, info->codePage);

    VS_FIXEDFILEINFO* fixed = (VS_FIXEDFILEINFO*)QueryVersionValue(info, 0, &status);
    ASSERT_NE(nullptr, fixed);
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(0x00070002u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00010009u, fixed->dwProductVersionLS);
    const char* product = (const char*)QueryVersionValue(info, ProductVersionFormat, &status);
    ASSERT_NE(nullptr, product);
    EXPECT_STREQ("7.2.1.9 beta", product);

    EXPECT_EQ(nullptr, QueryVersionValue(info, MissingValueFormat, &status));
    EXPECT_EQ(2u, status.code);
    EXPECT_TRUE(EndsWith(status.text, "VerQueryValue(\\StringFileInfo\\040904e4\\NoSuchValue) failed")) << status.text;
    GlobalFree(info);

    // Another language and code page fill the sub-block's name.
    status = ClearStatus();
    info = LoadVersionInfo(NULL, Sample('B').c_str(), &status);
    ASSERT_EQ(0u, status.code) << status.text;
    EXPECT_EQ(0x407, info->language);
    EXPECT_EQ(1200, info->codePage);
    EXPECT_STREQ("5.0.3", (const char*)QueryVersionValue(info, ProductVersionFormat, &status));
    GlobalFree(info);

    // Of two translations, the first counts.
    info = LoadVersionInfo(NULL, Sample('C').c_str(), &status);
    ASSERT_EQ(0u, status.code) << status.text;
    EXPECT_EQ(0x409, info->language);
    EXPECT_STREQ("7.2.1.9 beta", (const char*)QueryVersionValue(info, ProductVersionFormat, &status));
    GlobalFree(info);

    // A loaded module's own file.
    HMODULE module = LoadLibraryExA(Sample('B').c_str(), NULL, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(nullptr, module);
    info = LoadVersionInfo(module, NULL, &status);
    ASSERT_EQ(0u, status.code) << status.text;
    EXPECT_EQ(0x407, info->language);
    GlobalFree(info);
    FreeLibrary(module);
}

TEST(VersionInfo, EachFailureHasItsText)
{
    ErrorStatus status = ClearStatus();
    std::string missing = "C:\\no\\such\\program.exe";
    EXPECT_EQ(nullptr, LoadVersionInfo(NULL, missing.c_str(), &status));
    EXPECT_NE(0u, status.code);
    EXPECT_TRUE(EndsWith(status.text, "\r\nGetFileVersionInfoSize(" + missing + ") failed")) << status.text;

    // This test program has no version resource at all.
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    status = ClearStatus();
    EXPECT_EQ(nullptr, LoadVersionInfo(NULL, NULL, &status));
    EXPECT_NE(0u, status.code);
    EXPECT_TRUE(EndsWith(status.text, "GetFileVersionInfoSize(" + std::string(self) + ") failed")) << status.text;

    status = ClearStatus();
    EXPECT_EQ(nullptr, LoadVersionInfo((HMODULE)(UINT_PTR)0x7ff00000, NULL, &status));
    EXPECT_NE(0u, status.code);
    EXPECT_TRUE(EndsWith(status.text, "Unable to get module file name")) << status.text;

    status = ClearStatus();
    EXPECT_EQ(nullptr, LoadVersionInfo(NULL, Sample('D').c_str(), &status));
    EXPECT_EQ(2u, status.code);
    EXPECT_TRUE(EndsWith(status.text, "VerQueryValue(\\VarFileInfo\\Translation) failed")) << status.text;

    status = ClearStatus();
    EXPECT_EQ(nullptr, LoadVersionInfo(NULL, Sample('E').c_str(), &status));
    EXPECT_EQ(0x8000FFFFu, status.code);

    // A status that already holds a failure: nothing is done.
    EXPECT_EQ(nullptr, LoadVersionInfo(NULL, Sample('A').c_str(), &status));
    EXPECT_EQ(0x8000FFFFu, status.code);
}

// Both passes, as GetExpandedScriptValue runs them.
static std::string Expand(const std::string& text)
{
    char cache[256] = "";
    size_t percent = text.find('%');
    const char* first = text.c_str() + (percent == std::string::npos ? text.size() : percent);
    DWORD length = ExpandVersionMacro(text.c_str(), first, NULL, cache);
    std::string output(length + 8, 'Z');
    EXPECT_EQ(length, ExpandVersionMacro(text.c_str(), first, &output[0], cache));
    EXPECT_EQ('\0', output[length]);
    EXPECT_EQ('Z', output[length + 1]) << "the writing pass wrote more than the measuring pass counted";
    return output.substr(0, length);
}

TEST(VersionMacro, ExpandsToTheFirstFilesProductVersion)
{
    std::string a = Sample('A'), b = Sample('B');
    EXPECT_EQ("no macro here", Expand("no macro here"));
    EXPECT_EQ("Version 7.2.1.9 beta.", Expand("Version %productversion(" + a + ")%."));
    EXPECT_EQ("Version 7.2.1.9 beta.", Expand("Version %PRODUCTversion(" + a + ")%."));
    EXPECT_EQ("Version 5.0.3 of 100% and %product", Expand("Version %ProductVersion(" + b + ")% of 100% and %product"));
    EXPECT_EQ("%productversion", Expand("%productversion"));
    // Without ")%" the rest of the text is the file's name.
    EXPECT_EQ("Version 7.2.1.9 beta", Expand("Version %productversion(" + a));
    EXPECT_EQ("v", Expand("v%productversion(" + a + ")"));
    // Two macros naming different files both show the first file's version.
    EXPECT_EQ("7.2.1.9 beta and 7.2.1.9 beta",
              Expand("%productversion(" + a + ")% and %productversion(" + b + ")%"));
    EXPECT_EQ("5.0.3 and 5.0.3", Expand("%productversion(" + b + ")% and %productversion(" + a + ")%"));
    // A file that cannot be read empties every macro of the text.
    EXPECT_EQ(" and ", Expand("%productversion(C:\\missing.exe)% and %productversion(" + a + ")%"));
    // Two translations, or none: no version.
    EXPECT_EQ("[]", Expand("[%productversion(" + Sample('C') + ")%]"));
    EXPECT_EQ("[]", Expand("[%productversion(" + Sample('D') + ")%]"));

    // A cache that already holds a version is used as it is.
    char cache[256] = "1.0";
    std::string text = "v%productversion(" + b + ")%";
    EXPECT_EQ(4u, ExpandVersionMacro(text.c_str(), text.c_str() + 1, NULL, cache));
    EXPECT_STREQ("1.0", cache);
}

TEST(VersionMacro, ExpandedScriptValues)
{
    std::string a = Sample('A');
    std::string script = "[Welcome]\r\ntitle=Vandrel %productVersion(" + a + ")% Setup\r\nplain=Welcome  \r\nempty=\r\n";
    GuardedText text(script);
    char* title = GetExpandedScriptValue(text.text(), "Welcome", "title");
    ASSERT_NE(nullptr, title);
    EXPECT_STREQ("Vandrel 7.2.1.9 beta Setup", title);
    EXPECT_EQ(strlen(title) + 1, GlobalSize(title));
    GlobalFree(title);
    char* plain = GetExpandedScriptValue(text.text(), "Welcome", "plain");
    ASSERT_NE(nullptr, plain);
    EXPECT_STREQ("Welcome", plain);
    GlobalFree(plain);
    EXPECT_EQ(nullptr, GetExpandedScriptValue(text.text(), "Welcome", "empty"));
    EXPECT_EQ(nullptr, GetExpandedScriptValue(text.text(), "Welcome", "missing"));
    EXPECT_EQ(nullptr, GetExpandedScriptValue(NULL, "Welcome", "title"));
    EXPECT_EQ(script + '\0', text.bytes());
}
