#include "box_marks.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>

#include <algorithm>
#include <cmath>

BoxMarks::BoxMarks(QPainter *painter, bool mark)
{
    // Whether the frame marks at all is decided once for all its passes (RetainedPainting); what
    // is left is where each pass's marks go.
    const QPaintDevice *device = painter->device();
    if (!mark || (device->devType() != QInternal::Image && device->devType() != QInternal::Pixmap))
        return;
    const QTransform toDevice = painter->deviceTransform();
    if (device->devType() == QInternal::Image) {
        auto *image = static_cast<const QImage *>(device);
        if (!holds(image->format()))
            return;
        // Written through constBits(): bits() would detach an image that is shared, giving it
        // new memory while the painter on it goes on with the old.
        m_bits = const_cast<uchar *>(image->constBits());
        m_stride = image->bytesPerLine();
    }
    m_painter = painter;
    m_sx = toDevice.m11();
    m_sy = toDevice.m22();
    m_dx = toDevice.dx();
    m_dy = toDevice.dy();
    m_width = device->width();
    m_height = device->height();
}

bool BoxMarks::mark(const QRectF &box, const QColor &colour, bool outlined)
{
    const double w = std::abs(box.width() * m_sx), h = std::abs(box.height() * m_sy);
    if (!(w < tiny && h < tiny))
        return false;
    // A box whose place is not a number is drawn as it is.
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
    // The whole pixels the box reaches, at least one, then cut to the device: a box beside it
    // marks nothing. An outline thinner than a pixel is drawn half a pixel either side of the
    // edge, which reaches the pixels beside the box but, too faint there, not those beside its
    // corners. Cut to a pixel beyond the device first, floor and ceiling are a truncation and a
    // step: std::floor is a library call on processors without SSE 4.1, and a frame asks
    // millions.
    const auto span = [](double from, double to, int size, int *first, int *last) {
        from = std::clamp(from, -2.0, size + 2.0);
        to = std::clamp(to, -2.0, size + 2.0);
        const int start = int(from) - (from < int(from));
        const int end = std::max(start + 1, int(to) + (to > int(to)));
        *first = std::clamp(start, 0, size);
        *last = std::clamp(end, 0, size);
    };
    const double grown = outlined ? 0.5 : 0;
    int x0, x1, y0, y1, gx0, gx1, gy0, gy1;
    span(x, x + w, m_width, &x0, &x1);
    span(y, y + h, m_height, &y0, &y1);
    span(x - grown, x + w + grown, m_width, &gx0, &gx1);
    span(y - grown, y + h + grown, m_height, &gy0, &gy1);
    fill(x0, gy0, x1, y0); // beside the top
    fill(gx0, y0, gx1, y1);
    fill(x0, y1, x1, gy1); // beside the bottom
    return true;
}

void BoxMarks::fill(int left, int top, int right, int bottom)
{
    if (left >= right || top >= bottom)
        return;
    if (m_bits && m_alpha == 255) {
        for (int row = top; row < bottom; ++row) {
            auto *pixels = reinterpret_cast<QRgb *>(m_bits + qsizetype(row) * m_stride);
            std::fill(pixels + left, pixels + right, m_source);
        }
        return;
    }
    if (!m_inDevicePixels) {
        // Device pixels are the painter's own coordinates scaled by the device's pixel ratio.
        m_world = m_painter->worldTransform();
        const qreal ratio = m_painter->device()->devicePixelRatioF();
        m_painter->setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
        m_inDevicePixels = true;
    }
    m_painter->fillRect(QRect(left, top, right - left, bottom - top), m_colour);
}

void BoxMarks::leaveDevicePixels()
{
    if (m_inDevicePixels) {
        m_painter->setWorldTransform(m_world);
        m_inDevicePixels = false;
    }
}
