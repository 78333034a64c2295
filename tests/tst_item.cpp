#include "test_item.h"

#include <QtTest/QtTest>

#include <climits>

// The item core: its call table, colour values, style maps, fill colour, clears and the
// order in which paint() calls the families.
class tst_Item : public QObject
{
    Q_OBJECT

private slots:
    void callTable();
    void transformColor_data();
    void transformColor();
    void familyStyles_data();
    void familyStyles();
    void fillColorFollowsTheLastCall_data();
    void fillColorFollowsTheLastCall();
    void clearsEmptyTheirContainerOnly_data();
    void clearsEmptyTheirContainerOnly();
    void paintOrder();
};

using Map = QVariantMap;

namespace {

// Paints each family alone on a painter that holds painterPen, and returns the pen of its
// first styled draw call, for every family that draws one.
QMap<QString, QPen> familyPens(TestItem &item, const QPen &painterPen = QPen())
{
    QMap<QString, QPen> pens;
    for (const Family &family : families) {
        const QVector<DrawCall> calls = paintWith(item, family.paint, painterPen).calls;
        for (const DrawCall &call : calls) {
            if (call.kind == family.styledCall) {
                pens.insert(family.name, call.pen);
                break;
            }
        }
    }
    return pens;
}

} // namespace

// What QML relies on: the methods in their order with their number of arguments, QML's
// clones of the three shape adds, and nothing else in the meta-object.
void tst_Item::callTable()
{
    const QMetaObject &meta = Bll_Painted_Item::staticMetaObject;
    QCOMPARE(meta.superClass(), &QQuickPaintedItem::staticMetaObject);
    QCOMPARE(meta.propertyCount(), meta.propertyOffset());
    QCOMPARE(meta.enumeratorCount(), meta.enumeratorOffset());
    QStringList methods;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        QCOMPARE(method.methodType(), QMetaMethod::Method);
        QCOMPARE(method.access(), QMetaMethod::Public);
        QCOMPARE(QByteArray(method.typeName()), method.name() == "updateBoxF" ? "double" : "void");
        for (int p = 0; p < method.parameterCount(); ++p) {
            const QByteArray name = method.parameterNames().at(p);
            const char *type = name == "boxId" ? "QString"
                    : name == "fillColor"      ? "QColor"
                    : name.startsWith('v')     ? "QVariantMap"
                                               : "double";
            QCOMPARE(method.parameterTypes().at(p), QByteArray(type));
        }
        methods << QString("%1/%2%3").arg(method.name(), QString::number(method.parameterCount()),
                                          method.attributes() & QMetaMethod::Cloned ? "*" : "");
    }
    QCOMPARE(methods.join(' '),
             "addRectF/5 addRectF/4* addLineF/5 addLineF/4* addEllipseF/5 addEllipseF/4* "
             "addBoxF/6 addBoxDVIF/6 addBoxSimpleF/5 updateBoxF/2 updateBoxDVIF/2 updateAllBoxF/1 "
             "updateBoxParamF/1 updateAllBoxParamF/1 updateAllBoxDVIF/1 updateBoxSimpleF/2 "
             "clearAll/0 clearRectF/0 clearLineF/0 clearEllipseF/0 clearBoxF/0 clearBoxDVIF/0 "
             "clearBoxSimpleF/0 setRectStyle/1 setLineStyle/1 setEllipseStyle/1 setBoxStyle/1 "
             "setBoxDVIFillColor/1 setBoxDVIStyle/1 setBoxSimpleStyle/1");
}

void tst_Item::transformColor_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("color"); // QColor::name(HexArgb), or "invalid"
    const std::pair<const char *, QVariant> rows[] = {
            {"#ff000000", 2},           {"#ffff0000", 7},        {"#00000000", 19},
            {"#ffffffff", 0},           {"invalid", -1},         {"invalid", 20},
            {"invalid", INT_MAX},       {"invalid", INT_MIN},    {"#ff008b8b", "darkcyan"},
            {"#80102030", "#80102030"}, {"invalid", "nonsense"}, {"#04010203", QColor(1, 2, 3, 4)},
            {"invalid", QColor()},      {"invalid", 2.0},        {"invalid", 2u},
            {"invalid", true},          {"invalid", QVariant()}};
    for (const auto &row : rows)
        QTest::addRow("%s %s", row.second.typeName(), qPrintable(row.second.toString()))
                << row.second << QString(row.first);
}

void tst_Item::transformColor()
{
    QFETCH(QVariant, value);
    QFETCH(QString, color);
    const QColor result = Bll_Painted_Item::getTransformColor(value);
    QCOMPARE(result.isValid() ? result.name(QColor::HexArgb) : "invalid", color);
}

void tst_Item::familyStyles_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("pens"); // as each family paints, in the order of families[]

    const QString black = "#000000 1 SolidLine", set = "#0000ff 2 DashLine";
    const auto pens = [&](int styled) {
        QStringList pens;
        for (int f = 0; f < 6; ++f)
            pens << (f == styled ? set : black);
        return pens;
    };
    QTest::newRow("defaults") << QString() << pens(-1);
    for (int f = 0; f < 6; ++f)
        QTest::addRow("%s style", families[f].name)
                << QString(families[f].setStyle) + " {width:2, style:2, color:blue}" << pens(f);
    QTest::newRow("later maps keep earlier keys, other keys are ignored")
            << "setRectStyle {color:blue, textColor:red}; setRectStyle {width:2, style:2, "
               "Color:red}"
            << pens(0);
    QTest::newRow("initPenStyle gives the defaults back")
            << "setRectStyle {width:2, style:2, color:blue, brushColor:red}; initPenStyle"
            << pens(-1);
}

// Each family paints on a painter holding a magenta dotted pen of width 5, so that a pen the
// family fails to set shows.
void tst_Item::familyStyles()
{
    QFETCH(QString, script);
    QFETCH(QStringList, pens);

    TestItem item;
    if (script.endsWith("initPenStyle")) {
        run(&item, script.section(';', 0, 0));
        item.initPenStyle();
    } else {
        run(&item, script);
    }
    run(&item, oneOfEveryFamily);
    const QMap<QString, QPen> familyPen = familyPens(item, QPen(Qt::magenta, 5, Qt::DotLine));
    QStringList painted;
    for (const Family &f : families)
        painted << penText(familyPen.value(f.name));
    QCOMPARE(painted, pens);
    QCOMPARE(brushText(paintWith(item, &TestItem::paintRect).brush), "NoBrush");
}

void tst_Item::fillColorFollowsTheLastCall_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("fillColor");

    const std::pair<const char *, const char *> rows[] = {
            {"setBoxStyle {}", "#00000000"},
            {"setBoxStyle {fillColor:nonsense}", "#00000000"},
            {"setBoxStyle {fillColor:#80ff0000}", "#80ff0000"},
            {"setBoxStyle {fillColor:red}; setBoxSimpleStyle {fillColor:blue}; setBoxStyle {}",
             "#ffff0000"},
            {"setBoxSimpleStyle {fillColor:blue}; setBoxDVIFillColor red; setBoxSimpleStyle {}",
             "#ff0000ff"},
            {"setBoxStyle {fillColor:red}; setBoxSimpleStyle {}", "#00000000"},
            {"setBoxDVIFillColor red; setBoxSimpleStyle {fillColor:nonsense}", "#00000000"},
            {"setBoxSimpleStyle {fillColor:#00ff00}; setBoxDVIFillColor blue", "#ff0000ff"},
            {"setBoxStyle {fillColor:red}; setBoxDVIFillColor nonsense", "#00000000"}};
    for (const auto &[script, fillColor] : rows)
        QTest::newRow(script) << QString(script) << QString(fillColor);
}

void tst_Item::fillColorFollowsTheLastCall()
{
    QFETCH(QString, script);
    QFETCH(QString, fillColor);

    Bll_Painted_Item item;
    item.setFillColor(Qt::yellow);
    run(&item, script);
    QCOMPARE(item.fillColor().name(QColor::HexArgb), fillColor);
}

void tst_Item::clearsEmptyTheirContainerOnly_data()
{
    QTest::addColumn<QByteArray>("clear");
    QTest::addColumn<QString>("cleared"); // the family that no longer paints

    const char *clears[][2] = {{"clearRectF", "rect"},       {"clearLineF", "line"},
                               {"clearEllipseF", "ellipse"}, {"clearBoxF", "box"},
                               {"clearBoxDVIF", "dvi"},      {"clearBoxSimpleF", "simple"}};
    for (const auto &row : clears)
        QTest::newRow(row[0]) << QByteArray(row[0]) << QString(row[1]);
    QTest::newRow("clearAll") << QByteArray("clearAll") << QString();
}

// The styles and the fill colour survive every clear; QML's clearAll reaches an override.
void tst_Item::clearsEmptyTheirContainerOnly()
{
    QFETCH(QByteArray, clear);
    QFETCH(QString, cleared);

    struct CountingItem : TestItem
    {
        int clears = 0;
        void clearAll() override { ++clears, Bll_Painted_Item::clearAll(); }
    } item;
    for (int i = 0; i < 6; ++i)
        run(&item, QString("%1 {color:%2}").arg(families[i].setStyle, QColor(i + 1, 0, 0).name()));
    run(&item, "setBoxDVIFillColor cyan;" + oneOfEveryFamily);
    const QMap<QString, QPen> styled = familyPens(item);
    QCOMPARE(styled.size(), 6);

    QVERIFY(QMetaObject::invokeMethod(&item, clear.constData()));
    QCOMPARE(item.clears, int(clear == "clearAll"));
    QStringList stillPainted = styled.keys();
    if (!stillPainted.removeOne(cleared))
        stillPainted.clear();
    QCOMPARE(familyPens(item).keys(), stillPainted);

    run(&item, oneOfEveryFamily);
    QCOMPARE(familyPens(item), styled);
    QCOMPARE(item.fillColor(), QColor(Qt::cyan));
}

// Parameter, then DVI, then simple boxes, antialiased; shapes only in derived classes. Nothing
// restores the painter between families: the DVI marker keeps the parameter boxes' border pen.
void tst_Item::paintOrder()
{
    TestItem item;
    const Bll_Painted_Item child(&item);
    QCOMPARE(child.parentItem(), &item);
    run(&item,
        oneOfEveryFamily
                + "; updateBoxDVIF dvi {topBorder:true}; setBoxStyle {color:red, width:3}");
    QStringList calls;
    const Painted painted = paintWith(item, &TestItem::paint);
    for (const DrawCall &call : painted.calls) {
        QVERIFY(call.hints.testFlag(QPainter::Antialiasing));
        calls << (call.kind == DrawCall::Text ? call.text
                                              : callTexts({call}).first().section(' ', 0, 0));
    }
    QCOMPARE(calls.join(' '),
             "box Polygon Polygon Polygon Polygon dvi Polygon Polygon Rect simple");
    QCOMPARE(penText(painted.calls[7].pen), "#ff0000 3 SolidLine");
}

QTEST_MAIN(tst_Item)
#include "tst_item.moc"
