#ifndef SHAPE_PAINTED_ITEM_H
#define SHAPE_PAINTED_ITEM_H

#include <bll_painted_item.h>

// The library's item keeps rectangles, lines and ellipses but leaves drawing them to a
// derived class: this one paints the boxes as usual, then the three shape lists over them.
class ShapePaintedItem : public Bll_Painted_Item
{
    Q_OBJECT

public:
    explicit ShapePaintedItem(QQuickPaintedItem *parent = nullptr);

protected:
    void paint(QPainter *painter) override;
};

#endif // SHAPE_PAINTED_ITEM_H
