#include "bll_painted_item.h"

#include "boxes/box_table.h"
#include "boxes/dvi_box_record.h"
#include "boxes/parameter_box_record.h"
#include "boxes/simple_box_record.h"
#include "core/item_state.h"
#include "shapes/shape_records.h"

// The item holds every family's records by value, so building and releasing it needs all their
// definitions: this is the one place that includes them together.

Bll_Painted_Item::Bll_Painted_Item(QQuickPaintedItem *parent) : QQuickPaintedItem(parent)
{
    clearAll();
    initPenStyle();
    if (ItemState::itemCreated)
        ItemState::itemCreated(this);
}

Bll_Painted_Item::~Bll_Painted_Item()
{
    ItemState::forget(this);
}
