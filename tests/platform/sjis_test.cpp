#include "platform/sjis.h"

#include <gtest/gtest.h>

TEST(Sjis, QtBoundaryUsesTheCoreConversion)
{
    const QString wave = QString::fromUtf8("～－①髙表");
    const std::string bytes = toSjis(wave);
    EXPECT_EQ(bytes, "\x81\x60\x81\x7C\x87\x40\xFB\xFC\x95\x5C");
    EXPECT_EQ(fromSjis(bytes), wave);
    EXPECT_EQ(fromSjis(std::string("\x81")), QString(QChar(0xFFFD)));
    EXPECT_EQ(toSjis(QString::fromUtf8("€")), "?");
}
