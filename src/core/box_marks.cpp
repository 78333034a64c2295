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
    m_cut = MarkCut(toDevice);
    m_width = device->width();
    m_height = device->height();
}

bool BoxMarks::mark(const QRectF &box, const QColor &colour, bool outlined)
{
    if (!m_cut.marks(box))
        return false;
    const double sx = m_cut.m_sx, sy = m_cut.m_sy;
    const double w = std::abs(box.width() * sx), h = std::abs(box.height() * sy);
    const double x = std::min(box.left() * sx, box.right() * sx) + m_cut.m_dx;
    const double y = std::min(box.top() * sy, box.bottom() * sy) + m_cut.m_dy;
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
    // corners. Both follow from the floor and ceiling of the box's edges in half pixels, cut to a
    // few pixels beyond the device first: there they are a truncation and a step (std::floor is
    // a library call on processors without SSE 4.1, and a frame asks millions), and shifted to
    // be positive, halving them is a division.
    const auto halves = [](double from, double to, int size, int *floor, int *ceil) {
        from = std::clamp(2 * from, -8.0, 2.0 * size + 8) + 8;
        to = std::clamp(2 * to, -8.0, 2.0 * size + 8) + 8;
        *floor = int(from); // both at least 0
        *ceil = int(to) + (to > int(to));
    };
    const auto cut = [](int pixel, int size) { return std::clamp(pixel - 4, 0, size); };
    int left, right, top, bottom;
    halves(x, x + w, m_width, &left, &right);
    halves(y, y + h, m_height, &top, &bottom);
    // Pixels from here on are shifted by 4, until cut to the device.
    const int x0 = left / 2, y0 = top / 2;
    const int x1 = std::max(x0 + 1, (right + 1) / 2), y1 = std::max(y0 + 1, (bottom + 1) / 2);
    const int grown = outlined ? 1 : 0; // in half pixels
    const int gx0 = (left - grown) / 2, gy0 = (top - grown) / 2;
    const int gx1 = std::max(x1, (right + 1 + grown) / 2),
              gy1 = std::max(y1, (bottom + 1 + grown) / 2);
    fill(cut(x0, m_width), cut(gy0, m_height), cut(x1, m_width), cut(y0, m_height)); // above
    fill(cut(gx0, m_width), cut(y0, m_height), cut(gx1, m_width), cut(y1, m_height));
    fill(cut(x0, m_width), cut(y1, m_height), cut(x1, m_width), cut(gy1, m_height)); // below
    return true;
}

void BoxMarks::fillThroughPainter(int left, int top, int right, int bottom)
{
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
