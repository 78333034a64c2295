#ifndef BLL_BOX_CANVAS_H
#define BLL_BOX_CANVAS_H

// A box family describes how it draws a box once, against a canvas: the painter itself, or one
// that only works out where the drawing goes (its extent) or which tools it leaves on the
// painter. FamilyOps turns such a description into the operations the core calls. Private to
// the library.

#include "../core/box_family.h"
#include "../core/box_marks.h"
#include "../core/dashed_outline.h"
#include "../core/item_access.h"
#include "../core/style_keys.h"
#include "box_label.h"

#include <QtGui/QPainter>
#include <QtGui/QPolygonF>

#include <algorithm>
#include <array>

// Draws on the painter; a limited selection leaves out the parts that do not reach its area.
class PaintCanvas
{
public:
    PaintCanvas(QPainter *painter, const BoxSelection &boxes, LabelPainter &labels)
        : m_painter(painter), m_boxes(boxes), m_labels(labels)
    {
    }
    void beginBox(int index) { m_index = index; }
    void setPen(const QPen &pen)
    {
        m_painter->setPen(pen);
        m_pen = &pen;
    }
    void setBrush(const QBrush &brush) { m_painter->setBrush(brush); }
    // A pass that leaves parts out sets a label's font only when it draws the label.
    void setLabelFont(int pixelSize)
    {
        m_labelSize = pixelSize;
        if (!m_boxes.limited())
            BoxLabel::setFont(m_painter, pixelSize);
    }
    void drawLabel(const QRectF &box, const QString &text)
    {
        if (m_boxes.limited()) {
            // A label left out is neither placed nor given its font.
            if ((m_labelSize > 0 && m_labels.cut().leavesOut(m_labelSize))
                || !m_boxes.shows(BoxLabel::extent(box, text, m_labelSize)))
                return;
            BoxLabel::setFont(m_painter, m_labelSize);
        }
        m_labels.draw(box, text, m_index);
    }
    void drawPolygon(const QPolygonF &polygon)
    {
        if (!m_boxes.limited() || m_boxes.shows(inked(polygon.boundingRect())))
            DashedOutline::drawPolygon(m_painter, polygon);
    }
    void drawRect(const QRect &rect)
    {
        if (!m_boxes.limited() || m_boxes.shows(inked(QRectF(rect))))
            m_painter->drawRect(rect);
    }

private:
    QRectF inked(const QRectF &shape) const
    {
        const qreal reach = penReach(m_pen ? *m_pen : m_painter->pen());
        return shape.adjusted(-reach, -reach, reach, reach);
    }
    QPainter *m_painter;
    const BoxSelection &m_boxes;
    LabelPainter &m_labels;
    const QPen *m_pen = nullptr;
    int m_index = 0;
    int m_labelSize = 0;
};

// The colour a shape filled with `brush` and outlined with `pen` shows most: the brush's where it
// fills, else the pen's; invalid where neither inks.
inline QColor inkOf(const QBrush &brush, const QPen &pen)
{
    if (brush.style() != Qt::NoBrush)
        return brush.color();
    return pen.style() != Qt::NoPen ? pen.color() : QColor();
}

// a | b as Qt unites rectangles, to the bit, inline: where a box lies is worked out again for
// every box added once the index exists, and QRectF's own union is a call each time.
Q_ALWAYS_INLINE QRectF united(const QRectF &a, const QRectF &b)
{
    if (a.isNull())
        return b;
    if (b.isNull())
        return a;
    qreal left = a.x(), right = a.x();
    (a.width() < 0 ? left : right) += a.width();
    if (b.width() < 0) {
        left = qMin(left, b.x() + b.width());
        right = qMax(right, b.x());
    } else {
        left = qMin(left, b.x());
        right = qMax(right, b.x() + b.width());
    }
    qreal top = a.y(), bottom = a.y();
    (a.height() < 0 ? top : bottom) += a.height();
    if (b.height() < 0) {
        top = qMin(top, b.y() + b.height());
        bottom = qMax(bottom, b.y());
    } else {
        top = qMin(top, b.y());
        bottom = qMax(bottom, b.y() + b.height());
    }
    return QRectF(left, top, right - left, bottom - top);
}

// Works out where a box draws: every pixel its shapes and pens touch, and its label's em; or,
// without pens, where its shapes and label lie.
class ExtentCanvas
{
public:
    // Labels count where `labels`, unless `cut` leaves them out of the pass.
    explicit ExtentCanvas(bool labels, bool pens = true, const LabelCut &cut = LabelCut())
        : m_labels(labels), m_pens(pens), m_cut(cut)
    {
    }
    void beginBox(int) { m_extent = QRectF(); }
    void setPen(const QPen &pen)
    {
        if (!m_pens)
            return;
        // A pass's pens are its tools', installed box after box, a box's label pen between
        // its outline's: each one's reach is worked out once.
        for (const Reach &known : m_known) {
            if (known.pen == &pen) {
                m_reach = known.reach;
                return;
            }
        }
        m_reach = penReach(pen);
        m_known[2] = m_known[1];
        m_known[1] = m_known[0];
        m_known[0] = {&pen, m_reach};
    }
    void setBrush(const QBrush &) { }
    void setLabelFont(int pixelSize) { m_labelSize = pixelSize; }
    void drawLabel(const QRectF &box, const QString &text)
    {
        if (m_labels && !m_cut.leavesOut(m_labelSize))
            m_extent = united(m_extent, BoxLabel::extent(box, text, m_labelSize));
    }
    void drawPolygon(const QPolygonF &polygon) { add(polygon.boundingRect()); }
    void drawRect(const QRect &rect) { add(QRectF(rect)); }
    // Extents beyond reach (or not finite) are unbounded.
    QRectF extent() const
    {
        return m_extent.isNull() || withinReach(m_extent) ? m_extent : unboundedExtent();
    }

private:
    void add(const QRectF &shape)
    {
        m_extent = united(m_extent, shape.adjusted(-m_reach, -m_reach, m_reach, m_reach));
    }
    bool m_labels, m_pens;
    LabelCut m_cut;
    struct Reach
    {
        const QPen *pen = nullptr;
        qreal reach = 0;
    } m_known[3];
    qreal m_reach = 0;
    int m_labelSize = 0;
    QRectF m_extent;
};

// Follows the tools a pass installs, drawing nothing.
struct ToolCanvas
{
    void beginBox(int) { }
    void setPen(const QPen &newPen) { pen = &newPen; }
    void setBrush(const QBrush &newBrush) { brush = &newBrush; }
    void setLabelFont(int pixelSize) { labelSize = pixelSize; }
    void drawLabel(const QRectF &, const QString &) { }
    void drawPolygon(const QPolygonF &) { }
    void drawRect(const QRect &) { }

    const QPen *pen = nullptr;
    const QBrush *brush = nullptr;
    int labelSize = 0;
};

// Finds which of a box's shapes, in the order it draws them, holds a point: the last one drawn
// lies on top. Edges count; labels do not, nor shapes that are not drawn (a corner that is not a
// number).
class HitCanvas
{
public:
    explicit HitCanvas(const QPointF &point) : m_point(point) { }
    void beginBox(int) { }
    void setPen(const QPen &) { }
    void setBrush(const QBrush &) { }
    void setLabelFont(int) { }
    void drawLabel(const QRectF &, const QString &) { }
    void drawPolygon(const QPolygonF &polygon);
    void drawRect(const QRect &rect) { drawPolygon(QPolygonF(QRectF(rect))); }
    // The place of the shape hit in the box's order of drawing, -1 for none.
    int hit() const { return m_hit; }

private:
    QPointF m_point;
    int m_shapes = 0;
    int m_hit = -1;
};

// The operations of a family that describes itself as:
//   Tools: built once per pass from the pen and brush found on the painter and the style;
//   table(item), style(item); drawn(record): whether a box draws anything;
//   prologue(canvas, tools): at the start of every pass; firstDrawn(canvas, tools): before the
//   first box drawn; draw(canvas, tools, boxId, record): one box, which tools it installs
//   following its record alone, never the styles;
//   switchesGeometry: whether switching states may move or hide what a box draws;
//   withEveryPart(record): the box as it draws with every side and switch on;
//   Tools::reach(): how far its pens reach; covers(tools, record, rect): where its fill hides
//   what lies under it; name, pickRect(record, rect), side(record, point); markColor(tools,
//   record): the colour that tells the box's state when it is marked (BoxMarks), invalid for
//   none; outlined: whether its rectangle is outlined, so that a mark covers the outline too.
template<typename Family>
struct FamilyOps
{
    using Tools = typename Family::Tools;

    static int count(const Bll_Painted_Item &item) { return Family::table(item).size(); }

    static void paint(const Bll_Painted_Item &item, QPainter *painter, const BoxSelection &boxes,
                      LabelPainter &labels, bool marksTinyBoxes)
    {
        const Tools tools(painter->pen(), painter->brush(), Family::style(item));
        PaintCanvas canvas(painter, boxes, labels);
        const auto &table = Family::table(item);
        Family::prologue(canvas, tools);
        BoxMarks marks(painter, marksTinyBoxes);
        bool first = true;
        for (int i = 0; i < boxes.size(); ++i) {
            // A zoomed-out frame walks a million rows, each a few instructions: waiting for
            // memory costs more than the work (a fifth of the frame, measured).
            if (i + 16 < boxes.size())
                __builtin_prefetch(&table.at(boxes[i + 16]));
            const auto &row = table.at(boxes[i]);
            if (!Family::drawn(row.record))
                continue;
            if (first) {
                Family::firstDrawn(canvas, tools);
                first = false;
            }
            // A marked box installs nothing: the pass is followed by the tools a full one leaves,
            // as one that leaves boxes out is.
            QRectF where;
            if (marks.on() && Family::pickRect(row.record, &where)
                && marks.mark(where, Family::markColor(tools, row.record), Family::outlined))
                continue;
            marks.leaveDevicePixels();
            canvas.beginBox(boxes[i]);
            Family::draw(canvas, tools, row.boxId, row.record);
        }
    }

    static PainterTools exit(const Bll_Painted_Item &item, const PainterTools &entry,
                             LeavingBoxes &leaving)
    {
        const auto &table = Family::table(item);
        findLeaving(item, leaving);
        const Tools tools(entry.pen, entry.brush, Family::style(item));
        ToolCanvas pass;
        Family::prologue(pass, tools);
        if (leaving.last[LeavingBoxes::Drawn] >= 0)
            Family::firstDrawn(pass, tools);
        // Each tool is what the last box to install it installed.
        const auto lastTo = [&](LeavingBoxes::Tool tool) {
            ToolCanvas box;
            if (const int i = leaving.last[tool]; i >= 0)
                Family::draw(box, tools, table.at(i).boxId, table.at(i).record);
            return box;
        };
        const ToolCanvas penBox = lastTo(LeavingBoxes::Pen);
        const ToolCanvas brushBox = lastTo(LeavingBoxes::Brush);
        const ToolCanvas fontBox = lastTo(LeavingBoxes::Font);
        PainterTools exit = entry;
        if (const QPen *pen = penBox.pen ? penBox.pen : pass.pen)
            exit.pen = *pen;
        if (const QBrush *brush = brushBox.brush ? brushBox.brush : pass.brush)
            exit.brush = *brush;
        if (fontBox.labelSize)
            exit.font = BoxLabel::font(entry.font, fontBox.labelSize);
        return exit;
    }

    // Which tools a box installs: what it draws depends on its record alone, never on the styles.
    static std::array<bool, LeavingBoxes::ToolCount> installs(const Bll_Painted_Item &item,
                                                              int index)
    {
        const auto &row = Family::table(item).at(index);
        if (!Family::drawn(row.record))
            return {};
        ToolCanvas box;
        Family::draw(box, noTools(), row.boxId, row.record);
        return {true, box.pen != nullptr, box.brush != nullptr, box.labelSize != 0};
    }

    // Brings `leaving` up to date: the changed boxes may have become the last to install a tool,
    // and where the last one stopped installing it, the walk goes back from there. Unknown, it
    // walks back from the end.
    static void findLeaving(const Bll_Painted_Item &item, LeavingBoxes &leaving)
    {
        // Every change reaches `changed`, and a clear forgets: with none, the boxes are as found.
        if (leaving.known && leaving.changed.isEmpty())
            return;
        const int size = count(item);
        int *best = leaving.last; // the last box known to install each tool
        int from[LeavingBoxes::ToolCount]; // walk back below this for the tool, -1: no walk
        if (!leaving.known) {
            std::fill(best, best + LeavingBoxes::ToolCount, -1);
            std::fill(from, from + LeavingBoxes::ToolCount, size);
        } else {
            std::fill(from, from + LeavingBoxes::ToolCount, -1);
            for (int t = 0; t < LeavingBoxes::ToolCount; ++t) {
                const int was = best[t];
                if (was >= 0 && !(was < size && installs(item, was)[t])) {
                    from[t] = qMin(was, size);
                    best[t] = -1;
                }
            }
            for (const int i : qAsConst(leaving.changed)) {
                if (i >= size)
                    continue;
                const auto installed = installs(item, i);
                for (int t = 0; t < LeavingBoxes::ToolCount; ++t) {
                    if (installed[t])
                        best[t] = qMax(best[t], i);
                }
            }
        }
        const int start = *std::max_element(from, from + LeavingBoxes::ToolCount);
        bool found[LeavingBoxes::ToolCount] = {};
        for (int i = start - 1; i >= 0; --i) {
            bool pending = false, here = false;
            for (int t = 0; t < LeavingBoxes::ToolCount; ++t) {
                if (!found[t] && from[t] >= 0 && i > best[t]) {
                    pending = true;
                    here |= i < from[t];
                }
            }
            if (!pending)
                break;
            if (!here)
                continue;
            const auto installed = installs(item, i);
            for (int t = 0; t < LeavingBoxes::ToolCount; ++t) {
                if (!found[t] && i < from[t] && i > best[t] && installed[t]) {
                    best[t] = i;
                    found[t] = true;
                }
            }
        }
        leaving.changed.clear();
        leaving.known = true;
    }

    static bool startsAlike(const PainterTools &a, const PainterTools &b)
    {
        return a.pen == b.pen && a.brush == b.brush
                && BoxLabel::font(a.font, 1) == BoxLabel::font(b.font, 1);
    }

    static void extents(const Bll_Painted_Item &item, const PainterTools &entry,
                        const LabelCut &labels, const MarkCut &marks, const QVector<int> *indices,
                        bool switched, QRectF *out)
    {
        const Tools tools(entry.pen, entry.brush, Family::style(item));
        const auto &table = Family::table(item);
        ExtentCanvas canvas(!switched || Family::switchesGeometry, true, labels);
        Family::prologue(canvas, tools);
        Family::firstDrawn(canvas, tools);
        const int count = indices ? indices->size() : table.size();
        for (int k = 0; k < count; ++k) {
            if (k + 16 < count) // as in paint()
                __builtin_prefetch(&table.at(indices ? indices->at(k + 16) : k + 16));
            const auto &row = table.at(indices ? indices->at(k) : k);
            canvas.beginBox(k);
            QRectF where;
            if (!Family::drawn(row.record)) {
                out[k] = QRectF();
            } else if (marks.on() && Family::pickRect(row.record, &where) && marks.marks(where)) {
                // A marked box draws its mark alone, as paint() marks it.
                const QRectF mark = marks.extent(where);
                out[k] = withinReach(mark) ? mark : unboundedExtent();
            } else {
                Family::draw(canvas, tools, row.boxId, row.record);
                out[k] = canvas.extent();
            }
        }
    }

    static QRectF bounds(const Bll_Painted_Item &item, int index)
    {
        const auto &row = Family::table(item).at(index);
        QRectF rect;
        if (!Family::drawn(row.record))
            return rect;
        ExtentCanvas canvas(true, false);
        Family::draw(canvas, noTools(), row.boxId, Family::withEveryPart(row.record));
        Family::pickRect(row.record, &rect); // drawn, so asked directly; beyond reach too
        return united(canvas.extent(), rect);
    }

    static qreal reach(const Bll_Painted_Item &item, const PainterTools &entry)
    {
        return Tools(entry.pen, entry.brush, Family::style(item)).reach();
    }

    static bool covers(const Bll_Painted_Item &item, const PainterTools &entry, int index,
                       QRect *rect)
    {
        const auto &record = Family::table(item).at(index).record;
        return Family::drawn(record)
                && Family::covers(Tools(entry.pen, entry.brush, Family::style(item)), record, rect)
                && withinReach(QRectF(*rect));
    }

    static bool pickRect(const Bll_Painted_Item &item, int index, QRectF *rect)
    {
        const auto &record = Family::table(item).at(index).record;
        return Family::drawn(record) && Family::pickRect(record, rect) && withinReach(*rect);
    }

    static QString side(const Bll_Painted_Item &item, int index, const QPointF &point)
    {
        return Family::side(Family::table(item).at(index).record, point);
    }

    static const QString &boxId(const Bll_Painted_Item &item, int index)
    {
        return Family::table(item).at(index).boxId;
    }

    // Drawing asks for tools; where a box lies whatever the styles looks at none of them.
    static const Tools &noTools()
    {
        static const Tools none {QPen(), QBrush(), QVariantMap()};
        return none;
    }

    static constexpr BoxFamilyOps ops()
    {
        return {&count,  &paint,  &exit,  &startsAlike, &extents,  Family::switchesGeometry,
                &covers, &bounds, &reach, Family::name, &pickRect, &side,
                &boxId};
    }
};

#endif // BLL_BOX_CANVAS_H
