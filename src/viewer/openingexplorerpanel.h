#pragma once

#include "library/openingexplorer.h"

#include <QFutureWatcher>
#include <QWidget>

#include <memory>
#include <vector>

class OthelloGame;
class QComboBox;
class QTreeWidget;
class RecordLibrary;

// The opening explorer beside a board: for the position shown, every move the
// games of a chosen collection played from it (or from one of its symmetric
// images), with how many games, how they ended and black's average final disc
// count, most played first. Clicking a move asks the board's window to step
// there. The collection's index is made off the GUI thread, while the list shows
// a wait line, on the first question and again whenever it no longer matches the
// collection's records: at the next question, when another collection is chosen
// or when the window is activated. One index is made at a time; the list is
// filled for the position shown when it arrives.
class OpeningExplorerPanel : public QWidget {
    Q_OBJECT
public:
    OpeningExplorerPanel(const RecordLibrary& library, int collection, QWidget* parent = nullptr);
    ~OpeningExplorerPanel() override;

    // The moves applied so far in the game, as the explorer takes them (row × 8 +
    // column).
    static std::vector<int> squaresOf(const OthelloGame& game);

    // Shows the moves played from the position these moves reach from the start.
    void showPosition(const std::vector<int>& squaresFromStart);
    // Explores another collection from now on, for the position shown.
    void setCollection(int collection);
    int collection() const { return m_collection; }

    const std::vector<ExplorerMove>& moves() const { return m_moves; }
    QTreeWidget* moveList() const { return m_list; }
    QComboBox* collectionChoice() const { return m_choice; }

signals:
    // A move of the list was clicked: its square, row × 8 + column.
    void moveChosen(int square);

protected:
    void changeEvent(QEvent* event) override;

private:
    void fill();
    // Starts making the index unless one is being made already.
    void startIndexing();
    void indexed();
    void showWaiting();
    void showMoves();

    const RecordLibrary& m_library;
    int m_collection;
    std::unique_ptr<OpeningExplorer> m_explorer;
    QFutureWatcher<OpeningExplorer::Index> m_indexing;
    bool m_indexingStarted = false;
    int m_indexedCollection = -1; // the collection the index being made is for
    std::vector<int> m_position;
    std::vector<ExplorerMove> m_moves;
    QComboBox* m_choice = nullptr;
    QTreeWidget* m_list = nullptr;
};
