// Scripts built at random from fragments (headers, entries, comments, blank lines, odd line
// breaks, long lines, binary bytes, NULs), checked against a plain model of the syntax.
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>
#include "core/error_status.h"
#include "core/script.h"
#include "script_test_support.h"

namespace {

enum { ModelIgnored, ModelHeader, ModelEntry };

struct ModelLine {
    size_t start, end, next;  // content from start to end, the line break up to next
    int type;
    int occurrence;           // the section occurrence the line lies in, -1 before the first
    std::string name, value;
};

struct Model {
    std::string text;                  // up to the first NUL
    std::vector<ModelLine> lines;
    std::vector<std::string> sections; // the name of each occurrence, in file order
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
    model.text = bytes.substr(0, bytes.find('\0'));
    const std::string& t = model.text;
    size_t i = 0;
    while (i < t.size()) {
        ModelLine line;
        line.start = i;
        while (i < t.size() && t[i] != '\r' && t[i] != '\n') i++;
        line.end = i;
        if (i < t.size()) {
            i++;
            if (i < t.size() && t[i] == '\n') i++;
        }
        line.next = i;
        std::string content = t.substr(line.start, line.end - line.start);
        line.type = ModelIgnored;
        if (!content.empty() && content[0] == '[') {
            size_t close = content.find(']');
            if (close != std::string::npos) {
                line.type = ModelHeader;
                line.name = content.substr(1, close - 1);
                model.sections.push_back(line.name);
            }
        } else if (!content.empty() && content[0] != ';' && !model.sections.empty()) {
            size_t equals = content.find('=');
            if (equals != std::string::npos) {
                line.type = ModelEntry;
                line.name = content.substr(0, equals);
                line.value = content.substr(equals + 1);
            }
        }
        line.occurrence = (int)model.sections.size() - 1;
        model.lines.push_back(line);
    }
    return model;
}

bool InSection(const Model& model, const ModelLine& line, const std::string& section)
{
    return line.type == ModelEntry && Same(model.sections[line.occurrence], section);
}

const ModelLine* Lookup(const Model& model, const std::string& section, const std::string& key)
{
    for (const ModelLine& line : model.lines)
        if (InSection(model, line, section) && Same(line.name, key)) return &line;
    return nullptr;
}

std::vector<std::string> Keys(const Model& model, const std::string& section)
{
    std::vector<std::string> keys;
    for (const ModelLine& line : model.lines)
        if (InSection(model, line, section)) keys.push_back(line.name);
    return keys;
}

// What SetScriptValue makes of the text: the first occurrence of the section only; a new entry
// after its last line that is not a blank CR LF line.
std::string ExpectedAfterSet(const Model& model, const std::string& section, const std::string& key,
                             const char* value)
{
    const std::string& t = model.text;
    size_t i = 0;
    while (i < model.lines.size() && !(model.lines[i].type == ModelHeader && Same(model.lines[i].name, section))) i++;
    if (i == model.lines.size()) return t;
    std::string line = value ? key + "=" + value + "\r\n" : "";
    size_t insertAt = model.lines[i].next;
    for (i++; i < model.lines.size() && model.lines[i].type != ModelHeader; i++) {
        const ModelLine& l = model.lines[i];
        if (l.type == ModelEntry && Same(l.name, key))
            return t.substr(0, l.start) + line + t.substr(l.next);
        bool blankCrLf = l.start == l.end && t.compare(l.end, l.next - l.end, "\r\n") == 0;
        if (!blankCrLf) insertAt = l.next;
    }
    if (!value) return t;
    if (insertAt == t.size() && t.back() != '\r' && t.back() != '\n') line = "\r\n" + line;
    return t.substr(0, insertAt) + line + t.substr(insertAt);
}

const std::vector<std::string> SectionNames = {
    "Files", "files", "FILES", "Dirs", "a-b", "ab", "Gr\xF6\xDF" "e", "GR\xD6SSE", "", "x y",
};
const std::vector<std::string> KeyNames = {
    "Path", "path", "PATH", "k", "K", "key ", " key", "a-b", "ab", "co-op", "coop", "", "\xE9t\xE9", "\xC9T\xC9",
    "C:\\Program Files\\Corvantis Vandrel\\file1.dll", "c:\\program files\\corvantis vandrel\\FILE1.DLL",
    "C:\\Program Files\\Corvantis Vandrel\\file2.dll",
};
const std::vector<std::string> Values = {
    "1", "0", "value with spaces", "  lead", "trail \t ", "%productversion(x)%", "\xE9", "a=b", "", "[x]", ";",
};

struct Generator {
    std::mt19937 random;
    explicit Generator(unsigned seed) : random(seed) {}

    unsigned Below(unsigned n) { return (unsigned)(random() % n); }
    const std::string& Pick(const std::vector<std::string>& from) { return from[Below((unsigned)from.size())]; }

    std::string Bytes(size_t length, bool lineBreaks)
    {
        static const char Favoured[] = "[]=;\r\n \t";
        std::string bytes;
        for (size_t i = 0; i < length; i++) {
            char c = Below(3) ? (char)(1 + Below(255)) : Favoured[Below(sizeof Favoured - 1)];
            if (!lineBreaks && (c == '\r' || c == '\n')) c = 'x';
            bytes += c;
        }
        return bytes;
    }

    std::string Line()
    {
        switch (Below(12)) {
        case 0: case 1: {
            static const char* Trailing[] = { "", "", " ; note", "]", "x=1" };
            return "[" + Pick(SectionNames) + "]" + Trailing[Below(5)];
        }
        case 2: case 3: case 4: return Pick(KeyNames) + "=" + Pick(Values);
        case 5: return ";" + Pick(KeyNames) + "=" + Pick(Values);
        case 6: return "";
        case 7: return "[" + Pick(SectionNames) + (Below(2) ? "=1" : "");
        case 8: return " [" + Pick(SectionNames) + "]";
        case 9: return "no equals here";
        case 10: {
            size_t length = 200 + Below(3000);
            switch (Below(3)) {
            case 0: return Pick(KeyNames) + "=" + std::string(length, 'v');
            case 1: return std::string(length, 'k') + "=long key";
            default: return "[" + std::string(length, 's') + "]";
            }
        }
        default: return Bytes(Below(40), false);
        }
    }

    std::string Break()
    {
        static const char* Breaks[] = { "\r\n", "\r\n", "\r\n", "\r\n", "\n", "\r", "\n\n", "\r\r\n", "\n\r" };
        return Breaks[Below(9)];
    }

    std::string Script()
    {
        if (!Below(10)) return Bytes(Below(400), true);
        std::string script;
        unsigned lines = Below(30);
        for (unsigned i = 0; i < lines; i++) {
            script += Line();
            if (i + 1 < lines || Below(3)) script += Break();
        }
        if (!Below(20)) script.insert(Below((unsigned)script.size() + 1), std::string(1, '\0') + Line() + "\r\n");
        return script;
    }
};

void CheckLookups(const std::string& bytes, const Model& model, Generator& generator)
{
    GuardedText guarded(bytes);
    char* text = guarded.text();
    std::string before = guarded.bytes();

    for (const std::string& section : SectionNames) {
        std::vector<std::string> expected = Keys(model, section);
        DWORD size = 1;
        for (const std::string& key : expected)
            if (!key.empty()) size += (DWORD)key.size() + 1;
        ASSERT_EQ(size, GetScriptValueSize(text, section.c_str(), NULL)) << "section [" << section << "]";
        std::vector<char> list(size + 8, 'Z');
        ASSERT_EQ(size - 1, GetScriptValue(text, section.c_str(), NULL, NULL, list.data(), size));
        // Empty keys are left out of the list.
        std::string expectedList;
        for (const std::string& key : expected)
            if (!key.empty()) expectedList += key + '\0';
        expectedList += '\0';
        ASSERT_EQ(expectedList, std::string(list.data(), size)) << "key list of [" << section << "]";
        ASSERT_EQ('Z', list[size]);

        for (const std::string& key : KeyNames) {
            const ModelLine* entry = Lookup(model, section, key);
            char value[256 + 8];
            memset(value, 'Z', sizeof value);
            DWORD length = GetScriptValue(text, section.c_str(), key.c_str(), "<none>", value, 256);
            std::string wanted = entry ? Trimmed(entry->value).substr(0, 255) : "<none>";
            ASSERT_EQ(wanted, value) << "[" << section << "] " << key;
            ASSERT_EQ(wanted.size(), length);
            ASSERT_EQ('Z', value[256]);
            ASSERT_EQ(entry ? (DWORD)entry->value.size() + 1 : 0xFFFFFFFF,
                      GetScriptValueSize(text, section.c_str(), key.c_str()));
        }

        DWORD small = 1 + generator.Below(12);
        const std::string& key = generator.Pick(KeyNames);
        const ModelLine* entry = Lookup(model, section, key);
        char value[24];
        memset(value, 'Z', sizeof value);
        GetScriptValue(text, section.c_str(), key.c_str(), "default", value, small);
        ASSERT_EQ((entry ? Trimmed(entry->value) : std::string("default")).substr(0, small - 1), value);
        ASSERT_EQ('Z', value[small]);

        std::string part = generator.Pick(KeyNames).substr(0, generator.Below(4));
        bool has = false;
        for (const std::string& name : expected) has = has || name.find(part) != std::string::npos;
        ASSERT_EQ(has ? 1 : 0, SectionHasKeyLike(text, section.c_str(), part.c_str()));
    }
    ASSERT_EQ(before, guarded.bytes()) << "a lookup changed the text";
}

void CheckWrite(const std::string& bytes, const Model& model, Generator& generator)
{
    const std::string& section = generator.Pick(SectionNames);
    // Keys that read back as themselves: no "=", no leading ";" or "[".
    std::string key = generator.Pick(KeyNames);
    bool remove = !generator.Below(3);
    std::string value = generator.Pick(Values);
    if (!generator.Below(10)) value = std::string(300 + generator.Below(300), 'w');

    char* text = GlobalText(bytes);
    ErrorStatus status = ClearStatus();
    SetScriptValue(&text, section.c_str(), key.c_str(), remove ? NULL : value.c_str(), &status);
    ASSERT_EQ(0u, status.code);
    std::string after = text;
    GlobalFree(text);
    ASSERT_EQ(ExpectedAfterSet(model, section, key, remove ? NULL : value.c_str()), after)
        << (remove ? "deleting" : "setting") << " [" << section << "] " << key;

    Model changed = Parse(after);
    bool sectionExists = false;
    for (const std::string& name : model.sections) sectionExists = sectionExists || Same(name, section);
    const ModelLine* entry = Lookup(changed, section, key);
    GuardedText guarded(after);
    char read[256];
    GetScriptValue(guarded.text(), section.c_str(), key.c_str(), "<none>", read, sizeof read);
    if (sectionExists && !remove) {
        ASSERT_TRUE(entry);
        ASSERT_EQ(Trimmed(value).substr(0, 255), read) << "the value set is read back";
    }
    // Every other section keeps its keys; the changed one gains or loses at most one.
    for (const std::string& other : SectionNames) {
        std::vector<std::string> oldKeys = Keys(model, other), newKeys = Keys(changed, other);
        if (!Same(other, section)) {
            ASSERT_EQ(oldKeys, newKeys);
            continue;
        }
        size_t difference = oldKeys.size() > newKeys.size() ? oldKeys.size() - newKeys.size()
                                                            : newKeys.size() - oldKeys.size();
        ASSERT_LE(difference, 1u);
        if (remove) ASSERT_LE(newKeys.size(), oldKeys.size());
    }
}

}  // namespace

TEST(ScriptRandom, ScriptsBuiltFromFragmentsMatchTheModel)
{
    for (unsigned seed = 1; seed <= 400; seed++) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Generator generator(seed);
        std::string bytes = generator.Script();
        Model model = Parse(bytes);
        CheckLookups(bytes, model, generator);
        if (HasFatalFailure()) return;
        for (int i = 0; i < 4; i++) {
            CheckWrite(bytes, model, generator);
            if (HasFatalFailure()) return;
        }
    }
}
