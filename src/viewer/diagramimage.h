#pragma once

#include <QImage>

struct BoardDiagram;

// The diagram as the program's board picture (240 × 240 pixels): the disc board drawn as every
// board window draws it, then either the last-move mark or the move numbers on the discs, white
// on black and black on white. Needs a QGuiApplication for its fonts.
QImage diagramImage(const BoardDiagram& diagram);
