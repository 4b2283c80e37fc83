// The registry layer on the real registry of the test prefix.
#include <gtest/gtest.h>
#include <string>
#include "core/error_status.h"
#include "install/registry.h"
#include "resources/resource.h"

static const char TestRoot[] = "Software\\VandrelRegistryTest";

static ErrorStatus Clear()
{
    ErrorStatus status;
    status.code = 0;
    status.text[0] = 0;
    return status;
}

static bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key)) return false;
    RegCloseKey(key);
    return true;
}

static void MakeKey(const std::string& path)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    RegSetValueExA(key, "v", 0, REG_SZ, (const BYTE*)"x", 2);
    RegCloseKey(key);
}

// Removes the test keys with the platform's own call, not with the code under test.
static void RemoveTestKeys()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, TestRoot);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Quernell");
}

static bool Contains(const char* text, const std::string& part)
{
    return std::string(text).find(part) != std::string::npos;
}

TEST(OpenRegKey, OpensCreatesOnlyForWriteAndReportsMissingOnRequest)
{
    RemoveTestKeys();
    std::string missing = std::string(TestRoot) + "\\Missing";

    ErrorStatus status = Clear();
    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_READ, FALSE, &status, TestRoot, "Missing", (const char*)NULL));
    EXPECT_EQ(0u, status.code);
    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_READ | KEY_WRITE, FALSE, &status, TestRoot, "Missing", (const char*)NULL));
    EXPECT_EQ(0u, status.code);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, missing)) << "only KEY_WRITE alone creates";

    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_READ, TRUE, &status, TestRoot, "Missing", (const char*)NULL));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, status.code);
    EXPECT_TRUE(Contains(status.text, "\r\nUnable to open registry key (" + missing + ")")) << status.text;

    // A status that holds a code opens nothing.
    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE, FALSE, &status, TestRoot, "Missing", (const char*)NULL));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, missing));

    // KEY_WRITE creates the key from parts given as ids and texts, and opens it with exactly
    // that access: writing works, reading does not.
    status = Clear();
    HKEY key = OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE, FALSE, &status, MAKEINTRESOURCEA(IDS_SOFTWARE),
                          "VandrelRegistryTest", MAKEINTRESOURCEA(IDS_SETUP_VERSION), (const char*)NULL);
    ASSERT_NE(nullptr, key) << status.text;
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(TestRoot) + "\\1.0"));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "w", 0, REG_SZ, (const BYTE*)"1", 2));
    char value[8];
    DWORD size = sizeof value;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExA(key, "w", NULL, NULL, (BYTE*)value, &size));
    RegCloseKey(key);

    key = OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE | KEY_WOW64_64KEY, FALSE, &status, TestRoot, "Wide", (const char*)NULL);
    EXPECT_NE(nullptr, key);
    if (key) RegCloseKey(key);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(TestRoot) + "\\Wide"));

    // Parts ending in a backslash are joined with a single one.
    key = OpenRegKey(HKEY_CURRENT_USER, KEY_READ, TRUE, &status, "Software\\", "VandrelRegistryTest\\", "1.0", (const char*)NULL);
    EXPECT_NE(nullptr, key) << status.text;
    if (key) RegCloseKey(key);
    EXPECT_EQ(0u, status.code);

    // A part that cannot be loaded stops with the loader's text.
    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE, FALSE, &status, TestRoot, MAKEINTRESOURCEA(777), (const char*)NULL));
    EXPECT_TRUE(Contains(status.text, "Unable to load string (777)")) << status.text;
    RemoveTestKeys();
}

TEST(OpenRegKey, LongPathsAreCutToTheBuffer)
{
    std::string part(200, 'k');
    ErrorStatus status = Clear();
    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_READ, TRUE, &status, TestRoot, part.c_str(), part.c_str(), (const char*)NULL));
    EXPECT_NE(0u, status.code);
    std::string joined = std::string(TestRoot) + "\\" + part + "\\" + part;
    EXPECT_TRUE(Contains(status.text, "(" + joined.substr(0, MAX_PATH - 1) + ")")) << status.text;
    EXPECT_FALSE(Contains(status.text, joined.substr(0, MAX_PATH)));
}

TEST(OpenSetupKey, IsTheSetupsOwnKeyAndMissingIsNoFailure)
{
    RemoveTestKeys();
    ErrorStatus status = Clear();
    EXPECT_EQ(nullptr, OpenSetupKey(KEY_READ, &status));
    EXPECT_EQ(0u, status.code);

    HKEY key = OpenSetupKey(KEY_WRITE, &status);
    ASSERT_NE(nullptr, key) << status.text;
    SetRegString(key, MAKEINTRESOURCEA(IDS_PROGRAM_FOLDER_VALUE), "Corvantis", &status);
    RegCloseKey(key);
    EXPECT_EQ(0u, status.code);

    char value[64] = "";
    DWORD size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Quernell\\Vandrel Setup\\1.0", "Program Folder",
                                          RRF_RT_REG_SZ, NULL, value, &size));
    EXPECT_STREQ("Corvantis", value);
    RemoveTestKeys();
}

TEST(DeleteRegTree, NestedKeysGoAndMissingOnesAreNoFailure)
{
    RemoveTestKeys();
    std::string tree = std::string(TestRoot) + "\\Tree";
    MakeKey(tree + "\\a\\b\\c\\d");
    MakeKey(tree + "\\a\\e");
    MakeKey(tree + "\\f");
    MakeKey(std::string(TestRoot) + "\\Sibling");

    ErrorStatus status = Clear();
    DeleteRegTree(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, MAKEINTRESOURCEA(IDS_SOFTWARE), "VandrelRegistryTest",
                  "Tree", (const char*)NULL);
    EXPECT_EQ(0u, status.code) << status.text;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, tree));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(TestRoot) + "\\Sibling"));

    DeleteRegTree(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, TestRoot, "Tree", (const char*)NULL);
    EXPECT_EQ(0u, status.code);
    DeleteRegTree(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE | KEY_WOW64_64KEY, TestRoot, "Sibling", (const char*)NULL);
    EXPECT_EQ(0u, status.code);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::string(TestRoot) + "\\Sibling"));

    // A status that holds a code deletes nothing.
    MakeKey(tree);
    status.code = 5;
    DeleteRegTree(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, TestRoot, "Tree", (const char*)NULL);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, tree));
    RemoveTestKeys();
}

TEST(DeleteRegValue, DeletesWhatIsThere)
{
    RemoveTestKeys();
    MakeKey(std::string(TestRoot) + "\\Values");
    ErrorStatus status = Clear();
    std::string path = std::string(TestRoot) + "\\Values";
    DeleteRegValue(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, path.c_str(), "v");
    DeleteRegValue(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, path.c_str(), "v");
    DeleteRegValue(HKEY_CURRENT_USER, &status, KEY_READ | KEY_WRITE, (path + "\\Missing").c_str(), "v");
    EXPECT_EQ(0u, status.code);
    EXPECT_NE(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, path.c_str(), "v", RRF_RT_ANY, NULL, NULL, NULL));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, path + "\\Missing"));
    RemoveTestKeys();
}

TEST(QueryRegString, ValuesAndDefaults)
{
    RemoveTestKeys();
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, TestRoot, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    DWORD number = 7;
    RegSetValueExA(key, "Text", 0, REG_SZ, (const BYTE*)"C:\\Apps", 8);
    RegSetValueExA(key, "Number", 0, REG_DWORD, (const BYTE*)&number, 4);
    RegSetValueExA(key, "Expand", 0, REG_EXPAND_SZ, (const BYTE*)"%TEMP%", 7);
    RegSetValueExA(key, "Long", 0, REG_SZ, (const BYTE*)"0123456789abcdef", 17);
    RegSetValueExA(key, "Seven", 0, REG_SZ, (const BYTE*)"1234567", 8);
    RegSetValueExA(key, "Program Folder", 0, REG_SZ, (const BYTE*)"By id", 6);

    struct {
        HKEY key;
        const char* name;
        const char* fallback;
        const char* expected;
        DWORD code;
    } cases[] = {
        { key, "Text", "unused", "C:\\Apps", 0 },
        { key, "Missing", "default", "default", 0 },
        { key, "Missing", NULL, "", ERROR_FILE_NOT_FOUND },
        { NULL, "Text", "no key", "no key", 0 },
        { NULL, "Text", NULL, "", ERROR_FILE_NOT_FOUND },
        { key, "Number", "default", "default", 0 },
        { key, "Number", NULL, "", ERROR_FILE_NOT_FOUND },
        { key, "Expand", "default", "default", 0 },
        { key, "Long", "default", "default", 0 },
        { key, "Long", NULL, "", ERROR_MORE_DATA },
        { key, "Seven", NULL, "1234567", 0 },  // exactly fills the buffer with its NUL
        { key, MAKEINTRESOURCEA(IDS_PROGRAM_FOLDER_VALUE), NULL, "By id", 0 },
        { key, "Missing", MAKEINTRESOURCEA(IDS_SETUP_VERSION), "1.0", 0 },
    };
    for (auto& c : cases) {
        const char* name = IS_INTRESOURCE(c.name) ? "(id)" : c.name;
        char buffer[8 + 8];
        memset(buffer, 'G', sizeof buffer);
        ErrorStatus status = Clear();
        QueryRegString(c.key, c.name, c.fallback, buffer, 8, &status);
        EXPECT_STREQ(c.expected, buffer) << name;
        EXPECT_EQ(c.code, status.code) << name;
        EXPECT_EQ(0, memcmp(buffer + 8, "GGGGGGGG", 8)) << name << ": written past the buffer";
        if (c.code) EXPECT_TRUE(Contains(status.text, std::string("\r\nUnable to query registry value (") + name + ")")) << status.text;
    }

    // A longer default is cut to the buffer.
    char buffer[4];
    ErrorStatus status = Clear();
    QueryRegString(key, "Missing", "a long default", buffer, sizeof buffer, &status);
    EXPECT_STREQ("a l", buffer);

    // A status that holds a code reads nothing.
    strcpy(buffer, "old");
    status.code = 5;
    QueryRegString(key, "Text", NULL, buffer, sizeof buffer, &status);
    EXPECT_STREQ("old", buffer);
    RegCloseKey(key);
    RemoveTestKeys();
}

TEST(SetRegValues, WriteDeleteAndFailureTexts)
{
    RemoveTestKeys();
    ErrorStatus status = Clear();
    HKEY key = OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE, FALSE, &status, TestRoot, (const char*)NULL);
    ASSERT_NE(nullptr, key);
    SetRegString(key, "DisplayName", MAKEINTRESOURCEA(IDS_UNINSTALL_ENTRY), &status);
    SetRegString(key, "UninstallString", "C:\\Apps\\setup.exe", &status);
    SetRegDword(key, "Version", 0x01020304, &status);
    SetRegDword(key, MAKEINTRESOURCEA(IDS_PROGRAM_FOLDER_VALUE), 9, &status);
    SetRegString(key, "Gone", NULL, &status);  // missing: no failure
    EXPECT_EQ(0u, status.code) << status.text;
    RegCloseKey(key);

    char text[64];
    DWORD size = sizeof text, type = 0, number = 0;
    HKEY check;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, TestRoot, 0, KEY_READ, &check));
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(check, "DisplayName", NULL, &type, (BYTE*)text, &size));
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_STREQ("Corvantis Vandrel (64-bit)", text);
    EXPECT_EQ(sizeof "Corvantis Vandrel (64-bit)", size) << "the length and its NUL";
    size = sizeof number;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(check, "Version", NULL, &type, (BYTE*)&number, &size));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    EXPECT_EQ(0x01020304u, number);
    size = sizeof number;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(check, "Program Folder", NULL, &type, (BYTE*)&number, &size));
    EXPECT_EQ(9u, number);

    // A key opened for reading only: every write fails with the value's name in the text.
    struct { int which; const char* message; } failures[] = {
        { 0, "\r\nUnable to set registry value (UninstallString)" },
        { 1, "\r\nUnable to delete registry value (UninstallString)" },
        { 2, "\r\nUnable to set registry value (Version)" },
    };
    for (auto& f : failures) {
        status = Clear();
        if (f.which == 0) SetRegString(check, "UninstallString", "x", &status);
        if (f.which == 1) SetRegString(check, "UninstallString", NULL, &status);
        if (f.which == 2) SetRegDword(check, "Version", 1, &status);
        EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, status.code);
        EXPECT_TRUE(Contains(status.text, f.message)) << status.text;
    }

    // Deleting through a writable key.
    status = Clear();
    key = OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE, FALSE, &status, TestRoot, (const char*)NULL);
    SetRegString(key, "UninstallString", NULL, &status);
    RegCloseKey(key);
    EXPECT_EQ(0u, status.code);
    size = sizeof text;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(check, "UninstallString", NULL, NULL, (BYTE*)text, &size));
    RegCloseKey(check);
    RemoveTestKeys();
}
