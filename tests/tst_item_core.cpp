#include "family_painters.h"

#include <QtTest/QtTest>

#include <utility>

// The item as QML sees it: its meta-object, its lifecycle, and the parameter-box
// store driven through QMetaObject::invokeMethod and observed through painting.
class tst_ItemCore : public QObject
{
    Q_OBJECT

private slots:
    void metaObjectListsTheInvokablesOnly();
    void clonedEntriesPaintInTheFamilyStyle();
    void lifecycle();
    void clearsEmptyTheirContainerOnly_data();
    void clearsEmptyTheirContainerOnly();
    void addBoxReplacesTheRecordInItsPlace();
    void storeRules_data();
    void storeRules();
};

namespace {

using Map = QVariantMap;

void invoke(QObject *item, const char *method, const QVariantMap &map)
{
    QVERIFY2(QMetaObject::invokeMethod(item, method, Q_ARG(QVariantMap, map)), method);
}

double updateBox(QObject *item, const QString &boxId, const QVariantMap &vBorder)
{
    double result = qQNaN(); // stays NaN when the call does not go through
    QMetaObject::invokeMethod(item, "updateBoxF", Q_RETURN_ARG(double, result),
                              Q_ARG(QString, boxId), Q_ARG(QVariantMap, vBorder));
    return result;
}

// Items whose brush colours tell the four band states apart when painted.
void setBandStateStyle(TestItem &item)
{
    item.setBoxStyle({{"brushColor", "#000001"},
                      {"pickBorderColor", "#000002"},
                      {"paramBorderColor", "#000003"},
                      {"pickParamBorderColor", "#000004"}});
}

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

// Each entry as "returnType signature parameterNames", a '*' marking QML's clones.
void tst_ItemCore::metaObjectListsTheInvokablesOnly()
{
    const QString rect = "double,double,double,double", box = "QString," + rect + ",double";
    const QStringList expected {"void addRectF(" + rect + ",QVariantMap) x,y,width,height,vStyle",
                                "void addRectF(" + rect + ") x,y,width,height*",
                                "void addLineF(" + rect + ",QVariantMap) x1,y1,x2,y2,vStyle",
                                "void addLineF(" + rect + ") x1,y1,x2,y2*",
                                "void addEllipseF(" + rect
                                        + ",QVariantMap) x,y,width,height,vStyle",
                                "void addEllipseF(" + rect + ") x,y,width,height*",
                                "void addBoxF(" + box + ") boxId,x,y,width,height,borderWidth",
                                "void addBoxDVIF(" + box + ") boxId,x,y,width,height,borderWidth",
                                "void addBoxSimpleF(QString," + rect + ") boxId,x,y,width,height",
                                "double updateBoxF(QString,QVariantMap) boxId,vBorder",
                                "void updateBoxDVIF(QString,QVariantMap) boxId,vBorder",
                                "void updateAllBoxF(QVariantMap) vBorder",
                                "void updateBoxParamF(QVariantMap) vBorder",
                                "void updateAllBoxParamF(QVariantMap) vBorder",
                                "void updateAllBoxDVIF(QVariantMap) vBorder",
                                "void updateBoxSimpleF(QString,QVariantMap) boxId,vMap",
                                "void clearAll() ",
                                "void clearRectF() ",
                                "void clearLineF() ",
                                "void clearEllipseF() ",
                                "void clearBoxF() ",
                                "void clearBoxDVIF() ",
                                "void clearBoxSimpleF() ",
                                "void setRectStyle(QVariantMap) vStyle",
                                "void setLineStyle(QVariantMap) vStyle",
                                "void setEllipseStyle(QVariantMap) vStyle",
                                "void setBoxStyle(QVariantMap) vStyle",
                                "void setBoxDVIFillColor(QColor) fillColor",
                                "void setBoxDVIStyle(QVariantMap) vStyle",
                                "void setBoxSimpleStyle(QVariantMap) vStyle"};
    const QMetaObject &meta = Bll_Painted_Item::staticMetaObject;
    QStringList actual;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        QCOMPARE(method.methodType(), QMetaMethod::Method);
        QCOMPARE(method.access(), QMetaMethod::Public);
        actual << QString("%1 %2 %3%4")
                          .arg(method.typeName(), method.methodSignature(),
                               method.parameterNames().join(','),
                               method.attributes() & QMetaMethod::Cloned ? "*" : "");
    }
    QCOMPARE(actual, expected);
    QCOMPARE(meta.superClass(), &QQuickPaintedItem::staticMetaObject);
    QCOMPARE(meta.propertyCount(), meta.propertyOffset());
    QCOMPARE(meta.enumeratorCount(), meta.enumeratorOffset());
    Bll_Painted_Item item;
    QObject *object = &item;
    QCOMPARE(qobject_cast<Bll_Painted_Item *>(object), &item);
}

// QML's four-argument call reaches the cloned entry; the record must paint in the
// family style, while the five-argument call keeps its own style.
void tst_ItemCore::clonedEntriesPaintInTheFamilyStyle()
{
    const char *methods[] = {"addRectF", "addLineF", "addEllipseF"}; // familyPainters' order
    const Map redPen {{"color", 7}};
    for (int family = 0; family < 3; ++family) {
        TestItem item;
        const char *method = methods[family];
        QVERIFY(QMetaObject::invokeMethod(&item, method, Q_ARG(double, 1), Q_ARG(double, 2),
                                          Q_ARG(double, 30), Q_ARG(double, 40)));
        QVERIFY(QMetaObject::invokeMethod(&item, method, Q_ARG(double, 1), Q_ARG(double, 2),
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
}

void tst_ItemCore::lifecycle()
{
    Bll_Painted_Item parent;
    QCOMPARE(Bll_Painted_Item(&parent).parentItem(), &parent);

    struct CountingItem : TestItem
    {
        int clears = 0;
        void clearAll() override { ++clears, Bll_Painted_Item::clearAll(); }
    } item;
    QVERIFY(QMetaObject::invokeMethod(&item, "clearAll"));
    QCOMPARE(item.clears, 1);

    // Parameter, then DVI, then simple boxes; shapes only in derived classes. Nothing
    // restores the painter between families: the DVI marker keeps the border pen.
    addOneOfEveryFamily(item);
    item.updateBoxDVIF("dvi", {{"topBorder", true}});
    item.setBoxStyle({{"color", "red"}, {"width", 3}});
    RecordingPaintDevice device;
    {
        QPainter painter(&device);
        item.paint(&painter);
    }
    QStringList calls;
    for (const DrawCall &call : device.calls()) {
        QVERIFY(call.hints.testFlag(QPainter::Antialiasing));
        calls << (call.kind == DrawCall::Text ? call.text : drawCallKindName(call.kind));
    }
    QCOMPARE(calls.join(' '),
             "box Polygon Polygon Polygon Polygon dvi Polygon Polygon Rect simple");
    QCOMPARE(device.calls(DrawCall::Polygon).last().pen, QPen(Qt::red, 3));
}

void tst_ItemCore::clearsEmptyTheirContainerOnly_data()
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

// The styles and the fill colour survive every clear.
void tst_ItemCore::clearsEmptyTheirContainerOnly()
{
    QFETCH(QByteArray, clear);
    QFETCH(QString, cleared);

    TestItem item;
    const char *setters[] = {"setRectStyle", "setLineStyle",   "setEllipseStyle",
                             "setBoxStyle",  "setBoxDVIStyle", "setBoxSimpleStyle"};
    for (int i = 0; i < 6; ++i)
        invoke(&item, setters[i], {{"color", QColor(i + 1, 0, 0)}});
    item.setBoxDVIFillColor(Qt::cyan);
    addOneOfEveryFamily(item);
    const QMap<QString, QPen> styled = familyPens(item);
    QCOMPARE(styled.size(), familyPainters.size());

    QVERIFY(QMetaObject::invokeMethod(&item, clear.constData()));
    QStringList stillPainted = styled.keys();
    if (!stillPainted.removeOne(cleared))
        stillPainted.clear();
    QCOMPARE(familyPens(item).keys(), stillPainted);

    addOneOfEveryFamily(item);
    QCOMPARE(familyPens(item), styled);
    QCOMPARE(item.fillColor(), QColor(Qt::cyan));
}

void tst_ItemCore::addBoxReplacesTheRecordInItsPlace()
{
    TestItem item;
    setBandStateStyle(item);
    for (const char *id : {"f", "c", "a", "e", "b", "d"})
        item.addBoxF(id, 0, 0, 40, 40, 4);
    updateBox(&item, "a", {{"topBorder", true}, {"leftBorder", true}});
    invoke(&item, "updateBoxParamF", {{"currentParam", 3}});
    QCOMPARE(describeBoxes(item), "f:---- c:---- a:b-b- e:---- b:---- d:----");

    item.addBoxF("a", 5, 6, 70, 80, 9);
    QCOMPARE(describeBoxes(item), "f:---- c:---- a:---- e:---- b:---- d:----");
    QCOMPARE(updateBox(&item, "a", {{"leftBorder", false}}), 1.0);
    RecordingPaintDevice device;
    {
        QPainter painter(&device);
        item.paintBox(&painter);
    }
    QCOMPARE(device.calls(DrawCall::Polygon).at(2 * 4).points,
             QPolygonF({{5, 6}, {75, 6}, {66, 15}, {14, 15}}));

    // Cleared boxes are forgotten, the style is not.
    QVERIFY(QMetaObject::invokeMethod(&item, "clearBoxF"));
    QCOMPARE(describeBoxes(item), QString());
    QCOMPARE(updateBox(&item, "a", {{"topBorder", true}}), 1.0);
    item.addBoxF("a", 0, 0, 40, 40, 4);
    updateBox(&item, "a", {{"topBorder", true}});
    QCOMPARE(describeBoxes(item), "a:p---");
}

void tst_ItemCore::storeRules_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QString>("boxId"); // updateBoxF only
    QTest::addColumn<QVariantMap>("vBorder");
    QTest::addColumn<double>("result"); // updateBoxF only
    QTest::addColumn<QString>("after");
    QTest::addColumn<double>("topOfA");
    QTest::addColumn<double>("bottomOfA");

    // a: parameters top 2, bottom 3, left 4, right 5, top and left picked;
    // b and "" (no label): parameter 7 everywhere, b's right picked.
    const QByteArray one = "updateBoxF", param = "updateBoxParamF", allParam = "updateAllBoxParamF",
                     all = "updateAllBoxF";
    const QString unchanged = "a:baba b:aaab :aaaa";
    QTest::newRow("one: empty map") << one << "a" << Map() << 1.0 << unchanged << 2.0 << 3.0;
    QTest::newRow("one: top and right, right named last")
            << one << "a" << Map {{"rightBorder", true}, {"topBorder", false}} << 5.0
            << "a:aabb b:aaab :aaaa" << 2.0 << 3.0;
    QTest::newRow("one: left after bottom")
            << one << "a" << Map {{"leftBorder", true}, {"bottomBorder", "true"}} << 4.0
            << "a:bbba b:aaab :aaaa" << 2.0 << 3.0;
    QTest::newRow("one: other case")
            << one << "A" << Map {{"topBorder", true}} << 1.0 << unchanged << 2.0 << 3.0;
    QTest::newRow("one: empty id is an id")
            << one << "" << Map {{"topBorder", true}} << 7.0 << "a:baba b:aaab :baaa" << 2.0 << 3.0;
    QTest::newRow("param: picked sides of every box")
            << param << "" << Map {{"currentParam", 2.5}} << 0.0 << unchanged << 2.5 << 3.0;
    QTest::newRow("param: 1 takes the parameter off") << param << "" << Map {{"currentParam", 1}}
                                                      << 0.0 << "a:papa b:aaap :aaaa" << 1.0 << 3.0;
    QTest::newRow("param: no currentParam")
            << param << "" << Map {{"topBorder", false}} << 0.0 << unchanged << 2.0 << 3.0;
    QTest::newRow("all param: 1 on every side") << allParam << "" << Map {{"currentParam", 1}}
                                                << 0.0 << "a:p-p- b:---p :----" << 1.0 << 1.0;
    QTest::newRow("all param: no currentParam")
            << allParam << "" << Map {{"topBorder", false}} << 0.0 << unchanged << 2.0 << 3.0;
    QTest::newRow("all: unpick left, pick bottom, parameters stay")
            << all << "" << Map {{"leftBorder", false}, {"bottomBorder", true}, {"currentParam", 2}}
            << 0.0 << "a:bbaa b:abab :abaa" << 2.0 << 3.0;
}

void tst_ItemCore::storeRules()
{
    QFETCH(QByteArray, method);
    QFETCH(QString, boxId);
    QFETCH(QVariantMap, vBorder);
    QFETCH(double, result);
    QFETCH(QString, after);
    QFETCH(double, topOfA);
    QFETCH(double, bottomOfA);

    TestItem item;
    setBandStateStyle(item);
    item.addBoxF("a", 0, 0, 40, 40, 4);
    item.addBoxF("b", 50, 0, 40, 40, 4);
    item.addBoxF("", 100, 0, 40, 40, 4);
    invoke(&item, "updateAllBoxParamF", {{"currentParam", 7}});
    const QStringList sides {"topBorder", "bottomBorder", "leftBorder", "rightBorder"};
    for (int side = 0; side < 4; ++side) {
        updateBox(&item, "a", {{sides[side], true}});
        invoke(&item, "updateBoxParamF", {{"currentParam", side + 2}});
        updateBox(&item, "a", {{sides[side], false}});
    }
    updateBox(&item, "a", {{"topBorder", true}, {"leftBorder", true}});
    updateBox(&item, "b", {{"rightBorder", true}});
    QCOMPARE(describeBoxes(item), "a:baba b:aaab :aaaa");

    if (method == "updateBoxF")
        QCOMPARE(updateBox(&item, boxId, vBorder), result);
    else
        invoke(&item, method.constData(), vBorder);
    QCOMPARE(describeBoxes(item), after);
    QCOMPARE(updateBox(&item, "a", {{"topBorder", true}}), topOfA);
    QCOMPARE(updateBox(&item, "a", {{"bottomBorder", false}}), bottomOfA);
}

QTEST_MAIN(tst_ItemCore)
#include "tst_item_core.moc"
