#include "mediacheck/media_paths.h"
#include "mediacheck/media_files.h"
#include "core/format.h"

struct PartSearch {
    const char* wanted;
    bool exact, other;
    MediaEntry match;
};

static void MatchPart(const MediaEntry* entry, void* context)
{
    PartSearch* search = (PartSearch*)context;
    if (search->exact) return;
    if (!lstrcmpA(entry->name, search->wanted)) {
        search->exact = true;
        search->match = *entry;
    } else if (!search->other && !lstrcmpiA(entry->name, search->wanted)) {
        search->other = true;
        search->match = *entry;
    }
}

static bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool StaysInside(const char* relative)
{
    if (!*relative || IsSeparator(relative[0]) || IndexOfChar(relative, ':') >= 0) return false;
    for (const char* part = relative; *part;) {
        int length = 0;
        while (part[length] && !IsSeparator(part[length])) length++;
        if (length == 2 && part[0] == '.' && part[1] == '.') return false;
        part += length;
        while (IsSeparator(*part)) part++;
    }
    return true;
}

void FindMediaPath(const char* relative, FoundPath* found)
{
    ZeroMemory(found, sizeof *found);
    found->result = PathFound;
    found->isFolder = true;
    if (!StaysInside(relative)) {
        found->result = PathOutsideMedia;
        return;
    }
    const char* part = relative;
    while (*part) {
        char name[MAX_PATH];
        int length = 0;
        while (part[length] && !IsSeparator(part[length])) length++;
        CopyText(part, name, length + 1 < MAX_PATH ? length + 1 : MAX_PATH);
        part += length;
        while (IsSeparator(*part)) part++;
        if (!name[0] || !lstrcmpA(name, ".")) continue;

        PartSearch search = { name, false, false, {} };
        if (!found->isFolder || !ListMediaFolder(found->actual, MatchPart, &search) || (!search.exact && !search.other)) {
            found->result = *part ? PathFolderMissing : PathMissing;
            return;
        }
        if (!search.exact) found->result = PathCaseDiffers;
        char joined[MAX_PATH];
        if (!JoinPathParts(joined, sizeof joined, NULL, found->actual, found->actual[0] ? "\\" : "", search.match.name,
                           (const char*)NULL)) {
            found->result = PathMissing;
            return;
        }
        CopyText(joined, found->actual, sizeof found->actual);
        found->isFolder = search.match.isFolder;
        found->size = search.match.size;
    }
}

struct TreeWalk {
    const char* folder;
    TreeVisitor visit;
    void* context;
};

static void VisitTreeEntry(const MediaEntry* entry, void* context)
{
    const TreeWalk* walk = (const TreeWalk*)context;
    char relative[MAX_PATH];
    if (!JoinPathParts(relative, sizeof relative, NULL, walk->folder, walk->folder[0] ? "\\" : "", entry->name,
                       (const char*)NULL))
        return;
    walk->visit(relative, entry->isFolder, entry->size, walk->context);
    if (entry->isFolder) WalkMediaTree(relative, walk->visit, walk->context);
}

void WalkMediaTree(const char* folder, TreeVisitor visit, void* context)
{
    TreeWalk walk = { folder, visit, context };
    ListMediaFolder(folder, VisitTreeEntry, &walk);
}
