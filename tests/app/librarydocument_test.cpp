#include "scriptedprompter.h"
#include "testsession.h"

#include "app/librarydocument.h"
#include "app/pavioneapp.h"
#include "library/recordlibrary.h"
#include "text/texts.h"
#include "ui/mainwindow.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

class DocumentTest : public testing::Test {
protected:
    void start()
    {
        m_app.setPrompter(&m_prompter);
        ASSERT_TRUE(m_app.start(m_session.arguments()));
    }
    QString dataFile(const char* name) const { return QDir(m_session.dataDir()).filePath(name); }

    TestSession m_session;
    ScriptedPrompter m_prompter;
    PavioneApp m_app;
};

TEST_F(DocumentTest, FirstStartHasFourEmptyRootsAndQuittingWritesTheThreeFiles)
{
    start();
    const RecordLibrary& library = m_app.document()->library();
    for (int c = 0; c < collectionCount; ++c) {
        SCOPED_TRACE(c);
        ASSERT_EQ(library.collection(c).folderCount(), 1);
        EXPECT_TRUE(library.collection(c).folder(0).children.empty());
        EXPECT_TRUE(library.collection(c).folder(0).records.empty());
    }
    for (const char* name : { "private.kif", "yahoo.kif", "dustbox.kif" })
        EXPECT_FALSE(QFile::exists(dataFile(name)));
    m_app.exit();
    for (const char* name : { "private.kif", "yahoo.kif", "dustbox.kif" })
        EXPECT_TRUE(QFile::exists(dataFile(name))) << name;
    EXPECT_FALSE(QFile::exists(dataFile("news.kif")));
    EXPECT_TRUE(m_prompter.calls().empty());
}

TEST_F(DocumentTest, WhatWasSavedComesBackAtTheNextStart)
{
    {
        ScriptedPrompter prompter;
        PavioneApp first;
        first.setPrompter(&prompter);
        ASSERT_TRUE(first.start(m_session.arguments()));
        first.document()->operations().newFolder(myRecordsCollection, 0, std::string("kept"));
        ASSERT_TRUE(first.mainFrame()->dispatch(CommandId::Save));
        EXPECT_TRUE(prompter.calls().empty());
        first.exit();
    }
    start();
    const CollectionTree& own = m_app.document()->library().collection(myRecordsCollection);
    ASSERT_EQ(own.folderCount(), 2);
    EXPECT_EQ(own.folder(1).name, "kept");
}

TEST_F(DocumentTest, SaveTellsWhichFileFailedAndWhy)
{
    start();
    ASSERT_TRUE(QDir().mkdir(dataFile("yahoo.kif")));
    m_app.mainFrame()->dispatch(CommandId::Save);
    ASSERT_EQ(m_prompter.calls().size(), 1u);
    EXPECT_EQ(m_prompter.last().kind, "error");
    EXPECT_EQ(m_prompter.last().title, u("保存 エラー"));
    EXPECT_EQ(m_prompter.last().text,
        u("ファイル \"") + dataFile("yahoo.kif")
            + u("\" "
                "に保存できませんでした。\n同じ名前のフォルダがあるため、ファイルを置けません。"));
    // The other files are written all the same.
    EXPECT_TRUE(QFile::exists(dataFile("private.kif")));
    EXPECT_TRUE(QFile::exists(dataFile("dustbox.kif")));
}

TEST_F(DocumentTest, ExitOffersToTryAgainOrQuit)
{
    start();
    ASSERT_TRUE(QDir().mkdir(dataFile("yahoo.kif")));
    // The first retry clears the way; the second save goes through.
    m_prompter.onCall(
        [this](const ScriptedPrompter::Call&) { QDir().rmdir(dataFile("yahoo.kif")); });
    m_prompter.answer(true);
    m_app.exit();
    ASSERT_EQ(m_prompter.calls().size(), 1u);
    EXPECT_EQ(m_prompter.last().kind, "retry");
    EXPECT_TRUE(m_prompter.last().text.startsWith(u("ファイル \"") + dataFile("yahoo.kif")));
    EXPECT_TRUE(m_prompter.last().text.contains(u("もう一度保存しますか?")));
    EXPECT_TRUE(QFileInfo(dataFile("yahoo.kif")).isFile());
}

TEST_F(DocumentTest, ExitCanQuitWithoutSaving)
{
    start();
    ASSERT_TRUE(QDir().mkdir(dataFile("dustbox.kif")));
    m_prompter.answer(true);
    m_prompter.answer(false);
    m_app.exit();
    EXPECT_EQ(m_prompter.calls().size(), 2u);
    EXPECT_TRUE(QFileInfo(dataFile("dustbox.kif")).isDir());
    EXPECT_TRUE(QFileInfo(dataFile("private.kif")).isFile());
}

TEST_F(DocumentTest, AnUnreadableFileIsReportedOnceWithItsKeptCopy)
{
    {
        QFile bad(dataFile("private.kif"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("not a collection file");
    }
    start();
    ASSERT_EQ(m_prompter.calls().size(), 1u);
    EXPECT_EQ(m_prompter.last().title, u("棋譜ファイルの読み込み エラー"));
    EXPECT_EQ(m_prompter.last().text,
        u("棋譜ファイル \"") + dataFile("private.kif")
            + u("\" を最後まで読み込めませんでした。読み込めた分だけを表示しています。\n"
                "元のファイルは \"")
            + dataFile("private.kif.bad") + u("\" として残してあります。"));
    EXPECT_TRUE(QFile::exists(dataFile("private.kif.bad")));
    m_app.document()->reportLoadProblems();
    EXPECT_EQ(m_prompter.calls().size(), 1u);
    // The kept copy makes saving over the damaged file safe.
    m_app.exit();
    EXPECT_EQ(m_prompter.calls().size(), 1u);
}

} // namespace
