#include "bll_painted_item_accessibility.h"

#include "../boxes/box_edits.h"
#include "../core/item_state.h"
#include "bll_painted_item.h"
#include "item_accessible.h"

#include <QtGui/QGuiApplication>
#include <QtQml/QQmlComponent>
#include <QtQml/QQmlContext>
#include <QtQml/QQmlEngine>
#include <QtQml/QQmlProperty>
#include <QtQuick/QQuickWindow>

namespace {

QAccessibleInterface *itemFactory(const QString &, QObject *object)
{
    if (auto *item = qobject_cast<Bll_Painted_Item *>(object))
        return new ItemAccessible(item);
    return nullptr;
}

// A context that knows Qt Quick's types, whatever the item's own file imports; one per engine,
// owned by it.
QQmlContext *quickContext(QQmlEngine *engine)
{
    const char *const name = "_bll_quick_context";
    QObject *holder = engine->findChild<QObject *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    if (!holder) {
        QQmlComponent component(engine);
        component.setData("import QtQuick 2.0\nQtObject {}", QUrl());
        holder = component.create();
        if (!holder)
            return nullptr;
        holder->setObjectName(QLatin1String(name));
        holder->setParent(engine);
    }
    return qmlContext(holder);
}

// Qt Quick lists an item in the accessible tree once it has Accessible properties attached.
void listInTree(Bll_Painted_Item *item)
{
    QQmlEngine *engine = qmlEngine(item);
    for (QQuickItem *up = item->parentItem(); !engine && up; up = up->parentItem())
        engine = qmlEngine(up);
    if (!engine)
        return;
    if (QQmlContext *context = quickContext(engine))
        QQmlProperty(item, QStringLiteral("Accessible.name"), context);
}

void listWhenCreated(Bll_Painted_Item *item)
{
    // An item made by QML learns its engine once its creation completes.
    QMetaObject::invokeMethod(
            item, [item] { listInTree(item); }, Qt::QueuedConnection);
}

const Bll_Painted_Item *itemOf(const QVariant &value)
{
    return qobject_cast<const Bll_Painted_Item *>(value.value<QObject *>());
}

} // namespace

BllAccessibility::BllAccessibility(QObject *parent) : QObject(parent) { }

void BllAccessibility::install()
{
    if (ItemState::itemCreated)
        return;
    ItemState::itemCreated = listWhenCreated;
    QAccessible::installFactory(itemFactory);
    // Items made before.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        const QWindowList windows = QGuiApplication::allWindows();
        for (QWindow *window : windows) {
            if (auto *quick = qobject_cast<QQuickWindow *>(window)) {
                const auto items = quick->contentItem()->findChildren<Bll_Painted_Item *>();
                for (Bll_Painted_Item *item : items)
                    listInTree(item);
            }
        }
    }
}

void BllAccessibility::setBoxNames(Bll_Painted_Item *item, const QString &family,
                                   const QVariantMap &names)
{
    install();
    BoxFamily f;
    if (ItemAccessible *iface = ItemAccessible::of(item);
        iface && BoxEdits::familyNamed(family, &f))
        iface->setNames(f, names);
}

QString BllAccessibility::boxName(const Bll_Painted_Item *item, const QString &family,
                                  const QString &boxId)
{
    install();
    BoxFamily f;
    ItemAccessible *iface = ItemAccessible::of(item);
    return iface && BoxEdits::familyNamed(family, &f) ? iface->nameOf(f, boxId) : boxId;
}

void BllAccessibility::setBoxNames(const QVariant &item, const QString &family,
                                   const QVariantMap &names) const
{
    setBoxNames(const_cast<Bll_Painted_Item *>(itemOf(item)), family, names);
}
