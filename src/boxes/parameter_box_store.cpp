#include "bll_painted_item.h"

#include "../core/retained_painting.h"
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
    RetainedPainting::boxChanged(this, ParameterBoxes, m_boxHash.insert(boxId, box),
                                 RetainedPainting::Added);
}

double Bll_Painted_Item::updateBoxF(QString boxId, const QVariantMap &vBorder)
{
    const int index = m_boxHash.indexOf(boxId);
    if (index < 0)
        return 1.0;
    RetainedPainting::boxChanged(this, ParameterBoxes, index, RetainedPainting::Switched);
    return pickSides(m_boxHash.at(index).record, vBorder);
}

void Bll_Painted_Item::updateAllBoxF(const QVariantMap &vBorder)
{
    for (auto &entry : m_boxHash)
        pickSides(entry.record, vBorder);
    RetainedPainting::everythingChanged(this);
}

void Bll_Painted_Item::updateBoxParamF(const QVariantMap &vBorder)
{
    const auto it = vBorder.constFind(OptionKey::currentParam);
    if (it == vBorder.cend())
        return;
    const double param = it->toReal();
    RetainedPainting::everythingChanged(this);
    for (auto &entry : m_boxHash) {
        BoxRecord &box = entry.record;
        if (box.topBorder)
            box.topParam = param;
        if (box.bottomBorder)
            box.bottomParam = param;
        if (box.leftBorder)
            box.leftParam = param;
        if (box.rightBorder)
            box.rightParam = param;
    }
}

void Bll_Painted_Item::updateAllBoxParamF(const QVariantMap &vBorder)
{
    const auto it = vBorder.constFind(OptionKey::currentParam);
    if (it == vBorder.cend())
        return;
    const double param = it->toReal();
    RetainedPainting::everythingChanged(this);
    for (auto &entry : m_boxHash) {
        BoxRecord &box = entry.record;
        box.topParam = box.bottomParam = box.leftParam = box.rightParam = param;
    }
}
