#ifndef BLL_RETAINED_PAINTING_H
#define BLL_RETAINED_PAINTING_H

// Frames that repaint only what changed since the last one, pixel for pixel as a full repaint.
// Private to the library.
//
// QML's update() makes Qt Quick fill the item's whole texture and call paint() again, so the
// item keeps its own copy of the last frame: paint() repaints only the boxes the store
// operations changed, and whatever overlaps where they were and are (the damage), then copies
// the kept frame back around the damage. A texture that only changed its size keeps the pixels
// it still holds. It does so only where it can prove the result exact: the same raster device
// and painter state as the last frame, and nothing painted under the boxes that it did not paint
// itself. Everywhere else it paints in full, exactly as it would without a kept frame, and on
// several threads when that pays (banded_painting.h).
//
// What painting keeps (the frame, where each box draws, the labels' glyphs) lives beside the
// item, not in it: painting reads the model and changes nothing of it.

#include "box_family.h"

class Bll_Painted_Item;
class QPainter;

namespace RetainedPainting {

// paint(): repaints what changed when that is exact, else everything.
void paint(const Bll_Painted_Item &item, QPainter *painter);

// The store operations say what they change: one box, added (or added again) or switched; a
// family cleared; or (styles, the fill colour, initPenStyle) everything.
enum Change { Added, Switched };
void boxChanged(const Bll_Painted_Item *item, BoxFamily family, int index, Change change);
void boxesChanged(const Bll_Painted_Item *item, BoxFamily family, const QVector<int> &indices,
                  Change change);
void familyCleared(const Bll_Painted_Item *item, BoxFamily family);
void everythingChanged(const Bll_Painted_Item *item);

// The item is going away.
void forget(const Bll_Painted_Item *item);

} // namespace RetainedPainting

#endif // BLL_RETAINED_PAINTING_H
