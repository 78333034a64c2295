#include "bll_painted_item_accessibility.h"
#include "bll_painted_item_navigator.h"
#include "bll_painted_item_picking.h"
#include "bll_painted_item_saving.h"
#include "bll_painted_item_view.h"
#include "test_item.h"

#include <QtCore/QRandomGenerator>
#include <QtQuick/QQuickWindow>
#include <QtQuick/QSGRectangleNode>
#include <QtTest/QtTest>

#include <cmath>
#include <functional>
#include <limits>

// The view against the item it derives from: its frames are the item's own on a painter that
// maps the scene, its mapping and gestures move as a plan viewer's do, and what it refuses
// leaves it as it was.

namespace {

class TestView : public BllViewItem
{
public:
    using BllViewItem::paint;
};

using Step = std::function<void(BllViewItem &)>;

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

// Boxes of every family and a few shapes, strewn over a scene of 900 × 600 from -100, -100.
QString plan(quint32 seed)
{
    QRandomGenerator random(seed);
    const auto number = [&](double low, double high) {
        return QString::number(low + random.generateDouble() * (high - low), 'g', 9);
    };
    QStringList calls;
    for (int i = 0; i < 240; ++i) {
        const QString box =
                QString("b%1 %2 %3 %4 %5")
                        .arg(i)
                        .arg(number(-100, 800), number(-100, 500), number(3, 90), number(3, 60));
        if (i % 3 == 0)
            calls << "addBoxF " + box + ' ' + number(1, 8)
                            + QString("; updateBoxF b%1 {topBorder:1, leftBorder:%2}")
                                      .arg(i)
                                      .arg(i % 2);
        else if (i % 3 == 1)
            calls << "addBoxDVIF " + box + ' ' + number(1, 4)
                            + QString("; updateBoxDVIF b%1 {rightBorder:1}").arg(i);
        else
            calls << "addBoxSimpleF " + box
                            + QString("; updateBoxSimpleF b%1 {isSelected:%2}")
                                      .arg(i)
                                      .arg(i % 5 == 2);
    }
    calls << "setBoxSimpleStyle {brushColor:'lightsteelblue', isSelectedColor:'orange'}"
          << "addRectF 50 60 200 120; addLineF -40 -20 700 450; addEllipseF 300 100 160 90";
    return calls.join("; ");
}

// What Qt Quick hands paint(): a texture of the item's size filled with its fill colour.
QImage frame(Bll_Painted_Item &item, const std::function<void(QPainter &)> &paint, qreal ratio,
             bool onPixmap, QPixmap &pixmap, QImage &image, const QSizeF &size = QSizeF(320, 200))
{
    const QSize texture = (size * ratio).toSize();
    if (image.size() != texture) {
        image = QImage(texture, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        pixmap = QPixmap::fromImage(image);
    }
    QPainter painter(onPixmap ? static_cast<QPaintDevice *>(&pixmap) : &image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(QPoint(0, 0), texture), item.fillColor());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    paint(painter);
    painter.end();
    return onPixmap ? pixmap.toImage() : image.copy();
}

// The oracle: a fresh item, painted once on a painter that maps the scene to the view.
QImage expected(const QString &script, double s, double vx, double vy, qreal ratio, bool onPixmap,
                bool shapes, const QSizeF &size = QSizeF(320, 200))
{
    TestItem item;
    run(&item, script);
    QPixmap pixmap;
    QImage image;
    return frame(
            item,
            [&](QPainter &painter) {
                painter.setWorldTransform(QTransform(s, 0, 0, s, -s * vx, -s * vy));
                item.paint(&painter);
                if (shapes) {
                    item.paintEllipse(&painter);
                    item.paintRect(&painter);
                    item.paintLine(&painter);
                }
            },
            ratio, onPixmap, pixmap, image, size);
}

// A view filling a window of 320 x 200, declared after the window so that it goes first.
struct ViewInWindow
{
    ViewInWindow()
    {
        window.resize(320, 200);
        view.setParentItem(window.contentItem());
        view.setSize(QSizeF(320, 200));
    }
    QQuickWindow window;
    BllViewItem view;
};

struct Spies
{
    explicit Spies(BllViewItem *view)
    {
        for (const char *signal :
             {SIGNAL(viewScaleChanged()), SIGNAL(viewXChanged()), SIGNAL(viewYChanged()),
              SIGNAL(minimumScaleChanged()), SIGNAL(maximumScaleChanged())})
            spies.push_back(std::make_unique<QSignalSpy>(view, signal));
    }
    int count() const
    {
        int total = 0;
        for (const auto &spy : spies)
            total += spy->count();
        return total;
    }
    std::vector<std::unique_ptr<QSignalSpy>> spies;
};

} // namespace

Q_DECLARE_METATYPE(Step)

class TstView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { countFrameLog(); }
    void framesAreTheItemsThroughTheMapping_data();
    void framesAreTheItemsThroughTheMapping();
    void pansMoveTheKeptFrame_data();
    void pansMoveTheKeptFrame();
    void mapping_data();
    void mapping();
    void refusesWhatCannotBeShown_data();
    void refusesWhatCannotBeShown();
    void sceneBoundsFollowTheScene();
    void gesturesMoveTheView();
    void pickingAnswersInItemCoordinates();
    void savingShowsTheViewOrItsScene();
    void zoomedOutSimplifies_data();
    void zoomedOutSimplifies();
    void labelsOfTheSmallestSizeAreDrawn();
    void wheelZoomShowsTheLastCrispFrameUntilItRests();
    void screenReadersFindBoxesWhereTheViewShowsThem();
    void keysBringTheirBoxIntoTheView();
};

void TstView::framesAreTheItemsThroughTheMapping_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("onPixmap");
    QTest::addColumn<bool>("shapes");
    // Of the four pans below, those that move the kept frame: by whole pixels, under a scale of
    // the device that is a power of two, where not most of the frame is new.
    QTest::addColumn<int>("movingPans");
    QTest::newRow("scale 1 from the origin")
            << 1.0 << 0.0 << 0.0 << qreal(1) << false << false << 2;
    QTest::newRow("zoomed in off centre")
            << 3.5 << 140.25 << 90.5 << qreal(1) << false << false << 0;
    QTest::newRow("the whole plan") << 0.3 << -110.0 << -105.0 << qreal(1) << false << false << 0;
    QTest::newRow("left of and above the plan")
            << 1.25 << -300.0 << -180.0 << qreal(1) << false << false << 0;
    QTest::newRow("ratio 2") << 1.5 << 40.0 << 30.0 << qreal(2) << false << false << 0;
    QTest::newRow("pixmap") << 2.0 << 200.0 << 100.0 << qreal(1) << true << false << 0;
    QTest::newRow("pixmap, ratio 2, half scale")
            << 0.5 << 100.0 << 50.0 << qreal(2) << true << false << 2;
    QTest::newRow("pixmap, ratio 2, shapes")
            << 0.75 << 0.0 << 10.0 << qreal(2) << true << true << 0;
    QTest::newRow("shapes") << 1.0 << 20.0 << 20.0 << qreal(1) << false << true << 2;
}

// Frames of one view, each against a fresh item: the first in full, the next after one box
// changed (a kept frame repaints around it), then after pans.
void TstView::framesAreTheItemsThroughTheMapping()
{
    QFETCH(double, scale);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(qreal, ratio);
    QFETCH(bool, onPixmap);
    QFETCH(bool, shapes);
    QFETCH(int, movingPans);
    QString script = plan(7);
    TestView view;
    view.setPaintsShapes(shapes);
    view.setMinimumLabelSize(0);
    run(&view, script);
    QVERIFY(view.setView(scale, x, y));
    QPixmap pixmap;
    QImage image;
    const auto paintView = [&](QPainter &painter) { view.paint(&painter); };

    QCOMPARE(frame(view, paintView, ratio, onPixmap, pixmap, image),
             expected(script, scale, x, y, ratio, onPixmap, shapes));

    const QString change =
            "; updateBoxSimpleF b29 {isSelected:true}; updateBoxF b30 {bottomBorder:1}";
    run(&view, change);
    script += change;
    QCOMPARE(frame(view, paintView, ratio, onPixmap, pixmap, image),
             expected(script, scale, x, y, ratio, onPixmap, shapes));

    // Pans by whole and by fractional pixels.
    frameLog = FrameLog();
    for (const QPointF &by :
         {QPointF(-12, 5), QPointF(30, -41), QPointF(0.5, 0), QPointF(-3, -2)}) {
        const QPointF corner = view.mapFromScene(x, y);
        QVERIFY(view.panBy(by.x(), by.y()));
        QVERIFY(QLineF(view.mapFromScene(x, y), corner + by).length() < 1e-9);
        QCOMPARE(frame(view, paintView, ratio, onPixmap, pixmap, image),
                 expected(script, scale, view.viewX(), view.viewY(), ratio, onPixmap, shapes));
    }
    QCOMPARE(frameLog.partial, movingPans);
}

void TstView::pansMoveTheKeptFrame_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("onPixmap");
    QTest::addColumn<bool>("moves"); // whether pans move the kept frame
    QTest::addColumn<QSizeF>("size");
    const QSizeF size(320, 200);
    QTest::newRow("scale 1") << 1.0 << qreal(1) << false << true << size;
    QTest::newRow("scale 1 on a pixmap") << 1.0 << qreal(1) << true << true << size;
    QTest::newRow("scale 0.5") << 0.5 << qreal(1) << false << true << size;
    QTest::newRow("scale 0.25 at ratio 2") << 0.25 << qreal(2) << false << true << size;
    // Whole device pixels at this scale, but a pan moves them by one and a half.
    QTest::newRow("scale 2/3 at ratio 1.5") << 2 / 3.0 << qreal(1.5) << false << false << size;
    // An odd number of device pixels wide: the right edge falls on half a pixel of the view.
    QTest::newRow("scale 0.25 at ratio 2, half a pixel wider")
            << 0.25 << qreal(2) << false << false << QSizeF(320.5, 200);
}

// A walk of small pans, boxes changing on the way: where whole device pixels allow, each frame
// moves the kept one and repaints what is new and what its old or new edges cut; every frame is
// the oracle's.
void TstView::pansMoveTheKeptFrame()
{
    QFETCH(double, scale);
    QFETCH(qreal, ratio);
    QFETCH(bool, onPixmap);
    QFETCH(bool, moves);
    QFETCH(QSizeF, size);
    QString script = plan(11);
    TestView view;
    view.setMinimumLabelSize(0);
    run(&view, script);
    QVERIFY(view.setView(scale, 100, 60));
    QPixmap pixmap;
    QImage image;
    const auto paintView = [&](QPainter &painter) { view.paint(&painter); };
    frame(view, paintView, ratio, onPixmap, pixmap, image, size);
    QRandomGenerator random(5);
    frameLog = FrameLog();
    const int steps = 24;
    for (int step = 0; step < steps; ++step) {
        // Along one axis every third step, where the edges along it cut each box as before.
        const int dx = random.bounded(-16, 17), dy = random.bounded(-16, 17);
        QVERIFY(view.panBy(step % 3 == 1 ? 0 : dx, step % 3 == 2 ? 0 : dy));
        if (step % 3 == 0) {
            const QString change = QString("; updateBoxSimpleF b%1 {isHover:true}")
                                           .arg(3 * random.bounded(80) + 2);
            run(&view, change);
            script += change;
        }
        QCOMPARE(frame(view, paintView, ratio, onPixmap, pixmap, image, size),
                 expected(script, scale, view.viewX(), view.viewY(), ratio, onPixmap, false, size));
    }
    if (moves)
        QVERIFY2(frameLog.partial > steps / 2, qPrintable(QString::number(frameLog.partial)));
}

void TstView::mapping_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    // Each starts from scale 2 at (10, 20) on an item of 320 × 200.
    QTest::newRow("zoom about a point") << Step([](BllViewItem &v) { v.zoomAt(100, 50, 3); }) << 6.0
                                        << 60 - 100 / 6.0 << 45 - 50 / 6.0;
    QTest::newRow("zoom clamped to the maximum") << Step([](BllViewItem &v) {
        v.setMaximumScale(4);
        v.zoomAt(0, 0, 10);
    }) << 4.0 << 10.0 << 20.0;
    QTest::newRow("a maximum below the scale clamps it")
            << Step([](BllViewItem &v) { v.setMaximumScale(0.5); }) << 0.5 << 10.0 << 20.0;
    QTest::newRow("a minimum above the scale clamps it")
            << Step([](BllViewItem &v) { v.setMinimumScale(5); }) << 5.0 << 10.0 << 20.0;
    QTest::newRow("a minimum above the maximum raises it") << Step([](BllViewItem &v) {
        v.setMinimumScale(9);
        QCOMPARE(v.maximumScale(), 1e6);
        v.setMaximumScale(3);
        QCOMPARE(v.minimumScale(), 3.0);
    }) << 3.0 << 10.0 << 20.0;
    QTest::newRow("pan") << Step([](BllViewItem &v) { v.panBy(20, -10); }) << 2.0 << 0.0 << 25.0;
    QTest::newRow("one property at a time") << Step([](BllViewItem &v) {
        v.setViewX(-4);
        v.setViewY(7.5);
        v.setViewScale(0.25);
    }) << 0.25 << -4.0 << 7.5;
    QTest::newRow("a wide rectangle, centred")
            << Step([](BllViewItem &v) { v.showSceneRect(0, 0, 640, 100); }) << 0.5 << 0.0
            << -150.0;
    QTest::newRow("a tall rectangle, centred")
            << Step([](BllViewItem &v) { v.showSceneRect(100, 100, 10, 100); }) << 2.0 << 25.0
            << 100.0;
    QTest::newRow("fit to the scene") << Step([](BllViewItem &v) {
        v.addBoxSimpleF("a", 0, 0, 100, 50);
        v.addBoxSimpleF("b", 300, 250, 100, 50);
        const QRectF bounds = v.sceneBounds();
        v.fitToScene();
        // Scene bounds just as high as the item, centred across it.
        QCOMPARE(v.viewScale(), 200 / bounds.height());
        QCOMPARE(v.mapFromScene(bounds.center().x(), 0).x(), 160.0);
        v.setView(2, 10, 20);
    }) << 2.0 << 10.0 << 20.0;
}

void TstView::mapping()
{
    QFETCH(Step, step);
    QFETCH(double, scale);
    QFETCH(double, x);
    QFETCH(double, y);
    BllViewItem view;
    view.setSize(QSizeF(320, 200));
    QVERIFY(view.setView(2, 10, 20));
    step(view);
    QCOMPARE(view.viewScale(), scale);
    QCOMPARE(view.viewX(), x);
    QCOMPARE(view.viewY(), y);
    // Both ways, through the transform the frames use.
    const QPointF scenePoint(123.5, -7.25);
    QCOMPARE(view.mapFromScene(scenePoint.x(), scenePoint.y()), view.sceneToItem().map(scenePoint));
    const QPointF back = view.mapToScene(view.mapFromScene(scenePoint.x(), scenePoint.y()).x(),
                                         view.mapFromScene(scenePoint.x(), scenePoint.y()).y());
    QVERIFY(qAbs(back.x() - scenePoint.x()) < 1e-9 && qAbs(back.y() - scenePoint.y()) < 1e-9);
}

void TstView::refusesWhatCannotBeShown_data()
{
    QTest::addColumn<Step>("step");
    const auto refused = [](bool accepted) { QVERIFY(!accepted); };
    QTest::newRow("scale not a number") << Step([](BllViewItem &v) { v.setViewScale(notANumber); });
    QTest::newRow("scale infinite") << Step([](BllViewItem &v) { v.setViewScale(infinity); });
    QTest::newRow("scale zero") << Step([](BllViewItem &v) { v.setViewScale(0); });
    QTest::newRow("scale below zero") << Step([](BllViewItem &v) { v.setViewScale(-2); });
    QTest::newRow("x not a number") << Step([](BllViewItem &v) { v.setViewX(notANumber); });
    QTest::newRow("y infinite") << Step([](BllViewItem &v) { v.setViewY(-infinity); });
    QTest::newRow("a position the scale carries past doubles")
            << Step([=](BllViewItem &v) { refused(v.setView(1e6, 1e303, 0)); });
    QTest::newRow("bounds not numbers") << Step([](BllViewItem &v) {
        v.setMinimumScale(notANumber);
        v.setMinimumScale(-1);
        v.setMaximumScale(0);
        v.setMaximumScale(-1);
        v.setMaximumScale(infinity);
    });
    QTest::newRow("zoom by nothing") << Step([=](BllViewItem &v) { refused(v.zoomAt(1, 1, 0)); });
    QTest::newRow("zoom by an infinite factor")
            << Step([=](BllViewItem &v) { refused(v.zoomAt(1, 1, infinity)); });
    QTest::newRow("zoom about no point")
            << Step([=](BllViewItem &v) { refused(v.zoomAt(notANumber, 1, 2)); });
    QTest::newRow("pan by infinity")
            << Step([=](BllViewItem &v) { refused(v.panBy(infinity, 0)); });
    QTest::newRow("pan by no number")
            << Step([=](BllViewItem &v) { refused(v.panBy(0, notANumber)); });
    QTest::newRow("an empty rectangle")
            << Step([=](BllViewItem &v) { refused(v.showSceneRect(0, 0, 0, 10)); });
    QTest::newRow("a rectangle past doubles")
            << Step([=](BllViewItem &v) { refused(v.showSceneRect(1e308, 0, 1e308, 10)); });
    QTest::newRow("fit to an empty scene")
            << Step([=](BllViewItem &v) { refused(v.fitToScene()); });
    QTest::newRow("fit a scene of boxes that paint nothing") << Step([=](BllViewItem &v) {
        v.addBoxSimpleF("thin", 10, 10, 1, 50);
        v.addBoxF("far", 2e9, 0, 10, 10, 1);
        v.addBoxDVIF("notANumber", notANumber, 0, 10, 10, 1);
        refused(v.fitToScene());
    });
}

void TstView::refusesWhatCannotBeShown()
{
    QFETCH(Step, step);
    BllViewItem view;
    view.setSize(QSizeF(320, 200));
    QVERIFY(view.setView(2, 10, 20));
    Spies spies(&view);
    step(view);
    QCOMPARE(spies.count(), 0);
    QCOMPARE(view.viewScale(), 2.0);
    QCOMPARE(view.viewX(), 10.0);
    QCOMPARE(view.viewY(), 20.0);
    QCOMPARE(view.minimumScale(), 1e-6);
    QCOMPARE(view.maximumScale(), 1e6);
}

// The smallest rectangle holding every pixel that differs from the first one.
QRect inked(const QImage &image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

void TstView::sceneBoundsFollowTheScene()
{
    const QString script = "setBoxDVIStyle {width:4}; addBoxF p -50 -60 40 30 3;"
                           "addBoxDVIF d 900 -20 80 60 2; addBoxSimpleF thin 5000 0 1 10;"
                           "addBoxSimpleF s 300 100 60 40; addRectF 0 0 2000 10";
    BllViewItem view;
    QSignalSpy told(&view, &BllViewItem::sceneBoundsChanged);
    QCOMPARE(view.sceneBounds(), QRectF());
    run(&view, script);
    for (int i = 0; i < 100; ++i)
        view.addBoxSimpleF(QString::number(i), i * 8, 5, 6, 6);
    // Asked for at once; told once the event loop runs, once for the whole batch.
    QCOMPARE(told.count(), 0);
    const QRectF bounds = view.sceneBounds();
    QTRY_COMPARE(told.count(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(told.count(), 1);

    // Every pixel the boxes ink lies within; the bounds reach no further than the boxes' pens.
    TestItem item;
    run(&item, script);
    for (int i = 0; i < 100; ++i)
        item.addBoxSimpleF(QString::number(i), i * 8, 5, 6, 6);
    QImage image(1200, 300, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(100, 100);
    item.paint(&painter);
    painter.end();
    const QRectF ink = QRectF(inked(image)).translated(-100, -100);
    QVERIFY(bounds.contains(ink));
    QVERIFY(QRectF(QPointF(-50, -60), QPointF(980, 140))
                    .adjusted(-25, -25, 25, 25)
                    .contains(bounds));

    // Shapes count only while the view paints them.
    QCOMPARE(view.sceneBounds(), bounds);
    view.setPaintsShapes(true);
    QCOMPARE(view.sceneBounds().right(), 2000.0);
    QTRY_COMPARE(told.count(), 2);
    view.clearRectF();
    QCOMPARE(view.sceneBounds(), bounds);
    // A wider pen reaches further.
    view.setBoxStyle({{"width", 40}});
    QVERIFY(view.sceneBounds().left() < bounds.left());
    QTRY_COMPARE(told.count(), 3);
    // Switching states leaves the bounds as they are.
    view.updateBoxSimpleF("3", {{"isSelected", true}});
    view.clearAll();
    QCOMPARE(view.sceneBounds(), QRectF());
    QTRY_COMPARE(told.count(), 4);
}

void TstView::gesturesMoveTheView()
{
    ViewInWindow shown;
    QQuickWindow &window = shown.window;
    BllViewItem *view = &shown.view;
    view->addBoxSimpleF("a", 0, 0, 100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    view->forceActiveFocus();

    // Moves without a press, handed to the view directly, are not a drag.
    QMouseEvent stray(QEvent::MouseMove, QPointF(50, 50), QPointF(50, 50), Qt::NoButton,
                      Qt::NoButton, {});
    QCoreApplication::sendEvent(view, &stray);
    QVERIFY(!stray.isAccepted());
    QCOMPARE(view->sceneToItem(), QTransform());

    // A drag moves the picture with the pointer.
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&window, QPoint(130, 90));
    QTest::mouseMove(&window, QPoint(160, 80));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(160, 80));
    QCOMPARE(view->mapFromScene(100, 100), QPointF(160, 80));

    // A wheel notch zooms in about the pointer.
    const QPointF under = view->mapToScene(40, 50);
    QWheelEvent wheel(QPointF(40, 50), QPointF(40, 50), QPoint(), QPoint(0, 120), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&window, &wheel);
    QCOMPARE(view->viewScale(), 1.25);
    QCOMPARE(view->mapFromScene(under.x(), under.y()), QPointF(40, 50));
    // Its frame shows the last crisp one moved; once the wheel rests, the view asks for a crisp
    // frame of its own accord.
    QSignalSpy frames(&window, &QQuickWindow::frameSwapped);
    QVERIFY(frames.wait(1000));
    frames.clear();
    QVERIFY(frames.wait(1000));

    // Keys, each from the same view: + (or =) and - zoom about the centre by a notch, an arrow
    // shows a tenth of the view more on its side, Home fits the scene.
    const struct
    {
        Qt::Key key;
        double scale;
        QPointF centre; // the scene point then at the view's centre
    } keys[] = {{Qt::Key_Plus, 1.25, {160, 100}}, {Qt::Key_Equal, 1.25, {160, 100}},
                {Qt::Key_Minus, 0.8, {160, 100}}, {Qt::Key_Left, 1, {128, 100}},
                {Qt::Key_Right, 1, {192, 100}},   {Qt::Key_Up, 1, {160, 80}},
                {Qt::Key_Down, 1, {160, 120}}};
    for (const auto &key : keys) {
        QVERIFY(view->setView(1, 0, 0));
        QTest::keyClick(&window, key.key);
        QCOMPARE(view->viewScale(), key.scale);
        QCOMPARE(view->mapToScene(160, 100), key.centre);
    }
    QTest::keyClick(&window, Qt::Key_Home);
    QCOMPARE(view->viewScale(), 200 / view->sceneBounds().height());
    QCOMPARE(view->mapFromScene(50, 50), QPointF(160, 100));
    // Other keys are left to the items around.
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(view, &other);
    QVERIFY(!other.isAccepted());

    // Two fingers pinch: the picture follows their centre, the scale their distance. Qt Quick 5
    // keeps a pointer device for each touch device until the process ends, which LeakSanitizer
    // would report; the suites without it pinch.
#if !(defined(__SANITIZE_ADDRESS__) && QT_VERSION < QT_VERSION_CHECK(6, 0, 0))
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    static QPointingDevice *const touchscreen = QTest::createTouchDevice();
#else
    static QTouchDevice *const touchscreen = QTest::createTouchDevice();
#endif
    QVERIFY(view->setView(1, 0, 0));
    QTest::touchEvent(&window, touchscreen).press(0, QPoint(100, 100)).press(1, QPoint(140, 100));
    QTest::touchEvent(&window, touchscreen).move(0, QPoint(90, 100)).move(1, QPoint(170, 100));
    QTest::touchEvent(&window, touchscreen)
            .release(0, QPoint(90, 100))
            .release(1, QPoint(170, 100));
    QCOMPARE(view->viewScale(), 2.0);
    QCOMPARE(view->mapFromScene(120, 100), QPointF(130, 100));
    // The next pinch starts where its fingers land: nothing moves on their first touch.
    const QTransform pinched = view->sceneToItem();
    QTest::touchEvent(&window, touchscreen).press(0, QPoint(20, 20)).press(1, QPoint(300, 20));
    QTest::touchEvent(&window, touchscreen).release(0, QPoint(20, 20)).release(1, QPoint(300, 20));
    QCOMPARE(view->sceneToItem(), pinched);
#endif

    // A view that does not interact lets everything through.
    view->setInteractive(false);
    const QTransform before = view->sceneToItem();
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&window, QPoint(150, 150));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(150, 150));
    QCoreApplication::sendEvent(&window, &wheel);
    QTest::keyClick(&window, Qt::Key_Plus);
    QCOMPARE(view->sceneToItem(), before);

    // Made interactive again, two fingers start a pinch of their own: nothing moves yet.
#if !(defined(__SANITIZE_ADDRESS__) && QT_VERSION < QT_VERSION_CHECK(6, 0, 0))
    view->setInteractive(true);
    QTest::touchEvent(&window, touchscreen).press(0, QPoint(50, 50)).press(1, QPoint(250, 50));
    QTest::touchEvent(&window, touchscreen).release(0, QPoint(50, 50)).release(1, QPoint(250, 50));
    QCOMPARE(view->sceneToItem(), before);
#endif
}

void TstView::pickingAnswersInItemCoordinates()
{
    BllViewItem view;
    view.addBoxSimpleF("s", 1000, 1000, 20, 10);
    view.addBoxF("p", 1030, 1000, 20, 10, 2);
    QVERIFY(view.setView(4, 990, 995));
    // Item (60, 40) is scene (1005, 1005).
    QCOMPARE(BllPicking::boxAt(&view, QPointF(60, 40)).boxId, QString("s"));
    QCOMPARE(BllPicking::boxAt(&view, QPointF(1005, 1005)).boxId, QString());
    // The band under item (163, 40), scene (1030.75, 1005), is the left one.
    QCOMPARE(BllPicking::boxAt(&view, QPointF(163, 40)).side, QString("left"));
    QCOMPARE(BllPicking::boxesIn(&view, QRectF(0, 0, 100, 60)).size(), 1);
    QCOMPARE(BllPicking::boxesIn(&view, QRectF(300, 60, -200, -20)).size(), 2);
}

void TstView::savingShowsTheViewOrItsScene()
{
    const QString script = plan(3) + "; setBoxDVIFillColor white";
    TestView view;
    view.setSize(QSizeF(320, 200));
    view.setMinimumLabelSize(0);
    run(&view, script);
    QVERIFY(view.setView(0.75, 40, 30));
    const QTemporaryDir dir;
    const QString file = dir.filePath("saved.png");
    const auto saved = [&] {
        return QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };

    QCOMPARE(BllExport::save(&view, file), QString());
    QCOMPARE(saved(), expected(script, 0.75, 40, 30, 1, false, false));

    // The whole scene, at the view's scale, whatever the view shows; from C++ and from QML.
    const QRectF bounds = view.sceneBounds();
    const QSize size = (bounds.size() * 0.75).toSize();
    const QImage scene = expected(script, 0.75, bounds.x(), bounds.y(), 1, false, false, size);
    QCOMPARE(BllExport::saveScene(&view, file), QString());
    QCOMPARE(saved(), scene);
    BllExport exporter;
    QVERIFY(QFile::remove(file));
    QCOMPARE(exporter.save(&view, file, {{"area", "scene"}}), QString());
    QCOMPARE(saved(), scene);

    QVERIFY(exporter.save(&view, file, {{"area", "all"}}).startsWith("area must be"));
    TestItem item;
    QCOMPARE(exporter.save(&item, file, {{"area", "view"}}),
             QString("only a BllViewItem has an area to choose"));
    BllViewItem empty;
    QCOMPARE(BllExport::saveScene(&empty, file), QString("an empty scene cannot be saved"));
}

// Boxes of every family on a grid of 64 x 64 cells of 80 x 60, some selected or picked: under
// two pixels each at scale 0.05, their marks apart, and all of them in a view of 320 x 200; enough
// for a frame to work out where they draw on two threads.
QString tinyPlan()
{
    QStringList calls;
    for (int i = 0; i < 4096; ++i) {
        const QString box =
                QString("b%1 %2 %3 36 26").arg(i).arg(i % 64 * 80 + 2).arg(i / 64 * 60 + 2);
        if (i % 3 == 0)
            calls << "addBoxF " + box + " 3"
                            + (i % 7 ? "" : QString("; updateBoxF b%1 {topBorder:1}").arg(i));
        else if (i % 3 == 1)
            calls << "addBoxDVIF " + box
                            + QString(" 1; updateBoxDVIF b%1 {topBorder:1, bottomBorder:1, "
                                      "leftBorder:1, rightBorder:1}")
                                      .arg(i);
        else
            calls << "addBoxSimpleF " + box
                            + (i % 5 ? ""
                                     : QString("; updateBoxSimpleF b%1 {isSelected:true}").arg(i));
    }
    // Beside the view's left edge, by more than its outline reaches.
    calls << "addBoxSimpleF edge -160 1000 36 26; updateBoxSimpleF edge {isSelected:true}";
    calls << "setBoxSimpleStyle {brushColor:'lightsteelblue', isSelectedColor:'orange', "
             "isHoverColor:'red'}"
          << "setBoxStyle {brushColor:'lightsteelblue', pickBorderColor:'green'}"
          << "setBoxDVIStyle {brushColor:'#800000ff'}";
    return calls.join("; ");
}

void TstView::zoomedOutSimplifies_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QPointF>("corner");
    QTest::addColumn<QString>("change");
    // Scene points of boxes marked after the change, and the colours that tell their states.
    QTest::addColumn<QList<QPointF>>("marked");
    QTest::addColumn<QStringList>("colours");

    QTest::newRow("small labels") << plan(5) << 0.5 << QPointF(-100, -100)
                                  << "updateBoxSimpleF b29 {isSelected:true}" << QList<QPointF>()
                                  << QStringList();
    // A DVI box whose label, large enough to be drawn, reaches over the right side of a
    // parameter box painted before it: picking that side repaints the label there.
    QTest::newRow("a label over another box")
            << plan(5)
                    + "; addBoxF under 300 100 40 40 2; "
                      "addBoxDVIF a_label_reaching_far_beyond_its_box 250 90 60 60 1"
            << 0.5 << QPointF(-100, -100) << "updateBoxF under {rightBorder:1}" << QList<QPointF>()
            << QStringList();
    // Boxes 960 to 965 lie in row 15, columns 0 to 5: a parameter box picked at the bottom, a
    // DVI box with translucent markers, a simple box hovered, a plain parameter box, a DVI box
    // without markers (no mark: the background shows), a selected simple box; and the view's
    // left edge beside the box beyond it (the background).
    QList<QPointF> marked;
    for (int column = 0; column < 6; ++column)
        marked << QPointF(column * 80 + 20, 15 * 60 + 15);
    marked << QPointF(-100, 1005);
    QTest::newRow("tiny boxes")
            << tinyPlan() << 0.05 << QPointF(-100, -100)
            << "updateBoxSimpleF b962 {isHover:true}; updateBoxF b960 {bottomBorder:1}; "
               "updateBoxDVIF b964 {showBorder:0}"
            << marked
            << QStringList {"green", "#800000ff", "red", "lightsteelblue", "", "orange", ""};
}

void TstView::zoomedOutSimplifies()
{
    QFETCH(QString, script);
    QFETCH(double, scale);
    QFETCH(QPointF, corner);
    QFETCH(QString, change);
    QFETCH(QList<QPointF>, marked);
    QFETCH(QStringList, colours);
    TestView view;
    run(&view, script);
    QPixmap pixmap;
    QImage image;
    const auto paintView = [&](QPainter &painter) { view.paint(&painter); };

    // At scale 1 the item's own frame.
    QCOMPARE(frame(view, paintView, 1, false, pixmap, image),
             expected(script, 1, 0, 0, 1, false, false));

    // Zoomed out, small labels are left out and tiny boxes marked, and little else changes:
    // pixels inked in one frame and blank in the other are under 2 % of those the item inks.
    QVERIFY(view.setView(scale, corner.x(), corner.y()));
    QImage simplified = frame(view, paintView, 1, false, pixmap, image);
    const QImage exact = expected(script, scale, corner.x(), corner.y(), 1, false, false);
    QVERIFY(simplified != exact);
    const QRgb blank = exact.pixel(0, 0);
    int inked = 0, differing = 0;
    for (int y = 0; y < exact.height(); ++y) {
        for (int x = 0; x < exact.width(); ++x) {
            const bool inExact = exact.pixel(x, y) != blank;
            inked += inExact;
            differing += inExact != (simplified.pixel(x, y) != blank);
        }
    }
    QVERIFY2(differing * 50 < inked, qPrintable(QString("%1 of %2").arg(differing).arg(inked)));

    // A frame after a change, repainted in part over the kept one, is a fresh view's.
    run(&view, change);
    simplified = frame(view, paintView, 1, false, pixmap, image);
    TestView fresh;
    run(&fresh, script + "; " + change);
    QVERIFY(fresh.setView(scale, corner.x(), corner.y()));
    QPixmap freshPixmap;
    QImage freshImage;
    QCOMPARE(simplified,
             frame(
                     fresh, [&](QPainter &painter) { fresh.paint(&painter); }, 1, false,
                     freshPixmap, freshImage));
    // Boxes too small to show their fills show their states as marks.
    for (int i = 0; i < marked.size(); ++i) {
        const QPoint at = view.mapFromScene(marked[i].x(), marked[i].y()).toPoint();
        // What Qt's own fill of that colour leaves on the background.
        QImage expectedPixel(1, 1, simplified.format());
        expectedPixel.fill(simplified.pixel(0, 0));
        if (!colours[i].isEmpty())
            QPainter(&expectedPixel).fillRect(0, 0, 1, 1, QColor(colours[i]));
        QCOMPARE(simplified.pixel(at), expectedPixel.pixel(0, 0));
    }

    // Whatever was left out, the painter is left with the tools the item's own painting leaves,
    // and the transform it came with, on one thread as in bands; and on a pixmap, bands paint what
    // one thread paints, which is what an image shows.
    TestItem oracle;
    run(&oracle, script + "; " + change);
    const auto toolsAfter = [](const std::function<void(QPainter &)> &paint) {
        QImage device(320, 200, QImage::Format_ARGB32_Premultiplied);
        device.fill(Qt::white);
        QPainter painter(&device);
        paint(painter);
        return std::make_tuple(painter.pen(), painter.brush(), painter.font(),
                               painter.worldTransform());
    };
    const auto exactTools = toolsAfter([&](QPainter &painter) {
        painter.setWorldTransform(
                QTransform(scale, 0, 0, scale, -scale * corner.x(), -scale * corner.y()));
        oracle.paint(&painter);
        painter.resetTransform();
    });
    QImage onPixmap[2];
    for (const int threads : {1, 2}) {
        qputenv("BLL_PAINT_THREADS", QByteArray::number(threads));
        TestView again;
        run(&again, script + "; " + change);
        QVERIFY(again.setView(scale, corner.x(), corner.y()));
        QVERIFY(toolsAfter([&](QPainter &painter) { again.paint(&painter); }) == exactTools);
        TestView onPixmapView;
        run(&onPixmapView, script + "; " + change);
        QVERIFY(onPixmapView.setView(scale, corner.x(), corner.y()));
        onPixmap[threads - 1] = frame(
                onPixmapView, [&](QPainter &painter) { onPixmapView.paint(&painter); }, 1, true,
                pixmap, image);
    }
    qunsetenv("BLL_PAINT_THREADS");
    QCOMPARE(onPixmap[1], onPixmap[0]);
    QCOMPARE(onPixmap[0], simplified);

    // Leaving nothing out repaints the kept frame exactly.
    view.setMinimumLabelSize(0);
    QCOMPARE(frame(view, paintView, 1, false, pixmap, image),
             expected(script + "; " + change, scale, corner.x(), corner.y(), 1, false, false));
    const double refused[] = {-1, notANumber, infinity};
    for (const double size : refused)
        view.setMinimumLabelSize(size);
    QCOMPARE(view.minimumLabelSize(), 0.0);
}

// A label exactly as high on the device as the smallest drawn is drawn.
void TstView::labelsOfTheSmallestSizeAreDrawn()
{
    const QString one = "addBoxSimpleF a 10 10 80 60"; // its label's font: 13 pixels
    TestView view;
    view.setSize(QSizeF(320, 200));
    run(&view, one);
    QVERIFY(view.setView(0.5, 0, 0));
    view.setMinimumLabelSize(6.5);
    QPixmap pixmap;
    QImage image;
    QCOMPARE(frame(
                     view, [&](QPainter &painter) { view.paint(&painter); }, 1, false, pixmap,
                     image),
             expected(one, 0.5, 0, 0, 1, false, false));
}

void TstView::wheelZoomShowsTheLastCrispFrameUntilItRests()
{
    const QString script = plan(9);
    TestView view;
    view.setSize(QSizeF(320, 200));
    run(&view, script);
    QVERIFY(view.setView(1, 100, 50));
    QPixmap pixmap;
    QImage image;
    const auto paintView = [&](QPainter &painter) { view.paint(&painter); };
    // The crisp frame kept is one moved by a pan.
    frame(view, paintView, 1, false, pixmap, image);
    QVERIFY(view.panBy(-7, 5));
    const QImage crisp = frame(view, paintView, 1, false, pixmap, image);
    const QTransform before = view.sceneToItem();

    // Two notches about (60, 40), as one turn of the wheel sends them.
    for (int notch = 0; notch < 2; ++notch) {
        QWheelEvent wheel(QPointF(60, 40), QPointF(60, 40), QPoint(), QPoint(0, 120), Qt::NoButton,
                          {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&view, &wheel);
    }
    QCOMPARE(view.viewScale(), 1.5625);
    // The crisp frame, drawn where its scene now lies.
    const QImage moved = frame(
            view,
            [&](QPainter &painter) {
                painter.setTransform(before.inverted() * view.sceneToItem());
                painter.drawImage(QPointF(0, 0), crisp);
            },
            1, false, pixmap, image);
    QCOMPARE(frame(view, paintView, 1, false, pixmap, image), moved);
    // A texture the kept frame was not painted for is painted crisp.
    QPixmap otherPixmap;
    QImage otherImage;
    const QSize other(300, 200);
    QCOMPARE(frame(view, paintView, 1, false, otherPixmap, otherImage, other),
             expected(script, 1.5625, view.viewX(), view.viewY(), 1, false, false, other));

    // At rest, the frame of the new view, crisp.
    QTest::qWait(250);
    QCOMPARE(frame(view, paintView, 1, false, pixmap, image),
             expected(script, 1.5625, view.viewX(), view.viewY(), 1, false, false));
}

void TstView::screenReadersFindBoxesWhereTheViewShowsThem()
{
    BllAccessibility::install();
    ViewInWindow shown;
    QQuickWindow &window = shown.window;
    BllViewItem &view = shown.view;
    view.addBoxSimpleF("s", 1000, 1000, 20, 10);
    QVERIFY(view.setView(4, 990, 995));
    QAccessibleInterface *tree = QAccessible::queryAccessibleInterface(&view);
    QVERIFY(tree && tree->childCount() == 1);
    QAccessibleInterface *box = tree->child(0);
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    QCOMPARE(box->rect(), QRect(origin + QPoint(40, 20), QSize(80, 40)));
    QVERIFY(!box->state().offscreen);
    QVERIFY(view.panBy(-200, 0));
    QCOMPARE(box->rect().topLeft(), origin + QPoint(-160, 20));
    QVERIFY(box->state().offscreen);
}

void TstView::keysBringTheirBoxIntoTheView()
{
    ViewInWindow shown;
    QQuickWindow &window = shown.window;
    BllViewItem &view = shown.view;
    view.addBoxSimpleF("near", 10, 10, 40, 30);
    view.addBoxSimpleF("far right", 1000, 20, 40, 30);
    view.addBoxSimpleF("far below", 1000, 900, 500, 400);
    // Where the ring was last placed: the bounds of its bars.
    struct : BllBoxNavigator
    {
        using BllBoxNavigator::BllBoxNavigator;
        QSGNode *updatePaintNode(QSGNode *node, UpdatePaintNodeData *data) override
        {
            node = BllBoxNavigator::updatePaintNode(node, data);
            ring = QRectF();
            for (QSGNode *bar = node ? node->firstChild() : nullptr; bar; bar = bar->nextSibling())
                ring |= static_cast<QSGRectangleNode *>(bar)->rect();
            return node;
        }
        QRectF ring;
    } navigator {&view};
    navigator.setTarget(&view);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    navigator.forceActiveFocus();
    QVERIFY(navigator.hasActiveFocus());

    // Shown already: the view stays.
    QTest::keyClick(&window, Qt::Key_Tab);
    QCOMPARE(view.sceneToItem(), QTransform());
    // To the right: the least pan, the ring's width clear of the edge.
    QTest::keyClick(&window, Qt::Key_Tab);
    const qreal ring = navigator.ringWidth();
    QCOMPARE(view.mapFromScene(1040, 50), QPointF(320 - ring, 50));
    // Larger than the view: its top-left corner.
    QTest::keyClick(&window, Qt::Key_Tab);
    QCOMPARE(view.mapFromScene(1000, 900), QPointF(ring, ring));

    // The ring follows the box as the view zooms (the scale alone, about the corner) and pans.
    QTRY_COMPARE(navigator.ring, QRectF(0, 0, 500 + 2 * ring, 400 + 2 * ring));
    QVERIFY(view.zoomAt(0, 0, 0.5));
    QTRY_COMPARE(navigator.ring,
                 QRectF(ring / 2 - ring, ring / 2 - ring, 250 + 2 * ring, 200 + 2 * ring));
    QVERIFY(view.panBy(-20, 0));
    QTRY_COMPARE(navigator.ring,
                 QRectF(ring / 2 - ring - 20, ring / 2 - ring, 250 + 2 * ring, 200 + 2 * ring));

    // A ring that cannot be seen makes no bars; one all but transparent still does.
    navigator.setRingColor(Qt::transparent);
    QTRY_COMPARE(navigator.ring, QRectF());
    navigator.setRingColor(QColor(0, 0, 0, 1));
    QTRY_VERIFY(!navigator.ring.isNull());
}

QTEST_MAIN(TstView)
#include "tst_view.moc"
