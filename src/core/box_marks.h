#ifndef BLL_BOX_MARKS_H
#define BLL_BOX_MARKS_H

// Boxes too small to be seen as boxes, shown as one pixel each. Private to the library.

#include <QtCore/QRectF>
#include <QtGui/QColor>

class QPainter;

// A box under two device pixels both ways is all outline where it is drawn: its fill, and with
// it its hover and selection, cannot be seen, and a million of them cost most of a zoomed-out
// frame. A pass that simplifies marks such a box instead: the whole device pixels it reaches take
// the colour that tells its state, blended over what is there as a fill would be.
//
// Marks are written straight into the pixels of the image the painter paints on, one after
// another in paint order, so that a frame that repaints part of the boxes marks each pixel as a
// full frame does. Where that cannot be done as the painter would (another device, a clip,
// opacity, another composition mode, a transform that rotates or shears), nothing is marked and
// the boxes are drawn as they are.
class BoxMarks
{
public:
    BoxMarks(QPainter *painter, bool simplify);

    bool on() const { return m_bits != nullptr; }

    // Whether `box` (in the painter's coordinates) is tiny on the device; if so, marks it with
    // `colour` (nothing for an invalid or transparent one): the whole pixels it reaches, and
    // where it is `outlined` those its outline reaches.
    bool mark(const QRectF &box, const QColor &colour, bool outlined);

    // The size below which both ways a box is marked, in device pixels.
    static constexpr double tiny = 2.0;

private:
    uchar *m_bits = nullptr;
    qsizetype m_stride = 0;
    int m_width = 0, m_height = 0;
    double m_sx = 1, m_sy = 1, m_dx = 0, m_dy = 0; // item to device pixels
    // The last colour marked, and its pixel: most marks of a pass share a few.
    QColor m_colour;
    int m_alpha = 0;
    QRgb m_source = 0;
};

#endif // BLL_BOX_MARKS_H
