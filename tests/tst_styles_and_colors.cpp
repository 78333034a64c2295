#include "family_painters.h"

#include <QtTest/QtTest>

#include <climits>

// Colour values, the default style maps, the style merges and the item's fill
// colour, observed as a caller of the item would see them.
class tst_StylesAndColors : public QObject
{
    Q_OBJECT

private slots:
    void transformColor_data();
    void transformColor();
    void defaultStylesPaintSolidBlackPens_data();
    void defaultStylesPaintSolidBlackPens();
    void mergedStylesPaint_data();
    void mergedStylesPaint();
    void fillColorFollowsTheLastCall_data();
    void fillColorFollowsTheLastCall();
};

namespace {

using Map = QVariantMap;

// The pen that the family paints with, on a painter that holds a magenta dotted
// pen of width 5, so that a pen the family fails to set shows.
QPen familyPen(TestItem &item, const QString &family)
{
    addOneOfEveryFamily(item);
    const QPen noneDrawn(Qt::yellow, 99); // no row expects it
    return familyPens(item, QPen(Qt::magenta, 5, Qt::DotLine)).value(family, noneDrawn);
}

} // namespace

void tst_StylesAndColors::transformColor_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QColor>("color");

    QTest::newRow("int 2 black") << QVariant(2) << QColor(Qt::black);
    QTest::newRow("int 7 red") << QVariant(7) << QColor(Qt::red);
    QTest::newRow("int 19 transparent") << QVariant(19) << QColor(Qt::transparent);
    QTest::newRow("int 0 color0") << QVariant(0) << QColor(Qt::color0);
    QTest::newRow("int -1") << QVariant(-1) << QColor();
    QTest::newRow("int 20") << QVariant(20) << QColor();
    QTest::newRow("int 24") << QVariant(24) << QColor();
    QTest::newRow("int INT_MAX") << QVariant(INT_MAX) << QColor();
    QTest::newRow("int INT_MIN") << QVariant(INT_MIN) << QColor();
    QTest::newRow("#ff0000") << QVariant("#ff0000") << QColor(Qt::red);
    QTest::newRow("name") << QVariant("darkcyan") << QColor(0, 0x8b, 0x8b);
    QTest::newRow("#argb keeps alpha") << QVariant("#80102030") << QColor(0x10, 0x20, 0x30, 0x80);
    QTest::newRow("empty string") << QVariant("") << QColor();
    QTest::newRow("nonsense") << QVariant("nonsense") << QColor();
    QTest::newRow("QColor") << QVariant(QColor(1, 2, 3)) << QColor(1, 2, 3);
    QTest::newRow("QColor with alpha") << QVariant(QColor(1, 2, 3, 4)) << QColor(1, 2, 3, 4);
    QTest::newRow("QColor invalid") << QVariant(QColor()) << QColor();
    QTest::newRow("double 2.0") << QVariant(2.0) << QColor();
    QTest::newRow("uint 2") << QVariant(2u) << QColor();
    QTest::newRow("qlonglong 2") << QVariant(qlonglong(2)) << QColor();
    QTest::newRow("bool") << QVariant(true) << QColor();
    QTest::newRow("map") << QVariant(Map {{"color", 2}}) << QColor();
    QTest::newRow("invalid QVariant") << QVariant() << QColor();
}

void tst_StylesAndColors::transformColor()
{
    QFETCH(QVariant, value);
    QFETCH(QColor, color);

    const QColor result = Bll_Painted_Item::getTransformColor(value);
    QCOMPARE(result.isValid(), color.isValid());
    if (color.isValid())
        QCOMPARE(result.rgba(), color.rgba());
}

void tst_StylesAndColors::defaultStylesPaintSolidBlackPens_data()
{
    QTest::addColumn<QString>("family");
    for (const FamilyPainter &family : familyPainters)
        QTest::newRow(qPrintable(family.name)) << family.name;
}

void tst_StylesAndColors::defaultStylesPaintSolidBlackPens()
{
    QFETCH(QString, family);

    TestItem item;
    const QPen pen = familyPen(item, family);
    QCOMPARE(pen.style(), Qt::SolidLine);
    QCOMPARE(pen.width(), 1);
    QCOMPARE(pen.color(), QColor(Qt::black));
}

void tst_StylesAndColors::mergedStylesPaint_data()
{
    QTest::addColumn<QByteArray>("setter");
    QTest::addColumn<QVariantList>("styles"); // passed to the setter one after another
    QTest::addColumn<QString>("family");
    QTest::addColumn<QPen>("pen");

    const QPen black(Qt::black, 1, Qt::SolidLine);
    const QPen none(Qt::black, 1, Qt::NoPen);
    QTest::newRow("rect: colour name, other keys ignored")
            << QByteArray("setRectStyle")
            << QVariantList {Map {{"color", "blue"}, {"textColor", "red"}, {"Color", "red"}}}
            << "rect" << QPen(Qt::blue, 1, Qt::SolidLine);
    QTest::newRow("rect: later map keeps earlier keys")
            << QByteArray("setRectStyle")
            << QVariantList {Map {{"color", "blue"}}, Map {{"width", 2}, {"style", 2}}} << "rect"
            << QPen(Qt::blue, 2, Qt::DashLine);
    QTest::newRow("rect: other families keep theirs")
            << QByteArray("setRectStyle") << QVariantList {Map {{"color", "blue"}, {"width", 4}}}
            << "box" << black;
    QTest::newRow("line: empty map changes nothing")
            << QByteArray("setLineStyle") << QVariantList {Map()} << "line" << black;
    QTest::newRow("ellipse: style and width")
            << QByteArray("setEllipseStyle") << QVariantList {Map {{"style", 3}, {"width", 3}}}
            << "ellipse" << QPen(Qt::black, 3, Qt::DotLine);
    QTest::newRow("dvi: textColor is no dvi key")
            << QByteArray("setBoxDVIStyle") << QVariantList {Map {{"textColor", "red"}}} << "dvi"
            << black;
    QTest::newRow("dvi: colour number")
            << QByteArray("setBoxDVIStyle") << QVariantList {Map {{"color", 7}}} << "dvi"
            << QPen(Qt::red, 1, Qt::SolidLine);
    QTest::newRow("box: style as a word")
            << QByteArray("setBoxStyle") << QVariantList {Map {{"style", "dash"}}} << "box" << none;
    QTest::newRow("box: style past the pen styles")
            << QByteArray("setBoxStyle") << QVariantList {Map {{"style", 99}}} << "box" << none;
    QTest::newRow("box: negative style")
            << QByteArray("setBoxStyle") << QVariantList {Map {{"style", -1}}} << "box" << none;
    QTest::newRow("box: width 2.7 through toInt")
            << QByteArray("setBoxStyle") << QVariantList {Map {{"width", 2.7}}} << "box"
            << QPen(Qt::black, 3, Qt::SolidLine);
    QTest::newRow("simple: colour and width")
            << QByteArray("setBoxSimpleStyle")
            << QVariantList {Map {{"color", QColor(Qt::green)}, {"width", 2}}} << "simple"
            << QPen(Qt::green, 2, Qt::SolidLine);
}

void tst_StylesAndColors::mergedStylesPaint()
{
    QFETCH(QByteArray, setter);
    QFETCH(QVariantList, styles);
    QFETCH(QString, family);
    QFETCH(QPen, pen);

    TestItem item;
    for (const QVariant &style : styles)
        QVERIFY(QMetaObject::invokeMethod(&item, setter.constData(),
                                          Q_ARG(QVariantMap, style.toMap())));
    const QPen painted = familyPen(item, family);
    QCOMPARE(painted.style(), pen.style());
    QCOMPARE(painted.width(), pen.width());
    QCOMPARE(painted.color(), pen.color());
}

void tst_StylesAndColors::fillColorFollowsTheLastCall_data()
{
    QTest::addColumn<QStringList>("calls"); // "box:<fillColor>", "simple:...", "dvi:<colour>"
    QTest::addColumn<QColor>("fillColor");

    const QColor transparent(Qt::transparent);
    QTest::newRow("box style without fillColor") << QStringList {"box:"} << transparent;
    QTest::newRow("box style fillColor") << QStringList {"box:red"} << QColor(Qt::red);
    QTest::newRow("box style invalid fillColor") << QStringList {"box:nonsense"} << transparent;
    QTest::newRow("box style fillColor with alpha")
            << QStringList {"box:#80ff0000"} << QColor(255, 0, 0, 0x80);
    QTest::newRow("box style again restores stored fillColor")
            << QStringList {"box:red", "dvi:blue", "box:"} << QColor(Qt::red);
    QTest::newRow("simple after box")
            << QStringList {"box:red", "simple:#00ff00"} << QColor(Qt::green);
    QTest::newRow("simple without fillColor after box")
            << QStringList {"box:red", "simple:"} << transparent;
    QTest::newRow("dvi after simple")
            << QStringList {"simple:#00ff00", "dvi:blue"} << QColor(Qt::blue);
    QTest::newRow("dvi invalid colour") << QStringList {"box:red", "dvi:"} << transparent;
}

void tst_StylesAndColors::fillColorFollowsTheLastCall()
{
    QFETCH(QStringList, calls);
    QFETCH(QColor, fillColor);

    Bll_Painted_Item item;
    for (const QString &call : calls) {
        const QString family = call.section(':', 0, 0), value = call.section(':', 1);
        const Map style = value.isEmpty() ? Map() : Map {{"fillColor", value}};
        if (family == "dvi")
            QVERIFY(QMetaObject::invokeMethod(&item, "setBoxDVIFillColor",
                                              Q_ARG(QColor, QColor(value))));
        else
            QVERIFY(QMetaObject::invokeMethod(&item,
                                              family == "box" ? "setBoxStyle" : "setBoxSimpleStyle",
                                              Q_ARG(QVariantMap, style)));
    }
    QCOMPARE(item.fillColor().isValid(), true);
    QCOMPARE(item.fillColor().rgba(), fillColor.rgba());
}

QTEST_MAIN(tst_StylesAndColors)
#include "tst_styles_and_colors.moc"
