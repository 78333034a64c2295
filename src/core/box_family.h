#ifndef BLL_BOX_FAMILY_H
#define BLL_BOX_FAMILY_H

// How the item's painting and its kept frames reach the three box families: one table of
// operations, in paint order, that each family fills in beside its store (src/boxes). Private to
// the library.

#include "box_marks.h"
#include "label_glyphs.h"
#include "paint_limits.h"
#include "painter_tools.h"
#include "rect_grid.h"

#include <QtCore/QRectF>
#include <QtCore/QVector>

#include <algorithm>
#include <iterator>

class Bll_Painted_Item;
class QPainter;

// The three box families, in the order paint() paints them.
enum BoxFamily { ParameterBoxes, DviBoxes, SimpleBoxes, BoxFamilyCount };

// The boxes of a family that a pass paints: every one, or the listed places in the table, the
// latter leaving out the parts that do not reach the given area (in item coordinates).
class BoxSelection
{
public:
    static BoxSelection all(int count) { return BoxSelection(nullptr, count, nullptr); }
    static BoxSelection only(const QVector<int> &indices, const RectGrid &visible)
    {
        return BoxSelection(&indices, 0, &visible);
    }

    int size() const { return m_only ? m_only->size() : m_count; }
    int operator[](int i) const { return m_only ? m_only->at(i) : i; }

    // Whether parts are left out at all: a full pass never asks where they draw.
    bool limited() const { return m_visible; }
    // Whether a part that draws within `where` is drawn. Parts beyond reach always are.
    bool shows(const QRectF &where) const
    {
        return !m_visible || !withinReach(where) || m_visible->meets(where);
    }

private:
    BoxSelection(const QVector<int> *only, int count, const RectGrid *visible)
        : m_only(only), m_count(count), m_visible(visible)
    {
    }
    const QVector<int> *m_only;
    int m_count;
    const RectGrid *m_visible;
};

// The boxes whose tools a family's full pass leaves on the painter: the last box drawn, and the
// last to install a pen, a brush and a label's font (-1 for none). Kept beside the item and
// brought up to date from the boxes that changed, so that no frame walks the boxes to find them.
struct LeavingBoxes
{
    enum Tool { Drawn, Pen, Brush, Font, ToolCount };
    int last[ToolCount] = {-1, -1, -1, -1};
    QVector<int> changed; // boxes changed since `last` was found
    bool known = false;

    void boxesChanged(const int *indices, int count)
    {
        // Past a thousand changes, a walk over every box costs little beside the frame they call
        // for.
        if (known && changed.size() + count > 1024)
            forget();
        else if (known)
            std::copy(indices, indices + count, std::back_inserter(changed));
    }
    void forget()
    {
        known = false;
        changed = QVector<int>();
    }
};

// What painting asks of a family. Every operation reads the item and changes nothing of it.
struct BoxFamilyOps
{
    int (*count)(const Bll_Painted_Item &item);
    // Paints the selected boxes, starting from the tools found on the painter, exactly as a full
    // pass paints them; with `marks`, tiny boxes as marks (BoxMarks).
    void (*paint)(const Bll_Painted_Item &item, QPainter *painter, const BoxSelection &boxes,
                  LabelPainter &labels, bool marks);
    // The tools a full pass leaves, starting from `entry`, without painting; `leaving` is brought
    // up to date on the way.
    PainterTools (*exit)(const Bll_Painted_Item &item, const PainterTools &entry,
                         LeavingBoxes &leaving);
    // Whether passes that start from a and from b draw alike: a label's font takes the family and
    // size of the label, so the font found on the painter counts only for what else it sets.
    bool (*startsAlike)(const PainterTools &a, const PainterTools &b);
    // Where boxes may draw in a pass that starts from `entry`, in item coordinates: a rectangle
    // that holds every pixel their outlines, markers, fill and label touch; an empty one for a
    // box that draws nothing, an unbounded one where that cannot be told; labels that `labels`
    // leaves out count for nothing, and a box that `marks` marks counts where its mark draws.
    // One per place in `indices` (every box when null) into `out`. With `switched`, only what
    // switching the box's sides or states can change, when that leaves its geometry as it is.
    void (*extents)(const Bll_Painted_Item &item, const PainterTools &entry, const LabelCut &labels,
                    const MarkCut &marks, const QVector<int> *indices, bool switched, QRectF *out);
    // Whether switching a box's states may also move or hide what it draws, so that where it
    // drew before counts too.
    bool switchesGeometry;
    // Where a box, in a pass that starts from `entry`, hides whatever is painted before it: a
    // whole-pixel rectangle in item coordinates that its fill covers with one opaque colour, so
    // that on whole pixels every pixel in it is the box's own or that of boxes painted after it.
    // False where it hides nothing.
    bool (*covers)(const Bll_Painted_Item &item, const PainterTools &entry, int index, QRect *rect);

    // Where a box lies whatever the painter and the styles: what it may draw without its pens'
    // reach, with every side and switch on, and the rectangle it is picked by. Empty when it
    // draws nothing, unbounded where that cannot be told.
    QRectF (*bounds)(const Bll_Painted_Item &item, int index);
    // How far the family's pens may reach beyond those bounds in a pass that starts from entry.
    qreal (*reach)(const Bll_Painted_Item &item, const PainterTools &entry);

    // Picking. The name of the family; the rectangle where a box is drawn, false for one that
    // draws nothing or lies beyond where painting places shapes; the side of a box under a point
    // ("top", "bottom", "left", "right", or empty); a box's identifier.
    const char *name;
    bool (*pickRect)(const Bll_Painted_Item &item, int index, QRectF *rect);
    QString (*side)(const Bll_Painted_Item &item, int index, const QPointF &point);
    const QString &(*boxId)(const Bll_Painted_Item &item, int index);
};

// Defined by the families, in paint order.
extern const BoxFamilyOps *const boxFamilies[BoxFamilyCount];

// Where the band of a parameter box's side (0 to 3: top, bottom, left, right) is drawn: the
// bounds of its polygon, in item coordinates.
QRectF parameterBandRect(const Bll_Painted_Item &item, int index, int side);

// Paints one whole family, as the item's protected family painters do, keeping its labels.
void paintWholeFamily(const Bll_Painted_Item &item, QPainter *painter, BoxFamily family);

#endif // BLL_BOX_FAMILY_H
