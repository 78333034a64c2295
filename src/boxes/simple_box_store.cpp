#include "bll_painted_item.h"

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
    m_boxSimpleHash.insert(boxId, box);
}

void Bll_Painted_Item::updateBoxSimpleF(QString boxId, const QVariantMap &vMap)
{
    BoxSimpleRecord *box = m_boxSimpleHash.find(boxId);
    if (!box)
        return;
    const auto hover = vMap.constFind(OptionKey::isHover);
    if (hover != vMap.cend())
        box->isHover = hover->toBool();
    const auto selected = vMap.constFind(OptionKey::isSelected);
    if (selected != vMap.cend())
        box->isSelected = selected->toBool();
}
