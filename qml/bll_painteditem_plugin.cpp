#include "bll_shape_painted_item.h"

#include <QtQml/QQmlExtensionPlugin>
#include <QtQml/qqml.h>

// Qt 5's entry point of the module: `import Bll.PaintedItem 1.0` loads this plug-in, which
// registers the two types. Under Qt 6 the build generates the plug-in from bll_qml_types.h.
class BllPaintedItemPlugin : public QQmlExtensionPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QQmlExtensionInterface_iid)

public:
    void registerTypes(const char *uri) override
    {
        qmlRegisterType<Bll_Painted_Item>(uri, 1, 0, "BllPaintedItem");
        qmlRegisterType<BllShapePaintedItem>(uri, 1, 0, "BllShapePaintedItem");
    }
};

#include "bll_painteditem_plugin.moc"
