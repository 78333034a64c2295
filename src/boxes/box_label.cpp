#include "box_label.h"

#include <QtGui/QFont>
#include <QtGui/QPainter>

namespace BoxLabel {

namespace {
constexpr double largestPixelSize = 65535.0;
const QString labelFamily = QStringLiteral("Verdana");
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
    painter->drawText(box, Qt::AlignCenter, boxId);
}

} // namespace BoxLabel
