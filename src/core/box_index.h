#ifndef BLL_BOX_INDEX_H
#define BLL_BOX_INDEX_H

// Where each family's boxes lie, on a uniform grid: which boxes are under the pointer, which meet
// a rubber band, which a frame must repaint. A box is filed under every cell its bounds reach
// (what it may draw without its pens' reach, and the rectangle it is picked by), each cell
// listing its boxes in paint order. The store operations say which boxes moved; the index catches
// up when it is next asked. A box that moved out of the cells the grid files it under is filed
// again in a small overlay until laying the grid out anew pays; the grid's stale entries only
// name candidates that their checks turn down. Private to the library.

#include "box_family.h"
#include "rect_grid.h"

#include <QtCore/QHash>

class BoxIndex
{
public:
    // A box was added, or added again, perhaps elsewhere.
    void moved(BoxFamily family, int index)
    {
        FamilyIndex &f = m_families[family];
        if (f.built) {
            f.moved.append(index);
            if (f.moved.size() > 4096)
                manyMoved(f);
        }
    }
    void cleared(BoxFamily family);

    // Appends to `out` the boxes of the family whose bounds may meet `area` (item coordinates),
    // once each, in paint order.
    void boxesMeeting(const Bll_Painted_Item &item, BoxFamily family, const QRectF &area,
                      QVector<int> &out);

    // Whether every box of the family lies within `area` (item coordinates), so that a query
    // there would find them all; false where that cannot be told cheaply.
    bool holdsAll(const Bll_Painted_Item &item, BoxFamily family, const QRectF &area);

    // The topmost box of the family whose bounds may hold `point` and for which hit(index)
    // holds; -1 when there is none.
    template<typename Hit>
    int topmostAt(const Bll_Painted_Item &item, BoxFamily family, const QPointF &point, Hit hit)
    {
        const FamilyIndex &f = updated(item, family);
        int found = -1;
        // Each list is in paint order: only boxes above the one found so far count.
        const auto tryTop = [&](const RectGrid::Run &run) {
            for (const int *it = run.end; it != run.begin && it[-1] > found;) {
                if (hit(*--it)) {
                    found = *it;
                    return;
                }
            }
        };
        const int cell = f.grid.cellOf(point);
        if (cell >= 0)
            tryTop(f.grid.cell(cell));
        // Boxes too large or too far for the grid are tried too.
        tryTop(f.grid.everywhere());
        if (cell >= 0 && !f.overlayCells.isEmpty()) {
            const auto it = f.overlayCells.constFind(cell);
            if (it != f.overlayCells.cend())
                tryTop(RectGrid::Run::of(*it));
        }
        tryTop(RectGrid::Run::of(f.overlayEverywhere));
        return found;
    }

private:
    struct FamilyIndex
    {
        RectGrid grid; // where the boxes lay when it was laid out
        // Boxes filed again since, by cell of the grid, in paint order.
        QHash<int, QVector<int>> overlayCells;
        QVector<int> overlayEverywhere;
        int overlaid = 0; // boxes filed in the overlay
        int strays = 0; // of them, boxes beyond the area the grid was laid out for
        QVector<int> moved; // boxes the index has not caught up with
        bool built = false;
    };

    static void manyMoved(FamilyIndex &f);
    static void catchUp(FamilyIndex &f, int index, const QRectF &bounds);
    const FamilyIndex &updated(const Bll_Painted_Item &item, BoxFamily family);

    FamilyIndex m_families[BoxFamilyCount];
};

#endif // BLL_BOX_INDEX_H
