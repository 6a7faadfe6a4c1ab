#pragma once

#include "library/recordsearch.h"
#include "ui/protocollistener.h"

#include <QRect>

#include <vector>

class LibraryImageList;
class OpeningExplorerPanel;
class PreviewBoard;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeView;
class RecordLibrary;
class RecordListModel;

// 検索: finds the records of the user's own collection by black and white player (one or both),
// winner, a range of dates and the opening played on the preview board, in any of the board's
// symmetric orientations. With ｲﾝｸﾘﾒﾝﾀﾙｻｰﾁ checked it searches again after every move and step on
// the board but 最後. The results stand in record table order and cannot be sorted; a double
// click opens one in the record viewer. The name lists are filled when the window opens and the
// results hold what the last search found: neither follows later changes of the library.
// Several may be open at once; the window answers no window notice.
class SearchWindow : public ProtocolListener {
    Q_OBJECT
public:
    // The collection searched: the user's own records.
    static constexpr int searchedCollection = 0;

    SearchWindow(const RecordLibrary& library, const LibraryImageList& images);
    ~SearchWindow() override;

    // Width of the opening explorer beside the board and the criteria, in pixels.
    static constexpr int explorerWidth = 270;

    PreviewBoard* preview() const { return m_preview; }
    // What the own collection's games played from the preview board's position; a click on one
    // of its moves plays it on the board.
    OpeningExplorerPanel* explorerPanel() const { return m_explorer; }
    QComboBox* blackList() const { return m_black; }
    QComboBox* whiteList() const { return m_white; }
    QRadioButton* orButton() const { return m_or; }
    QRadioButton* andButton() const { return m_and; }
    QComboBox* winnerList() const { return m_winner; }
    // Year, month and day of the from-date and of the to-date.
    QLineEdit* fromBox(int part) const { return m_from[static_cast<size_t>(part)]; }
    QLineEdit* toBox(int part) const { return m_to[static_cast<size_t>(part)]; }
    QCheckBox* incrementalBox() const { return m_incremental; }
    QPushButton* searchButton() const { return m_search; }
    QPushButton* closeButton() const { return m_close; }
    QTreeView* resultList() const { return m_results; }
    RecordListModel& resultModel() const { return *m_model; }

    // The criteria the controls give now.
    SearchCriteria criteria() const;
    // Lists the records that meet the criteria.
    void search();

protected:
    bool initDialog() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void fillLists();
    void openResult(int row);

    const RecordLibrary& m_library;
    const LibraryImageList& m_images;
    RecordListModel* m_model = nullptr;
    // Where the result list stands at opening, in pixels; it alone follows the window's size.
    QRect m_listRect;

    PreviewBoard* m_preview = nullptr;
    OpeningExplorerPanel* m_explorer = nullptr;
    QComboBox* m_black = nullptr;
    QComboBox* m_white = nullptr;
    QRadioButton* m_or = nullptr;
    QRadioButton* m_and = nullptr;
    QComboBox* m_winner = nullptr;
    std::array<QLineEdit*, 3> m_from {};
    std::array<QLineEdit*, 3> m_to {};
    QCheckBox* m_incremental = nullptr;
    QPushButton* m_search = nullptr;
    QPushButton* m_close = nullptr;
    QTreeView* m_results = nullptr;
};
