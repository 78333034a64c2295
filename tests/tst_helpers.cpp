#include "boxes/box_canvas.h"
#include "boxes/box_label.h"
#include "boxes/simple_box_record.h"
#include "core/box_marks.h"
#include "core/dashed_outline.h"
#include "core/int_geometry.h"
#include "core/item_access.h"
#include "core/label_glyphs.h"
#include "core/rect_grid.h"
#include "core/style_keys.h"
#include "core/style_lookup.h"
#include "test_item.h"

#include <QtCore/QRandomGenerator>
#include <QtGui/QImage>
#include <QtTest/QtTest>

#include <cmath>
#include <cstring>
#include <functional>

using PainterSetup = std::function<void(QPainter *)>;
Q_DECLARE_METATYPE(PainterSetup)

// Rows of "<input> = <result>", separated by "; ".
static void resultRows(const QString &rows)
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("result");
    for (const QString &row : rows.split("; "))
        QTest::newRow(qPrintable(row)) << row.section(" = ", 0, 0) << row.section(" = ", 1);
}

// The helpers that the families share, each checked once, here, against a table of its own.
class tst_Helpers : public QObject
{
    Q_OBJECT

private slots:
    // Where boxes lie is united inline, to the bit as QRectF does it, whatever the values.
    void unitedAsQt()
    {
        const double values[] = {0,      -0.0,   1,      -1,      2.5,     -3.25, 1e300,
                                 -1e308, 1e-310, qInf(), -qInf(), qQNaN(), 7e8,   0.1};
        QRandomGenerator random {3};
        const auto any = [&] { return values[random.bounded(int(std::size(values)))]; };
        for (int i = 0; i < 20000; ++i) {
            const QRectF a(any(), any(), any(), any()), b(any(), any(), any(), any());
            const QRectF ours = united(a, b), qts = a | b;
            QVERIFY2(std::memcmp(&ours, &qts, sizeof ours) == 0, qPrintable(QString::number(i)));
        }
    }

    // A tiny box is marked on exactly the whole device pixels it reaches (at least the one under
    // its corner), and, outlined, those its outline half a pixel wide reaches beside its edges:
    // against that rule asked of each pixel, for random boxes on and off the device, a box too
    // large or not a number left to be drawn.
    void marksCoverTheWholePixelsABoxReaches_data()
    {
        QTest::addColumn<bool>("outlined");
        QTest::addColumn<QTransform>("world");
        QTest::addColumn<bool>("onPixmap"); // filled through the painter, not written in place
        QTest::newRow("plain") << false << QTransform() << false;
        QTest::newRow("outlined") << true << QTransform() << false;
        QTest::newRow("outlined, half scale, moved")
                << true << QTransform(0.5, 0, 0, 0.5, 3, -2) << false;
        QTest::newRow("outlined, on a pixmap") << true << QTransform(0.5, 0, 0, 0.5, 3, -2) << true;
    }
    void marksCoverTheWholePixelsABoxReaches()
    {
        QFETCH(bool, outlined);
        QFETCH(QTransform, world);
        QFETCH(bool, onPixmap);
        QRandomGenerator random {7};
        const auto any = [&](double low, double high) {
            // Often on whole and half pixels, where floors and ceilings turn.
            const double value = low + random.generateDouble() * (high - low);
            return random.bounded(3) == 0 ? std::round(value * 2) / 2 : value;
        };
        const QRgb red = qRgb(255, 0, 0);
        QImage image(12, 10, QImage::Format_RGB32);
        for (int k = 0; k < 2000; ++k) {
            const QRectF box(any(-4, 26), any(-4, 24), any(0, 4), any(0, 4));
            image.fill(Qt::black);
            bool marked;
            QRect held; // where the mark's extent says it may draw
            QPixmap pixmap = QPixmap::fromImage(image);
            {
                QPainter painter;
                if (onPixmap)
                    painter.begin(&pixmap);
                else
                    painter.begin(&image);
                painter.setWorldTransform(world);
                BoxMarks marks(&painter, true);
                marked = marks.mark(box, QColor(red), outlined);
                held = world.mapRect(marks.cut().extent(box)).toAlignedRect();
            }
            if (onPixmap)
                image = pixmap.toImage();
            const QRectF device = world.mapRect(box);
            QCOMPARE(marked, device.width() < BoxMarks::tiny && device.height() < BoxMarks::tiny);
            const auto reaches = [](int pixel, double from, double to, double grown) {
                return (pixel < to + grown && pixel + 1 > from - grown)
                        || pixel == int(std::floor(from));
            };
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const double left = device.left(), right = device.right();
                    const double top = device.top(), bottom = device.bottom();
                    const double grown = outlined ? 0.5 : 0;
                    const bool inside = marked
                            && ((reaches(x, left, right, 0) && reaches(y, top, bottom, grown))
                                || (reaches(x, left, right, grown) && reaches(y, top, bottom, 0)));
                    QVERIFY2((image.pixel(x, y) == red) == inside
                                     && (!inside || held.contains(x, y)),
                             qPrintable(QString("box %1 %2 %3 %4, pixel %5 %6")
                                                .arg(box.x())
                                                .arg(box.y())
                                                .arg(box.width())
                                                .arg(box.height())
                                                .arg(x)
                                                .arg(y)));
                }
            }
        }
        QImage untouched(4, 4, QImage::Format_RGB32);
        untouched.fill(Qt::black);
        QPainter painter(&untouched);
        BoxMarks marks(&painter, true);
        QVERIFY(!marks.mark(QRectF(qQNaN(), 1, 1, 1), QColor(red), false));
        QVERIFY(!marks.mark(QRectF(1, 1, 2, 1), QColor(red), false));
    }

    // A removed box leaves its place empty; the empty places are dropped once there are 64 of
    // them and they outnumber the boxes, or once no box is left.
    void emptyPlacesDroppedOnceTheyOutnumberTheBoxes_data()
    {
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("removed"); // the first ones, one at a time
        QTest::addColumn<int>("places");
        QTest::newRow("a few removed") << 10 << 5 << 10;
        QTest::newRow("as many empty as boxes") << 200 << 100 << 200;
        QTest::newRow("one more empty") << 200 << 101 << 99;
        QTest::newRow("outnumbered, but under 64") << 70 << 63 << 70;
        QTest::newRow("64, then more") << 100 << 70 << 36;
        QTest::newRow("every box") << 10 << 10 << 0;
    }
    void emptyPlacesDroppedOnceTheyOutnumberTheBoxes()
    {
        QFETCH(int, boxes);
        QFETCH(int, removed);
        QFETCH(int, places);
        Bll_Painted_Item item;
        for (int i = 0; i < boxes; ++i)
            item.addBoxSimpleF(QString::number(i), i, 0, 10, 10);
        for (int i = 0; i < removed; ++i)
            run(&item, QString("remove simple %1").arg(i));
        QCOMPARE(ItemAccess::simpleBoxes(item).size(), places);
        QCOMPARE(ItemAccess::simpleBoxes(item).boxCount(), boxes - removed);
    }

    // The grid against a plain scan: meets() exactly when some rectangle overlaps, and the cells a
    // question reaches (with those listed everywhere) never leave out one that meets it.
    void rectGrid_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("size");
        QTest::addColumn<double>("hostile"); // a coordinate some rectangles take
        // At most this share of the rectangles is a question's candidates, on average: the cells
        // are about a rectangle's size.
        QTest::addColumn<double>("share");
        QTest::newRow("a few") << 5 << 40.0 << 0.0 << 0.5;
        QTest::newRow("many small") << 400 << 8.0 << 0.0 << 0.03;
        QTest::newRow("many large") << 300 << 250.0 << 0.0 << 0.2;
        QTest::newRow("with NaN") << 200 << 30.0 << qQNaN() << 0.15;
        QTest::newRow("with far edges") << 200 << 30.0 << 1e308 << 0.15;
        QTest::newRow("with huge ones") << 200 << 30.0 << -1e7 << 0.25;
    }
    void rectGrid()
    {
        QFETCH(int, count);
        QFETCH(double, size);
        QFETCH(double, hostile);
        QFETCH(double, share);
        QRandomGenerator random {quint32(count)};
        const auto number = [&](double high) { return random.generateDouble() * high; };
        QVector<QRectF> rects;
        for (int i = 0; i < count; ++i) {
            QRectF rect(number(1000), number(600), number(size), number(size));
            if (hostile != 0 && i % 17 == 0)
                rect.setLeft(hostile);
            rects << rect;
        }
        const RectGrid kept(rects), filed = RectGrid::filing(rects);
        int asked = 0;
        for (int question = 0; question < 500; ++question) {
            const QRectF area(number(1100) - 50, number(700) - 50, number(90), number(90));
            const bool meets = std::any_of(rects.cbegin(), rects.cend(),
                                           [&](const QRectF &r) { return r.intersects(area); });
            QCOMPARE(kept.meets(area), meets);
            QSet<int> candidates;
            const auto take = [&](const RectGrid::Run &run) {
                for (const int *i = run.begin; i != run.end; ++i)
                    candidates << *i;
            };
            take(filed.everywhere());
            const RectGrid::Span span = filed.cellsMeeting(area);
            for (int row = span.top; row <= span.bottom; ++row)
                for (int column = span.left; column <= span.right; ++column)
                    take(filed.cell(filed.cellNumber(column, row)));
            for (int i = 0; i < count; ++i)
                QVERIFY(!rects[i].intersects(area) || candidates.contains(i));
            asked += candidates.size();
        }
        QVERIFY(asked <= share * 500 * count);
        // Nothing to lay cells out over: every rectangle empty or beyond reach.
        QVERIFY(!RectGrid::filing({QRectF(), QRectF(qQNaN(), 0, 1, 1), QRectF(1e308, 0, 1, 1)})
                         .hasCells());
    }

    // One rectangle over most of the cells, in both directions, is listed once, everywhere.
    void rectGridListsLargeOnesEverywhere()
    {
        QVector<QRectF> small;
        for (int i = 0; i < 2000; ++i)
            small << QRectF(i % 45 * 10, i / 45 * 10, 5, 5);
        const RectGrid withLarge = RectGrid::filing(small << QRectF(0, 0, 450, 450));
        QVERIFY(withLarge.everywhere().contains(2000));
        QVERIFY(!withLarge.cell(withLarge.cellOf(QPointF(200, 200))).contains(2000));
    }

    // Truncation toward zero; NaN, infinities, values outside int (INT_MIN itself too) and
    // rectangles whose far edges overflow int are refused.
    void intGeometry_data()
    {
        resultRows("truncate 10.9 = 10; truncate -2.7 = -2; truncate 2147483647.9 = 2147483647; "
                   "truncate 2147483648 = refused; truncate -2147483647.9 = -2147483647; "
                   "truncate -2147483648 = refused; truncate nan = refused; "
                   "truncate inf = refused; truncate -inf = refused; "
                   "rect 10.9 -20.5 30.99 40.01 = 10 -20 30 40; "
                   "rect 2147483000 0 647.9 5 = 2147483000 0 647 5; "
                   "rect 2147483000 0 648 5 = refused; "
                   "rect 0 -2147483000 5 -647.9 = 0 -2147483000 5 -647; "
                   "rect 0 -2147483000 5 -648 = refused; rect nan 0 5 5 = refused; "
                   "rect 0 nan 5 5 = refused; rect 0 0 nan 5 = refused; rect 0 0 5 nan = refused; "
                   "line 2e9 -2e9 2e9 1.5 = 2000000000 -2000000000 2000000000 1; "
                   "line nan 0 5 5 = refused; line 0 nan 5 5 = refused; "
                   "line 0 0 nan 5 = refused; line 0 0 5 nan = refused");
    }
    void intGeometry()
    {
        QFETCH(QString, input);
        QFETCH(QString, result);
        const QString helper = input.section(' ', 0, 0);
        QVector<double> v;
        for (const QString &word : input.section(' ', 1).split(' '))
            v << word.toDouble();
        int i = 0;
        QRect r;
        QLine l;
        QString made = "refused";
        if (helper == "truncate" && IntGeometry::truncate(v[0], &i))
            made = QString::number(i);
        if (helper == "rect" && IntGeometry::rect(v[0], v[1], v[2], v[3], &r))
            made = QString("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        if (helper == "line" && IntGeometry::line(v[0], v[1], v[2], v[3], &l))
            made = QString("%1 %2 %3 %4").arg(l.x1()).arg(l.y1()).arg(l.x2()).arg(l.y2());
        QCOMPARE(made, result);
    }

    // A family's pen is the painter's (here magenta, dash-dot, width 5) with the style's "style"
    // (outside the pen styles: no pen), "width" and, when valid, "color".
    void familyPen_data()
    {
        resultRows("{} = #ff00ff 0 NoPen; {style:2, width:3, color:blue} = #0000ff 3 DashLine; "
                   "{style:6} = #ff00ff 0 CustomDashLine; {style:7} = #ff00ff 0 NoPen; "
                   "{style:-1} = #ff00ff 0 NoPen; {style:'3', width:'4'} = #ff00ff 4 DotLine; "
                   "{style:1.6, width:2.7} = #ff00ff 3 DashLine; "
                   "{style:1, width:wide, color:nonsense} = #ff00ff 0 SolidLine");
    }
    void familyPen()
    {
        QFETCH(QString, input);
        QFETCH(QString, result);
        const QPen found(QBrush(Qt::magenta), 5, Qt::DashDotLine, Qt::RoundCap, Qt::BevelJoin);
        const QPen pen = StyleLookup::familyPen(found, scriptValue(input).toMap());
        QCOMPARE(penText(pen), result);
        QCOMPARE(pen.capStyle(), Qt::RoundCap);
        QCOMPARE(pen.joinStyle(), Qt::BevelJoin);
    }

    // Every other tool is the painter's own, changed only where the style gives a valid colour.
    void toolsAreCopiesOfThePaintersTools()
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

    // Qt's dash stroker never returns for far shapes: they are stroked solid, as a polygon and
    // as a path, and the pen is left as it was. A polygon with a point that is not a number is
    // not drawn. Rows: pen style, then the corners x1 y1 x2 y2 of a rectangle, or more points.
    void dashedOutline_data()
    {
        resultRows("DashLine 0 0 10 10 = DashLine; "
                   "DotLine -2147483647 -2147483647 2147483647 2147483647 = DotLine; "
                   "DashLine -2147483648 0 10 10 = SolidLine; "
                   "DashLine 0 0 2147483648 10 = SolidLine; "
                   "CustomDashLine 0 -2147483648 10 10 = SolidLine; "
                   "DashDotLine 0 0 10 2147483648 = SolidLine; "
                   "DashLine 0 0 1 1 2 1e300 3 0 = SolidLine; "
                   "SolidLine 0 0 1e300 1e300 = SolidLine; NoPen 0 0 1e300 1e300 = NoPen; "
                   "SolidLine 0 0 1 1 5 nan 3 0 = nothing; SolidLine 0 0 1 1 nan 5 3 0 = nothing");
    }
    void dashedOutline()
    {
        QFETCH(QString, input);
        QFETCH(QString, result);
        const QStringList words = input.split(' ');
        QPolygonF shape;
        for (int i = 1; i + 1 < words.size(); i += 2)
            shape << QPointF(words[i].toDouble(), words[i + 1].toDouble());
        if (shape.size() == 2)
            shape = QPolygonF(QRectF(shape[0], shape[1]));
        const QMetaEnum styles = QMetaEnum::fromType<Qt::PenStyle>();
        const QPen pen(Qt::red, 3, Qt::PenStyle(styles.keyToValue(qPrintable(words[0]))));

        RecordingPaintDevice device;
        QPainter painter(&device);
        painter.setPen(pen);
        DashedOutline::drawPolygon(&painter, shape);
        if (result == "nothing") {
            QCOMPARE(device.calls.size(), 0);
            return;
        }
        QPainterPath path;
        path.addPolygon(shape);
        DashedOutline::drawPath(&painter, path);
        QCOMPARE(painter.pen(), pen);
        QCOMPARE(callTexts(device.calls, true).join('|').count(", #ff0000 3 " + result), 2);
        QCOMPARE(device.calls[0].polygonMode, QPaintEngine::OddEvenMode);
    }

    // min(width, height) / 5 + 1, truncated; 0 past the largest pixel size a QFont takes. The
    // font is a copy of the painter's in Verdana.
    void labelPixelSizeAndFont()
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

    // Qt's text layout turns a label's place into 26.6 fixed point, which is undefined far away:
    // a label is drawn only where its box lies within int and its centre within Qt's text range.
    void labelPlacement_data()
    {
        resultRows(
                "8388597 0 20 20 = drawn; 2147483647 0 -4294967294 20 = drawn; "
                "2147483648 0 -4294967296 20 = not drawn; 0 2147483648 20 -4294967296 = not drawn; "
                "nan 0 20 20 = not drawn; no pen: 0 0 20 20 = not drawn");
    }
    void labelPlacement()
    {
        QFETCH(QString, input);
        QFETCH(QString, result);
        QVector<double> v;
        for (const QString &word : input.section(": ", -1).split(' '))
            v << word.toDouble();
        RecordingPaintDevice device;
        QPainter painter(&device);
        painter.setPen(input.startsWith("no pen") ? Qt::NoPen : Qt::SolidLine);
        LabelStore store(1);
        LabelPainter(&painter, &store, LabelPainter::KeepInStore)
                .draw(QRectF(v[0], v[1], v[2], v[3]), "label", 0);
        QCOMPARE(device.calls.isEmpty() ? "not drawn" : "drawn", result);
    }

    void labelDrawsWhatDrawTextDraws_data()
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
        QTest::newRow("underlined") << font([](QFont &f) { f.setUnderline(true); });
        QTest::newRow("overlined, struck out") << font([](QFont &f) {
            f.setOverline(true);
            f.setStrikeOut(true);
        });
        QTest::newRow("right to left")
                << PainterSetup([](QPainter *p) { p->setLayoutDirection(Qt::RightToLeft); });
        QTest::newRow("scaled and rotated") << PainterSetup([](QPainter *p) {
            p->translate(30, -20);
            p->scale(1.3, 0.9);
            p->rotate(4);
        });
        QTest::newRow("scaled in halves") << PainterSetup([](QPainter *p) { p->scale(1.5, 2.5); });
        QTest::newRow("scaled by a tenth") << PainterSetup([](QPainter *p) { p->scale(1.1, 1.1); });
        QTest::newRow("moved by a fraction")
                << PainterSetup([](QPainter *p) { p->translate(0.3, -0.7); });
        QTest::newRow("moved by whole pixels")
                << PainterSetup([](QPainter *p) { p->translate(37, -12); });
        QTest::newRow("moved by 64ths, scaled in quarters") << PainterSetup([](QPainter *p) {
            p->translate(-812.328125, 301.015625);
            p->scale(1.25, 0.75);
        });
        QTest::newRow("clipped") << PainterSetup(
                [](QPainter *p) { p->setClipRect(QRect(50, 40, 300, 200)); });
    }

    // A label keeps its layout between frames; whatever it keeps must never show. Labels that
    // take every branch of Qt's text formatting (clipped, several lines, tabs, spaces, right to
    // left, mnemonics, length variants, empty) live through three frames, a plain one and two
    // with the row's painter, each compared with QPainter::drawText(box, AlignCenter, label).
    void labelDrawsWhatDrawTextDraws()
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
                                    QStringLiteral("del\u007fete"),
                                    "x"};
        const QSizeF sizes[] = {{90, 40}, {40, 14}, {60, 60}, {11, 11}, {150, 30}};
        LabelStore store(labels.size());
        const auto frame = [&](const PainterSetup &painterSetup, bool cached, qreal ratio) {
            QImage image(QSize(480, 320) * ratio, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::white);
            QPainter painter(&image);
            painterSetup(&painter);
            const QFont found = painter.font();
            LabelPainter labelPainter(&painter, &store, LabelPainter::KeepInStore);
            for (int i = 0; i < labels.size(); ++i) {
                // Some boxes start left of and above the image.
                const QRectF box(QPointF((i * 37) % 420 - 20.3, (i * 53) % 300 - 10.6),
                                 sizes[i % 5]);
                QFont font = found;
                font.setFamily("Verdana");
                font.setPixelSize(int(qMin(box.width(), box.height()) / 5 + 1));
                painter.setFont(font);
                if (cached)
                    labelPainter.draw(box, labels[i], i);
                else
                    painter.drawText(box, Qt::AlignCenter, labels[i]);
            }
            return image;
        };
        const PainterSetup plain = [](QPainter *) {};
        frame(plain, true, 1);
        QVERIFY(store.at(0).byGlyphs); // "P1" is kept as glyphs on a plain image
        // At device pixel ratio 2 too, where glyphs land on half pixels of the item's.
        for (const qreal ratio : {1.0, 2.0}) {
            QCOMPARE(frame(plain, true, ratio), frame(plain, false, ratio));
            QCOMPARE(frame(setup, true, ratio), frame(setup, false, ratio));
            QCOMPARE(frame(setup, true, ratio), frame(setup, false, ratio));
        }
    }
};

QTEST_MAIN(tst_Helpers)
#include "tst_helpers.moc"
