#include "bench_scene.h"

#include "bll_painted_item.h"

#include <QtCore/QHash>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <algorithm>
#include <cmath>

namespace BenchScene {

namespace {

// A small generator whose sequence is the same everywhere, so every run and
// every peer gets the same scene.
class Random
{
public:
    explicit Random(quint32 seed) : m_state(seed) { }
    quint32 next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    double uniform(double low, double high) { return low + (high - low) * (next() / 16777216.0); }
    bool chance(double probability) { return next() / 16777216.0 < probability; }
    quint8 sides() { return quint8(next() % 15 + 1); }

private:
    quint32 m_state;
};

constexpr double sceneWidth = 1920.0;
constexpr double sceneHeight = 1080.0;

QVariantMap sidesMap(quint8 sides, bool value)
{
    QVariantMap map;
    if (sides & Top)
        map.insert(QStringLiteral("topBorder"), value);
    if (sides & Bottom)
        map.insert(QStringLiteral("bottomBorder"), value);
    if (sides & Left)
        map.insert(QStringLiteral("leftBorder"), value);
    if (sides & Right)
        map.insert(QStringLiteral("rightBorder"), value);
    return map;
}

// All four sides, each picked or not.
QVariantMap allSides(quint8 picked)
{
    return {{QStringLiteral("topBorder"), bool(picked & Top)},
            {QStringLiteral("bottomBorder"), bool(picked & Bottom)},
            {QStringLiteral("leftBorder"), bool(picked & Left)},
            {QStringLiteral("rightBorder"), bool(picked & Right)}};
}

QColor colorOf(const QVariantMap &style, const char *key)
{
    return Bll_Painted_Item::getTransformColor(style.value(QLatin1String(key)));
}

QPen withColor(QPen pen, const QColor &color)
{
    if (color.isValid())
        pen.setColor(color);
    return pen;
}

QPen familyPen(QPen pen, const QVariantMap &style)
{
    pen.setStyle(Qt::PenStyle(style.value(QStringLiteral("style")).toInt()));
    pen.setWidth(style.value(QStringLiteral("width")).toInt());
    return withColor(pen, colorOf(style, "color"));
}

QBrush solidOr(QBrush brush, const QColor &color)
{
    if (color.isValid()) {
        brush.setColor(color);
        brush.setStyle(Qt::SolidPattern);
    }
    return brush;
}

// Appends steps and keeps the painter state they leave, as a painter would.
class Recorder
{
public:
    Recorder(DrawList &list, const QPen &pen, const QBrush &brush, const QFont &font)
        : pen(pen), brush(brush), m_list(list), m_baseFont(font)
    {
    }

    void setPen(const QPen &newPen)
    {
        pen = newPen;
        add(DrawList::SetPen, m_list.pens, newPen);
    }
    void setBrush(const QBrush &newBrush)
    {
        brush = newBrush;
        add(DrawList::SetBrush, m_list.brushes, newBrush);
    }
    // The label font: the painter's font in "Verdana" at the label's pixel size. The
    // family and size replace those of whatever label font came before, so one font
    // per pixel size serves every box.
    void setLabelFont(int pixelSize)
    {
        auto it = m_fontIndex.constFind(pixelSize);
        if (it == m_fontIndex.cend()) {
            QFont font = m_baseFont;
            font.setFamily(QStringLiteral("Verdana"));
            font.setPixelSize(pixelSize);
            it = m_fontIndex.insert(pixelSize, m_list.fonts.size());
            m_list.fonts.append(font);
        }
        m_list.steps.append({DrawList::SetFont, *it});
    }
    void text(const QRectF &rect, const QString &text)
    {
        m_list.steps.append({DrawList::Text, int(m_list.texts.size())});
        m_list.textRects.append(rect);
        m_list.texts.append(text);
    }
    void polygon(std::initializer_list<QPointF> points)
    {
        add(DrawList::Polygon, m_list.polygons, QPolygonF(QVector<QPointF>(points)));
    }
    void rect(const QRect &rect) { add(DrawList::Rect, m_list.rects, rect); }
    void ellipse(const QRect &rect) { add(DrawList::Ellipse, m_list.rects, rect); }
    void line(const QLine &line) { add(DrawList::Line, m_list.lines, line); }
    void path(const QPainterPath &path) { add(DrawList::Path, m_list.paths, path); }

    QPen pen;
    QBrush brush;

private:
    template<typename T>
    void add(DrawList::Op op, QVector<T> &values, const T &value)
    {
        m_list.steps.append({op, int(values.size())});
        values.append(value);
    }

    DrawList &m_list;
    QFont m_baseFont;
    QHash<int, int> m_fontIndex;
};

int labelPixelSize(double w, double h)
{
    return int(std::min(w, h) / 5.0 + 1.0);
}

void parameterBoxes(Recorder &r, const Scene &scene)
{
    const QVariantMap &style = scene.boxStyle;
    const QPen borderPen = familyPen(r.pen, style);
    const QPen textPen = withColor(r.pen, colorOf(style, "textColor"));
    const QBrush fill = solidOr(r.brush, colorOf(style, "brushColor"));
    const QBrush pick = solidOr(r.brush, colorOf(style, "pickBorderColor"));
    const QBrush param = solidOr(r.brush, colorOf(style, "paramBorderColor"));
    const QBrush pickParam = solidOr(r.brush, colorOf(style, "pickParamBorderColor"));

    bool installed = false;
    for (const Box &box : scene.boxes) {
        const double x = box.x, y = box.y, w = box.width, h = box.height, b = box.borderWidth;
        if (box.kind != Box::Parameter || !(w > 1.0 && h > 1.0))
            continue;
        if (!installed) {
            r.setPen(borderPen);
            r.setBrush(fill);
            installed = true;
        }
        if (w > 10.0 && h > 10.0) {
            r.setLabelFont(labelPixelSize(w, h));
            r.setPen(textPen);
            r.text(QRectF(x, y, w, h), box.id);
            r.setPen(borderPen);
        }
        const std::initializer_list<QPointF> bands[4] = {
                {{x, y}, {x + w, y}, {x + w - b, y + b}, {x + b, y + b}},
                {{x + b, y + h - b}, {x + w - b, y + h - b}, {x + w, y + h}, {x, y + h}},
                {{x, y}, {x + b, y + b}, {x + b, y + h - b}, {x, y + h}},
                {{x + w - b, y + b}, {x + w, y}, {x + w, y + h}, {x + w - b, y + h - b}},
        };
        for (int side = 0; side < 4; ++side) {
            const bool picked = box.picked & (1 << side);
            const bool withParam = box.withParam & (1 << side);
            if (picked)
                r.setBrush(withParam ? pickParam : pick);
            else if (withParam)
                r.setBrush(param);
            r.polygon(bands[side]);
            r.setBrush(fill);
        }
    }
}

void dviBoxes(Recorder &r, const Scene &scene)
{
    const QPen labelPen = familyPen(r.pen, scene.dviStyle);
    const QColor markerColor = colorOf(scene.dviStyle, "brushColor");
    const QPen markerPen = withColor(r.pen, markerColor);
    const QBrush markerBrush = solidOr(r.brush, markerColor);
    r.setPen(labelPen);
    r.setBrush(markerBrush);

    for (const Box &box : scene.boxes) {
        const double x = box.x, y = box.y, w = box.width, h = box.height, b = box.borderWidth;
        if (box.kind != Box::Dvi || !(w > 1.0 && h > 1.0))
            continue;
        if (w > 5.0 && h > 5.0) {
            r.setLabelFont(labelPixelSize(w, h));
            if (box.showText) {
                r.setPen(labelPen);
                r.text(QRectF(x, y, w, h), box.id);
            }
        }
        r.setPen(markerPen);
        const double xr = x + w, yb = y + h;
        if (box.markers & Top) {
            r.polygon({{x + 4 * b, y + 3 * b}, {x + 5 * b, y + b}, {x + 6 * b, y + 3 * b}});
            r.polygon({{xr - 4 * b, y + 3 * b}, {xr - 5 * b, y + b}, {xr - 6 * b, y + 3 * b}});
        }
        if (box.markers & Bottom) {
            r.polygon({{x + 4 * b, yb - 3 * b}, {x + 5 * b, yb - b}, {x + 6 * b, yb - 3 * b}});
            r.polygon({{xr - 4 * b, yb - 3 * b}, {xr - 5 * b, yb - b}, {xr - 6 * b, yb - 3 * b}});
        }
        if (box.markers & Left) {
            r.polygon({{x + 3 * b, y + 4 * b}, {x + b, y + 5 * b}, {x + 3 * b, y + 6 * b}});
            r.polygon({{x + 3 * b, yb - 4 * b}, {x + b, yb - 5 * b}, {x + 3 * b, yb - 6 * b}});
        }
        if (box.markers & Right) {
            r.polygon({{xr - 3 * b, y + 4 * b}, {xr - b, y + 5 * b}, {xr - 3 * b, y + 6 * b}});
            r.polygon({{xr - 3 * b, yb - 4 * b}, {xr - b, yb - 5 * b}, {xr - 3 * b, yb - 6 * b}});
        }
    }
}

void simpleBoxes(Recorder &r, const Scene &scene)
{
    const QVariantMap &style = scene.simpleStyle;
    const QPen outlinePen = familyPen(r.pen, style);
    const QPen labelPen = withColor(r.pen, colorOf(style, "textColor"));
    const QBrush fill = solidOr(r.brush, colorOf(style, "brushColor"));
    const QBrush hover = solidOr(r.brush, colorOf(style, "isHoverColor"));
    const QBrush selection = solidOr(r.brush, colorOf(style, "isSelectedColor"));

    bool installed = false;
    for (const Box &box : scene.boxes) {
        const double w = box.width, h = box.height;
        if (box.kind != Box::Simple || !(w > 1.0 && h > 1.0))
            continue;
        if (!installed) {
            r.setPen(outlinePen);
            installed = true;
        }
        r.setBrush(box.selected ? selection : box.hover ? hover : fill);
        r.rect(QRect(int(box.x), int(box.y), int(w), int(h)));
        if (w > 10.0 && h > 10.0) {
            r.setLabelFont(labelPixelSize(w, h));
            r.setPen(labelPen);
            r.text(QRectF(box.x, box.y, w, h), box.id);
            r.setPen(outlinePen);
        }
    }
}

QPen shapePen(const QVariantMap &style, const QPen &fallback)
{
    QPen pen;
    pen.setStyle(style.contains(QStringLiteral("style"))
                         ? Qt::PenStyle(style.value(QStringLiteral("style")).toInt())
                         : fallback.style());
    pen.setWidth(style.contains(QStringLiteral("width"))
                         ? style.value(QStringLiteral("width")).toInt()
                         : fallback.width());
    const QColor color = colorOf(style, "color");
    pen.setColor(!style.contains(QStringLiteral("color")) ? fallback.color()
                         : color.isValid()                ? color
                                                          : QColor(Qt::black));
    return pen;
}

QBrush shapeBrush(const QVariantMap &style)
{
    const QColor color = colorOf(style, "brushColor");
    return style.contains(QStringLiteral("brushColor")) && color.isValid()
            ? QBrush(color, Qt::SolidPattern)
            : QBrush(Qt::NoBrush);
}

void rectLike(Recorder &r, const ShapeScene &scene, Shape::Kind kind)
{
    const QVariantMap &family = kind == Shape::Rect ? scene.rectStyle : scene.ellipseStyle;
    QPen defaults;
    defaults.setColor(Qt::black);
    const QPen familyPen = shapePen(family, defaults);
    const QBrush familyBrush = shapeBrush(family);
    r.setBrush(familyBrush);
    r.setPen(familyPen);
    for (const Shape &shape : scene.shapes) {
        if (shape.kind != kind)
            continue;
        const QRect rect(int(shape.a), int(shape.b), int(shape.c), int(shape.d));
        const auto draw = [&] { kind == Shape::Rect ? r.rect(rect) : r.ellipse(rect); };
        if (shape.style.isEmpty()) {
            draw();
            continue;
        }
        if (shape.style.contains(QStringLiteral("brushColor")))
            r.setBrush(shapeBrush(shape.style));
        r.setPen(shapePen(shape.style, familyPen));
        draw();
        r.setPen(familyPen);
        r.setBrush(familyBrush);
    }
}

void lines(Recorder &r, const ShapeScene &scene)
{
    QPen defaults;
    defaults.setColor(Qt::black);
    const QPen familyPen = shapePen(scene.lineStyle, defaults);
    r.setPen(familyPen);
    QPainterPath path;
    bool first = true;
    for (const Shape &shape : scene.shapes) {
        if (shape.kind != Shape::Line)
            continue;
        const bool own = !shape.style.isEmpty();
        if (own)
            r.setPen(shapePen(shape.style, familyPen));
        r.line(QLine(int(shape.a), int(shape.b), int(shape.c), int(shape.d)));
        if (own)
            r.setPen(familyPen);
        if (first)
            path.moveTo(shape.a, shape.b);
        path.lineTo(shape.c, shape.d);
        first = false;
    }
    r.setBrush(shapeBrush(scene.lineStyle));
    r.path(path);
}

} // namespace

Scene mixedScene(int count, quint32 seed)
{
    Random random(seed);
    Scene scene;
    scene.boxes.reserve(count);
    for (int i = 0; i < count; ++i) {
        Box box;
        const double kind = random.uniform(0, 1);
        box.kind = kind < 0.4 ? Box::Parameter : kind < 0.7 ? Box::Dvi : Box::Simple;
        const char prefix = "PDS"[box.kind];
        box.id = QLatin1Char(prefix) + QString::number(i);
        // One box in fifty is too small for a label.
        const bool tiny = random.chance(0.02);
        box.width = tiny ? random.uniform(4, 10) : random.uniform(30, 150);
        box.height = tiny ? random.uniform(4, 10) : random.uniform(16, 70);
        box.x = random.uniform(0, sceneWidth - box.width);
        box.y = random.uniform(0, sceneHeight - box.height);
        switch (box.kind) {
        case Box::Parameter:
            box.borderWidth = random.uniform(2, 5);
            box.picked = random.chance(0.3) ? random.sides() : 0;
            box.withParam = random.chance(0.25) ? random.sides() : 0;
            break;
        case Box::Dvi:
            box.borderWidth = random.uniform(1.5, 3);
            box.markers = random.chance(0.6) ? random.sides() : 0;
            box.showText = !random.chance(0.05);
            break;
        case Box::Simple:
            box.hover = random.chance(0.01);
            box.selected = random.chance(0.01);
            break;
        }
        scene.boxes.append(box);
    }

    const auto map = [](std::initializer_list<std::pair<const char *, QVariant>> values) {
        QVariantMap result;
        for (const auto &value : values)
            result.insert(QLatin1String(value.first), value.second);
        return result;
    };
    scene.boxStyle = map({{"style", 1},
                          {"width", 1},
                          {"color", QStringLiteral("#30343c")},
                          {"textColor", QStringLiteral("#1a1a1a")},
                          {"fillColor", QStringLiteral("#ffffff")},
                          {"brushColor", QStringLiteral("#dde6ee")},
                          {"pickBorderColor", QStringLiteral("#f0b000")},
                          {"paramBorderColor", QStringLiteral("#4a90d9")},
                          {"pickParamBorderColor", QStringLiteral("#d0402a")}});
    scene.dviStyle = map({{"style", 1},
                          {"width", 1},
                          {"color", QStringLiteral("#102040")},
                          {"brushColor", QStringLiteral("#2a8040")}});
    scene.simpleStyle = map({{"style", 1},
                             {"width", 1},
                             {"color", QStringLiteral("#505560")},
                             {"textColor", QStringLiteral("#000000")},
                             {"fillColor", QStringLiteral("#ffffff")},
                             {"brushColor", QStringLiteral("#f4f4f4")},
                             {"isHoverColor", QStringLiteral("#ffe08a")},
                             {"isSelectedColor", QStringLiteral("#8ac6ff")}});
    return scene;
}

Scene spreadScene(int count, quint32 seed)
{
    Scene scene = mixedScene(count, seed);
    const double scale = std::sqrt(std::max(1.0, count / 1000.0));
    for (Box &box : scene.boxes) {
        box.x *= scale;
        box.y *= scale;
    }
    return scene;
}

Scene gridScene(int count, quint32 seed)
{
    Scene scene = mixedScene(count, seed);
    const int columns = qMax(1, int(std::ceil(std::sqrt(count * 1920.0 / 1080.0))));
    const int rows = (count + columns - 1) / columns;
    const double width = 1920.0 / columns, height = 1080.0 / qMax(rows, 1);
    for (int i = 0; i < scene.boxes.size(); ++i) {
        Box &box = scene.boxes[i];
        box.x = (i % columns) * width;
        box.y = (i / columns) * height;
        box.width = width * 0.9;
        box.height = height * 0.9;
        box.borderWidth = std::min(box.borderWidth, std::min(width, height) / 8);
    }
    return scene;
}

Scene nestedScene(int count, quint32 seed)
{
    Scene scene = mixedScene(count, seed);
    Random random(seed + 1);
    double covered = 0;
    for (Box &box : scene.boxes) {
        const double size = random.chance(1.0 / 3) ? 20 : random.chance(0.5) ? 200 : 2000;
        box.width = size * random.uniform(0.7, 1.5);
        box.height = size * random.uniform(0.35, 0.75);
        covered += box.width * box.height;
    }
    // As much of the area covered as on the spread scene, a 16:9 area.
    const double spreadCover = 1000 * 90.0 * 43.0 / (sceneWidth * sceneHeight);
    const double width = std::sqrt(covered / spreadCover * 16 / 9), height = width * 9 / 16;
    for (Box &box : scene.boxes) {
        box.x = random.uniform(0, width - box.width);
        box.y = random.uniform(0, height - box.height);
    }
    return scene;
}

void feed(Bll_Painted_Item &item, const Scene &scene)
{
    item.setBoxStyle(scene.boxStyle);
    item.setBoxDVIStyle(scene.dviStyle);
    item.setBoxSimpleStyle(scene.simpleStyle);
    for (const Box &box : scene.boxes) {
        switch (box.kind) {
        case Box::Parameter:
            item.addBoxF(box.id, box.x, box.y, box.width, box.height, box.borderWidth);
            if (box.withParam)
                item.updateBoxF(box.id, sidesMap(box.withParam, true));
            break;
        case Box::Dvi: {
            item.addBoxDVIF(box.id, box.x, box.y, box.width, box.height, box.borderWidth);
            QVariantMap switches = sidesMap(box.markers, true);
            if (!box.showText)
                switches.insert(QStringLiteral("showText"), false);
            if (!switches.isEmpty())
                item.updateBoxDVIF(box.id, switches);
            break;
        }
        case Box::Simple:
            item.addBoxSimpleF(box.id, box.x, box.y, box.width, box.height);
            if (box.hover || box.selected)
                item.updateBoxSimpleF(box.id,
                                      {{QStringLiteral("isHover"), box.hover},
                                       {QStringLiteral("isSelected"), box.selected}});
            break;
        }
    }
    // The sides to carry a parameter are picked now; they get it, then every box
    // takes its final picks.
    item.updateBoxParamF({{QStringLiteral("currentParam"), 2.0}});
    for (const Box &box : scene.boxes) {
        if (box.kind == Box::Parameter && (box.picked | box.withParam))
            item.updateBoxF(box.id, allSides(box.picked));
    }
}

DrawList boxDrawList(const Scene &scene, const QPen &pen, const QBrush &brush, const QFont &font)
{
    DrawList list;
    Recorder recorder(list, pen, brush, font);
    parameterBoxes(recorder, scene);
    dviBoxes(recorder, scene);
    simpleBoxes(recorder, scene);
    return list;
}

ShapeScene shapeScene(int count, quint32 seed)
{
    Random random(seed);
    ShapeScene scene;
    QPointF end(0, sceneHeight / 2);
    const double step = sceneWidth / std::max(1, count * 3 / 10);
    for (int i = 0; i < count; ++i) {
        Shape shape;
        const double kind = random.uniform(0, 1);
        shape.kind = kind < 0.4 ? Shape::Rect : kind < 0.7 ? Shape::Ellipse : Shape::Line;
        if (shape.kind == Shape::Line) {
            // One chart-like polyline across the item, a random walk.
            const double y = std::clamp(end.y() + random.uniform(-15, 15), 100.0, 980.0);
            const QPointF next(end.x() + step, y);
            shape.a = end.x(), shape.b = end.y(), shape.c = next.x(), shape.d = next.y();
            end = next;
        } else {
            shape.c = random.uniform(8, 60);
            shape.d = random.uniform(8, 60);
            shape.a = random.uniform(0, sceneWidth - shape.c);
            shape.b = random.uniform(0, sceneHeight - shape.d);
        }
        if (random.chance(1.0 / 6)) {
            switch (random.next() % 3) {
            case 0:
                shape.style.insert(QStringLiteral("color"), QStringLiteral("#c00000"));
                break;
            case 1:
                shape.style.insert(QStringLiteral("brushColor"), QStringLiteral("#80c080"));
                break;
            default:
                shape.style.insert(QStringLiteral("style"), 2);
                shape.style.insert(QStringLiteral("width"), 2);
                break;
            }
        }
        scene.shapes.append(shape);
    }
    const auto family = [](const char *color, const char *fill) {
        return QVariantMap {{QStringLiteral("style"), 1},
                            {QStringLiteral("width"), 1},
                            {QStringLiteral("color"), QLatin1String(color)},
                            {QStringLiteral("brushColor"), QLatin1String(fill)}};
    };
    scene.rectStyle = family("#404040", "#c8e0f0");
    scene.ellipseStyle = family("#604020", "#f0d8b0");
    scene.lineStyle = family("#203060", "#300060c0");
    return scene;
}

void feed(Bll_Painted_Item &item, const ShapeScene &scene)
{
    item.setRectStyle(scene.rectStyle);
    item.setEllipseStyle(scene.ellipseStyle);
    item.setLineStyle(scene.lineStyle);
    for (const Shape &shape : scene.shapes) {
        switch (shape.kind) {
        case Shape::Rect:
            item.addRectF(shape.a, shape.b, shape.c, shape.d, shape.style);
            break;
        case Shape::Ellipse:
            item.addEllipseF(shape.a, shape.b, shape.c, shape.d, shape.style);
            break;
        case Shape::Line:
            item.addLineF(shape.a, shape.b, shape.c, shape.d, shape.style);
            break;
        }
    }
}

DrawList shapeDrawList(const ShapeScene &scene, const QBrush &brush)
{
    DrawList list;
    Recorder recorder(list, QPen(), brush, QFont());
    rectLike(recorder, scene, Shape::Rect);
    rectLike(recorder, scene, Shape::Ellipse);
    lines(recorder, scene);
    return list;
}

void replay(QPainter *painter, const DrawList &list)
{
    painter->setRenderHint(QPainter::Antialiasing, true);
    for (const DrawList::Step &step : list.steps) {
        const int i = step.index;
        switch (step.op) {
        case DrawList::SetPen:
            painter->setPen(list.pens[i]);
            break;
        case DrawList::SetBrush:
            painter->setBrush(list.brushes[i]);
            break;
        case DrawList::SetFont:
            painter->setFont(list.fonts[i]);
            break;
        case DrawList::Text:
            painter->drawText(list.textRects[i], Qt::AlignCenter, list.texts[i]);
            break;
        case DrawList::Polygon:
            painter->drawPolygon(list.polygons[i], Qt::OddEvenFill);
            break;
        case DrawList::Rect:
            painter->drawRect(list.rects[i]);
            break;
        case DrawList::Ellipse:
            painter->drawEllipse(list.rects[i]);
            break;
        case DrawList::Line:
            painter->drawLines(&list.lines[i], 1);
            break;
        case DrawList::Path:
            painter->drawPath(list.paths[i]);
            break;
        }
    }
}

namespace {
// paint() is protected: Qt Quick calls it through the base class.
class FramedItem : public Bll_Painted_Item
{
public:
    using Bll_Painted_Item::paint;
};
} // namespace

void paintFrame(Bll_Painted_Item &item, QImage &target)
{
    QPainter painter(&target);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(target.rect(), item.fillColor());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    (item.*(&FramedItem::paint))(&painter);
}

} // namespace BenchScene
