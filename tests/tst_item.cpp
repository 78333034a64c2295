#include "test_item.h"

#include <QtTest/QtTest>

#include <climits>

namespace {

// Paints each family alone on a painter that holds painterPen, and returns the pen of its
// first styled draw call, for every family that draws one.
QMap<QString, QPen> familyPens(TestItem &item, const QPen &painterPen = QPen())
{
    QMap<QString, QPen> pens;
    for (const Family &family : families) {
        for (const DrawCall &call : paintWith(item, family.paint, painterPen).calls) {
            if (call.kind == family.styledCall) {
                pens.insert(family.name, call.pen);
                break;
            }
        }
    }
    return pens;
}

} // namespace

// The item core: its call table, colour values, style maps, fill colour, clears and the order
// in which paint() calls the families.
class tst_Item : public QObject
{
    Q_OBJECT

private slots:
    // What QML relies on: the methods in their order with their number of arguments, QML's
    // clones of the three shape adds, and nothing else in the meta-object.
    void callTable()
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
            QCOMPARE(QByteArray(method.typeName()),
                     method.name() == "updateBoxF" ? "double" : "void");
            methods << QString("%1/%2%3").arg(method.name(),
                                              QString::number(method.parameterCount()),
                                              method.attributes() & QMetaMethod::Cloned ? "*" : "");
        }
        QCOMPARE(methods.join(' '),
                 "addRectF/5 addRectF/4* addLineF/5 addLineF/4* addEllipseF/5 addEllipseF/4* "
                 "addBoxF/6 addBoxDVIF/6 addBoxSimpleF/5 updateBoxF/2 updateBoxDVIF/2 "
                 "updateAllBoxF/1 updateBoxParamF/1 updateAllBoxParamF/1 updateAllBoxDVIF/1 "
                 "updateBoxSimpleF/2 clearAll/0 clearRectF/0 clearLineF/0 clearEllipseF/0 "
                 "clearBoxF/0 clearBoxDVIF/0 clearBoxSimpleF/0 setRectStyle/1 setLineStyle/1 "
                 "setEllipseStyle/1 setBoxStyle/1 setBoxDVIFillColor/1 setBoxDVIStyle/1 "
                 "setBoxSimpleStyle/1");
    }

    // Integers are Qt::GlobalColor numbers, strings colour names, QColors themselves; the type
    // is tested exactly, and anything else is no colour.
    void transformColor_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("color"); // QColor::name(HexArgb), or "invalid"
        const std::pair<const char *, QVariant> rows[] = {
                {"#ff000000", 2},          {"#ffff0000", 7},
                {"#00000000", 19},         {"#ffffffff", 0},
                {"invalid", -1},           {"invalid", 20},
                {"invalid", INT_MAX},      {"invalid", INT_MIN},
                {"#ff008b8b", "darkcyan"}, {"#80102030", "#80102030"},
                {"invalid", "nonsense"},   {"#04010203", QColor(1, 2, 3, 4)},
                {"invalid", QColor()},     {"invalid", 2.0},
                {"invalid", 2u},           {"invalid", true},
                {"invalid", QVariant()}};
        for (const auto &row : rows)
            QTest::addRow("%s %s", row.second.typeName(), qPrintable(row.second.toString()))
                    << row.second << QString(row.first);
    }
    void transformColor()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, color);
        const QColor result = Bll_Painted_Item::getTransformColor(value);
        QCOMPARE(result.isValid() ? result.name(QColor::HexArgb) : "invalid", color);
    }

    void familyStyles_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("styled"); // the family, of families[], whose pen is blue 2 dashed

        QTest::newRow("defaults: black, 1, solid") << QString() << -1;
        for (int f = 0; f < 6; ++f)
            QTest::addRow("%s", families[f].setStyle)
                    << QString(families[f].setStyle) + " {width:2, style:2, color:blue}" << f;
        QTest::newRow("later maps keep earlier keys, other keys are ignored")
                << "setRectStyle {color:blue, textColor:red}; "
                   "setRectStyle {width:2, style:2, Color:red}"
                << 0;
        QTest::newRow("initPenStyle gives the defaults back")
                << "setRectStyle {width:2, style:2, color:blue, brushColor:red}; initPenStyle"
                << -1;
    }
    // Each family paints on a painter holding a magenta dotted pen of width 5, so that a pen
    // the family fails to set shows.
    void familyStyles()
    {
        QFETCH(QString, script);
        QFETCH(int, styled);

        TestItem item;
        run(&item, script.remove("; initPenStyle"));
        if (QByteArray(QTest::currentDataTag()).startsWith("initPenStyle"))
            item.initPenStyle();
        run(&item, oneOfEveryFamily);
        const QMap<QString, QPen> pens = familyPens(item, QPen(Qt::magenta, 5, Qt::DotLine));
        for (int f = 0; f < 6; ++f)
            QCOMPARE(penText(pens.value(families[f].name)),
                     f == styled ? "#0000ff 2 DashLine" : "#000000 1 SolidLine");
        QCOMPARE(brushText(paintWith(item, &TestItem::paintRect).brush), "NoBrush");
    }

    // Three calls set the fill colour; the last one wins. The box and simple styles set it from
    // their stored "fillColor" on every call; a colour that is not valid is transparent.
    void fillColor_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("fillColor");
        const QString rows[] = {
                "setBoxStyle {} = #00000000",
                "setBoxStyle {fillColor:nonsense} = #00000000",
                "setBoxStyle {fillColor:#80ff0000} = #80ff0000",
                "setBoxStyle {fillColor:red}; setBoxSimpleStyle {fillColor:blue}; setBoxStyle {} "
                "= #ffff0000",
                "setBoxSimpleStyle {fillColor:blue}; setBoxDVIFillColor red; setBoxSimpleStyle {} "
                "= #ff0000ff",
                "setBoxStyle {fillColor:red}; setBoxSimpleStyle {} = #00000000",
                "setBoxDVIFillColor red; setBoxSimpleStyle {fillColor:nonsense} = #00000000",
                "setBoxSimpleStyle {fillColor:#00ff00}; setBoxDVIFillColor blue = #ff0000ff",
                "setBoxStyle {fillColor:red}; setBoxDVIFillColor nonsense = #00000000"};
        for (const QString &row : rows)
            QTest::newRow(qPrintable(row)) << row.section(" = ", 0, 0) << row.section(" = ", 1);
    }
    void fillColor()
    {
        QFETCH(QString, script);
        QFETCH(QString, fillColor);
        Bll_Painted_Item item;
        item.setFillColor(Qt::yellow);
        run(&item, script);
        QCOMPARE(item.fillColor().name(QColor::HexArgb), fillColor);
    }

    void clearsEmptyTheirContainerOnly_data()
    {
        QTest::addColumn<QString>("clear");
        QTest::addColumn<QString>("cleared"); // the family that no longer paints
        for (const Family &family : families)
            QTest::newRow(family.clear) << family.clear << family.name;
        QTest::newRow("clearAll") << "clearAll" << QString();
    }
    // The styles and the fill colour survive every clear; QML's clearAll reaches an override.
    void clearsEmptyTheirContainerOnly()
    {
        QFETCH(QString, clear);
        QFETCH(QString, cleared);

        struct CountingItem : TestItem
        {
            int clears = 0;
            void clearAll() override { ++clears, Bll_Painted_Item::clearAll(); }
        } item;
        for (int i = 0; i < 6; ++i)
            run(&item,
                QString("%1 {color:%2}").arg(families[i].setStyle, QColor(i + 1, 0, 0).name()));
        run(&item, "setBoxDVIFillColor cyan;" + oneOfEveryFamily);
        const QMap<QString, QPen> styled = familyPens(item);
        QCOMPARE(styled.size(), 6);

        run(&item, clear);
        QCOMPARE(item.clears, int(clear == "clearAll"));
        QStringList stillPainted = styled.keys();
        if (!stillPainted.removeOne(cleared))
            stillPainted.clear();
        QCOMPARE(familyPens(item).keys(), stillPainted);

        run(&item, oneOfEveryFamily);
        QCOMPARE(familyPens(item), styled);
        QCOMPARE(item.fillColor(), QColor(Qt::cyan));
    }

    // Parameter, then DVI, then simple boxes, antialiased; the shapes only a derived class draws.
    // Nothing restores the painter between families: the DVI marker keeps the border pen.
    void paintOrder()
    {
        TestItem item;
        const Bll_Painted_Item child(&item);
        QCOMPARE(child.parentItem(), &item);
        run(&item,
            oneOfEveryFamily
                    + "; updateBoxDVIF dvi {topBorder:true};"
                      "setBoxStyle {color:red, width:3}");
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
};

QTEST_MAIN(tst_Item)
#include "tst_item.moc"
