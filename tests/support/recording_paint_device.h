#ifndef RECORDING_PAINT_DEVICE_H
#define RECORDING_PAINT_DEVICE_H

#include <QtCore/QStringList>
#include <QtGui/QPaintDevice>
#include <QtGui/QPaintEngine>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include <memory>

// One draw call as the paint engine received it, with the painter state in force.
struct DrawCall
{
    enum Kind { Polygon, Rect, Ellipse, Line, Path, Text };

    Kind kind;
    QPolygonF points; // Polygon: its points; Rect, Ellipse: top left and size; Line: its ends
    QPainterPath path;
    QString text; // Text: one text item, laid out in textFont with its baseline at textOrigin
    QFont textFont;
    QPointF textOrigin;
    QPaintEngine::PolygonDrawMode polygonMode = QPaintEngine::OddEvenMode;
    QPen pen;
    QBrush brush;
    QFont font;
    QPainter::RenderHints hints;
};

// A paint device whose engine draws nothing and records every call, one call per element of
// calls that draw several rects or lines at once.
class RecordingPaintDevice : public QPaintDevice
{
public:
    RecordingPaintDevice();
    ~RecordingPaintDevice() override;
    QPaintEngine *paintEngine() const override;

    QVector<DrawCall> calls;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    std::unique_ptr<QPaintEngine> m_engine;
};

// What one painter function drew, and the pen, brush and font it left on the painter.
struct Painted
{
    QVector<DrawCall> calls;
    QPen pen;
    QBrush brush;
    QFont font;
};

// The font a painter is found holding: "DejaVu Sans" at 7 pixels.
QFont foundFont();

// Runs paint (e.g. &TestItem::paintBoxDVI) on a recording painter that holds startPen,
// startBrush and foundFont(), as the previous family would have left them.
template<typename Item, typename PaintFunction>
Painted paintWith(Item &item, PaintFunction paint, const QPen &startPen = QPen(),
                  const QBrush &startBrush = QBrush())
{
    RecordingPaintDevice device;
    QPainter painter(&device);
    painter.setPen(startPen);
    painter.setBrush(startBrush);
    painter.setFont(foundFont());
    (item.*paint)(&painter);
    return {device.calls, painter.pen(), painter.brush(), painter.font()};
}

// Pens, brushes and draw calls as short text, so that a failed comparison reads like a row:
// "#ff0000 2 DashLine", "#0000ff SolidPattern", "NoBrush"; "Text a 5px", "Line (1,2) (3,4)",
// "Polygon (18,26) (20,22) (22,26)", "Rect (x,y) (w,h)", "Path" and its points. withTools adds
// the pen, and for all but text the brush.
QString penText(const QPen &pen);
QString brushText(const QBrush &brush);
QStringList callTexts(const QVector<DrawCall> &calls, bool withTools = false);

#endif // RECORDING_PAINT_DEVICE_H
