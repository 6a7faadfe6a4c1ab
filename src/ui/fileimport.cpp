#include "ui/fileimport.h"

#include "library/libraryoperations.h"
#include "library/recordlibrary.h"
#include "text/texts.h"
#include "ui/libraryaccess.h"
#include "ui/mainwindow.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QUrl>

namespace {

// The progress bar's steps per file.
constexpr int stepsPerFile = 1000;

QString text(const FixedText& t)
{
    return QString::fromUtf8(t.utf8().data(), static_cast<qsizetype>(t.utf8().size()));
}

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

std::string localPath(const QString& path)
{
    return QFile::encodeName(QDir::toNativeSeparators(path)).toStdString();
}

} // namespace

FileImport::FileImport(LibraryAccess& document, QWidget* owner)
    : m_document(document)
    , m_owner(owner)
{ }

bool FileImport::accepts(LibraryAccess& document, FolderKey folder)
{
    if (!folder.valid() || folder.collection != myRecordsCollection)
        return false;
    const CollectionTree& tree = document.library().collection(myRecordsCollection);
    return folder.folder < tree.folderCount() && tree.folderIsLive(folder.folder);
}

QStringList FileImport::localFiles(const QMimeData& data)
{
    QStringList files;
    if (!data.hasUrls())
        return files;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (QFileInfo(path).isFile())
            files.append(path);
    }
    return files;
}

bool FileImport::answerFileDrag(LibraryAccess& document, QDropEvent& event, FolderKey target)
{
    if (localFiles(*event.mimeData()).isEmpty())
        return false;
    if (accepts(document, target))
        event.acceptProposedAction();
    else
        event.ignore();
    return true;
}

bool FileImport::takeFileDrop(
    LibraryAccess& document, QDropEvent& event, FolderKey target, MainWindow* frame)
{
    if (!answerFileDrag(document, event, target))
        return false;
    if (!event.isAccepted() || frame == nullptr)
        return true;
    const QStringList files = localFiles(*event.mimeData());
    QMetaObject::invokeMethod(
        frame, [frame, target, files] { frame->importFiles(target, files); }, Qt::QueuedConnection);
    return true;
}

const std::vector<FileImport::Outcome>& FileImport::run(FolderKey target, const QStringList& paths)
{
    m_outcomes.clear();
    if (paths.isEmpty() || !accepts(m_document, target))
        return m_outcomes;

    QProgressDialog progress(QString(), text(texts::importCancelButton), 0,
        stepsPerFile * static_cast<int>(paths.size()), m_owner);
    // Nothing else may touch the library while a file is half read.
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setWindowTitle(text(texts::openFilesTitle));
    progress.setMinimumDuration(m_progressDelayMs);
    progress.setAutoReset(false);
    progress.setAutoClose(false);

    int lastFolder = -1;
    bool cancelled = false;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        Outcome outcome;
        outcome.path = paths[i];
        if (cancelled) {
            outcome.read = false;
            m_outcomes.push_back(std::move(outcome));
            continue;
        }
        const int base = stepsPerFile * static_cast<int>(i);
        progress.setLabelText(QString::asprintf(
            texts::importProgress.utf8().data(), qUtf8Printable(fileName(paths[i]))));
        progress.setValue(base);
        // Once the dialog shows, setValue handles the window's events (the dialog is modal), so
        // its cancel button can be pressed; the reader stops at its next report.
        const ArchiveProgress report = [&progress, base](double share) {
            progress.setValue(base + static_cast<int>(share * (stepsPerFile - 1)));
            return !progress.wasCanceled();
        };
        outcome.result = m_document.operations().importFile(
            target.collection, target.folder, localPath(paths[i]), report);
        if (outcome.result.cancelled || progress.wasCanceled())
            cancelled = true;
        if (outcome.result.folder >= 0)
            lastFolder = outcome.result.folder;
        m_outcomes.push_back(std::move(outcome));
    }
    progress.setValue(progress.maximum());
    progress.close();
    if (lastFolder >= 0)
        m_document.selectFolder({ target.collection, lastFolder });
    return m_outcomes;
}

QString FileImport::summary() const
{
    QStringList lines;
    for (const Outcome& o : m_outcomes) {
        const QByteArray name = fileName(o.path).toUtf8();
        const ArchiveImportResult& r = o.result;
        if (!o.read) {
            lines.append(QString::asprintf(texts::importSummaryNotRead.utf8().data(), name.data()));
            continue;
        }
        if (r.cancelled) {
            lines.append(
                QString::asprintf(texts::importSummaryCancelled.utf8().data(), name.data()));
            continue;
        }
        if (r.folder < 0 && !r.error.empty()) {
            lines.append(QString::asprintf(
                texts::importSummaryFailed.utf8().data(), name.data(), r.error.c_str()));
            continue;
        }
        lines.append(QString::asprintf(texts::importSummaryLine.utf8().data(), name.data(),
            r.report.filed, r.report.cut, r.report.skipped));
        for (const std::string& reason : r.report.reasons)
            lines.append(QStringLiteral("    ") + QString::fromStdString(reason));
    }
    return lines.join(QLatin1Char('\n'));
}

void FileImport::showSummary() const
{
    if (m_outcomes.empty())
        return;
    QMessageBox box(QMessageBox::Information, text(texts::importSummaryTitle), summary(),
        QMessageBox::Ok, m_owner);
    box.exec();
}
