#ifndef QUICK_RENDER_H
#define QUICK_RENDER_H

#include <QtCore/QString>
#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtQuick/QQuickItem>
#include <QtQuick/QQuickItemGrabResult>
#include <QtTest/QSignalSpy>

// Renders an item as the scene graph shows it now. An item grab rather than a window grab:
// under the offscreen platform with the software backend QQuickWindow::grabWindow() is empty.
inline QImage renderItem(QQuickItem *item)
{
    const QSharedPointer<QQuickItemGrabResult> grab = item->grabToImage();
    if (!grab)
        return {};
    QSignalSpy ready(grab.data(), &QQuickItemGrabResult::ready);
    if (!ready.wait(5000))
        return {};
    return grab->image().convertToFormat(QImage::Format_ARGB32);
}

// Empty when the pixel at `at` is `expected` (within rounding), else a message saying what is.
inline QString pixelMismatch(const QImage &image, QPoint at, const QColor &expected)
{
    if (!image.rect().contains(at))
        return QStringLiteral("(%1, %2) is outside the %3x%4 image")
                .arg(at.x())
                .arg(at.y())
                .arg(image.width())
                .arg(image.height());
    const QColor actual = image.pixelColor(at);
    const auto near = [](int a, int b) { return qAbs(a - b) <= 2; };
    if (near(actual.red(), expected.red()) && near(actual.green(), expected.green())
        && near(actual.blue(), expected.blue()) && near(actual.alpha(), expected.alpha()))
        return {};
    return QStringLiteral("pixel (%1, %2) is %3, expected %4")
            .arg(at.x())
            .arg(at.y())
            .arg(actual.name(QColor::HexArgb), expected.name(QColor::HexArgb));
}

#endif // QUICK_RENDER_H
