#ifndef BLL_SHAPE_PAINTED_ITEM_H
#define BLL_SHAPE_PAINTED_ITEM_H

#include <bll_painted_item.h>

// The library's item keeps rectangles, lines and ellipses but leaves drawing them to a derived
// class. This one paints, from bottom to top: the parameter, DVI and simple boxes, then the
// ellipses, the rectangles and the lines. It is the QML module's BllShapePaintedItem and the
// gallery's, which registers it itself.
class BllShapePaintedItem : public Bll_Painted_Item
{
    Q_OBJECT
    // It draws nothing before the boxes, so the item keeps its frames between them.
    Q_CLASSINFO("Bll.PaintsOverBoxes", "true")

public:
    explicit BllShapePaintedItem(QQuickPaintedItem *parent = nullptr);

protected:
    void paint(QPainter *painter) override;
};

#endif // BLL_SHAPE_PAINTED_ITEM_H
