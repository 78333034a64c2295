#include "test_item.h"

#include <QtGui/QImage>
#include <QtTest/QtTest>

// Simple boxes: paintBoxSimple's whole-pixel rectangles, labels, brushes by state, pens, and
// what a person sees.
class tst_SimpleBoxes : public QObject
{
    Q_OBJECT

private slots:
    void paints_data();
    void paints();
    void brushByState_data();
    void brushByState();
    void renderedStateFills();
};

void tst_SimpleBoxes::paints_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("painted");

    const QString black = "#000000 1 SolidLine", outline = ", " + black + ", found brush";
    const auto row = [&](const char *name, const QString &box, const QStringList &drawn,
                         int pixelSize) {
        const QString font = pixelSize ? QString("Verdana %1px").arg(pixelSize) : "DejaVu Sans 7px";
        QTest::newRow(name) << "addBoxSimpleF box " + box
                            << (QStringList(drawn) << "left " + black + ", found brush, " + font);
    };
    row("11 x 11", "0 0 11 11", {"Rect (0,0) (11,11)" + outline, "Text box 3px, found pen"}, 3);
    row("18 x 18 truncates 4.6", "0 0 18 18",
        {"Rect (0,0) (18,18)" + outline, "Text box 4px, found pen"}, 4);
    row("10 x 50: the label threshold is strict", "0 0 10 50", {"Rect (0,0) (10,50)" + outline}, 0);
    row("10.5 x 300 from -0.5: truncated toward zero", "-0.5 0 10.5 300",
        {"Rect (0,0) (10,300)" + outline, "Text box 3px, found pen"}, 3);
    row("huge: pixel size past 65535", "0 0 1e6 1e6", {"Rect (0,0) (1000000,1000000)" + outline},
        0);
    row("x + w at INT_MAX", "2147483000 0 647.9 10", {"Rect (2147483000,0) (647,10)" + outline}, 0);
    row("1.01 x 1.01", "0 0 1.01 1.01", {"Rect (0,0) (1,1)" + outline}, 0);

    // A box that cannot be drawn is skipped whole, leaving the painter as found.
    const QString untouched = "left found pen, found brush, DejaVu Sans 7px";
    for (const char *box : {"0 0 1 50", "0 0 50 1", "nan 0 50 50", "2147483000 0 648 50"})
        QTest::addRow("not drawn: %s", box)
                << "addBoxSimpleF box " + QString(box) << QStringList {untouched};
    QTest::newRow("the box after a skipped one is drawn as usual")
            << "addBoxSimpleF box nan 0 50 50; addBoxSimpleF next 0 0 20 20"
            << QStringList {"Rect (0,0) (20,20)" + outline, "Text next 5px, found pen",
                            "left " + black + ", found brush, Verdana 5px"};

    // The first box is too small for a label, yet it is outlined like every other box.
    const auto pens = [&](const char *name, const QString &style, const QString &outlinePen,
                          const QString &label) {
        const QString tools = ", " + outlinePen + ", found brush";
        QTest::newRow(name) << "setBoxSimpleStyle " + style
                        + "; addBoxSimpleF small 0 0 5 5; addBoxSimpleF labelled 10 10 50 50"
                            << QStringList {"Rect (0,0) (5,5)" + tools,
                                            "Rect (10,10) (50,50)" + tools,
                                            "Text labelled 11px, " + label,
                                            "left " + outlinePen + ", found brush, Verdana 11px"};
    };
    pens("defaults", "{}", black, "found pen");
    pens("family pen and textColor", "{style:2, width:3, color:7, textColor:9}",
         "#ff0000 3 DashLine", "#0000ff 5 DotLine");
    pens("style 0: filled, not outlined", "{style:0}", "#000000 1 NoPen", "found pen");
    pens("invalid colours keep the painter's colour", "{color:nocolour, textColor:99}",
         "#00ff00 1 SolidLine", "found pen");
}

void tst_SimpleBoxes::paints()
{
    QFETCH(QString, script);
    QFETCH(QStringList, painted);
    QCOMPARE(painting(script, &TestItem::paintBoxSimple), painted);
}

void tst_SimpleBoxes::brushByState_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<QStringList>("brushes"); // of boxes plain, hovered, selected, both, re-added

    const QString red = "#ff0000 SolidPattern", green = "#00ff00 SolidPattern",
                  blue = "#0000ff SolidPattern", found = "found brush";
    QTest::newRow("all colours: selection wins")
            << "{brushColor:7, isHoverColor:#00ff00, isSelectedColor:blue}"
            << QStringList {red, green, blue, blue, red};
    QTest::newRow("default style: the painter's brush")
            << "{}" << QStringList {found, found, found, found, found};
    QTest::newRow("invalid state colours: the painter's brush")
            << "{brushColor:7, isSelectedColor:nocolour}"
            << QStringList {red, found, found, found, red};
}

// Flags belong to one box; a box added again loses them but keeps its place in the order.
void tst_SimpleBoxes::brushByState()
{
    QFETCH(QString, style);
    QFETCH(QStringList, brushes);

    QStringList drawn;
    const QStringList painted =
            painting("setBoxSimpleStyle " + style
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
            drawn << call.section(", ", 2);
    QCOMPARE(drawn, brushes);
}

// What a person sees: each box filled by its state (pixels sampled clear of edges and labels).
void tst_SimpleBoxes::renderedStateFills()
{
    TestItem item;
    run(&item,
        "setBoxSimpleStyle {brushColor:#ff0000, isHoverColor:#00ff00, isSelectedColor:blue};"
        "addBoxSimpleF s 10 10 30 30; addBoxSimpleF h 50 10 30 30;"
        "updateBoxSimpleF s {isSelected:true, isHover:true}; updateBoxSimpleF h {isHover:1}");
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    item.paint(&painter);
    painter.end();
    QCOMPARE(image.pixelColor(14, 14), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(54, 14), QColor(Qt::green));
    QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));
}

QTEST_MAIN(tst_SimpleBoxes)
#include "tst_simple_boxes.moc"
