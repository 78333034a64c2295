#ifndef BLL_ITEM_STATE_H
#define BLL_ITEM_STATE_H

// What the library keeps beside each item rather than in it, so that the item's layout stays as
// it is: its last frame, where its boxes draw, its labels' glyphs and the index of where its boxes
// lie. Painting and picking write it; the model never depends on it. Private to the library.

#include "box_family.h"
#include "box_index.h"
#include "paint_target.h"

struct ItemState
{
    // Whether anything is painted on the device before the boxes, which a kept frame would not
    // hold: decided at the item's first frame.
    enum Kind { Undecided, Plain, PaintsOver, DrawsUnder };
    Kind kind = Undecided;

    LabelStore labels[BoxFamilyCount];
    BoxIndex index;

    // The kept frame.
    QImage image; // the last frame's pixels
    PaintTarget target; // and what they were painted on, and with
    QColor fillColor;
    quint32 background = 0; // the colour found on the device before painting
    int fontGeneration = 0;
    PainterTools exits[BoxFamilyCount]; // what each family left for the next
    QVector<QRectF> extents[BoxFamilyCount]; // where each box may draw, in item coordinates
    QVector<int> added[BoxFamilyCount]; // boxes added (or added again) since
    QVector<int> switched[BoxFamilyCount]; // boxes whose sides or states were switched since
    int changes = 0; // entries in added and switched
    bool valid = false; // image holds the last frame, painted as target describes
    bool everything = true; // so much changed since that only a full frame will do

    // Items of several windows may paint at once, on render threads of their own; an item's own
    // state is used only on the thread that owns the item or while that thread waits for a frame.
    static ItemState *find(const Bll_Painted_Item *item);
    static ItemState &of(const Bll_Painted_Item *item);
    static void forget(const Bll_Painted_Item *item);
};

#endif // BLL_ITEM_STATE_H
