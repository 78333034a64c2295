#include "bll_painted_item.h"

#include "../core/dashed_outline.h"
#include "../core/style_keys.h"
#include "../core/style_lookup.h"
#include "box_label.h"
#include "box_table.h"
#include "parameter_box_record.h"

#include <QtGui/QPainter>
#include <QtGui/QPolygonF>

namespace {

bool carriesParameter(double param)
{
    return !(param == 1.0); // NaN carries a parameter
}

} // namespace

void Bll_Painted_Item::paintBox(QPainter *painter)
{
    using namespace StyleLookup;

    // Everything is copied from the painter before anything is installed on it.
    const QPen painterPen = painter->pen();
    const QBrush painterBrush = painter->brush();
    const QPen borderPen = familyPen(painterPen, m_boxStyle);
    const QPen textPen = penWithColor(painterPen, optionalColor(m_boxStyle, StyleKey::textColor));
    const QBrush fillBrush =
            solidBrushOr(painterBrush, optionalColor(m_boxStyle, StyleKey::brushColor));
    const QBrush pickBrush =
            solidBrushOr(painterBrush, optionalColor(m_boxStyle, StyleKey::pickBorderColor));
    const QBrush paramBrush =
            solidBrushOr(painterBrush, optionalColor(m_boxStyle, StyleKey::paramBorderColor));
    const QBrush pickParamBrush =
            solidBrushOr(painterBrush, optionalColor(m_boxStyle, StyleKey::pickParamBorderColor));

    const auto drawBand = [&](const QPolygonF &band, bool picked, double param) {
        const bool withParam = carriesParameter(param);
        if (picked)
            painter->setBrush(withParam ? pickParamBrush : pickBrush);
        else if (withParam)
            painter->setBrush(paramBrush);
        DashedOutline::drawPolygon(painter, band);
        painter->setBrush(fillBrush);
    };

    bool toolsInstalled = false;
    QPolygonF band(4);
    // Not const: painting keeps each label's layout in its record.
    for (auto &entry : m_boxHash) {
        const BoxRecord &box = entry.record;
        const double x = box.x, y = box.y, w = box.width, h = box.height, b = box.borderWidth;
        if (!(w > 1.0 && h > 1.0))
            continue;

        // Installed before the first box drawn, so no box's look depends on its place in the order.
        if (!toolsInstalled) {
            painter->setPen(borderPen);
            painter->setBrush(fillBrush);
            toolsInstalled = true;
        }

        if (w > 10.0 && h > 10.0) {
            if (const int pixelSize = BoxLabel::pixelSize(w, h)) {
                BoxLabel::setFont(painter, pixelSize);
                painter->setPen(textPen);
                BoxLabel::draw(painter, QRectF(x, y, w, h), entry.boxId, entry.record.label);
                painter->setPen(borderPen);
            }
        }

        band[0] = QPointF(x, y);
        band[1] = QPointF(x + w, y);
        band[2] = QPointF(x + w - b, y + b);
        band[3] = QPointF(x + b, y + b);
        drawBand(band, box.topBorder, box.topParam);

        band[0] = QPointF(x + b, y + h - b);
        band[1] = QPointF(x + w - b, y + h - b);
        band[2] = QPointF(x + w, y + h);
        band[3] = QPointF(x, y + h);
        drawBand(band, box.bottomBorder, box.bottomParam);

        band[0] = QPointF(x, y);
        band[1] = QPointF(x + b, y + b);
        band[2] = QPointF(x + b, y + h - b);
        band[3] = QPointF(x, y + h);
        drawBand(band, box.leftBorder, box.leftParam);

        band[0] = QPointF(x + w - b, y + b);
        band[1] = QPointF(x + w, y);
        band[2] = QPointF(x + w, y + h);
        band[3] = QPointF(x + w - b, y + h - b);
        drawBand(band, box.rightBorder, box.rightParam);
    }
}
