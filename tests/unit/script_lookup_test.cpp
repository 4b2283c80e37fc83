// What the randomized test does not build: names that only lstrcmpiA calls equal, names given as
// string ids, image variants by screen resolution, key lists cut to their buffer, megabyte lines.
#include <gtest/gtest.h>
#include "core/script.h"
#include "resources/resource.h"
#include "unit/file_helpers.h"

static std::string Value(char* text, const char* section, const char* key, const char* defaultValue = "<none>", DWORD size = 256)
{
    std::vector<char> buffer(size + 16, 'Z');
    DWORD length = GetScriptValue(text, section, key, defaultValue, buffer.data(), size);
    EXPECT_EQ(std::string(1, '\0') + 'Z', std::string(buffer.data() + length, 2)) << "the length, and nothing past the text";
    return buffer.data();
}
// Every pair of single characters and names that only some collations find equal: a lookup finds
// a key, or a section, exactly when lstrcmpiA calls the two names equal.
TEST(ScriptLookup, NamesCompareAsLstrcmpiA)
{
    std::vector<std::string> names;
    for (int c = 1; c < 256; c++)
        if (c != '\r' && c != '\n' && c != '=') names.push_back(std::string("k") + (char)c);
    for (const char* word : { "coop", "co-op", "coo-p", "co'op", "CO-OP", "a-b", "ab", "a--b", "ae", "\xE6", "AE", "\xC6", "ss", "\xDF",
                              "Strasse", "Stra\xDF" "e", "a\xAD" "b", "\xE9t\xE9", "\xC9T\xC9", "a\tb", "a b", "a\x01" "b", "oe", "\x9C",
                              "-", "'", "", "--", "V\xE4ndrel\\a.dll", "v\xC4NDREL\\A.DLL", "V\xE4ndrel\\b.dll", "V\xE4ndrel\\a.dl",
                              "V\xE4ndrel\\a.dll\xAD", "V\xE4ndrel\\a-b", "V\xE4ndrel\\ab", "x\xE6", "xae", "XAE", "\xE6" "b", "\xE6" "B",
                              "a-\xE9", "A-\xC9", "\xE9-a", "]x" })
        names.push_back(word);
    int mismatches = 0;
    for (const std::string& candidate : names) {
        GuardedText keyed("[S]\r\n" + candidate + "=hit\r\n"), sectioned("[" + candidate + "]\r\nk=hit");
        for (const std::string& wanted : names) {
            bool equal = lstrcmpiA(candidate.c_str(), wanted.c_str()) == 0, header = candidate.find(']') == std::string::npos;
            if ((equal != (Value(keyed.text(), "S", wanted.c_str(), "miss", 8) == "hit") ||
                 (header && equal != (Value(sectioned.text(), wanted.c_str(), "k", "miss", 8) == "hit"))) && ++mismatches < 10)
                ADD_FAILURE() << "[" << candidate << "] looked up as [" << wanted << "]: lstrcmpiA says " << equal;
        }
    }
    EXPECT_EQ(0, mismatches);
}

TEST(ScriptLookup, IdsKeyListsLongLinesAndImages)
{
    GuardedText script("[Vandrel]\r\nProductName=4\r\nInstallFiles=x\r\n[Files]\r\nb.txt=1\r\n=empty key\r\nA.TXT=2\r\n[Small]\r\na=1\r\n"
                       "[files]\r\nlast=no break");
    char* text = script.text();
    const char *section = MAKEINTRESOURCEA(IDS_SECTION_EDITION), *key = MAKEINTRESOURCEA(IDS_KEY_EDITION), *none = MAKEINTRESOURCEA(999);
    // An id that does not load: a section or key gives the default, a default gives "".
    EXPECT_EQ("4|x|%s|dflt|dflt||", Value(text, section, key) + "|" + Value(text, section, MAKEINTRESOURCEA(IDS_SECTION_INSTALL_FILES)) + "|" +
              Value(text, section, "Missing", MAKEINTRESOURCEA(IDS_PLAIN_TEXT)) + "|" + Value(text, none, key, "dflt") + "|" +
              Value(NULL, section, none, "dflt") + "|" + Value(text, section, "Missing", none) + "|" + Value(text, section, "Missing", NULL));
    EXPECT_EQ((std::vector<DWORD>{ 2, 0xFFFFFFFF, 0xFFFFFFFF, 1, 1, 0, 1, 0 }),
              (std::vector<DWORD>{ GetScriptValueSize(text, section, key), GetScriptValueSize(text, section, none), GetScriptValueSize(NULL, "A", "k"),
                                   GetScriptValueSize(NULL, "A", NULL), GetScriptValueSize(text, none, NULL), GetScriptValue(text, "A", "k", "x", NULL, 9),
                                   (DWORD)SectionHasKeyLike(text, section, MAKEINTRESOURCEA(IDS_SECTION_INSTALL_FILES)), (DWORD)SectionHasKeyLike(NULL, section, "x") }));
    // Key lists: an empty key is passed over and ends no list; names are cut to the room left, and
    // the list always ends in two NULs; the buffer grows only when needed.
    char list[24];
    for (auto c : { std::make_pair(18u, std::string("b.txt\0A.TXT\0last\0\0", 18)), { 12, std::string("b.txt\0A.TX\0\0", 12) },
                    { 3, std::string("b\0\0", 3) }, { 1, std::string(1, '\0') } }) {
        memset(list, 'Z', sizeof list);
        EXPECT_EQ(c.first - 1, GetScriptValue(text, "Files", NULL, NULL, list, c.first));
        EXPECT_EQ(c.second + 'Z', std::string(list, c.first + 1));
    }
    char *keys = NULL, *first;
    DWORD capacity = 0, grown;
    ErrorStatus status = Clear();
    GetScriptKeyList(text, "Files", &keys, &capacity, &status);
    first = keys;
    GetScriptKeyList(text, "Small", &keys, &capacity, &status);
    EXPECT_TRUE(first == keys && capacity == 18 && !memcmp(keys, "a\0", 3));
    GetScriptKeyList(text, "Vandrel", &keys, &capacity, &status);
    grown = capacity;
    status.code = 5;
    GetScriptKeyList(text, "Small", &keys, &capacity, &status);
    EXPECT_TRUE(grown == 26 && !memcmp(keys, "ProductName\0InstallFiles\0", 26)) << "grown, and kept while the status holds a code";
    GlobalFree(keys);
    GuardedText big("[A]\r\nk=" + std::string(4 << 20, 'v') + "\r\n[" + std::string(3 << 20, 'n') + "]\r\nj=1");
    EXPECT_EQ(std::string(255, 'v') + "|" + std::to_string((4 << 20) + 1) + "|1", Value(big.text(), "A", "k") + "|" +
              std::to_string(GetScriptValueSize(big.text(), "A", "k")) + "|" + Value(big.text(), std::string(3 << 20, 'N').c_str(), "J"));
    // Image variants: the largest number after the name that is not above the screen's resolution.
    GuardedText images("[Welcome]\r\nimage=small\r\nimage144=large\r\nimage96=medium\r\nimage096=later\r\n[Progress]\r\nheaderimage120=h120\r\n"
                       "[Other]\r\nimage=other\r\n[Progress]\r\nheaderimage=h\r\n[Last]\r\nimage96=medium\r\nimage=small\r\nimage144=large");
    static int resolution;
    int (*saved)() = ScreenResolution;
    ScreenResolution = [] { return resolution; };
    std::string found;
    for (int dpi : { 72, 95, 96, 120, 143, 144 }) {
        resolution = dpi;
        found += Value(images.text(), "Welcome", "image") + "," + Value(images.text(), "Last", "image") + "," + Value(images.text(), "Progress", "headerimage") + " ";
    }
    EXPECT_EQ("small,small,h small,small,h medium,medium,h medium,medium,h120 medium,medium,h120 large,large,h120 <none> <none> large", found +
              Value(images.text(), "Welcome", "IMAGE") + " " + Value(images.text(), "Other", "headerimage") + " " + Value(images.text(), "Welcome", "image144"));
    ScreenResolution = saved;
}
