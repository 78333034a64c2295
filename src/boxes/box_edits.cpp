#include "box_edits.h"

#include "../core/item_access.h"
#include "../core/item_changes.h"
#include "../core/style_keys.h"
#include "box_table.h"
#include "dvi_box_record.h"
#include "parameter_box_record.h"
#include "simple_box_record.h"

namespace {

// Calls f with the family's table.
template<typename Item, typename F>
auto withTable(Item &item, BoxFamily family, F f)
{
    switch (family) {
    case ParameterBoxes:
        return f(ItemAccess::parameterBoxes(item));
    case DviBoxes:
        return f(ItemAccess::dviBoxes(item));
    default:
        return f(ItemAccess::simpleBoxes(item));
    }
}

void describe(const BoxRecord &box, QVariantMap &map)
{
    map[QStringLiteral("borderWidth")] = box.borderWidth;
    map[OptionKey::topBorder] = box.topBorder;
    map[OptionKey::bottomBorder] = box.bottomBorder;
    map[OptionKey::leftBorder] = box.leftBorder;
    map[OptionKey::rightBorder] = box.rightBorder;
    map[OptionKey::topParam] = box.topParam;
    map[OptionKey::bottomParam] = box.bottomParam;
    map[OptionKey::leftParam] = box.leftParam;
    map[OptionKey::rightParam] = box.rightParam;
}

void describe(const BoxDVIRecord &box, QVariantMap &map)
{
    map[QStringLiteral("borderWidth")] = box.borderWidth;
    map[OptionKey::showText] = box.showText;
    map[OptionKey::showBorder] = box.showBorder;
    map[OptionKey::topBorder] = box.topBorder;
    map[OptionKey::bottomBorder] = box.bottomBorder;
    map[OptionKey::leftBorder] = box.leftBorder;
    map[OptionKey::rightBorder] = box.rightBorder;
}

void describe(const BoxSimpleRecord &box, QVariantMap &map)
{
    map[OptionKey::isHover] = box.isHover;
    map[OptionKey::isSelected] = box.isSelected;
}

// Gives a value; true when it is another (NaN counts as equal to NaN).
bool give(double &value, double given)
{
    const bool changed = !(value == given) && !(qIsNaN(value) && qIsNaN(given));
    value = given;
    return changed;
}

bool giveBorder(BoxRecord &box, double width)
{
    return give(box.borderWidth, width);
}
bool giveBorder(BoxDVIRecord &box, double width)
{
    return give(box.borderWidth, width);
}
bool giveBorder(BoxSimpleRecord &, double)
{
    return false;
}

} // namespace

bool BoxEdits::familyNamed(const QString &name, BoxFamily *family)
{
    for (int f = 0; f < BoxFamilyCount; ++f) {
        if (name == QLatin1String(boxFamilies[f]->name)) {
            *family = BoxFamily(f);
            return true;
        }
    }
    return false;
}

QVariantMap BoxEdits::box(const Bll_Painted_Item &item, BoxFamily family, const QString &boxId)
{
    return withTable(item, family, [&](const auto &table) {
        QVariantMap map;
        const int index = table.indexOf(boxId);
        if (index < 0)
            return map;
        const auto &box = table.at(index).record;
        map[QStringLiteral("family")] = QString::fromLatin1(boxFamilies[family]->name);
        map[QStringLiteral("boxId")] = boxId;
        map[QStringLiteral("x")] = box.x;
        map[QStringLiteral("y")] = box.y;
        map[QStringLiteral("width")] = box.width;
        map[QStringLiteral("height")] = box.height;
        describe(box, map);
        return map;
    });
}

QStringList BoxEdits::ids(const Bll_Painted_Item &item, BoxFamily family)
{
    return withTable(item, family, [](const auto &table) {
        QStringList ids;
        ids.reserve(table.boxCount());
        for (int i = 0; i < table.size(); ++i) {
            if (table.holdsBox(i))
                ids << table.at(i).boxId;
        }
        return ids;
    });
}

int BoxEdits::count(const Bll_Painted_Item &item, BoxFamily family)
{
    return withTable(item, family, [](const auto &table) { return table.boxCount(); });
}

int BoxEdits::indexOf(const Bll_Painted_Item &item, BoxFamily family, const QString &boxId)
{
    return withTable(item, family, [&](const auto &table) { return table.indexOf(boxId); });
}

bool BoxEdits::holdsBox(const Bll_Painted_Item &item, BoxFamily family, int index)
{
    return withTable(item, family, [&](const auto &table) {
        return index >= 0 && index < table.size() && table.holdsBox(index);
    });
}

bool BoxEdits::remove(Bll_Painted_Item &item, BoxFamily family, const QString &boxId)
{
    return withTable(item, family, [&](auto &table) {
        const int index = table.remove(boxId);
        if (index < 0)
            return false;
        // Where it was is what changed; it now lies nowhere.
        ItemChanges::boxChanged(&item, family, index, ItemChangeListener::Added);
        if (table.compact())
            ItemChanges::familyCleared(&item, family);
        return true;
    });
}

int BoxEdits::remove(Bll_Painted_Item &item, BoxFamily family, const QStringList &boxIds)
{
    const int cleared = withTable(item, family, [&](auto &table) {
        if (table.boxCount() == 0 || boxIds.size() < table.boxCount())
            return -1;
        QVector<bool> listed(table.size());
        int boxes = 0;
        for (const QString &boxId : boxIds) {
            const int index = table.indexOf(boxId);
            if (index >= 0 && !listed[index]) {
                listed[index] = true;
                ++boxes;
            }
        }
        if (boxes < table.boxCount())
            return -1;
        table.clear();
        return boxes;
    });
    if (cleared >= 0) {
        ItemChanges::familyCleared(&item, family);
        return cleared;
    }
    int removed = 0;
    for (const QString &boxId : boxIds)
        removed += remove(item, family, boxId);
    return removed;
}

bool BoxEdits::setGeometry(Bll_Painted_Item &item, BoxFamily family, const QString &boxId, double x,
                           double y, double width, double height, double borderWidth)
{
    return withTable(item, family, [&](auto &table) {
        const int index = table.indexOf(boxId);
        if (index < 0)
            return false;
        auto &box = table.at(index).record;
        bool changed = give(box.x, x);
        changed |= give(box.y, y);
        changed |= give(box.width, width);
        changed |= give(box.height, height);
        changed |= giveBorder(box, borderWidth);
        if (changed)
            ItemChanges::boxChanged(&item, family, index, ItemChangeListener::Added);
        return true;
    });
}

int BoxEdits::setSimpleStates(Bll_Painted_Item &item, const QStringList *boxIds,
                              const QVariantMap &states)
{
    const auto hover = states.constFind(OptionKey::isHover);
    const auto selected = states.constFind(OptionKey::isSelected);
    const bool setsHover = hover != states.cend(), setsSelected = selected != states.cend();
    const bool isHover = setsHover && hover->toBool();
    const bool isSelected = setsSelected && selected->toBool();
    auto &table = ItemAccess::simpleBoxes(item);
    QVector<int> changed;
    const auto set = [&](int index) {
        BoxSimpleRecord &box = table.at(index).record;
        const BoxSimpleRecord before = box;
        if (setsHover)
            box.isHover = isHover;
        if (setsSelected)
            box.isSelected = isSelected;
        if (box.isHover != before.isHover || box.isSelected != before.isSelected)
            changed << index;
    };
    if (boxIds) {
        // A boxId listed twice finds its box changed already.
        for (const QString &boxId : *boxIds) {
            if (const int index = table.indexOf(boxId); index >= 0)
                set(index);
        }
    } else {
        for (int i = 0; i < table.size(); ++i) {
            if (table.holdsBox(i))
                set(i);
        }
    }
    ItemChanges::boxesChanged(&item, SimpleBoxes, changed, ItemChangeListener::Switched);
    return changed.size();
}

bool BoxEdits::setParameters(Bll_Painted_Item &item, const QString &boxId,
                             const QVariantMap &params)
{
    auto &table = ItemAccess::parameterBoxes(item);
    const int index = table.indexOf(boxId);
    if (index < 0)
        return false;
    BoxRecord &box = table.at(index).record;
    bool changed = false;
    const auto giveParam = [&](const QString &key, double &param) {
        const auto it = params.constFind(key);
        if (it != params.cend())
            changed |= give(param, it->toReal());
    };
    giveParam(OptionKey::topParam, box.topParam);
    giveParam(OptionKey::bottomParam, box.bottomParam);
    giveParam(OptionKey::leftParam, box.leftParam);
    giveParam(OptionKey::rightParam, box.rightParam);
    if (changed)
        ItemChanges::boxChanged(&item, ParameterBoxes, index, ItemChangeListener::Switched);
    return true;
}
