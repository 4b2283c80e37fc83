// The registry layer on the real registry of the test prefix; the tests' keys are made and
// removed with the platform's own calls.
#include <gtest/gtest.h>
#include <string>
#include "core/error_status.h"
#include "install/registry.h"
#include "resources/resource.h"
#include "unit/file_helpers.h"

static const char TestRoot[] = "Software\\VandrelRegistryTest";

static bool KeyExists(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key)) return false;
    RegCloseKey(key);
    return true;
}

static void MakeKey(const std::string& path)
{
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(TestRoot) + path).c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    RegSetValueExA(key, "v", 0, REG_SZ, (const BYTE*)"x", 2);
    RegCloseKey(key);
}

TEST(Registry, OpenCreateAndDeleteTrees)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, TestRoot);
    ErrorStatus status = Clear();
    for (REGSAM access : { (REGSAM)KEY_READ, (REGSAM)(KEY_READ | KEY_WRITE) })
        EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, access, FALSE, &status, TestRoot, "Missing", (const char*)NULL));
    EXPECT_EQ(0u, status.code);
    EXPECT_FALSE(KeyExists(std::string(TestRoot) + "\\Missing")) << "only KEY_WRITE alone creates";
    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_READ, TRUE, &status, MAKEINTRESOURCEA(IDS_SOFTWARE),
                                  "\\VandrelRegistryTest\\", "Missing", (const char*)NULL));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, status.code);
    EXPECT_TRUE(Has(status.text, "\r\nUnable to open registry key (" + std::string(TestRoot) + "\\Missing)")) << status.text;
    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE, FALSE, &status, TestRoot, "Missing", (const char*)NULL));
    EXPECT_FALSE(KeyExists(std::string(TestRoot) + "\\Missing")) << "a status that holds a code opens nothing";

    // Exactly the access asked for.
    status = Clear();
    for (REGSAM wow : { (REGSAM)0, (REGSAM)KEY_WOW64_64KEY }) {
        HKEY key = OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE | wow, FALSE, &status, TestRoot, "Sub",
                              MAKEINTRESOURCEA(IDS_SETUP_VERSION), (const char*)NULL);
        ASSERT_NE(nullptr, key) << status.text;
        char value[8];
        DWORD size = sizeof value;
        EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExA(key, "w", NULL, NULL, (BYTE*)value, &size));
        RegCloseKey(key);
    }
    EXPECT_TRUE(KeyExists(std::string(TestRoot) + "\\Sub\\1.0"));
    std::string part(200, 'k'), joined = std::string(TestRoot) + "\\" + part + "\\" + part;
    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_READ, TRUE, &status, TestRoot, part.c_str(), part.c_str(), (const char*)NULL));
    EXPECT_TRUE(Has(status.text, "(" + joined.substr(0, MAX_PATH - 1) + ")") && !Has(status.text, joined.substr(0, MAX_PATH)));
    status = Clear();
    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE, FALSE, &status, TestRoot, MAKEINTRESOURCEA(777), (const char*)NULL));
    EXPECT_TRUE(Has(status.text, "Unable to load string (777)")) << status.text;

    MakeKey("\\Tree\\a\\b\\c\\d");
    MakeKey("\\Tree\\a\\e");
    MakeKey("\\Tree\\f");
    MakeKey("\\Sibling");
    status = Clear();
    DeleteRegTree(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, MAKEINTRESOURCEA(IDS_SOFTWARE), "VandrelRegistryTest",
                  "Tree", (const char*)NULL);
    DeleteRegTree(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, TestRoot, "Tree", (const char*)NULL);
    EXPECT_EQ(0u, status.code) << status.text;
    EXPECT_FALSE(KeyExists(std::string(TestRoot) + "\\Tree"));
    EXPECT_TRUE(KeyExists(std::string(TestRoot) + "\\Sibling"));
    DeleteRegTree(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, "\\Software", (const char*)NULL);
    EXPECT_EQ((DWORD)ERROR_BAD_PATHNAME, status.code);
    DeleteRegTree(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, TestRoot, "Sibling", (const char*)NULL);
    EXPECT_TRUE(KeyExists(std::string(TestRoot) + "\\Sibling")) << "a status that holds a code deletes nothing";

    std::string values = std::string(TestRoot) + "\\Sibling";
    status = Clear();
    for (int i = 0; i < 2; i++) DeleteRegValue(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, values.c_str(), "v");
    DeleteRegValue(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, (values + "\\Missing").c_str(), "v");
    EXPECT_EQ(0u, status.code);
    EXPECT_NE(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, values.c_str(), "v", RRF_RT_ANY, NULL, NULL, NULL));
    EXPECT_FALSE(KeyExists(values + "\\Missing"));
    RegDeleteTreeA(HKEY_CURRENT_USER, TestRoot);
}

TEST(Registry, ValuesReadWithDefaultsAndWritten)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, TestRoot);
    ErrorStatus status = Clear();
    HKEY key = OpenRegKey(HKEY_CURRENT_USER, KEY_READ | KEY_WRITE | KEY_WOW64_64KEY, FALSE, &status, TestRoot, (const char*)NULL);
    EXPECT_EQ(nullptr, key);
    key = OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE, FALSE, &status, TestRoot, (const char*)NULL);
    SetRegString(key, "Text", "C:\\Apps", &status);
    SetRegString(key, "DisplayName", MAKEINTRESOURCEA(IDS_UNINSTALL_ENTRY), &status);
    SetRegString(key, "Long", "0123456789abcdef", &status);
    SetRegString(key, "Seven", "1234567", &status);
    SetRegString(key, MAKEINTRESOURCEA(IDS_PROGRAM_FOLDER_VALUE), "By id", &status);
    SetRegDword(key, "Number", 7, &status);
    SetRegDword(key, MAKEINTRESOURCEA(IDS_SETUP_VERSION), 0x01020304, &status);
    SetRegString(key, "Gone", NULL, &status);
    RegSetValueExA(key, "Expand", 0, REG_EXPAND_SZ, (const BYTE*)"%TEMP%", 7);
    RegSetValueExA(key, "NoNul", 0, REG_SZ, (const BYTE*)"abc", 3);
    EXPECT_EQ(0u, status.code) << status.text;
    RegCloseKey(key);
    DWORD type = 0, number = 0, size = sizeof number;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, TestRoot, "1.0", RRF_RT_ANY, &type, &number, &size));
    EXPECT_EQ(REG_DWORD * 0x1000000 + 0x01020304u, type * 0x1000000 + number);
    char display[64];
    size = sizeof display;
    RegGetValueA(HKEY_CURRENT_USER, TestRoot, "DisplayName", RRF_RT_ANY, &type, display, &size);
    EXPECT_EQ(std::string("Corvantis Vandrel (64-bit)"), std::string(display, size - 1)) << "the length and its NUL";

    key = OpenRegKey(HKEY_CURRENT_USER, KEY_READ, TRUE, &status, TestRoot, (const char*)NULL);
    struct { HKEY key; const char *name, *fallback, *expected; DWORD code; } cases[] = {
        { key, "Text", "unused", "C:\\Apps", 0 }, { key, "Missing", "default", "default", 0 },
        { key, "Missing", NULL, "", ERROR_FILE_NOT_FOUND }, { NULL, "Text", "no key", "no key", 0 },
        { NULL, "Text", NULL, "", ERROR_FILE_NOT_FOUND }, { key, "Number", "default", "default", 0 },
        { key, "Number", NULL, "", ERROR_FILE_NOT_FOUND }, { key, "Expand", "default", "default", 0 },
        { key, "Long", "default", "default", 0 }, { key, "Long", NULL, "", ERROR_MORE_DATA },
        { key, "Seven", NULL, "1234567", 0 }, { key, "NoNul", NULL, "abc", 0 }, { key, "Missing", "a long default", "a long ", 0 },
        { key, MAKEINTRESOURCEA(IDS_PROGRAM_FOLDER_VALUE), NULL, "By id", 0 }, { key, "Missing", MAKEINTRESOURCEA(IDS_SETUP_VERSION), "1.0", 0 },
    };
    for (auto& c : cases) {
        const char* name = IS_INTRESOURCE(c.name) ? "Program Folder" : c.name;
        char buffer[16];
        memset(buffer, 'G', sizeof buffer);
        status = Clear();
        QueryRegString(c.key, c.name, c.fallback, buffer, 8, &status);
        EXPECT_STREQ(c.expected, buffer) << name;
        EXPECT_EQ(c.code, status.code) << name;
        EXPECT_EQ(0, memcmp(buffer + 8, "GGGGGGGG", 8)) << name;
        if (c.code) EXPECT_TRUE(Has(status.text, std::string("\r\nUnable to query registry value (") + name + ")")) << status.text;
    }
    char old[8] = "old";
    status.code = 5;
    QueryRegString(key, "Text", NULL, old, sizeof old, &status);
    EXPECT_STREQ("old", old) << "a status that holds a code reads nothing";

    // A key opened for reading only: every write fails with the value's name in the text.
    struct { const char* text; DWORD number; const char* message; } failures[] = {
        { "x", 0, "\r\nUnable to set registry value (Text)" },
        { NULL, 0, "\r\nUnable to delete registry value (Text)" },
        { "", 1, "\r\nUnable to set registry value (Text)" },
    };
    for (auto& f : failures) {
        status = Clear();
        if (f.number) SetRegDword(key, "Text", 1, &status);
        else SetRegString(key, "Text", f.text, &status);
        EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, status.code);
        EXPECT_TRUE(Has(status.text, f.message)) << status.text;
    }
    RegCloseKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, TestRoot);
}
