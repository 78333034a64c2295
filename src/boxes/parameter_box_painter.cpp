#include "bll_painted_item.h"

#include "../core/dashed_outline.h"
#include "../core/retained_painting.h"
#include "../core/style_keys.h"
#include "../core/style_lookup.h"
#include "box_label.h"
#include "box_table.h"
#include "parameter_box_record.h"

#include <QtGui/QPainter>
#include <QtGui/QPolygonF>

namespace {

bool carriesParameter(double param)
{
    return !(param == 1.0); // NaN carries a parameter
}

bool drawn(const BoxRecord &box)
{
    return box.width > 1.0 && box.height > 1.0;
}

// The label's pixel size, 0 when the box has no label.
int labelSize(const BoxRecord &box)
{
    return box.width > 10.0 && box.height > 10.0 ? BoxLabel::pixelSize(box.width, box.height) : 0;
}

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
        paramBrush = solidBrushOr(painterBrush, optionalColor(style, StyleKey::paramBorderColor));
        pickParamBrush =
                solidBrushOr(painterBrush, optionalColor(style, StyleKey::pickParamBorderColor));
    }
    QPen borderPen, textPen;
    QBrush fillBrush, pickBrush, paramBrush, pickParamBrush;
};

void drawBand(QPainter *painter, const Tools &tools, const QPolygonF &band, bool picked,
              double param, const BoxSelection &boxes, qreal reach)
{
    if (!boxes.shows([&] { return band.boundingRect().adjusted(-reach, -reach, reach, reach); }))
        return;
    const bool withParam = carriesParameter(param);
    if (picked)
        painter->setBrush(withParam ? tools.pickParamBrush : tools.pickBrush);
    else if (withParam)
        painter->setBrush(tools.paramBrush);
    DashedOutline::drawPolygon(painter, band);
    painter->setBrush(tools.fillBrush);
}

// The label, then the four bands; the border pen and fill brush are installed.
void drawBox(QPainter *painter, const Tools &tools, const QString &boxId, BoxRecord &box,
             const BoxSelection &boxes, qreal reach)
{
    const double x = box.x, y = box.y, w = box.width, h = box.height, b = box.borderWidth;
    const int pixelSize = labelSize(box);
    if (pixelSize && boxes.shows([&] {
            return RetainedPainting::labelExtent(QRectF(x, y, w, h), boxId, pixelSize);
        })) {
        BoxLabel::setFont(painter, pixelSize);
        painter->setPen(tools.textPen);
        BoxLabel::draw(painter, QRectF(x, y, w, h), boxId, box.label);
        painter->setPen(tools.borderPen);
    }

    QPolygonF band(4);
    band[0] = QPointF(x, y);
    band[1] = QPointF(x + w, y);
    band[2] = QPointF(x + w - b, y + b);
    band[3] = QPointF(x + b, y + b);
    drawBand(painter, tools, band, box.topBorder, box.topParam, boxes, reach);

    band[0] = QPointF(x + b, y + h - b);
    band[1] = QPointF(x + w - b, y + h - b);
    band[2] = QPointF(x + w, y + h);
    band[3] = QPointF(x, y + h);
    drawBand(painter, tools, band, box.bottomBorder, box.bottomParam, boxes, reach);

    band[0] = QPointF(x, y);
    band[1] = QPointF(x + b, y + b);
    band[2] = QPointF(x + b, y + h - b);
    band[3] = QPointF(x, y + h);
    drawBand(painter, tools, band, box.leftBorder, box.leftParam, boxes, reach);

    band[0] = QPointF(x + w - b, y + b);
    band[1] = QPointF(x + w, y);
    band[2] = QPointF(x + w, y + h);
    band[3] = QPointF(x + w - b, y + h - b);
    drawBand(painter, tools, band, box.rightBorder, box.rightParam, boxes, reach);
}

} // namespace

void Bll_Painted_Item::paintBox(QPainter *painter)
{
    RetainedPainting::paintParameterBoxes(*this, painter, BoxSelection::all(m_boxHash.size()));
}

void RetainedPainting::paintParameterBoxes(Bll_Painted_Item &item, QPainter *painter,
                                           const BoxSelection &boxes)
{
    const Tools tools(painter->pen(), painter->brush(), item.m_boxStyle);
    const qreal reach = penReach(tools.borderPen);
    bool toolsInstalled = false;
    for (int i = 0; i < boxes.size(); ++i) {
        // Not const: painting keeps each label's layout in its record.
        auto &entry = item.m_boxHash.at(boxes[i]);
        if (!drawn(entry.record))
            continue;
        // Installed before the first box drawn, so no box's look depends on its place in the order.
        if (!toolsInstalled) {
            painter->setPen(tools.borderPen);
            painter->setBrush(tools.fillBrush);
            toolsInstalled = true;
        }
        drawBox(painter, tools, entry.boxId, entry.record, boxes, reach);
    }
}

PainterTools RetainedPainting::parameterBoxesExit(const Bll_Painted_Item &item,
                                                  const PainterTools &entry)
{
    PainterTools exit = entry;
    const auto &table = item.m_boxHash;
    int last = table.size() - 1;
    while (last >= 0 && !drawn(table.at(last).record))
        --last;
    if (last < 0)
        return exit;
    const Tools tools(entry.pen, entry.brush, item.m_boxStyle);
    exit.pen = tools.borderPen;
    exit.brush = tools.fillBrush;
    while (last >= 0 && !labelSize(table.at(last).record))
        --last;
    if (last >= 0)
        exit.font = BoxLabel::font(entry.font, labelSize(table.at(last).record));
    return exit;
}

QRectF RetainedPainting::parameterBoxExtent(const Bll_Painted_Item &item, const PainterTools &entry,
                                            int index, bool switched)
{
    const auto &row = item.m_boxHash.at(index);
    const BoxRecord &box = row.record;
    if (!drawn(box))
        return QRectF();
    const QRectF rect(box.x, box.y, box.width, box.height);
    // Bands reach a border width beyond the box when it is negative or wider than the box.
    const double b = qAbs(box.borderWidth);
    const double reach = b + penReach(StyleLookup::familyPen(entry.pen, item.m_boxStyle));
    const QRectF bands = rect.adjusted(-reach, -reach, reach, reach);
    // Sides switch the bands' brushes, nothing else.
    return switched ? bands : bands | labelExtent(rect, row.boxId, labelSize(box));
}
