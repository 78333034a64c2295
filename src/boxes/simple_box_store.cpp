#include "bll_painted_item.h"

#include "../core/item_changes.h"
#include "../core/style_keys.h"
#include "box_table.h"
#include "simple_box_record.h"

void Bll_Painted_Item::addBoxSimpleF(QString boxId, double x, double y, double width, double height)
{
    BoxSimpleRecord box;
    box.x = x;
    box.y = y;
    box.width = width;
    box.height = height;
    ItemChanges::boxChanged(this, SimpleBoxes, m_boxSimpleHash.insert(boxId, box),
                            ItemChangeListener::Added);
}

void Bll_Painted_Item::updateBoxSimpleF(QString boxId, const QVariantMap &vMap)
{
    const int index = m_boxSimpleHash.indexOf(boxId);
    if (index < 0)
        return;
    BoxSimpleRecord &box = m_boxSimpleHash.at(index).record;
    const BoxSimpleRecord before = box;
    const auto hover = vMap.constFind(OptionKey::isHover);
    if (hover != vMap.cend())
        box.isHover = hover->toBool();
    const auto selected = vMap.constFind(OptionKey::isSelected);
    if (selected != vMap.cend())
        box.isSelected = selected->toBool();
    if (box.isHover != before.isHover || box.isSelected != before.isSelected)
        ItemChanges::boxChanged(this, SimpleBoxes, index, ItemChangeListener::Switched);
}

// Releases the storage as well: a cleared table is a new, empty table.
void Bll_Painted_Item::clearBoxSimpleF()
{
    m_boxSimpleHash.clear();
    ItemChanges::familyCleared(this, SimpleBoxes);
}
