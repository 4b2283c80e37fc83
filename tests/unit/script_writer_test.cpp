// Changing a setup script in memory: replacing, deleting and inserting entries.
#include <gtest/gtest.h>
#include <string>
#include "core/error_status.h"
#include "core/script.h"
#include "resources/resource.h"
#include "script_test_support.h"

// The text after SetScriptValue (value NULL deletes).
static std::string Set(const std::string& before, const char* section, const char* key, const char* value)
{
    char* text = GlobalText(before);
    ErrorStatus status = ClearStatus();
    SetScriptValue(&text, section, key, value, &status);
    EXPECT_EQ(0u, status.code);
    std::string after = text;
    GlobalFree(text);
    return after;
}

TEST(ScriptWriter, ReplacesTheWholeLineOfTheFirstMatch)
{
    EXPECT_EQ("[A]\r\nK=long value\r\nj=2\r\n[B]\r\nk=3\r\n",
              Set("[A]\r\nk=1\r\nj=2\r\n[B]\r\nk=3\r\n", "a", "K", "long value"));
    EXPECT_EQ("[A]\r\nk=x\r\nk=2\r\n", Set("[A]\r\nk=1\r\nk=2\r\n", "A", "k", "x"));
    // Its line break goes with the old line, whatever it was.
    EXPECT_EQ("[A]\rk=x\r\nj=2", Set("[A]\rk=1\rj=2", "A", "k", "x"));
    EXPECT_EQ("[A]\nk=x\r\n[B]\n", Set("[A]\nk=1\n\n[B]\n", "A", "k", "x"));
    EXPECT_EQ("[A]\r\nk=x\r\n", Set("[A]\r\nk=1", "A", "k", "x"));
    EXPECT_EQ("[A]\r\nk =x\r\n", Set("[A]\r\nk =1\r\n", "A", "k ", "x"));
    EXPECT_EQ("[A]\r\nk=\r\n", Set("[A]\r\nk=1\r\n", "A", "k", ""));

    // Shrinking works in place; growing moves the text to a larger block.
    char* text = GlobalText("[A]\r\nk=long value\r\nj=2\r\n");
    char* before = text;
    ErrorStatus status = ClearStatus();
    SetScriptValue(&text, "A", "k", "1", &status);
    EXPECT_EQ(before, text);
    EXPECT_STREQ("[A]\r\nk=1\r\nj=2\r\n", text);
    SetScriptNumber(&text, "A", "j", 4294967295u, &status);
    EXPECT_STREQ("[A]\r\nk=1\r\nj=4294967295\r\n", text);
    EXPECT_GE(GlobalSize(text), strlen(text) + 1);
    EXPECT_EQ(0u, status.code);
    GlobalFree(text);
}

TEST(ScriptWriter, DeletesExactlyThatEntry)
{
    EXPECT_EQ("[A]\r\nj=2\r\n[B]\r\nk=3\r\n", Set("[A]\r\nk=1\r\nj=2\r\n[B]\r\nk=3\r\n", "A", "K", NULL));
    EXPECT_EQ("[A]\r\nk=2\r\n", Set("[A]\r\nk=1\r\nk=2\r\n", "A", "k", NULL));
    EXPECT_EQ("[A]\r\nj=2\r\n", Set("[A]\r\nj=2\r\nk=1", "A", "k", NULL));
    // A missing key, a key in a later occurrence only, and a missing section change nothing.
    const char* script = "[A]\r\nk=1\r\n[B]\r\n[A]\r\nlate=1\r\n";
    EXPECT_EQ(script, Set(script, "A", "missing", NULL));
    EXPECT_EQ(script, Set(script, "A", "late", NULL));
    EXPECT_EQ(script, Set(script, "C", "k", NULL));
    EXPECT_EQ(script, Set(script, "C", "k", "new"));
    EXPECT_EQ(script, Set(script, "A]", "k", "new"));
    EXPECT_EQ("", Set("", "A", "k", "new"));
    char* none = NULL;
    ErrorStatus status = ClearStatus();
    SetScriptValue(&none, "A", "k", "v", &status);
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(0u, status.code);
}

TEST(ScriptWriter, InsertsAtTheEndOfTheFirstOccurrence)
{
    // After the section's last non-blank line, before the blank lines that lead to the next
    // header.
    EXPECT_EQ("[A]\r\nk=1\r\nnew=v\r\n\r\n\r\n[B]\r\n", Set("[A]\r\nk=1\r\n\r\n\r\n[B]\r\n", "A", "new", "v"));
    EXPECT_EQ("[A]\r\nnew=v\r\n\r\n[B]", Set("[A]\r\n\r\n[B]", "A", "new", "v"));
    EXPECT_EQ("[A]\r\nk=1\r\nnew=v\r\n\r\n", Set("[A]\r\nk=1\r\n\r\n", "A", "new", "v"));
    EXPECT_EQ("[A]\r\nk=1\r\n; note\r\nnew=v\r\n[B]", Set("[A]\r\nk=1\r\n; note\r\n[B]", "A", "new", "v"));
    EXPECT_EQ("[A]\r\n[x\r\nnew=v\r\n[B]", Set("[A]\r\n[x\r\n[B]", "A", "new", "v"));
    EXPECT_EQ("x=0\r\n[A]\r\nnew=v\r\n", Set("x=0\r\n[A]\r\n", "A", "new", "v"));
    // A section whose last line ends the text without a line break.
    EXPECT_EQ("[A]\r\nk=1\r\nnew=v\r\n", Set("[A]\r\nk=1", "A", "new", "v"));
    EXPECT_EQ("[A]\r\nnew=v\r\n", Set("[A]", "A", "new", "v"));
    EXPECT_EQ("[A]\nk=1\nnew=v\r\n", Set("[A]\nk=1\n", "A", "new", "v"));
    EXPECT_EQ("[A]\rk=1\rnew=v\r\n[B]", Set("[A]\rk=1\r[B]", "A", "new", "v"));
    // Only the first occurrence of a section takes changes, so the new entry is the one found.
    std::string twice = Set("[A]\r\nx=1\r\n[B]\r\n[A]\r\nk=2\r\n", "A", "k", "3");
    EXPECT_EQ("[A]\r\nx=1\r\nk=3\r\n[B]\r\n[A]\r\nk=2\r\n", twice);
    char value[16];
    GetScriptValue(&twice[0], "A", "k", "", value, sizeof value);
    EXPECT_STREQ("3", value);
    // The key is written as the caller spells it, names given as ids are loaded first.
    EXPECT_EQ("[Vandrel]\r\nProductName=4\r\n",
              Set("[Vandrel]\r\n", MAKEINTRESOURCEA(IDS_SECTION_EDITION), MAKEINTRESOURCEA(IDS_KEY_EDITION), "4"));
    EXPECT_EQ("[Vandrel]\r\nk=%s\r\n", Set("[Vandrel]\r\n", "Vandrel", "k", MAKEINTRESOURCEA(IDS_PLAIN_TEXT)));
    EXPECT_EQ("[Vandrel]\r\nk=1\r\n", Set("[Vandrel]\r\nk=1\r\n", "Vandrel", "k", MAKEINTRESOURCEA(999)));
    EXPECT_EQ("[Vandrel]\r\n", Set("[Vandrel]\r\n", MAKEINTRESOURCEA(999), "k", "v"));
}

TEST(ScriptWriter, AFailureAlreadyInTheStatusChangesNothing)
{
    char* text = GlobalText("[A]\r\nk=1\r\n");
    ErrorStatus status = ClearStatus();
    status.code = 5;
    SetScriptValue(&text, "A", "k", "2", &status);
    SetScriptValue(&text, "A", "new", "2", &status);
    SetScriptNumber(&text, "A", "k", 7, &status);
    EXPECT_STREQ("[A]\r\nk=1\r\n", text);
    EXPECT_EQ(5u, status.code);
    GlobalFree(text);
}
