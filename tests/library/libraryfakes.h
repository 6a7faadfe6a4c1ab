#pragma once

#include "library/librarynoticesink.h"
#include "library/libraryprompter.h"
#include "library/libraryviewobserver.h"
#include "text/cp932.h"

#include <deque>
#include <string>
#include <vector>

// Recording stand-ins for the three outward interfaces of the library. They write into one shared
// log, in UTF-8, so that a test sees every question, message, view call and notice in the order
// they came.
struct LibraryLog {
    std::vector<std::string> entries;

    void add(std::string entry) { entries.push_back(std::move(entry)); }
    void clear() { entries.clear(); }
};

class RecordingPrompter : public LibraryPrompter {
public:
    explicit RecordingPrompter(LibraryLog& log)
        : m_log(log)
    { }

    // Answers given to the next questions, in order; "はい" when none is left.
    std::deque<bool> answers;

    bool confirm(const std::string& title, const std::string& text) override
    {
        m_log.add("confirm|" + cp932::toUtf8(title) + "|" + cp932::toUtf8(text));
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showError(const std::string& title, const std::string& text) override
    {
        m_log.add("error|" + cp932::toUtf8(title) + "|" + cp932::toUtf8(text));
    }

private:
    LibraryLog& m_log;
};

class RecordingViews : public LibraryViewObserver {
public:
    explicit RecordingViews(LibraryLog& log)
        : m_log(log)
    { }

    FolderKey shown;
    // When set, the list follows a removed folder to this one (as the tree's selection would).
    FolderKey showAfterRemoval;

    FolderKey shownFolder() const override { return shown; }
    void folderInserted(FolderKey f) override { m_log.add("tree.insert " + key(f)); }
    void folderRemoved(FolderKey f) override
    {
        m_log.add("tree.remove " + key(f));
        if (showAfterRemoval.valid())
            shown = showAfterRemoval;
    }
    void folderChildrenRemoved(FolderKey f) override { m_log.add("tree.clear " + key(f)); }
    void folderRenamed(FolderKey f) override { m_log.add("tree.rename " + key(f)); }
    void folderShared(FolderKey f, bool shared) override
    {
        m_log.add("tree.shared " + key(f) + (shared ? " on" : " off"));
    }
    void folderRowAdded(FolderKey f) override { m_log.add("row.addFolder " + key(f)); }
    void folderRowUpdated(FolderKey f) override { m_log.add("row.updateFolder " + key(f)); }
    void recordRowAdded(int c, int slot) override { m_log.add("row.add " + key({ c, slot })); }
    void recordRowUpdated(int c, int slot) override { m_log.add("row.update " + key({ c, slot })); }
    void recordRowRemoved(int c, int slot) override { m_log.add("row.remove " + key({ c, slot })); }
    void reloadList() override { m_log.add("row.reload " + key(shown)); }

    static std::string key(FolderKey f)
    {
        return std::to_string(f.collection) + ":" + std::to_string(f.folder);
    }

private:
    LibraryLog& m_log;
};

class RecordingNotices : public LibraryNoticeSink {
public:
    explicit RecordingNotices(LibraryLog& log)
        : m_log(log)
    { }

    int32_t sendWindowNotice(int32_t kind, uint32_t key, uint32_t extra) override
    {
        char text[64];
        std::snprintf(text, sizeof text, "notice %d %08X %u", kind, key, extra);
        m_log.add(text);
        return 0;
    }

private:
    LibraryLog& m_log;
};
