#include "bll_painted_item_model.h"

#include "../boxes/box_edits.h"
#include "../core/style_keys.h"
#include "bll_painted_item.h"
#include "model_values.h"

namespace {

// A state of a family, and what a box added anew has.
struct StateKey
{
    QString key;
    QVariant fresh;
    bool isParam = false;
};

QVector<StateKey> statesOf(BoxFamily family)
{
    using namespace OptionKey;
    switch (family) {
    case ParameterBoxes:
        return {{topBorder, false},     {bottomBorder, false},  {leftBorder, false},
                {rightBorder, false},   {topParam, 1.0, true},  {bottomParam, 1.0, true},
                {leftParam, 1.0, true}, {rightParam, 1.0, true}};
    case DviBoxes:
        return {{showText, true},      {showBorder, true},  {topBorder, false},
                {bottomBorder, false}, {leftBorder, false}, {rightBorder, false}};
    default:
        return {{isHover, false}, {isSelected, false}};
    }
}

bool isFresh(const StateKey &state, const QVariant &value)
{
    return state.isParam ? value.toReal() == state.fresh.toReal()
                         : value.toBool() == state.fresh.toBool();
}

} // namespace

// The roles of one model and one family, found by name, and what reads a row and writes its box.
struct BllBoxModel::Feed
{
    Feed(BllBoxModel &mapper, BoxFamily family)
        : item(*mapper.m_target), model(*mapper.m_model), family(family)
    {
        QHash<QByteArray, int> byName;
        const QHash<int, QByteArray> names = model.roleNames();
        for (auto it = names.cbegin(); it != names.cend(); ++it)
            byName.insert(it.value(), it.key());
        for (int r = 0; r < RoleCount; ++r)
            roles[r] = byName.value(mapper.m_roleNames[r].toUtf8(), -1);
        for (const StateKey &state : statesOf(family)) {
            const QString name = mapper.m_stateRoles.value(state.key, state.key).toString();
            const int role = byName.value(name.toUtf8(), -1);
            (role >= 0 ? mapped : unmapped) << State {state, role};
        }
    }

    struct State
    {
        StateKey key;
        int role;
    };

    QVariant value(const QModelIndex &index, int role) const
    {
        return role >= 0 ? model.data(index, role) : QVariant();
    }
    QString boxId(int row) const { return value(model.index(row, 0), roles[IdRole]).toString(); }

    // Adds the row's box, with `kept` states (of a box fed before) where the row has none.
    QString add(int row, const QVariantMap &kept = QVariantMap())
    {
        const QModelIndex index = model.index(row, 0);
        const QString id = value(index, roles[IdRole]).toString();
        const auto number = [&](Role role) {
            return ModelValues::number(value(index, roles[role]));
        };
        const double x = number(XRole), y = number(YRole), width = number(WidthRole),
                     height = number(HeightRole);
        switch (family) {
        case ParameterBoxes:
            item.addBoxF(id, x, y, width, height, number(BorderWidthRole));
            break;
        case DviBoxes:
            item.addBoxDVIF(id, x, y, width, height, number(BorderWidthRole));
            break;
        default:
            item.addBoxSimpleF(id, x, y, width, height);
        }
        QVariantMap states = kept;
        for (const State &state : mapped) {
            const QVariant v = value(index, state.role);
            if (isFresh(state.key, v))
                states.remove(state.key.key);
            else
                states.insert(state.key.key, v);
        }
        if (!states.isEmpty())
            setStates(id, states);
        return id;
    }

    // Gives the row's box what the roles hold now; its boxId is as it was.
    void change(int row, const QString &id, const QVector<int> &changedRoles)
    {
        const QModelIndex index = model.index(row, 0);
        const auto changed = [&](int role) {
            return role >= 0 && (changedRoles.isEmpty() || changedRoles.contains(role));
        };
        bool moved = false;
        for (int r = XRole; r < RoleCount; ++r)
            moved |= changed(roles[r]);
        if (moved) {
            const auto number = [&](Role role) {
                return ModelValues::number(value(index, roles[role]));
            };
            BoxEdits::setGeometry(item, family, id, number(XRole), number(YRole), number(WidthRole),
                                  number(HeightRole), number(BorderWidthRole));
        }
        QVariantMap states;
        for (const State &state : mapped) {
            if (changed(state.role))
                states.insert(state.key.key, value(index, state.role));
        }
        if (!states.isEmpty())
            setStates(id, states);
    }

    // The states that no role gives, as the box has them.
    QVariantMap unmappedStates(const QString &id) const
    {
        QVariantMap states;
        if (unmapped.isEmpty())
            return states;
        const QVariantMap box = BoxEdits::box(item, family, id);
        for (const State &state : unmapped) {
            const auto it = box.constFind(state.key.key);
            if (it != box.cend() && !isFresh(state.key, *it))
                states.insert(state.key.key, *it);
        }
        return states;
    }

    void setStates(const QString &id, const QVariantMap &states)
    {
        switch (family) {
        case ParameterBoxes:
            item.updateBoxF(id, states);
            BoxEdits::setParameters(item, id, states);
            break;
        case DviBoxes:
            item.updateBoxDVIF(id, states);
            break;
        default:
            item.updateBoxSimpleF(id, states);
        }
    }

    Bll_Painted_Item &item;
    QAbstractItemModel &model;
    BoxFamily family;
    int roles[RoleCount];
    QVector<State> mapped, unmapped;
};

BllBoxModel::BllBoxModel(QObject *parent) : QObject(parent)
{
    m_roleNames[IdRole] = QStringLiteral("boxId");
    m_roleNames[XRole] = QStringLiteral("x");
    m_roleNames[YRole] = QStringLiteral("y");
    m_roleNames[WidthRole] = QStringLiteral("width");
    m_roleNames[HeightRole] = QStringLiteral("height");
    m_roleNames[BorderWidthRole] = QStringLiteral("borderWidth");
}

// The boxes stay with the item, which may outlive its feed: they are the model's last picture.
BllBoxModel::~BllBoxModel() = default;

void BllBoxModel::setTarget(Bll_Painted_Item *target)
{
    if (target == m_target)
        return;
    if (m_target)
        disconnect(m_target, &QObject::destroyed, this, nullptr);
    m_target = target;
    if (target) {
        connect(target, &QObject::destroyed, this, [this] {
            m_rowIds.clear();
            m_repeats = false;
            Q_EMIT targetChanged();
            Q_EMIT countChanged();
        });
    }
    feedAnew();
    Q_EMIT targetChanged();
}

void BllBoxModel::setModel(QAbstractItemModel *model)
{
    if (model == m_model)
        return;
    for (const QMetaObject::Connection &connection : qAsConst(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_model = model;
    if (model) {
        using M = QAbstractItemModel;
        const auto anew = [this] { feedAnew(); };
        m_connections = {
                connect(model, &M::rowsInserted, this,
                        [this](const QModelIndex &parent, int first, int last) {
                            if (!parent.isValid())
                                rowsInserted(first, last);
                        }),
                connect(model, &M::rowsRemoved, this,
                        [this](const QModelIndex &parent, int first, int last) {
                            if (!parent.isValid())
                                rowsRemoved(first, last);
                        }),
                connect(model, &M::dataChanged, this, &BllBoxModel::dataChanged),
                connect(model, &M::rowsMoved, this, anew),
                connect(model, &M::columnsInserted, this, anew),
                connect(model, &M::columnsRemoved, this, anew),
                connect(model, &M::columnsMoved, this, anew),
                connect(model, &M::layoutChanged, this, anew),
                connect(model, &M::modelReset, this, anew),
                connect(model, &QObject::destroyed, this,
                        [this] {
                            unfeed();
                            finish(true, -1);
                            Q_EMIT modelChanged();
                        }),
        };
    }
    feedAnew();
    Q_EMIT modelChanged();
}

void BllBoxModel::setFamily(const QString &family)
{
    if (family == m_family)
        return;
    m_family = family;
    feedAnew();
    Q_EMIT familyChanged();
}

void BllBoxModel::setRole(Role role, const QString &name)
{
    if (name == m_roleNames[role])
        return;
    m_roleNames[role] = name;
    feedAnew();
    Q_EMIT rolesChanged();
}

void BllBoxModel::setStateRoles(const QVariantMap &roles)
{
    if (roles == m_stateRoles)
        return;
    m_stateRoles = roles;
    feedAnew();
    Q_EMIT rolesChanged();
}

void BllBoxModel::classBegin()
{
    m_completing = true;
}

void BllBoxModel::componentComplete()
{
    m_completing = false;
    feedAnew();
}

// Removes the boxes fed, from where they were fed.
void BllBoxModel::unfeed()
{
    if (m_fedTarget && m_fedFamily >= 0 && !m_rowIds.isEmpty()) {
        BoxEdits::remove(*m_fedTarget, BoxFamily(m_fedFamily), QStringList(m_rowIds.toList()));
        m_fedTarget->update();
    }
    m_rowIds.clear();
    m_repeats = false;
    m_fedTarget = nullptr;
    m_fedFamily = -1;
}

// Adds the boxes of rows first to last behind those fed, with the states `kept` has for them.
// Where the family gains fewer boxes than rows, a boxId was a box already: of another row, or
// added otherwise.
void BllBoxModel::feedRows(Feed &feed, int first, int last, const QHash<QString, QVariantMap> &kept)
{
    const BoxFamily family = BoxFamily(m_fedFamily);
    const int before = BoxEdits::count(*m_fedTarget, family);
    m_rowIds.reserve(m_rowIds.size() + last - first + 1);
    for (int row = first; row <= last; ++row)
        m_rowIds << feed.add(row, kept.isEmpty() ? QVariantMap() : kept.value(feed.boxId(row)));
    if (BoxEdits::count(*m_fedTarget, family) != before + last - first + 1)
        m_repeats = true;
}

void BllBoxModel::feedAnew()
{
    if (m_completing)
        return;
    const int before = m_rowIds.size();
    unfeed();
    BoxFamily family;
    if (!m_target || !m_model || !BoxEdits::familyNamed(m_family, &family))
        return finish(false, before);
    m_fedTarget = m_target;
    m_fedFamily = family;
    Feed feed(*this, family);
    feedRows(feed, 0, m_model->rowCount() - 1);
    finish(true, before);
}

// Rows after `row` keep their boxes' order behind the boxes of the rows from `row` on, so that
// those are fed again: the boxes of the old rows from there removed, those of the rows now there
// added, with the states that no role gives kept.
void BllBoxModel::refeedFrom(int row)
{
    if (m_repeats)
        return feedAnew();
    Feed feed(*this, BoxFamily(m_fedFamily));
    QHash<QString, QVariantMap> kept;
    for (int r = row; r < m_rowIds.size(); ++r) {
        const QString &id = m_rowIds[r];
        const QVariantMap states = feed.unmappedStates(id);
        if (!states.isEmpty())
            kept.insert(id, states);
        BoxEdits::remove(*m_fedTarget, BoxFamily(m_fedFamily), id);
    }
    m_rowIds.resize(row);
    feedRows(feed, row, m_model->rowCount() - 1, kept);
}

void BllBoxModel::rowsInserted(int first, int last)
{
    if (!m_fedTarget || m_fedTarget != m_target)
        return;
    const int before = m_rowIds.size();
    if (first < m_rowIds.size()) {
        refeedFrom(first);
    } else {
        Feed feed(*this, BoxFamily(m_fedFamily));
        feedRows(feed, first, last);
    }
    finish(true, before);
}

// Where rows share boxIds, which row's values a box shows depends on all of them: the family is
// fed anew.
void BllBoxModel::rowsRemoved(int first, int last)
{
    if (!m_fedTarget || m_fedTarget != m_target)
        return;
    if (m_repeats)
        return feedAnew();
    const int before = m_rowIds.size();
    last = qMin(last, m_rowIds.size() - 1);
    for (int row = first; row <= last; ++row)
        BoxEdits::remove(*m_fedTarget, BoxFamily(m_fedFamily), m_rowIds[row]);
    if (first <= last)
        m_rowIds.remove(first, last - first + 1);
    finish(true, before);
}

void BllBoxModel::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                              const QVector<int> &roles)
{
    if (!m_fedTarget || m_fedTarget != m_target || topLeft.parent().isValid())
        return;
    if (m_repeats)
        return feedAnew();
    const int before = m_rowIds.size();
    const int first = topLeft.row(), last = qMin(bottomRight.row(), m_rowIds.size() - 1);
    Feed feed(*this, BoxFamily(m_fedFamily));
    for (int row = first; row <= last; ++row) {
        const QString id = feed.boxId(row);
        if (id != m_rowIds[row]) {
            refeedFrom(row);
            break;
        }
        feed.change(row, id, roles);
    }
    finish(true, before);
}

void BllBoxModel::finish(bool changed, int countBefore)
{
    if (changed && m_target)
        m_target->update();
    if (countBefore != m_rowIds.size())
        Q_EMIT countChanged();
}
