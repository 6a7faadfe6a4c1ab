#pragma once

#include "board/movelist.h"
#include "board/othellogame.h"
#include "capture/tablepicture.h"

#include <QTimer>
#include <QWidget>

#include <string>
#include <vector>

// What one simulated table does.
struct TableScript {
    int layout = 0;
    std::string room = "room"; // CP932
    int table = 1;
    std::string host = "host";
    std::string blackName = "black"; // letters and digits of the client's name font
    std::string whiteName = "white";
    std::vector<MoveList> games; // played one after the other at the same table
    int interval = 400; // ms between moves
    int flipDelay = 0; // ms the new disc is shown before its flips; 0 shows both at once
    int hold = 1500; // ms the final position stays before the next game
    bool blackLower = false; // Black sits in the lower name box
    int whiteArrives = 0; // the white seat stays empty until this many moves are played
    bool report = false; // the grey result report after each game, until it is clicked
    bool quitAtEnd = false;
};

// One table window of the client as the capture sees it: the title, the board in the reference
// colours, the names in the glyph font, the seat probe and the result report, playing its games
// move by move.
class TableSimWindow : public QWidget {
    Q_OBJECT
public:
    explicit TableSimWindow(TableScript script);

    const TableScene& scene() const { return m_scene; }
    // True once every game has been played and held.
    bool finished() const { return m_finished; }

signals:
    void allGamesPlayed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void step();
    void startGame();
    void showBoard();

    TableScript m_script;
    TableScene m_scene;
    OthelloGame m_game;
    QTimer m_timer;
    size_t m_gameIndex = 0;
    int m_played = 0;
    bool m_discShown = false; // the next move's disc is up, its flips are not
    bool m_gameDone = false;
    bool m_finished = false;
};
