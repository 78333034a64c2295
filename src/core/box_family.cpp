#include "box_family.h"

#include <QtGui/QPainter>

#include <cmath>

PainterTools PainterTools::of(const QPainter *painter)
{
    return {painter->pen(), painter->brush(), painter->font()};
}

void PainterTools::install(QPainter *painter) const
{
    painter->setPen(pen);
    painter->setBrush(brush);
    painter->setFont(font);
}

bool PainterTools::operator==(const PainterTools &other) const
{
    return pen == other.pen && brush == other.brush && font == other.font;
}

qreal penReach(const QPen &pen)
{
    if (pen.style() == Qt::NoPen)
        return 0;
    // Half the width either side of the outline, and a miter join's point beyond that.
    const qreal width = qMax<qreal>(pen.widthF(), 1);
    return width * qMax<qreal>(pen.miterLimit(), 1) + 1;
}
