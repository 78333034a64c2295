#ifndef BLL_ITEM_CHANGES_H
#define BLL_ITEM_CHANGES_H

// The one way the stores say what they changed: after comparing, so that a call that changes
// nothing says nothing. Core passes every change on to everything it keeps beside the item (the
// kept frames, the index of where boxes lie, the labels' glyphs, the tools each family leaves):
// a new consumer of changes joins ItemState, and the stores stay as they are. Private to the
// library.

#include "box_family.h"

class Bll_Painted_Item;

// What keeps something derived from an item's boxes up to date hears this. Called on the item's
// thread, right after each change.
class ItemChangeListener
{
public:
    enum Change {
        Added, // added, added again under the same boxId, moved or removed: perhaps elsewhere
        Switched, // sides, states or switches changed; the box lies where it did
    };
    virtual void boxesChanged(BoxFamily family, const int *indices, int count, Change change) = 0;
    // Every box of the family is gone, or the boxes took new places (the store dropped the
    // places that removed boxes left empty): nothing kept by place holds any longer.
    virtual void familyCleared(BoxFamily family) = 0;
    // A style, the fill colour or the default styles: every box may look different.
    virtual void stylesChanged() = 0;
    // A rectangle, line or ellipse was added, or a kind of them cleared: only what paints the
    // shapes listens.
    virtual void shapesChanged() { }

protected:
    ~ItemChangeListener() = default;
};

namespace ItemChanges {

void boxesChanged(const Bll_Painted_Item *item, BoxFamily family, const int *indices, int count,
                  ItemChangeListener::Change change);
inline void boxChanged(const Bll_Painted_Item *item, BoxFamily family, int index,
                       ItemChangeListener::Change change)
{
    boxesChanged(item, family, &index, 1, change);
}
inline void boxesChanged(const Bll_Painted_Item *item, BoxFamily family,
                         const QVector<int> &indices, ItemChangeListener::Change change)
{
    boxesChanged(item, family, indices.constData(), indices.size(), change);
}
void familyCleared(const Bll_Painted_Item *item, BoxFamily family);
void stylesChanged(const Bll_Painted_Item *item);
void shapesChanged(const Bll_Painted_Item *item);

} // namespace ItemChanges

#endif // BLL_ITEM_CHANGES_H
