#include "boxes/box_label.h"
#include "recording_paint_device.h"

#include <QtGui/QImage>
#include <QtTest/QtTest>

#include <functional>

// The label recipe of all three box families. Its drawing keeps each label's layout between
// frames; whatever it keeps must never show: every frame is compared with what
// QPainter::drawText(box, Qt::AlignCenter, boxId) draws in the same font.
using PainterSetup = std::function<void(QPainter *)>;
Q_DECLARE_METATYPE(PainterSetup)

class tst_BoxLabel : public QObject
{
    Q_OBJECT

private slots:
    void pixelSize_data();
    void pixelSize();
    void fontIsAVerdanaCopyOfThePaintersFont();
    void placement_data();
    void placement();
    void drawsWhatDrawTextDraws_data();
    void drawsWhatDrawTextDraws();
};

void tst_BoxLabel::pixelSize_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("pixelSize"); // 0: no label

    QTest::newRow("the smaller side, width") << 50.0 << 100.0 << 11;
    QTest::newRow("the smaller side, height") << 100.0 << 55.0 << 12;
    QTest::newRow("truncated") << 13.0 << 50.0 << 3;
    QTest::newRow("largest pixel size") << 327674.9 << 327674.9 << 65535;
    QTest::newRow("past the largest pixel size") << 327675.0 << 327675.0 << 0;
    QTest::newRow("NaN") << 50.0 << qQNaN() << 0;
    QTest::newRow("infinite") << qInf() << qInf() << 0;
}

void tst_BoxLabel::pixelSize()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(int, pixelSize);
    QCOMPARE(BoxLabel::pixelSize(width, height), pixelSize);
}

void tst_BoxLabel::fontIsAVerdanaCopyOfThePaintersFont()
{
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QFont found(QStringLiteral("DejaVu Sans"));
    found.setPixelSize(7);
    found.setBold(true);
    found.setItalic(true);
    painter.setFont(found);
    BoxLabel::setFont(&painter, 12);
    const QFont font = painter.font();
    QCOMPARE(font.family(), "Verdana");
    QCOMPARE(font.pixelSize(), 12);
    QVERIFY(font.bold() && font.italic());
}

void tst_BoxLabel::placement_data()
{
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<Qt::PenStyle>("pen");
    QTest::addColumn<bool>("drawn");

    const double text = 8388607, past = 2147483648.0;
    QTest::newRow("centre at the right text limit")
            << QRectF(text - 10, 0, 20, 20) << Qt::SolidLine << true;
    QTest::newRow("centre past it") << QRectF(text - 9, 0, 20, 20) << Qt::SolidLine << false;
    QTest::newRow("x inside int, centred at 0")
            << QRectF(past - 1, 0, 2 - 2 * past, 20) << Qt::SolidLine << true;
    QTest::newRow("x past int, centred at 0")
            << QRectF(past, 0, -2 * past, 20) << Qt::SolidLine << false;
    QTest::newRow("y past int, centred at 0")
            << QRectF(0, past, 20, -2 * past) << Qt::SolidLine << false;
    QTest::newRow("NaN") << QRectF(qQNaN(), 0, 20, 20) << Qt::SolidLine << false;
    QTest::newRow("no pen") << QRectF(0, 0, 20, 20) << Qt::NoPen << false;
}

// Qt's text layout turns a label's place into 26.6 fixed point, which is undefined far away.
void tst_BoxLabel::placement()
{
    QFETCH(QRectF, box);
    QFETCH(Qt::PenStyle, pen);
    QFETCH(bool, drawn);

    RecordingPaintDevice device;
    QPainter painter(&device);
    painter.setPen(pen);
    BoxLabel::Cache cache;
    BoxLabel::draw(&painter, box, QStringLiteral("label"), cache);
    QCOMPARE(device.calls.size(), int(drawn));
}

void tst_BoxLabel::drawsWhatDrawTextDraws_data()
{
    QTest::addColumn<PainterSetup>("setup");

    QTest::newRow("plain") << PainterSetup([](QPainter *) {});
    QTest::newRow("bold italic spaced font") << PainterSetup([](QPainter *p) {
        QFont font = p->font();
        font.setBold(true);
        font.setItalic(true);
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
        p->setFont(font);
    });
    QTest::newRow("capitals of another family") << PainterSetup([](QPainter *p) {
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setCapitalization(QFont::AllUppercase);
        p->setFont(font);
    });
    QTest::newRow("underlined, struck out") << PainterSetup([](QPainter *p) {
        QFont font = p->font();
        font.setUnderline(true);
        font.setStrikeOut(true);
        p->setFont(font);
    });
    QTest::newRow("right to left")
            << PainterSetup([](QPainter *p) { p->setLayoutDirection(Qt::RightToLeft); });
    QTest::newRow("scaled and rotated") << PainterSetup([](QPainter *p) {
        p->translate(30, -20);
        p->scale(1.3, 0.9);
        p->rotate(4);
    });
    QTest::newRow("clipped") << PainterSetup(
            [](QPainter *p) { p->setClipRect(QRect(50, 40, 300, 200)); });
}

// Labels that take every branch of Qt's text formatting (clipped, several lines, tabs, spaces,
// right to left, mnemonics, length variants, empty), in boxes of several sizes. The caches
// live through three frames: a plain one, then two with the row's painter.
void tst_BoxLabel::drawsWhatDrawTextDraws()
{
    QFETCH(PainterSetup, setup);

    const QStringList labels = {"P1",
                                "a label far too long for its box",
                                "",
                                "trailing  ",
                                "  leading",
                                "two\nlines",
                                "cr\rreturn",
                                "tab\there",
                                "&Mnemonic && more",
                                QString::fromUtf16(u"\u05e9\u05dc\u05d5\u05dd abc"),
                                QString::fromUtf16(u"\u0645\u0631\u062d\u0628\u0627"),
                                QString::fromUtf16(u"long variant\u009cshort"),
                                QString::fromUtf16(u"line\u2028separator"),
                                QString::fromUtf16(u"e\u0301\u0301 combining"),
                                QString::fromUtf16(u"\u4e2d\u6587 CJK"),
                                "x"};
    const QSizeF sizes[] = {{90, 40}, {40, 14}, {60, 60}, {11, 11}, {150, 30}};
    QVector<QRectF> boxes;
    for (int i = 0; i < labels.size(); ++i)
        boxes << QRectF(QPointF((i * 37) % 400 + 0.3, (i * 53) % 280 + 0.6), sizes[i % 5]);
    QVector<BoxLabel::Cache> caches(labels.size());

    const auto frame = [&](const PainterSetup &painterSetup, bool withCache) {
        QImage image(480, 320, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painterSetup(&painter);
        const QFont found = painter.font();
        for (int i = 0; i < labels.size(); ++i) {
            QFont font = found;
            font.setFamily(QStringLiteral("Verdana"));
            font.setPixelSize(int(qMin(boxes[i].width(), boxes[i].height()) / 5 + 1));
            painter.setFont(font);
            if (withCache)
                BoxLabel::draw(&painter, boxes[i], labels[i], caches[i]);
            else
                painter.drawText(boxes[i], Qt::AlignCenter, labels[i]);
        }
        return image;
    };
    const PainterSetup plain = [](QPainter *) {};
    QCOMPARE(frame(plain, true), frame(plain, false));
    QCOMPARE(frame(setup, true), frame(setup, false));
    QCOMPARE(frame(setup, true), frame(setup, false));
}

QTEST_MAIN(tst_BoxLabel)
#include "tst_box_label.moc"
