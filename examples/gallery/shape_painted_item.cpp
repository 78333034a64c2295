#include "shape_painted_item.h"

ShapePaintedItem::ShapePaintedItem(QQuickPaintedItem *parent) : Bll_Painted_Item(parent) { }

void ShapePaintedItem::paint(QPainter *painter)
{
    Bll_Painted_Item::paint(painter);
    // Ellipses go first so that the outlines of rectangles and lines stay on top of their fills.
    paintEllipse(painter);
    paintRect(painter);
    paintLine(painter);
}
