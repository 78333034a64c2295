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

bool BoxMarks::mark(const QRectF &box, const QColor &colour, bool outlined)
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
    // The whole pixels the box reaches, at least one; an outline thinner than a pixel is drawn
    // half a pixel either side of the edge, which reaches the pixels beside the box but, too
    // faint there, not those beside its corners. Cut to the device first, truncation floors;
    // the far edges round up.
    const auto span = [](double from, double to, int size, int *first, int *last) {
        *first = int(std::clamp(from, 0.0, double(size)));
        const double end = std::clamp(to, 0.0, double(size));
        *last = qMin(size, qMax(*first + 1, int(end) + (int(end) < end)));
    };
    const double grown = outlined ? 0.5 : 0;
    int x0, x1, y0, y1, gx0, gx1, gy0, gy1;
    span(x, x + w, m_width, &x0, &x1);
    span(y, y + h, m_height, &y0, &y1);
    span(x - grown, x + w + grown, m_width, &gx0, &gx1);
    span(y - grown, y + h + grown, m_height, &gy0, &gy1);
    const QRgb source = m_source;
    const int alpha = m_alpha;
    for (int row = gy0; row < gy1; ++row) {
        auto *pixels = reinterpret_cast<QRgb *>(m_bits + qsizetype(row) * m_stride);
        const bool beside = row < y0 || row >= y1;
        // Source over, on premultiplied pixels; an opaque image stays opaque.
        for (int column = beside ? x0 : gx0, end = beside ? x1 : gx1; column < end; ++column)
            pixels[column] = alpha == 255 ? source : source + scaled(pixels[column], 255 - alpha);
    }
    return true;
}
