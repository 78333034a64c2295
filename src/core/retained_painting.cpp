#include "retained_painting.h"

#include "banded_painting.h"
#include "bll_painted_item.h"
#include "box_marks.h"
#include "item_state.h"

#include <QtCore/QLoggingCategory>
#include <QtCore/QMetaClassInfo>
#include <QtGui/QRegion>
#include <QtQml/qqmlprivate.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <numeric>
#include <optional>
#include <typeinfo>
#include <utility>

// QT_LOGGING_RULES="bll.painteditem.retained.debug=true" tells, frame by frame, what was
// repainted, or why everything was.
Q_LOGGING_CATEGORY(lcRetained, "bll.painteditem.retained", QtWarningMsg)

namespace {

// Past these a full frame costs less than working out and copying around the damage.
constexpr int maxChangedBoxes = 64;
constexpr int maxDamageRects = 64;
// Below this many boxes a thread, a frame's extents cost less than handing them to threads.
constexpr int minBoxesPerThread = 2048;

// A derived class may draw before calling the item's paint(), under the boxes, which a kept
// frame cannot hold; one whose class info says "Bll.PaintsOverBoxes" draws only after it. QML
// creates a registered type as QQmlPrivate::QQmlElement<T>, which adds nothing but its
// destructor; its type information is not unique across libraries, so names are compared.
ItemState::Kind kindOf(const Bll_Painted_Item &item)
{
    const char *type = typeid(item).name();
    if (std::strcmp(type, typeid(Bll_Painted_Item).name()) == 0
        || std::strcmp(type, typeid(QQmlPrivate::QQmlElement<Bll_Painted_Item>).name()) == 0)
        return ItemState::Plain;
    const QMetaObject *meta = item.metaObject();
    const int info = meta->indexOfClassInfo("Bll.PaintsOverBoxes");
    return info >= 0 && qstrcmp(meta->classInfo(info).value(), "true") == 0 ? ItemState::PaintsOver
                                                                            : ItemState::DrawsUnder;
}

// Whether every pixel of the image is the same, which *colour receives.
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

// Where `area` (in the painter's coordinates before its world transform) falls on the device, in
// whole device pixels.
QRect devicePixelRect(const PaintTarget &target, const QRect &area)
{
    return QTransform::fromScale(target.ratio, target.ratio)
            .mapRect(QRectF(area))
            .toAlignedRect()
            .intersected(QRect(QPoint(0, 0), target.size));
}

// The device's pixels under `area`.
QImage devicePixels(const PaintTarget &target, const QRect &area)
{
    const QRect pixels = devicePixelRect(target, area);
    if (target.image) // a copy shares the pixels; only the part asked for is read
        return target.image->copy(pixels);
    return target.pixmap->copy(pixels).toImage();
}

// Whether the device holds nothing but `colour` under every rectangle of `area`: what a frame
// repaints must go over what the kept frame was painted over. Another device at the same place
// (a picture a host paints once, say) shows otherwise.
bool filledWith(const PaintTarget &target, const QRegion &area, quint32 colour)
{
    for (const QRect &rect : area) {
        const QRect pixels = devicePixelRect(target, rect);
        // An image is read where it lies; a pixmap's pixels are copied out first.
        const QImage copied = target.image ? QImage() : devicePixels(target, rect);
        const QImage &image = target.image ? *target.image : copied;
        const QPoint from = target.image ? pixels.topLeft() : QPoint(0, 0);
        for (int y = 0; y < pixels.height(); ++y) {
            const auto *row =
                    reinterpret_cast<const quint32 *>(image.constScanLine(from.y() + y)) + from.x();
            if (std::any_of(row, row + pixels.width(), [=](quint32 p) { return p != colour; }))
                return false;
        }
    }
    return true;
}

// The tools each family starts from, after a pass that starts from `entry`, and what the last
// one leaves: tools[family], and tools[BoxFamilyCount] at the end.
struct FamilyTools
{
    FamilyTools(const Bll_Painted_Item &item, ItemState &state, const PainterTools &entry)
    {
        tools[0] = entry;
        for (int family = 0; family < BoxFamilyCount; ++family)
            tools[family + 1] =
                    boxFamilies[family]->exit(item, tools[family], state.leaving[family]);
    }
    PainterTools tools[BoxFamilyCount + 1];
};

// Paints a family's selected boxes, leaving out labels under `smallestLabel` device pixels (0:
// none), and with `marks` marking tiny boxes.
void paintFamily(const Bll_Painted_Item &item, QPainter *painter, ItemState &state,
                 BoxFamily family, const BoxSelection &boxes, qreal smallestLabel, bool marks)
{
    LabelStore &labels = state.labels[family];
    labels.resize(boxFamilies[family]->count(item));
    LabelPainter labelPainter(painter, &labels, LabelPainter::KeepInStore);
    labelPainter.leaveOutBelow(smallestLabel);
    boxFamilies[family]->paint(item, painter, boxes, labelPainter, marks);
}

// Whether a frame on target marks tiny boxes: only where it simplifies, and where every pass of
// the frame (on one thread, in bands, or repainting part of it) can mark them alike.
bool marksTinyBoxes(const ItemState &state, const PaintTarget &target)
{
    return state.smallestLabel > 0 && (target.image || target.pixmap) && target.plain
            && BoxMarks::holds(target.format) && target.transform.type() <= QTransform::TxScale;
}

// Which boxes a frame on target marks: none where it does not mark.
MarkCut markCut(const ItemState &state, const PaintTarget &target)
{
    return marksTinyBoxes(state, target)
            ? MarkCut(target.transform * QTransform::fromScale(target.ratio, target.ratio))
            : MarkCut();
}

// Where a frame repaints, in whole pixels of the painter's coordinates before its world
// transform (the device's at ratio 1), and how an extent in item coordinates falls there.
class Damage
{
public:
    // Where a box hides whatever is painted before it (BoxFamilyOps::covers).
    struct Cover
    {
        QRect area; // on the device
        QRectF item; // in item coordinates
        int family, index;
        bool hides(int otherFamily, int otherIndex) const
        {
            return otherFamily < family || (otherFamily == family && otherIndex < index);
        }
    };

    explicit Damage(const PaintTarget &target)
        : m_area(target.area()),
          // Extents are cut to the device, and a little beyond, before they are rounded to
          // whole pixels: far ones would not fit an int. The 4 pixels beyond keep a cut extent
          // reaching past the device's edges, where the antialiasing margin and the resize rule
          // below look for it.
          m_margin(QRectF(m_area).adjusted(-4, -4, 4, 4)), m_toDevice(target.transform),
          m_toItem(target.transform.inverted()),
          // Whole item pixels fall on whole device pixels.
          m_wholePixels(target.transform.type() <= QTransform::TxTranslate
                        && target.transform.dx() == std::floor(target.transform.dx())
                        && target.transform.dy() == std::floor(target.transform.dy())
                        && target.ratio == std::floor(target.ratio))
    {
    }

    const QRect &area() const { return m_area; }
    const QRegion &region() const { return m_region; }
    const QTransform &toItem() const { return m_toItem; }

    // The pixels an extent may touch, antialiasing included.
    QRect onDevice(const QRectF &extent) const
    {
        const int margin = PaintLimits::antialiasMargin;
        return m_toDevice.mapRect(extent).intersected(m_margin).toAlignedRect().adjusted(
                -margin, -margin, margin, margin);
    }
    void add(const QRectF &extent)
    {
        if (!extent.isEmpty())
            m_region |= onDevice(extent) & m_area;
    }
    void add(const QRegion &region) { m_region |= region; }
    // A box whose switched states changed only the pixels it covers: those are the damage, and
    // there the boxes before it need no repainting. False where it cannot be told on whole
    // pixels.
    bool addCover(const QRect &rect, int family, int index)
    {
        if (!m_wholePixels || m_covers.size() >= maxDamageRects)
            return false;
        const Cover cover {m_toDevice.mapRect(rect) & m_area, QRectF(rect), family, index};
        m_region |= cover.area;
        m_covers.append(cover);
        return true;
    }
    const QVector<Cover> &covers() const { return m_covers; }

    // Past these a full frame costs less than clipping to the damage and copying around it.
    bool tooScattered() const { return m_region.rectCount() > maxDamageRects; }
    bool mostOfTheArea() const
    {
        qint64 pixels = 0;
        for (const QRect &rect : m_region)
            pixels += qint64(rect.width()) * rect.height();
        return 2 * pixels > qint64(m_area.width()) * m_area.height();
    }

private:
    QRect m_area;
    QRectF m_margin;
    QTransform m_toDevice, m_toItem;
    bool m_wholePixels;
    QRegion m_region;
    QVector<Cover> m_covers;
};

// Where the boxes that changed since the last frame were and are; their extents become the
// kept ones.
void damageOfChanges(const Bll_Painted_Item &item, KeptFrame &frame, const PainterTools *tools,
                     const LabelCut &labels, const MarkCut &marks, Damage &damage)
{
    QVector<QRectF> now;
    for (int f = 0; f < BoxFamilyCount; ++f) {
        const BoxFamilyOps &family = *boxFamilies[f];
        KeptExtents &extents = frame.extents[f];
        QVector<int> &added = frame.added[f];
        now.resize(added.size());
        family.extents(item, tools[f], labels, marks, &added, false, now.data());
        for (int k = 0; k < added.size(); ++k) {
            damage.add(extents.at(added[k]) | now[k]);
            extents.set(added[k], now[k]);
        }
        QVector<int> &switched = frame.switched[f];
        now.resize(switched.size());
        family.extents(item, tools[f], labels, marks, &switched, !family.switchesGeometry,
                       now.data());
        for (int k = 0; k < switched.size(); ++k) {
            QRect covered;
            if (family.switchesGeometry) {
                damage.add(extents.at(switched[k]) | now[k]);
                extents.set(switched[k], now[k]);
            } else if (!(family.covers(item, tools[f], switched[k], &covered)
                         && damage.addCover(covered, f, switched[k]))) {
                damage.add(now[k]);
            }
        }
        added.clear();
        switched.clear();
    }
    frame.changes = 0;
}

// The boxes of a family whose extents may reach `device` (rectangles in the painter's
// coordinates before its world transform, which toItem inverts), found by the index: where they
// lie, widened by their pens' reach. Once each, in paint order.
QVector<int> boxesNear(const Bll_Painted_Item &item, ItemState &state, const QTransform &toItem,
                       int family, const PainterTools &tools, const QVector<QRectF> &device)
{
    const qreal reach = boxFamilies[family]->reach(item, tools) + 1;
    QVector<int> boxes;
    // A device that shows the whole plan, zoomed out, holds every box: no query, no sort.
    if (device.size() == 1
        && state.index.holdsAll(item, BoxFamily(family), toItem.mapRect(device.first()))) {
        boxes.resize(boxFamilies[family]->count(item));
        std::iota(boxes.begin(), boxes.end(), 0);
        return boxes;
    }
    for (const QRectF &rect : device) {
        state.index.boxesMeeting(item, BoxFamily(family),
                                 toItem.mapRect(rect).adjusted(-reach, -reach, reach, reach),
                                 boxes);
    }
    std::sort(boxes.begin(), boxes.end());
    boxes.erase(std::unique(boxes.begin(), boxes.end()), boxes.end());
    return boxes;
}

// Where the kept pixels no longer cover the device (it grew, or the picture moved) is new. Every
// box that reaches an edge where the kept pixels now end, or where they ended before, is
// repainted too: the raster engine draws a shape that an edge cuts differently as a whole. An
// edge where both the device and the kept pixels end cuts each box as it did. `before` is where
// the kept pixels now lie.
void damageOfNewEdges(const Bll_Painted_Item &item, ItemState &state, const PainterTools *tools,
                      const QRect &before, Damage &damage)
{
    const QRect area = damage.area();
    const QRect common = area & before;
    damage.add(QRegion(area).subtracted(common));
    if (common.isEmpty())
        return;
    const bool left = area.left() != before.left(), right = area.right() != before.right(),
               top = area.top() != before.top(), bottom = area.bottom() != before.bottom();
    // Boxes wholly beyond an edge lie in what is new; those that reach the edge cross it, along
    // the device. Only those are asked of the index, not every box beyond: a plan reaches far past.
    const QRectF reach = QRectF(area).adjusted(-4, -4, 4, 4);
    QVector<QRectF> edges;
    const auto along = [&](bool moves, int x0, int y0, int x1, int y1) {
        if (moves)
            edges << QRectF(QPointF(x0, y0), QPointF(x1, y1));
    };
    along(left, common.left() - 4, reach.top(), common.left() + 4, reach.bottom());
    along(right, common.right() - 4, reach.top(), common.right() + 4, reach.bottom());
    along(top, reach.left(), common.top() - 4, reach.right(), common.top() + 4);
    along(bottom, reach.left(), common.bottom() - 4, reach.right(), common.bottom() + 4);
    if (edges.isEmpty())
        return;
    for (int family = 0; family < BoxFamilyCount; ++family) {
        for (const int i : boxesNear(item, state, damage.toItem(), family, tools[family], edges)) {
            const QRectF extent = state.frame->extents[family].at(i);
            if (extent.isEmpty())
                continue;
            const QRect onArea = damage.onDevice(extent);
            if ((left && onArea.left() <= common.left())
                || (right && onArea.right() >= common.right())
                || (top && onArea.top() <= common.top())
                || (bottom && onArea.bottom() >= common.bottom()))
                damage.add(QRegion(onArea & area));
        }
    }
}

// Paints every box that may draw into the damage, in paint order, then the kept frame around the
// damage, moved by `moved`, and keeps what was repainted (all of it, after a move).
void repaintDamage(const Bll_Painted_Item &item, QPainter *painter, ItemState &state,
                   const PaintTarget &target, const PainterTools *tools, const LabelCut &labels,
                   const MarkCut &marks, const Damage &damage, const QPoint &moved)
{
    KeptFrame &frame = *state.frame;
    QVector<QRectF> deviceDamage, itemDamage;
    for (const QRect &rect : damage.region()) {
        deviceDamage << QRectF(rect);
        itemDamage << damage.toItem().mapRect(QRectF(rect));
    }
    const RectGrid visible(itemDamage);
    // Where no box hides the boxes before it, every box that reaches the damage is repainted;
    // under a cover, only the box that covers and those after it.
    QRegion openRegion = damage.region();
    for (const Damage::Cover &cover : damage.covers())
        openRegion -= cover.area;
    QVector<QRectF> openDamage;
    for (const QRect &rect : openRegion)
        openDamage << damage.toItem().mapRect(QRectF(rect));
    const RectGrid open(openDamage);
    const auto repainted = [&](int family, int i, const QRectF &extent) {
        if (extent.isEmpty())
            return false;
        if (damage.covers().isEmpty() || open.meets(extent))
            return visible.meets(extent);
        for (const Damage::Cover &cover : damage.covers()) {
            if (!cover.hides(family, i) && extent.intersects(cover.item))
                return true;
        }
        return false;
    };
    QVector<int> touched[BoxFamilyCount];
    for (int family = 0; family < BoxFamilyCount; ++family) {
        KeptExtents &extents = frame.extents[family];
        const QVector<int> near =
                boxesNear(item, state, damage.toItem(), family, tools[family], deviceDamage);
        // Boxes that reached no part of the device the kept frame was painted on may reach what
        // is new on it.
        QVector<int> unlisted;
        for (const int i : near) {
            if (!extents.lists(i))
                unlisted << i;
        }
        if (!unlisted.isEmpty()) {
            QVector<QRectF> now(unlisted.size());
            boxFamilies[family]->extents(item, tools[family], labels, marks, &unlisted, false,
                                         now.data());
            for (int k = 0; k < unlisted.size(); ++k)
                extents.set(unlisted[k], now[k]);
        }
        for (const int i : near) {
            if (repainted(family, i, extents.at(i)))
                touched[family] << i;
        }
    }

    // The boxes are painted unclipped, as a full frame paints them: the raster engine blends a
    // shape that a clip cuts with other rounding than one it draws whole. The parts that reach
    // the damage come out exactly as in a full frame there; the kept frame then covers the rest.
    for (int family = 0; family < BoxFamilyCount; ++family) {
        if (family > 0)
            tools[family].install(painter);
        paintFamily(item, painter, state, BoxFamily(family),
                    BoxSelection::only(touched[family], visible), state.smallestLabel, marks.on());
    }
    if (!moved.isNull())
        frame.pixels.move(moved * target.ratio);
    painter->save();
    painter->resetTransform();
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    frame.pixels.drawOn(painter, QRegion(damage.area()).subtracted(damage.region()));
    painter->restore();
    tools[BoxFamilyCount].install(painter);

    if (!moved.isNull()) {
        // Boxes the device no longer reaches drew nothing on the frame kept now; the list of
        // those it holds does not grow with every pan.
        const int margin = PaintLimits::antialiasMargin + 1;
        const QRectF shown = damage.toItem().mapRect(
                QRectF(damage.area()).adjusted(-margin, -margin, margin, margin));
        for (KeptExtents &extents : frame.extents)
            extents.keepMeeting(shown);
    }

    if (frame.pixels.size() != target.size)
        frame.pixels.resize(target.size);
    frame.pixels.keep(target, damage.region());
    frame.target = target;
    qCDebug(lcRetained, "repainted %d boxes in %d rectangles",
            int(touched[0].size() + touched[1].size() + touched[2].size()),
            damage.region().rectCount());
}

// A frame that paints only the boxes that changed and those that overlap where the changed ones
// were and are (the damage); the kept image gives everything else. False when a full frame is
// due after all: the families would start from other tools, or most of the area (or many places)
// changed, or the device holds something else under the damage.
bool repaintChanges(const Bll_Painted_Item &item, QPainter *painter, ItemState &state,
                    const PaintTarget &target, const QPoint &moved)
{
    KeptFrame &frame = *state.frame;
    const FamilyTools families(item, state, target.tools);
    const PainterTools *tools = families.tools;
    for (int family = 1; family < BoxFamilyCount; ++family) {
        if (!boxFamilies[family]->startsAlike(tools[family], frame.exits[family - 1])) {
            qCDebug(lcRetained, "full frame: a family starts from other tools");
            return false;
        }
    }
    Damage damage(target);
    const LabelCut labels = LabelCut::of(target.transform, state.smallestLabel);
    const MarkCut marks = markCut(state, target);
    damageOfChanges(item, frame, tools, labels, marks, damage);
    if (damage.tooScattered()) {
        qCDebug(lcRetained, "full frame: many places changed");
        return false;
    }
    const QRect before = frame.target.area().translated(moved);
    if (damage.area() != before)
        damageOfNewEdges(item, state, tools, before, damage);
    if (damage.mostOfTheArea()) {
        qCDebug(lcRetained, "full frame: most of the area changed");
        return false;
    }
    // Outside the damage the kept frame replaces whatever the device holds; a device filled
    // otherwise shows it in its first pixel already.
    if (!filledWith(target, damage.region() | QRect(0, 0, 1, 1), frame.background)) {
        qCDebug(lcRetained, "full frame: another background under the changes");
        return false;
    }
    repaintDamage(item, painter, state, target, tools, labels, marks, damage, moved);
    return true;
}

// Where a full frame may ink the device, in the painter's coordinates before its world transform,
// antialiasing included: boxes that reach no part of it leave no trace there. False where it
// cannot be told: a picture records whatever is painted on it, and a window or viewport moves
// the device under the world transform.
bool deviceArea(QPainter *painter, const PaintTarget &target, QRectF *area)
{
    const QPaintDevice *device = painter->device();
    if (!target.transform.isInvertible() || device->devType() == QInternal::Picture
        || painter->window() != painter->viewport())
        return false;
    const QSizeF size(device->width(), device->height());
    if (size.isEmpty())
        return false;
    const int margin = PaintLimits::antialiasMargin;
    *area = QRectF(QPointF(0, 0), size / target.ratio).adjusted(-margin, -margin, margin, margin);
    return true;
}

// A full frame, exactly as painted without a kept frame. A frame the target allows to keep
// replaces the kept one; any other leaves it as it was, for the device it was painted on.
void repaintEverything(const Bll_Painted_Item &item, QPainter *painter, ItemState &state,
                       const PaintTarget &target, bool retainable, quint32 background)
{
    QRectF device;
    const bool culled = deviceArea(painter, target, &device);
    int boxCount = 0;
    for (const BoxFamilyOps *family : boxFamilies)
        boxCount += family->count(item);
    // A pass that marks boxes leaves other tools than a full one; so does one that leaves boxes
    // out.
    const MarkCut marks = markCut(state, target);
    if (!culled && !retainable && !marks.on() && !BandedPainting::pays(target, boxCount)) {
        for (int family = 0; family < BoxFamilyCount; ++family)
            paintFamily(item, painter, state, BoxFamily(family),
                        BoxSelection::all(boxFamilies[family]->count(item)), state.smallestLabel,
                        false);
        return;
    }

    // The boxes that may reach the device, each family's in paint order: all of them when its
    // area is not known.
    const FamilyTools families(item, state, target.tools);
    const QTransform toItem = target.transform.inverted();
    QVector<int> shown[BoxFamilyCount];
    bool all[BoxFamilyCount];
    int shownCount = 0;
    for (int family = 0; family < BoxFamilyCount; ++family) {
        const int count = boxFamilies[family]->count(item);
        if (culled)
            shown[family] =
                    boxesNear(item, state, toItem, family, families.tools[family], {device});
        all[family] = !culled || shown[family].size() == count;
        if (all[family] && shown[family].size() != count) {
            shown[family].resize(count);
            std::iota(shown[family].begin(), shown[family].end(), 0);
        }
        shownCount += shown[family].size();
        state.labels[family].resize(count);
    }
    const bool banded = BandedPainting::pays(target, shownCount);
    const RectGrid visible(QVector<QRectF> {culled ? toItem.mapRect(device) : QRectF()});
    const auto paintShown = [&] {
        for (int family = 0; family < BoxFamilyCount; ++family) {
            // A pass that leaves boxes out leaves other tools than a full one; the next family
            // starts from what the full one would leave.
            if (family > 0 && (marks.on() || !(all[family - 1] && all[family])))
                families.tools[family].install(painter);
            paintFamily(item, painter, state, BoxFamily(family),
                        all[family] ? BoxSelection::all(shown[family].size())
                                    : BoxSelection::only(shown[family], visible),
                        state.smallestLabel, marks.on());
        }
        if (marks.on() || !all[BoxFamilyCount - 1])
            families.tools[BoxFamilyCount].install(painter);
    };
    if (!retainable && !banded) {
        paintShown();
        return;
    }

    QVector<QRectF> extents[BoxFamilyCount];
    QRectF *extentsOut[BoxFamilyCount];
    for (int family = 0; family < BoxFamilyCount; ++family) {
        // A frame that will be kept replaces the kept extents: a million of them are not
        // allocated again each frame.
        if (retainable && state.frame)
            extents[family] = state.frame->extents[family].release();
        extents[family].resize(shown[family].size());
        extentsOut[family] = extents[family].data();
    }
    // Where the boxes shown draw; in a frame of many boxes, worked out on every thread.
    const LabelCut labels = LabelCut::of(target.transform, state.smallestLabel);
    const int parts = banded && shownCount >= minBoxesPerThread * BandedPainting::threadCount()
            ? BandedPainting::threadCount()
            : 1;
    // A frame in bands files each box with the bands it reaches where its extent is found.
    std::optional<BandedPainting::Bands> bands;
    if (banded)
        bands.emplace(target, parts);
    BandedPainting::inParallel(parts, [&](int part) {
        for (int family = 0; family < BoxFamilyCount; ++family) {
            const int count = shown[family].size();
            const int begin = int(qint64(count) * part / parts);
            const int end = int(qint64(count) * (part + 1) / parts);
            const QVector<int> slice =
                    parts == 1 ? shown[family] : shown[family].mid(begin, end - begin);
            if (slice.isEmpty())
                continue;
            boxFamilies[family]->extents(item, families.tools[family], labels, marks, &slice, false,
                                         extentsOut[family] + begin);
            if (bands)
                bands->file(part, family, slice.constData(), extentsOut[family] + begin,
                            slice.size());
        }
    });
    // What the boxes go over, which a frame that repaints part of them finds there again. An item
    // that may draw under its boxes found a uniform device already.
    if (retainable && state.kind != ItemState::DrawsUnder)
        background = devicePixels(target, QRect(0, 0, 1, 1)).pixel(0, 0);
    if (banded)
        BandedPainting::paint(item, painter, target, families.tools, *bands, state.labels,
                              state.smallestLabel, marks.on());
    else
        paintShown();
    if (!retainable)
        return;

    if (!state.frame)
        state.frame = std::make_unique<KeptFrame>();
    KeptFrame &frame = *state.frame;
    for (int family = 0; family < BoxFamilyCount; ++family) {
        if (all[family])
            frame.extents[family].assignAll(extents[family]);
        else
            frame.extents[family].assign(shown[family], extents[family]);
        frame.exits[family] = families.tools[family + 1];
        frame.added[family].clear();
        frame.switched[family].clear();
    }
    frame.changes = 0;
    frame.pixels.keepAll(target);
    frame.target = target;
    frame.fillColor = item.fillColor();
    frame.background = background;
    frame.fontGeneration = fontGeneration();
    frame.everything = false;
}

thread_local QPainter *paintingInFull = nullptr;

} // namespace

RetainedPainting::FullFrames::FullFrames(QPainter *painter) : m_previous(paintingInFull)
{
    paintingInFull = painter;
}

RetainedPainting::FullFrames::~FullFrames()
{
    paintingInFull = m_previous;
}

void RetainedPainting::paint(const Bll_Painted_Item &item, QPainter *painter)
{
    ItemState &state = ItemState::of(&item);
    if (state.kind == ItemState::Undecided)
        state.kind = kindOf(item);
    const PaintTarget target = PaintTarget::of(painter);
    // Qt Quick calls the item's own paint() right after filling the device. An item that may
    // draw before calling it keeps its frames only on an image found as uniform as the last time:
    // nothing is under the boxes then but what the last frame had.
    quint32 background = 0;
    const bool drawsUnder = state.kind == ItemState::DrawsUnder;
    const bool keepable = target.retainable() && painter != paintingInFull;
    const bool retainable =
            keepable && (!drawsUnder || (target.image && uniform(*target.image, &background)));

    const KeptFrame *frame = state.frame.get();
    QPoint moved;
    const char *full = painter == paintingInFull ? "painted once"
            : !keepable                          ? "not an unclipped raster image or pixmap"
            : !retainable && target.pixmap       ? "a derived item on a pixmap"
            : !retainable                        ? "something under the boxes"
            : !frame                             ? "nothing kept"
            : frame->everything                  ? "styles or clears"
            : !target.sameButSize(frame->target) && !target.movedFrom(frame->target, &moved)
            ? "another device or painter state"
            : item.fillColor() != frame->fillColor
                    || (drawsUnder && background != frame->background)
            ? "another background"
            : frame->fontGeneration != fontGeneration() ? "fonts changed"
                                                        : nullptr;
    if (!full && repaintChanges(item, painter, state, target, moved))
        return;
    if (full)
        qCDebug(lcRetained, "full frame: %s", full);
    repaintEverything(item, painter, state, target, retainable, background);
}

// Past a few dozen changed boxes (all of them moved, say) a full frame costs less than working out
// their damage, and the lists stop growing between frames.
void KeptFrame::boxesChanged(BoxFamily family, const int *indices, int count,
                             ItemChangeListener::Change change)
{
    if (everything)
        return;
    changes += count;
    if (changes > maxChangedBoxes) {
        everything = true;
        changes = 0;
        for (int f = 0; f < BoxFamilyCount; ++f) {
            added[f].clear();
            switched[f].clear();
        }
        return;
    }
    QVector<int> &list = (change == ItemChangeListener::Added ? added : switched)[family];
    std::copy(indices, indices + count, std::back_inserter(list));
}

void paintWholeFamily(const Bll_Painted_Item &item, QPainter *painter, BoxFamily family)
{
    paintFamily(item, painter, ItemState::of(&item), family,
                BoxSelection::all(boxFamilies[family]->count(item)), 0, false);
}

void KeptPixels::keepAll(const PaintTarget &target)
{
    if (m_image.size() != target.size || m_image.format() != target.format)
        m_image = QImage(target.size, target.format);
    m_image.setDevicePixelRatio(target.ratio);
    m_origin = QPoint();
    keep(target, QRegion(target.area()));
}

QVector<QPoint> KeptPixels::placements() const
{
    if (m_origin.isNull())
        return {QPoint()};
    const int width = m_image.width(), height = m_image.height();
    return {m_origin, m_origin - QPoint(width, 0), m_origin - QPoint(0, height),
            m_origin - QPoint(width, height)};
}

void KeptPixels::keep(const PaintTarget &target, const QRegion &area)
{
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const qreal ratio = m_image.devicePixelRatio();
    for (const QPoint &at : placements()) {
        // The device's pixels land on the image where the part of the image placed at `at` shows
        // them.
        const QPointF offset = -QPointF(at) / ratio;
        painter.setClipRegion(area.translated(offset.toPoint()));
        if (target.image)
            painter.drawImage(offset, *target.image);
        else
            painter.drawPixmap(offset, *target.pixmap);
    }
}

void KeptPixels::move(const QPoint &by)
{
    const int width = m_image.width(), height = m_image.height();
    m_origin = QPoint(((m_origin.x() + by.x()) % width + width) % width,
                      ((m_origin.y() + by.y()) % height + height) % height);
}

void KeptPixels::drawOn(QPainter *painter, const QRegion &clip) const
{
    const qreal ratio = m_image.devicePixelRatio();
    painter->setClipRegion(clip);
    // An antialiasing painter blends the image's edges, which now lie inside the device.
    painter->setRenderHint(QPainter::Antialiasing, false);
    for (const QPoint &at : placements())
        painter->drawImage(QPointF(at) / ratio, m_image);
}

QImage KeptPixels::unwrapped(const QSize &size) const
{
    const qreal ratio = m_image.devicePixelRatio();
    QImage image(size, m_image.format());
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    drawOn(&painter, QRegion(QRect(QPoint(0, 0), (QSizeF(size) / ratio).toSize())));
    return image;
}

void KeptPixels::resize(const QSize &size)
{
    m_image = unwrapped(size);
    m_origin = QPoint();
}

const QImage &KeptPixels::image() const
{
    if (!m_origin.isNull()) {
        m_image = unwrapped(m_image.size());
        m_origin = QPoint();
    }
    return m_image;
}

void KeptExtents::assignAll(QVector<QRectF> extents)
{
    m_all = true;
    m_boxes = QVector<int>();
    m_extents = std::move(extents);
}

void KeptExtents::assign(QVector<int> boxes, QVector<QRectF> extents)
{
    m_all = false;
    m_boxes = std::move(boxes);
    m_extents = std::move(extents);
}

bool KeptExtents::lists(int box) const
{
    if (m_all)
        return box < m_extents.size();
    return std::binary_search(m_boxes.cbegin(), m_boxes.cend(), box);
}

QRectF KeptExtents::at(int box) const
{
    if (m_all)
        return box < m_extents.size() ? m_extents.at(box) : QRectF();
    const auto it = std::lower_bound(m_boxes.cbegin(), m_boxes.cend(), box);
    return it != m_boxes.cend() && *it == box ? m_extents.at(int(it - m_boxes.cbegin())) : QRectF();
}

void KeptExtents::set(int box, const QRectF &extent)
{
    if (m_all) {
        // Boxes added since lie after the others, and drew nothing on the kept frame.
        if (box >= m_extents.size())
            m_extents.resize(box + 1);
        m_extents[box] = extent;
        return;
    }
    const auto it = std::lower_bound(m_boxes.begin(), m_boxes.end(), box);
    const int at = int(it - m_boxes.begin());
    if (it != m_boxes.end() && *it == box) {
        m_extents[at] = extent;
    } else {
        m_boxes.insert(at, box);
        m_extents.insert(at, extent);
    }
}

void KeptExtents::keepMeeting(const QRectF &area)
{
    if (m_all)
        return;
    int kept = 0;
    for (int k = 0; k < m_boxes.size(); ++k) {
        if (m_extents.at(k).intersects(area)) {
            m_boxes[kept] = m_boxes.at(k);
            m_extents[kept] = m_extents.at(k);
            ++kept;
        }
    }
    m_boxes.resize(kept);
    m_extents.resize(kept);
}

QVector<QRectF> KeptExtents::release()
{
    m_all = false;
    m_boxes = QVector<int>();
    return std::exchange(m_extents, QVector<QRectF>());
}
