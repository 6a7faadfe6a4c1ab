// The capture end to end on a real X display: table simulators play whole games in their own
// processes, the program scans the display on its timer, and the games must arrive in Yahoo! Games
// with their moves, names, winner and disc counts. Runs under xvfb-run.

#include "../ui/runningprogram.h"

#include "board/notation.h"
#include "board/orientation.h"
#include "board/othellogame.h"
#include "board/randomgame.h"
#include "capture/tabletitle.h"
#include "platform/x11desktop.h"

#include <QElapsedTimer>
#include <QProcess>

namespace {

// A whole game of random legal moves; with wantPass, one in which a side has to pass.
MoveList wholeGame(unsigned firstSeed, bool wantPass)
{
    for (unsigned seed = firstSeed;; ++seed) {
        std::mt19937 rng(seed);
        const MoveList moves = randomGame(rng);
        OthelloGame g;
        g.selectVariant(OthelloBoard::kVariantStandard);
        g.replay(moves);
        bool passes = false;
        for (int i = 1; i < g.length(); ++i)
            passes = passes || g.entry(i)->colour == g.entry(i - 1)->colour;
        if (g.gameOver() && passes == wantPass)
            return moves;
    }
}

class CaptureEndToEnd : public RunningProgram {
protected:
    void TearDown() override
    {
        for (QProcess* p : m_tables) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
            delete p;
        }
    }

    QProcess* startTable(const QStringList& arguments)
    {
        auto* p = new QProcess;
        m_tables.push_back(p);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedChannels);
        p->start(QString::fromLocal8Bit(std::getenv("PAVIONE_TABLE_SIM")), arguments);
        return p;
    }

    const GameRecord* yahooRecordOf(const char* black)
    {
        CollectionTree& yahoo = collection(yahooCollection);
        for (const int slot : yahoo.folder(0).records) {
            const GameRecord& r = yahoo.record(slot);
            if (yahoo.playerNames().name(r.blackPlayer) == black)
                return &r;
        }
        return nullptr;
    }

    std::vector<QProcess*> m_tables;
};

TEST_F(CaptureEndToEnd, FilesTheGamesOfTwoTables)
{
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under xvfb-run";
    ASSERT_NE(std::getenv("PAVIONE_TABLE_SIM"), nullptr);
    const MoveList first = wholeGame(1, false);
    const MoveList second = wholeGame(1, true);

    m_app.setCaptureOn(true);
    // The second window opens over the first and covers most of it: the first is read all the
    // same. The first shows each disc before its flips and its result report once the game is
    // over; in the second Black sits in the lower box.
    QProcess* east = startTable({ QStringLiteral("--layout"), QStringLiteral("0"),
        QStringLiteral("--room"), QStringLiteral("east"), QStringLiteral("--table"),
        QStringLiteral("3"), QStringLiteral("--black"), QStringLiteral("alice"),
        QStringLiteral("--white"), QStringLiteral("Bob99"), QStringLiteral("--moves"),
        QString::fromStdString(movesToText(first)), QStringLiteral("--interval"),
        QStringLiteral("450"), QStringLiteral("--flip-delay"), QStringLiteral("120"),
        QStringLiteral("--hold"), QStringLiteral("3000"), QStringLiteral("--report"),
        QStringLiteral("--position"), QStringLiteral("0,0"), QStringLiteral("--quit") });
    QTest::qWait(300);
    QProcess* west
        = startTable({ QStringLiteral("--layout"), QStringLiteral("1"), QStringLiteral("--room"),
            QStringLiteral("west"), QStringLiteral("--table"), QStringLiteral("12"),
            QStringLiteral("--black"), QStringLiteral("carl"), QStringLiteral("--white"),
            QStringLiteral("dave"), QStringLiteral("--black-lower"), QStringLiteral("--moves"),
            QString::fromStdString(movesToText(second)), QStringLiteral("--interval"),
            QStringLiteral("450"), QStringLiteral("--hold"), QStringLiteral("3000"),
            QStringLiteral("--position"), QStringLiteral("40,40"), QStringLiteral("--quit") });
    ASSERT_TRUE(east->waitForStarted(10000));
    ASSERT_TRUE(west->waitForStarted(10000));

    QElapsedTimer clock;
    clock.start();
    while ((east->state() != QProcess::NotRunning || west->state() != QProcess::NotRunning)
        && clock.elapsed() < 150000)
        QTest::qWait(50);
    ASSERT_EQ(east->state(), QProcess::NotRunning) << "the first table did not finish";
    ASSERT_EQ(west->state(), QProcess::NotRunning) << "the second table did not finish";
    EXPECT_EQ(east->exitCode(), 0);
    EXPECT_EQ(west->exitCode(), 0);
    QTest::qWait(300);

    const struct {
        const char* black;
        const char* white;
        const MoveList& moves;
    } expected[] = { { "alice", "Bob99", first }, { "carl", "dave", second } };
    CollectionTree& yahoo = collection(yahooCollection);
    EXPECT_EQ(yahoo.folder(0).records.size(), 2u);
    for (const int slot : yahoo.folder(0).records) {
        const GameRecord& r = yahoo.record(slot);
        std::printf("filed: %s vs %s, end %d, %s\n",
            yahoo.playerNames().name(r.blackPlayer).c_str(),
            yahoo.playerNames().name(r.whitePlayer).c_str(), r.endType,
            movesToText(transform(r.moves, r.orientation)).c_str());
    }
    for (const auto& e : expected) {
        SCOPED_TRACE(e.black);
        const GameRecord* r = yahooRecordOf(e.black);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(movesToText(transform(r->moves, r->orientation)), movesToText(e.moves));
        EXPECT_EQ(collection(yahooCollection).playerNames().name(r->whitePlayer), e.white);
        OthelloGame end;
        end.selectVariant(OthelloBoard::kVariantStandard);
        end.replay(e.moves);
        EXPECT_EQ(r->endType, GameRecord::normalEnd);
        EXPECT_EQ(r->blackDiscs, end.blackCount());
        EXPECT_EQ(r->whiteDiscs, end.whiteCount());
        EXPECT_EQ(r->winner,
            end.blackCount() > end.whiteCount()       ? GameRecord::blackWins
                : end.whiteCount() > end.blackCount() ? GameRecord::whiteWins
                                                      : GameRecord::noWinner);
    }
}

// The pixel the scan looks at for a result report, in the first table window on the display;
// false while there is none.
bool reportProbe(X11Desktop& desktop, Rgb& pixel)
{
    for (const uint32_t w : desktop.topLevelWindows()) {
        if (!tabletitle::isTableTitle(desktop.title(w)))
            continue;
        int width = 0, height = 0;
        const auto pixels = desktop.pixels(w);
        return pixels && desktop.size(w, width, height)
            && pixels->pixel(width / 2, height / 2 - 2, pixel);
    }
    return false;
}

TEST_F(CaptureEndToEnd, ClicksAwayTheResultReport)
{
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under xvfb-run";
    ASSERT_NE(std::getenv("PAVIONE_TABLE_SIM"), nullptr);
    startTable({ QStringLiteral("--moves"), QStringLiteral("F5D6C3D3C4"),
        QStringLiteral("--interval"), QStringLiteral("100"), QStringLiteral("--report"),
        QStringLiteral("--hold"), QStringLiteral("60000") });
    X11Desktop desktop;
    ASSERT_TRUE(desktop.connected());
    const auto grey = [](Rgb p) {
        return p.red >= 186 && p.red <= 198 && p.green >= 186 && p.green <= 198 && p.blue >= 186
            && p.blue <= 198;
    };
    Rgb pixel;
    QElapsedTimer clock;
    clock.start();
    while (!(reportProbe(desktop, pixel) && grey(pixel)) && clock.elapsed() < 30000)
        QTest::qWait(50);
    ASSERT_TRUE(grey(pixel)) << "the report did not come up";
    QTest::qWait(500);
    ASSERT_TRUE(reportProbe(desktop, pixel) && grey(pixel)) << "it stays until clicked";

    m_app.setCaptureOn(true);
    clock.restart();
    while (reportProbe(desktop, pixel) && grey(pixel) && clock.elapsed() < 10000)
        QTest::qWait(50);
    EXPECT_FALSE(grey(pixel)) << "the scan's click took it away";
}

} // namespace
