#ifndef RECORDING_PAINT_DEVICE_H
#define RECORDING_PAINT_DEVICE_H

#include <QtCore/QLine>
#include <QtCore/QRect>
#include <QtCore/QString>
#include <QtCore/QVector>
#include <QtGui/QBrush>
#include <QtGui/QFont>
#include <QtGui/QPaintDevice>
#include <QtGui/QPaintEngine>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QPen>
#include <QtGui/QPolygonF>

#include <memory>

// One draw call as the paint engine received it, with the painter state in force.
struct DrawCall
{
    enum Kind { Polygon, Rect, RectF, Ellipse, EllipseF, Line, LineF, Path, Text, Other };

    Kind kind = Other;
    QPolygonF points;                       // Polygon: its points
    QPaintEngine::PolygonDrawMode polygonMode = QPaintEngine::OddEvenMode;
    QRect rect;                             // Rect, Ellipse
    QRectF rectF;                           // RectF, EllipseF
    QLine line;                             // Line
    QLineF lineF;                           // LineF
    QPainterPath path;                      // Path
    QString text;                           // Text: the item's text
    QFont textFont;                         // Text: the font the item was laid out in
    QPointF textOrigin;                     // Text: the baseline origin of the item

    QPen pen;
    QBrush brush;
    QFont font;
    QPainter::RenderHints hints;
};

const char *drawCallKindName(DrawCall::Kind kind);

// A paint device whose engine draws nothing and records every call: what was
// drawn, and with which pen, brush, font and render hints. Multi-element calls
// (several rects or lines at once) are recorded as one call per element.
class RecordingPaintDevice : public QPaintDevice
{
public:
    explicit RecordingPaintDevice(const QSize &size = QSize(1000, 1000));
    ~RecordingPaintDevice() override;

    QPaintEngine *paintEngine() const override;

    const QVector<DrawCall> &calls() const { return m_calls; }
    QVector<DrawCall> calls(DrawCall::Kind kind) const;
    void clear() { m_calls.clear(); }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    friend class RecordingPaintEngine;
    QSize m_size;
    QVector<DrawCall> m_calls;
    std::unique_ptr<QPaintEngine> m_engine;
};

#endif // RECORDING_PAINT_DEVICE_H
