#include "gallery_types.h"

#include "bll_shape_painted_item.h"

#include <bll_painted_item_accessibility.h>
#include <bll_painted_item_boxes.h>
#include <bll_painted_item_model.h>
#include <bll_painted_item_navigator.h>
#include <bll_painted_item_picking.h>
#include <bll_painted_item_saving.h>
#include <bll_painted_item_view.h>

#include <QtQml/QQmlEngine>

void registerGalleryTypes()
{
    // The scene lives in a static library; without this its resources would not be linked in.
    Q_INIT_RESOURCE(gallery);

    // The host registers the types itself, under the QML module's names so that the scene
    // also runs on the module alone; host_qmldir keeps an installed module's plug-in out.
    qmlRegisterType<Bll_Painted_Item>("Bll.PaintedItem", 1, 0, "BllPaintedItem");
    qmlRegisterType<BllShapePaintedItem>("Bll.PaintedItem", 1, 0, "BllShapePaintedItem");
    qmlRegisterSingletonType<BllExport>(
            "Bll.PaintedItem", 1, 1, "BllExport",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new BllExport; });
    qmlRegisterSingletonType<BllPicking>(
            "Bll.PaintedItem", 1, 1, "BllPicking",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new BllPicking; });
    qmlRegisterSingletonType<BllBoxes>(
            "Bll.PaintedItem", 1, 2, "BllBoxes",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new BllBoxes; });
    qmlRegisterType<BllBoxModel>("Bll.PaintedItem", 1, 2, "BllBoxModel");
    qmlRegisterSingletonType<BllAccessibility>(
            "Bll.PaintedItem", 1, 2, "BllAccessibility",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new BllAccessibility; });
    qmlRegisterType<BllBoxNavigator>("Bll.PaintedItem", 1, 2, "BllBoxNavigator");
    qmlRegisterType<BllViewItem>("Bll.PaintedItem", 1, 2, "BllViewItem");
    // What the module does when it is imported: screen readers find every item's boxes.
    BllAccessibility::install();
}

QUrl gallerySceneUrl(const QString &page)
{
    if (page == QLatin1String("plan"))
        return QUrl(QStringLiteral("qrc:/gallery/Plan.qml"));
    if (page == QLatin1String("families"))
        return QUrl(QStringLiteral("qrc:/gallery/main.qml"));
    return QUrl();
}
