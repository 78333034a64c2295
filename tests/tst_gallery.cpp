#include "gallery_types.h"
#include "quick_render.h"

#include <QtQuick/QQuickView>
#include <QtTest/QtTest>

#include <memory>

// The gallery's scene driven with simulated mouse input, as a person would use it, and
// checked by what Qt Quick renders. Coordinates are those of the scene's box tables.
class tst_Gallery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void clickingABandPicksAndUnpicksIt();
    void parameterControlsGiveAndResetParameters();
    void hoverAndClickMarkSimpleBoxes();
    void dviSwitchesAndClicksToggleMarkersAndLabels();
    void fillColourAndRestyleReachEveryFamily();
    void clearButtonsEmptyTheirFamily_data();
    void clearButtonsEmptyTheirFamily();

private:
    QQuickItem *item(const QString &objectName) const;
    QColor colour(const char *sceneProperty) const;
    QPoint scenePoint(const QString &itemName, QPointF at) const;
    QString pixelMismatchAt(const QString &itemName, QPointF at, const QColor &expected) const;
    int labelInkIn(const QString &itemName, const QRectF &area) const;
    void click(const QString &itemName, QPointF at);
    void clickControl(const QString &objectName);

    std::unique_ptr<QQuickView> m_view;
};

#define QVERIFY_PIXEL(itemName, x, y, expected)                                                    \
    do {                                                                                           \
        const QString mismatch = pixelMismatchAt(itemName, QPointF(x, y), expected);               \
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));                                        \
    } while (false)

namespace {
const QString parameterItem = QStringLiteral("parameterItem");
const QString dviItem = QStringLiteral("dviItem");
const QString simpleItem = QStringLiteral("simpleItem");
const QString shapeItem = QStringLiteral("shapeItem");
} // namespace

void tst_Gallery::initTestCase()
{
    registerGalleryTypes();
}

void tst_Gallery::init()
{
    m_view = std::make_unique<QQuickView>();
    m_view->setResizeMode(QQuickView::SizeRootObjectToView);
    m_view->setSource(gallerySceneUrl());
    QVERIFY2(m_view->status() == QQuickView::Ready, "the gallery scene does not load");
    m_view->resize(1024, 640);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void tst_Gallery::cleanup()
{
    m_view.reset();
}

QQuickItem *tst_Gallery::item(const QString &objectName) const
{
    return m_view->rootObject()->findChild<QQuickItem *>(objectName);
}

QColor tst_Gallery::colour(const char *sceneProperty) const
{
    return m_view->rootObject()->property(sceneProperty).value<QColor>();
}

QPoint tst_Gallery::scenePoint(const QString &itemName, QPointF at) const
{
    QQuickItem *target = item(itemName);
    return target ? target->mapToScene(at).toPoint() : QPoint(-1, -1);
}

QString tst_Gallery::pixelMismatchAt(const QString &itemName, QPointF at,
                                     const QColor &expected) const
{
    const QString mismatch =
            pixelMismatch(renderItem(m_view->rootObject()), scenePoint(itemName, at), expected);
    return mismatch.isEmpty() ? mismatch : itemName + QStringLiteral(": ") + mismatch;
}

// Pixels of the area that differ from the item's fill colour: a label leaves dozens.
int tst_Gallery::labelInkIn(const QString &itemName, const QRectF &area) const
{
    const QImage image = renderItem(m_view->rootObject());
    const QColor fill = colour("fillColor");
    const QRect sceneArea(scenePoint(itemName, area.topLeft()),
                          scenePoint(itemName, area.bottomRight()));
    int ink = 0;
    for (int y = sceneArea.top(); y <= sceneArea.bottom(); ++y) {
        for (int x = sceneArea.left(); x <= sceneArea.right(); ++x)
            ink += !pixelMismatch(image, QPoint(x, y), fill).isEmpty();
    }
    return ink;
}

void tst_Gallery::click(const QString &itemName, QPointF at)
{
    QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier, scenePoint(itemName, at));
}

void tst_Gallery::clickControl(const QString &objectName)
{
    QQuickItem *control = item(objectName);
    QVERIFY2(control, qPrintable(objectName));
    const QPointF centre(control->width() / 2, control->height() / 2);
    QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::NoModifier,
                      control->mapToScene(centre).toPoint());
}

void tst_Gallery::clickingABandPicksAndUnpicksIt()
{
    // P3 at (330, 10), 140x180, bands 20 wide; its top band starts free.
    const QPointF p3Top(400, 20);
    QVERIFY_PIXEL(parameterItem, p3Top.x(), p3Top.y(), colour("freeColor"));

    click(parameterItem, p3Top);
    QVERIFY_PIXEL(parameterItem, p3Top.x(), p3Top.y(), colour("pickColor"));
    QCOMPARE(m_view->rootObject()->property("status").toString(),
             QStringLiteral("P3 top picked, its parameter is 1 (none)"));

    click(parameterItem, p3Top);
    QVERIFY_PIXEL(parameterItem, p3Top.x(), p3Top.y(), colour("freeColor"));

    // The label in the middle is no band: clicking it picks nothing.
    click(parameterItem, QPointF(400, 100));
    QVERIFY_PIXEL(parameterItem, p3Top.x(), p3Top.y(), colour("freeColor"));
}

void tst_Gallery::parameterControlsGiveAndResetParameters()
{
    const QPointF p3Top(400, 20), p1Left(24, 100);
    QVERIFY_PIXEL(parameterItem, p1Left.x(), p1Left.y(), colour("pickColor"));

    click(parameterItem, p3Top);
    clickControl(QStringLiteral("giveParameterButton"));
    QVERIFY_PIXEL(parameterItem, p3Top.x(), p3Top.y(), colour("pickParamColor"));

    click(parameterItem, p3Top);
    QVERIFY_PIXEL(parameterItem, p3Top.x(), p3Top.y(), colour("paramColor"));
    QCOMPARE(m_view->rootObject()->property("status").toString(),
             QStringLiteral("P3 top unpicked, its parameter is 3"));

    clickControl(QStringLiteral("resetParametersButton"));
    QVERIFY_PIXEL(parameterItem, p3Top.x(), p3Top.y(), colour("freeColor"));
    QVERIFY_PIXEL(parameterItem, p1Left.x(), p1Left.y(), colour("pickColor"));

    clickControl(QStringLiteral("unpickButton"));
    QVERIFY_PIXEL(parameterItem, p1Left.x(), p1Left.y(), colour("freeColor"));
}

void tst_Gallery::hoverAndClickMarkSimpleBoxes()
{
    // Corners of S1 (10, 6), S4 (364, 6) and S7 (246, 102), clear of the labels.
    const QPointF s1(18, 14), s4(372, 14), s7(254, 110);
    QVERIFY_PIXEL(simpleItem, s1.x(), s1.y(), colour("simpleFillColor"));
    QVERIFY_PIXEL(simpleItem, s7.x(), s7.y(), colour("hoverColor"));

    QTest::mouseMove(m_view.get(), scenePoint(simpleItem, s1));
    QVERIFY_PIXEL(simpleItem, s1.x(), s1.y(), colour("hoverColor"));
    QVERIFY_PIXEL(simpleItem, s7.x(), s7.y(), colour("simpleFillColor"));

    click(simpleItem, s1);
    QVERIFY_PIXEL(simpleItem, s1.x(), s1.y(), colour("selectedColor"));

    QTest::mouseMove(m_view.get(), scenePoint(simpleItem, s4));
    QVERIFY_PIXEL(simpleItem, s1.x(), s1.y(), colour("selectedColor"));
    QVERIFY_PIXEL(simpleItem, s4.x(), s4.y(), colour("hoverColor"));

    // Clicking brings the mouse back over S1: unselected, it shows as hovered.
    click(simpleItem, s1);
    QVERIFY_PIXEL(simpleItem, s1.x(), s1.y(), colour("hoverColor"));
    QVERIFY_PIXEL(simpleItem, s4.x(), s4.y(), colour("simpleFillColor"));
}

void tst_Gallery::dviSwitchesAndClicksToggleMarkersAndLabels()
{
    // D1 at (14, 10), 140x180, b 5: its top-left marker has its centre near (39, 22).
    const QPointF d1Marker(39, 22);
    const QRectF d1Label(64, 88, 40, 24);
    QVERIFY_PIXEL(dviItem, d1Marker.x(), d1Marker.y(), colour("markerColor"));
    QVERIFY(labelInkIn(dviItem, d1Label) > 20);

    clickControl(QStringLiteral("markersSwitch"));
    QVERIFY_PIXEL(dviItem, d1Marker.x(), d1Marker.y(), colour("fillColor"));
    QVERIFY(labelInkIn(dviItem, d1Label) > 20);

    clickControl(QStringLiteral("labelsSwitch"));
    QCOMPARE(labelInkIn(dviItem, d1Label), 0);

    clickControl(QStringLiteral("markersSwitch"));
    QVERIFY_PIXEL(dviItem, d1Marker.x(), d1Marker.y(), colour("markerColor"));

    // D2 at (172, 10) starts without left markers; a click near its left side adds them.
    const QPointF d2LeftMarker(184, 35);
    QVERIFY_PIXEL(dviItem, d2LeftMarker.x(), d2LeftMarker.y(), colour("fillColor"));
    click(dviItem, QPointF(182, 100));
    QVERIFY_PIXEL(dviItem, d2LeftMarker.x(), d2LeftMarker.y(), colour("markerColor"));
}

void tst_Gallery::fillColourAndRestyleReachEveryFamily()
{
    // Spots of each item where no record is painted, so the fill colour shows.
    const QVector<QPair<QString, QPointF>> background = {{parameterItem, {5, 100}},
                                                         {dviItem, {5, 100}},
                                                         {simpleItem, {4, 50}},
                                                         {shapeItem, {4, 100}}};
    const QColor firstFill = colour("fillColor");
    clickControl(QStringLiteral("fillButton"));
    const QColor secondFill = colour("fillColor");
    QVERIFY(secondFill != firstFill);
    for (const auto &spot : background)
        QVERIFY_PIXEL(spot.first, spot.second.x(), spot.second.y(), secondFill);

    const QColor firstPick = colour("pickColor");
    clickControl(QStringLiteral("restyleButton"));
    QVERIFY(colour("pickColor") != firstPick);
    QVERIFY_PIXEL(parameterItem, 24, 100, colour("pickColor"));
    QVERIFY_PIXEL(simpleItem, 254, 110, colour("hoverColor"));
    QVERIFY_PIXEL(dviItem, 39, 22, colour("markerColor"));
    for (const auto &spot : background)
        QVERIFY_PIXEL(spot.first, spot.second.x(), spot.second.y(), secondFill);
}

void tst_Gallery::clearButtonsEmptyTheirFamily_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("itemName");
    QTest::addColumn<QPointF>("at");

    QTest::newRow("parameter boxes") << "clearParameterButton" << parameterItem << QPointF(24, 100);
    QTest::newRow("DVI boxes") << "clearDviButton" << dviItem << QPointF(39, 22);
    QTest::newRow("simple boxes") << "clearSimpleButton" << simpleItem << QPointF(136, 14);
    QTest::newRow("rectangles") << "clearRectButton" << shapeItem << QPointF(30, 30);
    QTest::newRow("ellipses") << "clearEllipseButton" << shapeItem << QPointF(230, 57);
    QTest::newRow("lines (their filled path)")
            << "clearLineButton" << shapeItem << QPointF(420, 150);
    QTest::newRow("everything") << "clearAllButton" << parameterItem << QPointF(24, 100);
}

void tst_Gallery::clearButtonsEmptyTheirFamily()
{
    QFETCH(QString, button);
    QFETCH(QString, itemName);
    QFETCH(QPointF, at);

    const QColor fill = colour("fillColor");
    QVERIFY2(!pixelMismatchAt(itemName, at, fill).isEmpty(), "nothing painted there to clear");
    clickControl(button);
    QVERIFY_PIXEL(itemName, at.x(), at.y(), fill);
    clickControl(QStringLiteral("refillButton"));
    QVERIFY2(!pixelMismatchAt(itemName, at, fill).isEmpty(), "Refill painted nothing there");
}

QTEST_MAIN(tst_Gallery)
#include "tst_gallery.moc"
