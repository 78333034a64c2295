#include "box_label.h"

#include "../core/box_family.h"

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

QFont font(const QFont &base, int pixelSize)
{
    QFont font = base;
    font.setFamily(labelFamily);
    font.setPixelSize(pixelSize);
    return font;
}

void setFont(QPainter *painter, int pixelSize)
{
    painter->setFont(font(painter->font(), pixelSize));
}

QRectF extent(const QRectF &box, const QString &label, int pixelSize)
{
    if (pixelSize <= 0)
        return QRectF();
    // Overhangs, accents and underlines stay within an em of the label's box; marks stacked on
    // a letter may reach any distance.
    for (const QChar c : label) {
        // None lies below the combining diacritical marks: ids are mostly ASCII.
        if (c.unicode() >= 0x300 && c.isMark())
            return unboundedExtent();
    }
    return box.adjusted(-pixelSize, -pixelSize, pixelSize, pixelSize);
}

} // namespace BoxLabel
