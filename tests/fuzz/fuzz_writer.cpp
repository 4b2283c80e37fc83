// The setup-script writer against a simple model: a value written under a key of a section
// reads back as written, and the entries of other keys keep their values.
#include <windows.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>
#include <string>
#include "core/error_status.h"
#include "core/script.h"
static void Check(bool condition) { if (!condition) abort(); }
// What a script line can hold: no line breaks or NULs; a name never starts a comment or a
// header and holds no "="; a value loses its trailing blanks when read.
static std::string Usable(std::string text, bool name)
{
    std::string out;
    for (char c : text)
        if (c && c != '\r' && c != '\n' && !(name && (c == '=' || c == ']'))) out += c;
    if (name && !out.empty() && (out[0] == ';' || out[0] == '[')) out[0] = 'x';
    while (!name && !out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
    return out;
}
// "image" and "headerimage" look for the best of every key that holds the name, not for one key.
static bool IsImageKey(const std::string& key)
{
    return !lstrcmpiA(key.c_str(), "image") || !lstrcmpiA(key.c_str(), "headerimage");
}
static std::string Lookup(char* text, const std::string& section, const std::string& key)
{
    char value[256];
    GetScriptValue(text, section.c_str(), key.c_str(), "<none>", value, sizeof value);
    return value;
}
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    std::string section = Usable(input.ConsumeRandomLengthString(24), true);
    std::string key = Usable(input.ConsumeRandomLengthString(40), true);
    std::string value = Usable(input.ConsumeRandomLengthString(200), false);
    std::string otherSection = Usable(input.ConsumeRandomLengthString(24), true);
    std::string otherKey = Usable(input.ConsumeRandomLengthString(40), true);
    bool remove = input.ConsumeBool();
    std::string script = input.ConsumeRemainingBytesAsString();
    for (char& c : script)
        if (!c) c = ' ';
    if (section.empty() || key.empty() || otherKey.empty() || IsImageKey(key) || IsImageKey(otherKey)) return 0;
    // The section exists at least at the end; the writer changes its first occurrence.
    script += "\r\n[" + section + "]\r\n";
    char* text = (char*)malloc(script.size() + 1);
    memcpy(text, script.c_str(), script.size() + 1);
    std::string otherBefore = Lookup(text, otherSection, otherKey);
    ErrorStatus status = {};
    SetScriptValue(&text, section.c_str(), key.c_str(), remove ? NULL : value.c_str(), &status);
    Check(!status.code);
    if (!remove) Check(Lookup(text, section, key) == value.substr(0, 255));
    bool same = !lstrcmpiA(section.c_str(), otherSection.c_str()) && !lstrcmpiA(key.c_str(), otherKey.c_str());
    if (!same) Check(Lookup(text, otherSection, otherKey) == otherBefore);
    free(text);
    return 0;
}
