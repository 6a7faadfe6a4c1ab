#include "app/czelphdoc.h"

CZelphDoc::CZelphDoc(Settings& settings, std::string dataDirectory)
    : m_settings(settings)
    , m_dataDirectory(std::move(dataDirectory))
{ }

std::string CZelphDoc::filePath(std::string_view fileName) const
{
    return m_dataDirectory + std::string(fileName);
}
