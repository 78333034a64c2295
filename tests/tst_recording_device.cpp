#include "recording_paint_device.h"

#include <QtTest/QtTest>

// The recorder is the eye of every painting test: check it sees what QPainter sends.
class tst_RecordingDevice : public QObject
{
    Q_OBJECT

private slots:
    void recordsEachPrimitiveWithItsState();
};

void tst_RecordingDevice::recordsEachPrimitiveWithItsState()
{
    RecordingPaintDevice device;
    {
        QPainter painter(&device);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(Qt::red, 3, Qt::DashLine));
        painter.setBrush(QBrush(Qt::blue));
        painter.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(4.5, 0), QPointF(2, 3)}),
                            Qt::OddEvenFill);
        painter.drawRect(1, 2, 3, 4);
        painter.drawEllipse(5, 6, 7, 8);
        const QLine line(1, 1, 9, 9);
        painter.drawLines(&line, 1);
        QPainterPath path;
        path.moveTo(0, 0);
        path.lineTo(10, 0);
        painter.drawPath(path);
        QFont font = painter.font();
        font.setFamily(QStringLiteral("Verdana"));
        font.setPixelSize(11);
        painter.setFont(font);
        painter.drawText(QRectF(0, 0, 100, 50), Qt::AlignCenter, QStringLiteral("id"));
    }
    const QVector<DrawCall> calls = device.calls();
    QCOMPARE(calls.size(), 6);
    QCOMPARE(calls[0].kind, DrawCall::Polygon);
    QCOMPARE(calls[0].points[1], QPointF(4.5, 0));
    QCOMPARE(calls[0].polygonMode, QPaintEngine::OddEvenMode);
    QCOMPARE(calls[0].pen.color(), QColor(Qt::red));
    QCOMPARE(calls[0].pen.style(), Qt::DashLine);
    QCOMPARE(calls[0].brush.color(), QColor(Qt::blue));
    QVERIFY(calls[0].hints.testFlag(QPainter::Antialiasing));
    QCOMPARE(calls[1].kind, DrawCall::Rect);
    QCOMPARE(calls[1].rect, QRect(1, 2, 3, 4));
    QCOMPARE(calls[2].kind, DrawCall::Ellipse);
    QCOMPARE(calls[2].rect, QRect(5, 6, 7, 8));
    QCOMPARE(calls[3].kind, DrawCall::Line);
    QCOMPARE(calls[3].line, QLine(1, 1, 9, 9));
    QCOMPARE(calls[4].kind, DrawCall::Path);
    QCOMPARE(calls[4].path.elementCount(), 2);
    QCOMPARE(calls[5].kind, DrawCall::Text);
    QCOMPARE(calls[5].text, QStringLiteral("id"));
    QCOMPARE(calls[5].textFont.family(), QStringLiteral("Verdana"));
    QCOMPARE(calls[5].textFont.pixelSize(), 11);
}

QTEST_MAIN(tst_RecordingDevice)
#include "tst_recording_device.moc"
