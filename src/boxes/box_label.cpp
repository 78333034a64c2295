#include "box_label.h"

#include <QtGui/QFont>
#include <QtGui/QPainter>

namespace BoxLabel {

namespace {
constexpr double largestPixelSize = 65535.0;
const QString labelFamily = QStringLiteral("Verdana");

// Qt's text layout turns the label's position into 26.6 fixed point, which is
// undefined for NaN, infinities and positions past +-2^25; QPainter draws no text
// past +-(2^23 - 1) anyway. Beyond int, x + w / 2 is too coarse to place a label.
bool placeable(const QRectF &box)
{
    constexpr double textLimit = 8388607.0;
    constexpr double intLimit = 2147483648.0;
    const QPointF centre = box.center();
    return qAbs(box.x()) < intLimit && qAbs(box.y()) < intLimit && qAbs(centre.x()) <= textLimit
            && qAbs(centre.y()) <= textLimit;
}
} // namespace

int pixelSize(double width, double height)
{
    const double smaller = width < height ? width : height;
    const double size = smaller / 5.0 + 1.0;
    // Converting a double beyond int to int is undefined; such a label could not be drawn anyway.
    if (!(size < largestPixelSize + 1.0))
        return 0;
    return int(size);
}

void setFont(QPainter *painter, int pixelSize)
{
    QFont font = painter->font();
    font.setFamily(labelFamily);
    font.setPixelSize(pixelSize);
    painter->setFont(font);
}

void draw(QPainter *painter, const QRectF &box, const QString &boxId)
{
    if (placeable(box))
        painter->drawText(box, Qt::AlignCenter, boxId);
}

} // namespace BoxLabel
