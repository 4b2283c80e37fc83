// The registry layer where the scenarios do not reach it: what creates a key, the joined path in
// failure texts, values of other types or lengths read with and without defaults, writes denied.
#include <gtest/gtest.h>
#include <string>
#include "install/registry.h"
#include "resources/resource.h"
#include "unit/file_helpers.h"

static const char TestRoot[] = "Software\\VandrelRegistryTest";

static bool KeyExists(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key)) return false;
    return !RegCloseKey(key);
}

TEST(Registry, KeysValuesAndTheirFailures)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, TestRoot);
    std::string missing = std::string(TestRoot) + "\\Missing";
    ErrorStatus status = Clear();
    for (REGSAM access : { KEY_READ, KEY_READ | KEY_WRITE, KEY_READ | KEY_WRITE | KEY_WOW64_64KEY })
        EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, access, FALSE, &status, TestRoot, "Missing", (const char*)NULL));
    EXPECT_TRUE(!status.code && !KeyExists(missing)) << "only KEY_WRITE alone creates, and a missing key is no failure";
    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_READ, TRUE, &status, MAKEINTRESOURCEA(IDS_SOFTWARE), "\\VandrelRegistryTest\\",
                                  "Missing", (const char*)NULL));
    EXPECT_TRUE(status.code == ERROR_FILE_NOT_FOUND && Has(status.text, "\r\nUnable to open registry key (" + missing + ")")) << status.text;
    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE, FALSE, &status, TestRoot, "Missing", (const char*)NULL));
    EXPECT_FALSE(KeyExists(missing)) << "a status that holds a code opens nothing";
    std::string part(200, 'k'), joined = std::string(TestRoot) + "\\" + part + "\\" + part;
    status = Clear();
    OpenRegKey(HKEY_CURRENT_USER, KEY_READ, TRUE, &status, TestRoot, part.c_str(), part.c_str(), (const char*)NULL);
    EXPECT_TRUE(Has(status.text, "(" + joined.substr(0, MAX_PATH - 1) + ")") && !Has(status.text, joined.substr(0, MAX_PATH)));
    status = Clear();
    EXPECT_EQ(nullptr, OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE, FALSE, &status, TestRoot, MAKEINTRESOURCEA(777), (const char*)NULL));
    EXPECT_TRUE(Has(status.text, "Unable to load string (777)")) << status.text;

    status = Clear();
    HKEY key = OpenRegKey(HKEY_CURRENT_USER, KEY_WRITE | KEY_WOW64_64KEY, FALSE, &status, TestRoot, (const char*)NULL);
    char buffer[16];
    DWORD size = sizeof buffer;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExA(key, "x", NULL, NULL, (BYTE*)buffer, &size)) << "opened with exactly that access";
    SetRegString(key, "Text", "C:\\Apps", &status);
    SetRegString(key, "Long", "0123456789abcdef", &status);
    SetRegString(key, "Seven", "1234567", &status);
    SetRegString(key, MAKEINTRESOURCEA(IDS_PROGRAM_FOLDER_VALUE), MAKEINTRESOURCEA(IDS_SETUP_VERSION), &status);
    SetRegDword(key, "Number", 7, &status);
    SetRegString(key, "Gone", NULL, &status);
    RegSetValueExA(key, "Expand", 0, REG_EXPAND_SZ, (const BYTE*)"%TEMP%", 7);
    RegSetValueExA(key, "NoNul", 0, REG_SZ, (const BYTE*)"abc", 3);
    EXPECT_EQ(0u, status.code) << status.text;
    RegCloseKey(key);
    key = OpenRegKey(HKEY_CURRENT_USER, KEY_READ, TRUE, &status, TestRoot, (const char*)NULL);
    struct { HKEY key; const char *name, *fallback, *expected; DWORD code; } cases[] = {
        { key, "Text", "unused", "C:\\Apps", 0 }, { key, "Missing", "default", "default", 0 }, { key, "Missing", NULL, "", 2 },
        { NULL, "Text", "no key", "no key", 0 }, { NULL, "Text", NULL, "", 2 }, { key, "Number", "default", "default", 0 },
        { key, "Number", NULL, "", 2 }, { key, "Expand", "default", "default", 0 }, { key, "Long", "default", "default", 0 },
        { key, "Long", NULL, "", ERROR_MORE_DATA }, { key, "Seven", NULL, "1234567", 0 }, { key, "NoNul", NULL, "abc", 0 },
        { key, "Missing", "a long default", "a long ", 0 }, { key, MAKEINTRESOURCEA(IDS_PROGRAM_FOLDER_VALUE), NULL, "1.0", 0 },
        { key, "Missing", MAKEINTRESOURCEA(IDS_SETUP_VERSION), "1.0", 0 },
    };
    for (auto& c : cases) {
        std::string name = IS_INTRESOURCE(c.name) ? "Program Folder" : c.name;
        memset(buffer, 'G', sizeof buffer);
        status = Clear();
        QueryRegString(c.key, c.name, c.fallback, buffer, 8, &status);
        EXPECT_EQ(std::string(c.expected) + "|GGGGGGGG|" + std::to_string(c.code), std::string(buffer) + "|" + std::string(buffer + 8, 8) +
                  "|" + std::to_string(status.code)) << name;
        if (c.code) EXPECT_TRUE(Has(status.text, "\r\nUnable to query registry value (" + name + ")")) << status.text;
    }
    status.code = 5;
    QueryRegString(key, "Text", NULL, buffer, 8, &status);
    EXPECT_STREQ("1.0", buffer) << "a status that holds a code reads nothing";
    // A key opened for reading only: every write fails with the value's name in the text.
    for (int write = 0; write < 3; write++) {
        status = Clear();
        write == 0 ? SetRegString(key, "Text", "x", &status) : write == 1 ? SetRegString(key, "Text", NULL, &status) : SetRegDword(key, "Text", 1, &status);
        EXPECT_EQ(ERROR_ACCESS_DENIED, (LONG)status.code);
        EXPECT_TRUE(Has(status.text, write == 1 ? "\r\nUnable to delete registry value (Text)" : "\r\nUnable to set registry value (Text)"));
    }
    RegCloseKey(key);
    DWORD number = 0;
    size = sizeof number;
    RegGetValueA(HKEY_CURRENT_USER, TestRoot, "Number", RRF_RT_REG_DWORD, NULL, &number, &size);
    EXPECT_EQ(7u, number);
    RegDeleteTreeA(HKEY_CURRENT_USER, TestRoot);
}
