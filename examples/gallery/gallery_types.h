#ifndef GALLERY_TYPES_H
#define GALLERY_TYPES_H

#include <QtCore/QUrl>

// Registers the QML types of the gallery, "import Bll.Gallery 1.0":
// BllPaintedItem (the library's item as it is) and ShapePaintedItem (which also paints shapes).
void registerGalleryTypes();

// The gallery scene, from the resources that registerGalleryTypes() makes available.
QUrl gallerySceneUrl();

#endif // GALLERY_TYPES_H
