#pragma once

#include "capture/tablecapture.h"
#include "ui/protocollistener.h"

class LibraryAccess;
class ProgramServices;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// 棋譜の取得: the capture window of one Yahoo! Games table. It follows the game played there from
// the table scan's readings, shows the moves found, the disc counts and the names, and files the
// game into the root of Yahoo! Games when it ends (with 棋譜の自動保存), on 保存, before a new game
// at the table, and when it closes because the table went away or capture was turned off.
class CaptureWindow : public ProtocolListener {
    Q_OBJECT
public:
    CaptureWindow(const TableSnapshot& snapshot, ProgramServices& app, LibraryAccess& document);

    const TableCapture& capture() const { return m_capture; }
    QPlainTextEdit* moveText() const { return m_moves; }
    QLabel* blackCount() const { return m_blackCount; }
    QLabel* whiteCount() const { return m_whiteCount; }
    QLabel* blackName() const { return m_blackName; }
    QLabel* whiteName() const { return m_whiteName; }
    QCheckBox* autoSaveBox() const { return m_autoSave; }
    QPushButton* copyButton() const { return m_copy; }
    QPushButton* saveButton() const { return m_save; }

    int32_t onWindow(const WindowNotice& notice, int32_t count) override;

protected:
    bool initDialog() override;

private:
    void showNames();
    void showCounts(const TableSnapshot& snapshot);
    void showMoves();
    void copyMoves();

    ProgramServices& m_app;
    LibraryAccess& m_document;
    TableCapture m_capture;
    int32_t m_initialBlack;
    int32_t m_initialWhite;
    QPlainTextEdit* m_moves = nullptr;
    QLabel* m_blackCount = nullptr;
    QLabel* m_whiteCount = nullptr;
    QLabel* m_blackName = nullptr;
    QLabel* m_whiteName = nullptr;
    QCheckBox* m_autoSave = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_save = nullptr;
};
