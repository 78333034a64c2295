#include "bll_painted_item.h"

#include "../core/item_changes.h"
#include "shape_records.h"

void Bll_Painted_Item::addRectF(double x, double y, double width, double height,
                                const QVariantMap &vStyle)
{
    m_rectVector.append(RectRecord {x, y, width, height, vStyle});
    ItemChanges::shapesChanged(this);
}

void Bll_Painted_Item::addLineF(double x1, double y1, double x2, double y2,
                                const QVariantMap &vStyle)
{
    m_lineVector.append(LineRecord {x1, y1, x2, y2, vStyle});
    ItemChanges::shapesChanged(this);
}

void Bll_Painted_Item::addEllipseF(double x, double y, double width, double height,
                                   const QVariantMap &vStyle)
{
    m_ellipseVector.append(RectRecord {x, y, width, height, vStyle});
    ItemChanges::shapesChanged(this);
}

// The shape lists keep their capacity, so refilling them does not allocate again.
void Bll_Painted_Item::clearRectF()
{
    if (m_rectVector.isEmpty())
        return;
    m_rectVector.clear();
    ItemChanges::shapesChanged(this);
}

void Bll_Painted_Item::clearLineF()
{
    if (m_lineVector.isEmpty())
        return;
    m_lineVector.clear();
    ItemChanges::shapesChanged(this);
}

void Bll_Painted_Item::clearEllipseF()
{
    if (m_ellipseVector.isEmpty())
        return;
    m_ellipseVector.clear();
    ItemChanges::shapesChanged(this);
}
