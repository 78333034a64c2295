#ifndef GALLERY_TYPES_H
#define GALLERY_TYPES_H

#include <QtCore/QString>
#include <QtCore/QUrl>

// Registers the QML types of the gallery, "import Bll.PaintedItem 1.2": BllPaintedItem (the
// library's item as it is), BllShapePaintedItem (which also paints shapes), the singletons
// BllExport, BllPicking and BllBoxes, and BllBoxModel, as the QML module does, so that the same
// scene also runs without this host (`qml main.qml`).
void registerGalleryTypes();

// A page of the gallery, from the resources that registerGalleryTypes() makes available:
// "families" (every family of boxes and shapes) or "plan" (a million boxes in a BllViewItem);
// an empty URL for any other name.
QUrl gallerySceneUrl(const QString &page = QStringLiteral("families"));

#endif // GALLERY_TYPES_H
