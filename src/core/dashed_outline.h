#ifndef BLL_DASHED_OUTLINE_H
#define BLL_DASHED_OUTLINE_H

// Drawing of shapes given in doubles, which may lie anywhere. Qt's dash stroker
// walks an outline dash by dash; once a dash is shorter than the spacing of
// doubles at the shape's coordinates, it stops advancing and never returns (seen
// from 1e18 on). So a dashed pen strokes such a shape solid, as Qt itself does
// when a dash pattern repeats too often. Private to the library.

class QPainter;
class QPainterPath;
class QPolygonF;

namespace DashedOutline {

// QPainter::drawPolygon with Qt::OddEvenFill, unless a point is not a number; the pen is left
// as it was found.
void drawPolygon(QPainter *painter, const QPolygonF &polygon);

// QPainter::drawPath; the pen is left as it was found.
void drawPath(QPainter *painter, const QPainterPath &path);

} // namespace DashedOutline

#endif // BLL_DASHED_OUTLINE_H
