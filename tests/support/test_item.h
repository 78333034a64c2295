#ifndef TEST_ITEM_H
#define TEST_ITEM_H

#include "bll_painted_item.h"

// The item with its protected painters opened up, as a derived class sees them.
class TestItem : public Bll_Painted_Item
{
public:
    using Bll_Painted_Item::initPenStyle;
    using Bll_Painted_Item::paint;
    using Bll_Painted_Item::paintBox;
    using Bll_Painted_Item::paintBoxDVI;
    using Bll_Painted_Item::paintBoxSimple;
    using Bll_Painted_Item::paintEllipse;
    using Bll_Painted_Item::paintLine;
    using Bll_Painted_Item::paintRect;
};

#endif // TEST_ITEM_H
