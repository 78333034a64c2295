#include "bll_painted_item_picking.h"

#include "../core/item_state.h"
#include "../view/view_access.h"
#include "bll_painted_item.h"

#include <cmath>

namespace {

BllPickedBox picked(const Bll_Painted_Item &item, BoxFamily family, int index)
{
    const BoxFamilyOps &ops = *boxFamilies[family];
    return {QString::fromLatin1(ops.name), ops.boxId(item, index), QString()};
}

const Bll_Painted_Item *itemOf(const QVariant &value)
{
    return qobject_cast<const Bll_Painted_Item *>(value.value<QObject *>());
}

// Picking is asked in the item's coordinates; a view's boxes lie in its scene.
QTransform itemToBoxes(const Bll_Painted_Item &item)
{
    return ViewAccess::boxesToItem(item).inverted();
}

} // namespace

BllPicking::BllPicking(QObject *parent) : QObject(parent) { }

BllPickedBox BllPicking::boxAt(const Bll_Painted_Item *item, const QPointF &itemPoint)
{
    if (!item || !std::isfinite(itemPoint.x()) || !std::isfinite(itemPoint.y()))
        return {};
    const QPointF point = itemToBoxes(*item).map(itemPoint);
    BoxIndex &index = ItemState::of(item).index;
    for (int family = BoxFamilyCount - 1; family >= 0; --family) {
        const BoxFamilyOps &ops = *boxFamilies[family];
        const int found = index.topmostAt(*item, BoxFamily(family), point, [&](int i) {
            QRectF rect;
            return ops.pickRect(*item, i, &rect) && rect.left() <= point.x()
                    && point.x() <= rect.right() && rect.top() <= point.y()
                    && point.y() <= rect.bottom();
        });
        if (found >= 0) {
            BllPickedBox box = picked(*item, BoxFamily(family), found);
            box.side = ops.side(*item, found, point);
            return box;
        }
    }
    return {};
}

QVector<BllPickedBox> BllPicking::boxesIn(const Bll_Painted_Item *item, const QRectF &rect)
{
    QVector<BllPickedBox> boxes;
    if (!item)
        return boxes;
    const QTransform toBoxes = itemToBoxes(*item);
    const QPointF from = toBoxes.map(rect.topLeft()), to = toBoxes.map(rect.bottomRight());
    const double x1 = from.x(), x2 = to.x(), y1 = from.y(), y2 = to.y();
    if (std::isnan(x1) || std::isnan(x2) || std::isnan(y1) || std::isnan(y2))
        return boxes;
    using PaintLimits::clampedEdge;
    const QRectF area(QPointF(clampedEdge(qMin(x1, x2)), clampedEdge(qMin(y1, y2))),
                      QPointF(clampedEdge(qMax(x1, x2)), clampedEdge(qMax(y1, y2))));
    BoxIndex &index = ItemState::of(item).index;
    QVector<int> candidates;
    for (int family = BoxFamilyCount - 1; family >= 0; --family) {
        const BoxFamilyOps &ops = *boxFamilies[family];
        candidates.clear();
        index.boxesMeeting(*item, BoxFamily(family), area, candidates);
        for (auto it = candidates.crbegin(); it != candidates.crend(); ++it) {
            QRectF box;
            if (ops.pickRect(*item, *it, &box) && box.left() <= area.right()
                && area.left() <= box.right() && box.top() <= area.bottom()
                && area.top() <= box.bottom())
                boxes << picked(*item, BoxFamily(family), *it);
        }
    }
    return boxes;
}

QVariant BllPicking::boxAt(const QVariant &item, double x, double y) const
{
    const BllPickedBox box = boxAt(itemOf(item), QPointF(x, y));
    if (box.isNull())
        return QVariant::fromValue(nullptr);
    return QVariantMap {{QStringLiteral("family"), box.family},
                        {QStringLiteral("boxId"), box.boxId},
                        {QStringLiteral("side"), box.side}};
}

QVariantList BllPicking::boxesIn(const QVariant &item, double x, double y, double width,
                                 double height) const
{
    QVariantList list;
    for (const BllPickedBox &box : boxesIn(itemOf(item), QRectF(x, y, width, height)))
        list << QVariantMap {{QStringLiteral("family"), box.family},
                             {QStringLiteral("boxId"), box.boxId}};
    return list;
}
