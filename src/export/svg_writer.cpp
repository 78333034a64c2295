#include "export_writers.h"

#include <QtCore/QBuffer>
#include <QtCore/QRegularExpression>
#include <QtGui/QPainter>
#include <QtSvg/QSvgGenerator>

QString writeSvg(QIODevice *device, const ExportPage &page)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    // Qt writes the title into the XML as it is.
    generator.setTitle(page.title.toHtmlEscaped());
    generator.setDescription(QString());
    // Coordinates in item units, a CSS pixel each: 96 dpi.
    generator.setResolution(96);
    generator.setSize(page.size.toSize());
    generator.setViewBox(QRectF(QPointF(0, 0), page.size));
    QPainter painter;
    if (!painter.begin(&generator))
        return QStringLiteral("the SVG generator did not start");
    paintPage(&painter, page);
    painter.end();

    // The generator gives the size in millimetres, which Qt's own SVG renderer reads at 90 dpi
    // rather than CSS's 96: in pixels, every reader shows the item's size.
    QByteArray svg = buffer.data();
    const QRegularExpression millimetres(
            QStringLiteral("^(<svg[^>]*) width=\"[^\"]*mm\" height=\"[^\"]*mm\""),
            QRegularExpression::MultilineOption);
    const QString header = QString::fromUtf8(svg.left(512));
    const QRegularExpressionMatch size = millimetres.match(header);
    if (size.hasMatch()) {
        svg.replace(0, size.capturedEnd(),
                    QStringLiteral("%1 width=\"%2\" height=\"%3\"")
                            .arg(size.captured(1))
                            .arg(page.size.width())
                            .arg(page.size.height())
                            .toUtf8());
    }
    if (device->write(svg) != svg.size())
        return device->errorString();
    return QString();
}
