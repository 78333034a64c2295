#include "bll_painted_item.h"

#include "../core/int_geometry.h"
#include "../core/retained_painting.h"
#include "../core/style_keys.h"
#include "../core/style_lookup.h"
#include "box_label.h"
#include "box_table.h"
#include "simple_box_record.h"

#include <QtGui/QPainter>

namespace {

// Whether the box is drawn, and its whole-pixel rectangle when it is.
bool drawn(const BoxSimpleRecord &box, QRect *outline)
{
    return box.width > 1.0 && box.height > 1.0
            && IntGeometry::rect(box.x, box.y, box.width, box.height, outline);
}

// The label's pixel size, 0 when the box has no label.
int labelSize(const BoxSimpleRecord &box)
{
    return box.width > 10.0 && box.height > 10.0 ? BoxLabel::pixelSize(box.width, box.height) : 0;
}

struct Tools
{
    Tools(const QPen &painterPen, const QBrush &painterBrush, const QVariantMap &style)
    {
        using namespace StyleLookup;
        outlinePen = familyPen(painterPen, style);
        // The label keeps the style and width of the pen found on the painter.
        labelPen = penWithColor(painterPen, optionalColor(style, StyleKey::textColor));
        fillBrush = solidBrushOr(painterBrush, optionalColor(style, StyleKey::brushColor));
        hoverBrush = solidBrushOr(painterBrush, optionalColor(style, StyleKey::isHoverColor));
        selectionBrush =
                solidBrushOr(painterBrush, optionalColor(style, StyleKey::isSelectedColor));
    }
    // Selection wins over hover.
    const QBrush &brush(const BoxSimpleRecord &box) const
    {
        return box.isSelected ? selectionBrush : box.isHover ? hoverBrush : fillBrush;
    }
    QPen outlinePen, labelPen;
    QBrush fillBrush, hoverBrush, selectionBrush;
};

} // namespace

void Bll_Painted_Item::paintBoxSimple(QPainter *painter)
{
    RetainedPainting::paintSimpleBoxes(*this, painter, BoxSelection::all(m_boxSimpleHash.size()));
}

void RetainedPainting::paintSimpleBoxes(Bll_Painted_Item &item, QPainter *painter,
                                        const BoxSelection &boxes)
{
    const Tools tools(painter->pen(), painter->brush(), item.m_boxSimpleStyle);
    const qreal reach = penReach(tools.outlinePen);
    bool outlineInstalled = false;
    for (int i = 0; i < boxes.size(); ++i) {
        // Not const: painting keeps each label's layout in its record.
        auto &entry = item.m_boxSimpleHash.at(boxes[i]);
        BoxSimpleRecord &box = entry.record;
        QRect outline;
        if (!drawn(box, &outline))
            continue;

        // Installed before the first box, so no outline depends on the box's place in the order.
        if (!outlineInstalled) {
            painter->setPen(tools.outlinePen);
            outlineInstalled = true;
        }
        painter->setBrush(tools.brush(box));
        if (boxes.shows([&] { return QRectF(outline).adjusted(-reach, -reach, reach, reach); }))
            painter->drawRect(outline);

        const int pixelSize = labelSize(box);
        const QRectF rect(box.x, box.y, box.width, box.height);
        if (pixelSize && boxes.shows([&] { return labelExtent(rect, entry.boxId, pixelSize); })) {
            BoxLabel::setFont(painter, pixelSize);
            painter->setPen(tools.labelPen);
            BoxLabel::draw(painter, rect, entry.boxId, box.label);
            painter->setPen(tools.outlinePen);
        }
    }
}

PainterTools RetainedPainting::simpleBoxesExit(const Bll_Painted_Item &item,
                                               const PainterTools &entry)
{
    PainterTools exit = entry;
    const auto &table = item.m_boxSimpleHash;
    QRect outline;
    int last = table.size() - 1;
    while (last >= 0 && !drawn(table.at(last).record, &outline))
        --last;
    if (last < 0)
        return exit;
    const Tools tools(entry.pen, entry.brush, item.m_boxSimpleStyle);
    exit.pen = tools.outlinePen;
    exit.brush = tools.brush(table.at(last).record);
    while (last >= 0
           && !(drawn(table.at(last).record, &outline) && labelSize(table.at(last).record)))
        --last;
    if (last >= 0)
        exit.font = BoxLabel::font(entry.font, labelSize(table.at(last).record));
    return exit;
}

QRectF RetainedPainting::simpleBoxExtent(const Bll_Painted_Item &item, const PainterTools &entry,
                                         int index, bool switched)
{
    const auto &row = item.m_boxSimpleHash.at(index);
    const BoxSimpleRecord &box = row.record;
    QRect outline;
    if (!drawn(box, &outline))
        return QRectF();
    const double reach = penReach(Tools(entry.pen, entry.brush, item.m_boxSimpleStyle).outlinePen);
    const QRectF rect = QRectF(outline).adjusted(-reach, -reach, reach, reach);
    // Hover and selection switch the fill, nothing else.
    return switched ? rect
                    : rect
                    | labelExtent(QRectF(box.x, box.y, box.width, box.height), row.boxId,
                                  labelSize(box));
}
