#ifndef BLL_BOX_MARKS_H
#define BLL_BOX_MARKS_H

// Boxes too small to be seen as boxes, shown as a few whole pixels each. Private to the library.

#include <QtCore/QRectF>
#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtGui/QTransform>

#include <algorithm>
#include <cmath>

class QPainter;

// Which boxes a pass marks, told from where they lie in item coordinates, and where a mark may
// draw: what a pass paints and where it works out that the pass draws ask the same.
class MarkCut
{
public:
    // A pass that marks nothing.
    MarkCut() = default;
    // A pass that marks tiny boxes, under `toDevice` (item coordinates to device pixels), which
    // only scales and moves.
    explicit MarkCut(const QTransform &toDevice)
        : m_on(true), m_sx(toDevice.m11()), m_sy(toDevice.m22()), m_dx(toDevice.dx()),
          m_dy(toDevice.dy())
    {
    }

    bool on() const { return m_on; }
    // Whether the pass marks `box`: under two device pixels both ways, and placed where numbers
    // are (a box whose place is not a number is drawn as it is).
    bool marks(const QRectF &box) const
    {
        return m_on && std::abs(box.width() * m_sx) < tiny && std::abs(box.height() * m_sy) < tiny
                && std::isfinite(std::min(box.left() * m_sx, box.right() * m_sx) + m_dx)
                && std::isfinite(std::min(box.top() * m_sy, box.bottom() * m_sy) + m_dy);
    }
    // Where the mark of a box the pass marks may draw: the box, and half a device pixel round it
    // for its outline; whole pixels reached are those of that rectangle on the device.
    QRectF extent(const QRectF &box) const
    {
        const double x = 0.5 / std::abs(m_sx), y = 0.5 / std::abs(m_sy);
        return box.normalized().adjusted(-x, -y, x, y);
    }

    // The size below which both ways a box is marked, in device pixels.
    static constexpr double tiny = 2.0;

private:
    friend class BoxMarks;
    bool m_on = false;
    double m_sx = 1, m_sy = 1, m_dx = 0, m_dy = 0;
};

// A box under two device pixels both ways is all outline where it is drawn: its fill, and with
// it its hover and selection, cannot be seen, and a million of them cost most of a zoomed-out
// frame. A pass that simplifies marks such a box instead: the whole device pixels it reaches take
// the colour that tells its state, blended over what is there as a fill would be.
//
// Marks go on the device one after another in paint order, so that a frame that repaints part
// of the boxes marks each pixel as a full frame does. An opaque mark on an image is written
// straight into its pixels; any other (on a pixmap, or translucent) is filled through the
// painter in device pixels, which for an opaque colour writes the same pixels, and so bands
// painted on images match a pixmap's frame. A frame marks only on a plain raster device under a
// transform that only scales and moves (RetainedPainting decides); elsewhere boxes are drawn as
// they are.
class BoxMarks
{
public:
    // Marks only when `mark` says so: the frame's device and painter allow it. Which boxes are
    // tiny is cut() then.
    BoxMarks(QPainter *painter, bool mark);
    ~BoxMarks() { leaveDevicePixels(); }
    BoxMarks(const BoxMarks &) = delete;
    BoxMarks &operator=(const BoxMarks &) = delete;

    // Whether a device's pixels can hold marks.
    static bool holds(QImage::Format format)
    {
        return format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB32;
    }

    bool on() const { return m_painter != nullptr; }
    const MarkCut &cut() const { return m_cut; }

    // Whether cut() marks `box` (in the painter's coordinates); if so, marks it with
    // `colour` (nothing for an invalid or transparent one): the whole pixels it reaches, and
    // where it is `outlined` those its outline reaches.
    bool mark(const QRectF &box, const QColor &colour, bool outlined);
    // Gives the painter back its own transform, before anything else is drawn.
    void leaveDevicePixels();

    static constexpr double tiny = MarkCut::tiny;

private:
    // Fills whole device pixels with the mark's colour: an opaque one on an image written in
    // place, any other through the painter.
    void fill(int left, int top, int right, int bottom)
    {
        if (left >= right || top >= bottom)
            return;
        if (!(m_bits && m_alpha == 255)) {
            fillThroughPainter(left, top, right, bottom);
            return;
        }
        for (int row = top; row < bottom; ++row) {
            auto *pixels = reinterpret_cast<QRgb *>(m_bits + qsizetype(row) * m_stride);
            std::fill(pixels + left, pixels + right, m_source);
        }
    }
    void fillThroughPainter(int left, int top, int right, int bottom);

    QPainter *m_painter = nullptr;
    uchar *m_bits = nullptr; // an image's pixels, where opaque marks are written
    qsizetype m_stride = 0;
    int m_width = 0, m_height = 0;
    MarkCut m_cut;
    QTransform m_world; // the painter's own, while it fills in device pixels
    bool m_inDevicePixels = false;
    // The last colour marked, and its pixel: most marks of a pass share a few.
    QColor m_colour;
    int m_alpha = 0;
    QRgb m_source = 0;
};

#endif // BLL_BOX_MARKS_H
