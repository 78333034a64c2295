#include "box_family.h"

#include <QtGui/QPainter>

#include <cmath>

RectGrid::RectGrid(const QVector<QRectF> &rects) : m_rects(rects)
{
    for (const QRectF &rect : rects)
        m_bounds |= rect;
    // A few rectangles are quicker to try one by one.
    if (rects.size() <= 8 || m_bounds.isEmpty() || !withinReach(m_bounds))
        return;
    m_columns = m_rows = qBound(2, int(std::sqrt(double(rects.size()))) * 2, 64);
    m_cells.resize(m_columns * m_rows);
    for (int i = 0; i < rects.size(); ++i) {
        const QRectF &rect = rects[i];
        const int left = int((rect.left() - m_bounds.left()) / m_bounds.width() * m_columns);
        const int right = int((rect.right() - m_bounds.left()) / m_bounds.width() * m_columns);
        const int top = int((rect.top() - m_bounds.top()) / m_bounds.height() * m_rows);
        const int bottom = int((rect.bottom() - m_bounds.top()) / m_bounds.height() * m_rows);
        for (int row = qMax(top, 0); row <= qMin(bottom, m_rows - 1); ++row)
            for (int column = qMax(left, 0); column <= qMin(right, m_columns - 1); ++column)
                m_cells[row * m_columns + column].append(i);
    }
}

bool RectGrid::meets(const QRectF &rect) const
{
    if (!rect.intersects(m_bounds))
        return false;
    if (m_cells.isEmpty()) {
        for (const QRectF &own : m_rects)
            if (own.intersects(rect))
                return true;
        return false;
    }
    const QRectF part = rect & m_bounds;
    const int left = int((part.left() - m_bounds.left()) / m_bounds.width() * m_columns);
    const int right = int((part.right() - m_bounds.left()) / m_bounds.width() * m_columns);
    const int top = int((part.top() - m_bounds.top()) / m_bounds.height() * m_rows);
    const int bottom = int((part.bottom() - m_bounds.top()) / m_bounds.height() * m_rows);
    for (int row = qMax(top, 0); row <= qMin(bottom, m_rows - 1); ++row)
        for (int column = qMax(left, 0); column <= qMin(right, m_columns - 1); ++column)
            for (const int i : m_cells[row * m_columns + column])
                if (m_rects[i].intersects(rect))
                    return true;
    return false;
}
