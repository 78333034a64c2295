#include "bll_shape_painted_item.h"

BllShapePaintedItem::BllShapePaintedItem(QQuickPaintedItem *parent) : Bll_Painted_Item(parent) { }

void BllShapePaintedItem::paint(QPainter *painter)
{
    Bll_Painted_Item::paint(painter);
    // Ellipses go first so that the outlines of rectangles and lines stay on top of their fills.
    paintEllipse(painter);
    paintRect(painter);
    paintLine(painter);
}
