#include "painted.h"
#include "test_item.h"

#include <QtGui/QImage>
#include <QtTest/QtTest>

#include <limits>

// One fill-colour setter call: "box" setBoxStyle, "dvi" setBoxDVIFillColor, "simple"
// setBoxSimpleStyle.
using FillCalls = QVector<QPair<QString, QVariant>>;

namespace {

const QPen foundPen(Qt::green, 5, Qt::DotLine, Qt::RoundCap);
const QBrush foundBrush(Qt::gray, Qt::Dense4Pattern);
const double inf = std::numeric_limits<double>::infinity();

} // namespace

class tst_SimpleBoxes : public QObject
{
    Q_OBJECT

private slots:
    void geometryAndLabel_data();
    void geometryAndLabel();
    void labelCentredInUnroundedRectangle();
    void brushByState_data();
    void brushByState();
    void pens_data();
    void pens();
    void flagsOrderAndReAdd();
    void fillColor_data();
    void fillColor();
    void renderedStateFills();
};

void tst_SimpleBoxes::geometryAndLabel_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<QRect>("rect"); // null: the box is skipped
    QTest::addColumn<int>("pixelSize"); // 0: no label

    QTest::newRow("11 x 11") << 0.0 << 0.0 << 11.0 << 11.0 << QRect(0, 0, 11, 11) << 3;
    QTest::newRow("100 x 40") << 0.0 << 0.0 << 100.0 << 40.0 << QRect(0, 0, 100, 40) << 9;
    QTest::newRow("18 x 18 truncates 4.6")
            << 0.0 << 0.0 << 18.0 << 18.0 << QRect(0, 0, 18, 18) << 4;
    QTest::newRow("10 x 50: threshold is strict")
            << 0.0 << 0.0 << 10.0 << 50.0 << QRect(0, 0, 10, 50) << 0;
    QTest::newRow("10.5 x 300") << 0.0 << 0.0 << 10.5 << 300.0 << QRect(0, 0, 10, 300) << 3;
    QTest::newRow("1 x 50: not drawn") << 0.0 << 0.0 << 1.0 << 50.0 << QRect() << 0;
    QTest::newRow("NaN height") << 0.0 << 0.0 << 50.0 << qQNaN() << QRect() << 0;
    QTest::newRow("huge: pixel size past 65535")
            << 0.0 << 0.0 << 1e6 << 1e6 << QRect(0, 0, 1000000, 1000000) << 0;
    QTest::newRow("NaN x") << qQNaN() << 0.0 << 50.0 << 50.0 << QRect() << 0;
    QTest::newRow("inf y") << 0.0 << inf << 50.0 << 50.0 << QRect() << 0;
    QTest::newRow("inf width") << 0.0 << 0.0 << inf << 50.0 << QRect() << 0;
    QTest::newRow("1e300 height") << 0.0 << 0.0 << 50.0 << 1e300 << QRect() << 0;
    QTest::newRow("-1e300 x") << -1e300 << 0.0 << 50.0 << 50.0 << QRect() << 0;
    QTest::newRow("x just past INT_MAX") << 2147483648.0 << 0.0 << 50.0 << 50.0 << QRect() << 0;
    QTest::newRow("y just past INT_MIN") << 0.0 << -2147483649.0 << 50.0 << 50.0 << QRect() << 0;
    QTest::newRow("x + w past INT_MAX") << 2147483000.0 << 0.0 << 648.0 << 50.0 << QRect() << 0;
    QTest::newRow("x + w at INT_MAX, too low for a label")
            << 2147483000.0 << 0.0 << 647.9 << 10.0 << QRect(2147483000, 0, 647, 10) << 0;
}

// A box that cannot be drawn is skipped whole; the box after it is drawn as usual.
void tst_SimpleBoxes::geometryAndLabel()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(QRect, rect);
    QFETCH(int, pixelSize);

    TestItem item;
    item.addBoxSimpleF(QStringLiteral("box"), x, y, width, height);
    const Painted alone = paintWith(item, &TestItem::paintBoxSimple, foundPen, foundBrush);
    item.addBoxSimpleF(QStringLiteral("next"), 0, 0, 20, 20);
    const Painted painted = paintWith(item, &TestItem::paintBoxSimple, foundPen, foundBrush);

    QVector<QRect> rects {QRect(0, 0, 20, 20)};
    QVector<int> pixelSizes {5};
    if (!rect.isNull())
        rects.prepend(rect);
    if (pixelSize)
        pixelSizes.prepend(pixelSize);
    QVector<QRect> drawnRects;
    QVector<int> drawnPixelSizes;
    for (const DrawCall &call : painted.calls) {
        if (call.kind == DrawCall::Rect)
            drawnRects << call.rect;
        else
            drawnPixelSizes << call.font.pixelSize();
    }
    QCOMPARE(drawnRects, rects);
    QCOMPARE(drawnPixelSizes, pixelSizes);

    if (rect.isNull()) { // a pass that draws nothing leaves the painter as found
        QCOMPARE(alone.calls.size(), 0);
        QCOMPARE(alone.pen, foundPen);
        QCOMPARE(alone.brush, foundBrush);
        QCOMPARE(alone.font, alone.foundFont);
    }
}

void tst_SimpleBoxes::labelCentredInUnroundedRectangle()
{
    TestItem item;
    item.addBoxSimpleF(QStringLiteral("Wide label"), 10.9, -0.5, 20.99, 30);
    const Painted painted = paintWith(item, &TestItem::paintBoxSimple);
    QCOMPARE(painted.calls.size(), 2);
    QCOMPARE(painted.calls.at(0).rect, QRect(10, 0, 20, 30));
    const DrawCall &label = painted.calls.at(1);
    QCOMPARE(label.font.pixelSize(), 5);

    RecordingPaintDevice reference;
    QPainter painter(&reference);
    painter.setFont(label.font);
    painter.drawText(QRectF(10.9, -0.5, 20.99, 30), Qt::AlignCenter, QStringLiteral("Wide label"));
    painter.end();
    QCOMPARE(label.textOrigin, reference.calls().first().textOrigin);
}

void tst_SimpleBoxes::brushByState_data()
{
    QTest::addColumn<QVariantMap>("style");
    QTest::addColumn<QVariantMap>("state");
    QTest::addColumn<QString>("brush");

    const QVariantMap allColours {
            {"brushColor", 7}, {"isHoverColor", "#00ff00"}, {"isSelectedColor", QColor(Qt::blue)}};
    const QString found = QStringLiteral("#a0a0a4 Dense4Pattern");
    QTest::newRow("plain") << allColours << QVariantMap() << "#ff0000 SolidPattern";
    QTest::newRow("hovered") << allColours << QVariantMap {{"isHover", true}}
                             << "#00ff00 SolidPattern";
    QTest::newRow("selected") << allColours << QVariantMap {{"isSelected", true}}
                              << "#0000ff SolidPattern";
    QTest::newRow("hovered and selected: selection wins")
            << allColours << QVariantMap {{"isHover", true}, {"isSelected", true}}
            << "#0000ff SolidPattern";
    QTest::newRow("isHover 2 is true")
            << allColours << QVariantMap {{"isHover", 2}} << "#00ff00 SolidPattern";
    QTest::newRow("isHover 0 is false")
            << allColours << QVariantMap {{"isHover", 0}} << "#ff0000 SolidPattern";
    QTest::newRow("default style, plain") << QVariantMap() << QVariantMap() << found;
    QTest::newRow("default style, hovered")
            << QVariantMap() << QVariantMap {{"isHover", true}} << found;
    QTest::newRow("default style, selected")
            << QVariantMap() << QVariantMap {{"isSelected", true}} << found;
    QTest::newRow("brushColor only, hovered: found brush")
            << QVariantMap {{"brushColor", 7}} << QVariantMap {{"isHover", true}} << found;
    QTest::newRow("invalid isSelectedColor: found brush")
            << QVariantMap {{"brushColor", 7}, {"isSelectedColor", "nocolour"}}
            << QVariantMap {{"isSelected", true}} << found;
}

void tst_SimpleBoxes::brushByState()
{
    QFETCH(QVariantMap, style);
    QFETCH(QVariantMap, state);
    QFETCH(QString, brush);

    TestItem item;
    item.setBoxSimpleStyle(style);
    item.addBoxSimpleF(QStringLiteral("a"), 0, 0, 50, 50);
    item.updateBoxSimpleF(QStringLiteral("a"), state);
    const Painted painted = paintWith(item, &TestItem::paintBoxSimple, foundPen, foundBrush);
    QCOMPARE(painted.calls.first().kind, DrawCall::Rect);
    QCOMPARE(brushText(painted.calls.first().brush), brush);
    QCOMPARE(brushText(painted.brush), brush);
}

void tst_SimpleBoxes::pens_data()
{
    QTest::addColumn<QVariantMap>("style");
    QTest::addColumn<QString>("outlinePen");
    QTest::addColumn<QString>("labelPen");

    // The painter is found holding a green dotted pen of width 5.
    const QString found = QStringLiteral("#00ff00 5 DotLine");
    QTest::newRow("defaults") << QVariantMap() << "#000000 1 SolidLine" << found;
    QTest::newRow("family pen and textColor")
            << QVariantMap {{"style", 2}, {"width", 3}, {"color", 7}, {"textColor", 9}}
            << "#ff0000 3 DashLine"
            << "#0000ff 5 DotLine";
    QTest::newRow("style 0: filled, not outlined, label unaffected")
            << QVariantMap {{"style", 0}} << "#000000 1 NoPen" << found;
    QTest::newRow("style 42 paints as no pen")
            << QVariantMap {{"style", 42}} << "#000000 1 NoPen" << found;
    QTest::newRow("invalid colours keep the found colour")
            << QVariantMap {{"color", "nocolour"}, {"textColor", 99}} << "#00ff00 1 SolidLine"
            << found;
}

// The first box is too small for a label, yet it is outlined like every other box.
void tst_SimpleBoxes::pens()
{
    QFETCH(QVariantMap, style);
    QFETCH(QString, outlinePen);
    QFETCH(QString, labelPen);

    TestItem item;
    item.setBoxSimpleStyle(style);
    item.addBoxSimpleF(QStringLiteral("small"), 0, 0, 5, 5);
    item.addBoxSimpleF(QStringLiteral("labelled"), 10, 10, 50, 50);
    const Painted painted = paintWith(item, &TestItem::paintBoxSimple, foundPen, foundBrush);

    const QVector<DrawCall> rects = painted.callsOf(DrawCall::Rect);
    QCOMPARE(penTexts(rects), QStringList({outlinePen, outlinePen}));
    const QVector<DrawCall> labels = painted.callsOf(DrawCall::Text);
    QCOMPARE(penTexts(labels), QStringList(labelPen));
    QCOMPARE(labels.first().pen.capStyle(), Qt::RoundCap);
    QCOMPARE(penText(painted.pen), outlinePen);
}

// Flags belong to one box; a re-added box loses them but keeps its place in the order.
void tst_SimpleBoxes::flagsOrderAndReAdd()
{
    TestItem item;
    item.setBoxSimpleStyle({{"isHoverColor", "#00ff00"}, {"isSelectedColor", "#0000ff"}});
    item.updateBoxSimpleF(QStringLiteral("c"), {{"isHover", true}}); // not there: creates nothing
    for (const char *boxId : {"a", "b", "c"})
        item.addBoxSimpleF(QLatin1String(boxId), 0, 0, 50, 50);
    item.updateBoxSimpleF(QStringLiteral("a"), {{"isHover", true}});
    item.updateBoxSimpleF(QStringLiteral("b"), {{"isHover", true}});
    item.updateBoxSimpleF(QStringLiteral("b"), {{"isSelected", true}, {"hover", false}});
    item.updateBoxSimpleF(QStringLiteral("C"), {{"isSelected", true}}); // ids are case-sensitive

    const auto drawn = [&item] {
        QStringList boxes;
        const Painted painted = paintWith(item, &TestItem::paintBoxSimple);
        for (const DrawCall &label : painted.calls)
            if (label.kind == DrawCall::Text)
                boxes << label.text + QLatin1Char(' ') + brushText(label.brush);
        return boxes;
    };
    QCOMPARE(drawn(),
             QStringList({"a #00ff00 SolidPattern", "b #0000ff SolidPattern", "c NoBrush"}));
    item.addBoxSimpleF(QStringLiteral("a"), 0, 0, 50, 50);
    QCOMPARE(drawn(), QStringList({"a NoBrush", "b #0000ff SolidPattern", "c NoBrush"}));
}

void tst_SimpleBoxes::fillColor_data()
{
    QTest::addColumn<FillCalls>("calls");
    QTest::addColumn<QColor>("fillColor");

    const auto map = [](const QVariant &fill) {
        return QVariant(QVariantMap {{"fillColor", fill}});
    };
    const QColor transparent(Qt::transparent);
    QTest::newRow("setBoxStyle") << FillCalls {{"box", map(7)}} << QColor(Qt::red);
    QTest::newRow("setBoxDVIFillColor after setBoxStyle")
            << FillCalls {{"box", map(7)}, {"dvi", QColor(Qt::green)}} << QColor(Qt::green);
    QTest::newRow("setBoxSimpleStyle after setBoxDVIFillColor")
            << FillCalls {{"dvi", QColor(Qt::green)}, {"simple", map("#0000ff")}}
            << QColor(Qt::blue);
    QTest::newRow("stored fillColor comes back on every setBoxSimpleStyle")
            << FillCalls {{"simple", map("#0000ff")},
                          {"dvi", QColor(Qt::green)},
                          {"simple", QVariantMap {{"width", 2}}}}
            << QColor(Qt::blue);
    QTest::newRow("stored fillColor of setBoxStyle comes back too")
            << FillCalls {{"box", map(7)}, {"simple", map("#0000ff")}, {"box", QVariantMap()}}
            << QColor(Qt::red);
    QTest::newRow("setBoxSimpleStyle with none stored: transparent")
            << FillCalls {{"dvi", QColor(Qt::green)}, {"simple", QVariantMap()}} << transparent;
    QTest::newRow("invalid fillColor: transparent")
            << FillCalls {{"dvi", QColor(Qt::green)}, {"simple", map("nocolour")}} << transparent;
    QTest::newRow("invalid DVI fill colour: transparent")
            << FillCalls {{"box", map(7)}, {"dvi", QColor()}} << transparent;
}

void tst_SimpleBoxes::fillColor()
{
    QFETCH(FillCalls, calls);
    QFETCH(QColor, fillColor);

    Bll_Painted_Item item;
    item.setFillColor(Qt::yellow);
    for (const auto &call : calls) {
        if (call.first == QLatin1String("box"))
            item.setBoxStyle(call.second.toMap());
        else if (call.first == QLatin1String("dvi"))
            item.setBoxDVIFillColor(call.second.value<QColor>());
        else
            item.setBoxSimpleStyle(call.second.toMap());
    }
    QCOMPARE(item.fillColor(), fillColor);
}

// What a person sees: each box filled by its state (pixels sampled clear of edges and labels).
void tst_SimpleBoxes::renderedStateFills()
{
    TestItem item;
    item.setBoxSimpleStyle({{"brushColor", "#ff0000"},
                            {"isHoverColor", "#00ff00"},
                            {"isSelectedColor", "#0000ff"}});
    item.addBoxSimpleF(QStringLiteral("s"), 10, 10, 30, 30);
    item.addBoxSimpleF(QStringLiteral("h"), 50, 10, 30, 30);
    item.addBoxSimpleF(QStringLiteral("n"), 10, 50, 30, 30);
    item.updateBoxSimpleF(QStringLiteral("s"), {{"isSelected", true}, {"isHover", true}});
    item.updateBoxSimpleF(QStringLiteral("h"), {{"isHover", true}});

    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    item.paint(&painter);
    painter.end();

    QCOMPARE(image.pixelColor(14, 14), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(54, 14), QColor(Qt::green));
    QCOMPARE(image.pixelColor(14, 54), QColor(Qt::red));
    QCOMPARE(image.pixelColor(36, 36), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(60, 60), QColor(Qt::white));
    QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));
}

QTEST_MAIN(tst_SimpleBoxes)
#include "tst_simple_boxes.moc"
