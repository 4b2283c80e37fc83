// What the randomized test does not build: names that only lstrcmpiA calls equal, names given as
// string ids, image variants by screen resolution, key lists cut to their buffer, megabyte lines,
// and reading and writing whole files.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core/error_status.h"
#include "core/script.h"
#include "resources/resource.h"
#include "script_test_support.h"

static std::string Value(char* text, const char* section, const char* key, const char* defaultValue = "<none>",
                         DWORD size = 256)
{
    std::vector<char> buffer(size + 16, 'Z');
    DWORD length = GetScriptValue(text, section, key, defaultValue, buffer.data(), size);
    EXPECT_EQ('Z', buffer[size]) << "written past the buffer";
    EXPECT_EQ(strlen(buffer.data()), length);
    return buffer.data();
}

// Every pair of single characters and names that only some collations find equal: a lookup
// finds a key, or a section, exactly when lstrcmpiA calls the two names equal.
TEST(ScriptLookup, NamesCompareAsLstrcmpiA)
{
    std::vector<std::string> names;
    for (int c = 1; c < 256; c++)
        if (c != '\r' && c != '\n' && c != '=') names.push_back(std::string("k") + (char)c);
    for (const char* word : { "coop", "co-op", "coo-p", "co'op", "CO-OP", "a-b", "ab", "a--b", "ae", "\xE6", "AE", "\xC6",
                              "ss", "\xDF", "Strasse", "Stra\xDF" "e", "a\xAD" "b", "\xE9t\xE9", "\xC9T\xC9", "a\tb",
                              "a b", "a\x01" "b", "oe", "\x9C", "-", "'", "", "--", "V\xE4ndrel\\a.dll",
                              "v\xC4NDREL\\A.DLL", "V\xE4ndrel\\b.dll", "V\xE4ndrel\\a.dl", "V\xE4ndrel\\a.dll\xAD",
                              "V\xE4ndrel\\a-b", "V\xE4ndrel\\ab", "x\xE6", "xae", "XAE", "\xE6" "b", "\xE6" "B",
                              "a-\xE9", "A-\xC9", "\xE9-a", "]x" })
        names.push_back(word);
    int mismatches = 0;
    for (const std::string& candidate : names) {
        bool header = candidate.find(']') == std::string::npos;
        GuardedText keyed("[S]\r\n" + candidate + "=hit\r\n"), sectioned("[" + candidate + "]\r\nk=hit");
        for (const std::string& wanted : names) {
            bool equal = lstrcmpiA(candidate.c_str(), wanted.c_str()) == 0;
            if (equal != (Value(keyed.text(), "S", wanted.c_str(), "miss", 8) == "hit") && ++mismatches < 10)
                ADD_FAILURE() << "key [" << candidate << "] looked up as [" << wanted << "]: lstrcmpiA says " << equal;
            if (header && equal != (Value(sectioned.text(), wanted.c_str(), "k", "miss", 8) == "hit") && ++mismatches < 10)
                ADD_FAILURE() << "section [" << candidate << "] looked up as [" << wanted << "]";
        }
    }
    EXPECT_EQ(0, mismatches);
}

TEST(ScriptLookup, NamesGivenAsStringIdsAndLongLines)
{
    GuardedText script("[Vandrel]\r\nProductName=4\r\nInstallFiles=x\r\n");
    char* text = script.text();
    const char* section = MAKEINTRESOURCEA(IDS_SECTION_EDITION);
    const char* key = MAKEINTRESOURCEA(IDS_KEY_EDITION);
    EXPECT_EQ("4", Value(text, section, key));
    EXPECT_EQ("x", Value(text, section, MAKEINTRESOURCEA(IDS_SECTION_INSTALL_FILES)));
    EXPECT_EQ("%s", Value(text, section, "Missing", MAKEINTRESOURCEA(IDS_PLAIN_TEXT)));
    // An id that does not load: a section or key gives the default, a default gives "".
    EXPECT_EQ("dflt", Value(text, MAKEINTRESOURCEA(999), key, "dflt"));
    EXPECT_EQ("dflt", Value(text, section, MAKEINTRESOURCEA(999), "dflt"));
    EXPECT_EQ("", Value(text, section, "Missing", MAKEINTRESOURCEA(999)));
    EXPECT_EQ("", Value(text, section, "Missing", NULL));
    EXPECT_EQ("dflt", Value(NULL, "A", "k", "dflt"));
    EXPECT_EQ(2u, GetScriptValueSize(text, section, key));
    EXPECT_EQ(0xFFFFFFFFu, GetScriptValueSize(text, section, MAKEINTRESOURCEA(999)));
    EXPECT_EQ(0xFFFFFFFFu, GetScriptValueSize(NULL, "A", "k"));
    EXPECT_EQ(1u, GetScriptValueSize(NULL, "A", NULL));
    EXPECT_EQ(1, SectionHasKeyLike(text, section, MAKEINTRESOURCEA(IDS_SECTION_INSTALL_FILES)));
    EXPECT_EQ(0, SectionHasKeyLike(NULL, section, "x"));
    char list[8] = "ZZZZZZZ";
    EXPECT_EQ(0u, GetScriptValue(text, MAKEINTRESOURCEA(999), NULL, NULL, list, sizeof list));
    EXPECT_EQ(0, list[0]);
    EXPECT_EQ(0u, GetScriptValue(text, "A", "k", "x", list, 0));

    std::string huge = "[A]\r\nk=" + std::string(4 << 20, 'v') + "\r\n[" + std::string(3 << 20, 'n') + "]\r\nj=1";
    GuardedText big(huge);
    EXPECT_EQ(std::string(255, 'v'), Value(big.text(), "A", "k"));
    EXPECT_EQ((DWORD)(4 << 20) + 1, GetScriptValueSize(big.text(), "A", "k"));
    EXPECT_EQ("1", Value(big.text(), std::string(3 << 20, 'N').c_str(), "J"));
}

TEST(ScriptKeyList, CutToTheBufferAndGrownOnlyWhenNeeded)
{
    GuardedText script("[Files]\r\nb.txt=1\r\n=empty key\r\nA.TXT=2\r\n[Small]\r\na=1\r\n[files]\r\nlast=no break");
    char list[64];
    struct { DWORD size, written; const char* bytes; DWORD length; } cases[] = {
        { 19, 18, "b.txt\0\0A.TXT\0last\0", 19 },  // the empty key is listed: it ends the list for its readers
        { 12, 11, "b.txt\0\0A.T\0", 12 },
        { 3, 2, "b\0", 3 },
        { 1, 0, "", 1 },
    };
    EXPECT_EQ(19u, GetScriptValueSize(script.text(), "FILES", NULL));
    for (auto& c : cases) {
        memset(list, 'Z', sizeof list);
        EXPECT_EQ(c.written, GetScriptValue(script.text(), "Files", NULL, NULL, list, c.size)) << c.size;
        EXPECT_EQ(std::string(c.bytes, c.length) + 'Z', std::string(list, c.length + 1)) << c.size;
    }

    char* keys = NULL;
    DWORD capacity = 0;
    ErrorStatus status = ClearStatus();
    GetScriptKeyList(script.text(), "Files", &keys, &capacity, &status);
    char* first = keys;
    EXPECT_EQ(19u, capacity);
    GetScriptKeyList(script.text(), "Small", &keys, &capacity, &status);
    EXPECT_EQ(first, keys);
    EXPECT_EQ(0, memcmp(keys, "a\0", 3));
    GuardedText bigger("[Big]\r\nname-number-one=1\r\nname-number-two=2\r\n");
    GetScriptKeyList(bigger.text(), "Big", &keys, &capacity, &status);
    EXPECT_EQ(33u, capacity);
    EXPECT_EQ(0, memcmp(keys, "name-number-one\0name-number-two\0", 33));
    status.code = 5;
    keys[0] = 'Q';
    GetScriptKeyList(script.text(), "Small", &keys, &capacity, &status);
    EXPECT_EQ('Q', keys[0]);
    GlobalFree(keys);
}

static int FakeResolution;
static int ReadFakeResolution() { return FakeResolution; }

TEST(ScriptImage, VariantsFollowTheScreenResolution)
{
    GuardedText script(
        "[Welcome]\r\nimage=small.bmp\r\nimage144=large.bmp\r\nimage96=medium.bmp\r\nimage096=later.bmp\r\n"
        "[Progress]\r\nheaderimage120=h120.bmp\r\n[Other]\r\nimage=other.bmp\r\n[Progress]\r\nheaderimage=h.bmp\r\n"
        "[Last]\r\nimage96=medium.bmp\r\nimage=small.bmp\r\nimage144=large.bmp");
    char* text = script.text();
    int (*saved)() = ScreenResolution;
    ScreenResolution = ReadFakeResolution;
    struct { int resolution; const char *image, *header; } cases[] = {
        { 72, "small.bmp", "h.bmp" }, { 95, "small.bmp", "h.bmp" }, { 96, "medium.bmp", "h.bmp" },
        { 120, "medium.bmp", "h120.bmp" }, { 143, "medium.bmp", "h120.bmp" }, { 144, "large.bmp", "h120.bmp" },
    };
    for (auto& c : cases) {
        FakeResolution = c.resolution;
        EXPECT_EQ(c.image, Value(text, "Welcome", "image")) << c.resolution;
        EXPECT_EQ(c.image, Value(text, "Last", "image")) << c.resolution;
        EXPECT_EQ(c.header, Value(text, "Progress", "headerimage")) << c.resolution;
    }
    EXPECT_EQ("<none>", Value(text, "Welcome", "IMAGE")) << "the variant search is case-sensitive";
    EXPECT_EQ("<none>", Value(text, "Other", "headerimage"));
    EXPECT_EQ("large.bmp", Value(text, "Welcome", "image144"));
    ScreenResolution = saved;
    HDC screen = GetDC(NULL);
    int real = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    EXPECT_EQ(real < 96 ? "small.bmp" : real < 144 ? "medium.bmp" : "large.bmp", Value(text, "Welcome", "image"));
}

TEST(ScriptFile, ReadAndWriteWholeFiles)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "script_file_test.ini";
    ErrorStatus status = ClearStatus();
    for (std::string bytes : { "[A]\rk=1\n\x80\xFF=\x01\r\n", "x", "" }) {
        WriteWholeFile(bytes.c_str(), path.c_str(), &status);
        char* text = ReadWholeFile(path.c_str());
        ASSERT_NE(nullptr, text);
        EXPECT_EQ(bytes, text);
        GlobalFree(text);
    }
    EXPECT_EQ(0u, status.code);
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_ARCHIVE);
    HANDLE open = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_EQ(nullptr, ReadWholeFile(path.c_str())) << "the reader shares the file with no one";
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, GetLastError());
    CloseHandle(open);
    DeleteFileA(path.c_str());
    EXPECT_EQ(nullptr, ReadWholeFile(path.c_str()));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, GetLastError());
    WriteWholeFile("x", (std::string(folder) + "no such folder\\setup.ini").c_str(), &status);
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, status.code);
    WriteWholeFile("x", "C:\\", &status);
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, status.code) << "the first failure stays";
}
