#include "bll_painted_item.h"

#include "../core/item_changes.h"
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

bool sameSwitches(const BoxDVIRecord &a, const BoxDVIRecord &b)
{
    return a.showText == b.showText && a.showBorder == b.showBorder && a.topBorder == b.topBorder
            && a.bottomBorder == b.bottomBorder && a.leftBorder == b.leftBorder
            && a.rightBorder == b.rightBorder;
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
    ItemChanges::boxChanged(this, DviBoxes, m_boxDVIHash.insert(boxId, box),
                            ItemChangeListener::Added);
}

void Bll_Painted_Item::updateBoxDVIF(QString boxId, const QVariantMap &vBorder)
{
    const int index = m_boxDVIHash.indexOf(boxId);
    if (index < 0)
        return;
    BoxDVIRecord &box = m_boxDVIHash.at(index).record;
    const BoxDVIRecord before = box;
    applySwitches(box, vBorder);
    if (!sameSwitches(before, box))
        ItemChanges::boxChanged(this, DviBoxes, index, ItemChangeListener::Switched);
}

void Bll_Painted_Item::updateAllBoxDVIF(const QVariantMap &vBorder)
{
    QVector<int> changed;
    for (int i = 0; i < m_boxDVIHash.size(); ++i) {
        BoxDVIRecord &box = m_boxDVIHash.at(i).record;
        const BoxDVIRecord before = box;
        applySwitches(box, vBorder);
        if (!sameSwitches(before, box))
            changed << i;
    }
    ItemChanges::boxesChanged(this, DviBoxes, changed, ItemChangeListener::Switched);
}

// Releases the storage as well: a cleared table is a new, empty table.
void Bll_Painted_Item::clearBoxDVIF()
{
    m_boxDVIHash.clear();
    ItemChanges::familyCleared(this, DviBoxes);
}
