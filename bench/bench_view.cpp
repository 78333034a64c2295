// Frames of plans far bigger than the window: the item showing the plan's top-left corner.
//
//   bll_bench_view [--quick] [google benchmark flags]
//
// The plan is a grid of simple boxes, 40 x 30 units a cell, of which a 1920 x 1080 window
// shows about 1,700 whatever the plan's size.

#include "bll_painted_item.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
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

struct PlanFixture
{
    explicit PlanFixture(int count) : target(windowWidth, windowHeight, QImage::Format_RGB32)
    {
        feedPlan(item, count);
        frame();
    }
    void frame()
    {
        target.fill(Qt::white);
        QPainter painter(&target);
        item.paint(&painter);
    }
    struct Item : Bll_Painted_Item
    {
        using Bll_Painted_Item::paint;
    } item;
    QImage target;
    bool odd = false;
};

template<typename Fixture>
Fixture &fixture(int count)
{
    static std::map<int, std::unique_ptr<Fixture>> fixtures;
    auto &slot = fixtures[count];
    if (!slot)
        slot = std::make_unique<Fixture>(count);
    return *slot;
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
    QGuiApplication app(argc, argv);

    const std::vector<int> sizes =
            quick ? std::vector<int> {2000} : std::vector<int> {10000, 100000, 1000000};
    for (const int n : sizes) {
        auto *bench = benchmark::RegisterBenchmark("plan/item_full", fullFrame)
                              ->Arg(n)
                              ->Unit(benchmark::kMillisecond);
        if (quick)
            bench->Iterations(2);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
