#include "../core/style_keys.h"
#include "../core/style_lookup.h"
#include "box_canvas.h"
#include "parameter_box_record.h"

namespace {

bool carriesParameter(double param)
{
    return !(param == 1.0); // NaN carries a parameter
}

// A label and four bands, each filled by whether its side is picked and carries a parameter.
struct ParameterFamily
{
    static const auto &table(const Bll_Painted_Item &item)
    {
        return ItemAccess::parameterBoxes(item);
    }
    static const QVariantMap &style(const Bll_Painted_Item &item)
    {
        return ItemAccess::parameterStyle(item);
    }
    // Picks and parameters change the bands' brushes only.
    static constexpr bool switchesGeometry = false;
    static constexpr const char *name = "parameter";
    // The bands' outlines run along the box's edges.
    static constexpr bool outlined = true;

    // Everything is copied from the painter before anything is installed on it.
    struct Tools
    {
        Tools(const QPen &painterPen, const QBrush &painterBrush, const QVariantMap &style)
        {
            using namespace StyleLookup;
            borderPen = familyPen(painterPen, style);
            textPen = penWithColor(painterPen, optionalColor(style, StyleKey::textColor));
            fillBrush = solidBrushOr(painterBrush, optionalColor(style, StyleKey::brushColor));
            pickBrush = solidBrushOr(painterBrush, optionalColor(style, StyleKey::pickBorderColor));
            paramBrush =
                    solidBrushOr(painterBrush, optionalColor(style, StyleKey::paramBorderColor));
            pickParamBrush = solidBrushOr(painterBrush,
                                          optionalColor(style, StyleKey::pickParamBorderColor));
        }
        qreal reach() const { return qMax(penReach(borderPen), penReach(textPen)); }
        QPen borderPen, textPen;
        QBrush fillBrush, pickBrush, paramBrush, pickParamBrush;
    };

    static bool drawn(const BoxRecord &box) { return box.width > 1.0 && box.height > 1.0; }
    static const BoxRecord &withEveryPart(const BoxRecord &box) { return box; }
    static bool pickRect(const BoxRecord &box, QRectF *rect)
    {
        *rect = QRectF(box.x, box.y, box.width, box.height);
        return true;
    }
    // The band that tells most: a picked side over one with a parameter over the fill.
    static QColor markColor(const Tools &tools, const BoxRecord &box)
    {
        const bool picked[] = {box.topBorder, box.bottomBorder, box.leftBorder, box.rightBorder};
        const double params[] = {box.topParam, box.bottomParam, box.leftParam, box.rightParam};
        const QBrush *brush = &tools.fillBrush;
        for (int side = 0; side < 4; ++side) {
            if (picked[side])
                return inkOf(carriesParameter(params[side]) ? tools.pickParamBrush
                                                            : tools.pickBrush,
                             tools.borderPen);
            if (carriesParameter(params[side]))
                brush = &tools.paramBrush;
        }
        return inkOf(*brush, tools.borderPen);
    }
    // The side whose band holds the point; none inside the bands.
    // Its bands and markers leave what lies under them to show through.
    static bool covers(const Tools &, const BoxRecord &, QRect *) { return false; }
    static QString side(const BoxRecord &box, const QPointF &point)
    {
        HitCanvas bands(point);
        draw(bands, FamilyOps<ParameterFamily>::noTools(), QString(), box);
        return bands.hit() < 0 ? QString() : sideNames[bands.hit()];
    }

    template<typename Canvas>
    static void prologue(Canvas &, const Tools &)
    {
    }

    // Installed before the first box drawn, so no box's look depends on its place in the order.
    template<typename Canvas>
    static void firstDrawn(Canvas &canvas, const Tools &tools)
    {
        canvas.setPen(tools.borderPen);
        canvas.setBrush(tools.fillBrush);
    }

    // The label, then the four bands; the border pen and fill brush are installed.
    template<typename Canvas>
    static void draw(Canvas &canvas, const Tools &tools, const QString &boxId, const BoxRecord &box)
    {
        const double x = box.x, y = box.y, w = box.width, h = box.height, b = box.borderWidth;
        if (const int pixelSize = w > 10.0 && h > 10.0 ? BoxLabel::pixelSize(w, h) : 0) {
            canvas.setLabelFont(pixelSize);
            canvas.setPen(tools.textPen);
            canvas.drawLabel(QRectF(x, y, w, h), boxId);
            canvas.setPen(tools.borderPen);
        }

        // The bands fill the frame between the box and the box inset by b, meeting on the
        // diagonals.
        QPolygonF band(4);
        const auto drawBand = [&](bool picked, double param) {
            const bool withParam = carriesParameter(param);
            if (picked)
                canvas.setBrush(withParam ? tools.pickParamBrush : tools.pickBrush);
            else if (withParam)
                canvas.setBrush(tools.paramBrush);
            canvas.drawPolygon(band);
            canvas.setBrush(tools.fillBrush);
        };
        band[0] = QPointF(x, y);
        band[1] = QPointF(x + w, y);
        band[2] = QPointF(x + w - b, y + b);
        band[3] = QPointF(x + b, y + b);
        drawBand(box.topBorder, box.topParam);

        band[0] = QPointF(x + b, y + h - b);
        band[1] = QPointF(x + w - b, y + h - b);
        band[2] = QPointF(x + w, y + h);
        band[3] = QPointF(x, y + h);
        drawBand(box.bottomBorder, box.bottomParam);

        band[0] = QPointF(x, y);
        band[1] = QPointF(x + b, y + b);
        band[2] = QPointF(x + b, y + h - b);
        band[3] = QPointF(x, y + h);
        drawBand(box.leftBorder, box.leftParam);

        band[0] = QPointF(x + w - b, y + b);
        band[1] = QPointF(x + w, y);
        band[2] = QPointF(x + w, y + h);
        band[3] = QPointF(x + w - b, y + h - b);
        drawBand(box.rightBorder, box.rightParam);
    }
};

// The bounds of the n-th polygon drawn.
class PolygonBoundsCanvas
{
public:
    explicit PolygonBoundsCanvas(int n) : m_wanted(n) { }
    void setPen(const QPen &) { }
    void setBrush(const QBrush &) { }
    void setLabelFont(int) { }
    void drawLabel(const QRectF &, const QString &) { }
    void drawPolygon(const QPolygonF &polygon)
    {
        if (m_drawn++ == m_wanted)
            m_bounds = polygon.boundingRect();
    }
    QRectF bounds() const { return m_bounds; }

private:
    int m_wanted;
    int m_drawn = 0;
    QRectF m_bounds;
};

} // namespace

extern const BoxFamilyOps parameterBoxOps = FamilyOps<ParameterFamily>::ops();

QRectF parameterBandRect(const Bll_Painted_Item &item, int index, int side)
{
    // The bands are the box's polygons, in the order of sideNames.
    PolygonBoundsCanvas bands(side);
    ParameterFamily::draw(bands, FamilyOps<ParameterFamily>::noTools(), QString(),
                          ItemAccess::parameterBoxes(item).at(index).record);
    return bands.bounds();
}

void Bll_Painted_Item::paintBox(QPainter *painter)
{
    paintWholeFamily(*this, painter, ParameterBoxes);
}
