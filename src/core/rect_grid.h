#ifndef BLL_RECT_GRID_H
#define BLL_RECT_GRID_H

// Rectangles filed on a uniform grid: which of them may meet a point or another rectangle. Each
// cell lists the rectangles that reach it in ascending order, all cells in one array with an
// offset per cell, so that a million boxes take a few bytes each. A rectangle that reaches too
// many cells, or lies beyond reach, is listed everywhere instead; an empty one nowhere. Serves
// the index of where boxes lie and the damage of a frame. Private to the library.

#include "paint_limits.h"

#include <QtCore/QRectF>
#include <QtCore/QVector>

#include <algorithm>

class RectGrid
{
public:
    // Rectangle numbers in ascending order.
    struct Run
    {
        static Run of(const QVector<int> &list)
        {
            return {list.constData(), list.constData() + list.size()};
        }
        const int *begin = nullptr, *end = nullptr;
        bool contains(int number) const
        {
            // Most runs are a few long: a scan, halving only the long ones.
            const int *from = end - begin > 16 ? std::lower_bound(begin, end, number) : begin;
            while (from != end && *from < number)
                ++from;
            return from != end && *from == number;
        }
    };
    // Columns left to right, rows top to bottom, each end included.
    struct Span
    {
        int left = 0, right = -1, top = 0, bottom = -1;
        bool isEmpty() const { return right < left; }
    };

    RectGrid() = default;
    // Keeps the rectangles, to tell exactly whether another meets them.
    explicit RectGrid(const QVector<QRectF> &rects);
    // Files rectangle i at bounds[i] without keeping them: their owner checks the candidates.
    static RectGrid filing(const QVector<QRectF> &bounds);

    int size() const { return m_count; }
    // Where the cells were laid out: what the rectangles filed covered.
    const QRectF &area() const { return m_area; }
    bool hasCells() const { return m_columns > 0; }

    // Where a normalized rectangle is filed: under the cells of its span (beyond the area, the
    // border cells), everywhere (an empty span, `everywhere` set) or, empty, nowhere.
    Span placeOf(const QRectF &rect, bool *everywhere) const
    {
        *everywhere = false;
        if (rect.isEmpty())
            return {};
        const Span span = hasCells() && withinReach(rect) ? spanOf(rect) : Span();
        *everywhere = span.isEmpty()
                || (span.right - span.left + 1) * (span.bottom - span.top + 1) > maxCellsPerRect;
        return *everywhere ? Span() : span;
    }
    Span spanOf(const QRectF &rect) const
    {
        return {column(rect.left()), column(rect.right()), row(rect.top()), row(rect.bottom())};
    }
    int cellOf(const QPointF &point) const; // -1 without cells or beyond reach
    int cellNumber(int column, int row) const { return row * m_columns + column; }
    // The cells an area reaches, its infinite or far edges on the border cells; empty for NaN.
    Span cellsMeeting(const QRectF &area) const;

    Run cell(int number) const
    {
        const int *entries = m_entries.constData();
        return {entries + m_offsets[number], entries + m_offsets[number + 1]};
    }
    Run everywhere() const { return Run::of(m_everywhere); }

    // Whether `rect` meets (overlaps with some area) one of the kept rectangles.
    bool meets(const QRectF &rect) const;

    static constexpr int maxCellsPerRect = 256;
    static constexpr int maxCellsAcross = 4096;

private:
    void layOut(const QVector<QRectF> &rects);
    int column(double x) const
    {
        // Truncation floors what is not negative; NaN and what lies left of the area go left.
        const double at = (x - m_left) * m_perWidth;
        return !(at >= 0) ? 0 : at >= m_columns ? m_columns - 1 : int(at);
    }
    int row(double y) const
    {
        const double at = (y - m_top) * m_perHeight;
        return !(at >= 0) ? 0 : at >= m_rows ? m_rows - 1 : int(at);
    }

    QVector<QRectF> m_rects; // kept ones only
    int m_count = 0;
    QRectF m_area;
    double m_left = 0, m_top = 0, m_perWidth = 1, m_perHeight = 1; // cells per unit
    int m_columns = 0, m_rows = 0;
    QVector<int> m_offsets; // where each cell's list starts in m_entries, one more at the end
    QVector<int> m_entries;
    QVector<int> m_everywhere;
};

#endif // BLL_RECT_GRID_H
