#include "library/savefailure.h"

#include "text/texts.h"

#include <cerrno>

const FixedText& saveFailureReason(const SaveFailure& failure)
{
    switch (failure.error) {
    case 0:
        return texts::saveReasonUnreadableNotKept;
    case ENOENT:
    case ENOTDIR:
        return texts::saveReasonNoFolder;
    case EISDIR:
        return texts::saveReasonFolderInTheWay;
    case EACCES:
    case EPERM:
    case EROFS:
        // The new contents are written to a temporary file beside the old one and renamed over
        // it, so it is the folder that must be writable.
        return texts::saveReasonReadOnlyFolder;
    case ENOSPC:
    case EDQUOT:
        return texts::saveReasonDiskFull;
    default:
        return texts::saveReasonOther;
    }
}
