#include "test_item.h"

#include <QtTest/QtTest>

#include <utility>

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

// Paints the parameter boxes in the band colours and describes them in painting order as
// "id:tblr", one letter per band as for setSides.
QString describeBoxes(TestItem &item)
{
    run(&item, bandColours);
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
        boxes.last().append(QString("?-pab").at(qBound(0, state, 4)));
    }
    return boxes.join(' ');
}

// Runs of calls of one kind drawn with the same tools, as "<count> <kind> <tools>" (the count
// left out when 1), then the state left.
QStringList toolRuns(const QStringList &painted)
{
    QStringList runs;
    int count = 0;
    for (const QString &call : painted) {
        const QString text = call.startsWith("left")
                ? call
                : call.section(' ', 0, 0) + ' ' + call.section(", ", 1);
        if (!runs.isEmpty() && runs.last().section(' ', 1) == text) {
            runs.last() = QString::number(++count) + ' ' + text;
            continue;
        }
        count = 1;
        runs << "1 " + text;
    }
    return runs.replaceInStrings(QRegularExpression("^1 "), QString());
}

// Rows "<script> => <painting, as painting() describes it, parts separated by " | ">".
void paintingRows(const QStringList &rows)
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("painted");
    for (const QString &row : rows)
        QTest::newRow(qPrintable(row.section(" => ", 0, 0)))
                << row.section(" => ", 0, 0) << row.section(" => ", 1).split(" | ");
}

} // namespace

// The three box families: their stores driven as QML drives them, and what their painters draw,
// with which tools, and the painter state they leave; the states seen in pixels.
class tst_Boxes : public QObject
{
    Q_OBJECT

private slots:
    void parameterStore_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<double>("answer"); // updateBoxF's, else 0
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("paramsOfA"); // top and bottom, as updateBoxF answers them

        // a: parameters top 2, bottom 3, left 4, right 5, top and left picked;
        // b and "" (no label): parameter 7 everywhere, b's right picked.
        const struct
        {
            const char *call;
            double answer;
            const char *after, *paramsOfA;
        } rows[] = {
                {"updateBoxF a {}", 1, "a:baba b:aaab :aaaa", "2 3"},
                {"updateBoxF a {rightBorder:true, topBorder:false}", 5, "a:aabb b:aaab :aaaa",
                 "2 3"},
                {"updateBoxF a {leftBorder:1, bottomBorder:yes}", 4, "a:bbba b:aaab :aaaa", "2 3"},
                {"updateBoxF A {topBorder:true}", 1, "a:baba b:aaab :aaaa", "2 3"},
                {"updateBoxF '' {topBorder:true}", 7, "a:baba b:aaab :baaa", "2 3"},
                {"updateBoxParamF {currentParam:2.5}", 0, "a:baba b:aaab :aaaa", "2.5 3"},
                {"updateBoxParamF {currentParam:1}", 0, "a:papa b:aaap :aaaa", "1 3"},
                {"updateBoxParamF {topBorder:false}", 0, "a:baba b:aaab :aaaa", "2 3"},
                {"updateAllBoxParamF {currentParam:1}", 0, "a:p-p- b:---p :----", "1 1"},
                {"updateAllBoxParamF {topBorder:false}", 0, "a:baba b:aaab :aaaa", "2 3"},
                {"updateAllBoxF {leftBorder:false, bottomBorder:true, currentParam:2}", 0,
                 "a:bbaa b:abab :abaa", "2 3"}};
        for (const auto &row : rows)
            QTest::newRow(row.call) << QString(row.call) << row.answer << QString(row.after)
                                    << QString(row.paramsOfA);
    }
    // updateBoxF picks the sides named, in order, and answers the last one's parameter; the
    // parameter calls give "currentParam" to picked sides, or to all.
    void parameterStore()
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
        run(&item, "updateBoxF a {topBorder:true, leftBorder:true}; updateBoxF b {rightBorder:1}");
        QCOMPARE(describeBoxes(item), "a:baba b:aaab :aaaa");

        QCOMPARE(run(&item, call), answer);
        QCOMPARE(describeBoxes(item), after);
        QCOMPARE(QString("%1 %2")
                         .arg(run(&item, "updateBoxF a {topBorder:true}"))
                         .arg(run(&item, "updateBoxF a {bottomBorder:false}")),
                 paramsOfA);
    }

    // Boxes paint in the order their boxId was first added; cleared boxes are forgotten.
    void parameterBoxAddedAgain()
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

    void parameterBands_data()
    {
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<QStringList>("drawn"); // the label and the bands; "4 bands" unchecked

        // The label first, centred in the unrounded rectangle, then the bands over it: top,
        // bottom, left, right.
        QTest::newRow("labelled")
                << QRectF(10.3, 20.45, 100.45, 50.35)
                << QStringList {
                           "Text P 11px",
                           "Polygon (10.3,20.45) (110.75,20.45) (106.75,24.45) (14.3,24.45)",
                           "Polygon (14.3,66.8) (106.75,66.8) (110.75,70.8) (10.3,70.8)",
                           "Polygon (10.3,20.45) (14.3,24.45) (14.3,66.8) (10.3,70.8)",
                           "Polygon (106.75,24.45) (110.75,20.45) (110.75,70.8) (106.75,66.8)"};
        const QString bands = "4 bands";
        QTest::newRow("label threshold is strict") << QRectF(0, 0, 10, 50) << QStringList {bands};
        QTest::newRow("in height too") << QRectF(0, 0, 50, 10) << QStringList {bands};
        QTest::newRow("just past it")
                << QRectF(0, 0, 50, 10.5) << QStringList {"Text P 3px", bands};
        QTest::newRow("just past it in width")
                << QRectF(0, 0, 10.5, 50) << QStringList {"Text P 3px", bands};
        QTest::newRow("label beyond the largest pixel size")
                << QRectF(0, 0, 327675, 327675) << QStringList {bands};
        QTest::newRow("just bigger than 1 x 1") << QRectF(0, 0, 1.01, 1.01) << QStringList {bands};
        QTest::newRow("1 wide: nothing") << QRectF(0, 0, 1, 50) << QStringList();
        QTest::newRow("1 high: nothing") << QRectF(0, 0, 50, 1) << QStringList();
        QTest::newRow("NaN: nothing") << QRectF(0, 0, qQNaN(), 50) << QStringList();
    }
    void parameterBands()
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

    void parameterBrushes_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("sides"); // as for setSides
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>(
                "brushes"); // top, bottom, left, right: 0 the painter's, else blue

        QTest::newRow("each side in its own state") << bandColours << "pab-" << 2.0 << "2 3 4 1";
        QTest::newRow("NaN carries a parameter") << bandColours << "baaa" << qQNaN() << "4 3 3 3";
        QTest::newRow("exactly 1.0 carries none") << bandColours << "aaab" << 1.0 << "1 1 1 2";
        QTest::newRow("nearly 1.0 carries one") << bandColours << "a---" << 1.0000001 << "3 1 1 1";
        QTest::newRow("no colours: the painter's brush") << QString() << "pab-" << 2.0 << "0 0 0 0";
    }
    void parameterBrushes()
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
                painted << QString::number(call.brush == foundBrush ? 0
                                                                    : call.brush.color().blue());
        QCOMPARE(painted.join(' '), brushes);
    }

    // The label in a copy of the painter's pen in the text colour, the bands in the border pen
    // and fill, both installed before the first box drawn, and only then.
    void parameterTools_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("tools"); // of each run of calls, then what is left

        const QString style =
                "setBoxStyle {color:blue, width:2, brushColor:#000001, textColor:cyan};";
        const QString border = "#0000ff 2 SolidLine, #000001 SolidPattern";
        const QString label = "Text #00ffff 5 DotLine";
        QTest::newRow("one box") << style + "addBoxF a 0 0 100 50 4"
                                 << QStringList {label, "4 Polygon " + border,
                                                 "left " + border + ", Verdana 11px"};
        QTest::newRow("no box passes the size test")
                << style + "addBoxF a 0 0 1 50 2; addBoxF b 0 0 nan 50 2"
                << QStringList {"left found pen, found brush, DejaVu Sans 7px"};
        QTest::newRow("unlabelled boxes only")
                << style + "addBoxF a 0 0 8 50 2; addBoxF b 0 0 50 5 2"
                << QStringList {"8 Polygon " + border, "left " + border + ", DejaVu Sans 7px"};
        QTest::newRow("the font of the last labelled box")
                << style + "addBoxF a 0 0 100 50 2; addBoxF b 0 0 20 20 2; addBoxF c 0 0 8 50 2"
                << QStringList {label, "4 Polygon " + border, label, "8 Polygon " + border,
                                "left " + border + ", Verdana 5px"};
    }
    void parameterTools()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, tools);
        QCOMPARE(toolRuns(painting(script, &TestItem::paintBox)), tools);
    }

    void dviSwitches_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("drawn"); // each label, then the sides whose markers follow

        const QString a = "addBoxDVIF a 0 0 100 100 1;", b = "addBoxDVIF b 200 0 100 100 1;",
                      all = " {topBorder:1, bottomBorder:1, leftBorder:1, rightBorder:1};";
        QTest::newRow("sides in order top, bottom, left, right")
                << a + "updateBoxDVIF a" + all << "a label, a top, a bottom, a left, a right";
        QTest::newRow("showBorder false hides every side, and a side does not turn it on")
                << a + "updateBoxDVIF a {showBorder:false}; updateBoxDVIF a" + all << "a label";
        QTest::newRow("showText 0 hides the label only, numbers convert")
                << a + "updateBoxDVIF a {showText:0, topBorder:1}" << QString("a top");
        QTest::newRow("other keys are ignored")
                << a + "updateBoxDVIF a {TopBorder:true, top:true, showtext:false}"
                << "a label";
        // Had the first update created "b", adding "b" would keep that earlier place.
        QTest::newRow("unknown or differently cased boxId creates nothing")
                << "updateBoxDVIF b" + all + a + b + "updateBoxDVIF A" + all << "a label, b label";
        QTest::newRow("adding again resets the switches and keeps the place")
                << a + b + "updateBoxDVIF a" + all + a << "a label, b label";
        QTest::newRow("updateAll reaches every box; showBorder back on restores own sides")
                << a + b
                        + "updateBoxDVIF a {topBorder:true}; updateBoxDVIF b {leftBorder:true};"
                          "updateAllBoxDVIF {showBorder:false};"
                          "updateAllBoxDVIF {showBorder:true, bottomBorder:true}"
                << "a label, a top, a bottom, b label, b bottom, b left";
    }
    // Read from the tips of the triangles: with b 1 a tip lies 1 inside its side of the box.
    void dviSwitches()
    {
        QFETCH(QString, script);
        QFETCH(QString, drawn);

        TestItem item;
        run(&item, script);
        QStringList parts;
        for (const DrawCall &call : paintWith(item, &TestItem::paintBoxDVI).calls) {
            QString part = call.text + " label";
            if (call.kind == DrawCall::Polygon) {
                const QPointF tip = call.points.at(1);
                const int box = int(tip.x()) / 200;
                const double dx = tip.x() - 200 * box;
                part = QString(QChar('a' + box)) + ' '
                        + (tip.y() == 1            ? "top"
                                   : tip.y() == 99 ? "bottom"
                                   : dx == 1       ? "left"
                                                   : "right");
            }
            if (parts.isEmpty() || parts.last() != part)
                parts << part;
        }
        QCOMPARE(parts.join(", "), drawn);
    }

    // Box x 10, y 20, w 100, h 50, b 2: sides top, bottom, left, right, each near end first.
    // The label in the family pen, the markers in the painter's pen in "brushColor", filled
    // with it; the label above 5 x 5 (its font set even when hidden), the markers above 1 x 1.
    void dviPainting_data()
    {
        const QString dvi = "addBoxDVIF a 0 0 100 100 1; updateBoxDVIF a {topBorder:1}",
                      markers = "Polygon (4,3) (5,1) (6,3), %1 | Polygon (96,3) (95,1) (94,3), %1",
                      found = "found pen, found brush", black = "#000000 1 SolidLine",
                      red = "#ff0000 5 DotLine, #ff0000 SolidPattern";
        paintingRows(
                {"addBoxDVIF dvi 10 20 100 50 2;"
                 "updateBoxDVIF dvi {topBorder:1, bottomBorder:1, leftBorder:1, rightBorder:1} => "
                 "Text dvi 11px, "
                         + black + " | Polygon (18,26) (20,22) (22,26), " + found
                         + " | Polygon (102,26) (100,22) (98,26), " + found
                         + " | Polygon (18,64) (20,68) (22,64), " + found
                         + " | Polygon (102,64) (100,68) (98,64), " + found
                         + " | Polygon (16,28) (12,30) (16,32), " + found
                         + " | Polygon (16,62) (12,60) (16,58), " + found
                         + " | Polygon (104,28) (108,30) (104,32), " + found
                         + " | Polygon (104,62) (108,60) (104,58), " + found + " | left " + found
                         + ", Verdana 11px",
                 // The next label is drawn in the label pen again, not the markers' pen.
                 "setBoxDVIStyle {brushColor:7}; " + dvi
                         + "; addBoxDVIF b 200 0 100 100 1 => Text a 21px, " + black + " | "
                         + markers.arg(red) + " | Text b 21px, " + black + " | left " + red
                         + ", Verdana 21px",
                 "setBoxDVIStyle {style:2, width:4, color:#0000ff}; " + dvi
                         + " => Text a 21px, #0000ff 4 DashLine | " + markers.arg(found)
                         + " | left " + found + ", Verdana 21px",
                 "setBoxDVIStyle {style:0}; " + dvi + " => " + markers.arg(found) + " | left "
                         + found + ", Verdana 21px",
                 dvi + "; updateBoxDVIF a {showText:false} => " + markers.arg(found) + " | left "
                         + found + ", Verdana 21px",
                 "addBoxDVIF a 0 0 100 100 1 => Text a 21px, " + black + " | left " + found
                         + ", Verdana 21px",
                 "addBoxDVIF a 0 0 6 6 1 => Text a 2px, " + black + " | left " + found
                         + ", Verdana 2px",
                 "addBoxDVIF a 0 0 5 50 1 => left " + found + ", DejaVu Sans 7px",
                 "addBoxDVIF a 0 0 1e6 1e6 1 => left " + found + ", DejaVu Sans 7px",
                 "addBoxDVIF a 0 0 1.5 100 1; updateBoxDVIF a {topBorder:true} => "
                 "Polygon (4,3) (5,1) (6,3), "
                         + found + " | Polygon (-2.5,3) (-3.5,1) (-4.5,3), " + found + " | left "
                         + found + ", DejaVu Sans 7px",
                 "addBoxDVIF a 0 0 100 1.5 1; updateBoxDVIF a {topBorder:1} => "
                         + markers.arg(found) + " | left " + found + ", DejaVu Sans 7px",
                 // No box passes the size test: the label pen and marker brush, set before.
                 "addBoxDVIF a 0 0 1 100 1; updateBoxDVIF a {topBorder:1} => left " + black
                         + ", found brush, DejaVu Sans 7px",
                 "addBoxDVIF a 0 0 100 1 1; updateBoxDVIF a {topBorder:1} => left " + black
                         + ", found brush, DejaVu Sans 7px",
                 " => left " + black + ", found brush, DejaVu Sans 7px"});
    }
    void dviPainting()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, painted);
        QCOMPARE(painting(script, &TestItem::paintBoxDVI), painted);
    }

    // Whole-pixel rectangles outlined in the family pen and filled with the painter's brush (by
    // default), labelled above 10 x 10 in the painter's pen in "textColor"; a box that cannot
    // be drawn is skipped whole, leaving the painter as found.
    void simplePainting_data()
    {
        const QString black = "#000000 1 SolidLine", rect = ", " + black + ", found brush",
                      left = " | left " + black + ", found brush, ";
        QStringList rows = {
                "addBoxSimpleF b 0 0 11 11 => Rect (0,0) (11,11)" + rect
                        + " | Text b 3px, found pen" + left + "Verdana 3px",
                "addBoxSimpleF b 0 0 10 50 => Rect (0,0) (10,50)" + rect + left + "DejaVu Sans 7px",
                "addBoxSimpleF b 0 0 50 10 => Rect (0,0) (50,10)" + rect + left + "DejaVu Sans 7px",
                "addBoxSimpleF b -0.5 0 10.5 300 => Rect (0,0) (10,300)" + rect
                        + " | Text b 3px, found pen" + left + "Verdana 3px",
                "addBoxSimpleF b 0 0 1e6 1e6 => Rect (0,0) (1000000,1000000)" + rect + left
                        + "DejaVu Sans 7px",
                "addBoxSimpleF b 0 0 1.01 1.01 => Rect (0,0) (1,1)" + rect + left
                        + "DejaVu Sans 7px",
                "addBoxSimpleF b nan 0 50 50; addBoxSimpleF next 0 0 20 20 => Rect (0,0) (20,20)"
                        + rect + " | Text next 5px, found pen" + left + "Verdana 5px"};
        for (const char *box : {"0 0 1 50", "0 0 50 1", "nan 0 50 50", "2147483000 0 648 50"})
            rows << "addBoxSimpleF b " + QString(box)
                            + " => left found pen, found brush, DejaVu Sans 7px";
        // The first box is too small for a label, yet it is outlined like every other box.
        const QString two =
                "; addBoxSimpleF small 0 0 5 5; addBoxSimpleF labelled 10 10 50 50 => "
                "Rect (0,0) (5,5), %1, found brush | Rect (10,10) (50,50), %1, "
                "found brush | Text labelled 11px, %2 | left %1, found brush, Verdana 11px";
        rows << "setBoxSimpleStyle {style:2, width:3, color:7, textColor:9}"
                        + two.arg("#ff0000 3 DashLine", "#0000ff 5 DotLine")
             << "setBoxSimpleStyle {style:0}" + two.arg("#000000 1 NoPen", "found pen");
        paintingRows(rows);
    }
    void simplePainting()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, painted);
        QCOMPARE(painting(script, &TestItem::paintBoxSimple), painted);
    }

    void simpleBrushByState_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("brushes"); // of boxes plain, hovered, selected, both, re-added
        QTest::newRow("all colours: selection wins")
                << "{brushColor:7, isHoverColor:#00ff00, isSelectedColor:blue}"
                << "#ff0000, #00ff00, #0000ff, #0000ff, #ff0000";
        QTest::newRow("state colours not valid: the painter's brush")
                << "{brushColor:7, isSelectedColor:nocolour}"
                << "#ff0000, found, found, found, #ff0000";
    }
    // Flags belong to one box; a box added again loses them but keeps its place in the order.
    void simpleBrushByState()
    {
        QFETCH(QString, style);
        QFETCH(QString, brushes);

        QStringList drawn;
        const QStringList painted = painting(
                "setBoxSimpleStyle " + style
                        + "; updateBoxSimpleF p {isHover:true};" // not there: creates nothing
                          "addBoxSimpleF p 0 0 50 50; addBoxSimpleF h 0 0 50 50;"
                          "addBoxSimpleF s 0 0 50 50; addBoxSimpleF hs 0 0 50 50;"
                          "addBoxSimpleF r 0 0 50 50; updateBoxSimpleF h {isHover:2};"
                          "updateBoxSimpleF s {isSelected:true, hover:true};"
                          "updateBoxSimpleF hs {isHover:true, isSelected:true};"
                          "updateBoxSimpleF r {isHover:true, isSelected:true};"
                          "updateBoxSimpleF P {isSelected:true}; addBoxSimpleF r 0 0 50 50",
                &TestItem::paintBoxSimple);
        for (const QString &call : painted)
            if (call.startsWith("Rect"))
                drawn << call.section(", ", 2).section(' ', 0, 0);
        QCOMPARE(drawn.join(", "), brushes);
    }
};

QTEST_MAIN(tst_Boxes)
#include "tst_boxes.moc"
