#ifndef BLL_BANDED_PAINTING_H
#define BLL_BANDED_PAINTING_H

// Full frames on several threads, pixel for pixel as one thread paints them. Private to the
// library.
//
// The frame is cut into horizontal bands, one a thread. Each band paints, in paint order, only
// the boxes whose extents reach its rows, on an image of the device's size, format and ratio with
// the painter's own state, so that every shape is rasterized exactly as on the device (a shape
// cut by an image's edge is rasterized differently as a whole); then its own rows go into the
// device. Labels are laid out aside and kept once the bands are done. One pool of threads serves
// every item; the thread that paints the frame paints a band too, and any band no thread took.

#include "box_family.h"
#include "paint_target.h"

#include <functional>
#include <vector>

namespace BandedPainting {

// The threads a full frame may use: BLL_PAINT_THREADS when it is set (1 for one thread), else
// the machine's cores.
int threadCount();

// Runs work(0) to work(parts - 1) on the pool's threads and this one, and returns when all are
// done; parts is at most threadCount().
void inParallel(int parts, const std::function<void(int)> &work);

// Whether a full frame of that many boxes on target is painted in bands: a raster image or
// pixmap painted plainly, with more than one thread and enough work to share.
bool pays(const PaintTarget &target, int boxCount);

// The bands a full frame is cut into, and the boxes that reach each one's rows. The boxes are
// filed where their extents are worked out, slice by slice, on several threads: no band walks
// every box again.
class Bands
{
public:
    // The bands of a frame on target, whose boxes come in `parts` slices (at most
    // threadCount()).
    Bands(const PaintTarget &target, int parts);
    ~Bands();
    Bands(const Bands &) = delete;
    Bands &operator=(const Bands &) = delete;

    // Files a slice of a family's boxes, in paint order: boxes[k] may draw within extents[k] (in
    // item coordinates). Slices of a family are filed in order: part 0 holds its first boxes.
    // Each part is filed by one thread at a time.
    void file(int part, int family, const int *boxes, const QRectF *extents, int count);

    struct Band;

private:
    friend void paint(const Bll_Painted_Item &, QPainter *, const PaintTarget &,
                      const PainterTools *, Bands &, LabelStore *, qreal, bool);
    std::vector<Band> m_bands;
    QTransform m_toDevice;
    bool m_upright;
    int m_height;
};

// Paints the full passes of the three families: family f starts from tools[f] and the painter
// is left with tools[BoxFamilyCount], as one pass would leave it. `bands` holds, in paint order,
// the boxes of each family that may reach the device (every one, or those the index found);
// labels[f] keeps the family's labels, and labels smaller than smallestLabel device pixels are
// left out (0: none); with marks, tiny boxes are marked.
void paint(const Bll_Painted_Item &item, QPainter *painter, const PaintTarget &target,
           const PainterTools *tools, Bands &bands, LabelStore *labels, qreal smallestLabel,
           bool marks);

} // namespace BandedPainting

#endif // BLL_BANDED_PAINTING_H
