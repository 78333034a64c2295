#include "painted.h"
#include "test_item.h"

#include <QtTest/QtTest>

// One call of a switch scenario: '+' addBoxDVIF, 'u' updateBoxDVIF, 'U' updateAllBoxDVIF.
// Boxes sit side by side: box "a" at x 0, "b" at 200.
struct Step
{
    char op;
    QString boxId;
    QVariantMap vBorder = {};
};
Q_DECLARE_METATYPE(Step)
using Steps = QVector<Step>;

namespace {

const QPen foundPen(Qt::green, 5, Qt::DotLine, Qt::RoundCap);
const QBrush foundBrush(Qt::gray, Qt::Dense4Pattern);
const QVariantMap allSides {
        {"topBorder", true}, {"bottomBorder", true}, {"leftBorder", true}, {"rightBorder", true}};

// "a label", "a top", ...: each label, and each side whose markers follow, read from
// the tips of the triangles (b 1: a tip lies 1 inside its side of the 100 x 100 box).
QStringList drawnParts(const QVector<DrawCall> &calls)
{
    QStringList parts;
    for (const DrawCall &call : calls) {
        QString part = call.text + QStringLiteral(" label");
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

class tst_DviBoxes : public QObject
{
    Q_OBJECT

private slots:
    void workedExample();
    void switches_data();
    void switches();
    void pensAndBrush_data();
    void pensAndBrush();
    void labelAndPainterState_data();
    void labelAndPainterState();
};

// Box x 10, y 20, w 100, h 50, b 2: sides top, bottom, left, right, each near end first.
void tst_DviBoxes::workedExample()
{
    TestItem item;
    item.addBoxDVIF(QStringLiteral("dvi"), 10, 20, 100, 50, 2);
    item.updateBoxDVIF(QStringLiteral("dvi"), allSides);
    QCOMPARE(callTexts(paintWith(item, &TestItem::paintBoxDVI).calls),
             QStringList({"Text dvi 11px", "Polygon (18,26) (20,22) (22,26)",
                          "Polygon (102,26) (100,22) (98,26)", "Polygon (18,64) (20,68) (22,64)",
                          "Polygon (102,64) (100,68) (98,64)", "Polygon (16,28) (12,30) (16,32)",
                          "Polygon (16,62) (12,60) (16,58)", "Polygon (104,28) (108,30) (104,32)",
                          "Polygon (104,62) (108,60) (104,58)"}));
}

void tst_DviBoxes::switches_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("drawn");

    QTest::newRow("sides in order top, bottom, left, right")
            << Steps {{'+', "a"}, {'u', "a", allSides}}
            << QStringList {"a label", "a top", "a bottom", "a left", "a right"};
    QTest::newRow("showBorder false hides every side, and a side does not turn it on")
            << Steps {{'+', "a"}, {'u', "a", {{"showBorder", false}}}, {'u', "a", allSides}}
            << QStringList {"a label"};
    QTest::newRow("showText 0 hides the label only, numbers convert")
            << Steps {{'+', "a"}, {'u', "a", {{"showText", 0}, {"topBorder", 1}}}}
            << QStringList {"a top"};
    QTest::newRow("other keys are ignored")
            << Steps {{'+', "a"},
                      {'u', "a", {{"TopBorder", true}, {"top", true}, {"showtext", false}}}}
            << QStringList {"a label"};
    // Had the first update created "b", adding "b" would keep that earlier place.
    QTest::newRow("unknown or differently cased boxId creates nothing")
            << Steps {{'u', "b", allSides}, {'+', "a"}, {'+', "b"}, {'u', "A", allSides}}
            << QStringList {"a label", "b label"};
    QTest::newRow("re-add resets switches and keeps its place")
            << Steps {{'+', "a"}, {'+', "b"}, {'u', "a", allSides}, {'+', "a"}}
            << QStringList {"a label", "b label"};
    QTest::newRow("updateAll reaches every box; showBorder back on restores own sides")
            << Steps {{'+', "a"},
                      {'+', "b"},
                      {'u', "a", {{"topBorder", true}}},
                      {'u', "b", {{"leftBorder", true}}},
                      {'U', {}, {{"showBorder", false}}},
                      {'U', {}, {{"showBorder", true}, {"bottomBorder", true}}}}
            << QStringList {"a label", "a top", "a bottom", "b label", "b bottom", "b left"};
}

void tst_DviBoxes::switches()
{
    QFETCH(Steps, steps);
    QFETCH(QStringList, drawn);

    TestItem item;
    for (const Step &step : steps) {
        if (step.op == '+')
            item.addBoxDVIF(step.boxId, 200 * (step.boxId.at(0).unicode() - 'a'), 0, 100, 100, 1);
        else if (step.op == 'u')
            item.updateBoxDVIF(step.boxId, step.vBorder);
        else
            item.updateAllBoxDVIF(step.vBorder);
    }
    QCOMPARE(drawnParts(paintWith(item, &TestItem::paintBoxDVI).calls), drawn);
}

void tst_DviBoxes::pensAndBrush_data()
{
    QTest::addColumn<QVariantMap>("style");
    QTest::addColumn<QString>("label"); // empty: not drawn
    QTest::addColumn<QString>("marker");

    // Found on the painter: a green dotted pen of width 5 and a gray pattern brush.
    const QString asFound = QStringLiteral("#00ff00 5 DotLine, #a0a0a4 Dense4Pattern");
    const QString black = QStringLiteral("#000000 1 SolidLine");
    QTest::newRow("defaults: markers as found") << QVariantMap() << black << asFound;
    QTest::newRow("brushColor: solid markers") << QVariantMap {{"brushColor", 7}} << black
                                               << "#ff0000 5 DotLine, #ff0000 SolidPattern";
    QTest::newRow("invalid brushColor: markers as found")
            << QVariantMap {{"brushColor", ""}} << black << asFound;
    QTest::newRow("style 0: invisible labels") << QVariantMap {{"style", 0}} << "" << asFound;
    QTest::newRow("style, width and colour")
            << QVariantMap {{"style", 2}, {"width", 4}, {"color", "#0000ff"}}
            << "#0000ff 4 DashLine" << asFound;
    QTest::newRow("invalid colour keeps the found colour")
            << QVariantMap {{"color", "nocolour"}} << "#00ff00 1 SolidLine" << asFound;
}

void tst_DviBoxes::pensAndBrush()
{
    QFETCH(QVariantMap, style);
    QFETCH(QString, label);
    QFETCH(QString, marker);

    TestItem item;
    item.setBoxDVIStyle(style);
    item.addBoxDVIF(QStringLiteral("a"), 0, 0, 100, 100, 1);
    item.updateBoxDVIF(QStringLiteral("a"), {{"topBorder", true}});
    const Painted painted = paintWith(item, &TestItem::paintBoxDVI, foundPen, foundBrush);
    QStringList expected {"Polygon (4,3) (5,1) (6,3), " + marker,
                          "Polygon (96,3) (95,1) (94,3), " + marker};
    if (!label.isEmpty())
        expected.prepend("Text a 21px, " + label);
    QCOMPARE(callTexts(painted.calls, true), expected);
    QCOMPARE(painted.calls.last().pen.capStyle(), Qt::RoundCap);
    QCOMPARE(penText(painted.pen) + ", " + brushText(painted.brush), marker);
}

void tst_DviBoxes::labelAndPainterState_data()
{
    QTest::addColumn<double>("width"); // 0: no box at all
    QTest::addColumn<double>("height");
    QTest::addColumn<QVariantMap>("switches");
    QTest::addColumn<int>("drawCalls");
    QTest::addColumn<int>(
            "pixelSize"); // of the label and the font left; 0: the font stays as found

    const QVariantMap all = allSides;
    QTest::newRow("6 x 6") << 6.0 << 6.0 << all << 9 << 2;
    QTest::newRow("18 x 18 truncates 4.6") << 18.0 << 18.0 << all << 9 << 4;
    QTest::newRow("5 x 50: threshold is strict") << 5.0 << 50.0 << all << 8 << 0;
    QTest::newRow("huge: pixel size past 65535") << 1e6 << 1e6 << all << 8 << 0;
    QTest::newRow("label only: marker pen all the same")
            << 100.0 << 100.0 << QVariantMap() << 1 << 21;
    QTest::newRow("hidden label: font set all the same")
            << 100.0 << 100.0 << QVariantMap {{"showText", false}} << 0 << 21;
    // No box passes the size test: the label pen stays, set before the first box.
    QTest::newRow("1 x 100: untouched") << 1.0 << 100.0 << all << 0 << 0;
    QTest::newRow("empty table") << 0.0 << 0.0 << all << 0 << 0;
}

void tst_DviBoxes::labelAndPainterState()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(QVariantMap, switches);
    QFETCH(int, drawCalls);
    QFETCH(int, pixelSize);

    TestItem item;
    item.setBoxDVIStyle({{"color", 9}, {"brushColor", 7}});
    if (width != 0) {
        item.addBoxDVIF(QStringLiteral("a"), 0, 0, width, height, 1);
        item.updateBoxDVIF(QStringLiteral("a"), switches);
    }
    const Painted painted = paintWith(item, &TestItem::paintBoxDVI, foundPen, foundBrush);

    QCOMPARE(painted.calls.size(), drawCalls);
    const bool untouched = width <= 1;
    QCOMPARE(penText(painted.pen), untouched ? "#0000ff 1 SolidLine" : "#ff0000 5 DotLine");
    QCOMPARE(brushText(painted.brush), QStringLiteral("#ff0000 SolidPattern"));
    QCOMPARE(painted.font.pixelSize(), pixelSize ? pixelSize : painted.foundFont.pixelSize());
    QCOMPARE(painted.font.family(), pixelSize ? "Verdana" : painted.foundFont.family());
    if (drawCalls % 2) // the label leads
        QCOMPARE(painted.calls.first().font.pixelSize(), pixelSize);
}

QTEST_MAIN(tst_DviBoxes)
#include "tst_dvi_boxes.moc"
