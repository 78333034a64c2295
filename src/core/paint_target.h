#ifndef BLL_PAINT_TARGET_H
#define BLL_PAINT_TARGET_H

// Everything about a painter and its device that decides a frame's pixels, besides the item's own
// records and styles. Private to the library.

#include "box_family.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtGui/QTransform>

struct PaintTarget
{
    static PaintTarget of(QPainter *painter);

    // A raster image or pixmap of 32 bits a pixel, painted as Qt Quick hands it over: no clip,
    // composition, opacity, background or brush origin of its own.
    bool retainable() const;
    // A device of the same kind with the same painter state, at another size. Whether it holds
    // what a kept frame was painted over is for its pixels to tell.
    bool sameButSize(const PaintTarget &other) const;
    // A device of the same kind, size and painter state, whose world transform only moved by
    // whole pixels (*shift, in the painter's coordinates before its world transform) at a scale
    // where the raster engine places every shape moved by exactly as much: pixels kept from
    // `other` are then what this device would be painted with there.
    bool movedFrom(const PaintTarget &other, QPoint *shift) const;
    bool operator==(const PaintTarget &other) const
    {
        return sameButSize(other) && size == other.size;
    }

    // The device's area in the painter's coordinates before its world transform.
    QRect area() const { return QRect(QPoint(0, 0), (QSizeF(size) / ratio).toSize()); }

    QImage *image = nullptr;
    QPixmap *pixmap = nullptr;
    QSize size;
    QImage::Format format = QImage::Format_Invalid;
    qreal ratio = 1;
    int dpiX = 96, dpiY = 96;
    QTransform transform;
    QPainter::RenderHints hints;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    PainterTools tools;
    bool plain = false;
};

#endif // BLL_PAINT_TARGET_H
