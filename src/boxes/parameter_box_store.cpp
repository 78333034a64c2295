#include "bll_painted_item.h"

#include "../core/item_changes.h"
#include "../core/style_keys.h"
#include "box_table.h"
#include "parameter_box_record.h"

namespace {

// Sets the flags of the sides that vBorder names, in the order top, bottom,
// left, right; returns the parameter of the last side named, else 1.0.
double pickSides(BoxRecord &box, const QVariantMap &vBorder)
{
    double lastParam = 1.0;
    const auto apply = [&](const QString &key, bool &picked, double param) {
        const auto it = vBorder.constFind(key);
        if (it == vBorder.cend())
            return;
        lastParam = param;
        picked = it->toBool();
    };
    apply(OptionKey::topBorder, box.topBorder, box.topParam);
    apply(OptionKey::bottomBorder, box.bottomBorder, box.bottomParam);
    apply(OptionKey::leftBorder, box.leftBorder, box.leftParam);
    apply(OptionKey::rightBorder, box.rightBorder, box.rightParam);
    return lastParam;
}

// Gives a side a parameter; true when that changes how the side looks or what it reports.
bool assign(double &param, double value)
{
    const bool changed = !(param == value) && !(qIsNaN(param) && qIsNaN(value));
    param = value;
    return changed;
}

bool samePicks(const BoxRecord &a, const BoxRecord &b)
{
    return a.topBorder == b.topBorder && a.bottomBorder == b.bottomBorder
            && a.leftBorder == b.leftBorder && a.rightBorder == b.rightBorder;
}

} // namespace

void Bll_Painted_Item::addBoxF(QString boxId, double x, double y, double width, double height,
                               double borderWidth)
{
    BoxRecord box;
    box.x = x;
    box.y = y;
    box.width = width;
    box.height = height;
    box.borderWidth = borderWidth;
    ItemChanges::boxChanged(this, ParameterBoxes, m_boxHash.insert(boxId, box),
                            ItemChangeListener::Added);
}

double Bll_Painted_Item::updateBoxF(QString boxId, const QVariantMap &vBorder)
{
    const int index = m_boxHash.indexOf(boxId);
    if (index < 0)
        return 1.0;
    BoxRecord &box = m_boxHash.at(index).record;
    const BoxRecord before = box;
    const double param = pickSides(box, vBorder);
    if (!samePicks(before, box))
        ItemChanges::boxChanged(this, ParameterBoxes, index, ItemChangeListener::Switched);
    return param;
}

void Bll_Painted_Item::updateAllBoxF(const QVariantMap &vBorder)
{
    QVector<int> changed;
    for (int i = 0; i < m_boxHash.size(); ++i) {
        BoxRecord &box = m_boxHash.at(i).record;
        const BoxRecord before = box;
        pickSides(box, vBorder);
        if (!samePicks(before, box))
            changed << i;
    }
    ItemChanges::boxesChanged(this, ParameterBoxes, changed, ItemChangeListener::Switched);
}

// Only boxes with picked sides take the parameter, and only those that change are repainted.
void Bll_Painted_Item::updateBoxParamF(const QVariantMap &vBorder)
{
    const auto it = vBorder.constFind(OptionKey::currentParam);
    if (it == vBorder.cend())
        return;
    const double param = it->toReal();
    QVector<int> changed;
    for (int i = 0; i < m_boxHash.size(); ++i) {
        BoxRecord &box = m_boxHash.at(i).record;
        bool sideChanged = false;
        if (box.topBorder)
            sideChanged |= assign(box.topParam, param);
        if (box.bottomBorder)
            sideChanged |= assign(box.bottomParam, param);
        if (box.leftBorder)
            sideChanged |= assign(box.leftParam, param);
        if (box.rightBorder)
            sideChanged |= assign(box.rightParam, param);
        if (sideChanged)
            changed << i;
    }
    ItemChanges::boxesChanged(this, ParameterBoxes, changed, ItemChangeListener::Switched);
}

void Bll_Painted_Item::updateAllBoxParamF(const QVariantMap &vBorder)
{
    const auto it = vBorder.constFind(OptionKey::currentParam);
    if (it == vBorder.cend())
        return;
    const double param = it->toReal();
    QVector<int> changed;
    for (int i = 0; i < m_boxHash.size(); ++i) {
        BoxRecord &box = m_boxHash.at(i).record;
        bool sideChanged = assign(box.topParam, param);
        sideChanged |= assign(box.bottomParam, param);
        sideChanged |= assign(box.leftParam, param);
        sideChanged |= assign(box.rightParam, param);
        if (sideChanged)
            changed << i;
    }
    ItemChanges::boxesChanged(this, ParameterBoxes, changed, ItemChangeListener::Switched);
}

// Releases the storage as well: a cleared table is a new, empty table.
void Bll_Painted_Item::clearBoxF()
{
    m_boxHash.clear();
    ItemChanges::familyCleared(this, ParameterBoxes);
}
