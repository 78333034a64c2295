#ifndef BLL_BOX_LABEL_H
#define BLL_BOX_LABEL_H

// The label recipe that the three box families share. Private to the library.

#include <QtCore/QRectF>
#include <QtCore/QString>

class QPainter;

namespace BoxLabel {

// min(width, height) / 5 + 1, truncated toward zero; 0 (no label) when the size
// would pass the largest pixel size QFont takes, or is not a number.
int pixelSize(double width, double height);

// Installs a copy of the painter's font in "Verdana" at pixelSize.
void setFont(QPainter *painter, int pixelSize);

// Draws boxId centred in the box's unrounded rectangle with the painter's pen and font;
// draws nothing when the label's place is not a number or beyond Qt's text range.
void draw(QPainter *painter, const QRectF &box, const QString &boxId);

} // namespace BoxLabel

#endif // BLL_BOX_LABEL_H
