#ifndef GALLERY_TYPES_H
#define GALLERY_TYPES_H

#include <QtCore/QUrl>

// Registers the QML types of the gallery, "import Bll.PaintedItem 1.2": BllPaintedItem (the
// library's item as it is), BllShapePaintedItem (which also paints shapes), the singletons
// BllExport, BllPicking and BllBoxes, and BllBoxModel, as the QML module does, so that the same
// scene also runs without this host (`qml main.qml`).
void registerGalleryTypes();

// The gallery scene, from the resources that registerGalleryTypes() makes available.
QUrl gallerySceneUrl();

#endif // GALLERY_TYPES_H
