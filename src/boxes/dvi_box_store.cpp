#include "bll_painted_item.h"

#include "../core/retained_painting.h"
#include "../core/style_keys.h"
#include "box_table.h"
#include "dvi_box_record.h"

namespace {

// Sets the switches that vBorder names; the others keep their values.
void applySwitches(BoxDVIRecord &box, const QVariantMap &vBorder)
{
    const auto apply = [&](const QString &key, bool &flag) {
        const auto it = vBorder.constFind(key);
        if (it != vBorder.cend())
            flag = it->toBool();
    };
    apply(OptionKey::showText, box.showText);
    apply(OptionKey::showBorder, box.showBorder);
    apply(OptionKey::topBorder, box.topBorder);
    apply(OptionKey::bottomBorder, box.bottomBorder);
    apply(OptionKey::leftBorder, box.leftBorder);
    apply(OptionKey::rightBorder, box.rightBorder);
}

} // namespace

void Bll_Painted_Item::addBoxDVIF(QString boxId, double x, double y, double width, double height,
                                  double borderWidth)
{
    BoxDVIRecord box;
    box.x = x;
    box.y = y;
    box.width = width;
    box.height = height;
    box.borderWidth = borderWidth;
    RetainedPainting::boxChanged(this, DviBoxes, m_boxDVIHash.insert(boxId, box),
                                 RetainedPainting::Added);
}

void Bll_Painted_Item::updateBoxDVIF(QString boxId, const QVariantMap &vBorder)
{
    const int index = m_boxDVIHash.indexOf(boxId);
    if (index < 0)
        return;
    RetainedPainting::boxChanged(this, DviBoxes, index, RetainedPainting::Switched);
    applySwitches(m_boxDVIHash.at(index).record, vBorder);
}

void Bll_Painted_Item::updateAllBoxDVIF(const QVariantMap &vBorder)
{
    for (auto &entry : m_boxDVIHash)
        applySwitches(entry.record, vBorder);
    RetainedPainting::everythingChanged(this);
}
