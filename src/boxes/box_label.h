#ifndef BLL_BOX_LABEL_H
#define BLL_BOX_LABEL_H

// The label recipe that the three box families share. Private to the library.

#include <QtCore/QRectF>
#include <QtCore/QString>
#include <QtGui/QFont>

#include <memory>

class QPainter;

namespace BoxLabel {

// min(width, height) / 5 + 1, truncated toward zero; 0 (no label) when the size
// would pass the largest pixel size QFont takes, or is not a number.
int pixelSize(double width, double height);

// A copy of base in "Verdana" at pixelSize.
QFont font(const QFont &base, int pixelSize);

// Installs font(painter's font, pixelSize).
void setFont(QPainter *painter, int pixelSize);

// Changes whenever fonts are added to or removed from the application, which may change what a
// family resolves to, and so what a label looks like.
int fontGeneration();

struct Layout;

// A box's label as laid out for its last frame. Laying text out (itemizing,
// shaping, breaking) costs more than drawing it, and a label's text and font
// rarely change between frames. A box record owns its cache, so adding the box
// again starts a new one; the layout remembers the font and direction it was
// made for and is made again when the painter's differ, or when fonts are added
// to or removed from the application.
class Cache
{
public:
    Cache();
    ~Cache();
    // A copied record starts without a layout: a layout is never shared, so
    // painting may rebuild one without touching another record.
    Cache(const Cache &);
    Cache &operator=(const Cache &);
    // Moves keep the layout: a growing box table moves its records.
    Cache(Cache &&) noexcept;
    Cache &operator=(Cache &&) noexcept;

private:
    friend void draw(QPainter *, const QRectF &, const QString &, Cache &);
    std::unique_ptr<Layout> m_layout;
};

// Draws boxId centred in the box's unrounded rectangle with the painter's pen and
// font, pixel for pixel as QPainter::drawText(box, Qt::AlignCenter, boxId) does;
// draws nothing when the label's place is not a number or beyond Qt's text range.
void draw(QPainter *painter, const QRectF &box, const QString &boxId, Cache &cache);

} // namespace BoxLabel

#endif // BLL_BOX_LABEL_H
