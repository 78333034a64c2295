#include "test_item.h"

#include <QtTest/QtTest>

// DVI boxes: the switches of the store, and paintBoxDVI's labels, markers, tools and the painter
// state it leaves.
class tst_DviBoxes : public QObject
{
    Q_OBJECT

private slots:
    void switches_data();
    void switches();
    void paints_data();
    void paints();
};

namespace {

const QString allSides = "{topBorder:true, bottomBorder:true, leftBorder:true, rightBorder:true}";

// "a label", "a top", ...: each label, and each side whose markers follow, read from the tips
// of the triangles (b 1: a tip lies 1 inside its side of the 100 x 100 box; "b" is at x 200).
QStringList drawnParts(const QVector<DrawCall> &calls)
{
    QStringList parts;
    for (const DrawCall &call : calls) {
        QString part = call.text + " label";
        if (call.kind == DrawCall::Polygon) {
            const QPointF tip = call.points.at(1);
            const int box = int(tip.x()) / 200;
            const double dx = tip.x() - 200 * box;
            const char *side = tip.y() == 1 ? "top"
                    : tip.y() == 99         ? "bottom"
                    : dx == 1               ? "left"
                                            : "right";
            part = QStringLiteral("%1 %2").arg(QChar('a' + box)).arg(QLatin1String(side));
        }
        if (parts.isEmpty() || parts.last() != part)
            parts << part;
    }
    return parts;
}

} // namespace

void tst_DviBoxes::switches_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("drawn");

    const QString a = "addBoxDVIF a 0 0 100 100 1;", b = "addBoxDVIF b 200 0 100 100 1;";
    QTest::newRow("sides in order top, bottom, left, right") << a + "updateBoxDVIF a "
                    + allSides << QStringList {"a label", "a top", "a bottom", "a left", "a right"};
    QTest::newRow("showBorder false hides every side, and a side does not turn it on")
            << a + "updateBoxDVIF a {showBorder:false}; updateBoxDVIF a " + allSides
            << QStringList {"a label"};
    QTest::newRow("showText 0 hides the label only, numbers convert")
            << a + "updateBoxDVIF a {showText:0, topBorder:1}" << QStringList {"a top"};
    QTest::newRow("other keys are ignored")
            << a + "updateBoxDVIF a {TopBorder:true, top:true, showtext:false}"
            << QStringList {"a label"};
    // Had the first update created "b", adding "b" would keep that earlier place.
    QTest::newRow("unknown or differently cased boxId creates nothing")
            << "updateBoxDVIF b " + allSides + ";" + a + b + "updateBoxDVIF A " + allSides
            << QStringList {"a label", "b label"};
    QTest::newRow("adding again resets the switches and keeps the place") << a + b
                    + "updateBoxDVIF a " + allSides + ";" + a << QStringList {"a label", "b label"};
    QTest::newRow("updateAll reaches every box; showBorder back on restores own sides")
            << a + b
                    + "updateBoxDVIF a {topBorder:true}; updateBoxDVIF b {leftBorder:true};"
                      "updateAllBoxDVIF {showBorder:false};"
                      "updateAllBoxDVIF {showBorder:true, bottomBorder:true}"
            << QStringList {"a label", "a top", "a bottom", "b label", "b bottom", "b left"};
}

void tst_DviBoxes::switches()
{
    QFETCH(QString, script);
    QFETCH(QStringList, drawn);

    TestItem item;
    run(&item, script);
    QCOMPARE(drawnParts(paintWith(item, &TestItem::paintBoxDVI).calls), drawn);
}

void tst_DviBoxes::paints_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("painted");

    const QString a = "addBoxDVIF a 0 0 100 100 1;", top = "updateBoxDVIF a {topBorder:true};";
    const QString black = "#000000 1 SolidLine", found = "found pen, found brush";
    const QStringList markers = {"Polygon (4,3) (5,1) (6,3), ", "Polygon (96,3) (95,1) (94,3), "};
    const auto row = [&](const char *name, const QString &script, const QString &label,
                         const QString &markerTools, const QString &left) {
        QStringList painted;
        if (!label.isEmpty())
            painted << "Text a 21px, " + label;
        if (!markerTools.isEmpty())
            painted << markers[0] + markerTools << markers[1] + markerTools;
        QTest::newRow(name) << script << (painted << "left " + left);
    };

    // Box x 10, y 20, w 100, h 50, b 2: sides top, bottom, left, right, each near end first.
    QTest::newRow("worked example")
            << "addBoxDVIF dvi 10 20 100 50 2; updateBoxDVIF dvi " + allSides
            << QStringList {"Text dvi 11px, " + black,
                            "Polygon (18,26) (20,22) (22,26), " + found,
                            "Polygon (102,26) (100,22) (98,26), " + found,
                            "Polygon (18,64) (20,68) (22,64), " + found,
                            "Polygon (102,64) (100,68) (98,64), " + found,
                            "Polygon (16,28) (12,30) (16,32), " + found,
                            "Polygon (16,62) (12,60) (16,58), " + found,
                            "Polygon (104,28) (108,30) (104,32), " + found,
                            "Polygon (104,62) (108,60) (104,58), " + found,
                            "left " + found + ", Verdana 11px"};
    const QString red = "#ff0000 5 DotLine, #ff0000 SolidPattern";
    row("brushColor: solid markers in the painter's pen",
        "setBoxDVIStyle {brushColor:7};" + a + top, black, red, red + ", Verdana 21px");
    row("invalid brushColor: markers as found", "setBoxDVIStyle {brushColor:''};" + a + top, black,
        found, found + ", Verdana 21px");
    row("style 0: the label is not drawn", "setBoxDVIStyle {style:0};" + a + top, "", found,
        found + ", Verdana 21px");
    row("style, width and colour of the label",
        "setBoxDVIStyle {style:2, width:4, color:#0000ff};" + a + top, "#0000ff 4 DashLine", found,
        found + ", Verdana 21px");
    row("invalid colour keeps the painter's colour", "setBoxDVIStyle {color:nocolour};" + a + top,
        "#00ff00 1 SolidLine", found, found + ", Verdana 21px");
    row("hidden label: its font is set all the same", a + top + "updateBoxDVIF a {showText:false}",
        "", found, found + ", Verdana 21px");
    row("no markers: the marker pen all the same", a, black, "", found + ", Verdana 21px");

    // Sizes: the label above 5 x 5, the markers above 1 x 1.
    const QString untouched = found + ", DejaVu Sans 7px";
    QTest::newRow("6 x 6") << "addBoxDVIF a 0 0 6 6 1"
                           << QStringList {"Text a 2px, " + black,
                                           "left " + found + ", Verdana 2px"};
    QTest::newRow("18 x 18 truncates 4.6")
            << "addBoxDVIF a 0 0 18 18 1"
            << QStringList {"Text a 4px, " + black, "left " + found + ", Verdana 4px"};
    QTest::newRow("5 x 50: the threshold is strict")
            << "addBoxDVIF a 0 0 5 50 1" << QStringList {"left " + untouched};
    QTest::newRow("huge: pixel size past 65535")
            << "addBoxDVIF a 0 0 1e6 1e6 1" << QStringList {"left " + untouched};
    QTest::newRow("1.5 x 100: markers only")
            << "addBoxDVIF a 0 0 1.5 100 1; updateBoxDVIF a {topBorder:true}"
            << QStringList {"Polygon (4,3) (5,1) (6,3), " + found,
                            "Polygon (-2.5,3) (-3.5,1) (-4.5,3), " + found, "left " + untouched};
    // No box passes the size test: the label pen and marker brush stay, set before the boxes.
    QTest::newRow("1 x 100: nothing") << "addBoxDVIF a 0 0 1 100 1;"
                    + top << QStringList {"left " + black + ", found brush, DejaVu Sans 7px"};
    QTest::newRow("no box") << QString()
                            << QStringList {"left " + black + ", found brush, DejaVu Sans 7px"};
}

void tst_DviBoxes::paints()
{
    QFETCH(QString, script);
    QFETCH(QStringList, painted);
    QCOMPARE(painting(script, &TestItem::paintBoxDVI), painted);
}

QTEST_MAIN(tst_DviBoxes)
#include "tst_dvi_boxes.moc"
