#ifndef BLL_ITEM_STATE_H
#define BLL_ITEM_STATE_H

// What the library keeps beside each item rather than in it, so that the item's layout stays as
// it is: the index of where its boxes lie, its labels' glyphs, the boxes whose tools each family
// leaves, and (once it painted on a device that allows it) its last frame. Painting and picking
// write it; the model never depends on it. It hears every change of the item's boxes and styles
// and passes each on to every part. Private to the library.

#include "box_index.h"
#include "item_changes.h"

#include <memory>

struct KeptFrame;

struct ItemState final : ItemChangeListener
{
    ItemState();
    ~ItemState();

    // Whether anything is painted on the device before the boxes, which a kept frame would not
    // hold: decided at the item's first frame.
    enum Kind { Undecided, Plain, PaintsOver, DrawsUnder };
    Kind kind = Undecided;

    BoxIndex index;
    // A view's: labels smaller than this on the device are left out; 0 draws every one.
    qreal smallestLabel = 0;
    LabelStore labels[BoxFamilyCount];
    LeavingBoxes leaving[BoxFamilyCount];
    std::unique_ptr<KeptFrame> frame; // none until a frame could be kept
    // What follows the boxes beside the library's own parts (an accessible tree, a keyboard
    // navigator): told of every change after them. Not owned; each leaves before it goes.
    QVector<ItemChangeListener *> followers;

    void boxesChanged(BoxFamily family, const int *indices, int count, Change change) override;
    void familyCleared(BoxFamily family) override;
    void stylesChanged() override;
    void shapesChanged() override;

    // Items of several windows may paint at once, on render threads of their own; an item's own
    // state is used only on the thread that owns the item or while that thread waits for a frame.
    static ItemState *find(const Bll_Painted_Item *item);
    static ItemState &of(const Bll_Painted_Item *item);
    static void forget(const Bll_Painted_Item *item);

    // Called from every item's constructor once set: the accessible tree learns of new items.
    static void (*itemCreated)(Bll_Painted_Item *item);
};

#endif // BLL_ITEM_STATE_H
