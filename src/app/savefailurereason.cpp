#include "app/savefailurereason.h"

#include "text/texts.h"

#include <QFile>
#include <QFileInfo>

const FixedText& saveFailureReason(const std::string& path)
{
    const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(path)));
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return texts::saveReasonNoFolder;
    if (file.isDir())
        return texts::saveReasonFolderInTheWay;
    if (file.exists() && !file.isWritable())
        return texts::saveReasonReadOnlyFile;
    // The new contents go to a temporary file beside the old one first.
    if (!folder.isWritable())
        return texts::saveReasonReadOnlyFolder;
    return texts::saveReasonOther;
}
