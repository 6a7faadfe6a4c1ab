#include "server/username.h"

bool isValidUserName(std::string_view name)
{
    if (name.empty() || name.size() > maxUserNameLength)
        return false;
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
            || c == '_' || c == '-';
        if (!ok)
            return false;
    }
    return true;
}
