#include "painted.h"
#include "test_item.h"

#include <QtGui/QImage>
#include <QtTest/QtTest>

// One fill-colour setter call: "box" setBoxStyle, "dvi" setBoxDVIFillColor, "simple"
// setBoxSimpleStyle.
using FillCalls = QVector<QPair<QString, QVariant>>;

namespace {
const QPen foundPen(Qt::green, 5, Qt::DotLine, Qt::RoundCap);
const QBrush foundBrush(Qt::gray, Qt::Dense4Pattern);
} // namespace

class tst_SimpleBoxes : public QObject
{
    Q_OBJECT

private slots:
    void geometryAndLabel_data();
    void geometryAndLabel();
    void labelCentredInUnroundedRectangle();
    void brushByStateAndReAdd_data();
    void brushByStateAndReAdd();
    void pens_data();
    void pens();
    void fillColor_data();
    void fillColor();
    void renderedStateFills();
};

void tst_SimpleBoxes::geometryAndLabel_data()
{
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<QStringList>("drawn"); // empty: the box is skipped

    using L = QStringList;
    QTest::newRow("11 x 11") << QRectF(0, 0, 11, 11) << L {"Rect (0,0) (11,11)", "Text box 3px"};
    QTest::newRow("18 x 18 truncates 4.6")
            << QRectF(0, 0, 18, 18) << L {"Rect (0,0) (18,18)", "Text box 4px"};
    QTest::newRow("10 x 50: threshold is strict")
            << QRectF(0, 0, 10, 50) << L {"Rect (0,0) (10,50)"};
    QTest::newRow("10.5 x 300") << QRectF(-0.5, 0, 10.5, 300)
                                << L {"Rect (0,0) (10,300)", "Text box 3px"};
    QTest::newRow("huge: pixel size past 65535")
            << QRectF(0, 0, 1e6, 1e6) << L {"Rect (0,0) (1000000,1000000)"};
    QTest::newRow("x + w at INT_MAX, too low for a label")
            << QRectF(2147483000.0, 0, 647.9, 10) << L {"Rect (2147483000,0) (647,10)"};
    QTest::newRow("1 x 50: not drawn") << QRectF(0, 0, 1, 50) << L();
    QTest::newRow("NaN x") << QRectF(qQNaN(), 0, 50, 50) << L();
    QTest::newRow("x just past INT_MAX") << QRectF(2147483648.0, 0, 50, 50) << L();
    QTest::newRow("y just past INT_MIN") << QRectF(0, -2147483649.0, 50, 50) << L();
    QTest::newRow("x + w past INT_MAX") << QRectF(2147483000.0, 0, 648, 50) << L();
}

// A box that cannot be drawn is skipped whole, leaving the painter as found; the box after
// it is drawn as usual.
void tst_SimpleBoxes::geometryAndLabel()
{
    QFETCH(QRectF, box);
    QFETCH(QStringList, drawn);

    TestItem item;
    item.addBoxSimpleF(QStringLiteral("box"), box.x(), box.y(), box.width(), box.height());
    const Painted alone = paintWith(item, &TestItem::paintBoxSimple, foundPen, foundBrush);
    item.addBoxSimpleF(QStringLiteral("next"), 0, 0, 20, 20);
    const Painted painted = paintWith(item, &TestItem::paintBoxSimple, foundPen, foundBrush);

    QCOMPARE(callTexts(painted.calls),
             drawn + QStringList({"Rect (0,0) (20,20)", "Text next 5px"}));
    if (drawn.isEmpty()) {
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
    QCOMPARE(callTexts(painted.calls), QStringList({"Rect (10,0) (20,30)", "Text Wide label 5px"}));

    RecordingPaintDevice reference;
    QPainter painter(&reference);
    painter.setFont(painted.calls.at(1).font);
    painter.drawText(QRectF(10.9, -0.5, 20.99, 30), Qt::AlignCenter, QStringLiteral("Wide label"));
    painter.end();
    QCOMPARE(painted.calls.at(1).textOrigin, reference.calls().first().textOrigin);
}

void tst_SimpleBoxes::brushByStateAndReAdd_data()
{
    QTest::addColumn<QVariantMap>("style");
    QTest::addColumn<QStringList>("brushes"); // of boxes plain, hovered, selected, both, re-added

    const QString red = "#ff0000 SolidPattern", green = "#00ff00 SolidPattern",
                  blue = "#0000ff SolidPattern", found = "#a0a0a4 Dense4Pattern";
    QTest::newRow("all colours: selection wins")
            << QVariantMap {{"brushColor", 7},
                            {"isHoverColor", "#00ff00"},
                            {"isSelectedColor", QColor(Qt::blue)}}
            << QStringList {red, green, blue, blue, red};
    QTest::newRow("default style: found brush")
            << QVariantMap() << QStringList {found, found, found, found, found};
    QTest::newRow("invalid state colours: found brush")
            << QVariantMap {{"brushColor", 7}, {"isSelectedColor", "nocolour"}}
            << QStringList {red, found, found, found, red};
}

// Flags belong to one box; a re-added box loses them but keeps its place in the order.
void tst_SimpleBoxes::brushByStateAndReAdd()
{
    QFETCH(QVariantMap, style);
    QFETCH(QStringList, brushes);

    TestItem item;
    item.setBoxSimpleStyle(style);
    item.updateBoxSimpleF(QStringLiteral("p"), {{"isHover", true}}); // not there: creates nothing
    for (const char *boxId : {"p", "h", "s", "hs", "r"})
        item.addBoxSimpleF(QLatin1String(boxId), 0, 0, 50, 50);
    item.updateBoxSimpleF(QStringLiteral("h"), {{"isHover", 2}});
    item.updateBoxSimpleF(QStringLiteral("s"), {{"isSelected", true}, {"hover", true}});
    item.updateBoxSimpleF(QStringLiteral("hs"), {{"isHover", true}, {"isSelected", true}});
    item.updateBoxSimpleF(QStringLiteral("r"), {{"isHover", true}, {"isSelected", true}});
    item.updateBoxSimpleF(QStringLiteral("P"), {{"isSelected", true}}); // ids are case-sensitive
    item.addBoxSimpleF(QStringLiteral("r"), 0, 0, 50, 50);
    QStringList drawn;
    for (const DrawCall &call :
         paintWith(item, &TestItem::paintBoxSimple, foundPen, foundBrush).calls)
        if (call.kind == DrawCall::Rect)
            drawn << brushText(call.brush);
    QCOMPARE(drawn, brushes);
}

void tst_SimpleBoxes::pens_data()
{
    QTest::addColumn<QVariantMap>("style");
    QTest::addColumn<QString>("outline");
    QTest::addColumn<QString>("label");

    // The painter is found holding a green dotted pen of width 5.
    const QString found = QStringLiteral("#00ff00 5 DotLine");
    QTest::newRow("defaults") << QVariantMap() << "#000000 1 SolidLine" << found;
    QTest::newRow("family pen and textColor")
            << QVariantMap {{"style", 2}, {"width", 3}, {"color", 7}, {"textColor", 9}}
            << "#ff0000 3 DashLine"
            << "#0000ff 5 DotLine";
    QTest::newRow("style 0: filled, not outlined")
            << QVariantMap {{"style", 0}} << "#000000 1 NoPen" << found;
    QTest::newRow("invalid colours keep the found colour")
            << QVariantMap {{"color", "nocolour"}, {"textColor", 99}} << "#00ff00 1 SolidLine"
            << found;
}

// The first box is too small for a label, yet it is outlined like every other box.
void tst_SimpleBoxes::pens()
{
    QFETCH(QVariantMap, style);
    QFETCH(QString, outline);
    QFETCH(QString, label);

    TestItem item;
    item.setBoxSimpleStyle(style);
    item.addBoxSimpleF(QStringLiteral("small"), 0, 0, 5, 5);
    item.addBoxSimpleF(QStringLiteral("labelled"), 10, 10, 50, 50);
    const Painted painted = paintWith(item, &TestItem::paintBoxSimple, foundPen, QBrush());
    const QString rect = ", " + outline + ", NoBrush";
    QCOMPARE(callTexts(painted.calls, true),
             QStringList({"Rect (0,0) (5,5)" + rect, "Rect (10,10) (50,50)" + rect,
                          "Text labelled 11px, " + label}));
    QCOMPARE(painted.calls.last().pen.capStyle(), Qt::RoundCap);
    QCOMPARE(penText(painted.pen), outline);
}

void tst_SimpleBoxes::fillColor_data()
{
    QTest::addColumn<FillCalls>("calls");
    QTest::addColumn<QColor>("fillColor");

    const auto map = [](const QVariant &fill) {
        return QVariant(QVariantMap {{"fillColor", fill}});
    };
    const QColor transparent(Qt::transparent);
    QTest::newRow("setBoxDVIFillColor after setBoxStyle")
            << FillCalls {{"box", map(7)}, {"dvi", QColor(Qt::green)}} << QColor(Qt::green);
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
    item.updateBoxSimpleF(QStringLiteral("s"), {{"isSelected", true}, {"isHover", true}});
    item.updateBoxSimpleF(QStringLiteral("h"), {{"isHover", true}});

    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    item.paint(&painter);
    painter.end();
    QCOMPARE(image.pixelColor(14, 14), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(54, 14), QColor(Qt::green));
    QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));
}

QTEST_MAIN(tst_SimpleBoxes)
#include "tst_simple_boxes.moc"
