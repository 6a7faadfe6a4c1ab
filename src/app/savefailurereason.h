#pragma once

#include <string>

class FixedText;

// Why a collection file could not be written, as far as the file system shows it afterwards: a
// missing folder, a write-protected file or folder, a folder in the file's place, or else a full
// disk or a failed write.
const FixedText& saveFailureReason(const std::string& path);
