#ifndef BLL_QML_TYPES_H
#define BLL_QML_TYPES_H

#include "bll_shape_painted_item.h"

#include <QtQml/qqmlregistration.h>

// Qt 6 registers the module's types from these declarations when it builds the plug-in.
// QML_FOREIGN names a class without touching it: the library's meta-object stays as it is.
struct BllPaintedItemForeign
{
    Q_GADGET
    QML_FOREIGN(Bll_Painted_Item)
    QML_NAMED_ELEMENT(BllPaintedItem)
};

struct BllShapePaintedItemForeign
{
    Q_GADGET
    QML_FOREIGN(BllShapePaintedItem)
    QML_NAMED_ELEMENT(BllShapePaintedItem)
};

#endif // BLL_QML_TYPES_H
