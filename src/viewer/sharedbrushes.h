#pragma once

#include "viewer/sharedcolours.h"

#include <QBrush>
#include <QColor>

#include <array>

// The ten shared colours with a solid brush of each, made once for the whole program (on first
// use) and kept until the application object goes.
class SharedBrushes {
public:
    static const SharedBrushes& instance();

    QColor colour(SharedColour which) const { return m_colours[static_cast<int>(which)]; }
    const QBrush& brush(SharedColour which) const { return m_brushes[static_cast<int>(which)]; }

private:
    SharedBrushes();

    std::array<QColor, sharedColourCount> m_colours;
    std::array<QBrush, sharedColourCount> m_brushes;
};
