#pragma once

#include <QPixmap>

// The pictures of the toolbar buttons, 16 x 15 pixels each, in button order: a floppy disk
// (保存), scissors (切り取り), two pages (コピー), a clipboard (貼り付け), a red "Y!"
// (棋譜採り開始) and a crossed-out "Y!" (棋譜採り終了).
namespace toolbarimages {

inline constexpr int width = 16;
inline constexpr int height = 15;
inline constexpr int count = 6;

QPixmap image(int index);

} // namespace toolbarimages
