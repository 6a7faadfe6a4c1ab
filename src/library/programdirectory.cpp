#include "library/programdirectory.h"

std::string programDirectoryOf(std::string_view executablePath)
{
    const size_t slash = executablePath.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    return std::string(executablePath.substr(0, slash + 1));
}

std::string programDirectoryFromUser(std::string_view directory)
{
    std::string result(directory);
    if (!result.empty() && result.back() != '/')
        result += '/';
    return result;
}
