// The section index against GetScriptValue on logs built at random: the entries in key-list
// order, each entry's value, and lookups of other spellings give the same answers as the scan.
#include <gtest/gtest.h>
#include <random>
#include <string>
#include "core/error_status.h"
#include "core/script.h"
#include "core/section_index.h"
#include "script_test_support.h"

// Parts that meet every rule of the comparison: letters of both cases, hyphens and apostrophes,
// letters beyond ASCII in both cases, a soft hyphen, a ligature, a blank.
static const char* const Parts[] = { "a", "B", "b", "-", "'", "\\", "\xE4", "\xC4", "\xAD", "ae", "\xE6", " " };

static std::string RandomKey(std::mt19937& random)
{
    std::string key = random() % 3 ? "C:\\Apps\\" : "C:\\J\xF6rg\\";
    for (int parts = 1 + random() % 4; parts > 0; parts--) key += Parts[random() % (sizeof Parts / sizeof *Parts)];
    return key;
}

// Another spelling: ASCII letters in the other case, a hyphen put in or taken out.
static std::string Respelled(std::string key, std::mt19937& random)
{
    for (char& c : key)
        if (isascii((unsigned char)c) && isalpha((unsigned char)c) && random() % 2) c ^= 0x20;
    size_t at = random() % key.size();
    if (key[at] == '-') key.erase(at, 1);
    else if (random() % 4 == 0) key.insert(at, "-");
    return key;
}

TEST(SectionIndex, AnswersAsTheScanOnRandomLogs)
{
    std::mt19937 random(17);
    for (int round = 0; round < 60; round++) {
        std::vector<std::string> keys;
        std::string log = "[UninstallFiles]\r\n";
        for (int entries = 1 + random() % 80; entries > 0; entries--) {
            keys.push_back(random() % 20 ? RandomKey(random) : "");
            log += keys.back() + "=" + std::to_string(random() % 16) + (random() % 3 ? "" : " \t") + "\r\n";
            // The same section again, and another one between.
            if (random() % 10 == 0) log += "[Other]\r\n" + keys.back() + "=99\r\n[uninstallFILES]\r\n";
        }
        char* text = GlobalText(log);
        ErrorStatus status = ClearStatus();
        SectionIndex index;
        BuildSectionIndex(text, "UninstallFiles", &index, &status);
        ASSERT_EQ(0u, status.code);
        ASSERT_EQ(keys.size(), index.count);

        char *list = NULL, expected[256], got[256];
        DWORD capacity = 0;
        GetScriptKeyList(text, "UninstallFiles", &list, &capacity, &status);
        const char* listed = list;
        for (DWORD i = 0; i < index.count; i++) {
            ASSERT_EQ(keys[i], index.entries[i].key);
            if (!keys[i].empty()) ASSERT_STREQ(listed, index.entries[i].key) << "the key list's order";
            if (!keys[i].empty()) listed = NextKey(listed);
            GetScriptValue(text, "UninstallFiles", keys[i].c_str(), "none", expected, sizeof expected);
            GetEntryValue(&index, i, got, sizeof got);
            ASSERT_STREQ(expected, got) << "entry " << i << " of round " << round;
        }
        EXPECT_EQ('\0', *listed);
        for (int probe = 0; probe < 200; probe++) {
            std::string key = probe % 4 ? Respelled(keys[random() % keys.size()] + "x", random) : RandomKey(random);
            if (probe % 2) key.pop_back();
            DWORD size = 1 + random() % 4;
            DWORD length = GetScriptValue(text, "UninstallFiles", key.c_str(), "none", expected, size);
            ASSERT_EQ(length, GetSectionValue(&index, key.c_str(), "none", got, size)) << key;
            ASSERT_STREQ(expected, got) << key;
        }
        GlobalFree(list);
        FreeSectionIndex(&index);
        GlobalFree(text);
    }
}
