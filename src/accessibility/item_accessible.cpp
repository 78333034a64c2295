#include "item_accessible.h"

#include "../boxes/box_edits.h"
#include "../core/item_state.h"
#include "../core/style_keys.h"
#include "../view/view_access.h"
#include "bll_painted_item.h"
#include "bll_painted_item_picking.h"
#include "box_activation.h"

#include <QtQml/QQmlProperty>
#include <QtQuick/QQuickWindow>

#include <algorithm>
#include <iterator>

namespace {

// Past this many events in one turn, one event that the children changed says more.
constexpr int bulkEvents = 32;

const QString *const pickedKeys[4] = {&OptionKey::topBorder, &OptionKey::bottomBorder,
                                      &OptionKey::leftBorder, &OptionKey::rightBorder};
const QString *const paramKeys[4] = {&OptionKey::topParam, &OptionKey::bottomParam,
                                     &OptionKey::leftParam, &OptionKey::rightParam};

// Qt's cache deletes every interface when the application ends, in no order: one may be gone
// before the interface that made it.
void deleteIfAlive(QAccessible::Id id)
{
    if (id && QAccessible::accessibleInterface(id))
        QAccessible::deleteAccessibleInterface(id);
}

} // namespace

int sideIndex(const QString &side)
{
    for (int s = 0; s < 4; ++s) {
        if (sideNames[s] == side)
            return s;
    }
    return -1;
}

namespace {

// What a client is told of a box: its states and its description, compared after changes.
struct Shown
{
    QAccessible::State state;
    QString description;
    bool checked[4] = {};
    QString sideDescriptions[4];
};

QString joinedSides(const QVariantMap &box, const QString &prefix)
{
    QStringList sides;
    for (int s = 0; s < 4; ++s) {
        if (box.value(*pickedKeys[s]).toBool())
            sides << sideNames[s];
    }
    return sides.isEmpty() ? QString() : prefix + sides.join(QStringLiteral(", "));
}

} // namespace

// A box, or a side of a parameter box when side >= 0.
class ItemAccessible::BoxAccessible final : public QAccessibleInterface,
                                            public QAccessibleActionInterface
{
public:
    BoxAccessible(ItemAccessible *owner, BoxFamily family, const QString &boxId, int side)
        : m_owner(owner), m_family(family), m_boxId(boxId), m_side(side)
    {
        if (m_side < 0)
            m_shown = shown();
    }
    ~BoxAccessible() override
    {
        for (QAccessible::Id id : m_sides)
            deleteIfAlive(id);
    }

    int tableIndex() const
    {
        const Bll_Painted_Item *item = m_owner->item();
        return item ? BoxEdits::indexOf(*item, m_family, m_boxId) : -1;
    }
    QVariantMap box() const
    {
        const Bll_Painted_Item *item = m_owner->item();
        return item ? BoxEdits::box(*item, m_family, m_boxId) : QVariantMap();
    }
    AccessibleBox key() const
    {
        return {m_family, m_boxId, m_side >= 0 ? sideNames[m_side] : QString()};
    }

    bool isValid() const override { return m_announcing || (!m_dropped && tableIndex() >= 0); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_owner->window(); }
    QAccessibleInterface *parent() const override
    {
        if (m_side < 0)
            return m_owner;
        return m_owner->made(m_family, m_boxId);
    }
    int childCount() const override { return m_side < 0 && m_family == ParameterBoxes ? 4 : 0; }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        QAccessible::Id &id = m_sides[index];
        if (!id)
            id = QAccessible::registerAccessibleInterface(
                    new BoxAccessible(m_owner, m_family, m_boxId, index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int s = 0; s < 4; ++s) {
            if (m_sides[s] && QAccessible::accessibleInterface(m_sides[s]) == child)
                return s;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const Bll_Painted_Item *item = m_owner->item();
        if (!item || childCount() == 0)
            return nullptr;
        const QPointF point = item->mapFromGlobal(QPointF(x, y));
        const BllPickedBox picked = BllPicking::boxAt(item, point);
        const int side = sideIndex(picked.side);
        if (picked.boxId != m_boxId || picked.family != QLatin1String(boxFamilies[m_family]->name)
            || side < 0)
            return nullptr;
        return child(side);
    }

    QString text(QAccessible::Text t) const override
    {
        if (m_side >= 0) {
            if (t == QAccessible::Name)
                return sideNames[m_side];
            if (t == QAccessible::Description || t == QAccessible::Value)
                return sideDescription(box(), m_side);
            return QString();
        }
        switch (t) {
        case QAccessible::Name:
            return m_owner->nameOf(m_family, m_boxId);
        case QAccessible::Description:
            return description(box());
        default:
            return QString();
        }
    }
    void setText(QAccessible::Text, const QString &) override { }
    QAccessible::Role role() const override
    {
        if (m_side >= 0)
            return QAccessible::CheckBox;
        switch (m_family) {
        case ParameterBoxes:
            return QAccessible::Grouping;
        case DviBoxes:
            return QAccessible::StaticText;
        default:
            return QAccessible::ListItem;
        }
    }
    QAccessible::State state() const override
    {
        if (m_side >= 0) {
            QAccessible::State state = boxState();
            state.checkable = true;
            state.checked = box().value(*pickedKeys[m_side]).toBool();
            state.focused = m_owner->focusBox() == key();
            state.selectable = state.selected = state.hotTracked = false;
            return state;
        }
        return shown().state;
    }
    QRect rect() const override
    {
        const Bll_Painted_Item *item = m_owner->item();
        const int index = tableIndex();
        QRectF rect;
        if (!item || index < 0 || !boxFamilies[m_family]->pickRect(*item, index, &rect))
            return QRect();
        if (m_side >= 0)
            rect = parameterBandRect(*item, index, m_side);
        return m_owner->toScreen(ViewAccess::boxesToItem(*item).mapRect(rect));
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface
                ? static_cast<QAccessibleActionInterface *>(this)
                : nullptr;
    }
    QStringList actionNames() const override { return {pressAction(), toggleAction()}; }
    void doAction(const QString &name) override
    {
        if (Bll_Painted_Item *item = m_owner->item()) {
            if (name == pressAction() || name == toggleAction())
                BoxActivation::activate(item, key());
        }
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    // What the client is told, as the box is now; for the box itself, not a side.
    Shown shown() const
    {
        Shown s;
        const QVariantMap map = box();
        s.state = boxState();
        if (m_family == SimpleBoxes) {
            s.state.selectable = true;
            s.state.selected = map.value(OptionKey::isSelected).toBool();
            s.state.hotTracked = map.value(OptionKey::isHover).toBool();
        }
        s.description = description(map);
        if (m_family == ParameterBoxes) {
            for (int side = 0; side < 4; ++side) {
                s.checked[side] = map.value(*pickedKeys[side]).toBool();
                s.sideDescriptions[side] = sideDescription(map, side);
            }
        }
        return s;
    }
    // Sends the events that take the client from what it was told to what is.
    void sendChanges()
    {
        const Shown now = shown();
        if (now.state.selected != m_shown.state.selected) {
            QAccessibleEvent event(this, QAccessible::Selection);
            QAccessible::updateAccessibility(&event);
        }
        QAccessible::State changed;
        changed.hotTracked = now.state.hotTracked != m_shown.state.hotTracked;
        changed.invisible = now.state.invisible != m_shown.state.invisible;
        changed.offscreen = now.state.offscreen != m_shown.state.offscreen;
        if (changed.hotTracked || changed.invisible || changed.offscreen) {
            QAccessibleStateChangeEvent event(this, changed);
            QAccessible::updateAccessibility(&event);
        }
        if (now.description != m_shown.description) {
            QAccessibleEvent event(this, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        }
        for (int side = 0; side < 4; ++side) {
            if (!m_sides[side])
                continue;
            QAccessibleInterface *sideInterface = QAccessible::accessibleInterface(m_sides[side]);
            if (now.checked[side] != m_shown.checked[side]) {
                QAccessible::State checked;
                checked.checked = true;
                QAccessibleStateChangeEvent event(sideInterface, checked);
                QAccessible::updateAccessibility(&event);
            }
            if (now.sideDescriptions[side] != m_shown.sideDescriptions[side]) {
                QAccessibleEvent event(sideInterface, QAccessible::DescriptionChanged);
                QAccessible::updateAccessibility(&event);
            }
        }
        m_shown = now;
    }
    void moved()
    {
        QAccessibleEvent event(this, QAccessible::LocationChanged);
        QAccessible::updateAccessibility(&event);
    }
    // The client hears that the box is gone while it still answers as it did.
    void announceRemoval()
    {
        m_announcing = true;
        QAccessibleEvent event(this, QAccessible::ObjectDestroyed);
        QAccessible::updateAccessibility(&event);
        m_announcing = false;
    }
    void markDropped() { m_dropped = true; }

private:
    QAccessible::State boxState() const
    {
        QAccessible::State state;
        const Bll_Painted_Item *item = m_owner->item();
        const int index = tableIndex();
        QRectF rect;
        state.focusable = true;
        state.focused = m_side < 0 && m_owner->focusBox() == key();
        if (!item || index < 0 || !boxFamilies[m_family]->pickRect(*item, index, &rect)) {
            state.invisible = true;
            return state;
        }
        state.invisible = !item->isVisible();
        state.offscreen = !ViewAccess::boxesToItem(*item).mapRect(rect).intersects(
                QRectF(0, 0, item->width(), item->height()));
        return state;
    }
    QString description(const QVariantMap &map) const
    {
        if (m_family != DviBoxes || map.isEmpty())
            return QString();
        QString text = joinedSides(map, QStringLiteral("marked: "));
        if (!map.value(OptionKey::showText).toBool())
            text += (text.isEmpty() ? QString() : QStringLiteral("; "))
                    + QStringLiteral("text hidden");
        return text;
    }
    static QString sideDescription(const QVariantMap &map, int side)
    {
        if (map.isEmpty())
            return QString();
        return QStringLiteral("parameter ")
                + QString::number(map.value(*paramKeys[side]).toDouble());
    }

    ItemAccessible *m_owner;
    BoxFamily m_family;
    QString m_boxId;
    int m_side;
    mutable QAccessible::Id m_sides[4] = {};
    Shown m_shown;
    bool m_announcing = false;
    bool m_dropped = false;
};

ItemAccessible::ItemAccessible(Bll_Painted_Item *item) : QAccessibleObject(item), m_key(item) { }

void ItemAccessible::follow() const
{
    // Changes matter once a client has read the boxes.
    const Bll_Painted_Item *self = item();
    if (m_following || !self)
        return;
    auto *me = const_cast<ItemAccessible *>(this);
    ItemState::of(self).followers.append(me);
    for (int f = 0; f < BoxFamilyCount; ++f)
        me->m_knownSize[f] = boxFamilies[f]->count(*self);
    me->m_following = true;
}

ItemAccessible::~ItemAccessible()
{
    // While the item is destroyed, its state is gone already.
    if (ItemState *state = m_following ? ItemState::find(m_key) : nullptr)
        state->followers.removeOne(this);
    for (const auto &made : m_made) {
        for (QAccessible::Id id : made)
            deleteIfAlive(id);
    }
}

ItemAccessible *ItemAccessible::of(const Bll_Painted_Item *item)
{
    if (!item)
        return nullptr;
    return dynamic_cast<ItemAccessible *>(
            QAccessible::queryAccessibleInterface(const_cast<Bll_Painted_Item *>(item)));
}

Bll_Painted_Item *ItemAccessible::item() const
{
    return static_cast<Bll_Painted_Item *>(object());
}

QAccessibleInterface *ItemAccessible::parent() const
{
    // The nearest ancestor that is in the tree, as Qt Quick's own items find theirs; the window
    // above the top.
    const Bll_Painted_Item *self = item();
    if (!self)
        return nullptr;
    QQuickWindow *window = self->window();
    for (QQuickItem *up = self->parentItem(); up; up = up->parentItem()) {
        if (window && up == window->contentItem())
            break;
        if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(up))
            return iface;
    }
    return window ? QAccessible::queryAccessibleInterface(window) : nullptr;
}

const QVector<int> &ItemAccessible::liveIndices(BoxFamily family) const
{
    follow(); // which keeps the places known
    const Bll_Painted_Item &self = *item();
    const int size = boxFamilies[family]->count(self), boxes = BoxEdits::count(self, family);
    // Known places hold every box: a count that differs is taken for places changed unheard.
    const int known = m_live[family].isEmpty() ? size : m_live[family].size();
    if (!m_liveKnown[family] || known != boxes) {
        m_live[family].clear();
        if (boxes != size) {
            m_live[family].reserve(boxes);
            for (int i = 0; i < size; ++i) {
                if (BoxEdits::holdsBox(self, family, i))
                    m_live[family].append(i);
            }
        }
        m_liveKnown[family] = true;
    }
    return m_live[family];
}

int ItemAccessible::tableIndexOfChild(BoxFamily family, int child) const
{
    const QVector<int> &live = liveIndices(family);
    return live.isEmpty() ? child : live.at(child);
}

int ItemAccessible::childOfTableIndex(BoxFamily family, int index) const
{
    const QVector<int> &live = liveIndices(family);
    if (live.isEmpty())
        return index;
    return int(std::lower_bound(live.cbegin(), live.cend(), index) - live.cbegin());
}

int ItemAccessible::childCount() const
{
    const Bll_Painted_Item *self = item();
    if (!self)
        return 0;
    follow();
    int count = 0;
    for (int f = 0; f < BoxFamilyCount; ++f)
        count += BoxEdits::count(*self, BoxFamily(f));
    return count;
}

QAccessibleInterface *ItemAccessible::child(int index) const
{
    const Bll_Painted_Item *self = item();
    if (!self || index < 0)
        return nullptr;
    for (int f = 0; f < BoxFamilyCount; ++f) {
        const BoxFamily family = BoxFamily(f);
        const int count = BoxEdits::count(*self, family);
        if (index < count) {
            const QString &boxId = boxFamilies[f]->boxId(*self, tableIndexOfChild(family, index));
            return const_cast<ItemAccessible *>(this)->boxInterface({family, boxId, QString()});
        }
        index -= count;
    }
    return nullptr;
}

int ItemAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const Bll_Painted_Item *self = item();
    const auto *box = dynamic_cast<const BoxAccessible *>(child);
    if (!self || !box || box->parent() != this)
        return -1;
    const AccessibleBox key = box->key();
    const int index = BoxEdits::indexOf(*self, key.family, key.boxId);
    if (index < 0)
        return -1;
    int before = 0;
    for (int f = 0; f < key.family; ++f)
        before += BoxEdits::count(*self, BoxFamily(f));
    return before + childOfTableIndex(key.family, index);
}

QAccessibleInterface *ItemAccessible::childAt(int x, int y) const
{
    const Bll_Painted_Item *self = item();
    if (!self)
        return nullptr;
    const BllPickedBox picked = BllPicking::boxAt(self, self->mapFromGlobal(QPointF(x, y)));
    BoxFamily family;
    if (picked.isNull() || !BoxEdits::familyNamed(picked.family, &family))
        return nullptr;
    return const_cast<ItemAccessible *>(this)->boxInterface({family, picked.boxId, QString()});
}

QWindow *ItemAccessible::window() const
{
    const Bll_Painted_Item *self = item();
    return self ? self->window() : nullptr;
}

QString ItemAccessible::text(QAccessible::Text t) const
{
    // What QML gave the item (Accessible.name, Accessible.description) counts first.
    Bll_Painted_Item *self = item();
    if (!self)
        return QString();
    const char *property = t == QAccessible::Name ? "Accessible.name"
            : t == QAccessible::Description       ? "Accessible.description"
                                                  : nullptr;
    if (!property)
        return QString();
    // Reading may attach the Accessible properties, whose making announces the item, and a
    // client may ask its name right then.
    static thread_local bool reading = false;
    QString given;
    QQmlContext *context = qmlContext(self);
    if (context && !reading) {
        reading = true;
        given = QQmlProperty(self, QLatin1String(property), context).read().toString();
        reading = false;
    }
    if (given.isEmpty() && t == QAccessible::Name)
        given = self->objectName();
    return given;
}

QAccessible::Role ItemAccessible::role() const
{
    return QAccessible::Grouping;
}

QAccessible::State ItemAccessible::state() const
{
    QAccessible::State state;
    const Bll_Painted_Item *self = item();
    if (!self)
        return state;
    state.invisible = !self->isVisible();
    state.focused = self->hasActiveFocus();
    return state;
}

QRect ItemAccessible::toScreen(const QRectF &rect) const
{
    const Bll_Painted_Item *self = item();
    if (!self)
        return QRect();
    const QRectF scene = self->mapRectToScene(rect);
    QPointF origin = scene.topLeft();
    if (const QQuickWindow *window = self->window())
        origin = window->mapToGlobal(QPoint(0, 0)) + scene.topLeft();
    return QRectF(origin, scene.size()).toAlignedRect();
}

QRect ItemAccessible::rect() const
{
    const Bll_Painted_Item *self = item();
    return self ? toScreen(QRectF(0, 0, self->width(), self->height())) : QRect();
}

ItemAccessible::BoxAccessible *ItemAccessible::made(BoxFamily family, const QString &boxId) const
{
    const QAccessible::Id id = m_made[family].value(boxId);
    return id ? static_cast<BoxAccessible *>(QAccessible::accessibleInterface(id)) : nullptr;
}

QAccessibleInterface *ItemAccessible::boxInterface(const AccessibleBox &box)
{
    const Bll_Painted_Item *self = item();
    if (!self || BoxEdits::indexOf(*self, box.family, box.boxId) < 0)
        return nullptr;
    follow();
    BoxAccessible *iface = made(box.family, box.boxId);
    if (!iface) {
        iface = new BoxAccessible(this, box.family, box.boxId, -1);
        m_made[box.family].insert(box.boxId, QAccessible::registerAccessibleInterface(iface));
    }
    if (box.side.isEmpty())
        return iface;
    return box.family == ParameterBoxes ? iface->child(sideIndex(box.side)) : nullptr;
}

QString ItemAccessible::nameOf(BoxFamily family, const QString &boxId) const
{
    const QString name = m_names[family].value(boxId);
    return name.isEmpty() ? boxId : name;
}

void ItemAccessible::setNames(BoxFamily family, const QVariantMap &names)
{
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        const QString name = it.value().toString();
        if (name.isEmpty())
            m_names[family].remove(it.key());
        else
            m_names[family].insert(it.key(), name);
        if (BoxAccessible *box = made(family, it.key())) {
            QAccessibleEvent event(box, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
}

void ItemAccessible::boxesChanged(BoxFamily family, const int *indices, int count, Change change)
{
    QVector<int> &list = change == Added ? m_pending.added[family] : m_pending.switched[family];
    if (change == Added)
        m_liveKnown[family] = false;
    // Past the bulk, which boxes they were no longer matters.
    if (m_pending.changes <= bulkEvents)
        std::copy(indices, indices + qMin(count, bulkEvents + 1), std::back_inserter(list));
    m_pending.changes += count;
    postChanges();
}

void ItemAccessible::familyCleared(BoxFamily family)
{
    m_liveKnown[family] = false;
    m_pending.cleared[family] = true;
    ++m_pending.changes;
    postChanges();
}

void ItemAccessible::postChanges()
{
    if (m_posted || !item())
        return;
    m_posted = true;
    // The item's own interface, looked up again: the cache may have dropped this one.
    QMetaObject::invokeMethod(
            item(),
            [item = item()] {
                if (ItemAccessible *iface = ItemAccessible::of(item))
                    iface->sendChanges();
            },
            Qt::QueuedConnection);
}

void ItemAccessible::drop(BoxFamily family, const QString &boxId, bool announce)
{
    BoxAccessible *box = made(family, boxId);
    if (!box)
        return;
    if (announce)
        box->announceRemoval();
    if (m_focus.family == family && m_focus.boxId == boxId)
        m_focus = AccessibleBox();
    box->markDropped();
    deleteIfAlive(m_made[family].take(boxId));
}

void ItemAccessible::dropAll(BoxFamily family)
{
    const QStringList ids = m_made[family].keys();
    for (const QString &boxId : ids)
        drop(family, boxId, false);
}

void ItemAccessible::sendChanges()
{
    m_posted = false;
    Pending pending = std::move(m_pending);
    m_pending = Pending();
    const Bll_Painted_Item *self = item();
    if (!self)
        return;
    int sizes[BoxFamilyCount];
    for (int f = 0; f < BoxFamilyCount; ++f)
        sizes[f] = boxFamilies[f]->count(*self);

    if (pending.changes > bulkEvents) {
        // A client that read boxes reads them again; one event tells it so.
        bool had = false;
        for (int f = 0; f < BoxFamilyCount; ++f) {
            had = had || !m_made[f].isEmpty();
            dropAll(BoxFamily(f));
            m_knownSize[f] = sizes[f];
        }
        if (QAccessibleInterface *first = child(0)) {
            QAccessibleEvent event(first, QAccessible::ObjectCreated);
            QAccessible::updateAccessibility(&event);
        } else if (had) {
            QAccessibleEvent event(this, QAccessible::ObjectReorder);
            QAccessible::updateAccessibility(&event);
        }
        return;
    }

    for (int f = 0; f < BoxFamilyCount; ++f) {
        const BoxFamily family = BoxFamily(f);
        const int known = m_knownSize[f];
        m_knownSize[f] = sizes[f];
        if (pending.cleared[f] || !pending.added[f].isEmpty()) {
            // Boxes that are gone, whether cleared, removed or taken by new places.
            const QStringList ids = m_made[f].keys();
            for (const QString &boxId : ids) {
                if (BoxEdits::indexOf(*self, family, boxId) < 0)
                    drop(family, boxId, true);
            }
        }
        for (const int index : qAsConst(pending.added[f])) {
            if (!BoxEdits::holdsBox(*self, family, index))
                continue;
            const QString &boxId = boxFamilies[f]->boxId(*self, index);
            if (index >= known && !made(family, boxId)) {
                QAccessibleEvent event(boxInterface({family, boxId, QString()}),
                                       QAccessible::ObjectCreated);
                QAccessible::updateAccessibility(&event);
            } else if (BoxAccessible *box = made(family, boxId)) {
                box->moved();
                box->sendChanges();
            }
        }
        for (const int index : qAsConst(pending.switched[f])) {
            if (index >= sizes[f])
                continue;
            const QString &boxId = boxFamilies[f]->boxId(*self, index);
            BoxAccessible *box = made(family, boxId);
            if (box && box->tableIndex() == index)
                box->sendChanges();
        }
    }
}
