#include "item_changes.h"

#include "item_state.h"

// An item that has neither painted nor been asked where its boxes lie keeps nothing to update.

void ItemChanges::boxesChanged(const Bll_Painted_Item *item, BoxFamily family, const int *indices,
                               int count, ItemChangeListener::Change change)
{
    if (count == 0)
        return;
    if (ItemState *state = ItemState::find(item))
        state->boxesChanged(family, indices, count, change);
}

void ItemChanges::familyCleared(const Bll_Painted_Item *item, BoxFamily family)
{
    if (ItemState *state = ItemState::find(item))
        state->familyCleared(family);
}

void ItemChanges::stylesChanged(const Bll_Painted_Item *item)
{
    if (ItemState *state = ItemState::find(item))
        state->stylesChanged();
}

void ItemChanges::shapesChanged(const Bll_Painted_Item *item)
{
    if (ItemState *state = ItemState::find(item))
        state->shapesChanged();
}
