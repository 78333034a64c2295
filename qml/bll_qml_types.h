#ifndef BLL_QML_TYPES_H
#define BLL_QML_TYPES_H

#include "bll_shape_painted_item.h"

#include <bll_painted_item_accessibility.h>
#include <bll_painted_item_boxes.h>
#include <bll_painted_item_model.h>
#include <bll_painted_item_navigator.h>
#include <bll_painted_item_picking.h>
#include <bll_painted_item_saving.h>
#include <bll_painted_item_view.h>

#include <QtQml/qqmlregistration.h>

// Qt 6 registers the module's types from these declarations when it builds the plug-in.
// QML_FOREIGN names a class without touching it: the library's meta-object stays as it is.
// Types without a version came with 1.0.
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

struct BllExportForeign
{
    Q_GADGET
    QML_FOREIGN(BllExport)
    QML_NAMED_ELEMENT(BllExport)
    QML_SINGLETON
    QML_ADDED_IN_VERSION(1, 1)
};

struct BllPickingForeign
{
    Q_GADGET
    QML_FOREIGN(BllPicking)
    QML_NAMED_ELEMENT(BllPicking)
    QML_SINGLETON
    QML_ADDED_IN_VERSION(1, 1)
};

struct BllBoxesForeign
{
    Q_GADGET
    QML_FOREIGN(BllBoxes)
    QML_NAMED_ELEMENT(BllBoxes)
    QML_SINGLETON
    QML_ADDED_IN_VERSION(1, 2)
};

struct BllBoxModelForeign
{
    Q_GADGET
    QML_FOREIGN(BllBoxModel)
    QML_NAMED_ELEMENT(BllBoxModel)
    QML_ADDED_IN_VERSION(1, 2)
};

struct BllAccessibilityForeign
{
    Q_GADGET
    QML_FOREIGN(BllAccessibility)
    QML_NAMED_ELEMENT(BllAccessibility)
    QML_SINGLETON
    QML_ADDED_IN_VERSION(1, 2)
};

struct BllBoxNavigatorForeign
{
    Q_GADGET
    QML_FOREIGN(BllBoxNavigator)
    QML_NAMED_ELEMENT(BllBoxNavigator)
    QML_ADDED_IN_VERSION(1, 2)
};

struct BllViewItemForeign
{
    Q_GADGET
    QML_FOREIGN(BllViewItem)
    QML_NAMED_ELEMENT(BllViewItem)
    QML_ADDED_IN_VERSION(1, 2)
};

#endif // BLL_QML_TYPES_H
