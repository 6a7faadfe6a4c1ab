#include "ui/listdatetext.h"

#include <cstdio>
#include <ctime>

namespace listdatetext {

namespace {

std::tm localTime(int32_t seconds)
{
    const std::time_t t = seconds;
    std::tm parts {};
    // A time the C library cannot place still gives a text: the all-zero date.
    if (!localtime_r(&t, &parts))
        parts = std::tm {};
    return parts;
}

int yearOfCentury(const std::tm& parts)
{
    const int year = (parts.tm_year + 1900) % 100;
    return year < 0 ? year + 100 : year;
}

} // namespace

std::string folderDate(int32_t seconds)
{
    const std::tm t = localTime(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", yearOfCentury(t), t.tm_mon + 1, t.tm_mday);
    return text;
}

std::string recordDate(int32_t seconds, bool longForm)
{
    const std::tm t = localTime(seconds);
    char text[48];
    std::snprintf(text, sizeof text, "%s%02d/%02d/%02d %02d:%02d:%02d", longForm ? "20" : "",
        yearOfCentury(t), t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

} // namespace listdatetext
