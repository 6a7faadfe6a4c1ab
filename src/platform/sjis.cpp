#include "platform/sjis.h"

#include "text/cp932.h"

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
