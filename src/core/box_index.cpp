#include "box_index.h"

#include <algorithm>
#include <cmath>

namespace {

// A box spanning more cells than this is tried for every question instead: a few huge boxes
// would otherwise fill the grid.
constexpr int maxCellsPerBox = 256;
constexpr int maxCellsAcross = 4096;

bool onGrid(const QRectF &bounds)
{
    return !bounds.isEmpty() && withinReach(bounds);
}

void insertSorted(QVector<int> &list, int index)
{
    if (list.isEmpty() || list.last() < index)
        list.append(index);
    else
        list.insert(std::lower_bound(list.begin(), list.end(), index), index);
}

void removeSorted(QVector<int> &list, int index)
{
    const auto it = std::lower_bound(list.begin(), list.end(), index);
    if (it != list.end() && *it == index)
        list.erase(it);
}

} // namespace

void BoxIndex::Grid::build(const QVector<QRectF> &bounds)
{
    m_cells.clear();
    m_everywhere.clear();
    m_strays = 0;
    m_spans = QVector<Span>(bounds.size());
    m_area = QRectF();
    double widths = 0, heights = 0;
    int count = 0;
    for (const QRectF &rect : bounds) {
        if (onGrid(rect)) {
            m_area |= rect;
            widths += rect.width();
            heights += rect.height();
            ++count;
        }
    }
    if (count > 0) {
        // Cells about a box's size, so that the boxes of a point's cell mostly hold it; never
        // more cells than boxes.
        double width = qMax(widths / count, m_area.width() / maxCellsAcross);
        double height = qMax(heights / count, m_area.height() / maxCellsAcross);
        const double cells = (m_area.width() / width) * (m_area.height() / height);
        if (cells > count) {
            width *= std::sqrt(cells / count);
            height *= std::sqrt(cells / count);
        }
        m_columns = qBound(1, int(std::ceil(m_area.width() / width)), maxCellsAcross);
        m_rows = qBound(1, int(std::ceil(m_area.height() / height)), maxCellsAcross);
        m_cellWidth = qMax(m_area.width() / m_columns, 1e-9);
        m_cellHeight = qMax(m_area.height() / m_rows, 1e-9);
        m_cells.resize(m_columns * m_rows);
    }
    for (int i = 0; i < bounds.size(); ++i)
        file(i, placeOf(bounds[i]));
}

BoxIndex::Grid::Span BoxIndex::Grid::spanOf(const QRectF &rect) const
{
    // Boxes that moved beyond the area since it was laid out fall in its border cells.
    const auto column = [this](double x) {
        return quint16(qBound(0.0, std::floor((x - m_area.left()) / m_cellWidth), m_columns - 1.0));
    };
    const auto row = [this](double y) {
        return quint16(qBound(0.0, std::floor((y - m_area.top()) / m_cellHeight), m_rows - 1.0));
    };
    return {column(rect.left()), column(rect.right()), row(rect.top()), row(rect.bottom())};
}

BoxIndex::Grid::Span BoxIndex::Grid::placeOf(const QRectF &bounds) const
{
    Span span;
    if (bounds.isEmpty())
        return span;
    if (onGrid(bounds) && !m_cells.isEmpty()) {
        const Span cells = spanOf(bounds);
        if ((cells.right - cells.left + 1) * (cells.bottom - cells.top + 1) <= maxCellsPerBox)
            return cells;
    }
    span.left = everywhereMark;
    return span;
}

void BoxIndex::Grid::file(int index, const Span &span)
{
    m_spans[index] = span;
    if (span.left == everywhereMark) {
        insertSorted(m_everywhere, index);
        return;
    }
    for (int row = span.top; row <= span.bottom; ++row)
        for (int column = span.left; column <= span.right; ++column)
            insertSorted(m_cells[row * m_columns + column], index);
}

void BoxIndex::Grid::unfile(int index)
{
    const Span span = m_spans[index];
    if (span.left == everywhereMark) {
        removeSorted(m_everywhere, index);
        return;
    }
    for (int row = span.top; row <= span.bottom; ++row)
        for (int column = span.left; column <= span.right; ++column)
            removeSorted(m_cells[row * m_columns + column], index);
}

void BoxIndex::Grid::move(int index, const QRectF &bounds)
{
    if (index >= m_spans.size())
        m_spans.resize(index + 1); // filed nowhere yet
    const Span place = placeOf(bounds);
    const Span &was = m_spans[index];
    // A box added again where it was, or moved a little, mostly stays in its cells.
    if (place.left != was.left || place.right != was.right || place.top != was.top
        || place.bottom != was.bottom) {
        unfile(index);
        file(index, place);
    }
    if (onGrid(bounds) && !m_area.contains(bounds))
        ++m_strays;
}

const QVector<int> *BoxIndex::Grid::cellAt(const QPointF &point) const
{
    if (m_cells.isEmpty() || !withinReach(QRectF(point, point)))
        return nullptr;
    const Span span = spanOf(QRectF(point, point));
    return &m_cells[span.top * m_columns + span.left];
}

void BoxIndex::Grid::collect(const QRectF &area, QVector<int> &out) const
{
    const int start = out.size();
    if (!m_cells.isEmpty() && !qIsNaN(area.left() + area.right() + area.top() + area.bottom())) {
        // Far or infinite edges fall on the border cells, which is where such boxes are filed.
        using PaintLimits::clampedEdge;
        const QRectF clamped(QPointF(clampedEdge(area.left()), clampedEdge(area.top())),
                             QPointF(clampedEdge(area.right()), clampedEdge(area.bottom())));
        const Span span = spanOf(clamped);
        for (int row = span.top; row <= span.bottom; ++row)
            for (int column = span.left; column <= span.right; ++column)
                out += m_cells[row * m_columns + column];
    }
    out += m_everywhere;
    std::sort(out.begin() + start, out.end());
    out.erase(std::unique(out.begin() + start, out.end()), out.end());
}

void BoxIndex::moved(BoxFamily family, int index)
{
    FamilyIndex &f = m_families[family];
    if (!f.built)
        return;
    f.moved.append(index);
    // Moves that pile up while nobody asks are cheaper to catch up with all at once.
    if (f.moved.size() > 4096 && f.moved.size() > f.grid.size() / 4) {
        f.built = false;
        f.moved.clear();
    }
}

void BoxIndex::cleared(BoxFamily family)
{
    FamilyIndex &f = m_families[family];
    f.built = false;
    f.moved.clear();
    f.grid = Grid();
}

const BoxIndex::Grid &BoxIndex::updated(const Bll_Painted_Item &item, BoxFamily family)
{
    FamilyIndex &f = m_families[family];
    const BoxFamilyOps &ops = *boxFamilies[family];
    const int count = ops.count(item);
    // Many moves, or many boxes beyond the area, call for a grid laid out anew.
    if (f.built && (f.moved.size() > count / 4 + 16 || f.grid.strays() > count / 8 + 16))
        f.built = false;
    if (!f.built) {
        QVector<QRectF> bounds(count);
        for (int i = 0; i < count; ++i)
            bounds[i] = ops.bounds(item, i);
        f.grid.build(bounds);
        f.built = true;
    } else {
        for (const int index : qAsConst(f.moved))
            f.grid.move(index, ops.bounds(item, index));
    }
    f.moved.clear();
    return f.grid;
}

void BoxIndex::boxesMeeting(const Bll_Painted_Item &item, BoxFamily family, const QRectF &area,
                            QVector<int> &out)
{
    updated(item, family).collect(area, out);
}
