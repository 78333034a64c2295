#include "bll_painted_item.h"

#include "../core/dashed_outline.h"
#include "../core/style_keys.h"
#include "../core/style_lookup.h"
#include "box_label.h"
#include "box_table.h"
#include "dvi_box_record.h"

#include <QtGui/QPainter>
#include <QtGui/QPolygonF>

namespace {

// The two markers of each side: triangles with a 2b base parallel to the side,
// 3b inside it, pointing outward to a tip b inside the side, 5b from the corner.
void drawSideMarkers(QPainter *painter, const BoxDVIRecord &box)
{
    const double x = box.x, y = box.y, b = box.borderWidth;
    const double xr = box.x + box.width;
    const double yb = box.y + box.height;
    QPolygonF triangle(3);
    const auto draw = [&](QPointF p1, QPointF tip, QPointF p3) {
        triangle[0] = p1;
        triangle[1] = tip;
        triangle[2] = p3;
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
    using namespace StyleLookup;

    const QPen painterPen = painter->pen();
    const QPen labelPen = familyPen(painterPen, m_boxDVIStyle);
    const QColor markerColor = optionalColor(m_boxDVIStyle, StyleKey::brushColor);
    const QPen markerPen = penWithColor(painterPen, markerColor);
    const QBrush markerBrush = solidBrushOr(painter->brush(), markerColor);

    painter->setPen(labelPen);
    painter->setBrush(markerBrush);

    // Not const: painting keeps each label's layout in its record.
    for (auto &entry : m_boxDVIHash) {
        const BoxDVIRecord &box = entry.record;
        const double w = box.width, h = box.height;
        if (!(w > 1.0 && h > 1.0))
            continue;

        if (w > 5.0 && h > 5.0) {
            if (const int pixelSize = BoxLabel::pixelSize(w, h)) {
                // The font is set even for a hidden label.
                BoxLabel::setFont(painter, pixelSize);
                if (box.showText) {
                    painter->setPen(labelPen);
                    BoxLabel::draw(painter, QRectF(box.x, box.y, w, h), entry.boxId,
                                   entry.record.label);
                }
            }
        }

        painter->setPen(markerPen);
        if (box.showBorder)
            drawSideMarkers(painter, box);
    }
}
