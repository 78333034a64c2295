#include "bll_painted_item.h"

#include "../core/int_geometry.h"
#include "../core/style_keys.h"
#include "../core/style_lookup.h"
#include "box_label.h"
#include "box_table.h"
#include "simple_box_record.h"

#include <QtGui/QPainter>

void Bll_Painted_Item::paintBoxSimple(QPainter *painter)
{
    using namespace StyleLookup;

    const QPen painterPen = painter->pen();
    const QBrush painterBrush = painter->brush();
    const QPen outlinePen = familyPen(painterPen, m_boxSimpleStyle);
    // The label keeps the style and width of the pen found on the painter.
    const QPen labelPen =
            penWithColor(painterPen, optionalColor(m_boxSimpleStyle, StyleKey::textColor));
    const QBrush fillBrush =
            solidBrushOr(painterBrush, optionalColor(m_boxSimpleStyle, StyleKey::brushColor));
    const QBrush hoverBrush =
            solidBrushOr(painterBrush, optionalColor(m_boxSimpleStyle, StyleKey::isHoverColor));
    const QBrush selectionBrush =
            solidBrushOr(painterBrush, optionalColor(m_boxSimpleStyle, StyleKey::isSelectedColor));

    bool outlineInstalled = false;
    // Not const: painting keeps each label's layout in its record.
    for (auto &entry : m_boxSimpleHash) {
        const BoxSimpleRecord &box = entry.record;
        const double w = box.width, h = box.height;
        QRect outline;
        if (!(w > 1.0 && h > 1.0) || !IntGeometry::rect(box.x, box.y, w, h, &outline))
            continue;

        // Installed before the first box, so no outline depends on the box's place in the order.
        if (!outlineInstalled) {
            painter->setPen(outlinePen);
            outlineInstalled = true;
        }
        // Selection wins over hover.
        painter->setBrush(box.isSelected ? selectionBrush : box.isHover ? hoverBrush : fillBrush);
        painter->drawRect(outline);

        if (w > 10.0 && h > 10.0) {
            if (const int pixelSize = BoxLabel::pixelSize(w, h)) {
                BoxLabel::setFont(painter, pixelSize);
                painter->setPen(labelPen);
                BoxLabel::draw(painter, QRectF(box.x, box.y, w, h), entry.boxId,
                               entry.record.label);
                painter->setPen(outlinePen);
            }
        }
    }
}
