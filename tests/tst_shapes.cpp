#include "test_item.h"

#include <QtTest/QtTest>

// The shape painters: integer geometry, the family style overridden record by record, the line
// path, and the painter state they leave.
class tst_Shapes : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void styleOverrides_data();
    void styleOverrides();
    void linePath_data();
    void linePath();
    void painterStateAtReturn_data();
    void painterStateAtReturn();
    void onlyDerivedClassesDrawShapes();
};

namespace {

// The three families, their methods standing in for ADD and STYLE in a script.
struct ShapeFamily
{
    const char *name, *add, *style;
    void (TestItem::*paint)(QPainter *);
};
const ShapeFamily shapeFamilies[] = {
        {"Rect", "addRectF", "setRectStyle", &TestItem::paintRect},
        {"Ellipse", "addEllipseF", "setEllipseStyle", &TestItem::paintEllipse},
        {"Line", "addLineF", "setLineStyle", &TestItem::paintLine}};

QStringList painting(const ShapeFamily &family, QString script)
{
    script.replace("ADD", family.add).replace("STYLE", family.style);
    return painting(script, family.paint);
}

} // namespace

void tst_Shapes::geometry_data()
{
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("rect"); // as rectangles and ellipses draw it; empty: not drawn
    QTest::addColumn<QString>("line"); // empty: not drawn

    QTest::newRow("truncation toward zero") << "-2.7 20.5 30.99 40.01"
                                            << "(-2,20) (30,40)"
                                            << "(-2,20) (30,40)";
    QTest::newRow("NaN") << "nan 0 5 5"
                         << ""
                         << "";
    // Two points are a line, not a size: only rectangles and ellipses overflow.
    QTest::newRow("x + w past INT_MAX") << "2147483000 0 648 5"
                                        << ""
                                        << "(2147483000,0) (648,5)";
}

// A record that cannot be drawn is skipped; the record after it is drawn as usual, and the
// line path keeps the doubles of every record.
void tst_Shapes::geometry()
{
    QFETCH(QString, values);
    QFETCH(QString, rect);
    QFETCH(QString, line);

    for (const ShapeFamily &f : shapeFamilies) {
        QStringList drawn = painting(f, "STYLE {brushColor:7}; ADD " + values + "; ADD 1 2 3 4");
        drawn.removeLast(); // the state left, checked below
        const QString first = f.name == QLatin1String("Line") ? line : rect;
        QStringList expected;
        for (const QString &geometry : {first, QString("(1,2) (3,4)")})
            if (!geometry.isEmpty())
                expected << f.name + (' ' + geometry);
        if (f.name == QLatin1String("Line")) {
            const QStringList path = drawn.takeLast().split(", ").first().split(' ');
            QCOMPARE(path.size(), 4); // "Path", the first start point and two end points
            QCOMPARE(path.last(), "(3,4)");
        }
        for (QString &call : drawn)
            call = call.section(", ", 0, 0);
        QCOMPARE(drawn, expected);
    }
}

void tst_Shapes::styleOverrides_data()
{
    QTest::addColumn<QString>("familyStyle");
    QTest::addColumn<QStringList>("ownStyles"); // one record each
    QTest::addColumn<QStringList>("pens");
    QTest::addColumn<QStringList>("fills"); // rectangles and ellipses; lines never fill

    using L = QStringList;
    const QString black = "#000000 1 SolidLine";
    QTest::newRow("defaults: solid black, unfilled")
            << "{}" << L {"{}"} << L {black} << L {"NoBrush"};
    QTest::newRow("own colour 7 keeps family style and width")
            << "{style:2, width:3}" << L {"{color:7}", "{}"}
            << L {"#ff0000 3 DashLine", "#000000 3 DashLine"} << L {"NoBrush", "NoBrush"};
    QTest::newRow("invalid own colour is black, not the family colour")
            << "{color:7}" << L {"{color:nocolour}", "{color:2.0}", "{}"}
            << L {black, black, "#ff0000 1 SolidLine"} << L {"NoBrush", "NoBrush", "NoBrush"};
    QTest::newRow("invalid own fill leaves one record unfilled")
            << "{brushColor:9}" << L {"{brushColor:''}", "{}"} << L {black, black}
            << L {"NoBrush", "#0000ff SolidPattern"};
    QTest::newRow("own fill for one record")
            << "{}" << L {"{brushColor:#00ff00}", "{}"} << L {black, black}
            << L {"#00ff00 SolidPattern", "NoBrush"};
    QTest::newRow("style 0 for one record")
            << "{}" << L {"{style:0}", "{}"} << L {"#000000 1 NoPen", black}
            << L {"NoBrush", "NoBrush"};
    QTest::newRow("own width alone")
            << "{color:9, style:3}" << L {"{width:4}"} << L {"#0000ff 4 DotLine"} << L {"NoBrush"};
    QTest::newRow("keys that painting does not read")
            << "{color:9}" << L {"{colour:7, textColor:7}"} << L {"#0000ff 1 SolidLine"}
            << L {"NoBrush"};
}

void tst_Shapes::styleOverrides()
{
    QFETCH(QString, familyStyle);
    QFETCH(QStringList, ownStyles);
    QFETCH(QStringList, pens);
    QFETCH(QStringList, fills);

    for (const ShapeFamily &f : shapeFamilies) {
        QString script = "STYLE " + familyStyle;
        for (const QString &own : ownStyles)
            script += "; ADD 0 0 10 10 " + own;
        QStringList drawn = painting(f, script).filter(QRegularExpression(QString("^") + f.name));
        QStringList expected;
        for (int i = 0; i < pens.size(); ++i)
            expected << pens.at(i) + ", "
                            + (f.paint == &TestItem::paintLine ? "found brush" : fills.at(i));
        for (QString &call : drawn)
            call = call.section(", ", 1);
        QCOMPARE(drawn, expected);
    }
}

void tst_Shapes::linePath_data()
{
    QTest::addColumn<QString>("brushColor"); // empty: the key is not set
    QTest::addColumn<bool>("pathDrawn");

    QTest::newRow("valid brushColor") << ", brushColor:7" << true;
    QTest::newRow("no brushColor") << "" << false;
    QTest::newRow("invalid brushColor") << ", brushColor:nocolour" << false;
}

// The path runs from the first start point through every end point; drawn after the lines,
// it is filled with the family brush.
void tst_Shapes::linePath()
{
    QFETCH(QString, brushColor);
    QFETCH(bool, pathDrawn);

    const QString pen = ", #0000ff 2 SolidLine, ";
    QStringList expected {"Line (0,0) (10,0)" + pen + "found brush",
                          "Line (50,50) (10,10)" + pen + "found brush",
                          "Line (10,10) (0,10)" + pen + "found brush"};
    if (pathDrawn)
        expected << "Path (0,0) (10,0) (10,10) (0,10)" + pen + "#ff0000 SolidPattern";
    expected << QString("left #0000ff 2 SolidLine, %1, DejaVu Sans 7px")
                        .arg(pathDrawn ? "#ff0000 SolidPattern" : "found brush");
    QCOMPARE(painting("setLineStyle {width:2, color:9" + brushColor
                              + "}; addLineF 0 0 10 0; addLineF 50 50 10 10; addLineF 10 10 0 10",
                      &TestItem::paintLine),
             expected);
}

void tst_Shapes::painterStateAtReturn_data()
{
    QTest::addColumn<int>("family"); // of shapeFamilies
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("painted");

    const QString left = "left #000000 1 SolidLine, ";
    QTest::newRow("rect, empty list") << 0 << "" << QStringList {left + "NoBrush, DejaVu Sans 7px"};
    QTest::newRow("ellipse, empty list, family fill")
            << 1 << "STYLE {brushColor:7}"
            << QStringList {left + "#ff0000 SolidPattern, DejaVu Sans 7px"};
    QTest::newRow("rect after an own pen and fill")
            << 0 << "STYLE {brushColor:7}; ADD 0 0 10 10 {color:8, brushColor:9}"
            << QStringList {"Rect (0,0) (10,10), #00ff00 1 SolidLine, #0000ff SolidPattern",
                            left + "#ff0000 SolidPattern, DejaVu Sans 7px"};
    QTest::newRow("line, empty list")
            << 2 << "" << QStringList {left + "found brush, DejaVu Sans 7px"};
    QTest::newRow("line, empty list, family fill: the empty path")
            << 2 << "STYLE {brushColor:7}"
            << QStringList {"Path, #000000 1 SolidLine, #ff0000 SolidPattern",
                            left + "#ff0000 SolidPattern, DejaVu Sans 7px"};
    QTest::newRow("line after an own pen, invalid family fill")
            << 2 << "STYLE {brushColor:''}; ADD 0 0 10 10 {color:8}"
            << QStringList {"Line (0,0) (10,10), #00ff00 1 SolidLine, found brush",
                            left + "found brush, DejaVu Sans 7px"};
}

void tst_Shapes::painterStateAtReturn()
{
    QFETCH(int, family);
    QFETCH(QString, script);
    QFETCH(QStringList, painted);
    QCOMPARE(painting(shapeFamilies[family], script), painted);
}

// The way a user of the library gets shapes on screen; QML's four-argument adds, which moc
// generates as methods of their own, store an empty style.
void tst_Shapes::onlyDerivedClassesDrawShapes()
{
    class ShapePaintingItem : public Bll_Painted_Item
    {
    public:
        void paint(QPainter *painter) override
        {
            Bll_Painted_Item::paint(painter);
            paintRect(painter);
            paintLine(painter);
            paintEllipse(painter);
        }
    };
    const QString shapes = "setRectStyle {color:7}; addRectF 10 20 30 0; addLineF 10 20 -5 0;"
                           "addEllipseF 10 20 5 6; addRectF 0 0 5 5 {color:9};"
                           "addBoxSimpleF s 20 20 5 5";
    Bll_Painted_Item plain;
    run(&plain, shapes);
    QCOMPARE(callTexts(paintWith(plain, &TestItem::paint).calls), // the simple box only
             QStringList {"Rect (20,20) (5,5)"});
    ShapePaintingItem derived;
    run(&derived, shapes);
    QCOMPARE(callTexts(paintWith(derived, &TestItem::paint).calls, true),
             QStringList({"Rect (20,20) (5,5), #000000 1 SolidLine, NoBrush",
                          "Rect (10,20) (30,0), #ff0000 1 SolidLine, NoBrush",
                          "Rect (0,0) (5,5), #0000ff 1 SolidLine, NoBrush",
                          "Line (10,20) (-5,0), #000000 1 SolidLine, NoBrush",
                          "Ellipse (10,20) (5,6), #000000 1 SolidLine, NoBrush"}));
}

QTEST_MAIN(tst_Shapes)
#include "tst_shapes.moc"
