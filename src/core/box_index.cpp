#include "box_index.h"

#include <algorithm>

namespace {

void append(QVector<int> &out, const RectGrid::Run &run)
{
    const int at = out.size();
    out.resize(at + int(run.end - run.begin));
    std::copy(run.begin, run.end, out.begin() + at);
}

void insertSorted(QVector<int> &list, int index)
{
    if (list.isEmpty() || list.last() < index)
        list.append(index);
    else if (!std::binary_search(list.cbegin(), list.cend(), index))
        list.insert(std::lower_bound(list.begin(), list.end(), index), index);
}

} // namespace

void BoxIndex::manyMoved(FamilyIndex &f)
{
    // Moves that pile up while nobody asks are cheaper to catch up with all at once.
    if (f.moved.size() > f.grid.size() / 4) {
        f.built = false;
        f.moved.clear();
    }
}

void BoxIndex::cleared(BoxFamily family)
{
    m_families[family] = FamilyIndex();
}

void BoxIndex::catchUp(FamilyIndex &f, int index, const QRectF &bounds)
{
    const RectGrid &grid = f.grid;
    const bool filed = index < grid.size();
    bool everywhere;
    const RectGrid::Span span = grid.placeOf(bounds, &everywhere);
    if (everywhere) {
        if (!(filed && grid.everywhere().contains(index))) {
            const int was = f.overlayEverywhere.size();
            insertSorted(f.overlayEverywhere, index);
            f.overlaid += f.overlayEverywhere.size() - was;
        }
        return;
    }
    if (span.isEmpty())
        return; // what draws nothing is never asked for; stale entries are turned down
    // Found in the corner cells, a box is filed under every cell between: a box added again
    // where it was, or moved a little, mostly stays where the grid or the overlay has it.
    const int first = grid.cellNumber(span.left, span.top);
    const int last = grid.cellNumber(span.right, span.bottom);
    if (filed
        && ((grid.cell(first).contains(index) && grid.cell(last).contains(index))
            || grid.everywhere().contains(index)))
        return;
    const auto inOverlay = [&](int cell) {
        const auto it = f.overlayCells.constFind(cell);
        return it != f.overlayCells.cend() && RectGrid::Run::of(*it).contains(index);
    };
    if (!f.overlayCells.isEmpty() && inOverlay(first) && inOverlay(last))
        return;
    for (int row = span.top; row <= span.bottom; ++row)
        for (int column = span.left; column <= span.right; ++column)
            insertSorted(f.overlayCells[grid.cellNumber(column, row)], index);
    ++f.overlaid;
    if (!grid.area().contains(bounds))
        ++f.strays;
}

const BoxIndex::FamilyIndex &BoxIndex::updated(const Bll_Painted_Item &item, BoxFamily family)
{
    FamilyIndex &f = m_families[family];
    const BoxFamilyOps &ops = *boxFamilies[family];
    const int count = ops.count(item);
    // Many moves call for a grid laid out anew.
    if (f.built && f.moved.size() > count / 4 + 16)
        f.built = false;
    for (int k = 0; f.built && k < f.moved.size(); ++k) {
        catchUp(f, f.moved[k], ops.bounds(item, f.moved[k]));
        // So does an overlay grown large, or crowding the border cells.
        if (f.overlaid > count / 8 + 64 || f.strays > count / 16 + 16)
            f.built = false;
    }
    f.moved.clear();
    if (!f.built) {
        f = FamilyIndex();
        QVector<QRectF> bounds(count);
        for (int i = 0; i < count; ++i)
            bounds[i] = ops.bounds(item, i);
        f.grid = RectGrid::filing(bounds);
        f.built = true;
    }
    return f;
}

void BoxIndex::boxesMeeting(const Bll_Painted_Item &item, BoxFamily family, const QRectF &area,
                            QVector<int> &out)
{
    const FamilyIndex &f = updated(item, family);
    const RectGrid &grid = f.grid;
    const int start = out.size();
    const RectGrid::Span span = grid.cellsMeeting(area);
    for (int row = span.top; row <= span.bottom; ++row) {
        for (int column = span.left; column <= span.right; ++column) {
            append(out, grid.cell(grid.cellNumber(column, row)));
            if (!f.overlayCells.isEmpty()) {
                const auto it = f.overlayCells.constFind(grid.cellNumber(column, row));
                if (it != f.overlayCells.cend())
                    out += *it;
            }
        }
    }
    append(out, grid.everywhere());
    out += f.overlayEverywhere;
    std::sort(out.begin() + start, out.end());
    out.erase(std::unique(out.begin() + start, out.end()), out.end());
}

bool BoxIndex::holdsAll(const Bll_Painted_Item &item, BoxFamily family, const QRectF &area)
{
    const FamilyIndex &f = updated(item, family);
    // What is filed in cells lies within the grid's area, strays aside; boxes filed everywhere,
    // a few large ones mostly, are looked at one by one.
    if (f.strays > 0 || !area.contains(f.grid.area()))
        return false;
    const auto within = [&](const RectGrid::Run &boxes) {
        return boxes.end - boxes.begin <= 64 && std::all_of(boxes.begin, boxes.end, [&](int i) {
                   const QRectF bounds = boxFamilies[family]->bounds(item, i);
                   return bounds.isEmpty() || area.contains(bounds);
               });
    };
    return within(f.grid.everywhere()) && within(RectGrid::Run::of(f.overlayEverywhere));
}
