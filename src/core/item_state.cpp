#include "item_state.h"

#include <QtCore/QHash>
#include <QtCore/QMutex>

#include <atomic>

namespace {

QMutex statesMutex;
QHash<const Bll_Painted_Item *, ItemState *> states;
std::atomic<int> stateCount {0};

} // namespace

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
