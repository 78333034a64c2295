#include "dashed_outline.h"

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QPolygonF>

namespace DashedOutline {

namespace {

// Far past any screen, yet where doubles still resolve a thousandth of a pixel.
constexpr double dashLimit = 2147483648.0;

bool withinDashLimit(const QRectF &bounds)
{
    // Written so that NaN fails.
    return qAbs(bounds.left()) < dashLimit && qAbs(bounds.right()) < dashLimit
            && qAbs(bounds.top()) < dashLimit && qAbs(bounds.bottom()) < dashLimit;
}

bool withinDashLimit(const QPolygonF &polygon)
{
    for (const QPointF &point : polygon) {
        if (!(qAbs(point.x()) < dashLimit && qAbs(point.y()) < dashLimit))
            return false;
    }
    return true;
}

bool isDashed(const QPen &pen)
{
    return pen.style() != Qt::SolidLine && pen.style() != Qt::NoPen;
}

template<typename Draw>
void drawSolidInstead(QPainter *painter, Draw draw)
{
    const QPen pen = painter->pen();
    QPen solid = pen;
    solid.setStyle(Qt::SolidLine);
    painter->setPen(solid);
    draw();
    painter->setPen(pen);
}

} // namespace

void drawPolygon(QPainter *painter, const QPolygonF &polygon)
{
    // Qt's raster engine takes a point that is not a number for the origin, and fills from
    // there past any clip: such a polygon has no shape, and nothing is drawn.
    for (const QPointF &point : polygon) {
        if (qIsNaN(point.x()) || qIsNaN(point.y()))
            return;
    }
    const auto draw = [&] { painter->drawPolygon(polygon, Qt::OddEvenFill); };
    if (isDashed(painter->pen()) && !withinDashLimit(polygon))
        drawSolidInstead(painter, draw);
    else
        draw();
}

void drawPath(QPainter *painter, const QPainterPath &path)
{
    const auto draw = [&] { painter->drawPath(path); };
    if (isDashed(painter->pen()) && !withinDashLimit(path.controlPointRect()))
        drawSolidInstead(painter, draw);
    else
        draw();
}

} // namespace DashedOutline
