#include "export_writers.h"

#include <QtGui/QImage>
#include <QtGui/QImageWriter>
#include <QtGui/QPainter>

QString writeImage(QIODevice *device, const ExportPage &page, qreal scale, const QSize &pixels,
                   const char *format)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return QStringLiteral("no memory for a %1 x %2 picture")
                .arg(pixels.width())
                .arg(pixels.height());
    // Painted at the scale, in item units, as on a screen of that device pixel ratio.
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintPage(&painter, page);
    painter.end();

    // Printed at the item's size: an item unit is 1/96 inch.
    const int dotsPerMeter = qRound(96 * scale / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QImageWriter writer(device, format);
    if (!writer.write(image))
        return writer.errorString();
    return QString();
}
