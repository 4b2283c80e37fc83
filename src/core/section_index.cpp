#include "core/section_index.h"
#include "core/error_status.h"
#include "core/script_lines.h"

// How a lookup finds the first equal key without comparing it with every key. NameMatches stays
// the judge of every pair that is compared; the index only leaves out pairs that it cannot call
// equal (script_lines.h says which):
// - keys without hard characters hang in hash chains by their letters made small, hyphens and
//   apostrophes left out; a key is compared with the keys of its own chain only;
// - keys with hard characters, when names that share their text up to the last odd character
//   are equal exactly when they are the same but for case, fall into groups by that text, and
//   hang in the chains by their whole letters made small. A key is compared with the keys of
//   its own chain and group, and with every key outside its group;
// - every other key stands in a list that each lookup walks.
// A key with hard characters may equal keys of any kind, so its lookup also walks the list of
// the chained keys without them. With no shortcut at all every key goes into the walked list.

static void* Allocate(SIZE_T bytes, ErrorStatus* status)
{
    void* block = GlobalAlloc(GMEM_FIXED, bytes ? bytes : 1);
    if (!block) SetStatus(status, GetLastError(), 0);
    return block;
}

struct Lookup {
    WantedName wanted;
    DWORD best;  // the first match so far, or the bound: only entries before it are of interest
};

static bool Matches(const SectionIndex* index, Lookup* lookup, DWORD entry)
{
    SectionEntry* candidate = &index->entries[entry];
    return NameMatches(&lookup->wanted, candidate->key, candidate->keyLength, candidate->keyKind);
}

// Entries of a list or a group come in file order: the first match before the bound ends it.
static void ScanList(const SectionIndex* index, const DWORD* list, DWORD count, Lookup* lookup)
{
    for (DWORD i = 0; i < count && list[i] < lookup->best; i++)
        if (Matches(index, lookup, list[i])) lookup->best = list[i];
}

static void ScanGroup(const SectionIndex* index, DWORD group, Lookup* lookup)
{
    for (DWORD e = index->groups[group]; e != NoSectionEntry && e < lookup->best; e = index->entries[e].nextInGroup)
        if (Matches(index, lookup, e)) lookup->best = e;
}

// The hash chain holds entries in reverse file order; every match is looked at.
static void ScanChain(const SectionIndex* index, DWORD hash, bool hard, DWORD group, Lookup* lookup)
{
    for (DWORD e = index->buckets[hash & index->bucketMask]; e != NoSectionEntry; e = index->entries[e].nextSameHash) {
        const SectionEntry* candidate = &index->entries[e];
        if (e < lookup->best && candidate->hash == hash && IsHardName(candidate->keyKind) == hard
            && candidate->group == group && Matches(index, lookup, e))
            lookup->best = e;
    }
}

static DWORD GroupOf(const SectionIndex* index, const char* key, DWORD prefixLength)
{
    for (DWORD g = 0; g < index->groupCount; g++) {
        const SectionEntry* first = &index->entries[index->groups[g]];
        if (OddPrefixLength(first->key, first->keyLength) == prefixLength
            && FoldedEqual(first->key, key, prefixLength))
            return g;
    }
    return NoSectionEntry;
}

static bool Grouped(const SectionIndex* index, BYTE kind)
{
    return IsHardName(kind) && (index->shortcuts & NameSharedStartShortcut);
}

static bool Chained(const SectionIndex* index, BYTE kind)
{
    return (index->shortcuts & NamePlainShortcut) && (!IsHardName(kind) || Grouped(index, kind));
}

static DWORD KeyHash(const char* key, DWORD length, BYTE kind)
{
    return FoldedNameHash(key, length, !IsHardName(kind));
}

// The first entry before the lookup's bound whose key equals the wanted one.
static void FindFirst(const SectionIndex* index, Lookup* lookup)
{
    const WantedName* wanted = &lookup->wanted;
    bool hard = IsHardName(wanted->kind);
    DWORD group = NoSectionEntry;
    if (Grouped(index, wanted->kind))
        group = GroupOf(index, wanted->text, OddPrefixLength(wanted->text, wanted->length));
    if (Chained(index, wanted->kind) && (!hard || group != NoSectionEntry))
        ScanChain(index, KeyHash(wanted->text, wanted->length, wanted->kind), hard, group, lookup);
    if (hard) ScanList(index, index->plain, index->plainCount, lookup);
    ScanList(index, index->others, index->otherCount, lookup);
    for (DWORD g = 0; g < index->groupCount; g++)
        if (g != group) ScanGroup(index, g, lookup);
}

static void AddEntry(SectionIndex* index, DWORD e, DWORD* lastInGroup)
{
    SectionEntry* entry = &index->entries[e];
    entry->group = NoSectionEntry;
    entry->nextInGroup = NoSectionEntry;
    entry->nextSameHash = NoSectionEntry;
    if (Grouped(index, entry->keyKind)) {
        DWORD prefix = OddPrefixLength(entry->key, entry->keyLength);
        entry->group = GroupOf(index, entry->key, prefix);
        if (entry->group == NoSectionEntry) {
            entry->group = index->groupCount++;
            index->groups[entry->group] = e;
        } else {
            index->entries[lastInGroup[entry->group]].nextInGroup = e;
        }
        lastInGroup[entry->group] = e;
    }
    if (Chained(index, entry->keyKind)) {
        entry->hash = KeyHash(entry->key, entry->keyLength, entry->keyKind);
        DWORD* bucket = &index->buckets[entry->hash & index->bucketMask];
        entry->nextSameHash = *bucket;
        *bucket = e;
        if (entry->group == NoSectionEntry) index->plain[index->plainCount++] = e;
    } else if (entry->group == NoSectionEntry) {
        index->others[index->otherCount++] = e;
    }
    Lookup lookup;
    PrepareWantedName(&lookup.wanted, entry->key);
    lookup.best = e + 1;
    FindFirst(index, &lookup);
    entry->first = lookup.best;
}

// Walks the section's entries; with an index, fills them in. The number of entries and the
// bytes of their keys (each with its NUL).
static DWORD WalkSection(char* text, const char* section, SectionIndex* index, DWORD* keyBytes,
                         DWORD* lastInGroup)
{
    DWORD count = 0, bytes = 0;
    SectionWalk walk;
    StartSectionWalk(&walk, text, section);
    ScriptLine line;
    while (NextSectionEntry(&walk, &line)) {
        if (index) {
            SectionEntry* entry = &index->entries[count];
            entry->key = index->keys + bytes;
            CopyMemory(entry->key, line.name, line.nameLength);
            entry->key[line.nameLength] = 0;
            entry->keyLength = line.nameLength;
            entry->keyKind = line.nameKind;
            const char* end = line.end;
            while (end > line.value && (end[-1] == ' ' || end[-1] == '\t')) end--;
            entry->value = line.value;
            entry->valueLength = (DWORD)(end - line.value);
            AddEntry(index, count, lastInGroup);
        }
        count++;
        bytes += line.nameLength + 1;
    }
    *keyBytes = bytes;
    return count;
}

void BuildSectionIndex(char* text, const char* section, SectionIndex* index, ErrorStatus* status)
{
    ZeroMemory(index, sizeof *index);
    char name[64];
    if (IS_INTRESOURCE(section))
        section = LoadResString((WORD)(UINT_PTR)section, name, sizeof name, NULL) ? name : NULL;
    if (status->code || !text || !section) return;
    DWORD keyBytes = 0;
    DWORD count = WalkSection(text, section, NULL, &keyBytes, NULL);
    DWORD buckets = 1;
    while (buckets < 2 * count) buckets *= 2;

    index->entries = (SectionEntry*)Allocate(count * sizeof(SectionEntry), status);
    index->keys = (char*)Allocate(keyBytes, status);
    index->buckets = (DWORD*)Allocate(buckets * sizeof(DWORD), status);
    index->plain = (DWORD*)Allocate(count * sizeof(DWORD), status);
    index->others = (DWORD*)Allocate(count * sizeof(DWORD), status);
    index->groups = (DWORD*)Allocate(count * sizeof(DWORD), status);
    DWORD* lastInGroup = (DWORD*)Allocate(count * sizeof(DWORD), status);
    if (!status->code) {
        index->bucketMask = buckets - 1;
        for (DWORD i = 0; i < buckets; i++) index->buckets[i] = NoSectionEntry;
        index->shortcuts = NameComparisonShortcuts();
        index->count = WalkSection(text, section, index, &keyBytes, lastInGroup);
    }
    if (lastInGroup) GlobalFree(lastInGroup);
}

DWORD FindSectionEntry(const SectionIndex* index, const char* key)
{
    if (!index->count || !key) return NoSectionEntry;
    Lookup lookup;
    PrepareWantedName(&lookup.wanted, key);
    lookup.best = index->count;
    FindFirst(index, &lookup);
    return lookup.best < index->count ? lookup.best : NoSectionEntry;
}

static DWORD CopyValue(const char* value, DWORD length, char* buffer, DWORD size)
{
    if (!buffer || !size) return 0;
    if (length > size - 1) length = size - 1;
    CopyMemory(buffer, value, length);
    buffer[length] = 0;
    return length;
}

DWORD GetEntryValue(const SectionIndex* index, DWORD entry, char* buffer, DWORD size)
{
    const SectionEntry* first = &index->entries[index->entries[entry].first];
    return CopyValue(first->value, first->valueLength, buffer, size);
}

DWORD GetSectionValue(const SectionIndex* index, const char* key, const char* defaultValue, char* buffer,
                      DWORD size)
{
    DWORD found = FindSectionEntry(index, key);
    if (found != NoSectionEntry) {
        const SectionEntry* entry = &index->entries[found];
        return CopyValue(entry->value, entry->valueLength, buffer, size);
    }
    if (!defaultValue) defaultValue = "";
    return CopyValue(defaultValue, lstrlenA(defaultValue), buffer, size);
}

void FreeSectionIndex(SectionIndex* index)
{
    void* blocks[] = { index->entries, index->keys, index->buckets, index->plain, index->others, index->groups };
    for (void* block : blocks)
        if (block) GlobalFree(block);
    ZeroMemory(index, sizeof *index);
}
