// Frames of plans far bigger than the window, and the same plan in Graphics View.
//
//   bll_bench_view [--quick] [google benchmark flags]
//
// The plan is a grid of simple boxes, 40 x 30 units a cell, of which a 1920 x 1080 window
// shows about 1,700 at scale 1 whatever the plan's size.
//   plan/item_full          the item showing the plan's top-left corner, a full frame
//   plan/view_full          a BllViewItem at scale 1 on the plan's middle, a full frame
//   plan/view_pan           the same view panned by 8 pixels, and its frame
//   plan/view_pan_scaled    the same at scale 1.25, where a pan paints the view anew
//   plan/view_zoom          zoomed in or out by 1.25 about the centre, and its frame
//   plan/view_whole         the whole plan fitted into the view, a full frame
//   plan/view_load          a view built and the plan added from C++; heap per box
//   plan/graphicsview_*     the same in a QGraphicsView (a rectangle and a text item a box, the
//                           scene's BSP index): pans through scrollContentsBy, which moves the
//                           viewport's pixels and paints the strip shown anew

#include "bll_painted_item.h"
#include "bll_painted_item_view.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QGraphicsRectItem>
#include <QtWidgets/QGraphicsScene>
#include <QtWidgets/QGraphicsSimpleTextItem>
#include <QtWidgets/QGraphicsView>
#include <QtWidgets/QScrollBar>

#include <malloc.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

namespace {

constexpr int windowWidth = 1920, windowHeight = 1080;

// Boxes of 36 x 26 units on cells of 40 x 30, row by row, in a plan about as wide as high.
void feedPlan(Bll_Painted_Item &item, int count)
{
    const int columns = int(std::ceil(std::sqrt(count * 0.75)));
    for (int i = 0; i < count; ++i) {
        const int column = i % columns, row = i / columns;
        item.addBoxSimpleF(QStringLiteral("b%1").arg(i), column * 40.0 + 2, row * 30.0 + 2, 36, 26);
    }
    item.updateBoxSimpleF(QStringLiteral("b3"), {{QStringLiteral("hover"), true}});
}

// A plan of `count` boxes in an item of the window's size, and its frames on an image.
template<typename Base>
struct PlanOn
{
    explicit PlanOn(int count) : target(windowWidth, windowHeight, QImage::Format_RGB32)
    {
        item.setSize(QSizeF(windowWidth, windowHeight));
        feedPlan(item, count);
        frame();
    }
    void frame()
    {
        target.fill(Qt::white);
        QPainter painter(&target);
        item.paint(&painter);
    }
    struct Item : Base
    {
        using Base::paint;
    } item;
    QImage target;
    bool odd = false;
};

using PlanFixture = PlanOn<Bll_Painted_Item>;

// Fixtures are built once a size and dropped before the application: widgets may not outlive it.
std::vector<std::function<void()>> dropFixtures;

template<typename Fixture>
Fixture &fixture(int count)
{
    static std::map<int, std::unique_ptr<Fixture>> fixtures;
    if (fixtures.empty())
        dropFixtures.push_back([] { fixtures.clear(); });
    auto &slot = fixtures[count];
    if (!slot)
        slot = std::make_unique<Fixture>(count);
    return *slot;
}

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

struct ViewFixture : PlanOn<BllViewItem>
{
    using PlanOn::PlanOn;
    // Scale 1 on the middle of the plan.
    void showCentre()
    {
        const QPointF centre = item.sceneBounds().center();
        item.setView(1, centre.x() - windowWidth / 2, centre.y() - windowHeight / 2);
        frame();
    }
};

void viewFull(benchmark::State &state)
{
    ViewFixture &f = fixture<ViewFixture>(int(state.range(0)));
    f.showCentre();
    // Another fill colour keeps nothing of the last frame, and costs nothing itself.
    const QColor fill = f.item.fillColor();
    for (auto _ : state) {
        f.odd = !f.odd;
        f.item.setFillColor(f.odd ? QColor(254, 254, 254) : fill);
        f.frame();
    }
    f.item.setFillColor(fill);
}

void panAtScale(benchmark::State &state, double scale)
{
    ViewFixture &f = fixture<ViewFixture>(int(state.range(0)));
    f.showCentre();
    f.item.zoomAt(windowWidth / 2, windowHeight / 2, scale);
    f.frame();
    for (auto _ : state) {
        f.odd = !f.odd;
        f.item.panBy(f.odd ? 8 : -8, 0);
        f.frame();
    }
}

void viewPan(benchmark::State &state)
{
    panAtScale(state, 1);
}

void viewPanScaled(benchmark::State &state)
{
    panAtScale(state, 1.25);
}

void viewZoom(benchmark::State &state)
{
    ViewFixture &f = fixture<ViewFixture>(int(state.range(0)));
    f.showCentre();
    for (auto _ : state) {
        f.odd = !f.odd;
        f.item.zoomAt(windowWidth / 2, windowHeight / 2, f.odd ? 1.25 : 0.8);
        f.frame();
    }
}

void viewWhole(benchmark::State &state)
{
    ViewFixture &f = fixture<ViewFixture>(int(state.range(0)));
    f.item.fitToScene();
    for (auto _ : state) {
        f.odd = !f.odd;
        f.item.setBoxSimpleStyle({{QStringLiteral("width"), f.odd ? 2 : 1}});
        f.frame();
    }
    state.counters["scale"] = f.item.viewScale();
}

void viewLoad(benchmark::State &state)
{
    const int count = int(state.range(0));
    double bytes = 0;
    for (auto _ : state) {
        const size_t before = heapInUse();
        auto view = std::make_unique<BllViewItem>();
        feedPlan(*view, count);
        bytes = double(heapInUse() - before) / count;
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
    state.counters["heap_bytes_per_box"] = bytes;
}

// The plan in Graphics View, as its documentation and its 40,000-chip demo build one.
struct GraphicsViewFixture
{
    explicit GraphicsViewFixture(int count)
    {
        const int columns = int(std::ceil(std::sqrt(count * 0.75)));
        const QPen outline(Qt::black, 1);
        const QBrush fill(QColor(QStringLiteral("lightsteelblue")));
        for (int i = 0; i < count; ++i) {
            const int column = i % columns, row = i / columns;
            auto *rect =
                    scene.addRect(QRectF(column * 40.0 + 2, row * 30.0 + 2, 36, 26), outline, fill);
            auto *text = new QGraphicsSimpleTextItem(QStringLiteral("b%1").arg(i), rect);
            text->setPos(column * 40.0 + 4, row * 30.0 + 4);
        }
        view.setScene(&scene);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setFrameShape(QFrame::NoFrame);
        view.setRenderHint(QPainter::Antialiasing);
        view.resize(windowWidth, windowHeight);
        view.show();
        settle();
    }
    // Scale 1 on the middle of the plan.
    void showCentre()
    {
        view.resetTransform();
        view.centerOn(scene.itemsBoundingRect().center());
        settle();
    }
    // Paints what the view has asked for, as the event loop does.
    void settle() { QCoreApplication::processEvents(); }
    QGraphicsScene scene;
    QGraphicsView view;
    bool odd = false;
};

void graphicsViewPan(benchmark::State &state)
{
    GraphicsViewFixture &f = fixture<GraphicsViewFixture>(int(state.range(0)));
    f.showCentre();
    for (auto _ : state) {
        f.odd = !f.odd;
        QScrollBar *bar = f.view.horizontalScrollBar();
        bar->setValue(bar->value() + (f.odd ? 8 : -8));
        f.settle();
    }
}

void graphicsViewZoom(benchmark::State &state)
{
    GraphicsViewFixture &f = fixture<GraphicsViewFixture>(int(state.range(0)));
    f.showCentre();
    for (auto _ : state) {
        f.odd = !f.odd;
        f.view.scale(f.odd ? 1.25 : 0.8, f.odd ? 1.25 : 0.8);
        f.settle();
    }
}

void graphicsViewWhole(benchmark::State &state)
{
    GraphicsViewFixture &f = fixture<GraphicsViewFixture>(int(state.range(0)));
    f.view.fitInView(f.scene.itemsBoundingRect(), Qt::KeepAspectRatio);
    f.settle();
    for (auto _ : state) {
        f.view.viewport()->update();
        f.settle();
    }
}

// A full frame of the window: a style change makes the item paint everything again.
void fullFrame(benchmark::State &state)
{
    PlanFixture &f = fixture<PlanFixture>(int(state.range(0)));
    for (auto _ : state) {
        f.odd = !f.odd;
        f.item.setBoxSimpleStyle({{QStringLiteral("width"), f.odd ? 2 : 1}});
        f.frame();
    }
}

} // namespace

int main(int argc, char **argv)
{
    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            quick = true;
            std::copy(argv + i + 1, argv + argc, argv + i);
            --argc;
            break;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const std::vector<int> sizes =
            quick ? std::vector<int> {2000} : std::vector<int> {10000, 100000, 1000000};
    const std::pair<const char *, void (*)(benchmark::State &)> benchmarks[] = {
            {"plan/item_full", fullFrame},
            {"plan/view_full", viewFull},
            {"plan/view_pan", viewPan},
            {"plan/view_pan_scaled", viewPanScaled},
            {"plan/view_zoom", viewZoom},
            {"plan/view_whole", viewWhole},
            {"plan/view_load", viewLoad},
            {"plan/graphicsview_pan", graphicsViewPan},
            {"plan/graphicsview_zoom", graphicsViewZoom},
            {"plan/graphicsview_whole", graphicsViewWhole}};
    for (const auto &[name, function] : benchmarks) {
        for (const int n : sizes) {
            auto *bench = benchmark::RegisterBenchmark(name, function)
                                  ->Arg(n)
                                  ->Unit(benchmark::kMillisecond);
            if (quick)
                bench->Iterations(2);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto &drop : dropFixtures)
        drop();
    return 0;
}
