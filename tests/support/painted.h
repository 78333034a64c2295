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

    QVector<DrawCall> callsOf(DrawCall::Kind kind) const
    {
        QVector<DrawCall> matching;
        for (const DrawCall &call : calls)
            if (call.kind == kind)
                matching << call;
        return matching;
    }
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

// Pens and brushes as short text, so that a failed comparison reads like the row names.
inline QString colorText(const QColor &color)
{
    return color.isValid() ? color.name() : QStringLiteral("invalid");
}

inline QString penText(const QPen &pen)
{
    return QStringLiteral("%1 %2 %3")
            .arg(colorText(pen.color()))
            .arg(pen.widthF())
            .arg(QLatin1String(QMetaEnum::fromType<Qt::PenStyle>().valueToKey(pen.style())));
}

inline QString brushText(const QBrush &brush)
{
    const QLatin1String style(QMetaEnum::fromType<Qt::BrushStyle>().valueToKey(brush.style()));
    return brush.style() == Qt::NoBrush
            ? QString(style)
            : QStringLiteral("%1 %2").arg(colorText(brush.color()), style);
}

inline QStringList penTexts(const QVector<DrawCall> &calls)
{
    QStringList texts;
    for (const DrawCall &call : calls)
        texts << penText(call.pen);
    return texts;
}

inline QStringList brushTexts(const QVector<DrawCall> &calls)
{
    QStringList texts;
    for (const DrawCall &call : calls)
        texts << brushText(call.brush);
    return texts;
}

#endif // PAINTED_H
