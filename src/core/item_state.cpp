#include "item_state.h"

#include "retained_painting.h"

#include <QtCore/QHash>
#include <QtCore/QMutex>

#include <atomic>

namespace {

QMutex statesMutex;
QHash<const Bll_Painted_Item *, ItemState *> states;
std::atomic<int> stateCount {0};

} // namespace

ItemState::ItemState() = default;
ItemState::~ItemState() = default;

void ItemState::boxesChanged(BoxFamily family, const int *indices, int count, Change change)
{
    if (change == Added) {
        for (int i = 0; i < count; ++i)
            index.moved(family, indices[i]);
    }
    leaving[family].boxesChanged(indices, count);
    if (frame)
        frame->boxesChanged(family, indices, count, change);
    for (ItemChangeListener *follower : followers)
        follower->boxesChanged(family, indices, count, change);
}

void ItemState::familyCleared(BoxFamily family)
{
    index.cleared(family);
    // Other boxes will take the places, and their labels other texts.
    labels[family] = LabelStore();
    leaving[family].forget();
    if (frame)
        frame->familyCleared(family);
    for (ItemChangeListener *follower : followers)
        follower->familyCleared(family);
}

void ItemState::stylesChanged()
{
    // What a box installs depends on its record alone: the leaving boxes stay.
    if (frame)
        frame->stylesChanged();
    for (ItemChangeListener *follower : followers)
        follower->stylesChanged();
}

void ItemState::shapesChanged()
{
    // Frames keep the boxes alone; the shapes are painted over them every time.
    for (ItemChangeListener *follower : followers)
        follower->shapesChanged();
}

void (*ItemState::itemCreated)(Bll_Painted_Item *item) = nullptr;

ItemState *ItemState::find(const Bll_Painted_Item *item)
{
    // Most items that are being filled have not painted yet: no lock for them.
    if (stateCount.load(std::memory_order_relaxed) == 0)
        return nullptr;
    QMutexLocker locker(&statesMutex);
    return states.value(item);
}

ItemState &ItemState::of(const Bll_Painted_Item *item)
{
    QMutexLocker locker(&statesMutex);
    ItemState *&state = states[item];
    if (!state) {
        state = new ItemState;
        ++stateCount;
    }
    return *state;
}

void ItemState::forget(const Bll_Painted_Item *item)
{
    if (stateCount.load(std::memory_order_relaxed) == 0)
        return;
    QMutexLocker locker(&statesMutex);
    if (ItemState *state = states.take(item)) {
        delete state;
        --stateCount;
    }
}
