#include "bll_painted_item.h"

#include "../core/dashed_outline.h"
#include "../core/int_geometry.h"
#include "../core/style_keys.h"
#include "../core/style_lookup.h"
#include "shape_records.h"

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

namespace {

QColor colorOrBlack(const QVariant &value)
{
    const QColor color = Bll_Painted_Item::getTransformColor(value);
    return color.isValid() ? color : QColor(Qt::black);
}

// A pen built from QPen() with the map's "style", "width" and "color".
QPen familyShapePen(const QVariantMap &family)
{
    QPen pen;
    pen.setStyle(StyleLookup::penStyle(family));
    pen.setWidth(StyleLookup::penWidth(family));
    pen.setColor(colorOrBlack(family.value(StyleKey::color)));
    return pen;
}

// A solid brush in a valid "brushColor", Qt::NoBrush otherwise.
QBrush shapeBrush(const QVariantMap &style)
{
    const QColor color = StyleLookup::optionalColor(style, StyleKey::brushColor);
    return color.isValid() ? QBrush(color, Qt::SolidPattern) : QBrush(Qt::NoBrush);
}

// The pen of a record whose own style supplies "style", "width" or "color";
// each key it lacks comes from the family pen. Returns false when it supplies none.
bool overridePen(const QVariantMap &own, const QPen &familyPen, QPen *pen)
{
    const bool hasStyle = own.contains(StyleKey::style);
    const bool hasWidth = own.contains(StyleKey::width);
    const bool hasColor = own.contains(StyleKey::color);
    if (!hasStyle && !hasWidth && !hasColor)
        return false;
    *pen = QPen();
    pen->setStyle(hasStyle ? StyleLookup::penStyle(own) : familyPen.style());
    pen->setWidth(hasWidth ? StyleLookup::penWidth(own) : familyPen.width());
    // A colour of its own that is not valid gives black, never the family colour.
    pen->setColor(hasColor ? colorOrBlack(own.value(StyleKey::color)) : familyPen.color());
    return true;
}

using DrawRecord = void (*)(QPainter *, const QRect &);

// paintRect and paintEllipse differ only in their list, family map and draw call.
void paintRectLike(QPainter *painter, const QVector<RectRecord> &records, const QVariantMap &family,
                   DrawRecord drawRecord)
{
    const QPen familyPen = familyShapePen(family);
    const QBrush familyBrush = shapeBrush(family);
    painter->setBrush(familyBrush);
    painter->setPen(familyPen);

    QPen ownPen;
    for (const RectRecord &record : records) {
        QRect rect;
        const bool drawable =
                IntGeometry::rect(record.x, record.y, record.width, record.height, &rect);
        if (record.vStyle.isEmpty()) {
            if (drawable)
                drawRecord(painter, rect);
            continue;
        }
        const bool ownBrush = record.vStyle.contains(StyleKey::brushColor);
        const bool ownPenSupplied = overridePen(record.vStyle, familyPen, &ownPen);
        if (!ownBrush && !ownPenSupplied) {
            if (drawable)
                drawRecord(painter, rect);
            continue;
        }
        if (ownBrush)
            painter->setBrush(shapeBrush(record.vStyle));
        painter->setPen(ownPenSupplied ? ownPen : familyPen);
        if (drawable)
            drawRecord(painter, rect);
        painter->setPen(familyPen);
        painter->setBrush(familyBrush);
    }
}

} // namespace

void Bll_Painted_Item::paintRect(QPainter *painter)
{
    paintRectLike(painter, m_rectVector, m_rectStyle,
                  [](QPainter *p, const QRect &rect) { p->drawRect(rect); });
}

void Bll_Painted_Item::paintEllipse(QPainter *painter)
{
    paintRectLike(painter, m_ellipseVector, m_ellipseStyle,
                  [](QPainter *p, const QRect &rect) { p->drawEllipse(rect); });
}

void Bll_Painted_Item::paintLine(QPainter *painter)
{
    const QPen familyPen = familyShapePen(m_lineStyle);
    painter->setPen(familyPen);

    QPainterPath path;
    QPen ownPen;
    for (int i = 0; i < m_lineVector.size(); ++i) {
        const LineRecord &record = m_lineVector.at(i);
        QLine line;
        const bool drawable = IntGeometry::line(record.x1, record.y1, record.x2, record.y2, &line);
        // "brushColor" of a line's own style is not read: lines are never filled one by one.
        const bool ownPenSupplied = overridePen(record.vStyle, familyPen, &ownPen);
        if (ownPenSupplied)
            painter->setPen(ownPen);
        if (drawable)
            painter->drawLines(&line, 1);
        if (ownPenSupplied)
            painter->setPen(familyPen);

        // One open polyline: the first start point, then every end point.
        if (i == 0)
            path.moveTo(record.x1, record.y1);
        path.lineTo(record.x2, record.y2);
    }

    const QColor fill = StyleLookup::optionalColor(m_lineStyle, StyleKey::brushColor);
    if (fill.isValid()) {
        painter->setBrush(QBrush(fill, Qt::SolidPattern));
        DashedOutline::drawPath(painter, path);
    }
}
