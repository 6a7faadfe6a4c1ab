#include "runningprogram.h"

#include "library/libraryoperations.h"
#include "net/notices.h"
#include "ui/folderpropertieswindow.h"
#include "ui/newspropertieswindow.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

class FolderPropertiesTest : public RunningProgram {
protected:
    template <class Window> std::vector<Window*> windows() const
    {
        std::vector<Window*> found;
        for (int32_t i = 0; i < m_frame->windows().count(); ++i) {
            if (auto* w = dynamic_cast<Window*>(m_frame->windows().at(i)))
                found.push_back(w);
        }
        return found;
    }
    FolderPropertiesWindow* open(FolderKey key, int tab = FolderPropertiesWindow::GeneralTab)
    {
        m_frame->openFolderProperties(key, tab);
        for (FolderPropertiesWindow* w : windows<FolderPropertiesWindow>()) {
            if (w->folder() == key)
                return w;
        }
        return nullptr;
    }
    static void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    std::string name(int folder) { return collection(0).folder(folder).name; }
    std::string share(int folder) { return collection(0).folder(folder).shareName; }
};

TEST_F(FolderPropertiesTest, OpeningAgainBringsTheWindowForwardOnTheAskedTab)
{
    const int a = newFolder(0, 0, "A");
    FolderPropertiesWindow* w = open({ 0, a });
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), u("A のプロパティ"));
    EXPECT_EQ(w->tabs()->currentIndex(), 0);
    EXPECT_EQ(open({ 0, a }, FolderPropertiesWindow::SharingTab), w);
    EXPECT_EQ(w->tabs()->currentIndex(), 1);
    // The tree's 共有 and プロパティ reach the same window.
    treePopup({ 0, a }, CommandId::FolderProperties);
    EXPECT_EQ(w->tabs()->currentIndex(), 0);
    treePopup({ 0, a }, CommandId::Share);
    EXPECT_EQ(w->tabs()->currentIndex(), 1);
    EXPECT_EQ(windows<FolderPropertiesWindow>().size(), 1u);
    // Another folder has a window of its own.
    EXPECT_NE(open({ 0, newFolder(0, 0, "B") }), w);
    EXPECT_EQ(windows<FolderPropertiesWindow>().size(), 2u);
}

TEST_F(FolderPropertiesTest, RemovingAFolderClosesItsWindowAndThoseBelowIt)
{
    const int a = newFolder(0, 0, "A");
    const int inner = newFolder(0, a, "inner");
    const int deeper = newFolder(0, inner, "deeper");
    const int other = newFolder(0, 0, "other");
    for (int f : { a, inner, deeper, other })
        ASSERT_NE(open({ 0, f }), nullptr);
    ops().deleteFolder(0, inner, 0);
    settle();
    std::vector<int> left;
    for (FolderPropertiesWindow* w : windows<FolderPropertiesWindow>())
        left.push_back(w->folder().folder);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<int> { a, other }));
}

TEST_F(FolderPropertiesTest, RootsAndNetworkFoldersHaveNoSharingTabAndKeepTheirName)
{
    const int network = newFolder(networkCollection, 0, "user");
    struct Case {
        FolderKey folder;
        int tabs;
        bool nameEditable;
    };
    for (const Case& c : { Case { { 0, 0 }, 1, false }, Case { { yahooCollection, 0 }, 1, false },
             Case { { networkCollection, network }, 1, false },
             Case { { 0, newFolder(0, 0, "A") }, 2, true },
             Case { { yahooCollection, newFolder(yahooCollection, 0, "Y") }, 2, true } }) {
        // Asking for the 共有 tab where there is none shows 全般.
        FolderPropertiesWindow* w = open(c.folder, FolderPropertiesWindow::SharingTab);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->tabs()->count(), c.tabs) << c.folder.collection << ' ' << c.folder.folder;
        EXPECT_EQ(w->tabs()->currentIndex(), c.tabs - 1);
        EXPECT_EQ(!w->nameEdit()->isReadOnly(), c.nameEditable);
        EXPECT_EQ(w->shareOnButton() != nullptr, c.tabs == 2);
    }
}

TEST_F(FolderPropertiesTest, GeneralPageShowsPlaceContentsAndCreationTime)
{
    const int a = newFolder(0, 0, "A");
    const int b = newFolder(0, a, "B");
    newFolder(0, b, "C");
    newRecord(0, a, "r1");
    newRecord(0, b, "r2");
    newFolder(0, a, "D");
    FolderPropertiesWindow* w = open({ 0, a });
    EXPECT_EQ(w->placeText()->text(), u("\\マイ 棋譜集\\"));
    EXPECT_EQ(w->contentsText()->text(), u("フォルダ数：3、棋譜数：2"));
    EXPECT_EQ(open({ 0, b })->placeText()->text(), u("\\マイ 棋譜集\\A\\"));
    EXPECT_EQ(open({ 0, 0 })->placeText()->text(), u("\\"));
    // The long date form: the century written out.
    EXPECT_TRUE(w->createdText()->text().startsWith(u("20")));
    EXPECT_EQ(w->createdText()->text().size(), 19);
}

TEST_F(FolderPropertiesTest, SharingRadioButtonsProposeTheFolderName)
{
    const int a = newFolder(0, 0, "A");
    FolderPropertiesWindow* w = open({ 0, a }, FolderPropertiesWindow::SharingTab);
    EXPECT_TRUE(w->shareOffButton()->isChecked());
    EXPECT_TRUE(w->shareNameEdit()->isReadOnly());
    EXPECT_TRUE(w->shareNameEdit()->text().isEmpty());
    w->shareOnButton()->click();
    EXPECT_FALSE(w->shareNameEdit()->isReadOnly());
    EXPECT_FALSE(w->shareCommentEdit()->isReadOnly());
    EXPECT_EQ(w->shareNameEdit()->text(), u("A"));
    // A name the user typed stays when the buttons go back and forth.
    w->shareNameEdit()->setText(u("mine"));
    w->shareOffButton()->click();
    EXPECT_TRUE(w->shareCommentEdit()->isReadOnly());
    w->shareOnButton()->click();
    EXPECT_EQ(w->shareNameEdit()->text(), u("mine"));
    // A shared folder opens on 共有する with its share.
    const int b = newFolder(0, 0, "B");
    ops().setShare(0, b, toSjis(u("S")), toSjis(u("note")));
    FolderPropertiesWindow* shared = open({ 0, b });
    EXPECT_TRUE(shared->shareOnButton()->isChecked());
    EXPECT_FALSE(shared->shareNameEdit()->isReadOnly());
    EXPECT_EQ(shared->shareNameEdit()->text(), u("S"));
    EXPECT_EQ(shared->shareCommentEdit()->text(), u("note"));
}

// OK: what the name and sharing become, the message shown, and whether the window stays open.
struct OkCase {
    const char* label;
    const char* typedName;
    bool shareOn;
    const char* shareName;
    const char* comment;
    const char* errorTitle; // "" when nothing is refused
    const char* errorText;
    const char* nameAfter;
    const char* shareAfter;
    const char* commentAfter;
};

TEST_F(FolderPropertiesTest, OkTestsTheNameThenTheShareAndChangesNothingOnARefusal)
{
    const char* renameTitle = "棋譜名またはフォルダ名の変更 エラー";
    const char* shareTitle = "フォルダの共有 エラー";
    const OkCase cases[] = {
        { "unchanged", "A", true, "S", "c", "", "", "A", "S", "c" },
        { "blanks trimmed", "  New  ", true, "S", "c", "", "", "New", "S", "c" },
        { "wide blank trimmed", "\u3000New", true, "S", "c", "", "", "New", "S", "c" },
        { "empty name", "  ", true, "S2", "c", renameTitle,
            "棋譜名またはフォルダ名が入力されていません。", "A", "S", "c" },
        { "separator", "x/y", true, "S", "c", renameTitle,
            "棋譜名及びフォルダ名には次の文字は使えません。\r\n　　　　\\ /", "A", "S", "c" },
        { "sibling's name", "B", true, "S", "c", renameTitle,
            "指定された棋譜名またはフォルダ名は既に存在します。別の名前を指定して下さい。", "A",
            "S", "c" },
        { "record's name", "game", true, "S", "c", renameTitle,
            "指定された棋譜名またはフォルダ名は既に存在します。別の名前を指定して下さい。", "A",
            "S", "c" },
        { "share name taken", "New", true, "Taken", "c", shareTitle,
            "指定された共有名には既に使用されています。", "A", "S", "c" },
        { "share name empty", "A", true, "", "c", shareTitle, "共有名が入力されていません。", "A",
            "S", "c" },
        { "share name with separator", "A", true, "a\\b", "c", shareTitle,
            "共有名には次の文字は使えません。\r\n　　　　\\ /", "A", "S", "c" },
        { "comment only", "A", true, "S", "new", "", "", "A", "S", "new" },
        { "new share name", "New", true, "S2", "d", "", "", "New", "S2", "d" },
        { "sharing off", "A", false, "S", "c", "", "", "A", "", "" },
    };
    for (const OkCase& c : cases) {
        SCOPED_TRACE(c.label);
        const int parent = newFolder(0, 0, c.label);
        const int a = newFolder(0, parent, "A");
        newFolder(0, parent, "B");
        newRecord(0, parent, "game");
        const int other = newFolder(0, parent, "other");
        ops().setShare(0, a, toSjis(u("S")), toSjis(u("c")));
        ops().setShare(0, other, toSjis(u("Taken")), "");
        FolderPropertiesWindow* w = open({ 0, a });
        ASSERT_NE(w, nullptr);
        w->nameEdit()->setText(u(c.typedName));
        (c.shareOn ? w->shareOnButton() : w->shareOffButton())->click();
        w->shareNameEdit()->setText(u(c.shareName));
        w->shareCommentEdit()->setText(u(c.comment));
        m_prompter.clear();
        w->okButton()->click();
        settle();
        const bool refused = *c.errorTitle != '\0';
        ASSERT_EQ(m_prompter.calls().size(), refused ? 1u : 0u);
        if (refused) {
            EXPECT_EQ(m_prompter.last().title, u(c.errorTitle));
            EXPECT_EQ(m_prompter.last().text, u(c.errorText));
        }
        EXPECT_EQ(fromSjis(name(a)), u(c.nameAfter));
        EXPECT_EQ(fromSjis(share(a)), u(c.shareAfter));
        EXPECT_EQ(fromSjis(collection(0).folder(a).shareComment), u(c.commentAfter));
        // A refusal leaves the window open with what the user typed.
        const std::vector<FolderPropertiesWindow*> open = windows<FolderPropertiesWindow>();
        EXPECT_EQ(open.size(), refused ? 1u : 0u);
        if (refused) {
            EXPECT_EQ(w->nameEdit()->text(), u(c.typedName));
            w->cancelButton()->click();
            settle();
        }
    }
}

TEST_F(FolderPropertiesTest, CancelChangesNothing)
{
    const int a = newFolder(0, 0, "A");
    FolderPropertiesWindow* w = open({ 0, a });
    w->nameEdit()->setText(u("B"));
    w->shareOnButton()->click();
    w->cancelButton()->click();
    settle();
    EXPECT_TRUE(windows<FolderPropertiesWindow>().empty());
    EXPECT_EQ(name(a), "A");
    EXPECT_TRUE(share(a).empty());
}

TEST_F(FolderPropertiesTest, NewsPropertiesComeForwardAndCloseWithTheComputers)
{
    const int news = newFolder(networkCollection, 0, "@Pavione ニュース");
    m_frame->openComputerProperties({ networkCollection, news });
    m_frame->openComputerProperties({ networkCollection, news });
    std::vector<NewsPropertiesWindow*> open = windows<NewsPropertiesWindow>();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0]->windowTitle(), u("Pavioneニュース のプロパティ"));
    EXPECT_EQ(open[0]->nameText()->text(), u("@Pavione ニュース"));
    EXPECT_TRUE(open[0]->updatedText()->text().startsWith(u("20")));
    ops().clearNetworkComputers();
    settle();
    EXPECT_TRUE(windows<NewsPropertiesWindow>().empty());
}

} // namespace
