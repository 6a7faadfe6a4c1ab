#pragma once

#include "viewer/stepbuttons.h"

#include <array>

class BoardImage;
class OthelloGame;
class PictureButton;
class QLabel;
class QWidget;

// Shows the game's position on a board window: redraws the squares that changed with the last
// move marked, sets the move counter, and enables the step buttons that can still move.
void showGamePosition(QWidget& window, BoardImage& picture, const OthelloGame& game,
    QLabel& moveCounter, const std::array<PictureButton*, StepButtons::buttonCount>& stepButtons);
