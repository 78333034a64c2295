#include "export_writers.h"

#include <QtGui/QPageLayout>
#include <QtGui/QPainter>
#include <QtGui/QPdfWriter>

QString writePdf(QIODevice *device, const ExportPage &page)
{
    QPdfWriter writer(device);
    writer.setTitle(page.title);
    // A device unit per item unit, as on a 96 dpi screen, so that labels are laid out as
    // there; the page is the item, a CSS pixel (0.75 pt) per unit, without margins.
    writer.setResolution(96);
    const QPageSize size(page.size * 0.75, QPageSize::Point, QString(), QPageSize::ExactMatch);
    if (!writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF())))
        return QStringLiteral("no PDF page of %1 x %2 pt")
                .arg(size.size(QPageSize::Point).width())
                .arg(size.size(QPageSize::Point).height());
    QPainter painter;
    if (!painter.begin(&writer))
        return QStringLiteral("the PDF writer did not start");
    paintPage(&painter, page);
    painter.end();
    return QString();
}
