#pragma once

#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

// Controls placed by hand that keep their distances to the right and bottom edges as their
// window is resized: each grows with the window or moves with its right or bottom edge.
class AnchoredLayout {
public:
    enum Anchor : unsigned {
        Fixed = 0,
        GrowWidth = 1,
        GrowHeight = 2,
        FollowRight = 4,
        FollowBottom = 8,
    };

    // designedSize: the window's size the designed positions belong to.
    explicit AnchoredLayout(QSize designedSize = {})
        : m_designedSize(designedSize)
    { }

    void setDesignedSize(QSize size) { m_designedSize = size; }
    QSize designedSize() const { return m_designedSize; }
    // Places the control at its designed rectangle and remembers how it follows the edges.
    void add(QWidget* widget, QRect designed, unsigned anchors);
    // Lays every control out for the window's new size.
    void resize(QSize size) const;

private:
    struct Item {
        QWidget* widget;
        QRect designed;
        unsigned anchors;
    };

    QSize m_designedSize;
    std::vector<Item> m_items;
};
