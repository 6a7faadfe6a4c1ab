#pragma once

#include "library/archiveimport.h"
#include "library/folderkey.h"

#include <QString>
#include <QStringList>

#include <vector>

class LibraryAccess;
class MainWindow;
class QDropEvent;
class QMimeData;
class QWidget;

// Reads files chosen with ファイル > 開く or dropped from a file manager into new folders of the
// own collection, one file after another. A progress dialog shows how far the reading is and can
// stop it: the file being read then leaves nothing behind, and the files after it are not read.
// The last folder made is selected in the tree.
class FileImport {
public:
    // What became of one file.
    struct Outcome {
        QString path;
        ArchiveImportResult result;
        bool read = true; // false: not read, because an earlier file was cancelled
    };

    FileImport(LibraryAccess& document, QWidget* owner);

    // Whether files may be read into the folder: a live folder of マイ 棋譜集.
    static bool accepts(LibraryAccess& document, FolderKey folder);
    // The local files among a drop's addresses; empty when it carries none.
    static QStringList localFiles(const QMimeData& data);

    // For a view's drag handlers: false when the event carries no local file (the view's own
    // handling goes on); otherwise the event is accepted when target takes files and refused when
    // it does not, and the answer is true.
    static bool answerFileDrag(LibraryAccess& document, QDropEvent& event, FolderKey target);
    // For a view's drop handler: answers as answerFileDrag does and, when the files are taken,
    // has the frame read them once the drop has been answered, so the file manager is not kept
    // waiting.
    static bool takeFileDrop(
        LibraryAccess& document, QDropEvent& event, FolderKey target, MainWindow* frame);

    // Reads each file into a new folder under target (which must be accepted) and selects the last
    // folder made.
    const std::vector<Outcome>& run(FolderKey target, const QStringList& paths);
    const std::vector<Outcome>& outcomes() const { return m_outcomes; }
    // How long a reading runs before the progress dialog shows (and the window answers again).
    void setProgressDelay(int milliseconds) { m_progressDelayMs = milliseconds; }

    // One line per file (filed, cut and skipped, or why it was not read), with the reasons the
    // reader gave below each.
    QString summary() const;
    // Shows the summary in a message box owned by the owner window.
    void showSummary() const;

private:
    LibraryAccess& m_document;
    QWidget* m_owner;
    std::vector<Outcome> m_outcomes;
    // Small files are read before the dialog would show.
    int m_progressDelayMs = 400;
};
