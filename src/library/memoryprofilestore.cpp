#include "library/memoryprofilestore.h"

int MemoryProfileStore::getInt(std::string_view key, int fallback) const
{
    const auto it = m_values.find(key);
    if (it == m_values.end())
        return fallback;
    if (const int* value = std::get_if<int>(&it->second))
        return *value;
    return fallback;
}

std::string MemoryProfileStore::getString(std::string_view key, std::string_view fallback) const
{
    const auto it = m_values.find(key);
    if (it == m_values.end())
        return std::string(fallback);
    if (const std::string* value = std::get_if<std::string>(&it->second))
        return *value;
    return std::string(fallback);
}

void MemoryProfileStore::setInt(std::string_view key, int value)
{
    m_values.insert_or_assign(std::string(key), value);
    m_writes.emplace_back(key);
}

void MemoryProfileStore::setString(std::string_view key, std::string_view value)
{
    m_values.insert_or_assign(std::string(key), std::string(value));
    m_writes.emplace_back(key);
}

bool MemoryProfileStore::contains(std::string_view key) const
{
    return m_values.find(key) != m_values.end();
}
