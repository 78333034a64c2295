#include "bll_shape_painted_item.h"

#include <bll_painted_item_accessibility.h>
#include <bll_painted_item_boxes.h>
#include <bll_painted_item_model.h>
#include <bll_painted_item_navigator.h>
#include <bll_painted_item_picking.h>
#include <bll_painted_item_saving.h>
#include <bll_painted_item_view.h>

#include <QtQml/QQmlExtensionPlugin>
#include <QtQml/qqml.h>

// One instance of a singleton per engine, which the engine owns.
template<typename T>
QObject *createSingleton(QQmlEngine *, QJSEngine *)
{
    return new T;
}

// Qt 5's entry point of the module: `import Bll.PaintedItem 1.x` loads this plug-in, which
// registers the types of each version. Under Qt 6 the build generates the plug-in from
// bll_qml_types.h.
class BllPaintedItemPlugin : public QQmlExtensionPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QQmlExtensionInterface_iid)

public:
    void registerTypes(const char *uri) override
    {
        qmlRegisterType<Bll_Painted_Item>(uri, 1, 0, "BllPaintedItem");
        qmlRegisterType<BllShapePaintedItem>(uri, 1, 0, "BllShapePaintedItem");
        qmlRegisterSingletonType<BllExport>(uri, 1, 1, "BllExport", createSingleton<BllExport>);
        qmlRegisterSingletonType<BllPicking>(uri, 1, 1, "BllPicking", createSingleton<BllPicking>);
        qmlRegisterSingletonType<BllBoxes>(uri, 1, 2, "BllBoxes", createSingleton<BllBoxes>);
        qmlRegisterType<BllBoxModel>(uri, 1, 2, "BllBoxModel");
        qmlRegisterSingletonType<BllAccessibility>(uri, 1, 2, "BllAccessibility",
                                                   createSingleton<BllAccessibility>);
        qmlRegisterType<BllBoxNavigator>(uri, 1, 2, "BllBoxNavigator");
        qmlRegisterType<BllViewItem>(uri, 1, 2, "BllViewItem");
    }
};

#include "bll_painteditem_plugin.moc"
