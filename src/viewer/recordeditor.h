#pragma once

#include "ui/protocollistener.h"
#include "viewer/editedgame.h"

#include <cstdint>

class BoardPage;
class InfoPage;
class LibraryOperations;
class MoveSheetPage;
class QPushButton;
class QTabWidget;
class RecordLibrary;

// 棋譜の編集: the modeless window in which the user enters or corrects one record's moves and
// details, on three pages: 棋譜 (the move-number sheet), 盤面 (the disc board, played by
// clicking) and 情報 (players, result, date and comment). The sheet and the game replayed from it
// are working copies; OK writes the game and the form into the record, キャンセル and the close
// button leave the record as it was. Every edit command opens a new editor, and an editor whose
// record or one of its folders goes away closes without saving.
class RecordEditor final : public ProtocolListener {
    Q_OBJECT
public:
    enum Page { SheetPage, BoardGamePage, DetailsPage };

    RecordEditor(RecordLibrary& library, LibraryOperations& operations, int collection, int record);
    ~RecordEditor() override;

    int32_t onWindow(const WindowNotice& notice, int32_t count) override;

    int collection() const { return m_collection; }
    int record() const { return m_record; }
    const EditedGame& edited() const { return m_edited; }
    int currentPage() const { return m_currentPage; }
    void showPage(int page);
    // OK: writes the game and the details into the record, then closes.
    void save();

    QTabWidget* tabs() const { return m_tabs; }
    MoveSheetPage* sheetPage() const { return m_sheetPage; }
    BoardPage* boardPage() const { return m_boardPage; }
    InfoPage* infoPage() const { return m_infoPage; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    bool initDialog() override;

private:
    RecordLibrary& m_library;
    LibraryOperations& m_operations;
    const int m_collection;
    const int m_record;
    EditedGame m_edited;
    int m_currentPage = SheetPage;
    QTabWidget* m_tabs = nullptr;
    MoveSheetPage* m_sheetPage = nullptr;
    BoardPage* m_boardPage = nullptr;
    InfoPage* m_infoPage = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
