#include "ui/anchoredlayout.h"

#include <QWidget>

#include <algorithm>

void AnchoredLayout::add(QWidget* widget, QRect designed, unsigned anchors)
{
    widget->setGeometry(designed);
    m_items.push_back({ widget, designed, anchors });
}

void AnchoredLayout::resize(QSize size) const
{
    const int dx = size.width() - m_designedSize.width();
    const int dy = size.height() - m_designedSize.height();
    for (const Item& item : m_items) {
        QRect r = item.designed;
        if (item.anchors & FollowRight)
            r.translate(dx, 0);
        if (item.anchors & FollowBottom)
            r.translate(0, dy);
        if (item.anchors & GrowWidth)
            r.setWidth(std::max(0, r.width() + dx));
        if (item.anchors & GrowHeight)
            r.setHeight(std::max(0, r.height() + dy));
        item.widget->setGeometry(r);
    }
}
