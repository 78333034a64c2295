#include "retained_painting.h"

#include "banded_painting.h"
#include "bll_painted_item.h"
#include "item_state.h"

#include <QtCore/QLoggingCategory>
#include <QtCore/QMetaClassInfo>
#include <QtGui/QRegion>
#include <QtQml/qqmlprivate.h>

#include <algorithm>
#include <cstring>
#include <typeinfo>

// QT_LOGGING_RULES="bll.painteditem.retained.debug=true" tells, frame by frame, what was
// repainted, or why everything was.
Q_LOGGING_CATEGORY(lcRetained, "bll.painteditem.retained", QtWarningMsg)

namespace {

// Past these a full frame costs less than working out and copying around the damage.
constexpr int maxChangedBoxes = 64;
constexpr int maxDamageRects = 64;

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

// Copies `area` of the device's pixels (in the device's own coordinates) into the kept image.
void keepPixels(const PaintTarget &target, QImage &kept, const QRegion &area)
{
    QPainter painter(&kept);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setClipRegion(area);
    if (target.image)
        painter.drawImage(QPointF(0, 0), *target.image);
    else
        painter.drawPixmap(QPointF(0, 0), *target.pixmap);
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

// The device's pixels under `area` (in the painter's coordinates before its world transform).
QImage devicePixels(const PaintTarget &target, const QRect &area)
{
    const QRect pixels = QTransform::fromScale(target.ratio, target.ratio)
                                 .mapRect(QRectF(area))
                                 .toAlignedRect()
                                 .intersected(QRect(QPoint(0, 0), target.size));
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
        const QImage pixels = devicePixels(target, rect);
        for (int y = 0; y < pixels.height(); ++y) {
            const auto *row = reinterpret_cast<const quint32 *>(pixels.constScanLine(y));
            for (int x = 0; x < pixels.width(); ++x)
                if (row[x] != colour)
                    return false;
        }
    }
    return true;
}

// The tools each family starts from, after a pass that starts from `entry`, and what the last
// one leaves: tools[family], and tools[BoxFamilyCount] at the end.
struct FamilyTools
{
    FamilyTools(const Bll_Painted_Item &item, const PainterTools &entry)
    {
        tools[0] = entry;
        for (int family = 0; family < BoxFamilyCount; ++family)
            tools[family + 1] = boxFamilies[family]->exit(item, tools[family]);
    }
    PainterTools tools[BoxFamilyCount + 1];
};

void paintFamily(const Bll_Painted_Item &item, QPainter *painter, ItemState &state,
                 BoxFamily family, const BoxSelection &boxes)
{
    LabelStore &labels = state.labels[family];
    labels.resize(boxFamilies[family]->count(item));
    LabelPainter labelPainter(painter, &labels, LabelPainter::KeepInStore);
    boxFamilies[family]->paint(item, painter, boxes, labelPainter);
}

// A frame that paints only the boxes that changed and those that overlap where the changed ones
// were and are (the damage); the kept image gives everything else. A texture that grew or shrank
// also repaints what is new and every box that reaches its moving right or bottom edge: the raster
// engine draws a shape that an edge cuts differently as a whole. False when a full frame is due
// after all: the families would start from other tools, or most of the area (or many places)
// changed.
bool repaintChanges(const Bll_Painted_Item &item, QPainter *painter, ItemState &state,
                    const PaintTarget &target)
{
    const FamilyTools families(item, target.tools);
    const PainterTools *tools = families.tools;
    for (int family = 1; family < BoxFamilyCount; ++family) {
        if (!boxFamilies[family]->startsAlike(tools[family], state.exits[family - 1])) {
            qCDebug(lcRetained, "full frame: a family starts from other tools");
            return false;
        }
    }

    const QRect area = target.area();
    const QRect common = area & state.target.area();
    const QRectF margin = QRectF(area).adjusted(-4, -4, 4, 4);
    // Where an extent lies on the device; antialiasing may touch the pixel next to a shape's edge.
    const auto onDevice = [&](const QRectF &extent) {
        return target.transform.mapRect(extent).intersected(margin).toAlignedRect().adjusted(-2, -2,
                                                                                             2, 2);
    };
    QRegion damage;
    const auto damaged = [&](const QRectF &extent) {
        if (!extent.isEmpty())
            damage |= onDevice(extent) & area;
    };
    QVector<QRectF> now;
    for (int f = 0; f < BoxFamilyCount; ++f) {
        const BoxFamilyOps &family = *boxFamilies[f];
        QVector<QRectF> &extents = state.extents[f];
        extents.resize(family.count(item));
        QVector<int> &added = state.added[f];
        now.resize(added.size());
        family.extents(item, tools[f], &added, false, now.data());
        for (int k = 0; k < added.size(); ++k) {
            damaged(extents[added[k]] | now[k]); // where the box was, and is
            extents[added[k]] = now[k];
        }
        QVector<int> &switched = state.switched[f];
        now.resize(switched.size());
        family.extents(item, tools[f], &switched, !family.switchesGeometry, now.data());
        for (int k = 0; k < switched.size(); ++k) {
            if (family.switchesGeometry) {
                damaged(extents[switched[k]] | now[k]);
                extents[switched[k]] = now[k];
            } else {
                damaged(now[k]);
            }
        }
        added.clear();
        switched.clear();
    }
    state.changes = 0;
    // A damage of many pieces costs more to clip to and copy around than a full frame.
    if (damage.rectCount() > maxDamageRects) {
        qCDebug(lcRetained, "full frame: many places changed");
        return false;
    }
    const QTransform toItem = target.transform.inverted();
    // The boxes of a family whose extents may reach `device` (the painter's coordinates before
    // its world transform), found by the index: where they lie, widened by their pens' reach.
    const auto boxesNear = [&](int family, const QVector<QRectF> &device) {
        const qreal reach = boxFamilies[family]->reach(item, tools[family]) + 1;
        QVector<int> boxes;
        for (const QRectF &rect : device) {
            state.index.boxesMeeting(item, BoxFamily(family),
                                     toItem.mapRect(rect).adjusted(-reach, -reach, reach, reach),
                                     boxes);
        }
        std::sort(boxes.begin(), boxes.end());
        boxes.erase(std::unique(boxes.begin(), boxes.end()), boxes.end());
        return boxes;
    };
    if (area != state.target.area()) {
        damage |= QRegion(area).subtracted(common);
        constexpr double far = 1e8;
        const QVector<QRectF> edges = {
                QRectF(QPointF(common.right() - 4, -far), QPointF(far, far)),
                QRectF(QPointF(-far, common.bottom() - 4), QPointF(far, far))};
        for (int family = 0; family < BoxFamilyCount; ++family) {
            for (const int i : boxesNear(family, edges)) {
                const QRectF &extent = state.extents[family][i];
                if (extent.isEmpty())
                    continue;
                const QRect onArea = onDevice(extent);
                if (onArea.right() >= common.right() || onArea.bottom() >= common.bottom())
                    damage |= onArea & area;
            }
        }
    }
    qint64 damagedArea = 0;
    for (const QRect &rect : damage)
        damagedArea += qint64(rect.width()) * rect.height();
    if (2 * damagedArea > qint64(area.width()) * area.height()) {
        qCDebug(lcRetained, "full frame: most of the area changed");
        return false;
    }
    // Outside the damage the kept frame replaces whatever the device holds; a device filled
    // otherwise shows it in its first pixel already.
    if (!filledWith(target, damage | QRect(0, 0, 1, 1), state.background)) {
        qCDebug(lcRetained, "full frame: another background under the changes");
        return false;
    }

    // Every box that may draw into the damage, in paint order.
    QVector<QRectF> deviceDamage, itemDamage;
    for (const QRect &rect : damage) {
        deviceDamage << QRectF(rect);
        itemDamage << toItem.mapRect(QRectF(rect));
    }
    const RectGrid visible(itemDamage);
    QVector<int> touched[BoxFamilyCount];
    for (int family = 0; family < BoxFamilyCount; ++family) {
        const QVector<QRectF> &extents = state.extents[family];
        for (const int i : boxesNear(family, deviceDamage)) {
            if (!extents[i].isEmpty() && visible.meets(extents[i]))
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
                    BoxSelection::only(touched[family], visible));
    }
    painter->save();
    painter->resetTransform();
    painter->setClipRegion(QRegion(area).subtracted(damage));
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    painter->drawImage(QPointF(0, 0), state.image);
    painter->restore();
    tools[BoxFamilyCount].install(painter);

    if (state.image.size() != target.size) {
        QImage resized(target.size, target.format);
        resized.setDevicePixelRatio(target.ratio);
        QPainter copy(&resized);
        copy.setCompositionMode(QPainter::CompositionMode_Source);
        copy.drawImage(QPointF(0, 0), state.image);
        copy.end();
        state.image = resized;
    }
    keepPixels(target, state.image, damage);
    state.target = target;
    qCDebug(lcRetained, "repainted %d boxes in %d rectangles",
            int(touched[0].size() + touched[1].size() + touched[2].size()), damage.rectCount());
    return true;
}

// A full frame, exactly as painted without a kept frame. A frame the target allows to keep
// replaces the kept one; any other leaves it as it was, for the device it was painted on.
void repaintEverything(const Bll_Painted_Item &item, QPainter *painter, ItemState &state,
                       const PaintTarget &target, bool retainable, quint32 background)
{
    int boxCount = 0;
    for (const BoxFamilyOps *family : boxFamilies)
        boxCount += family->count(item);
    const bool banded = BandedPainting::pays(target, boxCount);
    if (!retainable && !banded) {
        for (int family = 0; family < BoxFamilyCount; ++family)
            paintFamily(item, painter, state, BoxFamily(family),
                        BoxSelection::all(boxFamilies[family]->count(item)));
        return;
    }

    const FamilyTools families(item, target.tools);
    QVector<QRectF> extents[BoxFamilyCount];
    for (int family = 0; family < BoxFamilyCount; ++family) {
        extents[family].resize(boxFamilies[family]->count(item));
        boxFamilies[family]->extents(item, families.tools[family], nullptr, false,
                                     extents[family].data());
        state.labels[family].resize(extents[family].size());
    }
    // What the boxes go over, which a frame that repaints part of them finds there again. An item
    // that may draw under its boxes found a uniform device already.
    if (retainable && state.kind != ItemState::DrawsUnder)
        background = devicePixels(target, QRect(0, 0, 1, 1)).pixel(0, 0);
    if (banded) {
        BandedPainting::paint(item, painter, target, families.tools, extents, state.labels);
    } else {
        for (int family = 0; family < BoxFamilyCount; ++family)
            paintFamily(item, painter, state, BoxFamily(family),
                        BoxSelection::all(extents[family].size()));
    }
    if (!retainable)
        return;

    for (int family = 0; family < BoxFamilyCount; ++family) {
        state.extents[family] = extents[family];
        state.exits[family] = families.tools[family + 1];
        state.added[family].clear();
        state.switched[family].clear();
    }
    state.changes = 0;
    if (state.image.size() != target.size || state.image.format() != target.format)
        state.image = QImage(target.size, target.format);
    state.image.setDevicePixelRatio(target.ratio);
    keepPixels(target, state.image, target.area());
    state.target = target;
    state.fillColor = item.fillColor();
    state.background = background;
    state.fontGeneration = fontGeneration();
    state.everything = false;
    state.valid = true;
}

} // namespace

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
    const bool retainable = target.retainable()
            && (!drawsUnder || (target.image && uniform(*target.image, &background)));

    const char *full = !target.retainable()     ? "not an unclipped raster image or pixmap"
            : !retainable && target.pixmap      ? "a derived item on a pixmap"
            : !retainable                       ? "something under the boxes"
            : !state.valid                      ? "nothing kept"
            : state.everything                  ? "styles or clears"
            : !target.sameButSize(state.target) ? "another device or painter state"
            : item.fillColor() != state.fillColor || (drawsUnder && background != state.background)
            ? "another background"
            : state.fontGeneration != fontGeneration() ? "fonts changed"
                                                       : nullptr;
    if (!full && repaintChanges(item, painter, state, target))
        return;
    if (full)
        qCDebug(lcRetained, "full frame: %s", full);
    repaintEverything(item, painter, state, target, retainable, background);
}

namespace {

// The list a change goes to, or none when a full frame is due anyway. Past a few dozen changed
// boxes (all of them moved, say) a full frame costs less than working out their damage, and the
// lists stop growing between frames.
QVector<int> *changeList(ItemState *state, BoxFamily family, RetainedPainting::Change change,
                         int count)
{
    if (!state || state->everything || count == 0)
        return nullptr;
    state->changes += count;
    if (state->changes > maxChangedBoxes) {
        state->everything = true;
        state->changes = 0;
        for (int f = 0; f < BoxFamilyCount; ++f) {
            state->added[f].clear();
            state->switched[f].clear();
        }
        return nullptr;
    }
    return &(change == RetainedPainting::Added ? state->added : state->switched)[family];
}

} // namespace

void RetainedPainting::boxChanged(const Bll_Painted_Item *item, BoxFamily family, int index,
                                  Change change)
{
    ItemState *state = ItemState::find(item);
    if (state && change == Added)
        state->index.moved(family, index);
    if (QVector<int> *list = changeList(state, family, change, 1))
        list->append(index);
}

void RetainedPainting::boxesChanged(const Bll_Painted_Item *item, BoxFamily family,
                                    const QVector<int> &indices, Change change)
{
    ItemState *state = ItemState::find(item);
    for (int i = 0; state && change == Added && i < indices.size(); ++i)
        state->index.moved(family, indices[i]);
    if (QVector<int> *list = changeList(state, family, change, indices.size()))
        *list += indices;
}

void RetainedPainting::familyCleared(const Bll_Painted_Item *item, BoxFamily family)
{
    if (ItemState *state = ItemState::find(item)) {
        state->everything = true;
        state->index.cleared(family);
        // Other boxes will take the places, and their labels other texts.
        state->labels[family] = LabelStore();
    }
}

void RetainedPainting::everythingChanged(const Bll_Painted_Item *item)
{
    if (ItemState *state = ItemState::find(item))
        state->everything = true;
}

void RetainedPainting::forget(const Bll_Painted_Item *item)
{
    ItemState::forget(item);
}

void paintWholeFamily(const Bll_Painted_Item &item, QPainter *painter, BoxFamily family)
{
    paintFamily(item, painter, ItemState::of(&item), family,
                BoxSelection::all(boxFamilies[family]->count(item)));
}
