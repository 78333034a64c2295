#include "../core/style_keys.h"
#include "../core/style_lookup.h"
#include "box_canvas.h"
#include "dvi_box_record.h"

namespace {

// A label and, inside each side switched on, two triangles pointing at it; the rectangle itself
// is not drawn.
struct DviFamily
{
    static const auto &table(const Bll_Painted_Item &item) { return ItemAccess::dviBoxes(item); }
    static const QVariantMap &style(const Bll_Painted_Item &item)
    {
        return ItemAccess::dviStyle(item);
    }
    // Switches show and hide the label and the markers.
    static constexpr bool switchesGeometry = true;
    static constexpr const char *name = "dvi";
    // Only its markers are drawn, inside it.
    static constexpr bool outlined = false;

    struct Tools
    {
        Tools(const QPen &painterPen, const QBrush &painterBrush, const QVariantMap &style)
        {
            using namespace StyleLookup;
            labelPen = familyPen(painterPen, style);
            const QColor markerColor = optionalColor(style, StyleKey::brushColor);
            markerPen = penWithColor(painterPen, markerColor);
            markerBrush = solidBrushOr(painterBrush, markerColor);
        }
        qreal reach() const { return qMax(penReach(labelPen), penReach(markerPen)); }
        QPen labelPen, markerPen;
        QBrush markerBrush;
    };

    static bool drawn(const BoxDVIRecord &box) { return box.width > 1.0 && box.height > 1.0; }
    static BoxDVIRecord withEveryPart(BoxDVIRecord box)
    {
        box.showText = box.showBorder = true;
        box.topBorder = box.bottomBorder = box.leftBorder = box.rightBorder = true;
        return box;
    }
    static bool pickRect(const BoxDVIRecord &box, QRectF *rect)
    {
        *rect = QRectF(box.x, box.y, box.width, box.height);
        return true;
    }
    // Its markers', where it shows any; its label is too small to be seen.
    static QColor markColor(const Tools &tools, const BoxDVIRecord &box)
    {
        const bool markers = box.showBorder
                && (box.topBorder || box.bottomBorder || box.leftBorder || box.rightBorder);
        return markers ? inkOf(tools.markerBrush, tools.markerPen) : QColor();
    }
    // The side nearest the point; the first in the order top, bottom, left, right where two are.
    // Its bands and markers leave what lies under them to show through.
    static bool covers(const Tools &, const BoxDVIRecord &, QRect *) { return false; }
    static QString side(const BoxDVIRecord &box, const QPointF &point)
    {
        const double distances[] = {point.y() - box.y, box.y + box.height - point.y(),
                                    point.x() - box.x, box.x + box.width - point.x()};
        int nearest = 0;
        for (int side = 1; side < 4; ++side)
            if (distances[side] < distances[nearest])
                nearest = side;
        return sideNames[nearest];
    }

    template<typename Canvas>
    static void prologue(Canvas &canvas, const Tools &tools)
    {
        canvas.setPen(tools.labelPen);
        canvas.setBrush(tools.markerBrush);
    }

    template<typename Canvas>
    static void firstDrawn(Canvas &, const Tools &)
    {
    }

    // The label's font is set even when the label is hidden.
    template<typename Canvas>
    static void draw(Canvas &canvas, const Tools &tools, const QString &boxId,
                     const BoxDVIRecord &box)
    {
        const double w = box.width, h = box.height;
        if (const int pixelSize = w > 5.0 && h > 5.0 ? BoxLabel::pixelSize(w, h) : 0) {
            canvas.setLabelFont(pixelSize);
            if (box.showText) {
                canvas.setPen(tools.labelPen);
                canvas.drawLabel(QRectF(box.x, box.y, w, h), boxId);
            }
        }
        canvas.setPen(tools.markerPen);
        if (box.showBorder)
            drawSideMarkers(canvas, box);
    }

    // The two markers of each side: triangles with a 2b base parallel to the side, 3b inside
    // it, pointing outward to a tip b inside the side, 5b from the corner.
    template<typename Canvas>
    static void drawSideMarkers(Canvas &canvas, const BoxDVIRecord &box)
    {
        const double x = box.x, y = box.y, b = box.borderWidth;
        const double xr = box.x + box.width;
        const double yb = box.y + box.height;
        QPolygonF triangle(3);
        const auto draw = [&](QPointF p1, QPointF tip, QPointF p3) {
            triangle[0] = p1;
            triangle[1] = tip;
            triangle[2] = p3;
            canvas.drawPolygon(triangle);
        };
        if (box.topBorder) {
            draw({x + 4 * b, y + 3 * b}, {x + 5 * b, y + b}, {x + 6 * b, y + 3 * b});
            draw({xr - 4 * b, y + 3 * b}, {xr - 5 * b, y + b}, {xr - 6 * b, y + 3 * b});
        }
        if (box.bottomBorder) {
            draw({x + 4 * b, yb - 3 * b}, {x + 5 * b, yb - b}, {x + 6 * b, yb - 3 * b});
            draw({xr - 4 * b, yb - 3 * b}, {xr - 5 * b, yb - b}, {xr - 6 * b, yb - 3 * b});
        }
        if (box.leftBorder) {
            draw({x + 3 * b, y + 4 * b}, {x + b, y + 5 * b}, {x + 3 * b, y + 6 * b});
            draw({x + 3 * b, yb - 4 * b}, {x + b, yb - 5 * b}, {x + 3 * b, yb - 6 * b});
        }
        if (box.rightBorder) {
            draw({xr - 3 * b, y + 4 * b}, {xr - b, y + 5 * b}, {xr - 3 * b, y + 6 * b});
            draw({xr - 3 * b, yb - 4 * b}, {xr - b, yb - 5 * b}, {xr - 3 * b, yb - 6 * b});
        }
    }
};

} // namespace

extern const BoxFamilyOps dviBoxOps = FamilyOps<DviFamily>::ops();

void Bll_Painted_Item::paintBoxDVI(QPainter *painter)
{
    paintWholeFamily(*this, painter, DviBoxes);
}
