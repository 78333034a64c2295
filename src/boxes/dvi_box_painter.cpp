#include "bll_painted_item.h"

#include "../core/dashed_outline.h"
#include "../core/retained_painting.h"
#include "../core/style_keys.h"
#include "../core/style_lookup.h"
#include "box_label.h"
#include "box_table.h"
#include "dvi_box_record.h"

#include <QtGui/QPainter>
#include <QtGui/QPolygonF>

#include <algorithm>
#include <iterator>

namespace {

bool drawn(const BoxDVIRecord &box)
{
    return box.width > 1.0 && box.height > 1.0;
}

// The label's pixel size, 0 when the box has no label; its font is set even when it is hidden.
int labelSize(const BoxDVIRecord &box)
{
    return box.width > 5.0 && box.height > 5.0 ? BoxLabel::pixelSize(box.width, box.height) : 0;
}

struct Tools
{
    Tools(const QPen &painterPen, const QBrush &painterBrush, const QVariantMap &style)
    {
        using namespace StyleLookup;
        labelPen = familyPen(painterPen, style);
        const QColor markerColor = optionalColor(style, StyleKey::brushColor);
        markerPen = penWithColor(painterPen, markerColor);
        markerBrush = solidBrushOr(painterBrush, markerColor);
    }
    QPen labelPen, markerPen;
    QBrush markerBrush;
};

// The two markers of each side: triangles with a 2b base parallel to the side,
// 3b inside it, pointing outward to a tip b inside the side, 5b from the corner.
void drawSideMarkers(QPainter *painter, const BoxDVIRecord &box, const BoxSelection &boxes,
                     qreal reach)
{
    const double x = box.x, y = box.y, b = box.borderWidth;
    const double xr = box.x + box.width;
    const double yb = box.y + box.height;
    QPolygonF triangle(3);
    const auto draw = [&](QPointF p1, QPointF tip, QPointF p3) {
        triangle[0] = p1;
        triangle[1] = tip;
        triangle[2] = p3;
        if (boxes.shows(
                    [&] { return triangle.boundingRect().adjusted(-reach, -reach, reach, reach); }))
            DashedOutline::drawPolygon(painter, triangle);
    };

    if (box.topBorder) {
        draw({x + 4 * b, y + 3 * b}, {x + 5 * b, y + b}, {x + 6 * b, y + 3 * b});
        draw({xr - 4 * b, y + 3 * b}, {xr - 5 * b, y + b}, {xr - 6 * b, y + 3 * b});
    }
    if (box.bottomBorder) {
        draw({x + 4 * b, yb - 3 * b}, {x + 5 * b, yb - b}, {x + 6 * b, yb - 3 * b});
        draw({xr - 4 * b, yb - 3 * b}, {xr - 5 * b, yb - b}, {xr - 6 * b, yb - 3 * b});
    }
    if (box.leftBorder) {
        draw({x + 3 * b, y + 4 * b}, {x + b, y + 5 * b}, {x + 3 * b, y + 6 * b});
        draw({x + 3 * b, yb - 4 * b}, {x + b, yb - 5 * b}, {x + 3 * b, yb - 6 * b});
    }
    if (box.rightBorder) {
        draw({xr - 3 * b, y + 4 * b}, {xr - b, y + 5 * b}, {xr - 3 * b, y + 6 * b});
        draw({xr - 3 * b, yb - 4 * b}, {xr - b, yb - 5 * b}, {xr - 3 * b, yb - 6 * b});
    }
}

} // namespace

void Bll_Painted_Item::paintBoxDVI(QPainter *painter)
{
    RetainedPainting::paintDviBoxes(*this, painter, BoxSelection::all(m_boxDVIHash.size()));
}

void RetainedPainting::paintDviBoxes(Bll_Painted_Item &item, QPainter *painter,
                                     const BoxSelection &boxes)
{
    const Tools tools(painter->pen(), painter->brush(), item.m_boxDVIStyle);
    const qreal reach = penReach(tools.markerPen);
    painter->setPen(tools.labelPen);
    painter->setBrush(tools.markerBrush);

    for (int i = 0; i < boxes.size(); ++i) {
        // Not const: painting keeps each label's layout in its record.
        auto &entry = item.m_boxDVIHash.at(boxes[i]);
        BoxDVIRecord &box = entry.record;
        if (!drawn(box))
            continue;
        const int pixelSize = labelSize(box);
        const QRectF rect(box.x, box.y, box.width, box.height);
        if (pixelSize && boxes.shows([&] { return labelExtent(rect, entry.boxId, pixelSize); })) {
            BoxLabel::setFont(painter, pixelSize);
            if (box.showText) {
                painter->setPen(tools.labelPen);
                BoxLabel::draw(painter, rect, entry.boxId, box.label);
            }
        }
        painter->setPen(tools.markerPen);
        if (box.showBorder)
            drawSideMarkers(painter, box, boxes, reach);
    }
}

PainterTools RetainedPainting::dviBoxesExit(const Bll_Painted_Item &item, const PainterTools &entry)
{
    const auto &table = item.m_boxDVIHash;
    const Tools tools(entry.pen, entry.brush, item.m_boxDVIStyle);
    PainterTools exit {tools.labelPen, tools.markerBrush, entry.font};
    int last = table.size() - 1;
    while (last >= 0 && !drawn(table.at(last).record))
        --last;
    if (last < 0)
        return exit;
    exit.pen = tools.markerPen;
    while (last >= 0 && !(drawn(table.at(last).record) && labelSize(table.at(last).record)))
        --last;
    if (last >= 0)
        exit.font = BoxLabel::font(entry.font, labelSize(table.at(last).record));
    return exit;
}

QRectF RetainedPainting::dviBoxExtent(const Bll_Painted_Item &item, const PainterTools &entry,
                                      int index, bool)
{
    const auto &row = item.m_boxDVIHash.at(index);
    const BoxDVIRecord &box = row.record;
    if (!drawn(box))
        return QRectF();
    // Switches show and hide the label as well as the markers, so a switched box may change
    // anywhere it draws. Markers lie between b and 6b inside (or, for a negative b, outside) each
    // side.
    const double b = box.borderWidth, xr = box.x + box.width, yb = box.y + box.height;
    const double xs[] = {box.x + b, box.x + 6 * b, xr - b, xr - 6 * b};
    const double ys[] = {box.y + b, box.y + 6 * b, yb - b, yb - 6 * b};
    const auto [left, right] = std::minmax_element(std::begin(xs), std::end(xs));
    const auto [top, bottom] = std::minmax_element(std::begin(ys), std::end(ys));
    const double reach = penReach(Tools(entry.pen, entry.brush, item.m_boxDVIStyle).markerPen);
    const QRectF rect(box.x, box.y, box.width, box.height);
    return QRectF(QPointF(*left, *top), QPointF(*right, *bottom))
                   .adjusted(-reach, -reach, reach, reach)
            | labelExtent(rect, row.boxId, labelSize(box));
}
