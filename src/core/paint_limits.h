#ifndef BLL_PAINT_LIMITS_H
#define BLL_PAINT_LIMITS_H

// The numbers that bound where painting, frames and the index trust coordinates and pixels, each
// with its reason, in one place. Private to the library.

#include <QtCore/QRectF>
#include <QtCore/QtGlobal>
#include <QtGui/QImage>

namespace PaintLimits {

// Qt's raster engine places shapes where their coordinates say only this close to the origin:
// from 1e9 out it draws them elsewhere, so extents beyond it cannot be trusted.
constexpr double reach = 1e9;

// Where a box may draw when that cannot be told: far beyond reach either way.
constexpr double unbounded = 1e12;

// Edges that rectangle arithmetic still computes with: x + width of an infinite edge is not a
// number, while 1e300 + 1e300 is still finite.
constexpr double finiteEdge = 1e300;

// Antialiasing may touch the pixel (or row) next to a shape's edge.
constexpr int antialiasMargin = 2;

// Kept frames and bands copy pixels as 32-bit words.
inline bool wordPixels(QImage::Format format)
{
    return QImage::toPixelFormat(format).bitsPerPixel() == 32;
}

inline double clampedEdge(double edge)
{
    return qBound(-finiteEdge, edge, finiteEdge);
}

} // namespace PaintLimits

// Whether a rectangle lies where Qt still rasterizes shapes where their coordinates say. Written
// so that NaN fails.
inline bool withinReach(const QRectF &extent)
{
    using PaintLimits::reach;
    return qAbs(extent.left()) < reach && qAbs(extent.right()) < reach && qAbs(extent.top()) < reach
            && qAbs(extent.bottom()) < reach;
}

// Where a box may draw when that cannot be told.
inline QRectF unboundedExtent()
{
    using PaintLimits::unbounded;
    return QRectF(-unbounded, -unbounded, 2 * unbounded, 2 * unbounded);
}

#endif // BLL_PAINT_LIMITS_H
