#include "bll_painted_item_navigator.h"

#include "../boxes/box_edits.h"
#include "../core/item_state.h"
#include "../view/view_access.h"
#include "bll_painted_item.h"
#include "bll_painted_item_view.h"
#include "box_activation.h"
#include "item_accessible.h"

#include <QtCore/QPointer>
#include <QtGui/QKeyEvent>
#include <QtQuick/QQuickWindow>
#include <QtQuick/QSGRectangleNode>

#include <cmath>

namespace {

QVector<BllBoxNavigator *> navigators;

// A place in paint order: the family, then the place in its table.
struct Place
{
    int family = -1;
    int index = -1;
};

bool shown(const Bll_Painted_Item &item, Place place, QRectF *rect)
{
    QRectF ignored;
    return BoxEdits::holdsBox(item, BoxFamily(place.family), place.index)
            && boxFamilies[place.family]->pickRect(item, place.index, rect ? rect : &ignored);
}

// A view pans the least that brings a box the keys moved to into it, `margin` clear of its
// edges; a box larger than the view comes in by its top-left corner.
void reveal(Bll_Painted_Item &item, Place place, qreal margin)
{
    auto *view = qobject_cast<BllViewItem *>(&item);
    QRectF box;
    if (!view || !shown(item, place, &box))
        return;
    box = view->sceneToItem().mapRect(box).adjusted(-margin, -margin, margin, margin);
    const auto by = [](qreal low, qreal high, qreal size) {
        return low < 0 || high - low > size ? -low : high > size ? size - high : 0;
    };
    view->panBy(by(box.left(), box.right(), view->width()),
                by(box.top(), box.bottom(), view->height()));
}

// The next shown box after `from` in paint order (step 1) or before it (step -1); from the
// start or the end when `from` is no place.
Place stepped(const Bll_Painted_Item &item, Place from, int step)
{
    Place at = from;
    if (at.family < 0)
        at = step > 0 ? Place {0, -1}
                      : Place {BoxFamilyCount - 1, boxFamilies[BoxFamilyCount - 1]->count(item)};
    while (at.family >= 0 && at.family < BoxFamilyCount) {
        at.index += step;
        const int size = boxFamilies[at.family]->count(item);
        if (at.index >= 0 && at.index < size) {
            if (shown(item, at, nullptr))
                return at;
            continue;
        }
        at.family += step;
        if (at.family >= 0 && at.family < BoxFamilyCount)
            at.index = step > 0 ? -1 : boxFamilies[at.family]->count(item);
    }
    return Place();
}

QVariant boxValue(const AccessibleBox &box)
{
    return QVariantMap {
            {QStringLiteral("family"), QString::fromLatin1(boxFamilies[box.family]->name)},
            {QStringLiteral("boxId"), box.boxId},
            {QStringLiteral("side"), box.side}};
}

} // namespace

class BllBoxNavigator::Private final : public ItemChangeListener
{
public:
    explicit Private(BllBoxNavigator *q) : q(q) { }
    ~Private() { follow(nullptr); }

    void follow(Bll_Painted_Item *item)
    {
        if (followed)
            if (ItemState *state = ItemState::find(followed))
                state->followers.removeOne(this);
        followed = item;
        if (item)
            ItemState::of(item).followers.append(this);
    }

    // A removed current box leaves no current box; checked once the changes are made.
    void boxesChanged(BoxFamily, const int *, int, Change change) override
    {
        if (change == Added)
            checkLater();
        else
            q->update();
    }
    void familyCleared(BoxFamily) override { checkLater(); }
    void stylesChanged() override { }
    void checkLater()
    {
        if (checkPosted)
            return;
        checkPosted = true;
        QMetaObject::invokeMethod(
                q,
                [this] {
                    checkPosted = false;
                    if (hasCurrent && place().index < 0)
                        setCurrent(AccessibleBox(), false);
                    q->update();
                },
                Qt::QueuedConnection);
    }

    Place place() const
    {
        if (!target || !hasCurrent)
            return Place();
        const int index = BoxEdits::indexOf(*target, current.family, current.boxId);
        return index < 0 ? Place() : Place {current.family, index};
    }

    void setCurrent(const AccessibleBox &box, bool has)
    {
        if (has == hasCurrent && (!has || box == current))
            return;
        current = box;
        hasCurrent = has;
        q->update();
        emit q->currentBoxChanged();
        tellFocus();
    }
    void setCurrent(Place at)
    {
        if (at.family < 0)
            return;
        setCurrent(
                {BoxFamily(at.family), boxFamilies[at.family]->boxId(*target, at.index), QString()},
                true);
    }

    // The accessible focus follows the current box while the navigator has active focus.
    void tellFocus()
    {
        if (!target)
            return;
        ItemAccessible *iface = ItemAccessible::of(target);
        if (!iface)
            return;
        const bool focused = hasCurrent && q->hasActiveFocus();
        iface->setFocusBox(focused ? current : AccessibleBox());
        if (!focused)
            return;
        if (QAccessibleInterface *box = iface->boxInterface(current)) {
            QAccessibleEvent event(box, QAccessible::Focus);
            QAccessible::updateAccessibility(&event);
        }
    }

    // The nearest shown box whose centre lies in the direction (dx, dy) from the current one,
    // the first in paint order among equals. The index is asked for the boxes in a rectangle
    // ahead, `reach` long and as wide: a box outside it scores more than `reach`, so once the
    // best found scores no more, no other box can beat it.
    Place nearest(int dx, int dy) const
    {
        QRectF from;
        const Place at = place();
        if (!shown(*target, at, &from))
            return Place();
        const QPointF centre = from.center();
        BoxIndex &index = ItemState::of(target).index;
        QVector<int> candidates;
        // Shown boxes lie within PaintLimits::reach of the origin: no score passes 6 times that.
        for (double reach = qMax(64.0, qMax(from.width(), from.height()));
             reach <= 8 * PaintLimits::reach; reach *= 2) {
            const QPointF ahead = centre + QPointF(dx, dy) * reach;
            const QPointF across = QPointF(dy, dx) * (reach / 2);
            const QRectF area = QRectF(centre - across, ahead + across).normalized();
            Place best;
            double bestScore = qInf();
            for (int f = 0; f < BoxFamilyCount; ++f) {
                candidates.clear();
                index.boxesMeeting(*target, BoxFamily(f), area, candidates);
                for (const int i : qAsConst(candidates)) {
                    QRectF rect;
                    if ((f == at.family && i == at.index) || !shown(*target, {f, i}, &rect))
                        continue;
                    const QPointF d = rect.center() - centre;
                    const double along = d.x() * dx + d.y() * dy;
                    const double score = along + 2 * (std::abs(d.x() * dy) + std::abs(d.y() * dx));
                    if (along > 0 && score < bestScore) {
                        bestScore = score;
                        best = {f, i};
                    }
                }
            }
            if (bestScore <= reach)
                return best;
        }
        return Place();
    }

    BllBoxNavigator *q;
    QPointer<Bll_Painted_Item> target;
    Bll_Painted_Item *followed = nullptr;
    AccessibleBox current;
    bool hasCurrent = false;
    bool checkPosted = false;
    QColor ringColor = QColor(0x30, 0x8c, 0xc6);
    qreal ringWidth = 2;
};

void BoxActivation::activate(Bll_Painted_Item *item, const AccessibleBox &box)
{
    const QVector<BllBoxNavigator *> all = navigators;
    for (BllBoxNavigator *navigator : all) {
        if (navigator->target() == item)
            emit navigator->activated(boxValue(box));
    }
}

BllBoxNavigator::BllBoxNavigator(QQuickItem *parent)
    : QQuickItem(parent), d(std::make_unique<Private>(this))
{
    setFlag(ItemHasContents);
    setFlag(ItemIsFocusScope, false);
    setActiveFocusOnTab(true);
    navigators.append(this);
}

BllBoxNavigator::~BllBoxNavigator()
{
    navigators.removeOne(this);
}

Bll_Painted_Item *BllBoxNavigator::target() const
{
    return d->target;
}

void BllBoxNavigator::setTarget(Bll_Painted_Item *target)
{
    if (d->target == target && d->followed == target)
        return;
    d->setCurrent(AccessibleBox(), false);
    if (d->target)
        disconnect(d->target, nullptr, this, nullptr);
    d->target = target;
    d->follow(target);
    if (target) {
        // The followed item's state goes with it.
        connect(target, &QObject::destroyed, this, [this] {
            d->followed = nullptr;
            d->hasCurrent = false;
            emit targetChanged();
            emit currentBoxChanged();
            update();
        });
        connect(target, &QQuickItem::xChanged, this, &QQuickItem::update);
        connect(target, &QQuickItem::yChanged, this, &QQuickItem::update);
        // A view moves its boxes as it zooms and pans.
        if (auto *view = qobject_cast<BllViewItem *>(target)) {
            connect(view, &BllViewItem::viewScaleChanged, this, &QQuickItem::update);
            connect(view, &BllViewItem::viewXChanged, this, &QQuickItem::update);
            connect(view, &BllViewItem::viewYChanged, this, &QQuickItem::update);
        }
    }
    update();
    emit targetChanged();
}

QVariant BllBoxNavigator::currentBox() const
{
    if (!d->target || !d->hasCurrent)
        return QVariant::fromValue(nullptr);
    return boxValue(d->current);
}

void BllBoxNavigator::setCurrentBox(const QVariant &box)
{
    const QVariantMap map = box.toMap();
    AccessibleBox wanted;
    wanted.boxId = map.value(QStringLiteral("boxId")).toString();
    wanted.side = map.value(QStringLiteral("side")).toString();
    const bool known = d->target
            && BoxEdits::familyNamed(map.value(QStringLiteral("family")).toString(), &wanted.family)
            && BoxEdits::indexOf(*d->target, wanted.family, wanted.boxId) >= 0
            && (wanted.side.isEmpty()
                || (wanted.family == ParameterBoxes && sideIndex(wanted.side) >= 0));
    d->setCurrent(known ? wanted : AccessibleBox(), known);
}

QColor BllBoxNavigator::ringColor() const
{
    return d->ringColor;
}

void BllBoxNavigator::setRingColor(const QColor &color)
{
    if (d->ringColor == color)
        return;
    d->ringColor = color;
    update();
    emit ringColorChanged();
}

qreal BllBoxNavigator::ringWidth() const
{
    return d->ringWidth;
}

void BllBoxNavigator::setRingWidth(qreal width)
{
    if (!(width >= 0) || !std::isfinite(width))
        width = 0;
    if (d->ringWidth == width)
        return;
    d->ringWidth = width;
    update();
    emit ringWidthChanged();
}

void BllBoxNavigator::keyPressEvent(QKeyEvent *event)
{
    Bll_Painted_Item *target = d->target;
    const Qt::KeyboardModifiers modifiers =
            event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (!target || modifiers != Qt::NoModifier) {
        event->ignore();
        return;
    }
    const Place at = d->place();
    Place to;
    switch (event->key()) {
    case Qt::Key_Tab:
        to = stepped(*target, at, event->modifiers() & Qt::ShiftModifier ? -1 : 1);
        break;
    case Qt::Key_Backtab:
        to = stepped(*target, at, -1);
        break;
    case Qt::Key_Home:
        to = stepped(*target, Place(), 1);
        break;
    case Qt::Key_End:
        to = stepped(*target, Place(), -1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (at.family < 0) {
            to = stepped(*target, Place(), 1);
            break;
        }
        const int key = event->key();
        to = d->nearest(key == Qt::Key_Right          ? 1
                                : key == Qt::Key_Left ? -1
                                                      : 0,
                        key == Qt::Key_Down         ? 1
                                : key == Qt::Key_Up ? -1
                                                    : 0);
        if (to.family < 0)
            to = at; // nothing that way: the key is taken all the same
        break;
    }
    case Qt::Key_Space:
    case Qt::Key_Enter:
    case Qt::Key_Return:
        if (at.family < 0) {
            event->ignore();
            return;
        }
        emit activated(currentBox());
        event->accept();
        return;
    default:
        event->ignore();
        return;
    }
    if (to.family < 0) {
        // Past the ends, Tab leaves for the next item.
        event->ignore();
        return;
    }
    if (to.family != at.family || to.index != at.index) {
        d->setCurrent(to);
        reveal(*target, to, d->ringWidth);
    }
    event->accept();
}

void BllBoxNavigator::focusInEvent(QFocusEvent *event)
{
    QQuickItem::focusInEvent(event);
    d->tellFocus();
}

void BllBoxNavigator::focusOutEvent(QFocusEvent *event)
{
    QQuickItem::focusOutEvent(event);
    d->tellFocus();
}

QSGNode *BllBoxNavigator::updatePaintNode(QSGNode *node, UpdatePaintNodeData *)
{
    // Four bars around the current box, outside its rectangle.
    QRectF box;
    const Place at = d->place();
    const qreal w = d->ringWidth;
    if (!d->target || !shown(*d->target, at, &box) || w <= 0 || d->ringColor.alpha() == 0) {
        delete node;
        return nullptr;
    }
    box = mapRectFromItem(d->target, ViewAccess::boxesToItem(*d->target).mapRect(box));
    if (!node) {
        node = new QSGNode;
        for (int i = 0; i < 4; ++i)
            node->appendChildNode(window()->createRectangleNode());
    }
    const QRectF bars[4] = {
            QRectF(box.left() - w, box.top() - w, box.width() + 2 * w, w),
            QRectF(box.left() - w, box.bottom(), box.width() + 2 * w, w),
            QRectF(box.left() - w, box.top(), w, box.height()),
            QRectF(box.right(), box.top(), w, box.height()),
    };
    QSGNode *child = node->firstChild();
    for (const QRectF &bar : bars) {
        auto *rect = static_cast<QSGRectangleNode *>(child);
        rect->setRect(bar);
        rect->setColor(d->ringColor);
        child = child->nextSibling();
    }
    return node;
}
