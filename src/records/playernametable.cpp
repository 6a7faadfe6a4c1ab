#include "records/playernametable.h"

#include "records/textlimits.h"
#include "text/texts.h"

#include <algorithm>

int PlayerNameTable::find(std::string_view name) const
{
    const auto it = std::find(m_names.begin(), m_names.end(), fitName(name));
    return it == m_names.end() ? -1 : static_cast<int>(it - m_names.begin());
}

int PlayerNameTable::add(std::string_view name)
{
    if (size() >= kMaxEntries)
        return 0;
    m_names.emplace_back(fitName(name));
    return size() - 1;
}

int PlayerNameTable::findOrAdd(std::string_view name)
{
    if (name.empty())
        return 0;
    const int index = find(name);
    return index >= 0 ? index : add(name);
}

const std::string& PlayerNameTable::name(int index) const
{
    static const std::string none;
    return index >= 0 && index < size() ? m_names[size_t(index)] : none;
}

void PlayerNameTable::clear()
{
    m_names.clear();
    m_names.emplace_back(texts::unknownPlayer.bytes());
}
