#include "../core/int_geometry.h"
#include "../core/style_keys.h"
#include "../core/style_lookup.h"
#include "box_canvas.h"
#include "simple_box_record.h"

namespace {

// A whole-pixel rectangle filled by selection, else hover, else neither, and a label.
struct SimpleFamily
{
    static const auto &table(const Bll_Painted_Item &item) { return ItemAccess::simpleBoxes(item); }
    static const QVariantMap &style(const Bll_Painted_Item &item)
    {
        return ItemAccess::simpleStyle(item);
    }
    // Hover and selection switch the fill, nothing else.
    static constexpr bool switchesGeometry = false;
    static constexpr const char *name = "simple";
    static constexpr bool outlined = true;

    struct Tools
    {
        Tools(const QPen &painterPen, const QBrush &painterBrush, const QVariantMap &style)
        {
            using namespace StyleLookup;
            outlinePen = familyPen(painterPen, style);
            // The label keeps the style and width of the pen found on the painter.
            labelPen = penWithColor(painterPen, optionalColor(style, StyleKey::textColor));
            fillBrush = solidBrushOr(painterBrush, optionalColor(style, StyleKey::brushColor));
            hoverBrush = solidBrushOr(painterBrush, optionalColor(style, StyleKey::isHoverColor));
            selectionBrush =
                    solidBrushOr(painterBrush, optionalColor(style, StyleKey::isSelectedColor));
        }
        // Selection wins over hover.
        const QBrush &brush(const BoxSimpleRecord &box) const
        {
            return box.isSelected ? selectionBrush : box.isHover ? hoverBrush : fillBrush;
        }
        qreal reach() const { return qMax(penReach(outlinePen), penReach(labelPen)); }
        QPen outlinePen, labelPen;
        QBrush fillBrush, hoverBrush, selectionBrush;
    };

    // The box's whole-pixel rectangle, when it has one.
    static bool outline(const BoxSimpleRecord &box, QRect *rect)
    {
        return box.width > 1.0 && box.height > 1.0
                && IntGeometry::rect(box.x, box.y, box.width, box.height, rect);
    }
    static bool drawn(const BoxSimpleRecord &box)
    {
        QRect rect;
        return outline(box, &rect);
    }
    static const BoxSimpleRecord &withEveryPart(const BoxSimpleRecord &box) { return box; }
    // Picked where it is drawn: its whole-pixel rectangle.
    static bool pickRect(const BoxSimpleRecord &box, QRectF *rect)
    {
        QRect whole;
        const bool drawn = outline(box, &whole);
        *rect = QRectF(whole);
        return drawn;
    }
    static QString side(const BoxSimpleRecord &, const QPointF &) { return QString(); }
    // Its fill, which selection and hover switch; the outline where it has none.
    static QColor markColor(const Tools &tools, const BoxSimpleRecord &box)
    {
        return inkOf(tools.brush(box), tools.outlinePen);
    }
    // A whole-pixel rectangle filled with one opaque colour covers every pixel it holds; the
    // outline and label go over the fill.
    static bool covers(const Tools &tools, const BoxSimpleRecord &box, QRect *rect)
    {
        const QBrush &fill = tools.brush(box);
        return fill.style() == Qt::SolidPattern && fill.color().alpha() == 255
                && outline(box, rect);
    }

    template<typename Canvas>
    static void prologue(Canvas &, const Tools &)
    {
    }

    // Installed before the first box, so no outline depends on the box's place in the order.
    template<typename Canvas>
    static void firstDrawn(Canvas &canvas, const Tools &tools)
    {
        canvas.setPen(tools.outlinePen);
    }

    template<typename Canvas>
    static void draw(Canvas &canvas, const Tools &tools, const QString &boxId,
                     const BoxSimpleRecord &box)
    {
        QRect rect;
        outline(box, &rect);
        canvas.setBrush(tools.brush(box));
        canvas.drawRect(rect);
        const double w = box.width, h = box.height;
        if (const int pixelSize = w > 10.0 && h > 10.0 ? BoxLabel::pixelSize(w, h) : 0) {
            canvas.setLabelFont(pixelSize);
            canvas.setPen(tools.labelPen);
            canvas.drawLabel(QRectF(box.x, box.y, w, h), boxId);
            canvas.setPen(tools.outlinePen);
        }
    }
};

} // namespace

extern const BoxFamilyOps simpleBoxOps = FamilyOps<SimpleFamily>::ops();

void Bll_Painted_Item::paintBoxSimple(QPainter *painter)
{
    paintWholeFamily(*this, painter, SimpleBoxes);
}
