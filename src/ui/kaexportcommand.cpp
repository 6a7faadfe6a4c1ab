#include "ui/kaexportcommand.h"

#include "library/kaexport.h"
#include "library/libraryprompter.h"
#include "library/recordlibrary.h"
#include "library/savefailure.h"
#include "library/textformat.h"
#include "platform/sjis.h"
#include "text/texts.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>

#include <cerrno>

bool exportFolderAsKa(
    QWidget* parent, const RecordLibrary& library, FolderKey folder, LibraryPrompter& prompter)
{
    if (!folder.valid() || folder.collection >= collectionCount)
        return false;
    const CollectionTree& collection = library.collection(folder.collection);
    if (folder.folder >= collection.folderCount() || !collection.folderIsLive(folder.folder))
        return false;
    // The documents folder, or the home folder where there is none.
    QDir folderProposed(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (!folderProposed.exists())
        folderProposed = QDir::home();
    const QString proposed = folderProposed.filePath(fromSjis(texts::kaExportFileName.bytes()));
    const QString chosen = QFileDialog::getSaveFileName(parent,
        fromSjis(texts::kaExportTitle.bytes()), proposed, QStringLiteral("KA (*.ka);;* (*)"));
    if (chosen.isEmpty())
        return false;
    const std::string path = QFile::encodeName(chosen).toStdString();
    errno = 0;
    if (exportFolder(collection.data(), folder.folder, path) == 0)
        return true;
    const int error = errno != 0 ? errno : EIO;
    prompter.showError(texts::kaExportTitle.bytes(),
        formatText(texts::saveFailed.bytes(),
            { toSjis(chosen), saveFailureReason(SaveFailure { path, error }).bytes() }));
    return false;
}
