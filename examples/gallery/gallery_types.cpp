#include "gallery_types.h"

#include "shape_painted_item.h"

#include <QtQml/QQmlEngine>

void registerGalleryTypes()
{
    // The scene lives in a static library; without this its resources would not be linked in.
    Q_INIT_RESOURCE(gallery);

    qmlRegisterType<Bll_Painted_Item>("Bll.Gallery", 1, 0, "BllPaintedItem");
    qmlRegisterType<ShapePaintedItem>("Bll.Gallery", 1, 0, "ShapePaintedItem");
}

QUrl gallerySceneUrl()
{
    return QUrl(QStringLiteral("qrc:/gallery/main.qml"));
}
