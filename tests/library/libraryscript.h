#pragma once

#include "library/librarynoticesink.h"
#include "library/libraryoperations.h"
#include "library/libraryprompter.h"
#include "library/libraryviewobserver.h"
#include "library/recordlibrary.h"
#include "library/settings.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

// Random scripts of library operations over a small library, with a check of the tree's
// invariants after every step. The unit tests drive it from a seeded generator, the fuzz target
// from its input bytes.

// What a tree must always hold; an empty text when it does, else the first fault found.
inline std::string treeFault(const CollectionTree& t)
{
    if (t.folderCount() == 0 || t.folder(0).parent != -1)
        return "root";
    int shared = 0;
    for (int f = 0; f < t.folderCount(); ++f) {
        const RecordFolder& folder = t.folder(f);
        shared += !folder.shareName.empty();
        if (!t.folderIsLive(f)) {
            if (!folder.children.empty() || !folder.records.empty())
                return "removed folder " + std::to_string(f) + " keeps content";
            continue;
        }
        if (f > 0) {
            if (!t.folderIsLive(folder.parent))
                return "folder " + std::to_string(f) + " hangs from a removed one";
            const std::vector<int>& siblings = t.folder(folder.parent).children;
            if (std::count(siblings.begin(), siblings.end(), f) != 1)
                return "folder " + std::to_string(f) + " not listed once";
            if (!t.nameTaken(folder.parent, folder.name))
                return "folder name not indexed";
        }
        for (const int child : folder.children) {
            if (t.folder(child).parent != f)
                return "child " + std::to_string(child) + " of another parent";
        }
        for (const int slot : folder.records) {
            if (t.record(slot).folder != f)
                return "record " + std::to_string(slot) + " listed in the wrong folder";
        }
    }
    if (shared != t.sharedCount())
        return "shared count";
    for (int slot = 0; slot < t.slotCount(); ++slot) {
        const GameRecord& record = t.record(slot);
        if (record.folder < 0)
            continue;
        if (!t.folderIsLive(record.folder))
            return "record " + std::to_string(slot) + " in a removed folder";
        const std::vector<int>& records = t.folder(record.folder).records;
        if (std::count(records.begin(), records.end(), slot) != 1)
            return "record " + std::to_string(slot) + " not listed once";
        if (!t.nameTaken(record.folder, record.name))
            return "record name not indexed";
    }
    return {};
}

// Says yes or no as told and ignores the views.
struct ScriptDesktop : LibraryPrompter, NoLibraryViews, LibraryNoticeSink {
    bool answer = true;
    bool confirm(const std::string&, const std::string&) override { return answer; }
    void showError(const std::string&, const std::string&) override { }
    FolderKey shownFolder() const override { return shown; }
    int32_t sendWindowNotice(int32_t, uint32_t, uint32_t) override { return 0; }
    FolderKey shown { 0, 0 };
};

// Runs steps chosen by next(n) (a number below n) on collections 0 and 3; returns the first
// fault, or empty.
inline std::string runLibraryScript(const std::function<int(int)>& next, int steps)
{
    RecordLibrary library;
    for (int c = 0; c < collectionCount; ++c)
        library.collection(c).ensureRoot("root", 0);
    Settings settings;
    ScriptDesktop desktop;
    LibraryOperations ops(library, settings, desktop, desktop, desktop);
    const std::vector<std::string> names { "A", "B",
        "\x83\x52\x83\x73\x81\x5B\x81\x60"
        "A",
        "A(2)", "\x95\x5C", "" };

    const auto liveFolders = [&](int c) {
        std::vector<int> live;
        for (int f = 0; f < library.collection(c).folderCount(); ++f) {
            if (library.collection(c).folderIsLive(f))
                live.push_back(f);
        }
        return live;
    };
    const auto pick
        = [&](const std::vector<int>& from) { return from[size_t(next(int(from.size())))]; };
    const auto selection = [&](int c, int folder) {
        std::vector<ItemRef> items;
        const RecordFolder& f = library.collection(c).folder(folder);
        for (const int child : f.children) {
            if (next(2))
                items.push_back(folderItem(child));
        }
        for (const int slot : f.records) {
            if (next(2))
                items.push_back(recordItem(slot));
        }
        if (!items.empty() && next(4) == 0)
            items.push_back(items.front()); // the same row twice
        return items;
    };

    for (int step = 0; step < steps; ++step) {
        const int c = next(4) == 0 ? trashCollection : myRecordsCollection;
        CollectionTree& t = library.collection(c);
        const int folder = pick(liveFolders(c));
        const std::string& name = names[size_t(next(int(names.size())))];
        desktop.answer = next(5) != 0;
        settings.delforce = next(2);
        switch (next(11)) {
        case 0:
            ops.newFolder(c, folder, next(2) ? std::optional<std::string>(name) : std::nullopt);
            break;
        case 1:
            ops.newRecord(c, folder);
            break;
        case 2:
            if (folder > 0 && ops.checkName(c, t.folder(folder).parent, name, nullptr))
                ops.renameFolder(c, folder, name);
            break;
        case 3:
            if (!t.folder(folder).records.empty()) {
                const int slot = pick(t.folder(folder).records);
                if (ops.checkName(c, folder, name, nullptr))
                    ops.renameRecord(c, slot, name);
            }
            break;
        case 4:
            ops.deleteFolder(c, folder, next(2), -1);
            break;
        case 5:
            ops.deleteItems(c, selection(c, folder), next(2), -1);
            break;
        case 6: {
            const int target = next(3) == 0 ? trashCollection : myRecordsCollection;
            ops.moveOrCopy(
                c, folder, selection(c, folder), target, pick(liveFolders(target)), next(2) != 0);
            break;
        }
        case 7:
            ops.importText(c, folder, next(2) ? "F5D6\nxx\r\nE6" : "C4C3");
            break;
        case 8:
            ops.ensurePath(c, folder, "\\" + name + "\\" + names[size_t(next(2))]);
            break;
        case 9:
            ops.setShare(c, folder, next(2) ? std::optional<std::string>(name) : std::nullopt, "c");
            break;
        case 10:
            if (next(8) == 0)
                ops.emptyTrash();
            break;
        }
        for (const int checked : { myRecordsCollection, trashCollection }) {
            const std::string fault = treeFault(library.collection(checked));
            if (!fault.empty())
                return "step " + std::to_string(step) + ", collection " + std::to_string(checked)
                    + ": " + fault;
        }
    }
    return {};
}
