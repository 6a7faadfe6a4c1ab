#pragma once

#include <cstdint>
#include <string>

// The date texts of the record list and the properties windows, in local time.
namespace listdatetext {

// A folder's creation date: "yy/mm/dd" with the year modulo 100.
std::string folderDate(int32_t seconds);
// A record's date or a trash time: "yy/mm/dd hh:mm:ss"; the long form puts "20" before the year.
std::string recordDate(int32_t seconds, bool longForm = false);

} // namespace listdatetext
