#include "family_painters.h"
#include "painted.h"

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
    void stylesPaint_data();
    void stylesPaint();
    void fillColorFollowsTheLastCall_data();
    void fillColorFollowsTheLastCall();
};

using Map = QVariantMap;

void tst_StylesAndColors::transformColor_data()
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

void tst_StylesAndColors::transformColor()
{
    QFETCH(QVariant, value);
    QFETCH(QString, color);
    const QColor result = Bll_Painted_Item::getTransformColor(value);
    QCOMPARE(result.isValid() ? result.name(QColor::HexArgb) : "invalid", color);
}

void tst_StylesAndColors::stylesPaint_data()
{
    QTest::addColumn<QByteArray>("setter");
    QTest::addColumn<QVariantList>("styles"); // passed to the setter one after another
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("pen");

    for (const FamilyPainter &family : familyPainters)
        QTest::addRow("default %s", qPrintable(family.name))
                << QByteArray("setRectStyle") << QVariantList() << family.name
                << "#000000 1 SolidLine";
    QTest::newRow("rect: later map keeps earlier keys, others ignored")
            << QByteArray("setRectStyle")
            << QVariantList {Map {{"color", "blue"}, {"textColor", "red"}},
                             Map {{"width", 2}, {"style", 2}, {"Color", "red"}}}
            << "rect"
            << "#0000ff 2 DashLine";
    QTest::newRow("rect: other families keep theirs")
            << QByteArray("setRectStyle") << QVariantList {Map {{"color", "blue"}}} << "box"
            << "#000000 1 SolidLine";
    QTest::newRow("dvi: colour number")
            << QByteArray("setBoxDVIStyle") << QVariantList {Map {{"color", 7}}} << "dvi"
            << "#ff0000 1 SolidLine";
    QTest::newRow("box: style past the pen styles")
            << QByteArray("setBoxStyle") << QVariantList {Map {{"style", 99}}} << "box"
            << "#000000 1 NoPen";
    QTest::newRow("box: negative style")
            << QByteArray("setBoxStyle") << QVariantList {Map {{"style", -1}}} << "box"
            << "#000000 1 NoPen";
    QTest::newRow("simple: colour and width 2.7 through toInt")
            << QByteArray("setBoxSimpleStyle")
            << QVariantList {Map {{"color", QColor(Qt::green)}, {"width", 2.7}}} << "simple"
            << "#00ff00 3 SolidLine";
}

// The family paints on a painter holding a magenta dotted pen of width 5, so that a
// pen the family fails to set shows.
void tst_StylesAndColors::stylesPaint()
{
    QFETCH(QByteArray, setter);
    QFETCH(QVariantList, styles);
    QFETCH(QString, family);
    QFETCH(QString, pen);

    TestItem item;
    for (const QVariant &style : styles)
        QVERIFY(QMetaObject::invokeMethod(&item, setter.constData(),
                                          Q_ARG(QVariantMap, style.toMap())));
    addOneOfEveryFamily(item);
    const QMap<QString, QPen> pens = familyPens(item, QPen(Qt::magenta, 5, Qt::DotLine));
    QCOMPARE(pens.contains(family) ? penText(pens[family]) : "nothing drawn", pen);
}

void tst_StylesAndColors::fillColorFollowsTheLastCall_data()
{
    QTest::addColumn<QStringList>("calls"); // "box:<fillColor>", "simple:...", "dvi:<colour>"
    QTest::addColumn<QString>("fillColor");

    QTest::newRow("box style without fillColor") << QStringList {"box:"} << "#00000000";
    QTest::newRow("box style invalid fillColor") << QStringList {"box:nonsense"} << "#00000000";
    QTest::newRow("box style fillColor with alpha") << QStringList {"box:#80ff0000"} << "#80ff0000";
    QTest::newRow("box style again restores stored fillColor")
            << QStringList {"box:red", "dvi:blue", "box:"} << "#ffff0000";
    QTest::newRow("simple without fillColor after box")
            << QStringList {"box:red", "simple:"} << "#00000000";
    QTest::newRow("dvi after simple") << QStringList {"simple:#00ff00", "dvi:blue"} << "#ff0000ff";
    QTest::newRow("dvi invalid colour") << QStringList {"box:red", "dvi:"} << "#00000000";
}

void tst_StylesAndColors::fillColorFollowsTheLastCall()
{
    QFETCH(QStringList, calls);
    QFETCH(QString, fillColor);

    Bll_Painted_Item item;
    for (const QString &call : calls) {
        const QString family = call.section(':', 0, 0), value = call.section(':', 1);
        if (family == "dvi")
            item.setBoxDVIFillColor(QColor(value));
        else if (family == "box")
            item.setBoxStyle(value.isEmpty() ? Map() : Map {{"fillColor", value}});
        else
            item.setBoxSimpleStyle(value.isEmpty() ? Map() : Map {{"fillColor", value}});
    }
    QCOMPARE(item.fillColor().name(QColor::HexArgb), fillColor);
}

QTEST_MAIN(tst_StylesAndColors)
#include "tst_styles_and_colors.moc"
