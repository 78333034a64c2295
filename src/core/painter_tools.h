#ifndef BLL_PAINTER_TOOLS_H
#define BLL_PAINTER_TOOLS_H

// The pen, brush and font that the box families pass on to each other on the painter, and how
// far a pen's ink reaches. Private to the library.

#include <QtGui/QBrush>
#include <QtGui/QFont>
#include <QtGui/QPen>

class QPainter;

// The tools a family finds on the painter, or leaves there for the next.
struct PainterTools
{
    QPen pen;
    QBrush brush;
    QFont font;

    static PainterTools of(const QPainter *painter);
    void install(QPainter *painter) const;
    bool operator==(const PainterTools &other) const;
};

// How far ink may reach out of a shape outlined with pen, in the pen's units.
qreal penReach(const QPen &pen);

#endif // BLL_PAINTER_TOOLS_H
