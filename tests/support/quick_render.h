#ifndef QUICK_RENDER_H
#define QUICK_RENDER_H

#include <QtGui/QImage>
#include <QtQuick/QQuickItem>
#include <QtQuick/QQuickItemGrabResult>
#include <QtTest/QSignalSpy>

// Renders an item as the scene graph shows it now. An item grab rather than a window grab:
// under the offscreen platform with the software backend QQuickWindow::grabWindow() is empty.
inline QImage renderItem(QQuickItem *item)
{
    const QSharedPointer<QQuickItemGrabResult> grab = item->grabToImage();
    QSignalSpy ready(grab.data(), &QQuickItemGrabResult::ready);
    return grab && ready.wait(5000) ? grab->image().convertToFormat(QImage::Format_ARGB32)
                                    : QImage();
}

// Empty when the pixel at `at` is `expected` (within rounding), else a message saying what is.
inline QString pixelMismatch(const QImage &image, QPoint at, const QColor &expected)
{
    const QColor actual = image.rect().contains(at) ? image.pixelColor(at) : QColor();
    const auto near = [](int a, int b) { return qAbs(a - b) <= 2; };
    if (actual.isValid() && near(actual.red(), expected.red())
        && near(actual.green(), expected.green()) && near(actual.blue(), expected.blue())
        && near(actual.alpha(), expected.alpha()))
        return {};
    return QStringLiteral("pixel (%1, %2) is %3, expected %4")
            .arg(at.x())
            .arg(at.y())
            .arg(actual.isValid() ? actual.name(QColor::HexArgb) : "outside the image",
                 expected.name(QColor::HexArgb));
}

#endif // QUICK_RENDER_H
