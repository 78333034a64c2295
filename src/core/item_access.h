#ifndef BLL_ITEM_ACCESS_H
#define BLL_ITEM_ACCESS_H

// The one door from the library's code to the item's stores and styles, which are private members
// of the public class. Painting reads through the const functions and never changes the model;
// only the operations beside the class that edit boxes (box_edits.h) take a table to change,
// and they report what they change as the stores do. Private to the library.

#include "bll_painted_item.h"

struct ItemAccess
{
    template<typename Record>
    using Table = Bll_Painted_Item::BoxTable<Record>;

    static const Table<BoxRecord> &parameterBoxes(const Bll_Painted_Item &item)
    {
        return item.m_boxHash;
    }
    static const Table<BoxDVIRecord> &dviBoxes(const Bll_Painted_Item &item)
    {
        return item.m_boxDVIHash;
    }
    static const Table<BoxSimpleRecord> &simpleBoxes(const Bll_Painted_Item &item)
    {
        return item.m_boxSimpleHash;
    }
    static Table<BoxRecord> &parameterBoxes(Bll_Painted_Item &item) { return item.m_boxHash; }
    static Table<BoxDVIRecord> &dviBoxes(Bll_Painted_Item &item) { return item.m_boxDVIHash; }
    static Table<BoxSimpleRecord> &simpleBoxes(Bll_Painted_Item &item)
    {
        return item.m_boxSimpleHash;
    }
    static const QVector<RectRecord> &rects(const Bll_Painted_Item &item)
    {
        return item.m_rectVector;
    }
    static const QVector<LineRecord> &lines(const Bll_Painted_Item &item)
    {
        return item.m_lineVector;
    }
    static const QVector<RectRecord> &ellipses(const Bll_Painted_Item &item)
    {
        return item.m_ellipseVector;
    }
    static const QVariantMap &parameterStyle(const Bll_Painted_Item &item)
    {
        return item.m_boxStyle;
    }
    static const QVariantMap &dviStyle(const Bll_Painted_Item &item) { return item.m_boxDVIStyle; }
    static const QVariantMap &simpleStyle(const Bll_Painted_Item &item)
    {
        return item.m_boxSimpleStyle;
    }
};

#endif // BLL_ITEM_ACCESS_H
