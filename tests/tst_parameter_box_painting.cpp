#include "recording_paint_device.h"
#include "test_item.h"

#include <QtGui/QImage>
#include <QtTest/QtTest>

// How paintBox draws parameter boxes: bands, labels, brushes and the painter
// state it leaves, on the recording device and in rendered pixels.
class tst_ParameterBoxPainting : public QObject
{
    Q_OBJECT

private slots:
    void workedExample();
    void labelSize_data();
    void labelSize();
    void labelIsCentredInTheUnroundedRect();
    void bandBrushes_data();
    void bandBrushes();
    void pensCopyThePaintersPen_data();
    void pensCopyThePaintersPen();
    void painterStateLeftBehind_data();
    void painterStateLeftBehind();
    void bandColoursInPixels();
};

namespace {

using Map = QVariantMap;
using Brushes = QVector<QBrush>;

// What the painter holds before paintBox; every copy must keep these attributes.
const QPen foundPen(QBrush(Qt::magenta), 5, Qt::DashDotLine, Qt::RoundCap, Qt::BevelJoin);
const QBrush foundBrush(Qt::yellow, Qt::Dense4Pattern);

const QBrush fill(QColor("#000001")), pick(QColor("#000002")), param(QColor("#000003")),
        pickParam(QColor("#000004"));
const Map allBandColours {{"brushColor", "#000001"},
                          {"pickBorderColor", "#000002"},
                          {"paramBorderColor", "#000003"},
                          {"pickParamBorderColor", "#000004"}};

// Sets the sides of a box from states in the order top, bottom, left, right:
// '-' left alone, 'p' picked, 'a' given the parameter value, 'b' both.
void setSides(Bll_Painted_Item &item, const QString &boxId, const QString &states, double value)
{
    const QStringList keys {"topBorder", "bottomBorder", "leftBorder", "rightBorder"};
    const auto flags = [&](const QString &set) {
        Map map;
        for (int side = 0; side < 4; ++side)
            map.insert(keys[side], set.contains(states[side]));
        return map;
    };
    item.updateBoxF(boxId, flags("ab"));
    item.updateBoxParamF({{"currentParam", value}});
    item.updateBoxF(boxId, flags("pb"));
}

QVector<DrawCall> paintBoxes(TestItem &item)
{
    RecordingPaintDevice device;
    QPainter painter(&device);
    painter.setPen(foundPen);
    painter.setBrush(foundBrush);
    item.paintBox(&painter);
    return device.calls();
}

} // namespace

void tst_ParameterBoxPainting::workedExample()
{
    TestItem item;
    item.addBoxF("id", 10, 20, 100, 50, 4);
    const QVector<DrawCall> calls = paintBoxes(item);

    QCOMPARE(calls.size(), 5);
    QCOMPARE(calls[0].kind, DrawCall::Text); // the bands paint over the label
    const QVector<QVector<QPointF>> bands {{{10, 20}, {110, 20}, {106, 24}, {14, 24}},
                                           {{14, 66}, {106, 66}, {110, 70}, {10, 70}},
                                           {{10, 20}, {14, 24}, {14, 66}, {10, 70}},
                                           {{106, 24}, {110, 20}, {110, 70}, {106, 66}}};
    QVector<QVector<QPointF>> painted;
    for (const DrawCall &call : calls.mid(1))
        painted << (call.polygonMode == QPaintEngine::OddEvenMode ? call.points : QPolygonF());
    QCOMPARE(painted, bands);
}

void tst_ParameterBoxPainting::labelSize_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("pixelSize"); // 0: no label
    QTest::addColumn<int>("bands");

    QTest::newRow("50 x 100") << 50.0 << 100.0 << 11 << 4;
    QTest::newRow("13 x 50 truncates") << 13.0 << 50.0 << 3 << 4;
    QTest::newRow("10 x 50") << 10.0 << 50.0 << 0 << 4;
    QTest::newRow("1.01 x 1.01") << 1.01 << 1.01 << 0 << 4;
    QTest::newRow("1 x 50") << 1.0 << 50.0 << 0 << 0;
    QTest::newRow("negative") << -50.0 << 50.0 << 0 << 0;
    QTest::newRow("NaN") << qQNaN() << 50.0 << 0 << 0;
    QTest::newRow("largest label") << 327670.0 << 327670.0 << 65535 << 4;
    QTest::newRow("label too large") << 327675.0 << 327675.0 << 0 << 4;
    QTest::newRow("infinite") << qInf() << qInf() << 0 << 4;
}

void tst_ParameterBoxPainting::labelSize()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(int, pixelSize);
    QFETCH(int, bands);

    TestItem item;
    item.addBoxF("id", 0, 0, width, height, 1);
    const QVector<DrawCall> calls = paintBoxes(item);
    const bool labelled = pixelSize > 0;
    QCOMPARE(calls.size(), bands + int(labelled));
    if (labelled)
        QCOMPARE(calls[0].textFont.pixelSize(), pixelSize);
}

// The label is laid out exactly as drawText centres it in the box's own rect, in Verdana.
void tst_ParameterBoxPainting::labelIsCentredInTheUnroundedRect()
{
    const QRectF rect(10.3, 20.45, 100.45, 50.35);
    TestItem item;
    item.addBoxF("Box 1", rect.x(), rect.y(), rect.width(), rect.height(), 2);
    const DrawCall label = paintBoxes(item).first();

    RecordingPaintDevice reference;
    {
        QPainter painter(&reference);
        QFont font("Verdana");
        font.setPixelSize(11); // min(w, h) / 5 + 1
        painter.setFont(font);
        painter.drawText(rect, Qt::AlignCenter, "Box 1");
    }
    QCOMPARE(label.text, reference.calls().first().text);
    QCOMPARE(label.textOrigin, reference.calls().first().textOrigin);
    QCOMPARE(label.font.family(), QString("Verdana"));
}

void tst_ParameterBoxPainting::bandBrushes_data()
{
    QTest::addColumn<QVariantMap>("style");
    QTest::addColumn<QString>("sides"); // as for setSides
    QTest::addColumn<double>("value");
    QTest::addColumn<Brushes>("brushes"); // top, bottom, left, right

    const Map all = allBandColours;
    QTest::newRow("each side in its own state")
            << all << "pab-" << 2.0 << Brushes {pick, param, pickParam, fill};
    QTest::newRow("NaN carries a parameter")
            << all << "baaa" << qQNaN() << Brushes {pickParam, param, param, param};
    QTest::newRow("exactly 1.0 carries none")
            << all << "aaab" << 1.0 << Brushes {fill, fill, fill, pick};
    QTest::newRow("nearly 1.0 carries one")
            << all << "a---" << 1.0000001 << Brushes {param, fill, fill, fill};
    QTest::newRow("no colours: the painter's brush")
            << Map() << "pab-" << 2.0 << Brushes {foundBrush, foundBrush, foundBrush, foundBrush};
    Map invalidPick = all;
    invalidPick["pickBorderColor"] = "nonsense";
    QTest::newRow("invalid pick colour: the painter's brush, not the fill")
            << invalidPick << "p---" << 1.0 << Brushes {foundBrush, fill, fill, fill};
    Map invalidParams = all;
    invalidParams["paramBorderColor"] = 99;
    invalidParams["pickParamBorderColor"] = QColor();
    QTest::newRow("invalid parameter colours")
            << invalidParams << "pab-" << 2.0 << Brushes {pick, foundBrush, foundBrush, fill};
}

void tst_ParameterBoxPainting::bandBrushes()
{
    QFETCH(QVariantMap, style);
    QFETCH(QString, sides);
    QFETCH(double, value);
    QFETCH(Brushes, brushes);

    TestItem item;
    item.setBoxStyle(style);
    item.addBoxF("id", 0, 0, 100, 50, 4);
    setSides(item, "id", sides, value);
    Brushes painted;
    for (const DrawCall &call : paintBoxes(item))
        if (call.kind == DrawCall::Polygon)
            painted.append(call.brush);
    QCOMPARE(painted, brushes);
}

void tst_ParameterBoxPainting::pensCopyThePaintersPen_data()
{
    QTest::addColumn<QVariantMap>("style");
    QTest::addColumn<QPen>("borderPen");
    QTest::addColumn<QPen>("textPen");

    QPen blue2 = foundPen, green = foundPen, dash = foundPen;
    blue2.setStyle(Qt::SolidLine);
    blue2.setWidth(2);
    blue2.setColor(Qt::blue);
    green.setColor(Qt::green);
    dash.setStyle(Qt::DashLine);
    dash.setWidth(3);
    QTest::newRow("valid colours")
            << Map {{"color", "blue"}, {"width", 2}, {"textColor", QColor(Qt::green)}} << blue2
            << green;
    QTest::newRow("invalid colours keep the painter's")
            << Map {{"color", "nonsense"}, {"style", 2}, {"width", 3}, {"textColor", 24}} << dash
            << foundPen;
}

void tst_ParameterBoxPainting::pensCopyThePaintersPen()
{
    QFETCH(QVariantMap, style);
    QFETCH(QPen, borderPen);
    QFETCH(QPen, textPen);

    TestItem item;
    item.setBoxStyle(style);
    item.addBoxF("id", 0, 0, 100, 50, 4);
    for (const DrawCall &call : paintBoxes(item))
        QCOMPARE(call.pen, call.kind == DrawCall::Text ? textPen : borderPen);
}

void tst_ParameterBoxPainting::painterStateLeftBehind_data()
{
    QTest::addColumn<QVector<QRectF>>("boxes");
    QTest::addColumn<bool>("toolsInstalled");
    QTest::addColumn<int>("pixelSize"); // 0: the font as found

    QTest::newRow("no box passes the size test")
            << QVector<QRectF> {{0, 0, 1, 50}, {0, 0, qQNaN(), 50}} << false << 0;
    QTest::newRow("unlabelled boxes only")
            << QVector<QRectF> {{0, 0, 8, 50}, {0, 0, 50, 5}} << true << 0;
    QTest::newRow("font of the last labelled box")
            << QVector<QRectF> {{0, 0, 100, 50}, {0, 0, 20, 20}, {0, 0, 8, 50}} << true << 5;
}

// A pass that draws nothing leaves the painter as found; otherwise the border
// pen and the fill brush are in force for every band, the first one included.
void tst_ParameterBoxPainting::painterStateLeftBehind()
{
    QFETCH(QVector<QRectF>, boxes);
    QFETCH(bool, toolsInstalled);
    QFETCH(int, pixelSize);

    TestItem item;
    item.setBoxStyle({{"color", "blue"}, {"brushColor", "#000001"}, {"textColor", "green"}});
    for (int i = 0; i < boxes.size(); ++i)
        item.addBoxF(QString::number(i), boxes[i].x(), boxes[i].y(), boxes[i].width(),
                     boxes[i].height(), 2);
    QPen borderPen = foundPen;
    borderPen.setStyle(Qt::SolidLine);
    borderPen.setWidth(1);
    borderPen.setColor(Qt::blue);
    QFont foundFont("DejaVu Sans");
    foundFont.setPixelSize(7);

    RecordingPaintDevice device;
    QPainter painter(&device);
    painter.setPen(foundPen);
    painter.setBrush(foundBrush);
    painter.setFont(foundFont);
    item.paintBox(&painter);

    QCOMPARE(painter.pen(), toolsInstalled ? borderPen : foundPen);
    QCOMPARE(painter.brush(), toolsInstalled ? fill : foundBrush);
    QCOMPARE(painter.font().family(), pixelSize > 0 ? "Verdana" : foundFont.family());
    QCOMPARE(painter.font().pixelSize(), pixelSize > 0 ? pixelSize : 7);
    for (const DrawCall &call : device.calls(DrawCall::Polygon)) {
        QCOMPARE(call.pen, borderPen);
        QCOMPARE(call.brush, fill);
    }
}

void tst_ParameterBoxPainting::bandColoursInPixels()
{
    TestItem item;
    item.setBoxStyle({{"brushColor", "#0000ff"},
                      {"pickBorderColor", "#00ff00"},
                      {"paramBorderColor", "#ff0000"},
                      {"pickParamBorderColor", "#ffff00"}});
    item.addBoxF("b", 10, 10, 220, 120, 30);
    setSides(item, "b", "pab-", 2.0);
    QImage image(240, 140, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        item.paint(&painter);
    }
    // The middle of each band (top, bottom, left, right), away from antialiased edges.
    QStringList colours;
    for (const QPoint middle : {QPoint(120, 25), QPoint(120, 115), QPoint(25, 70), QPoint(215, 70)})
        colours << image.pixelColor(middle).name();
    QCOMPARE(colours, QStringList({"#00ff00", "#ff0000", "#ffff00", "#0000ff"}));
}

QTEST_MAIN(tst_ParameterBoxPainting)
#include "tst_parameter_box_painting.moc"
