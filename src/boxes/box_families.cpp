#include "box_canvas.h"

// Each family defines its operations beside its painter.
extern const BoxFamilyOps parameterBoxOps;
extern const BoxFamilyOps dviBoxOps;
extern const BoxFamilyOps simpleBoxOps;

const BoxFamilyOps *const boxFamilies[BoxFamilyCount] = {&parameterBoxOps, &dviBoxOps,
                                                         &simpleBoxOps};

void HitCanvas::drawPolygon(const QPolygonF &polygon)
{
    const int shape = m_shapes++;
    bool onEdge = false;
    for (int i = 0; i < polygon.size(); ++i) {
        const QPointF a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        if (qIsNaN(a.x()) || qIsNaN(a.y()))
            return;
        // On the segment from a to b: in its bounds, and on its line.
        const QPointF d = b - a, p = m_point - a;
        const double cross = d.x() * p.y() - d.y() * p.x();
        const double scale = qMax(qAbs(d.x()) + qAbs(d.y()), 1.0);
        onEdge = onEdge
                || (qMin(a.x(), b.x()) <= m_point.x() && m_point.x() <= qMax(a.x(), b.x())
                    && qMin(a.y(), b.y()) <= m_point.y() && m_point.y() <= qMax(a.y(), b.y())
                    && qAbs(cross) <= 1e-9 * scale * scale);
    }
    if (onEdge || polygon.containsPoint(m_point, Qt::OddEvenFill))
        m_hit = shape;
}
