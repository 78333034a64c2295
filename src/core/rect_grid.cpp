#include "rect_grid.h"

#include <cmath>

namespace {

template<typename T>
void sizeExactly(QVector<T> &vector, int size)
{
    // Resizing alone would leave room to grow: up to as much again, a million boxes over.
    vector.reserve(size);
    vector.resize(size);
}

} // namespace

RectGrid::RectGrid(const QVector<QRectF> &rects) : m_rects(rects)
{
    layOut(rects);
}

RectGrid RectGrid::filing(const QVector<QRectF> &bounds)
{
    RectGrid grid;
    grid.layOut(bounds);
    return grid;
}

void RectGrid::layOut(const QVector<QRectF> &rects)
{
    m_count = rects.size();
    double widths = 0, heights = 0;
    int onGrid = 0;
    // Rectangles of negative width or height meet others as their normalized ones do.
    QVector<QRectF> normalized(rects.size());
    std::transform(rects.cbegin(), rects.cend(), normalized.begin(),
                   [](const QRectF &rect) { return rect.normalized(); });
    for (const QRectF &rect : qAsConst(normalized)) {
        if (!rect.isEmpty() && withinReach(rect)) {
            m_area |= rect;
            widths += rect.width();
            heights += rect.height();
            ++onGrid;
        }
    }
    if (onGrid > 0) {
        // Cells about a rectangle's size, so that the rectangles of a point's cell mostly hold
        // it; never more cells than rectangles.
        double width = qMax(widths / onGrid, m_area.width() / maxCellsAcross);
        double height = qMax(heights / onGrid, m_area.height() / maxCellsAcross);
        const double cells = (m_area.width() / width) * (m_area.height() / height);
        if (cells > onGrid) {
            width *= std::sqrt(cells / onGrid);
            height *= std::sqrt(cells / onGrid);
        }
        m_columns = qBound(1, int(std::ceil(m_area.width() / width)), maxCellsAcross);
        m_rows = qBound(1, int(std::ceil(m_area.height() / height)), maxCellsAcross);
        m_left = m_area.left();
        m_top = m_area.top();
        m_perWidth = 1 / qMax(m_area.width() / m_columns, 1e-9);
        m_perHeight = 1 / qMax(m_area.height() / m_rows, 1e-9);
    }

    // Counted first, then filed: every list in one array, nothing spare.
    const int cells = m_columns * m_rows;
    sizeExactly(m_offsets, cells + 1);
    std::fill(m_offsets.begin(), m_offsets.end(), 0);
    int everywhere = 0;
    const auto forEachCell = [this](const Span &span, auto f) {
        for (int row = span.top; row <= span.bottom; ++row)
            for (int column = span.left; column <= span.right; ++column)
                f(cellNumber(column, row));
    };
    bool listedEverywhere;
    for (const QRectF &rect : qAsConst(normalized)) {
        const Span span = placeOf(rect, &listedEverywhere);
        everywhere += listedEverywhere;
        forEachCell(span, [this](int cell) { ++m_offsets[cell + 1]; });
    }
    for (int cell = 0; cell < cells; ++cell)
        m_offsets[cell + 1] += m_offsets[cell];
    sizeExactly(m_entries, m_offsets[cells]);
    m_everywhere.reserve(everywhere);
    QVector<int> next = m_offsets;
    for (int i = 0; i < rects.size(); ++i) {
        const Span span = placeOf(normalized[i], &listedEverywhere);
        if (listedEverywhere)
            m_everywhere.append(i);
        forEachCell(span, [&](int cell) { m_entries[next[cell]++] = i; });
    }
}

int RectGrid::cellOf(const QPointF &point) const
{
    if (!hasCells() || !withinReach(QRectF(point, point)))
        return -1;
    return cellNumber(column(point.x()), row(point.y()));
}

RectGrid::Span RectGrid::cellsMeeting(const QRectF &area) const
{
    if (!hasCells() || qIsNaN(area.left() + area.right() + area.top() + area.bottom()))
        return {};
    using PaintLimits::clampedEdge;
    return {column(clampedEdge(area.left())), column(clampedEdge(area.right())),
            row(clampedEdge(area.top())), row(clampedEdge(area.bottom()))};
}

bool RectGrid::meets(const QRectF &rect) const
{
    const auto anyIn = [&](const Run &run) {
        for (const int *i = run.begin; i != run.end; ++i) {
            if (m_rects[*i].intersects(rect))
                return true;
        }
        return false;
    };
    if (!withinReach(rect)) {
        return std::any_of(m_rects.cbegin(), m_rects.cend(),
                           [&](const QRectF &own) { return own.intersects(rect); });
    }
    if (anyIn(everywhere()))
        return true;
    const QRectF normalized = rect.normalized();
    const Span span = cellsMeeting(normalized);
    for (int row = span.top; row <= span.bottom; ++row)
        for (int column = span.left; column <= span.right; ++column)
            if (anyIn(cell(cellNumber(column, row))))
                return true;
    return false;
}
