#pragma once

#include "board/boarddiagram.h"
#include "board/othellogame.h"
#include "ui/protocollistener.h"
#include "viewer/boardimage.h"
#include "viewer/stepbuttons.h"

#include <array>
#include <cstdint>

class OpeningExplorerPanel;
class PictureButton;
class QLabel;
class QPlainTextEdit;
class RecordLibrary;

// The modeless window in which the user replays one record: the disc board with the last move
// marked, four step buttons with a move counter, the players with the disc counts and the result,
// and the comment in a box that can be folded away. It reads the record once when it opens and
// never changes the library; it stays open showing what it read if the record changes, and closes
// when the record, its folder or a folder above it goes away (a network computer's records go
// at 切断 or when a new listing replaces them).
//
// Beside the board, an opening explorer shows what the games of a collection played from the
// shown position; clicking one of its moves steps there (a move the record did not play starts a
// line of its own, which replaces the rest of the record in this window). The board's context
// menu saves the shown position as a PNG or SVG picture or copies it to the clipboard.
//
// A press on 戻る or 進む steps at once and starts that button's repeat counter; after ten ticks
// of the main timer with the button held, every tick makes one more step.
class RecordViewer final : public ProtocolListener {
    Q_OBJECT
public:
    // Ticks a held button waits before it repeats.
    static constexpr int repeatDelayTicks = 10;

    RecordViewer(const RecordLibrary& library, int collection, int record);
    ~RecordViewer() override;

    // The key of the find query that names a record: the collection in the top 8 bits, the
    // record in the low 24.
    static uint32_t recordKey(int collection, int record);

    int32_t onWindow(const WindowNotice& notice, int32_t count) override;
    int32_t onTick(const TickNotice& notice, int32_t count) override;

    int collection() const { return m_collection; }
    int record() const { return m_record; }
    const OthelloGame& game() const { return m_game; }
    const BoardImage& picture() const { return m_picture; }

    PictureButton* stepButton(StepButtons::Button which) const { return m_stepButtons[which]; }
    PictureButton* unfoldButton() const { return m_unfold; }
    PictureButton* foldButton() const { return m_fold; }
    QLabel* moveCounter() const { return m_moveCounter; }
    QLabel* blackName() const { return m_blackName; }
    QLabel* whiteName() const { return m_whiteName; }
    QLabel* blackDiscs() const { return m_blackDiscs; }
    QLabel* whiteDiscs() const { return m_whiteDiscs; }
    QLabel* blackResult() const { return m_blackResult; }
    QLabel* whiteResult() const { return m_whiteResult; }
    QPlainTextEdit* commentBox() const { return m_comment; }
    int backRepeat() const { return m_backRepeat; }
    int forwardRepeat() const { return m_forwardRepeat; }
    int fullHeight() const { return m_fullHeight; }
    int foldedHeight() const { return m_foldedHeight; }

    void goToStart();
    void goToEnd();
    void stepBack();
    void stepForward();
    void unfoldComment();
    void foldComment();

    // Width of the opening explorer beside the board, in pixels.
    static constexpr int explorerWidth = 270;
    OpeningExplorerPanel* explorerPanel() const { return m_explorer; }
    // Steps to the move played on a square (row × 8 + column): forward when it is the record's
    // next move, otherwise as a new line. False when the move is not legal here.
    bool playSquare(int square);

    // The shown position as a diagram, with or without the move numbers on the discs.
    BoardDiagram diagram() const { return BoardDiagram::of(m_game, m_diagramNumbers); }
    bool diagramNumbers() const { return m_diagramNumbers; }
    void setDiagramNumbers(bool shown) { m_diagramNumbers = shown; }
    // Writes the diagram to a file: SVG when the name ends in ".svg", PNG otherwise.
    bool saveDiagram(const QString& path) const;
    // Puts the diagram on the clipboard as a picture (with its SVG text beside it).
    void copyDiagram() const;
    // Asks for a file name and saves the diagram there; a failure is told in a message box.
    void saveDiagramAs();

protected:
    bool initDialog() override;
    void paintEvent(QPaintEvent* event) override;
    // Enter closes the window as Esc does, wherever the focus is.
    void keyPressEvent(QKeyEvent* event) override;
    // Over the board: the diagram's save, copy and numbers.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildControls();
    void connectButtons();
    // Draws the board as the history cursor has it, with the counter and the buttons' states.
    void refresh();
    void setHeight(int height);

    const RecordLibrary& m_library;
    const int m_collection;
    const int m_record;
    OthelloGame m_game;
    BoardImage m_picture;
    int m_backRepeat = 0;
    int m_forwardRepeat = 0;
    int m_width = 0;
    int m_fullHeight = 0;
    int m_foldedHeight = 0;

    std::array<PictureButton*, StepButtons::buttonCount> m_stepButtons {};
    PictureButton* m_unfold = nullptr;
    PictureButton* m_fold = nullptr;
    QLabel* m_moveCounter = nullptr;
    QLabel* m_blackName = nullptr;
    QLabel* m_whiteName = nullptr;
    QLabel* m_blackDiscs = nullptr;
    QLabel* m_whiteDiscs = nullptr;
    QLabel* m_blackResult = nullptr;
    QLabel* m_whiteResult = nullptr;
    QPlainTextEdit* m_comment = nullptr;
    OpeningExplorerPanel* m_explorer = nullptr;
    bool m_diagramNumbers = false;
};
