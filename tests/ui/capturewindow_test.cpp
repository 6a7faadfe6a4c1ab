#include "../capture/capturekit.h"
#include "../capture/picturedesktop.h"
#include "runningprogram.h"

#include "board/orientation.h"
#include "board/randomgame.h"
#include "capture/tablepicture.h"
#include "capture/tabletitle.h"
#include "ui/capturecontroller.h"
#include "ui/capturesettingsdialog.h"
#include "ui/capturewindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

std::string wholeGame()
{
    for (unsigned seed = 1;; ++seed) {
        std::mt19937 rng(seed);
        const MoveList moves = randomGame(rng);
        if (moves.size() == 60)
            return movesToText(moves);
    }
}

const std::string kGame = wholeGame();

// The program with its capture reading a desktop of pictures instead of the display.
class CaptureWindowTest : public RunningProgram {
protected:
    void SetUp() override
    {
        RunningProgram::SetUp();
        m_controller = m_frame->findChild<CaptureController*>();
        ASSERT_NE(m_controller, nullptr);
        auto desktop = std::make_unique<PictureDesktop>();
        m_desktop = desktop.get();
        m_controller->setDesktop(std::move(desktop));
    }

    // Table window id shows the game after `played` moves.
    void showTable(uint32_t id, const std::string& room, int table, int played, int layout = 0)
    {
        TableScene scene;
        scene.layout = layout;
        scene.cells = capturekit::snapshotAfter(kGame, played).cells;
        scene.upperName = "alice";
        scene.lowerName = "bob";
        m_desktop->windows[id]
            = { tabletitle::make(room, table, "host"), tablepicture::draw(scene) };
    }

    std::vector<CaptureWindow*> captureWindows()
    {
        std::vector<CaptureWindow*> found;
        for (int32_t i = 0; i < m_frame->windows().count(); ++i)
            if (auto* w = dynamic_cast<CaptureWindow*>(m_frame->windows().at(i)))
                found.push_back(w);
        return found;
    }

    std::vector<const GameRecord*> yahooRecords()
    {
        std::vector<const GameRecord*> records;
        for (const int slot : collection(yahooCollection).folder(0).records)
            records.push_back(&collection(yahooCollection).record(slot));
        return records;
    }

    CaptureController* m_controller = nullptr;
    PictureDesktop* m_desktop = nullptr;
};

TEST_F(CaptureWindowTest, FollowsAGameAndFilesItWhenItEnds)
{
    showTable(1, "east", 5, 0);
    m_controller->scan();
    ASSERT_EQ(captureWindows().size(), 1u);
    CaptureWindow* w = captureWindows()[0];
    EXPECT_EQ(w->windowTitle(), u("east #005"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->blackName()->text(), u("alice"));
    EXPECT_EQ(w->whiteName()->text(), u("bob"));
    EXPECT_EQ(w->blackCount()->text(), u(" 2"));
    EXPECT_TRUE(w->autoSaveBox()->isChecked());
    EXPECT_FALSE(w->saveButton()->isEnabled());

    for (int n = 1; n <= 60; ++n) {
        showTable(1, "east", 5, n);
        m_controller->scan();
        if (n == 10) {
            EXPECT_EQ(w->moveText()->toPlainText().toStdString(), kGame.substr(0, 20));
            EXPECT_TRUE(w->saveButton()->isEnabled());
        }
    }
    ASSERT_EQ(captureWindows().size(), 1u) << "one window per table";
    const auto records = yahooRecords();
    ASSERT_EQ(records.size(), 1u);
    const GameRecord& r = *records[0];
    EXPECT_EQ(transform(r.moves, r.orientation), textToMoves(kGame));
    EXPECT_EQ(r.endType, GameRecord::normalEnd);
    const OthelloGame end = capturekit::gameAfter(textToMoves(kGame), 60);
    EXPECT_EQ(r.blackDiscs, end.blackCount());
    EXPECT_EQ(r.whiteDiscs, end.whiteCount());
    EXPECT_EQ(fromSjis(collection(yahooCollection).playerNames().name(r.blackPlayer)), u("alice"));
    EXPECT_FALSE(w->saveButton()->isEnabled());
    const QString moves = w->moveText()->toPlainText();
    EXPECT_EQ(moves.toStdString(), kGame.substr(0, 60) + "\n" + kGame.substr(60));

    w->copyButton()->click();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), kGame);
    EXPECT_EQ(m_app.internalClipboard().text, kGame);
}

TEST_F(CaptureWindowTest, ClosesWhenItsTableIsGoneForSevenScans)
{
    showTable(1, "east", 1, 0);
    showTable(2, "west", 2, 0, 1);
    m_controller->scan();
    ASSERT_EQ(captureWindows().size(), 2u);
    showTable(1, "east", 1, 3);
    m_desktop->windows.erase(2);
    for (int scan = 1; scan <= 6; ++scan) {
        m_controller->scan();
        QApplication::processEvents();
        EXPECT_EQ(captureWindows().size(), 2u) << scan;
    }
    m_controller->scan();
    QApplication::processEvents();
    ASSERT_EQ(captureWindows().size(), 1u);
    EXPECT_EQ(captureWindows()[0]->capture().room(), "east");
    EXPECT_EQ(captureWindows()[0]->capture().game().game().moves().size(), 3);
    EXPECT_TRUE(yahooRecords().empty()) << "the closed window had no moves";
}

TEST_F(CaptureWindowTest, TurningCaptureOffFilesAndCloses)
{
    showTable(1, "east", 1, 0);
    m_controller->scan();
    showTable(1, "east", 1, 9);
    m_controller->scan();
    ASSERT_EQ(captureWindows().size(), 1u);
    EXPECT_TRUE(m_frame->dispatch(CommandId::CaptureStart));
    EXPECT_TRUE(m_frame->dispatch(CommandId::CaptureStop));
    QApplication::processEvents();
    EXPECT_TRUE(captureWindows().empty());
    const auto records = yahooRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->endType, GameRecord::unfinished);
    EXPECT_EQ(records[0]->moves.size(), 9);
}

TEST_F(CaptureWindowTest, AGamePickedUpLateCannotBeSaved)
{
    showTable(1, "east", 1, 20);
    m_controller->scan();
    ASSERT_EQ(captureWindows().size(), 1u);
    CaptureWindow* w = captureWindows()[0];
    EXPECT_TRUE(w->moveText()->toPlainText().startsWith(u("- - - ")));
    showTable(1, "east", 1, 21);
    m_controller->scan();
    EXPECT_TRUE(w->saveButton()->isEnabled());
    w->autoSaveBox()->setChecked(false);
    w->saveButton()->click();
    EXPECT_TRUE(w->saveButton()->isEnabled()) << "still unsaved";
    EXPECT_TRUE(yahooRecords().empty());
}

TEST_F(CaptureWindowTest, SettingsDialogStoresOnOkOnly)
{
    settings().yahooauto = 0;
    settings().yahoosave = 1;
    settings().yahoobell = 1;
    settings().yahooclose = 0;
    EXPECT_TRUE(m_frame->dispatch(CommandId::CaptureSettings));
    EXPECT_TRUE(m_frame->dispatch(CommandId::CaptureSettings)) << "the open one comes forward";
    CaptureSettingsDialog* dialog = nullptr;
    int dialogs = 0;
    for (int32_t i = 0; i < m_frame->windows().count(); ++i)
        if (auto* d = dynamic_cast<CaptureSettingsDialog*>(m_frame->windows().at(i))) {
            dialog = d;
            ++dialogs;
        }
    ASSERT_EQ(dialogs, 1);
    EXPECT_EQ(dialog->windowTitle(), u("Yahoo! Othello 採譜機能のプロパティ"));
    EXPECT_FALSE(dialog->autoStartBox()->isChecked());
    EXPECT_TRUE(dialog->autoSaveBox()->isChecked());
    EXPECT_TRUE(dialog->bellBox()->isChecked());
    EXPECT_FALSE(dialog->closeReportBox()->isChecked());
    dialog->autoStartBox()->setChecked(true);
    dialog->bellBox()->setChecked(false);
    dialog->cancelButton()->click();
    QApplication::processEvents();
    EXPECT_EQ(settings().yahooauto, 0);

    EXPECT_TRUE(m_frame->dispatch(CommandId::CaptureSettings));
    dialog = nullptr;
    for (int32_t i = 0; i < m_frame->windows().count(); ++i)
        if (auto* d = dynamic_cast<CaptureSettingsDialog*>(m_frame->windows().at(i)))
            dialog = d;
    ASSERT_NE(dialog, nullptr);
    dialog->autoStartBox()->setChecked(true);
    dialog->autoSaveBox()->setChecked(false);
    dialog->bellBox()->setChecked(false);
    dialog->closeReportBox()->setChecked(true);
    dialog->okButton()->click();
    EXPECT_EQ(settings().yahooauto, 1);
    EXPECT_EQ(settings().yahoosave, 0);
    EXPECT_EQ(settings().yahoobell, 0);
    EXPECT_EQ(settings().yahooclose, 1);

    // A capture window made afterwards starts with auto-save off.
    showTable(1, "east", 1, 0);
    m_controller->scan();
    ASSERT_EQ(captureWindows().size(), 1u);
    EXPECT_FALSE(captureWindows()[0]->autoSaveBox()->isChecked());
}

} // namespace
