#include "box_marks.h"

#include <QtGui/QImage>
#include <QtGui/QPaintEngine>
#include <QtGui/QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Each of a premultiplied pixel's four channels times a / 255, rounded.
QRgb scaled(QRgb pixel, uint a)
{
    quint32 redBlue = (pixel & 0xff00ff) * a;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    quint32 alphaGreen = ((pixel >> 8) & 0xff00ff) * a;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return redBlue | alphaGreen;
}

} // namespace

BoxMarks::BoxMarks(QPainter *painter, bool simplify)
{
    if (!simplify || !painter->isActive() || painter->hasClipping() || painter->opacity() != 1.0
        || painter->compositionMode() != QPainter::CompositionMode_SourceOver
        || painter->paintEngine()->type() != QPaintEngine::Raster
        || painter->device()->devType() != QInternal::Image)
        return;
    const QTransform toDevice = painter->deviceTransform();
    if (toDevice.type() > QTransform::TxScale)
        return;
    auto *image = static_cast<QImage *>(painter->device());
    if (image->format() != QImage::Format_ARGB32_Premultiplied
        && image->format() != QImage::Format_RGB32)
        return;
    m_sx = toDevice.m11();
    m_sy = toDevice.m22();
    m_dx = toDevice.dx();
    m_dy = toDevice.dy();
    // Written through constBits(): bits() would detach an image that is shared, giving it new
    // memory while the painter on it goes on with the old.
    m_bits = const_cast<uchar *>(image->constBits());
    m_stride = image->bytesPerLine();
    m_width = image->width();
    m_height = image->height();
}

bool BoxMarks::mark(const QRectF &box, const QColor &colour)
{
    const double w = std::abs(box.width() * m_sx), h = std::abs(box.height() * m_sy);
    if (!(w < tiny && h < tiny))
        return false;
    // The whole pixels the box reaches. A box whose place is not a number is drawn as it is.
    const double x = std::min(box.left() * m_sx, box.right() * m_sx) + m_dx;
    const double y = std::min(box.top() * m_sy, box.bottom() * m_sy) + m_dy;
    if (!(std::isfinite(x) && std::isfinite(y)))
        return false;
    if (colour != m_colour) {
        m_colour = colour;
        m_alpha = colour.isValid() ? colour.alpha() : 0;
        m_source = qPremultiply(colour.rgba());
    }
    if (m_alpha == 0)
        return true;
    // An outline thinner than a pixel is drawn half a pixel either side of the edge. Cut to the
    // device first, truncation floors; the far edges round up.
    const auto ceiling = [](double v) { return int(v) + (int(v) < v); };
    const int x0 = int(std::clamp(x - 0.5, 0.0, double(m_width)));
    const int y0 = int(std::clamp(y - 0.5, 0.0, double(m_height)));
    const int x1 = ceiling(std::clamp(x + w + 0.5, 0.0, double(m_width)));
    const int y1 = ceiling(std::clamp(y + h + 0.5, 0.0, double(m_height)));
    const QRgb source = m_source;
    const int alpha = m_alpha;
    for (int row = y0; row < y1; ++row) {
        auto *pixels = reinterpret_cast<QRgb *>(m_bits + qsizetype(row) * m_stride);
        // Source over, on premultiplied pixels; an opaque image stays opaque.
        for (int column = x0; column < x1; ++column)
            pixels[column] = alpha == 255 ? source : source + scaled(pixels[column], 255 - alpha);
    }
    return true;
}
