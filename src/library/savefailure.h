#pragma once

#include <string>

class FixedText;

// A collection file that could not be written, and why.
struct SaveFailure {
    std::string path;
    // The errno of the failing step, or 0 when the file was held back: it could not be read at
    // start and no copy of it could be kept, so writing over it could lose games.
    int error = 0;

    bool operator==(const SaveFailure&) const = default;
};

// The reason the user is shown for a failure, in words.
const FixedText& saveFailureReason(const SaveFailure& failure);
