#pragma once

#include <QPixmap>

// The program's picture shown in the about box: 270 x 74 pixels on white.
QPixmap programPicture();
