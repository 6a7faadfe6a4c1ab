#pragma once

#include <QString>

// Gives kana and kanji a Japanese face: the application font keeps its own family for Latin text
// and falls back to an installed Japanese font, so that Han characters never take the Chinese form
// of whichever font the system would pick. Returns the Japanese family used, or empty when none
// is installed.
QString preferJapaneseFont();

// The installed Japanese font family the program prefers, or empty when none is installed.
QString installedJapaneseFamily();
