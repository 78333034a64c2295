#ifndef BLL_BOX_INDEX_H
#define BLL_BOX_INDEX_H

// Where each family's boxes lie, on a uniform grid: which boxes are under the pointer, which meet
// a rubber band, which a frame must repaint. A box is filed under every cell its bounds reach
// (what it may draw without its pens' reach, and the rectangle it is picked by), each cell
// listing its boxes in paint order. The store operations say which boxes moved; the grid catches
// up when it is next asked. Private to the library.

#include "box_family.h"

class BoxIndex
{
public:
    // A box was added, or added again, perhaps elsewhere.
    void moved(BoxFamily family, int index);
    void cleared(BoxFamily family);

    // Appends to `out` the boxes of the family whose bounds may meet `area` (item coordinates),
    // once each, in paint order.
    void boxesMeeting(const Bll_Painted_Item &item, BoxFamily family, const QRectF &area,
                      QVector<int> &out);

    // The topmost box of the family whose bounds may hold `point` and for which hit(index)
    // holds; -1 when there is none.
    template<typename Hit>
    int topmostAt(const Bll_Painted_Item &item, BoxFamily family, const QPointF &point, Hit hit)
    {
        const Grid &grid = updated(item, family);
        const QVector<int> *cell = grid.cellAt(point);
        int found = -1;
        for (auto it = cell ? cell->crbegin() : QVector<int>::const_reverse_iterator();
             cell && it != cell->crend(); ++it) {
            if (hit(*it)) {
                found = *it;
                break;
            }
        }
        // Boxes too large or too far for the grid are tried too, those above found only.
        for (auto it = grid.everywhere().crbegin(); it != grid.everywhere().crend() && *it > found;
             ++it) {
            if (hit(*it))
                return *it;
        }
        return found;
    }

private:
    class Grid
    {
    public:
        void build(const QVector<QRectF> &bounds);
        void move(int index, const QRectF &bounds);
        int size() const { return m_spans.size(); }
        // Boxes that moved beyond the area the grid was laid out for.
        int strays() const { return m_strays; }
        const QVector<int> *cellAt(const QPointF &point) const;
        const QVector<int> &everywhere() const { return m_everywhere; }
        void collect(const QRectF &area, QVector<int> &out) const;

    private:
        // The cells a box is filed under: columns left to right, rows top to bottom. None for a
        // box that draws nothing; the list of everywhere for one too large or too far.
        struct Span
        {
            quint16 left = 1, right = 0, top = 1, bottom = 0;
        };
        static constexpr quint16 everywhereMark = 0xffff;
        Span spanOf(const QRectF &rect) const;
        // The cells a box with these bounds belongs in.
        Span placeOf(const QRectF &bounds) const;
        void file(int index, const Span &span);
        void unfile(int index);

        QRectF m_area;
        double m_cellWidth = 1, m_cellHeight = 1;
        int m_columns = 0, m_rows = 0;
        QVector<QVector<int>> m_cells; // row by row
        QVector<Span> m_spans; // per box
        QVector<int> m_everywhere; // in paint order
        int m_strays = 0;
    };

    struct FamilyIndex
    {
        Grid grid;
        QVector<int> moved; // boxes the grid has not caught up with
        bool built = false;
    };

    const Grid &updated(const Bll_Painted_Item &item, BoxFamily family);

    FamilyIndex m_families[BoxFamilyCount];
};

#endif // BLL_BOX_INDEX_H
