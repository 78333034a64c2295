#include "family_painters.h"

#include <QtTest/QtTest>

#include <utility>

// The item as QML sees it: its meta-object, its lifecycle, and the parameter-box
// store driven through QMetaObject::invokeMethod and observed through painting.
class tst_ItemCore : public QObject
{
    Q_OBJECT

private slots:
    void metaObjectListsTheInvokables_data();
    void metaObjectListsTheInvokables();
    void metaObjectHasNothingElse();
    void clonedEntriesStoreAnEmptyStyle_data();
    void clonedEntriesStoreAnEmptyStyle();
    void constructorHandsTheParentOn();
    void clearAllReachesAnOverride();
    void clearsEmptyTheirContainerOnly_data();
    void clearsEmptyTheirContainerOnly();
    void paintDispatchesParameterThenDviThenSimple();
    void plainItemNeverDrawsShapes();
    void addBoxReplacesTheRecordInItsPlace();
    void updateBoxReportsTheLastNamedSide_data();
    void updateBoxReportsTheLastNamedSide();
    void updateBoxFindsTheExactIdOnly();
    void operationsOnEveryBox_data();
    void operationsOnEveryBox();
    void clearBoxForgetsBoxesNotStyle();
};

namespace {

using Map = QVariantMap;

void addBox(QObject *item, const QString &boxId, double x, double y, double w, double h, double b)
{
    QVERIFY(QMetaObject::invokeMethod(item, "addBoxF", Q_ARG(QString, boxId), Q_ARG(double, x),
                                      Q_ARG(double, y), Q_ARG(double, w), Q_ARG(double, h),
                                      Q_ARG(double, b)));
}

double updateBox(QObject *item, const QString &boxId, const QVariantMap &vBorder)
{
    double result = qQNaN(); // stays NaN when the call does not go through
    QMetaObject::invokeMethod(item, "updateBoxF", Q_RETURN_ARG(double, result),
                              Q_ARG(QString, boxId), Q_ARG(QVariantMap, vBorder));
    return result;
}

void invokeWithMap(QObject *item, const char *method, const QVariantMap &map)
{
    QVERIFY2(QMetaObject::invokeMethod(item, method, Q_ARG(QVariantMap, map)), method);
}

// Brush colours that tell the four band states apart when painted.
const Map bandStateStyle {{"brushColor", "#000001"},
                          {"pickBorderColor", "#000002"},
                          {"paramBorderColor", "#000003"},
                          {"pickParamBorderColor", "#000004"}};

// Paints the parameter boxes and describes them in painting order as "id:tblr",
// one letter per band: '-' plain, 'p' picked, 'a' carries a parameter, 'b' both.
QString describeBoxes(TestItem &item)
{
    RecordingPaintDevice device;
    {
        QPainter painter(&device);
        item.paintBox(&painter);
    }
    const QString letters = "?-pab";
    QStringList boxes;
    QString label;
    int bands = 0;
    for (const DrawCall &call : device.calls()) {
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

void tst_ItemCore::metaObjectListsTheInvokables_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<QByteArray>("returnType");
    QTest::addColumn<QByteArray>("parameterNames");
    QTest::addColumn<bool>("cloned");

    const QByteArray rect = "double,double,double,double";
    const QByteArray box = "QString,double,double,double,double,double";
    const struct
    {
        QByteArray signature, returnType, names;
    } table[] = {
            {"addRectF(" + rect + ",QVariantMap)", "void", "x,y,width,height,vStyle"},
            {"addRectF(" + rect + ")", "void", "x,y,width,height"},
            {"addLineF(" + rect + ",QVariantMap)", "void", "x1,y1,x2,y2,vStyle"},
            {"addLineF(" + rect + ")", "void", "x1,y1,x2,y2"},
            {"addEllipseF(" + rect + ",QVariantMap)", "void", "x,y,width,height,vStyle"},
            {"addEllipseF(" + rect + ")", "void", "x,y,width,height"},
            {"addBoxF(" + box + ")", "void", "boxId,x,y,width,height,borderWidth"},
            {"addBoxDVIF(" + box + ")", "void", "boxId,x,y,width,height,borderWidth"},
            {"addBoxSimpleF(QString," + rect + ")", "void", "boxId,x,y,width,height"},
            {"updateBoxF(QString,QVariantMap)", "double", "boxId,vBorder"},
            {"updateBoxDVIF(QString,QVariantMap)", "void", "boxId,vBorder"},
            {"updateAllBoxF(QVariantMap)", "void", "vBorder"},
            {"updateBoxParamF(QVariantMap)", "void", "vBorder"},
            {"updateAllBoxParamF(QVariantMap)", "void", "vBorder"},
            {"updateAllBoxDVIF(QVariantMap)", "void", "vBorder"},
            {"updateBoxSimpleF(QString,QVariantMap)", "void", "boxId,vMap"},
            {"clearAll()", "void", ""},
            {"clearRectF()", "void", ""},
            {"clearLineF()", "void", ""},
            {"clearEllipseF()", "void", ""},
            {"clearBoxF()", "void", ""},
            {"clearBoxDVIF()", "void", ""},
            {"clearBoxSimpleF()", "void", ""},
            {"setRectStyle(QVariantMap)", "void", "vStyle"},
            {"setLineStyle(QVariantMap)", "void", "vStyle"},
            {"setEllipseStyle(QVariantMap)", "void", "vStyle"},
            {"setBoxStyle(QVariantMap)", "void", "vStyle"},
            {"setBoxDVIFillColor(QColor)", "void", "fillColor"},
            {"setBoxDVIStyle(QVariantMap)", "void", "vStyle"},
            {"setBoxSimpleStyle(QVariantMap)", "void", "vStyle"},
    };
    int index = 0;
    for (const auto &row : table) {
        QTest::addRow("%d %s", index, row.signature.constData())
                << index << row.signature << row.returnType << row.names
                << (index == 1 || index == 3 || index == 5);
        ++index;
    }
}

void tst_ItemCore::metaObjectListsTheInvokables()
{
    QFETCH(int, index);
    QFETCH(QByteArray, signature);
    QFETCH(QByteArray, returnType);
    QFETCH(QByteArray, parameterNames);
    QFETCH(bool, cloned);

    const QMetaObject &meta = Bll_Painted_Item::staticMetaObject;
    QCOMPARE(meta.methodCount() - meta.methodOffset(), 30);
    const QMetaMethod method = meta.method(meta.methodOffset() + index);
    QCOMPARE(method.methodSignature(), signature);
    QCOMPARE(QByteArray(method.typeName()), returnType);
    QCOMPARE(method.parameterNames().join(','), parameterNames);
    QCOMPARE(method.methodType(), QMetaMethod::Method);
    QCOMPARE(method.access(), QMetaMethod::Public);
    QCOMPARE(method.revision(), 0);
    QCOMPARE(QByteArray(method.tag()), QByteArray());
    QCOMPARE(bool(method.attributes() & QMetaMethod::Cloned), cloned);
}

void tst_ItemCore::metaObjectHasNothingElse()
{
    const QMetaObject &meta = Bll_Painted_Item::staticMetaObject;
    QCOMPARE(meta.className(), "Bll_Painted_Item");
    QCOMPARE(meta.superClass(), &QQuickPaintedItem::staticMetaObject);
    QCOMPARE(meta.propertyCount(), meta.propertyOffset());
    QCOMPARE(meta.enumeratorCount(), meta.enumeratorOffset());
    QCOMPARE(meta.classInfoCount(), meta.classInfoOffset());
    QCOMPARE(meta.constructorCount(), 0);

    Bll_Painted_Item item;
    QObject *object = &item;
    QCOMPARE(qobject_cast<Bll_Painted_Item *>(object), &item);
    QVERIFY(object->inherits("Bll_Painted_Item"));
    QVERIFY(object->inherits("QQuickPaintedItem"));
    QCOMPARE(object->metaObject(), &meta);
}

void tst_ItemCore::clonedEntriesStoreAnEmptyStyle_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<int>("family");
    QTest::newRow("addRectF") << QByteArray("addRectF") << 0;
    QTest::newRow("addLineF") << QByteArray("addLineF") << 1;
    QTest::newRow("addEllipseF") << QByteArray("addEllipseF") << 2;
}

// QML's four-argument call reaches the cloned entry; the record must paint in the
// family style, while the five-argument call keeps its own style.
void tst_ItemCore::clonedEntriesStoreAnEmptyStyle()
{
    QFETCH(QByteArray, method);
    QFETCH(int, family);

    TestItem item;
    const char *name = method.constData();
    const Map redPen {{"color", 7}};
    QVERIFY(QMetaObject::invokeMethod(&item, name, Q_ARG(double, 1), Q_ARG(double, 2),
                                      Q_ARG(double, 30), Q_ARG(double, 40)));
    QVERIFY(QMetaObject::invokeMethod(&item, name, Q_ARG(double, 1), Q_ARG(double, 2),
                                      Q_ARG(double, 30), Q_ARG(double, 40),
                                      Q_ARG(QVariantMap, redPen)));
    RecordingPaintDevice device;
    {
        QPainter painter(&device);
        (item.*familyPainters[family].paint)(&painter);
    }
    const QVector<DrawCall> calls = device.calls(familyPainters[family].styledCall);
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls[0].pen.color(), QColor(Qt::black));
    QCOMPARE(calls[1].pen.color(), QColor(Qt::red));
}

void tst_ItemCore::constructorHandsTheParentOn()
{
    Bll_Painted_Item parent;
    QCOMPARE(parent.parentItem(), nullptr);
    QCOMPARE(parent.parent(), nullptr);
    Bll_Painted_Item child(&parent);
    QCOMPARE(child.parentItem(), &parent);
}

void tst_ItemCore::clearAllReachesAnOverride()
{
    struct CountingItem : Bll_Painted_Item
    {
        int clears = 0;
        void clearAll() override
        {
            ++clears;
            Bll_Painted_Item::clearAll();
        }
    } item;
    QVERIFY(QMetaObject::invokeMethod(&item, "clearAll"));
    QCOMPARE(item.clears, 1);
}

void tst_ItemCore::clearsEmptyTheirContainerOnly_data()
{
    QTest::addColumn<QByteArray>("clear");
    QTest::addColumn<QStringList>("stillPainted");
    // familyPens lists families in key order.
    QTest::newRow("clearRectF") << QByteArray("clearRectF")
                                << QStringList {"box", "dvi", "ellipse", "line", "simple"};
    QTest::newRow("clearLineF") << QByteArray("clearLineF")
                                << QStringList {"box", "dvi", "ellipse", "rect", "simple"};
    QTest::newRow("clearEllipseF")
            << QByteArray("clearEllipseF") << QStringList {"box", "dvi", "line", "rect", "simple"};
    QTest::newRow("clearBoxF") << QByteArray("clearBoxF")
                               << QStringList {"dvi", "ellipse", "line", "rect", "simple"};
    QTest::newRow("clearBoxDVIF") << QByteArray("clearBoxDVIF")
                                  << QStringList {"box", "ellipse", "line", "rect", "simple"};
    QTest::newRow("clearBoxSimpleF") << QByteArray("clearBoxSimpleF")
                                     << QStringList {"box", "dvi", "ellipse", "line", "rect"};
    QTest::newRow("clearAll") << QByteArray("clearAll") << QStringList();
}

void tst_ItemCore::clearsEmptyTheirContainerOnly()
{
    QFETCH(QByteArray, clear);
    QFETCH(QStringList, stillPainted);

    TestItem item;
    item.setRectStyle({{"color", "#010000"}});
    item.setLineStyle({{"color", "#020000"}});
    item.setEllipseStyle({{"color", "#030000"}});
    item.setBoxStyle({{"color", "#040000"}, {"fillColor", "yellow"}});
    item.setBoxDVIStyle({{"color", "#050000"}});
    item.setBoxSimpleStyle({{"color", "#060000"}});
    item.setBoxDVIFillColor(Qt::cyan);
    addOneOfEveryFamily(item);
    const QMap<QString, QPen> styled = familyPens(item);
    QCOMPARE(styled.size(), familyPainters.size());

    QVERIFY(QMetaObject::invokeMethod(&item, clear.constData()));
    QCOMPARE(familyPens(item).keys(), stillPainted);

    addOneOfEveryFamily(item);
    QCOMPARE(familyPens(item), styled);
    QCOMPARE(item.fillColor(), QColor(Qt::cyan));
}

void tst_ItemCore::paintDispatchesParameterThenDviThenSimple()
{
    TestItem item;
    item.addBoxSimpleF("simple", 0, 0, 50, 50);
    item.addBoxDVIF("dvi", 0, 0, 50, 50, 2);
    item.addBoxF("box", 0, 0, 50, 50, 4);
    item.updateBoxDVIF("dvi", {{"topBorder", true}});
    item.setBoxStyle({{"color", "red"}, {"width", 3}});

    RecordingPaintDevice device;
    {
        QPainter painter(&device);
        item.paint(&painter);
    }
    QStringList labels;
    for (const DrawCall &call : device.calls(DrawCall::Text))
        labels.append(call.text);
    QCOMPARE(labels, QStringList({"box", "dvi", "simple"}));
    for (const DrawCall &call : device.calls())
        QVERIFY(call.hints.testFlag(QPainter::Antialiasing));
    // Nothing restores the painter between families: the DVI markers start from
    // the border pen the parameter boxes left.
    const DrawCall marker = device.calls(DrawCall::Polygon).last();
    QCOMPARE(marker.points.size(), 3);
    QCOMPARE(marker.pen.color(), QColor(Qt::red));
    QCOMPARE(marker.pen.width(), 3);
}

void tst_ItemCore::plainItemNeverDrawsShapes()
{
    TestItem item;
    for (const char *setStyle : {"setRectStyle", "setLineStyle", "setEllipseStyle"})
        invokeWithMap(&item, setStyle, {{"brushColor", "red"}, {"color", "blue"}});
    item.addRectF(0, 0, 50, 50, {{"color", "green"}});
    item.addLineF(0, 0, 50, 50);
    item.addEllipseF(0, 0, 50, 50);

    RecordingPaintDevice device;
    {
        QPainter painter(&device);
        item.paint(&painter);
    }
    QCOMPARE(device.calls().size(), 0);
}

void tst_ItemCore::addBoxReplacesTheRecordInItsPlace()
{
    TestItem item;
    item.setBoxStyle(bandStateStyle);
    for (const char *id : {"f", "c", "a", "e", "b", "d"})
        addBox(&item, id, 0, 0, 40, 40, 4);
    updateBox(&item, "a", {{"topBorder", true}, {"leftBorder", true}});
    invokeWithMap(&item, "updateBoxParamF", {{"currentParam", 3}});
    QCOMPARE(describeBoxes(item), "f:---- c:---- a:b-b- e:---- b:---- d:----");

    addBox(&item, "a", 5, 6, 70, 80, 9);
    QCOMPARE(describeBoxes(item), "f:---- c:---- a:---- e:---- b:---- d:----");
    QCOMPARE(updateBox(&item, "a", {{"leftBorder", false}}), 1.0);

    RecordingPaintDevice device;
    {
        QPainter painter(&device);
        item.paintBox(&painter);
    }
    const DrawCall topOfA = device.calls(DrawCall::Polygon).at(2 * 4);
    QCOMPARE(topOfA.points, QPolygonF({{5, 6}, {75, 6}, {66, 15}, {14, 15}}));
}

void tst_ItemCore::updateBoxReportsTheLastNamedSide_data()
{
    QTest::addColumn<QVariantMap>("vBorder");
    QTest::addColumn<double>("result");
    QTest::addColumn<QString>("after");

    // The box starts unpicked with parameters top 2, bottom 3, left 4, right 5.
    QTest::newRow("empty map") << Map() << 1.0 << "a:aaaa";
    QTest::newRow("unknown key") << Map {{"currentParam", 9}} << 1.0 << "a:aaaa";
    QTest::newRow("top") << Map {{"topBorder", true}} << 2.0 << "a:baaa";
    QTest::newRow("top and right")
            << Map {{"rightBorder", true}, {"topBorder", true}} << 5.0 << "a:baab";
    QTest::newRow("left after bottom")
            << Map {{"leftBorder", true}, {"bottomBorder", true}} << 4.0 << "a:abba";
    QTest::newRow("right after left")
            << Map {{"rightBorder", true}, {"leftBorder", true}} << 5.0 << "a:aabb";
    QTest::newRow("false still counts") << Map {{"rightBorder", false}} << 5.0 << "a:aaaa";
    QTest::newRow("number 0 unpicks") << Map {{"bottomBorder", 0}} << 3.0 << "a:aaaa";
    QTest::newRow("string true picks") << Map {{"bottomBorder", "true"}} << 3.0 << "a:abaa";
}

void tst_ItemCore::updateBoxReportsTheLastNamedSide()
{
    QFETCH(QVariantMap, vBorder);
    QFETCH(double, result);
    QFETCH(QString, after);

    TestItem item;
    item.setBoxStyle(bandStateStyle);
    addBox(&item, "a", 0, 0, 40, 40, 4);
    const QStringList sides {"topBorder", "bottomBorder", "leftBorder", "rightBorder"};
    for (int side = 0; side < 4; ++side) {
        updateBox(&item, "a", {{sides[side], true}});
        invokeWithMap(&item, "updateBoxParamF", {{"currentParam", side + 2}});
        updateBox(&item, "a", {{sides[side], false}});
    }
    QCOMPARE(describeBoxes(item), "a:aaaa");

    QCOMPARE(updateBox(&item, "a", vBorder), result);
    QCOMPARE(describeBoxes(item), after);
}

void tst_ItemCore::updateBoxFindsTheExactIdOnly()
{
    TestItem item;
    item.setBoxStyle(bandStateStyle);
    addBox(&item, "a", 0, 0, 40, 40, 4);
    addBox(&item, "", 0, 0, 40, 40, 4);
    invokeWithMap(&item, "updateAllBoxParamF", {{"currentParam", 6}});

    QCOMPARE(updateBox(&item, "A", {{"topBorder", true}}), 1.0);
    QCOMPARE(updateBox(&item, "a ", {{"topBorder", true}}), 1.0);
    // The empty id is an id like any other; its label draws no text.
    QCOMPARE(updateBox(&item, "", {{"rightBorder", true}}), 6.0);
    QCOMPARE(describeBoxes(item), "a:aaaa :aaab");
    QCOMPARE(updateBox(&item, "a", {{"topBorder", true}}), 6.0);
}

void tst_ItemCore::operationsOnEveryBox_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QVariantMap>("vBorder");
    QTest::addColumn<QString>("after");
    QTest::addColumn<double>("topOfA");
    QTest::addColumn<double>("bottomOfA");

    // Every side starts with parameter 7; a has top and left picked, b right.
    const QByteArray param = "updateBoxParamF", allParam = "updateAllBoxParamF",
                     all = "updateAllBoxF";
    const QString unchanged = "a:baba b:aaab";
    QTest::newRow("param: picked sides of every box")
            << param << Map {{"currentParam", 2}} << unchanged << 2.0 << 7.0;
    QTest::newRow("param: 1 takes the parameter off")
            << param << Map {{"currentParam", 1}} << "a:papa b:aaap" << 1.0 << 7.0;
    QTest::newRow("param: numeric string")
            << param << Map {{"currentParam", "2.5"}} << unchanged << 2.5 << 7.0;
    QTest::newRow("param: word gives 0")
            << param << Map {{"currentParam", "abc"}} << unchanged << 0.0 << 7.0;
    QTest::newRow("param: no currentParam")
            << param << Map {{"topBorder", false}} << unchanged << 7.0 << 7.0;
    QTest::newRow("all param: every side")
            << allParam << Map {{"currentParam", 3}} << unchanged << 3.0 << 3.0;
    QTest::newRow("all param: 1 means none")
            << allParam << Map {{"currentParam", 1}} << "a:p-p- b:---p" << 1.0 << 1.0;
    QTest::newRow("all param: no currentParam")
            << allParam << Map {{"topBorder", false}} << unchanged << 7.0 << 7.0;
    QTest::newRow("all: unpick left everywhere")
            << all << Map {{"leftBorder", false}} << "a:baaa b:aaab" << 7.0 << 7.0;
    QTest::newRow("all: pick bottom, parameters stay")
            << all << Map {{"bottomBorder", true}, {"currentParam", 2}} << "a:bbba b:abab" << 7.0
            << 7.0;
    QTest::newRow("all: empty map") << all << Map() << unchanged << 7.0 << 7.0;
}

void tst_ItemCore::operationsOnEveryBox()
{
    QFETCH(QByteArray, method);
    QFETCH(QVariantMap, vBorder);
    QFETCH(QString, after);
    QFETCH(double, topOfA);
    QFETCH(double, bottomOfA);

    TestItem item;
    item.setBoxStyle(bandStateStyle);
    addBox(&item, "a", 0, 0, 40, 40, 4);
    addBox(&item, "b", 50, 0, 40, 40, 4);
    invokeWithMap(&item, "updateAllBoxParamF", {{"currentParam", 7}});
    updateBox(&item, "a", {{"topBorder", true}, {"leftBorder", true}});
    updateBox(&item, "b", {{"rightBorder", true}});
    QCOMPARE(describeBoxes(item), "a:baba b:aaab");

    invokeWithMap(&item, method.constData(), vBorder);
    QCOMPARE(describeBoxes(item), after);
    QCOMPARE(updateBox(&item, "a", {{"topBorder", true}}), topOfA);
    QCOMPARE(updateBox(&item, "a", {{"bottomBorder", false}}), bottomOfA);
}

void tst_ItemCore::clearBoxForgetsBoxesNotStyle()
{
    TestItem item;
    item.setBoxStyle(bandStateStyle);
    addBox(&item, "a", 0, 0, 40, 40, 4);
    invokeWithMap(&item, "updateAllBoxParamF", {{"currentParam", 7}});
    QVERIFY(QMetaObject::invokeMethod(&item, "clearBoxF"));
    QCOMPARE(describeBoxes(item), QString());
    QCOMPARE(updateBox(&item, "a", {{"topBorder", true}}), 1.0);

    addBox(&item, "a", 0, 0, 40, 40, 4);
    QCOMPARE(updateBox(&item, "a", {{"topBorder", true}}), 1.0);
    QCOMPARE(describeBoxes(item), "a:p---");
}

QTEST_MAIN(tst_ItemCore)
#include "tst_item_core.moc"
