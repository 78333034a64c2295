#include "test_item.h"

#include <QtGui/QImage>
#include <QtTest/QtTest>

#include <utility>

// Parameter boxes: the store driven as QML drives it, and paintBox's bands, label, brushes and
// the painter state it leaves, on the recording device and in pixels.
class tst_ParameterBoxes : public QObject
{
    Q_OBJECT

private slots:
    void storeRules_data();
    void storeRules();
    void addingAgainReplacesTheRecordInItsPlace();
    void bandsAndLabel_data();
    void bandsAndLabel();
    void bandBrushes_data();
    void bandBrushes();
    void toolsAndPainterState_data();
    void toolsAndPainterState();
    void bandColoursInPixels();
};

namespace {

// Brushes that tell the four band states apart.
const QString bandColours = "setBoxStyle {brushColor:#000001, pickBorderColor:#000002,"
                            "paramBorderColor:#000003, pickParamBorderColor:#000004};";

// Sets the sides of a box from states in the order top, bottom, left, right:
// '-' left alone, 'p' picked, 'a' given the parameter value, 'b' both.
void setSides(Bll_Painted_Item &item, const QString &boxId, const QString &states, double value)
{
    const QStringList keys {"topBorder", "bottomBorder", "leftBorder", "rightBorder"};
    const auto flags = [&](const QString &set) {
        QVariantMap map;
        for (int side = 0; side < 4; ++side)
            map.insert(keys[side], set.contains(states[side]));
        return map;
    };
    item.updateBoxF(boxId, flags("ab"));
    item.updateBoxParamF({{"currentParam", value}});
    item.updateBoxF(boxId, flags("pb"));
}

QVector<DrawCall> paintBoxes(TestItem &item)
{
    return paintWith(item, &TestItem::paintBox, foundPen, foundBrush).calls;
}

// Paints the boxes in the band colours and describes them in painting order as "id:tblr", one
// letter per band as for setSides.
QString describeBoxes(TestItem &item)
{
    run(&item, bandColours);
    const QString letters = "?-pab";
    QStringList boxes;
    QString label;
    int bands = 0;
    for (const DrawCall &call : paintBoxes(item)) {
        if (call.kind == DrawCall::Text)
            label = call.text;
        if (call.kind != DrawCall::Polygon)
            continue;
        if (bands++ % 4 == 0)
            boxes.append(std::exchange(label, QString()) + ':');
        const int state = call.brush.style() == Qt::SolidPattern ? call.brush.color().blue() : 0;
        boxes.last().append(letters.at(state < letters.size() ? state : 0));
    }
    return boxes.join(' ');
}

} // namespace

void tst_ParameterBoxes::storeRules_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<double>("answer"); // updateBoxF's, else 0
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("paramsOfA"); // top and bottom, as updateBoxF answers them

    // a: parameters top 2, bottom 3, left 4, right 5, top and left picked;
    // b and "" (no label): parameter 7 everywhere, b's right picked.
    const struct
    {
        const char *name, *call;
        double answer;
        const char *after, *paramsOfA;
    } rows[] = {
            {"one: empty map", "updateBoxF a {}", 1, "a:baba b:aaab :aaaa", "2 3"},
            {"one: top and right, right named last",
             "updateBoxF a {rightBorder:true, topBorder:false}", 5, "a:aabb b:aaab :aaaa", "2 3"},
            {"one: left after bottom, values converted",
             "updateBoxF a {leftBorder:1, bottomBorder:yes}", 4, "a:bbba b:aaab :aaaa", "2 3"},
            {"one: other case", "updateBoxF A {topBorder:true}", 1, "a:baba b:aaab :aaaa", "2 3"},
            {"one: empty id is an id", "updateBoxF '' {topBorder:true}", 7, "a:baba b:aaab :baaa",
             "2 3"},
            {"param: picked sides of every box", "updateBoxParamF {currentParam:2.5}", 0,
             "a:baba b:aaab :aaaa", "2.5 3"},
            {"param: 1 takes the parameter off", "updateBoxParamF {currentParam:1}", 0,
             "a:papa b:aaap :aaaa", "1 3"},
            {"param: no currentParam", "updateBoxParamF {topBorder:false}", 0,
             "a:baba b:aaab :aaaa", "2 3"},
            {"all param: 1 on every side", "updateAllBoxParamF {currentParam:1}", 0,
             "a:p-p- b:---p :----", "1 1"},
            {"all param: no currentParam", "updateAllBoxParamF {topBorder:false}", 0,
             "a:baba b:aaab :aaaa", "2 3"},
            {"all: unpick left, pick bottom, parameters stay",
             "updateAllBoxF {leftBorder:false, bottomBorder:true, currentParam:2}", 0,
             "a:bbaa b:abab :abaa", "2 3"}};
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString(row.call) << row.answer << QString(row.after)
                                << QString(row.paramsOfA);
}

void tst_ParameterBoxes::storeRules()
{
    QFETCH(QString, call);
    QFETCH(double, answer);
    QFETCH(QString, after);
    QFETCH(QString, paramsOfA);

    TestItem item;
    run(&item,
        "addBoxF a 0 0 40 40 4; addBoxF b 50 0 40 40 4; addBoxF '' 100 0 40 40 4;"
        "updateAllBoxParamF {currentParam:7}");
    const QStringList sides {"topBorder", "bottomBorder", "leftBorder", "rightBorder"};
    for (int side = 0; side < 4; ++side)
        run(&item,
            QString("updateBoxF a {%1:true}; updateBoxParamF {currentParam:%2};"
                    "updateBoxF a {%1:false}")
                    .arg(sides[side])
                    .arg(side + 2));
    run(&item, "updateBoxF a {topBorder:true, leftBorder:true}; updateBoxF b {rightBorder:true}");
    QCOMPARE(describeBoxes(item), "a:baba b:aaab :aaaa");

    QCOMPARE(run(&item, call), answer);
    QCOMPARE(describeBoxes(item), after);
    QCOMPARE(QString("%1 %2")
                     .arg(run(&item, "updateBoxF a {topBorder:true}"))
                     .arg(run(&item, "updateBoxF a {bottomBorder:false}")),
             paramsOfA);
}

// Boxes paint in the order their boxId was first added; cleared boxes are forgotten.
void tst_ParameterBoxes::addingAgainReplacesTheRecordInItsPlace()
{
    TestItem item;
    run(&item,
        "addBoxF f 0 0 40 40 4; addBoxF c 0 0 40 40 4; addBoxF a 0 0 40 40 4;"
        "addBoxF e 0 0 40 40 4");
    setSides(item, "a", "b-a-", 3);
    QCOMPARE(describeBoxes(item), "f:---- c:---- a:b-a- e:----");

    QCOMPARE(run(&item, "addBoxF a 5 6 70 80 9; updateBoxF a {leftBorder:false}"), 1.0);
    QCOMPARE(describeBoxes(item), "f:---- c:---- a:---- e:----");
    QCOMPARE(callTexts({paintBoxes(item).at(2 * 5 + 1)}).first(),
             "Polygon (5,6) (75,6) (66,15) (14,15)");

    QCOMPARE(run(&item, "clearBoxF; updateBoxF a {topBorder:true}"), 1.0);
    QCOMPARE(describeBoxes(item), QString());
    run(&item, "addBoxF a 0 0 40 40 4; updateBoxF a {topBorder:true}");
    QCOMPARE(describeBoxes(item), "a:p---");
}

void tst_ParameterBoxes::bandsAndLabel_data()
{
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<QStringList>("drawn"); // the label and the bands; "4 bands" when unchecked

    // The label first, centred in the unrounded rectangle, then the bands over it: top,
    // bottom, left, right.
    QTest::newRow("labelled")
            << QRectF(10.3, 20.45, 100.45, 50.35)
            << QStringList {"Text P 11px",
                            "Polygon (10.3,20.45) (110.75,20.45) (106.75,24.45) (14.3,24.45)",
                            "Polygon (14.3,66.8) (106.75,66.8) (110.75,70.8) (10.3,70.8)",
                            "Polygon (10.3,20.45) (14.3,24.45) (14.3,66.8) (10.3,70.8)",
                            "Polygon (106.75,24.45) (110.75,20.45) (110.75,70.8) (106.75,66.8)"};
    const QString bands = "4 bands";
    QTest::newRow("label threshold is strict") << QRectF(0, 0, 10, 50) << QStringList {bands};
    QTest::newRow("just past it") << QRectF(0, 0, 50, 10.5) << QStringList {"Text P 3px", bands};
    QTest::newRow("label beyond the largest pixel size")
            << QRectF(0, 0, 327675, 327675) << QStringList {bands};
    QTest::newRow("just bigger than 1 x 1") << QRectF(0, 0, 1.01, 1.01) << QStringList {bands};
    QTest::newRow("1 wide: nothing") << QRectF(0, 0, 1, 50) << QStringList();
    QTest::newRow("1 high: nothing") << QRectF(0, 0, 50, 1) << QStringList();
    QTest::newRow("NaN: nothing") << QRectF(0, 0, qQNaN(), 50) << QStringList();
}

void tst_ParameterBoxes::bandsAndLabel()
{
    QFETCH(QRectF, box);
    QFETCH(QStringList, drawn);

    TestItem item;
    item.addBoxF("P", box.x(), box.y(), box.width(), box.height(), 4);
    const QVector<DrawCall> calls = paintBoxes(item);
    QStringList painted = callTexts(calls);
    if (drawn.endsWith("4 bands") && painted.size() >= 4) {
        painted.erase(painted.end() - 4, painted.end());
        painted << "4 bands";
    }
    QCOMPARE(painted, drawn);
    for (const DrawCall &call : calls)
        QCOMPARE(call.polygonMode, QPaintEngine::OddEvenMode);

    if (drawn.value(0).startsWith("Text")) { // laid out as drawText lays it out
        RecordingPaintDevice reference;
        QPainter painter(&reference);
        painter.setFont(calls.first().font);
        painter.drawText(box, Qt::AlignCenter, "P");
        painter.end();
        QCOMPARE(calls.first().textOrigin, reference.calls.first().textOrigin);
        QCOMPARE(calls.first().font.family(), "Verdana");
    }
}

void tst_ParameterBoxes::bandBrushes_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("sides"); // as for setSides
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("brushes"); // top, bottom, left, right: 0 the painter's, else colour

    const QString all = bandColours;
    QTest::newRow("each side in its own state") << all << "pab-" << 2.0 << "2 3 4 1";
    QTest::newRow("NaN carries a parameter") << all << "baaa" << qQNaN() << "4 3 3 3";
    QTest::newRow("exactly 1.0 carries none") << all << "aaab" << 1.0 << "1 1 1 2";
    QTest::newRow("nearly 1.0 carries one") << all << "a---" << 1.0000001 << "3 1 1 1";
    QTest::newRow("no colours: the painter's brush") << QString() << "pab-" << 2.0 << "0 0 0 0";
    QTest::newRow("invalid pick colour: the painter's brush, not the fill")
            << all + "setBoxStyle {pickBorderColor:nonsense}"
            << "p---" << 1.0 << "0 1 1 1";
    QTest::newRow("invalid parameter colours")
            << all + "setBoxStyle {paramBorderColor:99, pickParamBorderColor:''}"
            << "pab-" << 2.0 << "2 0 0 1";
}

void tst_ParameterBoxes::bandBrushes()
{
    QFETCH(QString, style);
    QFETCH(QString, sides);
    QFETCH(double, value);
    QFETCH(QString, brushes);

    TestItem item;
    run(&item, style + "; addBoxF id 0 0 100 50 4");
    setSides(item, "id", sides, value);
    QStringList painted;
    for (const DrawCall &call : paintBoxes(item))
        if (call.kind == DrawCall::Polygon)
            painted << (call.brush == foundBrush ? "0"
                                                 : QString::number(call.brush.color().blue()));
    QCOMPARE(painted.join(' '), brushes);
}

void tst_ParameterBoxes::toolsAndPainterState_data()
{
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<QStringList>("tools"); // of each run of calls, then what is left

    const QString style = "setBoxStyle {color:blue, width:2, brushColor:#000001, textColor:cyan};";
    const QString border = "#0000ff 2 SolidLine, #000001 SolidPattern";
    QTest::newRow("label in the text colour, bands in the border pen and fill")
            << style + "addBoxF a 0 0 100 50 4"
            << QStringList {"Text #00ffff 5 DotLine", "4 Polygon " + border,
                            "left " + border + ", Verdana 11px"};
    QTest::newRow("invalid text colour: the painter's pen")
            << "setBoxStyle {color:blue, width:2, brushColor:#000001, textColor:24};"
               "addBoxF a 0 0 100 50 4"
            << QStringList {"Text found pen", "4 Polygon " + border,
                            "left " + border + ", Verdana 11px"};
    // The border pen and fill are installed before the first box drawn, and only then.
    QTest::newRow("no box passes the size test")
            << style + "addBoxF a 0 0 1 50 2; addBoxF b 0 0 nan 50 2"
            << QStringList {"left found pen, found brush, DejaVu Sans 7px"};
    QTest::newRow("unlabelled boxes only")
            << style + "addBoxF a 0 0 8 50 2; addBoxF b 0 0 50 5 2"
            << QStringList {"8 Polygon " + border, "left " + border + ", DejaVu Sans 7px"};
    QTest::newRow("the font of the last labelled box")
            << style + "addBoxF a 0 0 100 50 2; addBoxF b 0 0 20 20 2; addBoxF c 0 0 8 50 2"
            << QStringList {"Text #00ffff 5 DotLine", "4 Polygon " + border,
                            "Text #00ffff 5 DotLine", "8 Polygon " + border,
                            "left " + border + ", Verdana 5px"};
}

void tst_ParameterBoxes::toolsAndPainterState()
{
    QFETCH(QString, boxes);
    QFETCH(QStringList, tools);

    QStringList runs; // "<count> <kind> <tools>" for each run of calls drawn with the same tools
    int count = 0;
    for (const QString &call : painting(boxes, &TestItem::paintBox)) {
        const QString kind = call.section(' ', 0, 0) + ' ';
        const QString text = call.startsWith("left") ? call : kind + call.section(", ", 1);
        if (!runs.isEmpty() && runs.last().section(' ', 1) == text) {
            runs.last() = QString::number(++count) + ' ' + text;
            continue;
        }
        count = 1;
        runs << "1 " + text;
    }
    runs.replaceInStrings(QRegularExpression("^1 "), QString());
    QCOMPARE(runs, tools);
}

void tst_ParameterBoxes::bandColoursInPixels()
{
    TestItem item;
    item.setBoxStyle({{"brushColor", "#0000ff"},
                      {"pickBorderColor", "#00ff00"},
                      {"paramBorderColor", "#ff0000"},
                      {"pickParamBorderColor", "#ffff00"}});
    item.addBoxF("b", 10, 10, 220, 120, 30);
    setSides(item, "b", "pab-", 2.0);
    QImage image(240, 140, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        item.paint(&painter);
    }
    // The middle of each band (top, bottom, left, right), away from antialiased edges.
    QStringList colours;
    for (const QPoint middle : {QPoint(120, 25), QPoint(120, 115), QPoint(25, 70), QPoint(215, 70)})
        colours << image.pixelColor(middle).name();
    QCOMPARE(colours, QStringList({"#00ff00", "#ff0000", "#ffff00", "#0000ff"}));
}

QTEST_MAIN(tst_ParameterBoxes)
#include "tst_parameter_boxes.moc"
