#ifndef PAINTED_H
#define PAINTED_H

#include "recording_paint_device.h"

#include <QtCore/QMetaEnum>
#include <QtCore/QStringList>

// What one painter function drew, and the pen, brush and font it left behind.
struct Painted
{
    QVector<DrawCall> calls;
    QPen pen;
    QBrush brush;
    QFont font;
    QFont foundFont; // the font the painter held before
};

// Runs paintFunction (e.g. &TestItem::paintBoxDVI) on a recording painter that
// starts with startPen and startBrush, as the previous painter would have left them.
template<typename Item, typename PaintFunction>
Painted paintWith(Item &item, PaintFunction paintFunction, const QPen &startPen = QPen(),
                  const QBrush &startBrush = QBrush())
{
    RecordingPaintDevice device;
    QPainter painter(&device);
    painter.setPen(startPen);
    painter.setBrush(startBrush);
    const QFont foundFont = painter.font();
    (item.*paintFunction)(&painter);
    Painted painted {device.calls(), painter.pen(), painter.brush(), painter.font(), foundFont};
    painter.end();
    return painted;
}

// Pens, brushes and draw calls as short text, so that a failed comparison reads like a row name.
inline QString penText(const QPen &pen)
{
    const QLatin1String style(QMetaEnum::fromType<Qt::PenStyle>().valueToKey(pen.style()));
    return pen.color().name() + ' ' + QString::number(pen.widthF()) + ' ' + style;
}

inline QString brushText(const QBrush &brush)
{
    const QLatin1String style(QMetaEnum::fromType<Qt::BrushStyle>().valueToKey(brush.style()));
    return brush.style() == Qt::NoBrush ? QString(style) : brush.color().name() + ' ' + style;
}

// "Text a 5px", "Polygon (18,26) (20,22) (22,26)", "Line (x1,y1) (x2,y2)", "Rect (x,y) (w,h)",
// "Path" and its points; withTools adds the pen, and for all but text the brush.
inline QStringList callTexts(const QVector<DrawCall> &calls, bool withTools = false)
{
    QStringList texts;
    for (const DrawCall &call : calls) {
        QPolygonF points = call.points;
        for (int i = 0; i < call.path.elementCount(); ++i)
            points << call.path.elementAt(i);
        if (call.kind == DrawCall::Line)
            points << call.line.p1() << call.line.p2();
        if (call.kind == DrawCall::Rect || call.kind == DrawCall::Ellipse)
            points << call.rect.topLeft() << QPointF(call.rect.width(), call.rect.height());
        QString text = QLatin1String(drawCallKindName(call.kind));
        if (call.kind == DrawCall::Text)
            text += QStringLiteral(" %1 %2px").arg(call.text).arg(call.font.pixelSize());
        for (const QPointF &p : points)
            text += QStringLiteral(" (%1,%2)").arg(p.x(), 0, 'g', 12).arg(p.y(), 0, 'g', 12);
        if (withTools)
            text += ", " + penText(call.pen)
                    + (call.kind == DrawCall::Text ? QString() : ", " + brushText(call.brush));
        texts << text;
    }
    return texts;
}

#endif // PAINTED_H
