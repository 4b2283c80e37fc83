// Version resources and the version macro on the samples of tests/tools/version_sample.rc: A 7.2.1.9
// beta (0409, 1252), B 5.0.3 (0407, 1200), C two translations, D none, E one of two bytes.
#include <gtest/gtest.h>
#include <string>
#include "core/script.h"
#include "core/version.h"
#include "unit/file_helpers.h"

static std::string Sample(char variant) { return BuiltFile((std::string("VERSION_SAMPLE_") + variant).c_str()); }
// "language codePage product", or the status's code and the end of its text.
static std::string Loaded(HMODULE module, const std::string& path)
{
    ErrorStatus status = Clear();
    VersionInfo* info = LoadVersionInfo(module, path.empty() ? NULL : path.c_str(), &status);
    if (!info) return std::to_string(status.code) + " " + std::string(status.text).substr(std::string(status.text).rfind('\n') + 1);
    const char* product = (const char*)QueryVersionValue(info, 930, &status);
    std::string result = std::to_string(info->language) + " " + std::to_string(info->codePage) + " " + (product ? product : "");
    GlobalFree(info);
    return result;
}

TEST(VersionInfo, TheFirstTranslationItsValuesAndEachFailure)
{
    HMODULE module = LoadLibraryExA(Sample('B').c_str(), NULL, DONT_RESOLVE_DLL_REFERENCES);
    EXPECT_EQ(Text({ "1033 1252 7.2.1.9 beta", "1031 1200 5.0.3", "1033 1252 7.2.1.9 beta", "1031 1200 5.0.3", "2 VerQueryValue(\\VarFileInfo\\Translation) failed",
                     "2147549183 Unknown error (2147549183)", "126 Unable to get module file name" }),
              Text({ Loaded(NULL, Sample('A')), Loaded(NULL, Sample('B')), Loaded(NULL, Sample('C')), Loaded(module, ""), Loaded(NULL, Sample('D')),
                     Loaded(NULL, Sample('E')), Loaded((HMODULE)(UINT_PTR)0x7ff00000, "") }));
    FreeLibrary(module);
    ErrorStatus status = Clear();
    VersionInfo* info = LoadVersionInfo(NULL, Sample('A').c_str(), &status);
    EXPECT_FALSE(QueryVersionValue(info, 931, &status) || QueryVersionValue(info, 0, &status) || LoadVersionInfo(NULL, Sample('A').c_str(), &status))
        << "a missing value fails, and a status that holds a failure does nothing";
    EXPECT_TRUE(strstr(status.text, "\r\nVerQueryValue(\\StringFileInfo\\040904e4\\NoSuchValue) failed")) << status.text;
    GlobalFree(info);
}
// Both passes, as GetExpandedScriptValue runs them; the writing pass writes what was counted.
static std::string Expand(const std::string& text)
{
    char cache[256] = "";
    const char* first = text.c_str() + std::min(text.find('%'), text.size());
    DWORD length = ExpandVersionMacro(text.c_str(), first, NULL, cache);
    std::string output(length + 8, 'Z');
    EXPECT_EQ(length, ExpandVersionMacro(text.c_str(), first, &output[0], cache));
    EXPECT_EQ(std::string(1, '\0') + 'Z', output.substr(length, 2));
    return output.substr(0, length);
}

TEST(VersionMacro, ExpandsToTheFirstFilesProductVersion)
{
    std::string a = "%productversion(" + Sample('A'), b = "%ProductVersion(" + Sample('B');
    std::pair<std::string, std::string> cases[] = {
        { "no macro here", "no macro here" }, { "Version %PRODUCTversion(" + Sample('A') + ")%.", "Version 7.2.1.9 beta." },
        { "Version " + b + ")% of 100% and %product", "Version 5.0.3 of 100% and %product" }, { "%productversion", "%productversion" },
        { "Version " + a, "Version 7.2.1.9 beta" }, { "v" + a + ")", "v" },  // without ")%" the rest is the file's name
        { a + ")% and " + b + ")%", "7.2.1.9 beta and 7.2.1.9 beta" }, { b + ")% and " + a + ")%", "5.0.3 and 5.0.3" },
        { "%productversion(C:\\missing.exe)% and " + a + ")%", " and " }, { "[%productversion(" + Sample('C') + ")%]", "[]" },
        { "[%productversion(" + Sample('D') + ")%]", "[]" },
    };
    for (auto& c : cases) EXPECT_EQ(c.second, Expand(c.first)) << c.first;
    char cache[256] = "1.0";
    std::string text = "v" + b + ")%";
    EXPECT_EQ(4u, ExpandVersionMacro(text.c_str(), text.c_str() + 1, NULL, cache)) << "a filled cache is used";
    GuardedText script("[W]\r\ntitle=Vandrel " + a + ")% Setup\r\nplain=Welcome  \r\nempty=\r\n");
    char *title = GetExpandedScriptValue(script.text(), "W", "title"), *plain = GetExpandedScriptValue(script.text(), "W", "plain");
    EXPECT_EQ("Vandrel 7.2.1.9 beta Setup|Welcome|27", std::string(title) + "|" + plain + "|" + std::to_string(GlobalSize(title)));
    EXPECT_FALSE(GetExpandedScriptValue(script.text(), "W", "empty") || GetExpandedScriptValue(NULL, "W", "title"));
    GlobalFree(title), GlobalFree(plain);
}
