#include "recording_paint_device.h"

#include <QtCore/QMetaEnum>
#include <QtGui/QTextItem>

namespace {

class RecordingPaintEngine : public QPaintEngine
{
public:
    explicit RecordingPaintEngine(QVector<DrawCall> *calls)
        : QPaintEngine(QPaintEngine::AllFeatures), m_calls(calls)
    {
    }

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override { }
    Type type() const override { return QPaintEngine::User; }

    // QPaintEngine hands the integer variants of these calls on to them.
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        record(DrawCall::Polygon, QVector<QPointF>(points, points + count)).polygonMode = mode;
    }
    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            record(DrawCall::Rect, {rects[i].topLeft(), {rects[i].width(), rects[i].height()}});
    }
    void drawEllipse(const QRectF &r) override
    {
        record(DrawCall::Ellipse, {r.topLeft(), {r.width(), r.height()}});
    }
    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            record(DrawCall::Line, {lines[i].p1(), lines[i].p2()});
    }
    void drawPath(const QPainterPath &path) override { record(DrawCall::Path, {}).path = path; }
    void drawTextItem(const QPointF &origin, const QTextItem &item) override
    {
        DrawCall &call = record(DrawCall::Text, {});
        call.text = item.text();
        call.textFont = item.font();
        call.textOrigin = origin;
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { }

private:
    DrawCall &record(DrawCall::Kind kind, const QVector<QPointF> &points)
    {
        DrawCall call;
        call.kind = kind;
        call.points = points;
        call.pen = painter()->pen();
        call.brush = painter()->brush();
        call.font = painter()->font();
        call.hints = painter()->renderHints();
        m_calls->append(call);
        return m_calls->last();
    }

    QVector<DrawCall> *m_calls;
};

const char *const kindNames[] = {"Polygon", "Rect", "Ellipse", "Line", "Path", "Text"};

} // namespace

RecordingPaintDevice::RecordingPaintDevice() : m_engine(new RecordingPaintEngine(&calls)) { }

RecordingPaintDevice::~RecordingPaintDevice() = default;

QPaintEngine *RecordingPaintDevice::paintEngine() const
{
    return m_engine.get();
}

// 1000 x 1000 pixels at 96 dots per inch, 32 bits deep.
int RecordingPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidthMM:
    case PdmHeightMM:
        return 264;
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDepth:
        return 32;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    default:
        return metric == PdmWidth || metric == PdmHeight ? 1000 : 96;
    }
}

QFont foundFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(7);
    return font;
}

QString penText(const QPen &pen)
{
    const QLatin1String style(QMetaEnum::fromType<Qt::PenStyle>().valueToKey(pen.style()));
    return pen.color().name() + ' ' + QString::number(pen.widthF()) + ' ' + style;
}

QString brushText(const QBrush &brush)
{
    const QLatin1String style(QMetaEnum::fromType<Qt::BrushStyle>().valueToKey(brush.style()));
    return brush.style() == Qt::NoBrush ? QString(style) : brush.color().name() + ' ' + style;
}

QStringList callTexts(const QVector<DrawCall> &calls, bool withTools)
{
    QStringList texts;
    for (const DrawCall &call : calls) {
        QPolygonF points = call.points;
        for (int i = 0; i < call.path.elementCount(); ++i)
            points << call.path.elementAt(i);
        QString text = QLatin1String(kindNames[call.kind]);
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
