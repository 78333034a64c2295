#include "paint_target.h"

#include <QtGui/QPaintEngine>

#include <cmath>

namespace {

// The raster engine works out a point's device coordinate as x · s + dx in doubles. Under a
// scale that is a power of two the product is exact, and a translation of a few binary digits
// adds to it without a rounding that would depend on where the picture lies; at other scales
// (0.3, say) a box edge moved by whole pixels lands on other sub-pixel coverage than it would be
// painted with there.
bool powerOfTwo(double scale)
{
    int exponent = 0;
    return scale > 0 && std::frexp(scale, &exponent) == 0.5 && std::abs(exponent) < 32;
}

bool shortFraction(double translation)
{
    return std::abs(translation) < (1 << 24) && translation * 256 == std::floor(translation * 256);
}

bool whole(double value)
{
    return value == std::floor(value) && std::abs(value) < (1 << 24);
}

} // namespace

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
    // the pixels in ways that kept or separately painted pixels do not follow; a window or
    // viewport maps the world onto the device in a way they do not follow either.
    target.plain = !painter->hasClipping() && painter->window() == painter->viewport()
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

bool PaintTarget::movedFrom(const PaintTarget &other, QPoint *shift) const
{
    const QTransform &now = transform, &then = other.transform;
    if (size != other.size || now.type() > QTransform::TxScale || then.type() > QTransform::TxScale
        || now.m11() != then.m11() || now.m22() != then.m22())
        return false;
    PaintTarget unmoved = *this;
    unmoved.transform = then;
    if (!unmoved.sameButSize(other))
        return false;
    // Whole pixels of the painter's coordinates fall on whole device pixels, the device's edges
    // included.
    if (!whole(ratio) || size.width() % int(ratio) != 0 || size.height() % int(ratio) != 0)
        return false;
    const double dx = now.dx() - then.dx(), dy = now.dy() - then.dy();
    if (!powerOfTwo(now.m11() * ratio) || !powerOfTwo(now.m22() * ratio) || !whole(dx)
        || !whole(dy))
        return false;
    for (const double translation : {now.dx(), now.dy(), then.dx(), then.dy()}) {
        if (!shortFraction(translation * ratio))
            return false;
    }
    *shift = QPoint(int(dx), int(dy));
    return true;
}
