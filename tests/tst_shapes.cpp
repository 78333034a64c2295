#include "painted.h"
#include "test_item.h"

#include <QtTest/QtTest>

namespace {

using AddFunction = void (Bll_Painted_Item::*)(double, double, double, double, const QVariantMap &);
using StyleFunction = void (Bll_Painted_Item::*)(const QVariantMap &);
using PaintFunction = void (Bll_Painted_Item::*)(QPainter *);

// What the three shape families share: one list, one style map, one painter.
struct Family
{
    const char *name;
    AddFunction add;
    StyleFunction setStyle;
    PaintFunction paint;
    DrawCall::Kind kind;
};

const Family rects {"rect", &TestItem::addRectF, &TestItem::setRectStyle, &TestItem::paintRect,
                    DrawCall::Rect};
const Family ellipses {"ellipse", &TestItem::addEllipseF, &TestItem::setEllipseStyle,
                       &TestItem::paintEllipse, DrawCall::Ellipse};
const Family lines {"line", &TestItem::addLineF, &TestItem::setLineStyle, &TestItem::paintLine,
                    DrawCall::Line};

const Family &family(const QString &name)
{
    return name == QLatin1String("rect")       ? rects
            : name == QLatin1String("ellipse") ? ellipses
                                               : lines;
}

const QPen foundPen(Qt::green, 5, Qt::DotLine, Qt::RoundCap);
const QBrush foundBrush(Qt::gray, Qt::Dense4Pattern);
const QString foundFill = QStringLiteral("#a0a0a4 Dense4Pattern");

// "pen, brush" of each call of one kind.
QStringList tools(const Painted &painted, DrawCall::Kind kind)
{
    QStringList texts;
    for (const DrawCall &call : painted.calls)
        if (call.kind == kind)
            texts << penText(call.pen) + ", " + brushText(call.brush);
    return texts;
}

} // namespace

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
    void fourArgumentAddsStoreAnEmptyStyle();
};

void tst_Shapes::geometry_data()
{
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<QString>("rect"); // as drawn by rectangles and ellipses; empty: not drawn
    QTest::addColumn<QString>("line"); // empty: not drawn

    using V = QVector<double>;
    QTest::newRow("truncation toward zero") << V {-2.7, 20.5, 30.99, 40.01} << "(-2,20) (30,40)"
                                            << "(-2,20) (30,40)";
    QTest::newRow("NaN") << V {qQNaN(), 0, 5, 5} << ""
                         << "";
    QTest::newRow("just past INT_MAX") << V {2147483648.0, 0, 5, 5} << ""
                                       << "";
    QTest::newRow("just past INT_MIN") << V {0, -2147483649.0, 5, 5} << ""
                                       << "";
    QTest::newRow("largest int") << V {2147483647.9, 0, 0, 5} << "(2147483647,0) (0,5)"
                                 << "(2147483647,0) (0,5)";
    QTest::newRow("x + w at INT_MAX") << V {2147483000, 0, 647.9, 5} << "(2147483000,0) (647,5)"
                                      << "(2147483000,0) (647,5)";
    // Two points are a line, not a size: only rectangles and ellipses overflow.
    QTest::newRow("x + w past INT_MAX") << V {2147483000, 0, 648, 5} << ""
                                        << "(2147483000,0) (648,5)";
    QTest::newRow("y + h below INT_MIN") << V {0, -2e9, 5, -2e9} << ""
                                         << "(0,-2000000000) (5,-2000000000)";
}

// A record that cannot be drawn is skipped; the record after it is drawn as usual, and the
// line path keeps the doubles of every record.
void tst_Shapes::geometry()
{
    QFETCH(QVector<double>, values);
    QFETCH(QString, rect);
    QFETCH(QString, line);

    for (const Family *f : {&rects, &ellipses, &lines}) {
        TestItem item;
        (item.*f->setStyle)({{"brushColor", 7}});
        (item.*f->add)(values[0], values[1], values[2], values[3], QVariantMap());
        (item.*f->add)(1, 2, 3, 4, QVariantMap());
        const Painted painted = paintWith(item, f->paint);

        const QString kind = QLatin1String(drawCallKindName(f->kind)) + ' ';
        const QString first = f == &lines ? line : rect;
        QStringList drawn = first.isEmpty() ? QStringList() : QStringList(kind + first);
        drawn << kind + "(1,2) (3,4)";
        if (f == &lines)
            drawn << callTexts(painted.calls).last(); // the path, checked below
        QCOMPARE(callTexts(painted.calls), drawn);
        if (f == &lines) {
            QCOMPARE(painted.calls.last().path.elementCount(), 3);
            QCOMPARE(painted.calls.last().path.currentPosition(), QPointF(3, 4));
        }
    }
}

void tst_Shapes::styleOverrides_data()
{
    QTest::addColumn<QVariantMap>("familyStyle");
    QTest::addColumn<QVariantList>("ownStyles"); // one record each
    QTest::addColumn<QStringList>("pens");
    QTest::addColumn<QStringList>("fills"); // rectangles and ellipses; lines never fill

    using L = QStringList;
    using M = QVariantMap;
    const QString black = QStringLiteral("#000000 1 SolidLine");
    QTest::newRow("defaults: solid black, unfilled")
            << M() << QVariantList {M()} << L {black} << L {"NoBrush"};
    QTest::newRow("own colour 7 keeps family style and width")
            << M {{"style", 2}, {"width", 3}} << QVariantList {M {{"color", 7}}, M()}
            << L {"#ff0000 3 DashLine", "#000000 3 DashLine"} << L {"NoBrush", "NoBrush"};
    QTest::newRow("invalid own colour is black, not the family colour")
            << M {{"color", 7}} << QVariantList {M {{"color", "nocolour"}}, M {{"color", 2.0}}, M()}
            << L {black, black, "#ff0000 1 SolidLine"} << L {"NoBrush", "NoBrush", "NoBrush"};
    QTest::newRow("invalid own fill leaves one record unfilled")
            << M {{"brushColor", 9}} << QVariantList {M {{"brushColor", ""}}, M()}
            << L {black, black} << L {"NoBrush", "#0000ff SolidPattern"};
    QTest::newRow("own fill for one record")
            << M() << QVariantList {M {{"brushColor", "#00ff00"}}, M()} << L {black, black}
            << L {"#00ff00 SolidPattern", "NoBrush"};
    QTest::newRow("style 0 for one record")
            << M() << QVariantList {M {{"style", 0}}, M()} << L {"#000000 1 NoPen", black}
            << L {"NoBrush", "NoBrush"};
    QTest::newRow("style numbers outside the pen styles")
            << M() << QVariantList {M {{"style", 7}}, M {{"style", -1}}, M {{"style", 5}}}
            << L {"#000000 1 NoPen", "#000000 1 NoPen", "#000000 1 DashDotDotLine"}
            << L {"NoBrush", "NoBrush", "NoBrush"};
    QTest::newRow("own width alone")
            << M {{"color", 9}, {"style", 3}} << QVariantList {M {{"width", 4}}}
            << L {"#0000ff 4 DotLine"} << L {"NoBrush"};
}

void tst_Shapes::styleOverrides()
{
    QFETCH(QVariantMap, familyStyle);
    QFETCH(QVariantList, ownStyles);
    QFETCH(QStringList, pens);
    QFETCH(QStringList, fills);

    for (const Family *f : {&rects, &ellipses, &lines}) {
        TestItem item;
        (item.*f->setStyle)(familyStyle);
        for (const QVariant &own : ownStyles)
            (item.*f->add)(0, 0, 10, 10, own.toMap());
        QStringList expected;
        for (int i = 0; i < pens.size(); ++i)
            expected << pens.at(i) + ", " + (f == &lines ? foundFill : fills.at(i));
        QCOMPARE(tools(paintWith(item, f->paint, foundPen, foundBrush), f->kind), expected);
    }
}

void tst_Shapes::linePath_data()
{
    QTest::addColumn<QVariant>("brushColor"); // invalid QVariant: the key is not set
    QTest::addColumn<bool>("pathDrawn");

    QTest::newRow("valid brushColor") << QVariant(7) << true;
    QTest::newRow("no brushColor") << QVariant() << false;
    QTest::newRow("invalid brushColor") << QVariant(QStringLiteral("nocolour")) << false;
}

// The path runs from the first start point through every end point.
void tst_Shapes::linePath()
{
    QFETCH(QVariant, brushColor);
    QFETCH(bool, pathDrawn);

    TestItem item;
    QVariantMap style {{"width", 2}, {"color", 9}};
    if (brushColor.isValid())
        style.insert(QStringLiteral("brushColor"), brushColor);
    item.setLineStyle(style);
    item.addLineF(0, 0, 10, 0);
    item.addLineF(50, 50, 10, 10);
    item.addLineF(10, 10, 0, 10);
    const Painted painted = paintWith(item, &TestItem::paintLine, foundPen, foundBrush);

    const QString pen = QStringLiteral(", #0000ff 2 SolidLine, ");
    QStringList expected {"Line (0,0) (10,0)" + pen + foundFill,
                          "Line (50,50) (10,10)" + pen + foundFill,
                          "Line (10,10) (0,10)" + pen + foundFill};
    if (pathDrawn)
        expected << "Path (0,0) (10,0) (10,10) (0,10)" + pen + "#ff0000 SolidPattern";
    QCOMPARE(callTexts(painted.calls, true), expected);
    if (pathDrawn)
        QCOMPARE(painted.calls.last().path.elementAt(1).type, QPainterPath::LineToElement);
    QCOMPARE(brushText(painted.brush),
             pathDrawn ? QStringLiteral("#ff0000 SolidPattern") : foundFill);
}

void tst_Shapes::painterStateAtReturn_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QVariantMap>("familyStyle");
    QTest::addColumn<QVariantMap>("ownStyle"); // empty: no record at all
    QTest::addColumn<QString>("brush");
    QTest::addColumn<int>("drawCalls");

    QTest::newRow("rect, empty list") << "rect" << QVariantMap() << QVariantMap() << "NoBrush" << 0;
    QTest::newRow("ellipse, empty list, family fill")
            << "ellipse" << QVariantMap {{"brushColor", 7}} << QVariantMap()
            << "#ff0000 SolidPattern" << 0;
    QTest::newRow("rect after an own pen and fill")
            << "rect" << QVariantMap {{"brushColor", 7}}
            << QVariantMap {{"color", 8}, {"brushColor", 9}} << "#ff0000 SolidPattern" << 1;
    QTest::newRow("line, empty list") << "line" << QVariantMap() << QVariantMap() << foundFill << 0;
    QTest::newRow("line, empty list, family fill: the empty path")
            << "line" << QVariantMap {{"brushColor", 7}} << QVariantMap() << "#ff0000 SolidPattern"
            << 1;
    QTest::newRow("line after an own pen, invalid family fill")
            << "line" << QVariantMap {{"brushColor", ""}} << QVariantMap {{"color", 8}} << foundFill
            << 1;
}

void tst_Shapes::painterStateAtReturn()
{
    QFETCH(QString, family);
    QFETCH(QVariantMap, familyStyle);
    QFETCH(QVariantMap, ownStyle);
    QFETCH(QString, brush);
    QFETCH(int, drawCalls);

    const Family &f = ::family(family);
    TestItem item;
    (item.*f.setStyle)(familyStyle);
    if (!ownStyle.isEmpty())
        (item.*f.add)(0, 0, 10, 10, ownStyle);
    const Painted painted = paintWith(item, f.paint, foundPen, foundBrush);

    QCOMPARE(painted.calls.size(), drawCalls);
    if (family == QLatin1String("line") && drawCalls == 1 && ownStyle.isEmpty())
        QVERIFY(painted.calls.first().path.isEmpty());
    QCOMPARE(penText(painted.pen), QStringLiteral("#000000 1 SolidLine"));
    QCOMPARE(painted.pen.capStyle(), QPen().capStyle());
    QCOMPARE(brushText(painted.brush), brush);
}

namespace {
// The way a user of the library gets shapes on screen.
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

template<typename Item>
QStringList paintedKinds(Item &item)
{
    item.addRectF(0, 0, 10, 10, {{"brushColor", 7}});
    item.addLineF(0, 0, 10, 10);
    item.addEllipseF(0, 0, 10, 10);
    item.addBoxSimpleF(QStringLiteral("s"), 20, 20, 5, 5);
    RecordingPaintDevice device;
    QPainter painter(&device);
    static_cast<QQuickPaintedItem &>(item).paint(&painter);
    QStringList kinds;
    for (const DrawCall &call : device.calls())
        kinds << QLatin1String(drawCallKindName(call.kind));
    return kinds;
}
} // namespace

void tst_Shapes::onlyDerivedClassesDrawShapes()
{
    Bll_Painted_Item plain;
    QCOMPARE(paintedKinds(plain), QStringList({"Rect"})); // the simple box only
    ShapePaintingItem derived;
    QCOMPARE(paintedKinds(derived), QStringList({"Rect", "Rect", "Line", "Ellipse"}));
}

// QML calls the four-argument forms, which moc generates as separate methods.
void tst_Shapes::fourArgumentAddsStoreAnEmptyStyle()
{
    TestItem item;
    item.setRectStyle({{"color", 7}});
    for (const char *method : {"addRectF", "addLineF", "addEllipseF"})
        QVERIFY(QMetaObject::invokeMethod(&item, method, Q_ARG(double, 10), Q_ARG(double, 20),
                                          Q_ARG(double, -5), Q_ARG(double, 0)));
    // QPainter hands the engine a normalised ellipse rectangle, and Qt 5 and 6 normalise
    // a negative width differently.
    const QRect ellipse = QRect(10, 20, -5, 0).normalized();
    QCOMPARE(
            callTexts(paintWith(item, &TestItem::paintRect).calls, true)
                    + callTexts(paintWith(item, &TestItem::paintLine).calls)
                    + callTexts(paintWith(item, &TestItem::paintEllipse).calls),
            QStringList({"Rect (10,20) (-5,0), #ff0000 1 SolidLine, NoBrush", "Line (10,20) (-5,0)",
                         QString("Ellipse (%1,%2) (%3,%4)")
                                 .arg(ellipse.x())
                                 .arg(ellipse.y())
                                 .arg(ellipse.width())
                                 .arg(ellipse.height())}));
}

QTEST_MAIN(tst_Shapes)
#include "tst_shapes.moc"
