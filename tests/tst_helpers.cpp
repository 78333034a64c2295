#include "core/dashed_outline.h"
#include "core/int_geometry.h"
#include "core/style_keys.h"
#include "core/style_lookup.h"
#include "recording_paint_device.h"

#include <QtTest/QtTest>

// The helpers that every family paints with, each checked once, here, against a table.
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
};

using Values = QVector<double>;
const double notANumber = qQNaN(), inf = qInf();

void tst_Helpers::intGeometry_data()
{
    QTest::addColumn<QString>("helper");
    QTest::addColumn<Values>("values");
    QTest::addColumn<QString>("result"); // "refused", or the integers

    const struct
    {
        const char *name, *helper;
        Values values;
        const char *result;
    } rows[] = {
            {"toward zero", "truncate", {10.9}, "10"},
            {"negative toward zero", "truncate", {-2.7}, "-2"},
            {"largest", "truncate", {2147483647.9}, "2147483647"},
            {"past INT_MAX", "truncate", {2147483648.0}, "refused"},
            {"smallest", "truncate", {-2147483647.9}, "-2147483647"},
            {"INT_MIN itself", "truncate", {-2147483648.0}, "refused"},
            {"NaN", "truncate", {notANumber}, "refused"},
            {"infinity", "truncate", {inf}, "refused"},
            {"minus infinity", "truncate", {-inf}, "refused"},
            {"truncated", "rect", {10.9, -20.5, 30.99, 40.01}, "10 -20 30 40"},
            {"x + w at INT_MAX", "rect", {2147483000, 0, 647.9, 5}, "2147483000 0 647 5"},
            {"x + w past INT_MAX", "rect", {2147483000, 0, 648, 5}, "refused"},
            {"y + h above INT_MIN", "rect", {0, -2147483000, 5, -647.9}, "0 -2147483000 5 -647"},
            {"y + h at INT_MIN", "rect", {0, -2147483000, 5, -648}, "refused"},
            {"NaN x", "rect", {notANumber, 0, 5, 5}, "refused"},
            {"NaN y", "rect", {0, notANumber, 5, 5}, "refused"},
            {"NaN width", "rect", {0, 0, notANumber, 5}, "refused"},
            {"NaN height", "rect", {0, 0, 5, notANumber}, "refused"},
            {"two points, no size",
             "line",
             {2e9, -2e9, 2e9, 1.5},
             "2000000000 -2000000000 2000000000 1"},
            {"NaN x1", "line", {notANumber, 0, 5, 5}, "refused"},
            {"NaN y1", "line", {0, notANumber, 5, 5}, "refused"},
            {"NaN x2", "line", {0, 0, notANumber, 5}, "refused"},
            {"NaN y2", "line", {0, 0, 5, notANumber}, "refused"},
    };
    for (const auto &row : rows)
        QTest::addRow("%s %s", row.helper, row.name) << row.helper << row.values << row.result;
}

void tst_Helpers::intGeometry()
{
    QFETCH(QString, helper);
    QFETCH(Values, values);
    QFETCH(QString, result);

    int value = 0;
    QRect rect;
    QLine line;
    QString made;
    if (helper == "truncate" && IntGeometry::truncate(values[0], &value))
        made = QString::number(value);
    if (helper == "rect" && IntGeometry::rect(values[0], values[1], values[2], values[3], &rect))
        made = QStringLiteral("%1 %2 %3 %4")
                       .arg(rect.x())
                       .arg(rect.y())
                       .arg(rect.width())
                       .arg(rect.height());
    if (helper == "line" && IntGeometry::line(values[0], values[1], values[2], values[3], &line))
        made = QStringLiteral("%1 %2 %3 %4")
                       .arg(line.x1())
                       .arg(line.y1())
                       .arg(line.x2())
                       .arg(line.y2());
    QCOMPARE(made.isEmpty() ? "refused" : made, result);
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
    QCOMPARE(style.size(), 2); // nothing was inserted by reading

    QVariantMap target {{"width", 9}, {"other", 1}};
    merge(target, {{"width", "2"}, {"color", QColor(Qt::red)}, {"style", 3}},
          {&StyleKey::width, &StyleKey::color, &StyleKey::brushColor});
    QCOMPARE(target, (QVariantMap {{"width", "2"}, {"color", QColor(Qt::red)}, {"other", 1}}));
}

void tst_Helpers::dashedOutline_data()
{
    QTest::addColumn<Qt::PenStyle>("style");
    QTest::addColumn<QPolygonF>("shape"); // drawn as a polygon and as a path
    QTest::addColumn<Qt::PenStyle>("stroked");

    const double limit = 2147483648.0;
    const auto square = [](double x, double y, double size) {
        return QPolygonF(QRectF(x, y, size, size));
    };
    QTest::newRow("near, dashed") << Qt::DashLine << square(0, 0, 10) << Qt::DashLine;
    QTest::newRow("just inside") << Qt::DotLine << square(-limit + 1, -limit + 1, 2 * limit - 2)
                                 << Qt::DotLine;
    QTest::newRow("right edge at the limit")
            << Qt::DashLine << square(0, 0, limit) << Qt::SolidLine;
    QTest::newRow("left edge at the limit")
            << Qt::DashLine << square(-limit, 0, 10) << Qt::SolidLine;
    QTest::newRow("bottom edge far") << Qt::DashDotLine << square(0, 0, 1e18) << Qt::SolidLine;
    QTest::newRow("top edge far") << Qt::CustomDashLine << square(0, -1e300, 10) << Qt::SolidLine;
    QTest::newRow("one far point")
            << Qt::DashLine << QPolygonF({{0, 0}, {1, 1}, {2, 1e300}, {3, 0}}) << Qt::SolidLine;
    QTest::newRow("far, solid") << Qt::SolidLine << square(0, 0, 1e300) << Qt::SolidLine;
    QTest::newRow("far, no pen") << Qt::NoPen << square(0, 0, 1e300) << Qt::NoPen;
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

QTEST_MAIN(tst_Helpers)
#include "tst_helpers.moc"
