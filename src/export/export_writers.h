#ifndef BLL_EXPORT_WRITERS_H
#define BLL_EXPORT_WRITERS_H

// The writers behind BllExport::save(), one per format. Private to the library.

#include <QtCore/QSizeF>
#include <QtCore/QString>
#include <QtGui/QColor>

class Bll_Painted_Item;
class QIODevice;
class QPainter;

// What a file shows: the item at its size, in item units, over a background; or a view's whole
// scene.
struct ExportPage
{
    Bll_Painted_Item *item = nullptr;
    QSizeF size;
    bool wholeScene = false; // item is a BllViewItem
    QColor background; // an invalid or transparent colour paints nothing
    QString title; // PDF and SVG only
};

// Fills the page with the background, then has the item paint (a derived item's paint()
// included), as Qt Quick's painter node does on the item's texture.
void paintPage(QPainter *painter, const ExportPage &page);

// Each writes the page to a device open for writing and returns an empty string, or what
// went wrong. format is QImageWriter's ("png", "jpeg"); pixels is the page's size at scale.
QString writeImage(QIODevice *device, const ExportPage &page, qreal scale, const QSize &pixels,
                   const char *format);
QString writePdf(QIODevice *device, const ExportPage &page);
QString writeSvg(QIODevice *device, const ExportPage &page); // with Qt SVG only

#endif // BLL_EXPORT_WRITERS_H
