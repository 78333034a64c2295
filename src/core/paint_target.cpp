#include "paint_target.h"

#include <QtGui/QPaintEngine>

PaintTarget PaintTarget::of(QPainter *painter)
{
    PaintTarget target;
    QPaintDevice *device = painter->device();
    const QPaintEngine *engine = painter->paintEngine();
    const bool raster = engine && engine->type() == QPaintEngine::Raster;
    if (raster && device->devType() == QInternal::Image) {
        target.image = static_cast<QImage *>(device);
        target.size = target.image->size();
        target.format = target.image->format();
    } else if (raster && device->devType() == QInternal::Pixmap) {
        target.pixmap = static_cast<QPixmap *>(device);
        target.size = target.pixmap->size();
        target.format = target.pixmap->hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32;
    }
    target.ratio = device->devicePixelRatioF();
    target.dpiX = device->logicalDpiX();
    target.dpiY = device->logicalDpiY();
    target.transform = painter->worldTransform();
    target.hints = painter->renderHints();
    target.direction = painter->layoutDirection();
    target.tools = PainterTools::of(painter);
    // A clip, another composition mode, opacity or background, or a brush origin each change
    // the pixels in ways that kept or separately painted pixels do not follow.
    target.plain = !painter->hasClipping()
            && painter->compositionMode() == QPainter::CompositionMode_SourceOver
            && painter->opacity() == 1.0 && painter->backgroundMode() == Qt::TransparentMode
            && painter->brushOrigin() == QPointF() && target.transform.isInvertible();
    return target;
}

bool PaintTarget::retainable() const
{
    return (image || pixmap) && plain && !size.isEmpty() && PaintLimits::wordPixels(format);
}

bool PaintTarget::sameButSize(const PaintTarget &other) const
{
    return format == other.format && ratio == other.ratio && dpiX == other.dpiX
            && dpiY == other.dpiY && transform == other.transform && hints == other.hints
            && direction == other.direction && tools == other.tools;
}
