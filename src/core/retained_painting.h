#ifndef BLL_RETAINED_PAINTING_H
#define BLL_RETAINED_PAINTING_H

// Frames that repaint only what changed since the last one, pixel for pixel as a full repaint.
// Private to the library.
//
// QML's update() makes Qt Quick fill the item's whole texture and call paint() again, so the
// item keeps its own copy of the last frame: paint() repaints only the boxes the store
// operations changed and whatever overlaps where they were and are (the damage), then copies the
// kept frame back around the damage. It does so only where it can prove the result exact: the
// same raster device and painter state as the last frame, and nothing painted under the boxes
// that it did not paint itself.
// Everywhere else it paints in full, exactly as it would without a kept frame.

#include <QtCore/QRectF>
#include <QtCore/QVector>
#include <QtGui/QBrush>
#include <QtGui/QFont>
#include <QtGui/QPen>

class Bll_Painted_Item;
class QPainter;

// The three box families, in the order paint() paints them.
enum BoxFamily { ParameterBoxes, DviBoxes, SimpleBoxes, BoxFamilyCount };

// The tools a family finds on the painter, or leaves there for the next.
struct PainterTools
{
    QPen pen;
    QBrush brush;
    QFont font;

    static PainterTools of(const QPainter *painter);
    void install(QPainter *painter) const;
    bool operator==(const PainterTools &other) const;
};

// Whether a rectangle lies where Qt still rasterizes shapes where their coordinates say: far
// out (from 1e9 on), it draws them elsewhere. Written so that NaN fails.
inline bool withinReach(const QRectF &extent)
{
    constexpr double limit = 1e9;
    return qAbs(extent.left()) < limit && qAbs(extent.right()) < limit && qAbs(extent.top()) < limit
            && qAbs(extent.bottom()) < limit;
}

// The boxes of a family that a pass paints: every one, or the listed places in the table, the
// latter leaving out the parts that do not reach the given rectangles (in item coordinates).
class BoxSelection
{
public:
    static BoxSelection all(int count) { return BoxSelection(nullptr, count, nullptr); }
    static BoxSelection only(const QVector<int> &indices, const QVector<QRectF> &visible)
    {
        return BoxSelection(&indices, 0, &visible);
    }

    int size() const { return m_only ? m_only->size() : m_count; }
    int operator[](int i) const { return m_only ? m_only->at(i) : i; }

    // Whether a part that draws within extent() is drawn; a full pass never asks where.
    template<typename Extent>
    bool shows(Extent extent) const
    {
        if (!m_visible)
            return true;
        const QRectF where = extent();
        if (!withinReach(where))
            return true;
        for (const QRectF &rect : *m_visible)
            if (where.intersects(rect))
                return true;
        return false;
    }

private:
    BoxSelection(const QVector<int> *only, int count, const QVector<QRectF> *visible)
        : m_only(only), m_count(count), m_visible(visible)
    {
    }
    const QVector<int> *m_only;
    int m_count;
    const QVector<QRectF> *m_visible;
};

class RetainedPainting
{
public:
    // paint(): repaints what changed when that is exact, else everything.
    static void paint(Bll_Painted_Item &item, QPainter *painter);

    // The store operations say what they change: one box, added (or added again) or switched,
    // or (styles, clears, the fill colour, updates of every box) everything.
    enum Change { Added, Switched };
    static void boxChanged(const Bll_Painted_Item *item, BoxFamily family, int index,
                           Change change);
    static void everythingChanged(const Bll_Painted_Item *item);
    // The item is going away.
    static void forget(const Bll_Painted_Item *item);

    // Each family's painter, beside its store: paints the selected boxes starting from the
    // tools found on the painter, exactly as the full pass paints them.
    static void paintParameterBoxes(Bll_Painted_Item &item, QPainter *painter,
                                    const BoxSelection &boxes);
    static void paintDviBoxes(Bll_Painted_Item &item, QPainter *painter, const BoxSelection &boxes);
    static void paintSimpleBoxes(Bll_Painted_Item &item, QPainter *painter,
                                 const BoxSelection &boxes);

    // The tools a full pass of a family leaves, starting from `entry`, without painting.
    static PainterTools parameterBoxesExit(const Bll_Painted_Item &item, const PainterTools &entry);
    static PainterTools dviBoxesExit(const Bll_Painted_Item &item, const PainterTools &entry);
    static PainterTools simpleBoxesExit(const Bll_Painted_Item &item, const PainterTools &entry);

    // Where a box may draw, in item coordinates, with pens found as in `entry`: a rectangle that
    // holds every pixel its outlines, markers, fill and label touch; an empty one when it draws
    // nothing, an unbounded one when that cannot be told. With `switched`, only what switching
    // its sides or states can change.
    static QRectF parameterBoxExtent(const Bll_Painted_Item &item, const PainterTools &entry,
                                     int index, bool switched = false);
    static QRectF dviBoxExtent(const Bll_Painted_Item &item, const PainterTools &entry, int index,
                               bool switched = false);
    static QRectF simpleBoxExtent(const Bll_Painted_Item &item, const PainterTools &entry,
                                  int index, bool switched = false);

    static int boxCount(const Bll_Painted_Item &item, BoxFamily family);

    // How far ink may reach out of a shape outlined with pen, in the pen's units.
    static qreal penReach(const QPen &pen);
    // Where a label, boxed in `box` at pixelSize, may draw: the box and an em around it, or
    // unbounded for labels whose marks may stack far beyond their line.
    static QRectF labelExtent(const QRectF &box, const QString &label, int pixelSize);
    static QRectF unbounded();
};

#endif // BLL_RETAINED_PAINTING_H
