#ifndef BLL_BOX_LABEL_H
#define BLL_BOX_LABEL_H

// The label recipe that the three box families share: the box's identifier, centred in its
// unrounded rectangle, in "Verdana" at a fifth of the box's smaller side. Private to the library.

#include <QtCore/QRectF>
#include <QtCore/QString>
#include <QtGui/QFont>

class QPainter;

namespace BoxLabel {

// min(width, height) / 5 + 1, truncated toward zero; 0 (no label) when the size
// would pass the largest pixel size QFont takes, or is not a number.
int pixelSize(double width, double height);

// A copy of base in "Verdana" at pixelSize.
QFont font(const QFont &base, int pixelSize);

// Installs font(painter's font, pixelSize).
void setFont(QPainter *painter, int pixelSize);

// Where a label, boxed in `box` at pixelSize, may draw: the box and an em around it, or
// unbounded for labels whose marks may stack far beyond their line; nothing without a size.
QRectF extent(const QRectF &box, const QString &label, int pixelSize);

} // namespace BoxLabel

#endif // BLL_BOX_LABEL_H
