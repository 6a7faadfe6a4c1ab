#include "platform/sjis.h"

#include "text/cp932.h"

#include <QList>

#include <algorithm>
#include <cstdio>
#include <vector>

QString fromSjis(std::string_view cp932Bytes)
{
    const std::string utf8 = cp932::toUtf8(cp932Bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toSjis(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return cp932::fromUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

std::string charactersNotInSjis(const QString& text)
{
    std::vector<char32_t> missing;
    const QList<uint> codes = text.toUcs4();
    for (const uint code : codes) {
        const char32_t c = code;
        if (c != U'?' && toSjis(QString::fromUcs4(&c, 1)) == "?"
            && std::find(missing.begin(), missing.end(), c) == missing.end())
            missing.push_back(c);
    }
    std::string names;
    for (const char32_t c : missing) {
        char name[16];
        std::snprintf(name, sizeof name, "%sU+%04X", names.empty() ? "" : " ", unsigned(c));
        names += name;
    }
    return names;
}
