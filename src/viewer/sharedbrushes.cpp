#include "viewer/sharedbrushes.h"

#include <QCoreApplication>

SharedBrushes::SharedBrushes()
{
    for (int i = 0; i < sharedColourCount; ++i) {
        const Rgb rgb = sharedColourTable[i];
        m_colours[i] = QColor(rgb.red, rgb.green, rgb.blue);
        m_brushes[i] = QBrush(m_colours[i], Qt::SolidPattern);
    }
}

const SharedBrushes& SharedBrushes::instance()
{
    static SharedBrushes* brushes = nullptr;
    if (!brushes) {
        brushes = new SharedBrushes;
        qAddPostRoutine([] {
            delete brushes;
            brushes = nullptr;
        });
    }
    return *brushes;
}
