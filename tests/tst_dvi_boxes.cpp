#include "painted.h"
#include "test_item.h"

#include <QtTest/QtTest>

#include <cmath>

// One call of a switch scenario: boxes sit side by side, box "a" at x 0, "b" at 200, "c" at 400.
struct Step
{
    enum Op { Add, Update, UpdateAll } op;
    QString boxId;
    QVariantMap vBorder;
};
Q_DECLARE_METATYPE(Step)
using Steps = QVector<Step>;

namespace {

const QPen foundPen(Qt::green, 5, Qt::DotLine, Qt::RoundCap);
const QBrush foundBrush(Qt::gray, Qt::Dense4Pattern);

Step add(const QString &boxId)
{
    return {Step::Add, boxId, {}};
}
Step update(const QString &boxId, const QVariantMap &vBorder)
{
    return {Step::Update, boxId, vBorder};
}
Step updateAll(const QVariantMap &vBorder)
{
    return {Step::UpdateAll, {}, vBorder};
}

const QVariantMap allSides {
        {"topBorder", true}, {"bottomBorder", true}, {"leftBorder", true}, {"rightBorder", true}};

// "a label", "a top", ...: each label, and each side whose markers follow, read from
// the tips of the triangles (b 1: a tip lies 1 inside its side of the 100 x 100 box).
QStringList drawnParts(const QVector<DrawCall> &calls)
{
    QStringList parts;
    for (const DrawCall &call : calls) {
        QString part;
        if (call.kind == DrawCall::Text) {
            part = call.text + QStringLiteral(" label");
        } else {
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

QPolygonF triangle(double x1, double y1, double x2, double y2, double x3, double y3)
{
    return QPolygonF({QPointF(x1, y1), QPointF(x2, y2), QPointF(x3, y3)});
}

} // namespace

class tst_DviBoxes : public QObject
{
    Q_OBJECT

private slots:
    void markerGeometry_data();
    void markerGeometry();
    void switches_data();
    void switches();
    void pensAndBrush_data();
    void pensAndBrush();
    void labelAndPainterState_data();
    void labelAndPainterState();
    void paintHandsStateToTheNextFamily();
};

void tst_DviBoxes::markerGeometry_data()
{
    QTest::addColumn<double>("borderWidth");
    QTest::addColumn<QVector<QPolygonF>>("triangles");

    // Box x 10, y 20, w 100, h 50: sides top, bottom, left, right, each near-end first.
    QTest::newRow("worked example, b 2")
            << 2.0
            << QVector<QPolygonF> {
                       triangle(18, 26, 20, 22, 22, 26),    triangle(102, 26, 100, 22, 98, 26),
                       triangle(18, 64, 20, 68, 22, 64),    triangle(102, 64, 100, 68, 98, 64),
                       triangle(16, 28, 12, 30, 16, 32),    triangle(16, 62, 12, 60, 16, 58),
                       triangle(104, 28, 108, 30, 104, 32), triangle(104, 62, 108, 60, 104, 58),
               };
    // Degenerate triangles on the corners, drawn all the same.
    QTest::newRow("b 0 collapses onto the corners")
            << 0.0
            << QVector<QPolygonF> {
                       triangle(10, 20, 10, 20, 10, 20),    triangle(110, 20, 110, 20, 110, 20),
                       triangle(10, 70, 10, 70, 10, 70),    triangle(110, 70, 110, 70, 110, 70),
                       triangle(10, 20, 10, 20, 10, 20),    triangle(10, 70, 10, 70, 10, 70),
                       triangle(110, 20, 110, 20, 110, 20), triangle(110, 70, 110, 70, 110, 70),
               };
}

void tst_DviBoxes::markerGeometry()
{
    QFETCH(double, borderWidth);
    QFETCH(QVector<QPolygonF>, triangles);

    TestItem item;
    item.addBoxDVIF(QStringLiteral("dvi"), 10, 20, 100, 50, borderWidth);
    item.updateBoxDVIF(QStringLiteral("dvi"), allSides);
    const Painted painted = paintWith(item, &TestItem::paintBoxDVI);

    QCOMPARE(painted.calls.size(), 1 + triangles.size());
    const DrawCall &label = painted.calls.first();
    QCOMPARE(label.kind, DrawCall::Text);
    QCOMPARE(label.text, QStringLiteral("dvi"));
    QCOMPARE(label.font.family(), QStringLiteral("Verdana"));
    QCOMPARE(label.font.pixelSize(), 11);
    for (int i = 0; i < triangles.size(); ++i) {
        const DrawCall &marker = painted.calls.at(1 + i);
        QCOMPARE(marker.kind, DrawCall::Polygon);
        QCOMPARE(marker.points, triangles.at(i));
        QCOMPARE(marker.polygonMode, QPaintEngine::OddEvenMode);
    }
}

void tst_DviBoxes::switches_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("drawn");

    const QString a = QStringLiteral("a"), b = QStringLiteral("b");
    QTest::newRow("new boxes: labels, no markers")
            << Steps {add(a), add(b)} << QStringList {"a label", "b label"};
    QTest::newRow("sides in order top, bottom, left, right")
            << Steps {add(a), update(a, allSides)}
            << QStringList {"a label", "a top", "a bottom", "a left", "a right"};
    QVariantMap allButMaster = allSides;
    allButMaster.insert(QStringLiteral("showBorder"), false);
    QTest::newRow("showBorder false hides every side")
            << Steps {add(a), update(a, allButMaster)} << QStringList {"a label"};
    QTest::newRow("topBorder alone leaves showBorder off")
            << Steps {add(a), update(a, {{"showBorder", false}}), update(a, {{"topBorder", true}})}
            << QStringList {"a label"};
    QTest::newRow("showText false hides the label only")
            << Steps {add(a), update(a, {{"showText", false}, {"topBorder", true}})}
            << QStringList {"a top"};
    QTest::newRow("numbers convert with toBool")
            << Steps {add(a), update(a, {{"leftBorder", 1}, {"rightBorder", 0.5}, {"showText", 0}})}
            << QStringList {"a left", "a right"};
    QTest::newRow("other keys are ignored")
            << Steps {add(a), update(a, {{"TopBorder", true}, {"top", true}, {"showtext", false}})}
            << QStringList {"a label"};
    // Had the first update created "b", adding "b" would keep that earlier place.
    QTest::newRow("unknown or differently cased boxId creates nothing")
            << Steps {update(b, {{"topBorder", true}}), add(a), add(b),
                      update(QStringLiteral("A"), {{"topBorder", true}})}
            << QStringList {"a label", "b label"};
    QTest::newRow("re-add resets switches and keeps its place")
            << Steps {add(a), add(b), update(a, allSides), add(a)}
            << QStringList {"a label", "b label"};
    QTest::newRow("updateAll reaches every box")
            << Steps {add(a), add(b), updateAll({{"topBorder", true}})}
            << QStringList {"a label", "a top", "b label", "b top"};
    QTest::newRow("showBorder back on restores each box's own sides")
            << Steps {add(a),
                      add(b),
                      update(a, {{"topBorder", true}}),
                      update(b, {{"leftBorder", true}}),
                      updateAll({{"showBorder", false}}),
                      updateAll({{"showBorder", true}})}
            << QStringList {"a label", "a top", "b label", "b left"};
}

void tst_DviBoxes::switches()
{
    QFETCH(Steps, steps);
    QFETCH(QStringList, drawn);

    TestItem item;
    for (const Step &step : steps) {
        switch (step.op) {
        case Step::Add:
            item.addBoxDVIF(step.boxId, 200 * (step.boxId.at(0).unicode() - 'a'), 0, 100, 100, 1);
            break;
        case Step::Update:
            item.updateBoxDVIF(step.boxId, step.vBorder);
            break;
        case Step::UpdateAll:
            item.updateAllBoxDVIF(step.vBorder);
            break;
        }
    }
    QCOMPARE(drawnParts(paintWith(item, &TestItem::paintBoxDVI).calls), drawn);
}

void tst_DviBoxes::pensAndBrush_data()
{
    QTest::addColumn<QVariantMap>("style");
    QTest::addColumn<QString>("labelPen");
    QTest::addColumn<QString>("markerPen");
    QTest::addColumn<QString>("markerBrush");

    // The painter is found holding a green dotted pen of width 5 and a gray pattern brush.
    const QString found = QStringLiteral("#00ff00 5 DotLine");
    const QString foundFill = QStringLiteral("#a0a0a4 Dense4Pattern");
    const QString defaultLabel = QStringLiteral("#000000 1 SolidLine");
    QTest::newRow("defaults: markers as found")
            << QVariantMap() << defaultLabel << found << foundFill;
    QTest::newRow("brushColor: solid markers")
            << QVariantMap {{"brushColor", 7}} << defaultLabel << "#ff0000 5 DotLine"
            << "#ff0000 SolidPattern";
    QTest::newRow("invalid brushColor: markers as found")
            << QVariantMap {{"brushColor", ""}} << defaultLabel << found << foundFill;
    QTest::newRow("style 0: invisible labels")
            << QVariantMap {{"style", 0}} << "#000000 1 NoPen" << found << foundFill;
    QTest::newRow("style as a word reads 0")
            << QVariantMap {{"style", "dash"}} << "#000000 1 NoPen" << found << foundFill;
    QTest::newRow("style 7, past the pen styles")
            << QVariantMap {{"style", 7}} << "#000000 1 NoPen" << found << foundFill;
    QTest::newRow("style -1") << QVariantMap {{"style", -1}} << "#000000 1 NoPen" << found
                              << foundFill;
    QTest::newRow("style, width and colour")
            << QVariantMap {{"style", 2}, {"width", 4}, {"color", "#0000ff"}}
            << "#0000ff 4 DashLine" << found << foundFill;
    QTest::newRow("invalid colour keeps the found colour")
            << QVariantMap {{"color", "nocolour"}} << "#00ff00 1 SolidLine" << found << foundFill;
    QTest::newRow("colour number 20 is invalid")
            << QVariantMap {{"color", 20}} << "#00ff00 1 SolidLine" << found << foundFill;
}

void tst_DviBoxes::pensAndBrush()
{
    QFETCH(QVariantMap, style);
    QFETCH(QString, labelPen);
    QFETCH(QString, markerPen);
    QFETCH(QString, markerBrush);

    TestItem item;
    item.setBoxDVIStyle(style);
    // With no box the tools stay on the painter as built; a NoPen label is not drawn at all.
    const Painted empty = paintWith(item, &TestItem::paintBoxDVI, foundPen, foundBrush);
    QCOMPARE(penText(empty.pen), labelPen);
    QCOMPARE(brushText(empty.brush), markerBrush);

    item.addBoxDVIF(QStringLiteral("a"), 0, 0, 100, 100, 1);
    item.updateBoxDVIF(QStringLiteral("a"), {{"topBorder", true}});
    const Painted painted = paintWith(item, &TestItem::paintBoxDVI, foundPen, foundBrush);
    const QVector<DrawCall> labels = painted.calls.mid(0, painted.calls.size() - 2);
    QCOMPARE(penTexts(labels), labelPen.endsWith("NoPen") ? QStringList() : QStringList(labelPen));
    const QVector<DrawCall> markers = painted.calls.mid(labels.size());
    QCOMPARE(penTexts(markers), QStringList({markerPen, markerPen}));
    QCOMPARE(brushTexts(markers), QStringList({markerBrush, markerBrush}));
    QCOMPARE(markers.first().pen.capStyle(), foundPen.capStyle());
    QCOMPARE(penText(painted.pen), markerPen);
    QCOMPARE(brushText(painted.brush), markerBrush);
}

void tst_DviBoxes::labelAndPainterState_data()
{
    QTest::addColumn<double>("width"); // 0: no box at all
    QTest::addColumn<double>("height");
    QTest::addColumn<QVariantMap>("switches");
    QTest::addColumn<int>("drawCalls");
    QTest::addColumn<QString>("pen"); // left on the painter
    QTest::addColumn<int>("pixelSize"); // of the label font; 0: the font stays as found

    const QString labelPen = QStringLiteral("#0000ff 1 SolidLine");
    const QString markerPen = QStringLiteral("#ff0000 5 DotLine");
    const QVariantMap all = allSides;
    QTest::newRow("6 x 6") << 6.0 << 6.0 << all << 9 << markerPen << 2;
    QTest::newRow("18 x 18 truncates 4.6") << 18.0 << 18.0 << all << 9 << markerPen << 4;
    QTest::newRow("100 x 40") << 100.0 << 40.0 << all << 9 << markerPen << 9;
    QTest::newRow("5.5 x 50") << 5.5 << 50.0 << all << 9 << markerPen << 2;
    QTest::newRow("5 x 50: threshold is strict") << 5.0 << 50.0 << all << 8 << markerPen << 0;
    QTest::newRow("4 x 100: markers only") << 4.0 << 100.0 << all << 8 << markerPen << 0;
    QTest::newRow("huge: pixel size past 65535") << 1e6 << 1e6 << all << 8 << markerPen << 0;
    QTest::newRow("label only: marker pen all the same")
            << 100.0 << 100.0 << QVariantMap() << 1 << markerPen << 21;
    QTest::newRow("hidden label: font set all the same")
            << 100.0 << 100.0 << QVariantMap {{"showText", false}} << 0 << markerPen << 21;
    QTest::newRow("1 x 100: untouched") << 1.0 << 100.0 << all << 0 << labelPen << 0;
    QTest::newRow("NaN height: untouched") << 100.0 << qQNaN() << all << 0 << labelPen << 0;
    QTest::newRow("empty table") << 0.0 << 0.0 << all << 0 << labelPen << 0;
}

void tst_DviBoxes::labelAndPainterState()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(QVariantMap, switches);
    QFETCH(int, drawCalls);
    QFETCH(QString, pen);
    QFETCH(int, pixelSize);

    TestItem item;
    item.setBoxDVIStyle({{"color", 9}, {"brushColor", 7}});
    if (width != 0) {
        item.addBoxDVIF(QStringLiteral("a"), 0, 0, width, height, 1);
        item.updateBoxDVIF(QStringLiteral("a"), switches);
    }
    const Painted painted = paintWith(item, &TestItem::paintBoxDVI, foundPen, foundBrush);

    QCOMPARE(painted.calls.size(), drawCalls);
    for (const DrawCall &label : painted.callsOf(DrawCall::Text))
        QCOMPARE(label.font.pixelSize(), pixelSize);
    QCOMPARE(penText(painted.pen), pen);
    QCOMPARE(brushText(painted.brush), QStringLiteral("#ff0000 SolidPattern"));
    if (pixelSize) {
        QCOMPARE(painted.font.family(), QStringLiteral("Verdana"));
        QCOMPARE(painted.font.pixelSize(), pixelSize);
    } else {
        QCOMPARE(painted.font, painted.foundFont);
    }
}

// paint() runs parameter, DVI and simple boxes in that order, each building on what
// the previous family left on the painter.
void tst_DviBoxes::paintHandsStateToTheNextFamily()
{
    TestItem item;
    item.setBoxStyle({{"color", 9}, {"width", 3}, {"brushColor", 7}});
    item.setBoxSimpleStyle({{"color", "nocolour"}});
    item.addBoxSimpleF(QStringLiteral("s"), 200, 0, 50, 50);
    item.addBoxDVIF(QStringLiteral("d"), 100, 0, 50, 50, 2);
    item.updateBoxDVIF(QStringLiteral("d"), {{"topBorder", true}});
    item.addBoxF(QStringLiteral("p"), 0, 0, 50, 50, 4);
    const Painted painted = paintWith(item, &TestItem::paint);

    QStringList drawn;
    for (const DrawCall &call : painted.calls) {
        QVERIFY(call.hints.testFlag(QPainter::Antialiasing));
        const QString fill = call.kind == DrawCall::Text ? QString() : ", " + brushText(call.brush);
        drawn << QStringLiteral("%1 %2, %3%4")
                         .arg(QLatin1String(drawCallKindName(call.kind)),
                              call.kind == DrawCall::Text ? call.text : QString(),
                              penText(call.pen), fill);
    }
    const QString band = QStringLiteral("Polygon , #0000ff 3 SolidLine, #ff0000 SolidPattern");
    const QStringList expected {
            "Text p, #000000 1 SolidLine", band, band, band, band,
            // DVI markers with the border pen and fill brush the parameter boxes left
            "Text d, #000000 1 SolidLine", band, band,
            // simple box: outline colour and fill taken over from the DVI markers
            "Rect , #0000ff 1 SolidLine, #ff0000 SolidPattern", "Text s, #0000ff 3 SolidLine"};
    QCOMPARE(drawn, expected);
}

QTEST_MAIN(tst_DviBoxes)
#include "tst_dvi_boxes.moc"
