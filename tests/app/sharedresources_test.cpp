#include "app/aboutbox.h"
#include "app/soundplayer.h"
#include "platform/clipboardtext.h"
#include "platform/japanesefont.h"
#include "platform/sjis.h"
#include "ui/dragcursors.h"
#include "ui/libraryimagelist.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QStyle>
#include <gtest/gtest.h>

namespace {

QColor centre(const QPixmap& p)
{
    return p.toImage().pixelColor(8, 8);
}

TEST(LibraryImageList, SixteenPicturesOfSixteenPixels)
{
    const LibraryImageList list(*QApplication::style());
    for (int i = 0; i < LibraryImageList::count; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list.pixmap(i).size(), QSize(16, 16));
    }
    // The drawn ones show what their rows mean.
    EXPECT_EQ(centre(list.pixmap(LibraryImageList::BlackWon)), QColor(Qt::black));
    EXPECT_EQ(centre(list.pixmap(LibraryImageList::WhiteWon)), QColor(Qt::white));
    EXPECT_EQ(centre(list.pixmap(LibraryImageList::NoWinner)), QColor(0, 128, 0));
    // The shared folders differ from the plain ones only by the hand.
    EXPECT_NE(list.pixmap(2).toImage(), list.pixmap(0).toImage());
    EXPECT_NE(list.pixmap(3).toImage(), list.pixmap(1).toImage());
    for (int blank : { 14, 15 })
        EXPECT_EQ(list.pixmap(blank).toImage().pixelColor(8, 8).alpha(), 0);
    EXPECT_EQ(list.pixmap(16).size(), QSize(16, 16));
    EXPECT_EQ(list.pixmap(-1).toImage().pixelColor(8, 8).alpha(), 0);
}

TEST(LibraryImageList, EveryPictureButTheBlanksShowsSomething)
{
    const LibraryImageList list(*QApplication::style());
    for (int i = 0; i < 14; ++i) {
        SCOPED_TRACE(i);
        const QImage image = list.pixmap(i).toImage();
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                opaque += image.pixelColor(x, y).alpha() > 0;
        EXPECT_GT(opaque, 10);
    }
}

TEST(DragCursors, ThreeKinds)
{
    const DragCursors cursors;
    EXPECT_EQ(cursors.cursor(DragCursors::Move).shape(), Qt::ArrowCursor);
    EXPECT_EQ(cursors.cursor(DragCursors::NotAllowed).shape(), Qt::ForbiddenCursor);
    const QCursor& copy = cursors.cursor(DragCursors::Copy);
    EXPECT_EQ(copy.shape(), Qt::BitmapCursor);
    EXPECT_EQ(copy.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(copy.hotSpot(), QPoint(0, 0));
    EXPECT_EQ(cursors.cursor(3).shape(), Qt::ArrowCursor);
}

TEST(ClipboardText, PutGetAndClearAsCp932)
{
    const std::string moves = toSjis(QString::fromUtf8("F5D6C3 黒番：髙橋\r\n"));
    EXPECT_EQ(clipboardtext::put(moves), 0);
    EXPECT_EQ(clipboardtext::get(), moves);
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("F5D6C3 黒番：髙橋\r\n"));
    EXPECT_EQ(clipboardtext::clear(), 0);
    EXPECT_EQ(clipboardtext::get(), "");
}

TEST(SoundPlayer, BothSoundsAreBuiltInWaves)
{
    for (const char* name : { ":/sounds/table-ready.wav", ":/sounds/message.wav" }) {
        SCOPED_TRACE(name);
        QFile file(QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.read(12);
        EXPECT_TRUE(header.startsWith("RIFF"));
        EXPECT_EQ(header.mid(8, 4), QByteArray("WAVE"));
        EXPECT_GT(file.size(), 1000);
    }
}

TEST(SoundPlayer, PlayingIsHarmlessWithoutAudio)
{
    SoundPlayer sounds;
    sounds.play(SoundPlayer::TableReady);
    sounds.play(SoundPlayer::MessageArrived);
    sounds.play(SoundPlayer::MessageArrived);
    EXPECT_FALSE(sounds.play(7));
}

TEST(AboutBox, ShowsVersionZeroPointThirty)
{
    const AboutBox box;
    EXPECT_EQ(box.versionLine(), QStringLiteral("Version 0.30"));
}

TEST(JapaneseFont, KanaAndKanjiFallBackToAJapaneseFace)
{
    const QFont before = QApplication::font();
    const QString family = preferJapaneseFont();
    if (QFontDatabase::families(QFontDatabase::Japanese).isEmpty()) {
        EXPECT_TRUE(family.isEmpty());
        return;
    }
    ASSERT_FALSE(family.isEmpty());
    const QStringList families = QApplication::font().families();
    EXPECT_EQ(families.last(), family);
    EXPECT_EQ(families.count(family), 1);
    preferJapaneseFont(); // a second call adds nothing
    EXPECT_EQ(QApplication::font().families().count(family), 1);
    QApplication::setFont(before);
}

} // namespace
