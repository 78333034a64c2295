#ifndef BLL_RETAINED_PAINTING_H
#define BLL_RETAINED_PAINTING_H

// Frames that repaint only what changed since the last one, pixel for pixel as a full repaint.
// Private to the library.
//
// QML's update() makes Qt Quick fill the item's whole texture and call paint() again, so the
// item keeps its own copy of the last frame: paint() repaints only the boxes the store
// operations changed, and whatever overlaps where they were and are (the damage), then copies
// the kept frame back around the damage. A texture that only changed its size keeps the pixels
// it still holds. It does so only where it can prove the result exact: the same raster device
// and painter state as the last frame, and nothing painted under the boxes that it did not paint
// itself. Everywhere else it paints in full, exactly as it would without a kept frame, and on
// several threads when that pays (banded_painting.h).
//
// What painting keeps (the frame, where each box draws, the labels' glyphs) lives beside the
// item, not in it: painting reads the model and changes nothing of it.

#include "item_changes.h"
#include "paint_target.h"

class Bll_Painted_Item;
class QPainter;

namespace RetainedPainting {

// paint(): repaints what changed when that is exact, else everything.
void paint(const Bll_Painted_Item &item, QPainter *painter);

// While one lives, frames painted with `painter` are full and nothing is kept of them: a picture
// or a file is painted once, and its device is not the item's texture.
class FullFrames
{
public:
    explicit FullFrames(QPainter *painter);
    ~FullFrames();
    FullFrames(const FullFrames &) = delete;
    FullFrames &operator=(const FullFrames &) = delete;

private:
    QPainter *m_previous;
};

} // namespace RetainedPainting

// Where the boxes of one family that a kept frame may hold draw, in item coordinates: every box
// that could reach the device when the frame was painted in full, and every box repainted or
// changed since. A box not listed drew nothing on the kept frame.
class KeptExtents
{
public:
    // Every box of the family, extents[i] for box i.
    void assignAll(QVector<QRectF> extents);
    // The boxes listed (ascending), extents[k] for boxes[k].
    void assign(QVector<int> boxes, QVector<QRectF> extents);

    bool lists(int box) const;
    QRectF at(int box) const; // empty where not listed
    void set(int box, const QRectF &extent);
    // Forgets the boxes whose extents miss `area`: they draw nothing on a frame that shows only it.
    void keepMeeting(const QRectF &area);
    // Hands the extents' memory over, to be filled for the next frame; nothing is listed then.
    QVector<QRectF> release();

private:
    bool m_all = false;
    QVector<int> m_boxes; // ascending, unless m_all
    QVector<QRectF> m_extents;
};

// The last frame's pixels. A pan moves where they start rather than the pixels: they are kept
// wrapped around the image's edges, device pixel p at (p - origin) modulo the size.
class KeptPixels
{
public:
    QSize size() const { return m_image.size(); }
    // Keeps all of the device's pixels, as they lie.
    void keepAll(const PaintTarget &target);
    // Keeps the device's pixels under `area` (in the painter's coordinates before its world
    // transform).
    void keep(const PaintTarget &target, const QRegion &area);
    // The picture moved by `by` on the device, in whole device pixels.
    void move(const QPoint &by);
    // Draws the kept pixels where they lie on the device, under `clip`, on a painter without a
    // world transform; it leaves that clip and no antialiasing on the painter.
    void drawOn(QPainter *painter, const QRegion &clip) const;
    // As they lie on the device, at another size: what is new is undefined.
    void resize(const QSize &size);
    // As they lie on the device.
    const QImage &image() const;

private:
    // Where the image lies on the device, once for each part that wraps around.
    QVector<QPoint> placements() const;
    QImage unwrapped(const QSize &size) const;
    // Unwrapping changes no pixel as it lies on the device.
    mutable QImage m_image;
    mutable QPoint m_origin; // in device pixels, within the size
};

// The last frame, and what changed since.
struct KeptFrame
{
    KeptPixels pixels; // the last frame's pixels
    PaintTarget target; // and what they were painted on, and with
    QColor fillColor;
    quint32 background = 0; // the colour found on the device before painting
    int fontGeneration = 0;
    PainterTools exits[BoxFamilyCount]; // what each family left for the next
    KeptExtents extents[BoxFamilyCount]; // where the boxes it holds may draw
    QVector<int> added[BoxFamilyCount]; // boxes added (or added again) since
    QVector<int> switched[BoxFamilyCount]; // boxes whose sides or states were switched since
    int changes = 0; // entries in added and switched
    bool everything = false; // so much changed since that only a full frame will do

    void boxesChanged(BoxFamily family, const int *indices, int count,
                      ItemChangeListener::Change change);
    void familyCleared(BoxFamily) { everything = true; }
    void stylesChanged() { everything = true; }
};

#endif // BLL_RETAINED_PAINTING_H
