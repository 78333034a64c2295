#include "recording_paint_device.h"

#include <QtGui/QTextItem>

class RecordingPaintEngine : public QPaintEngine
{
public:
    explicit RecordingPaintEngine(RecordingPaintDevice *device)
        : QPaintEngine(QPaintEngine::AllFeatures), m_device(device)
    {
    }

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override { }
    Type type() const override { return QPaintEngine::User; }

    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        DrawCall call = stateCall(DrawCall::Polygon);
        call.points = QPolygonF(QVector<QPointF>(points, points + count));
        call.polygonMode = mode;
        record(call);
    }
    void drawPolygon(const QPoint *points, int count, PolygonDrawMode mode) override
    {
        QVector<QPointF> pointsF;
        for (int i = 0; i < count; ++i)
            pointsF.append(points[i]);
        drawPolygon(pointsF.constData(), count, mode);
    }
    void drawRects(const QRect *rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            DrawCall call = stateCall(DrawCall::Rect);
            call.rect = rects[i];
            record(call);
        }
    }
    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            DrawCall call = stateCall(DrawCall::RectF);
            call.rectF = rects[i];
            record(call);
        }
    }
    void drawEllipse(const QRect &rect) override
    {
        DrawCall call = stateCall(DrawCall::Ellipse);
        call.rect = rect;
        record(call);
    }
    void drawEllipse(const QRectF &rect) override
    {
        DrawCall call = stateCall(DrawCall::EllipseF);
        call.rectF = rect;
        record(call);
    }
    void drawLines(const QLine *lines, int count) override
    {
        for (int i = 0; i < count; ++i) {
            DrawCall call = stateCall(DrawCall::Line);
            call.line = lines[i];
            record(call);
        }
    }
    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i) {
            DrawCall call = stateCall(DrawCall::LineF);
            call.lineF = lines[i];
            record(call);
        }
    }
    void drawPath(const QPainterPath &path) override
    {
        DrawCall call = stateCall(DrawCall::Path);
        call.path = path;
        record(call);
    }
    void drawTextItem(const QPointF &origin, const QTextItem &item) override
    {
        DrawCall call = stateCall(DrawCall::Text);
        call.text = item.text();
        call.textFont = item.font();
        call.textOrigin = origin;
        record(call);
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override
    {
        record(stateCall(DrawCall::Other));
    }

private:
    DrawCall stateCall(DrawCall::Kind kind) const
    {
        DrawCall call;
        call.kind = kind;
        if (const QPainter *p = painter()) {
            call.pen = p->pen();
            call.brush = p->brush();
            call.font = p->font();
            call.hints = p->renderHints();
        }
        return call;
    }
    void record(const DrawCall &call) { m_device->m_calls.append(call); }

    RecordingPaintDevice *m_device;
};

const char *drawCallKindName(DrawCall::Kind kind)
{
    switch (kind) {
    case DrawCall::Polygon: return "Polygon";
    case DrawCall::Rect: return "Rect";
    case DrawCall::RectF: return "RectF";
    case DrawCall::Ellipse: return "Ellipse";
    case DrawCall::EllipseF: return "EllipseF";
    case DrawCall::Line: return "Line";
    case DrawCall::LineF: return "LineF";
    case DrawCall::Path: return "Path";
    case DrawCall::Text: return "Text";
    case DrawCall::Other: return "Other";
    }
    return "?";
}

RecordingPaintDevice::RecordingPaintDevice(const QSize &size)
    : m_size(size), m_engine(new RecordingPaintEngine(this))
{
}

RecordingPaintDevice::~RecordingPaintDevice() = default;

QPaintEngine *RecordingPaintDevice::paintEngine() const
{
    return m_engine.get();
}

QVector<DrawCall> RecordingPaintDevice::calls(DrawCall::Kind kind) const
{
    QVector<DrawCall> matching;
    for (const DrawCall &call : m_calls) {
        if (call.kind == kind)
            matching.append(call);
    }
    return matching;
}

int RecordingPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_size.width();
    case PdmHeight: return m_size.height();
    case PdmWidthMM: return m_size.width() * 254 / 960;
    case PdmHeightMM: return m_size.height() * 254 / 960;
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
}
