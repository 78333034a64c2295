#include "bll_painted_item_boxes.h"

#include "../boxes/box_edits.h"
#include "bll_painted_item.h"
#include "model_values.h"

namespace {

Bll_Painted_Item *itemOf(const QVariant &value)
{
    return qobject_cast<Bll_Painted_Item *>(value.value<QObject *>());
}

// Runs f(family) for an item and a family that exist; `none` otherwise.
template<typename Item, typename Result, typename F>
Result withFamily(Item *item, const QString &name, Result none, F f)
{
    BoxFamily family;
    if (!item || !BoxEdits::familyNamed(name, &family))
        return none;
    return f(family);
}

} // namespace

BllBoxes::BllBoxes(QObject *parent) : QObject(parent) { }

QVariantMap BllBoxes::box(const Bll_Painted_Item *item, const QString &family, const QString &boxId)
{
    return withFamily(item, family, QVariantMap(),
                      [&](BoxFamily f) { return BoxEdits::box(*item, f, boxId); });
}

QStringList BllBoxes::ids(const Bll_Painted_Item *item, const QString &family)
{
    return withFamily(item, family, QStringList(),
                      [&](BoxFamily f) { return BoxEdits::ids(*item, f); });
}

int BllBoxes::count(const Bll_Painted_Item *item, const QString &family)
{
    return withFamily(item, family, 0, [&](BoxFamily f) { return BoxEdits::count(*item, f); });
}

int BllBoxes::remove(Bll_Painted_Item *item, const QString &family, const QStringList &boxIds)
{
    return withFamily(item, family, 0, [&](BoxFamily f) {
        const int removed = BoxEdits::remove(*item, f, boxIds);
        if (removed)
            item->update();
        return removed;
    });
}

int BllBoxes::setSimpleStates(Bll_Painted_Item *item, const QStringList &boxIds,
                              const QVariantMap &states)
{
    if (!item)
        return 0;
    const int changed = BoxEdits::setSimpleStates(*item, &boxIds, states);
    if (changed)
        item->update();
    return changed;
}

int BllBoxes::setAllSimpleStates(Bll_Painted_Item *item, const QVariantMap &states)
{
    if (!item)
        return 0;
    const int changed = BoxEdits::setSimpleStates(*item, nullptr, states);
    if (changed)
        item->update();
    return changed;
}

QVariant BllBoxes::box(const QVariant &item, const QString &family, const QString &boxId) const
{
    const QVariantMap map = box(itemOf(item), family, boxId);
    return map.isEmpty() ? QVariant::fromValue(nullptr) : QVariant(map);
}

QStringList BllBoxes::ids(const QVariant &item, const QString &family) const
{
    return ids(itemOf(item), family);
}

int BllBoxes::count(const QVariant &item, const QString &family) const
{
    return count(itemOf(item), family);
}

int BllBoxes::remove(const QVariant &item, const QString &family, const QVariant &boxIds) const
{
    return remove(itemOf(item), family, ModelValues::boxIds(boxIds));
}

int BllBoxes::setSimpleStates(const QVariant &item, const QVariant &boxIds,
                              const QVariantMap &states) const
{
    return setSimpleStates(itemOf(item), ModelValues::boxIds(boxIds), states);
}

int BllBoxes::setAllSimpleStates(const QVariant &item, const QVariantMap &states) const
{
    return setAllSimpleStates(itemOf(item), states);
}
