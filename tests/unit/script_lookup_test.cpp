// Looking values up in a setup script, listing keys, choosing image variants, and reading and
// writing the file.
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
    for (size_t i = size; i < buffer.size(); i++) EXPECT_EQ('Z', buffer[i]) << "written past the buffer";
    if (!size) return "<untouched>";
    EXPECT_EQ(strlen(buffer.data()), length);
    return buffer.data();
}

static std::vector<std::string> KeyList(char* text, const char* section)
{
    DWORD size = GetScriptValueSize(text, section, NULL);
    std::vector<char> buffer(size + 16, 'Z');
    DWORD written = GetScriptValue(text, section, NULL, NULL, buffer.data(), size);
    EXPECT_EQ(size - 1, written) << "a buffer of the reported size holds the whole list";
    for (size_t i = size; i < buffer.size(); i++) EXPECT_EQ('Z', buffer[i]) << "written past the list";
    std::vector<std::string> keys;
    for (const char* name = buffer.data(); *name; name += strlen(name) + 1) keys.push_back(name);
    return keys;
}

static const char Script[] =
    "; comment=1\r\n"
    "early=before any section\r\n"
    "[Main] trailing text\r\n"
    "Name=Value\r\n"
    "  Indented=yes\r\n"
    "Spaced = a\r\n"
    "Padded=  x y \t \t\r\n"
    ";Hidden=1\r\n"
    "NoEquals\r\n"
    "[NotAHeader=1\r\n"
    "AfterBracket=still main\r\n"
    "Dup=first\r\n"
    "dup=second\r\n"
    "Equals=a=b\r\n"
    " [Other]\r\n"
    "UnderIndentedHeader=main too\r\n"
    "\r\n"
    "[Other]\r\n"
    "Name=other\r\n"
    "[main]\r\n"
    "Late=in the second occurrence\r\n"
    "Name=not this one\r\n"
    "Last=no break";

TEST(ScriptLookup, SectionsEntriesAndTheirText)
{
    GuardedText script(Script);
    std::string before = script.bytes();
    char* text = script.text();

    EXPECT_EQ("Value", Value(text, "Main", "Name"));
    EXPECT_EQ("Value", Value(text, "MAIN", "nAME"));
    EXPECT_EQ("yes", Value(text, "Main", "  Indented"));
    EXPECT_EQ("<none>", Value(text, "Main", "Indented"));
    EXPECT_EQ(" a", Value(text, "Main", "Spaced "));
    EXPECT_EQ("<none>", Value(text, "Main", "Spaced"));
    EXPECT_EQ("  x y", Value(text, "Main", "Padded"));
    EXPECT_EQ("<none>", Value(text, "Main", ";Hidden"));
    EXPECT_EQ("<none>", Value(text, "Main", "NoEquals"));
    EXPECT_EQ("still main", Value(text, "Main", "AfterBracket"));
    EXPECT_EQ("<none>", Value(text, "NotAHeader=1", "AfterBracket"));
    EXPECT_EQ("first", Value(text, "Main", "DUP"));
    EXPECT_EQ("a=b", Value(text, "Main", "Equals"));
    EXPECT_EQ("main too", Value(text, "Main", "UnderIndentedHeader"));
    EXPECT_EQ("other", Value(text, "Other", "Name"));
    EXPECT_EQ("in the second occurrence", Value(text, "Main", "Late"));
    EXPECT_EQ("no break", Value(text, "main", "Last"));
    EXPECT_EQ("<none>", Value(text, "Main", "early"));
    EXPECT_EQ("<none>", Value(text, "Main", "comment"));
    EXPECT_EQ("<none>", Value(text, "Main] trailing text", "Name"));
    EXPECT_EQ("<none>", Value(text, "Missing", "Name"));
    EXPECT_EQ("", Value(text, "Missing", "Name", NULL));

    EXPECT_EQ(before, script.bytes()) << "a lookup changed the text";
}

TEST(ScriptLookup, LineBreaksAndTheTextsEnd)
{
    GuardedText crOnly("[A]\rk=1\rj=2");
    EXPECT_EQ("1", Value(crOnly.text(), "A", "k"));
    EXPECT_EQ("2", Value(crOnly.text(), "A", "j"));

    GuardedText lfOnly("[A]\nk=1\n\nj=2\n");
    EXPECT_EQ("1", Value(lfOnly.text(), "A", "k"));
    EXPECT_EQ("2", Value(lfOnly.text(), "A", "j"));

    GuardedText mixed("[A]\r\r\nk=1\n\r[B]\r\n\r\nj=2");
    EXPECT_EQ("1", Value(mixed.text(), "A", "k"));
    EXPECT_EQ("2", Value(mixed.text(), "B", "j"));

    // The text ends at its first NUL.
    GuardedText withNul(std::string("[A]\r\nk=1\0\r\nj=2", 15));
    EXPECT_EQ("1", Value(withNul.text(), "A", "k"));
    EXPECT_EQ("<none>", Value(withNul.text(), "A", "j"));

    GuardedText headerOnly("[A]");
    EXPECT_EQ("<none>", Value(headerOnly.text(), "A", "k"));
    GuardedText endsInKey("[A]\r\nk");
    EXPECT_EQ("<none>", Value(endsInKey.text(), "A", "k"));
    GuardedText endsInEquals("[A]\r\nk=");
    EXPECT_EQ("", Value(endsInEquals.text(), "A", "k"));
    GuardedText openBracket("[");
    EXPECT_EQ("<none>", Value(openBracket.text(), "", "k"));
    GuardedText emptySection("[]\r\n=empty key");
    EXPECT_EQ("empty key", Value(emptySection.text(), "", ""));

    GuardedText empty("");
    EXPECT_EQ("dflt", Value(empty.text(), "A", "k", "dflt"));
    EXPECT_EQ("dflt", Value(NULL, "A", "k", "dflt"));
}

TEST(ScriptLookup, ValuesAndDefaultsAreCutToTheBuffer)
{
    GuardedText script("[A]\r\nk=Value\r\n");
    EXPECT_EQ("Va", Value(script.text(), "A", "k", "", 3));
    EXPECT_EQ("de", Value(script.text(), "A", "missing", "default", 3));
    EXPECT_EQ("", Value(script.text(), "A", "k", "", 1));
    EXPECT_EQ("<untouched>", Value(script.text(), "A", "k", "", 0));
    EXPECT_EQ("Value", Value(script.text(), "A", "k", "", 6));

    // A line of several megabytes.
    std::string huge = "[A]\r\nk=" + std::string(4 << 20, 'v') + "\r\n[B]\r\nj=" + std::string(3 << 20, 'w');
    GuardedText big(huge);
    EXPECT_EQ(std::string(255, 'v'), Value(big.text(), "A", "k"));
    EXPECT_EQ((DWORD)(4 << 20) + 1, GetScriptValueSize(big.text(), "A", "k"));
    EXPECT_EQ(std::string(99, 'w'), Value(big.text(), "B", "j", "", 100));
    std::string longName = "[" + std::string(3 << 20, 'n') + "]\r\nk=1";
    GuardedText longHeader(longName);
    EXPECT_EQ("1", Value(longHeader.text(), std::string(3 << 20, 'N').c_str(), "K"));
}

TEST(ScriptLookup, NamesGivenAsStringIds)
{
    GuardedText script("[Vandrel]\r\nProductName=4\r\nInstallFiles=x\r\n");
    char* text = script.text();
    const char* section = MAKEINTRESOURCEA(IDS_SECTION_EDITION);
    const char* key = MAKEINTRESOURCEA(IDS_KEY_EDITION);
    EXPECT_EQ("4", Value(text, section, key));
    EXPECT_EQ("x", Value(text, section, MAKEINTRESOURCEA(IDS_SECTION_INSTALL_FILES)));
    EXPECT_EQ("%s", Value(text, section, "Missing", MAKEINTRESOURCEA(IDS_PLAIN_TEXT)));
    // A section or key id that does not load gives the default; a default that does not load
    // (id 0 included) gives an empty text.
    EXPECT_EQ("dflt", Value(text, MAKEINTRESOURCEA(999), key, "dflt"));
    EXPECT_EQ("dflt", Value(text, section, MAKEINTRESOURCEA(999), "dflt"));
    EXPECT_EQ("", Value(text, section, "Missing", MAKEINTRESOURCEA(999)));
    EXPECT_EQ("", Value(text, MAKEINTRESOURCEA(999), key, NULL));
    EXPECT_EQ(2u, GetScriptValueSize(text, section, key));
    EXPECT_EQ(0xFFFFFFFFu, GetScriptValueSize(text, section, MAKEINTRESOURCEA(999)));
    EXPECT_EQ((std::vector<std::string>{ "ProductName", "InstallFiles" }), KeyList(text, section));
    EXPECT_EQ(1, SectionHasKeyLike(text, section, MAKEINTRESOURCEA(IDS_SECTION_INSTALL_FILES)));

    char list[8];
    memset(list, 'Z', sizeof list);
    EXPECT_EQ(0u, GetScriptValue(text, MAKEINTRESOURCEA(999), NULL, NULL, list, sizeof list));
    EXPECT_EQ(0, list[0]);
}

// Every pair of single characters, and names that only some collations find equal: a lookup
// finds a key exactly when lstrcmpiA calls the two names equal.
TEST(ScriptLookup, NamesCompareAsLstrcmpiA)
{
    std::vector<std::string> names;
    for (int c = 1; c < 256; c++)
        if (c != '\r' && c != '\n' && c != '=') names.push_back(std::string("k") + (char)c);
    const char* words[] = { "coop", "co-op", "coo-p", "co'op", "CO-OP", "a-b", "ab", "a--b", "ae", "\xE6",
                            "AE", "\xC6", "ss", "\xDF", "Strasse", "Stra\xDF" "e", "a\xAD" "b", "\xE9t\xE9",
                            "\xC9T\xC9", "a\tb", "a b", "a\x01" "b", "oe", "\x9C", "-", "'", "", "--",
                            "V\xE4ndrel\\a.dll", "v\xC4NDREL\\A.DLL", "V\xE4ndrel\\b.dll", "V\xE4ndrel\\a.dl",
                            "V\xE4ndrel\\a.dll\xAD", "V\xE4ndrel\\a-b", "V\xE4ndrel\\ab", "x\xE6", "xae", "XAE",
                            "\xE6" "b", "\xE6" "B", "a-\xE9", "A-\xC9", "\xE9-a" };
    for (const char* word : words) names.push_back(word);

    int mismatches = 0;
    std::string block;
    for (const std::string& candidate : names) {
        std::string script = "[S]\r\n" + candidate + "=hit\r\n";
        GuardedText text(script);
        for (const std::string& wanted : names) {
            bool equal = lstrcmpiA(candidate.c_str(), wanted.c_str()) == 0;
            bool found = Value(text.text(), "S", wanted.c_str(), "miss", 8) == "hit";
            if (equal != found && ++mismatches < 10)
                ADD_FAILURE() << "key [" << candidate << "] looked up as [" << wanted << "]: lstrcmpiA says "
                              << equal;
        }
        EXPECT_EQ(script + "", text.bytes().substr(0, script.size()));
    }
    EXPECT_EQ(0, mismatches);

    // Section names go through the same comparison.
    for (const char* word : words) {
        std::string script = std::string("[") + word + "]\r\nk=hit";
        GuardedText text(script);
        for (const char* wanted : words)
            EXPECT_EQ(lstrcmpiA(word, wanted) == 0, Value(text.text(), wanted, "k", "miss", 8) == "hit")
                << "section [" << word << "] looked up as [" << wanted << "]";
    }
}

TEST(ScriptKeyList, ListsAndSizes)
{
    GuardedText script(
        "[Files]\r\nb.txt=1\r\n=empty key\r\nA.TXT=2\r\nb.txt=dup\r\n; x=1\r\n[Dirs]\r\n[Empty]\r\n\r\n"
        "[files]\r\nlast=no break");
    char* text = script.text();
    std::string before = script.bytes();
    EXPECT_EQ((std::vector<std::string>{ "b.txt", "A.TXT", "b.txt", "last" }), KeyList(text, "FILES"))
        << "an empty key is passed over and ends no list";
    EXPECT_EQ(1u + 6 + 6 + 6 + 5, GetScriptValueSize(text, "Files", NULL));
    EXPECT_EQ(1u, GetScriptValueSize(text, "Dirs", NULL));
    EXPECT_EQ(1u, GetScriptValueSize(text, "Missing", NULL));
    EXPECT_EQ(1u, GetScriptValueSize(NULL, "Files", NULL));
    EXPECT_EQ(2u, GetScriptValueSize(text, "Files", "b.txt"));
    EXPECT_EQ(9u, GetScriptValueSize(text, "files", "last"));
    EXPECT_EQ(0xFFFFFFFFu, GetScriptValueSize(text, "Dirs", "b.txt"));
    EXPECT_EQ(0xFFFFFFFFu, GetScriptValueSize(NULL, "Files", "b.txt"));

    // The whole list, names in file order, duplicates and every occurrence included.
    char list[64];
    memset(list, 'Z', sizeof list);
    DWORD size = GetScriptValueSize(text, "Files", NULL);
    EXPECT_EQ(size - 1, GetScriptValue(text, "Files", NULL, NULL, list, size));
    EXPECT_EQ(0, memcmp(list, "b.txt\0A.TXT\0b.txt\0last\0", size));
    EXPECT_EQ('Z', list[size]);

    // Cut to the buffer: names are cut to the space left and the list always ends in two NULs.
    memset(list, 'Z', sizeof list);
    EXPECT_EQ(11u, GetScriptValue(text, "Files", NULL, NULL, list, 12));
    EXPECT_EQ(0, memcmp(list, "b.txt\0A.TX\0", 12));
    EXPECT_EQ('Z', list[12]);
    memset(list, 'Z', sizeof list);
    EXPECT_EQ(0u, GetScriptValue(text, "Files", NULL, NULL, list, 1));
    EXPECT_EQ(0, list[0]);
    EXPECT_EQ('Z', list[1]);
    memset(list, 'Z', sizeof list);
    EXPECT_EQ(2u, GetScriptValue(text, "Files", NULL, NULL, list, 3));
    EXPECT_EQ(0, memcmp(list, "b\0", 3));

    // A section without entries, a missing one and a missing text give a single NUL.
    memset(list, 'Z', sizeof list);
    EXPECT_EQ(0u, GetScriptValue(text, "Empty", NULL, NULL, list, sizeof list));
    EXPECT_EQ(0, list[0]);
    EXPECT_EQ(0u, GetScriptValue(text, "Missing", NULL, NULL, list, sizeof list));
    EXPECT_EQ(0u, GetScriptValue(NULL, "Files", NULL, NULL, list, sizeof list));
    EXPECT_EQ(0, list[0]);

    EXPECT_EQ(before, script.bytes());
}

TEST(ScriptKeyList, TheListBufferGrowsOnlyWhenNeeded)
{
    GuardedText script("[Small]\r\na=1\r\n[Big]\r\nfirst=1\r\nsecond=2\r\nthird=3\r\n");
    char* list = NULL;
    DWORD capacity = 0;
    ErrorStatus status = ClearStatus();

    GetScriptKeyList(script.text(), "Big", &list, &capacity, &status);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0u, status.code);
    EXPECT_EQ(20u, capacity);
    EXPECT_EQ(0, memcmp(list, "first\0second\0third\0", 20));

    char* kept = list;
    GetScriptKeyList(script.text(), "Small", &list, &capacity, &status);
    EXPECT_EQ(kept, list);
    EXPECT_EQ(20u, capacity);
    EXPECT_EQ(0, memcmp(list, "a\0", 3));
    GetScriptKeyList(script.text(), "Missing", &list, &capacity, &status);
    EXPECT_EQ(kept, list);
    EXPECT_EQ(0, list[0]);

    GuardedText bigger("[Big]\r\nname-number-one=1\r\nname-number-two=2\r\n");
    GetScriptKeyList(bigger.text(), "Big", &list, &capacity, &status);
    EXPECT_EQ(33u, capacity);
    EXPECT_EQ(0, memcmp(list, "name-number-one\0name-number-two\0", 33));
    EXPECT_EQ(0u, status.code);

    // A status that already holds a failure leaves everything alone.
    status.code = 5;
    char* before = list;
    list[0] = 'Q';
    GetScriptKeyList(script.text(), "Small", &list, &capacity, &status);
    EXPECT_EQ(before, list);
    EXPECT_EQ('Q', list[0]);
    GlobalFree(list);
}

TEST(ScriptKeyList, SectionHasKeyLike)
{
    GuardedText script("[A]\r\nfirst.dll=8\r\n[B]\r\nThird.DLL=0\r\n;x.ocx=1\r\n[a]\r\nsecond.ocx=8\r\n");
    char* text = script.text();
    EXPECT_EQ(1, SectionHasKeyLike(text, "A", ".dll"));
    EXPECT_EQ(1, SectionHasKeyLike(text, "a", ".ocx")) << "a later occurrence of the section counts";
    EXPECT_EQ(0, SectionHasKeyLike(text, "B", ".dll")) << "the search is case-sensitive";
    EXPECT_EQ(0, SectionHasKeyLike(text, "B", ".ocx")) << "comments are no entries";
    EXPECT_EQ(1, SectionHasKeyLike(text, "B", "Third.DLL"));
    EXPECT_EQ(0, SectionHasKeyLike(text, "B", "Third.DLL=0"));
    EXPECT_EQ(0, SectionHasKeyLike(text, "C", ""));
    EXPECT_EQ(0, SectionHasKeyLike(NULL, "A", ".dll"));
}

static int FakeResolution;
static int ReadFakeResolution() { return FakeResolution; }

// Image variants at several screen resolutions, with the resolution supplied by the test.
TEST(ScriptImage, VariantsFollowTheScreenResolution)
{
    GuardedText script(
        "[Welcome]\r\nimage=small.bmp\r\nimage144=large.bmp\r\nimage96=medium.bmp\r\nimage096=later.bmp\r\n"
        "[Progress]\r\nheaderimage120=h120.bmp\r\n"
        "[Other]\r\nimage=other.bmp\r\n"
        "[Progress]\r\nheaderimage=h.bmp\r\n"
        "[Last]\r\nimage96=medium.bmp\r\nimage=small.bmp\r\nimage144=large.bmp");
    char* text = script.text();
    int (*saved)() = ScreenResolution;
    ScreenResolution = ReadFakeResolution;

    struct Case {
        int resolution;
        const char* image;
        const char* header;
    } cases[] = {
        { 72, "small.bmp", "h.bmp" },
        { 95, "small.bmp", "h.bmp" },
        { 96, "medium.bmp", "h.bmp" },
        { 120, "medium.bmp", "h120.bmp" },
        { 143, "medium.bmp", "h120.bmp" },
        { 144, "large.bmp", "h120.bmp" },
        { 192, "large.bmp", "h120.bmp" },
    };
    for (const Case& c : cases) {
        FakeResolution = c.resolution;
        EXPECT_EQ(c.image, Value(text, "Welcome", "image")) << c.resolution << " DPI";
        EXPECT_EQ(c.image, Value(text, "Last", "image")) << c.resolution << " DPI, last section";
        EXPECT_EQ(c.header, Value(text, "Progress", "headerimage")) << c.resolution << " DPI";
    }
    // The variant search is case-sensitive on the name the caller writes.
    FakeResolution = 144;
    EXPECT_EQ("<none>", Value(text, "Welcome", "IMAGE"));
    // A section with no variant at all gives the default; a variant is found as any other key.
    EXPECT_EQ("<none>", Value(text, "Other", "headerimage"));
    EXPECT_EQ("large.bmp", Value(text, "Welcome", "image144"));

    ScreenResolution = saved;
    HDC screen = GetDC(NULL);
    int real = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    EXPECT_EQ(real < 96 ? "small.bmp" : real < 144 ? "medium.bmp" : "large.bmp", Value(text, "Welcome", "image"))
        << "the screen's own resolution, " << real << " DPI";
}

static std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

TEST(ScriptFile, ReadAndWriteWholeFiles)
{
    std::string path = TempPath("script_file_test.ini");
    std::string bytes = "[A]\rk=1\n\x80\xFF=\x01\r\n";
    ErrorStatus status = ClearStatus();
    WriteWholeFile(bytes.c_str(), path.c_str(), &status);
    EXPECT_EQ(0u, status.code);
    char* text = ReadWholeFile(path.c_str());
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(bytes, std::string(text));
    GlobalFree(text);
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_ARCHIVE);

    // A shorter text replaces the file whole.
    WriteWholeFile("x", path.c_str(), &status);
    text = ReadWholeFile(path.c_str());
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ("x", text);
    GlobalFree(text);

    WriteWholeFile("", path.c_str(), &status);
    text = ReadWholeFile(path.c_str());
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ("", text);
    GlobalFree(text);

    // The reader shares the file with no one.
    HANDLE open = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    SetLastError(0);
    EXPECT_EQ(nullptr, ReadWholeFile(path.c_str()));
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, GetLastError());
    CloseHandle(open);
    DeleteFileA(path.c_str());

    SetLastError(0);
    EXPECT_EQ(nullptr, ReadWholeFile(path.c_str()));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, GetLastError());

    std::string nowhere = TempPath("no such folder\\setup.ini");
    WriteWholeFile("x", nowhere.c_str(), &status);
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, status.code);
    EXPECT_NE('\0', status.text[0]);
    // The first failure stays.
    WriteWholeFile("x", "C:\\", &status);
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, status.code);
}
