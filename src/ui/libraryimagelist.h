#pragma once

#include <QIcon>
#include <QPixmap>

#include <array>

class QStyle;

// The sixteen 16 x 16 pictures shared by the folder tree and the record list. The indices are
// fixed: the views store them per row and other windows (the search results) use them too.
class LibraryImageList {
public:
    enum Image {
        ClosedFolder = 0,
        OpenFolder = 1,
        SharedClosedFolder = 2, // with a hand
        SharedOpenFolder = 3,
        MyRecords = 4, // desktop computer: root of マイ 棋譜集
        NetworkRoot = 5, // computers: root of ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ
        Trash = 6,
        Computer = 7, // another user in the network collection
        BlackWon = 8, // black disc on green
        WhiteWon = 9, // white disc on green
        NoWinner = 10, // green square
        Yahoo = 11, // red "Y!": root of Yahoo! Games
        Smile = 12,
        RedY = 13,
        Blank14 = 14,
        Blank15 = 15,
    };
    static constexpr int count = 16;
    static constexpr int size = 16;

    // Takes the folder, computer, network and trash pictures from the style and draws the rest.
    explicit LibraryImageList(const QStyle& style);

    // The picture at index; an index outside 0..15 gives an empty picture.
    QPixmap pixmap(int index) const;
    QIcon icon(int index) const { return QIcon(pixmap(index)); }

private:
    std::array<QPixmap, count> m_images;
};
