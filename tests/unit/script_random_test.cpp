// Scripts built at random from fragments (headers, entries, comments, blank lines, odd line
// breaks, long lines, binary bytes, NULs), read (by the scan and by the section index) and
// changed, and checked against a plain model.
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>
#include "core/script.h"
#include "core/section_index.h"
#include "unit/file_helpers.h"

namespace {
struct Line {
    size_t start, end, next;  // the content from start to end, the line break up to next
    bool header, entry;
    int occurrence;           // the section occurrence the line lies in, -1 before the first
    std::string name, value;
};
struct Model {
    std::string text;  // up to the first NUL
    std::vector<Line> lines;
    std::vector<std::string> sections;  // the name of each occurrence, in file order
};
bool Same(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }
std::string Trimmed(std::string value)
{
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    return value;
}
Model Parse(const std::string& bytes)
{
    Model model;
    const std::string& t = model.text = bytes.substr(0, bytes.find('\0'));
    for (size_t i = 0; i < t.size();) {
        Line line = { i, 0, 0, false, false, 0, "", "" };
        while (i < t.size() && t[i] != '\r' && t[i] != '\n') i++;
        line.end = i;
        if (i < t.size() && ++i < t.size() && t[i] == '\n') i++;
        line.next = i;
        std::string content = t.substr(line.start, line.end - line.start);
        size_t close = content.find(']'), equals = content.find('=');
        line.header = !content.empty() && content[0] == '[' && close != std::string::npos;
        line.entry = !content.empty() && !strchr("[;", content[0]) && !model.sections.empty() && equals != std::string::npos;
        if (line.header) model.sections.push_back(line.name = content.substr(1, close - 1));
        if (line.entry) line.name = content.substr(0, equals), line.value = content.substr(equals + 1);
        line.occurrence = (int)model.sections.size() - 1;
        model.lines.push_back(line);
    }
    return model;
}
const Line* Lookup(const Model& model, const std::string& section, const std::string& key)
{
    for (const Line& line : model.lines)
        if (line.entry && Same(model.sections[line.occurrence], section) && Same(line.name, key)) return &line;
    return nullptr;
}
std::vector<std::string> Keys(const Model& model, const std::string& section)
{
    std::vector<std::string> keys;
    for (const Line& line : model.lines)
        if (line.entry && Same(model.sections[line.occurrence], section)) keys.push_back(line.name);
    return keys;
}
// What SetScriptValue makes of the text: the first occurrence of the section only; a new entry
// after its last line that is not a blank CR LF line.
std::string ExpectedAfterSet(const Model& model, const std::string& section, const std::string& key, const char* value)
{
    const std::string& t = model.text;
    size_t i = 0;
    while (i < model.lines.size() && !(model.lines[i].header && Same(model.lines[i].name, section))) i++;
    if (i == model.lines.size()) return t;
    std::string line = value ? key + "=" + value + "\r\n" : "";
    size_t insertAt = model.lines[i].next;
    for (i++; i < model.lines.size() && !model.lines[i].header; i++) {
        const Line& l = model.lines[i];
        if (l.entry && Same(l.name, key)) return t.substr(0, l.start) + line + t.substr(l.next);
        if (!(l.start == l.end && t.compare(l.end, l.next - l.end, "\r\n") == 0)) insertAt = l.next;
    }
    if (!value) return t;
    if (insertAt == t.size() && t.back() != '\r' && t.back() != '\n') line = "\r\n" + line;
    return t.substr(0, insertAt) + line + t.substr(insertAt);
}
const std::vector<std::string> Sections = { "Files", "files", "FILES", "Dirs", "a-b", "ab", "Gr\xF6\xDF" "e", "GR\xD6SSE", "", "x y" };
const std::vector<std::string> Names = {
    "Path", "path", "PATH", "k", "K", "key ", " key", "a-b", "ab", "co-op", "coop", "co'op", "a\xAD" "b", "ae", "\xE6", "", "\xE9t\xE9", "\xC9T\xC9",
    "C:\\J\xF6rg\\a-b", "c:\\j\xD6RG\\AB", "C:\\J\xF6rg\\a'b\xE4",
    "C:\\Program Files\\Corvantis Vandrel\\file1.dll", "c:\\program files\\corvantis vandrel\\FILE1.DLL",
    "C:\\Program Files\\Corvantis Vandrel\\file2.dll",
};
const std::vector<std::string> Values = { "1", "0", "value with spaces", "  lead", "trail \t ", "%productversion(x)%", "\xE9", "a=b", "", "[x]", ";" };
struct Generator {
    std::mt19937 random;
    unsigned Below(unsigned n) { return (unsigned)(random() % n); }
    const std::string& Pick(const std::vector<std::string>& from) { return from[Below((unsigned)from.size())]; }
    std::string Bytes(size_t length, bool lineBreaks)
    {
        std::string bytes;
        for (size_t i = 0; i < length; i++) {
            char c = Below(3) ? (char)(1 + Below(255)) : "[]=;\r\n \t"[Below(8)];
            bytes += !lineBreaks && (c == '\r' || c == '\n') ? 'x' : c;
        }
        return bytes;
    }
    std::string Line()
    {
        static const char* Trailing[] = { "", "", " ; note", "]", "x=1" };
        std::string longText(200 + Below(3000), "vks"[Below(3)]);
        switch (Below(12)) {
        case 0: case 1: return "[" + Pick(Sections) + "]" + Trailing[Below(5)];
        case 2: case 3: case 4: return Pick(Names) + "=" + Pick(Values);
        case 5: return ";" + Pick(Names) + "=" + Pick(Values);
        case 6: return "";
        case 7: return "[" + Pick(Sections) + (Below(2) ? "=1" : "");
        case 8: return " [" + Pick(Sections) + "]";
        case 9: return "no equals here";
        case 10: return longText[0] == 'v' ? Pick(Names) + "=" + longText : longText[0] == 'k' ? longText + "=long key" : "[" + longText + "]";
        default: return Bytes(Below(40), false);
        }
    }
    std::string Script()
    {
        static const char* Breaks[] = { "\r\n", "\r\n", "\r\n", "\r\n", "\n", "\r", "\n\n", "\r\r\n", "\n\r" };
        if (!Below(10)) return Bytes(Below(400), true);
        std::string script;
        for (unsigned i = 0, lines = Below(30); i < lines; i++) script += Line() + (i + 1 < lines || Below(3) ? Breaks[Below(9)] : "");
        if (!Below(20)) script.insert(Below((unsigned)script.size() + 1), std::string(1, '\0') + Line() + "\r\n");
        return script;
    }
};
void CheckLookups(const std::string& bytes, const Model& model, Generator& generator)
{
    GuardedText guarded(bytes);
    char* text = guarded.text();
    for (const std::string& section : Sections) {
        std::string list, wanted;
        for (const std::string& key : Keys(model, section)) list += key.empty() ? "" : key + '\0';  // empty keys left out
        DWORD size = (DWORD)list.size() + 1;
        ASSERT_EQ(size, GetScriptValueSize(text, section.c_str(), NULL)) << "[" << section << "]";
        std::vector<char> read(size + 8, 'Z');
        ASSERT_EQ(size - 1, GetScriptValue(text, section.c_str(), NULL, NULL, read.data(), size));
        ASSERT_EQ(list + '\0' + 'Z', std::string(read.data(), size + 1)) << "the key list of [" << section << "]";
        // The section index, read in one walk, answers as the scan does: its entries in file order
        // with their values, and every lookup.
        SectionIndex index;
        ErrorStatus status = {};
        BuildSectionIndex(text, section.c_str(), &index, &status);
        std::vector<std::string> keys = Keys(model, section);
        ASSERT_EQ(keys.size(), index.count) << "[" << section << "]";
        for (DWORD i = 0; i < index.count; i++) {
            char value[256];
            GetEntryValue(&index, i, value, sizeof value);
            ASSERT_EQ(keys[i] + "=" + Trimmed(Lookup(model, section, keys[i])->value).substr(0, 255), std::string(index.entries[i].key) + "=" + value);
        }
        for (const std::string& key : Names) {
            const Line* entry = Lookup(model, section, key);
            char value[256 + 8];
            memset(value, 'Z', sizeof value);
            DWORD length = GetScriptValue(text, section.c_str(), key.c_str(), "<none>", value, 256);
            wanted = entry ? Trimmed(entry->value).substr(0, 255) : "<none>";
            ASSERT_EQ(wanted + '\0' + 'Z', std::string(value, length + 2)) << "[" << section << "] " << key;
            ASSERT_EQ('Z', value[256]);
            ASSERT_EQ(entry ? (DWORD)entry->value.size() + 1 : 0xFFFFFFFF, GetScriptValueSize(text, section.c_str(), key.c_str()));
            ASSERT_EQ(length, GetSectionValue(&index, key.c_str(), "<none>", value, 256));
            ASSERT_EQ(wanted, value) << "the index: [" << section << "] " << key;
        }
        DWORD small = 1 + generator.Below(12);
        const std::string& key = generator.Pick(Names);
        const Line* entry = Lookup(model, section, key);
        char value[24], indexed[24];
        memset(value, 'Z', sizeof value);
        GetScriptValue(text, section.c_str(), key.c_str(), "default", value, small);
        GetSectionValue(&index, key.c_str(), "default", indexed, small);
        FreeSectionIndex(&index);
        ASSERT_EQ((entry ? Trimmed(entry->value) : std::string("default")).substr(0, small - 1), value);
        ASSERT_EQ(std::string(value), indexed);
        ASSERT_EQ('Z', value[small]);
        std::string part = generator.Pick(Names).substr(0, generator.Below(4));
        bool has = false;
        for (const std::string& name : Keys(model, section)) has = has || name.find(part) != std::string::npos;
        ASSERT_EQ(has ? 1 : 0, SectionHasKeyLike(text, section.c_str(), part.c_str())) << "[" << section << "] " << part;
    }
    ASSERT_EQ(bytes + '\0', guarded.bytes()) << "a lookup changed the text";
}
void CheckWrite(const Model& model, Generator& generator)
{
    const std::string& section = generator.Pick(Sections);
    std::string key = generator.Pick(Names);
    bool remove = !generator.Below(3);
    std::string value = generator.Below(10) ? generator.Pick(Values) : std::string(300 + generator.Below(300), 'w');
    char* text = GlobalText(model.text);
    ErrorStatus status = {};
    SetScriptValue(&text, section.c_str(), key.c_str(), remove ? NULL : value.c_str(), &status);
    std::string after = text;
    ASSERT_GE(GlobalSize(text), after.size() + 1);
    GlobalFree(text);
    ASSERT_EQ(0u, status.code);
    ASSERT_EQ(ExpectedAfterSet(model, section, key, remove ? NULL : value.c_str()), after)
        << (remove ? "deleting" : "setting") << " [" << section << "] " << key;
}
}  // namespace

TEST(ScriptRandom, ScriptsBuiltFromFragmentsMatchTheModel)
{
    for (unsigned seed = 1; seed <= 400 && !HasFatalFailure(); seed++) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Generator generator = { std::mt19937(seed) };
        std::string bytes = generator.Script();
        Model model = Parse(bytes);
        CheckLookups(bytes, model, generator);
        for (int i = 0; i < 4 && !HasFatalFailure(); i++) CheckWrite(model, generator);
    }
}
