#include "retained_painting.h"

#include "../boxes/box_label.h"
#include "../boxes/dvi_box_record.h"
#include "../boxes/parameter_box_record.h"
#include "../boxes/simple_box_record.h"
#include "bll_painted_item.h"

#include <QtCore/QHash>
#include <QtCore/QLoggingCategory>
#include <QtCore/QMutex>
#include <QtGui/QImage>
#include <QtGui/QPaintEngine>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtGui/QRegion>
#include <QtQml/qqmlprivate.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <typeinfo>

PainterTools PainterTools::of(const QPainter *painter)
{
    return {painter->pen(), painter->brush(), painter->font()};
}

void PainterTools::install(QPainter *painter) const
{
    painter->setPen(pen);
    painter->setBrush(brush);
    painter->setFont(font);
}

bool PainterTools::operator==(const PainterTools &other) const
{
    return pen == other.pen && brush == other.brush && font == other.font;
}

// QT_LOGGING_RULES="bll.painteditem.retained.debug=true" tells, frame by frame, what was
// repainted, or why everything was.
Q_LOGGING_CATEGORY(lcRetained, "bll.painteditem.retained", QtWarningMsg)

namespace {

// Everything about a painter and its device that decides a frame's pixels, besides the item's
// own records and styles.
struct Target
{
    static Target of(QPainter *painter)
    {
        Target target;
        QPaintDevice *device = painter->device();
        const QPaintEngine *engine = painter->paintEngine();
        const bool raster = engine && engine->type() == QPaintEngine::Raster;
        if (raster && device->devType() == QInternal::Image) {
            target.image = static_cast<QImage *>(device);
            target.size = target.image->size();
            target.format = target.image->format();
        } else if (raster && device->devType() == QInternal::Pixmap) {
            target.pixmap = static_cast<QPixmap *>(device);
            target.size = target.pixmap->size();
            target.format = target.pixmap->hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                             : QImage::Format_RGB32;
        }
        target.ratio = device->devicePixelRatioF();
        target.transform = painter->worldTransform();
        target.hints = painter->renderHints();
        target.direction = painter->layoutDirection();
        target.tools = PainterTools::of(painter);
        // A clip, another composition mode, opacity or background, or a brush origin each
        // change the pixels in ways the kept frame does not follow.
        target.plain = !painter->hasClipping()
                && painter->compositionMode() == QPainter::CompositionMode_SourceOver
                && painter->opacity() == 1.0 && painter->backgroundMode() == Qt::TransparentMode
                && painter->brushOrigin() == QPointF() && target.transform.isInvertible();
        return target;
    }

    bool retainable() const
    {
        return (image || pixmap) && plain && !size.isEmpty()
                && QImage::toPixelFormat(format).bitsPerPixel() == 32;
    }

    bool operator==(const Target &other) const
    {
        return image == other.image && pixmap == other.pixmap && size == other.size
                && format == other.format && ratio == other.ratio && transform == other.transform
                && hints == other.hints && direction == other.direction && tools == other.tools;
    }

    // The device's area in the painter's coordinates before its world transform.
    QRect area() const { return QRect(QPoint(0, 0), (QSizeF(size) / ratio).toSize()); }

    QImage *image = nullptr;
    QPixmap *pixmap = nullptr;
    QSize size;
    QImage::Format format = QImage::Format_Invalid;
    qreal ratio = 1;
    QTransform transform;
    QPainter::RenderHints hints;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    PainterTools tools;
    bool plain = false;
};

// What the item keeps of its last frame.
struct Frame
{
    QImage image; // the last frame's pixels
    Target target; // and what they were painted on, and with
    QColor fillColor;
    quint32 background = 0; // the one colour found on the device before painting
    int fontGeneration = 0;
    PainterTools exits[BoxFamilyCount]; // what each family left for the next
    QVector<QRectF> extents[BoxFamilyCount]; // where each box may draw, in item coordinates
    QVector<int> added[BoxFamilyCount]; // boxes added (or added again) since
    QVector<int> switched[BoxFamilyCount]; // boxes whose sides or states were switched since
    int changes = 0; // entries in added and switched
    bool valid = false; // image holds the last frame, painted as target describes
    bool everything = true; // so much changed since that only a full frame will do
};

// Past these a full frame costs less than working out and copying around the damage.
constexpr int maxChangedBoxes = 64;
constexpr int maxDamageRects = 64;

// Frames are kept beside the items rather than in them, so that the item's layout stays as it
// is. Items of several windows may paint at once, on render threads of their own.
QMutex framesMutex;
QHash<const Bll_Painted_Item *, Frame *> frames;
std::atomic<int> frameCount {0};

Frame *findFrame(const Bll_Painted_Item *item)
{
    if (frameCount.load(std::memory_order_relaxed) == 0)
        return nullptr;
    QMutexLocker locker(&framesMutex);
    return frames.value(item);
}

Frame &obtainFrame(const Bll_Painted_Item *item)
{
    QMutexLocker locker(&framesMutex);
    Frame *&frame = frames[item];
    if (!frame) {
        frame = new Frame;
        ++frameCount;
    }
    return *frame;
}

// Extents beyond reach (or not finite) are unbounded.
QRectF bounded(const QRectF &extent)
{
    return extent.isNull() || withinReach(extent) ? extent : RetainedPainting::unbounded();
}

QRectF extentOf(const Bll_Painted_Item &item, BoxFamily family, const PainterTools &entry,
                int index, bool switched = false)
{
    switch (family) {
    case ParameterBoxes:
        return bounded(RetainedPainting::parameterBoxExtent(item, entry, index, switched));
    case DviBoxes:
        return bounded(RetainedPainting::dviBoxExtent(item, entry, index, switched));
    default:
        return bounded(RetainedPainting::simpleBoxExtent(item, entry, index, switched));
    }
}

// Copies `area` of the device's pixels (in the device's own coordinates) into the kept image.
void keepPixels(const Target &target, QImage &kept, const QRegion &area)
{
    QPainter painter(&kept);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setClipRegion(area);
    if (target.image)
        painter.drawImage(QPointF(0, 0), *target.image);
    else
        painter.drawPixmap(QPointF(0, 0), *target.pixmap);
}

// Whether every pixel of the image is `colour`; the first pixel when colour is null.
bool uniform(const QImage &image, quint32 *colour)
{
    const int width = image.width();
    const auto *first = reinterpret_cast<const quint32 *>(image.constScanLine(0));
    *colour = *first;
    for (int x = 0; x < width; ++x)
        if (first[x] != *colour)
            return false;
    for (int y = 1; y < image.height(); ++y)
        if (std::memcmp(image.constScanLine(y), first, width * sizeof(quint32)) != 0)
            return false;
    return true;
}

} // namespace

QRectF RetainedPainting::unbounded()
{
    constexpr double far = 1e12;
    return QRectF(-far, -far, 2 * far, 2 * far);
}

qreal RetainedPainting::penReach(const QPen &pen)
{
    if (pen.style() == Qt::NoPen)
        return 0;
    // Half the width either side of the outline, and a miter join's point beyond that.
    const qreal width = qMax<qreal>(pen.widthF(), 1);
    return width * qMax<qreal>(pen.miterLimit(), 1) + 1;
}

QRectF RetainedPainting::labelExtent(const QRectF &box, const QString &label, int pixelSize)
{
    if (pixelSize <= 0)
        return QRectF();
    // Overhangs, accents and underlines stay within an em of the label's box; marks stacked on
    // a letter may reach any distance.
    for (const QChar c : label) {
        if (c.isMark())
            return unbounded();
    }
    return box.adjusted(-pixelSize, -pixelSize, pixelSize, pixelSize);
}

void RetainedPainting::boxChanged(const Bll_Painted_Item *item, BoxFamily family, int index,
                                  Change change)
{
    Frame *frame = findFrame(item);
    if (!frame || frame->everything)
        return;
    (change == Added ? frame->added : frame->switched)[family].append(index);
    // Past a few dozen changed boxes (all of them moved, say) a full frame costs less than
    // working out their damage, and the lists stop growing between frames.
    if (++frame->changes > maxChangedBoxes) {
        frame->everything = true;
        frame->changes = 0;
        for (int f = 0; f < BoxFamilyCount; ++f) {
            frame->added[f].clear();
            frame->switched[f].clear();
        }
    }
}

void RetainedPainting::everythingChanged(const Bll_Painted_Item *item)
{
    if (Frame *frame = findFrame(item))
        frame->everything = true;
}

void RetainedPainting::forget(const Bll_Painted_Item *item)
{
    if (frameCount.load(std::memory_order_relaxed) == 0)
        return;
    QMutexLocker locker(&framesMutex);
    if (Frame *frame = frames.take(item)) {
        delete frame;
        --frameCount;
    }
}

int RetainedPainting::boxCount(const Bll_Painted_Item &item, BoxFamily family)
{
    switch (family) {
    case ParameterBoxes:
        return item.m_boxHash.size();
    case DviBoxes:
        return item.m_boxDVIHash.size();
    default:
        return item.m_boxSimpleHash.size();
    }
}

namespace {

// The tools each family starts from, after a pass that starts from `entry`, and what the last
// one leaves: tools[family], and tools[BoxFamilyCount] at the end.
struct FamilyTools
{
    FamilyTools(const Bll_Painted_Item &item, const PainterTools &entry)
    {
        tools[ParameterBoxes] = entry;
        tools[DviBoxes] = RetainedPainting::parameterBoxesExit(item, entry);
        tools[SimpleBoxes] = RetainedPainting::dviBoxesExit(item, tools[DviBoxes]);
        tools[BoxFamilyCount] = RetainedPainting::simpleBoxesExit(item, tools[SimpleBoxes]);
    }
    PainterTools tools[BoxFamilyCount + 1];
};

// A frame that paints only the boxes that changed and those that overlap where the changed ones
// were and are (the damage); the kept image gives everything else. False when a full frame is
// due after all: the families would start from other tools, or most of the area (or many
// places) changed.
bool repaintChanges(Bll_Painted_Item &item, QPainter *painter, Frame &frame, const Target &target)
{
    using R = RetainedPainting;
    const FamilyTools families(item, target.tools);
    const PainterTools *tools = families.tools;
    if (!(tools[DviBoxes] == frame.exits[ParameterBoxes])
        || !(tools[SimpleBoxes] == frame.exits[DviBoxes])) {
        qCDebug(lcRetained, "full frame: a family starts from other tools");
        return false;
    }

    const QRect area = target.area();
    const QRectF margin = QRectF(area).adjusted(-4, -4, 4, 4);
    QRegion damage;
    const auto damaged = [&](const QRectF &extent) {
        if (extent.isEmpty())
            return;
        // Antialiasing may touch the pixel next to a shape's edge.
        const QRectF onDevice = target.transform.mapRect(extent).intersected(margin);
        damage |= onDevice.toAlignedRect().adjusted(-2, -2, 2, 2) & area;
    };
    for (int family = 0; family < BoxFamilyCount; ++family) {
        QVector<QRectF> &extents = frame.extents[family];
        extents.resize(R::boxCount(item, BoxFamily(family)));
        for (const int i : qAsConst(frame.added[family])) {
            const QRectF now = extentOf(item, BoxFamily(family), tools[family], i);
            damaged(extents[i] | now); // where the box was, and is
            extents[i] = now;
        }
        for (const int i : qAsConst(frame.switched[family]))
            damaged(extentOf(item, BoxFamily(family), tools[family], i, true));
        frame.added[family].clear();
        frame.switched[family].clear();
    }
    frame.changes = 0;
    qint64 damagedArea = 0;
    for (const QRect &rect : damage)
        damagedArea += qint64(rect.width()) * rect.height();
    // A damage of many pieces costs more to clip to and copy around than a full frame.
    if (2 * damagedArea > qint64(area.width()) * area.height()
        || damage.rectCount() > maxDamageRects) {
        qCDebug(lcRetained, "full frame: most of the area, or many places, changed");
        return false;
    }

    // Every box that may draw into the damage, in paint order.
    const QTransform toItem = target.transform.inverted();
    QVector<QRectF> itemDamage;
    for (const QRect &rect : damage)
        itemDamage << toItem.mapRect(QRectF(rect));
    QVector<int> touched[BoxFamilyCount];
    for (int family = 0; family < BoxFamilyCount; ++family) {
        const QVector<QRectF> &extents = frame.extents[family];
        for (int i = 0; i < extents.size(); ++i) {
            if (extents[i].isEmpty())
                continue;
            for (const QRectF &rect : qAsConst(itemDamage)) {
                if (extents[i].intersects(rect)) {
                    touched[family] << i;
                    break;
                }
            }
        }
    }

    // The boxes are painted unclipped, as a full frame paints them: the raster engine blends a
    // shape that a clip cuts with other rounding than one it draws whole. The parts that reach
    // the damage come out exactly as in a full frame there; the kept frame then covers the rest.
    R::paintParameterBoxes(item, painter, BoxSelection::only(touched[ParameterBoxes], itemDamage));
    tools[DviBoxes].install(painter);
    R::paintDviBoxes(item, painter, BoxSelection::only(touched[DviBoxes], itemDamage));
    tools[SimpleBoxes].install(painter);
    R::paintSimpleBoxes(item, painter, BoxSelection::only(touched[SimpleBoxes], itemDamage));
    painter->save();
    painter->resetTransform();
    painter->setClipRegion(QRegion(area).subtracted(damage));
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    painter->drawImage(QPointF(0, 0), frame.image);
    painter->restore();
    tools[BoxFamilyCount].install(painter);
    keepPixels(target, frame.image, damage);
    qCDebug(lcRetained, "repainted %d boxes in %d rectangles",
            int(touched[0].size() + touched[1].size() + touched[2].size()), damage.rectCount());
    return true;
}

} // namespace

void RetainedPainting::paint(Bll_Painted_Item &item, QPainter *painter)
{
    Frame &frame = obtainFrame(&item);
    const Target target = Target::of(painter);
    // Qt Quick calls the item's own paint() right after filling the device. A derived item may
    // draw before calling it: only a device found as uniform as the last time shows that
    // nothing is under the boxes but what the last frame had. QML creates a registered type as
    // QQmlPrivate::QQmlElement<T>, which adds nothing but its destructor; its type information
    // is not unique across libraries, so names are compared.
    const char *type = typeid(item).name();
    const bool derived = std::strcmp(type, typeid(Bll_Painted_Item).name()) != 0
            && std::strcmp(type, typeid(QQmlPrivate::QQmlElement<Bll_Painted_Item>).name()) != 0;
    quint32 background = 0;
    const bool retainable = target.retainable()
            && (!derived || (target.image && uniform(*target.image, &background)));

    const char *full = !target.retainable() ? "not an unclipped raster image or pixmap"
            : !retainable && target.pixmap  ? "a derived item on a pixmap"
            : !retainable                   ? "something under the boxes"
            : !frame.valid                  ? "nothing kept"
            : frame.everything              ? "styles, clears or updates of every box"
            : !(target == frame.target)     ? "another device or painter state"
            : item.fillColor() != frame.fillColor || background != frame.background
            ? "another background"
            : frame.fontGeneration != BoxLabel::fontGeneration() ? "fonts changed"
                                                                 : nullptr;
    if (!full && repaintChanges(item, painter, frame, target))
        return;
    if (full)
        qCDebug(lcRetained, "full frame: %s", full);

    // A full frame, exactly as painted without a kept frame.
    frame.valid = false;
    paintParameterBoxes(item, painter, BoxSelection::all(item.m_boxHash.size()));
    paintDviBoxes(item, painter, BoxSelection::all(item.m_boxDVIHash.size()));
    paintSimpleBoxes(item, painter, BoxSelection::all(item.m_boxSimpleHash.size()));
    if (!retainable)
        return;

    const FamilyTools families(item, target.tools);
    for (int family = 0; family < BoxFamilyCount; ++family) {
        QVector<QRectF> &extents = frame.extents[family];
        extents.resize(boxCount(item, BoxFamily(family)));
        for (int i = 0; i < extents.size(); ++i)
            extents[i] = extentOf(item, BoxFamily(family), families.tools[family], i);
        frame.exits[family] = families.tools[family + 1];
        frame.added[family].clear();
        frame.switched[family].clear();
    }
    frame.changes = 0;
    if (frame.image.size() != target.size || frame.image.format() != target.format)
        frame.image = QImage(target.size, target.format);
    frame.image.setDevicePixelRatio(target.ratio);
    keepPixels(target, frame.image, target.area());
    frame.target = target;
    frame.fillColor = item.fillColor();
    frame.background = background;
    frame.fontGeneration = BoxLabel::fontGeneration();
    frame.everything = false;
    frame.valid = true;
}
