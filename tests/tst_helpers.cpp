#include "boxes/box_label.h"
#include "core/dashed_outline.h"
#include "core/int_geometry.h"
#include "core/style_keys.h"
#include "core/style_lookup.h"
#include "recording_paint_device.h"

#include <QtGui/QImage>
#include <QtTest/QtTest>

#include <functional>

// The helpers that the families share, each checked once, here, against a table of its own.
class tst_Helpers : public QObject
{
    Q_OBJECT

private slots:
    void intGeometry_data();
    void intGeometry();
    void penFromStyle_data();
    void penFromStyle();
    void toolsAreCopiesOfThePaintersTools();
    void dashedOutline_data();
    void dashedOutline();
    void labelPixelSizeAndFont();
    void labelPlacement_data();
    void labelPlacement();
    void labelDrawsWhatDrawTextDraws_data();
    void labelDrawsWhatDrawTextDraws();
};

using PainterSetup = std::function<void(QPainter *)>;
Q_DECLARE_METATYPE(PainterSetup)

void tst_Helpers::intGeometry_data()
{
    QTest::addColumn<QString>("helper");
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<QString>("result"); // "refused", or the integers

    // "<helper> <values> = <integers or refused>"
    for (const char *row : {"truncate 10.9 = 10",
                            "truncate -2.7 = -2",
                            "truncate 2147483647.9 = 2147483647",
                            "truncate 2147483648 = refused",
                            "truncate -2147483647.9 = -2147483647",
                            "truncate -2147483648 = refused",
                            "truncate nan = refused",
                            "truncate inf = refused",
                            "truncate -inf = refused",
                            "rect 10.9 -20.5 30.99 40.01 = 10 -20 30 40",
                            "rect 2147483000 0 647.9 5 = 2147483000 0 647 5",
                            "rect 2147483000 0 648 5 = refused",
                            "rect 0 -2147483000 5 -647.9 = 0 -2147483000 5 -647",
                            "rect 0 -2147483000 5 -648 = refused",
                            "rect nan 0 5 5 = refused",
                            "rect 0 nan 5 5 = refused",
                            "rect 0 0 nan 5 = refused",
                            "rect 0 0 5 nan = refused",
                            "line 2e9 -2e9 2e9 1.5 = 2000000000 -2000000000 2000000000 1",
                            "line nan 0 5 5 = refused",
                            "line 0 nan 5 5 = refused",
                            "line 0 0 nan 5 = refused",
                            "line 0 0 5 nan = refused"}) {
        QStringList words = QString(row).section(" =", 0, 0).split(' ');
        QVector<double> values;
        for (const QString &word : words.mid(1))
            values << word.toDouble();
        QTest::newRow(row) << words.first() << values << QString(row).section("= ", 1);
    }
}

void tst_Helpers::intGeometry()
{
    QFETCH(QString, helper);
    QFETCH(QVector<double>, values);
    QFETCH(QString, result);

    int value = 0;
    QRect r;
    QLine l;
    QString made = "refused";
    if (helper == "truncate" && IntGeometry::truncate(values[0], &value))
        made = QString::number(value);
    if (helper == "rect" && IntGeometry::rect(values[0], values[1], values[2], values[3], &r))
        made = QString("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    if (helper == "line" && IntGeometry::line(values[0], values[1], values[2], values[3], &l))
        made = QString("%1 %2 %3 %4").arg(l.x1()).arg(l.y1()).arg(l.x2()).arg(l.y2());
    QCOMPARE(made, result);
}

void tst_Helpers::penFromStyle_data()
{
    QTest::addColumn<QVariantMap>("style");
    QTest::addColumn<QString>("pen"); // familyPen() of a magenta dash-dot pen of width 5

    QTest::newRow("nothing set: no pen, width 0") << QVariantMap() << "#ff00ff 0 NoPen";
    QTest::newRow("all set") << QVariantMap {{"style", 2}, {"width", 3}, {"color", "blue"}}
                             << "#0000ff 3 DashLine";
    QTest::newRow("last pen style") << QVariantMap {{"style", 6}} << "#ff00ff 0 CustomDashLine";
    QTest::newRow("past the pen styles") << QVariantMap {{"style", 7}} << "#ff00ff 0 NoPen";
    QTest::newRow("negative style") << QVariantMap {{"style", -1}} << "#ff00ff 0 NoPen";
    QTest::newRow("numbers as strings")
            << QVariantMap {{"style", "3"}, {"width", "4"}} << "#ff00ff 4 DotLine";
    QTest::newRow("doubles round through toInt")
            << QVariantMap {{"style", 1.6}, {"width", 2.7}} << "#ff00ff 3 DashLine";
    QTest::newRow("invalid colour keeps the pen's")
            << QVariantMap {{"style", 1}, {"width", "wide"}, {"color", "nonsense"}}
            << "#ff00ff 0 SolidLine";
}

void tst_Helpers::penFromStyle()
{
    QFETCH(QVariantMap, style);
    QFETCH(QString, pen);

    const QPen found(QBrush(Qt::magenta), 5, Qt::DashDotLine, Qt::RoundCap, Qt::BevelJoin);
    const QPen made = StyleLookup::familyPen(found, style);
    QCOMPARE(penText(made), pen);
    QCOMPARE(made.capStyle(), Qt::RoundCap);
    QCOMPARE(made.joinStyle(), Qt::BevelJoin);
}

// Every other tool is the painter's own, changed only where the style gives a valid colour.
void tst_Helpers::toolsAreCopiesOfThePaintersTools()
{
    using namespace StyleLookup;
    const QPen pen(QBrush(Qt::magenta), 5, Qt::DashDotLine, Qt::RoundCap, Qt::BevelJoin);
    const QBrush brush(Qt::yellow, Qt::Dense4Pattern);
    const QColor red(Qt::red), invalid;

    QPen redPen = pen;
    redPen.setColor(red);
    QCOMPARE(penWithColor(pen, red), redPen);
    QCOMPARE(penWithColor(pen, invalid), pen);
    QCOMPARE(solidBrushOr(brush, red), QBrush(red, Qt::SolidPattern));
    QCOMPARE(solidBrushOr(brush, invalid), brush);
    QCOMPARE(fillColorOrTransparent(QColor(1, 2, 3, 4)), QColor(1, 2, 3, 4));
    QCOMPARE(fillColorOrTransparent(invalid), QColor(Qt::transparent));

    const QVariantMap style {{"textColor", 7}, {"brushColor", "nonsense"}};
    QCOMPARE(optionalColor(style, StyleKey::textColor), red);
    QVERIFY(!optionalColor(style, StyleKey::brushColor).isValid());
    QVERIFY(!optionalColor(style, StyleKey::color).isValid());
    QCOMPARE(style.size(), 2); // reading inserted nothing

    QVariantMap target {{"width", 9}, {"other", 1}};
    merge(target, {{"width", "2"}, {"color", red}, {"style", 3}},
          {&StyleKey::width, &StyleKey::color, &StyleKey::brushColor});
    QCOMPARE(target, (QVariantMap {{"width", "2"}, {"color", red}, {"other", 1}}));
}

void tst_Helpers::dashedOutline_data()
{
    QTest::addColumn<Qt::PenStyle>("style");
    QTest::addColumn<QPolygonF>("shape"); // drawn as a polygon and as a path
    QTest::addColumn<Qt::PenStyle>("stroked");

    const double limit = 2147483648.0;
    const auto rect = [](double x, double y, double width, double height) {
        return QPolygonF(QRectF(x, y, width, height));
    };
    QTest::newRow("near") << Qt::DashLine << rect(0, 0, 10, 10) << Qt::DashLine;
    QTest::newRow("just inside") << Qt::DotLine
                                 << rect(-limit + 1, -limit + 1, 2 * limit - 2, 2 * limit - 2)
                                 << Qt::DotLine;
    QTest::newRow("left edge at the limit")
            << Qt::DashLine << rect(-limit, 0, 10, 10) << Qt::SolidLine;
    QTest::newRow("right edge") << Qt::DashLine << rect(0, 0, limit, 10) << Qt::SolidLine;
    QTest::newRow("top edge") << Qt::CustomDashLine << rect(0, -limit, 10, 10) << Qt::SolidLine;
    QTest::newRow("bottom edge") << Qt::DashDotLine << rect(0, 0, 10, limit) << Qt::SolidLine;
    QTest::newRow("one far point")
            << Qt::DashLine << QPolygonF({{0, 0}, {1, 1}, {2, 1e300}, {3, 0}}) << Qt::SolidLine;
    QTest::newRow("far, solid") << Qt::SolidLine << rect(0, 0, 1e300, 1e300) << Qt::SolidLine;
    QTest::newRow("far, no pen") << Qt::NoPen << rect(0, 0, 1e300, 1e300) << Qt::NoPen;
}

// Qt's dash stroker never returns for far shapes, so they are stroked solid; the pen itself
// is left as it was.
void tst_Helpers::dashedOutline()
{
    QFETCH(Qt::PenStyle, style);
    QFETCH(QPolygonF, shape);
    QFETCH(Qt::PenStyle, stroked);

    RecordingPaintDevice device;
    QPainter painter(&device);
    const QPen pen(Qt::red, 3, style);
    painter.setPen(pen);
    DashedOutline::drawPolygon(&painter, shape);
    QPainterPath path;
    path.addPolygon(shape);
    DashedOutline::drawPath(&painter, path);
    QCOMPARE(painter.pen(), pen);
    QCOMPARE(device.calls.size(), 2);
    QCOMPARE(device.calls[0].polygonMode, QPaintEngine::OddEvenMode);
    QCOMPARE(device.calls[0].pen.style(), stroked);
    QCOMPARE(device.calls[1].pen.style(), stroked);
    QCOMPARE(device.calls[1].pen.width(), 3);
}

// min(width, height) / 5 + 1, truncated; 0 past the largest pixel size a QFont takes. The font
// is a copy of the painter's in Verdana.
void tst_Helpers::labelPixelSizeAndFont()
{
    using BoxLabel::pixelSize;
    QCOMPARE(pixelSize(50, 100), 11);
    QCOMPARE(pixelSize(100, 55), 12);
    QCOMPARE(pixelSize(13, 50), 3);
    QCOMPARE(pixelSize(327674.9, 327674.9), 65535);
    QCOMPARE(pixelSize(327675, 327675), 0);
    QCOMPARE(pixelSize(50, qQNaN()), 0);
    QCOMPARE(pixelSize(qInf(), qInf()), 0);

    RecordingPaintDevice device;
    QPainter painter(&device);
    QFont found = foundFont();
    found.setBold(true);
    painter.setFont(found);
    BoxLabel::setFont(&painter, 12);
    QCOMPARE(painter.font().family(), "Verdana");
    QCOMPARE(painter.font().pixelSize(), 12);
    QVERIFY(painter.font().bold());
}

void tst_Helpers::labelPlacement_data()
{
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<Qt::PenStyle>("pen");
    QTest::addColumn<bool>("drawn");

    const double text = 8388607, past = 2147483648.0;
    QTest::newRow("centre at the text limit")
            << QRectF(text - 10, 0, 20, 20) << Qt::SolidLine << true;
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
void tst_Helpers::labelPlacement()
{
    QFETCH(QRectF, box);
    QFETCH(Qt::PenStyle, pen);
    QFETCH(bool, drawn);

    RecordingPaintDevice device;
    QPainter painter(&device);
    painter.setPen(pen);
    BoxLabel::Cache cache;
    BoxLabel::draw(&painter, box, "label", cache);
    QCOMPARE(device.calls.size(), int(drawn));
}

void tst_Helpers::labelDrawsWhatDrawTextDraws_data()
{
    QTest::addColumn<PainterSetup>("setup");

    const auto font = [](std::function<void(QFont &)> change) {
        return PainterSetup([change](QPainter *p) {
            QFont font = p->font();
            change(font);
            p->setFont(font);
        });
    };
    QTest::newRow("plain") << PainterSetup([](QPainter *) {});
    QTest::newRow("bold italic spaced") << font([](QFont &f) {
        f.setBold(true);
        f.setItalic(true);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    });
    QTest::newRow("capitals of another family") << font([](QFont &f) {
        f.setFamily("DejaVu Serif");
        f.setCapitalization(QFont::AllUppercase);
    });
    QTest::newRow("underlined, struck out") << font([](QFont &f) {
        f.setUnderline(true);
        f.setStrikeOut(true);
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

// A label keeps its layout between frames; whatever it keeps must never show. Labels that take
// every branch of Qt's text formatting (clipped, several lines, tabs, spaces, right to left,
// mnemonics, length variants, empty) live through three frames, a plain one and two with the
// row's painter, each compared with QPainter::drawText(box, Qt::AlignCenter, label).
void tst_Helpers::labelDrawsWhatDrawTextDraws()
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
                                QStringLiteral("\u05e9\u05dc\u05d5\u05dd abc"),
                                QStringLiteral("\u0645\u0631\u062d\u0628\u0627"),
                                QStringLiteral("long variant\u009cshort"),
                                QStringLiteral("line\u2028separator"),
                                QStringLiteral("e\u0301\u0301 combining"),
                                QStringLiteral("\u4e2d\u6587 CJK"),
                                "x"};
    const QSizeF sizes[] = {{90, 40}, {40, 14}, {60, 60}, {11, 11}, {150, 30}};
    QVector<BoxLabel::Cache> caches(labels.size());
    const auto frame = [&](const PainterSetup &painterSetup, bool cached) {
        QImage image(480, 320, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painterSetup(&painter);
        const QFont found = painter.font();
        for (int i = 0; i < labels.size(); ++i) {
            const QRectF box(QPointF((i * 37) % 400 + 0.3, (i * 53) % 280 + 0.6), sizes[i % 5]);
            QFont font = found;
            font.setFamily("Verdana");
            font.setPixelSize(int(qMin(box.width(), box.height()) / 5 + 1));
            painter.setFont(font);
            if (cached)
                BoxLabel::draw(&painter, box, labels[i], caches[i]);
            else
                painter.drawText(box, Qt::AlignCenter, labels[i]);
        }
        return image;
    };
    const PainterSetup plain = [](QPainter *) {};
    QCOMPARE(frame(plain, true), frame(plain, false));
    QCOMPARE(frame(setup, true), frame(setup, false));
    QCOMPARE(frame(setup, true), frame(setup, false));
}

QTEST_MAIN(tst_Helpers)
#include "tst_helpers.moc"
