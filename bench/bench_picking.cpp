// Picking and the index of where the boxes lie, from C++ and from QML.
//
//   bll_bench_picking [--quick] [google benchmark flags]   timings (JSON with --benchmark_out)
//   bll_bench_picking --count <add-none|add-indexed> <boxes>   10,000 calls, for callgrind
//
// BllPicking::boxAt() and boxesIn() per call on the bench scene, whose boxes pile up as N grows,
// on the spread scene, as dense at every N, and on the nested scene, boxes of three sizes; a
// JavaScript loop calling BllPicking.boxAt() (a QQmlEngine, no window); boxes added again with the
// index built and without; the heap the index takes. BllPicking is new, so unlike bll_bench this
// binary runs on this library only.

#include "bench_scene.h"
#include "bll_painted_item.h"
#include "bll_painted_item_accessibility.h"
#include "bll_painted_item_navigator.h"
#include "bll_painted_item_picking.h"

#include <QtGui/QAccessible>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtQml/QJSEngine>
#include <QtQml/QQmlComponent>
#include <QtQml/QQmlEngine>

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <malloc.h>

#include <cstring>
#include <map>
#include <memory>

namespace {

using namespace BenchScene;

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// A fixed sequence of pseudo-random numbers, the same in every run.
class Random
{
public:
    double uniform(double low, double high)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return low + (high - low) * ((m_state >> 8) / 16777216.0);
    }

private:
    quint32 m_state = 7;
};

QRectF sceneArea(const Scene &scene)
{
    QRectF area;
    for (const Box &box : scene.boxes)
        area |= QRectF(box.x, box.y, box.width, box.height);
    return area;
}

constexpr int pointCount = 1024;
// A rubber band about two boxes wide and high.
constexpr double bandWidth = 200, bandHeight = 100;

// An item holding a scene, and random points over the scene sorted by whether a box is there.
struct PickFixture
{
    PickFixture(const Scene &scene) : area(sceneArea(scene))
    {
        feed(item, scene);
        Random random;
        for (int tries = 0;
             tries < 200 * pointCount && (hits.size() < pointCount || misses.size() < pointCount);
             ++tries) {
            const QPointF point(random.uniform(area.left(), area.right()),
                                random.uniform(area.top(), area.bottom()));
            QVector<QPointF> &list = BllPicking::boxAt(&item, point).isNull() ? misses : hits;
            if (list.size() < pointCount)
                list.append(point);
        }
        for (int i = 0; i < pointCount; ++i)
            bands.append(QRectF(random.uniform(area.left(), area.right() - bandWidth),
                                random.uniform(area.top(), area.bottom() - bandHeight), bandWidth,
                                bandHeight));
    }
    Bll_Painted_Item item;
    QRectF area;
    QVector<QPointF> hits, misses;
    QVector<QRectF> bands;
};

enum Plan { Piled, Spread, Nested };

template<int plan>
PickFixture &pickFixture(int count)
{
    static std::map<int, std::unique_ptr<PickFixture>> fixtures;
    auto &slot = fixtures[count];
    if (!slot)
        slot = std::make_unique<PickFixture>(plan == Spread           ? spreadScene(count)
                                                     : plan == Nested ? nestedScene(count)
                                                                      : mixedScene(count));
    return *slot;
}

template<int spread, bool hit>
void boxAt(benchmark::State &state)
{
    PickFixture &f = pickFixture<spread>(int(state.range(0)));
    const QVector<QPointF> &points = hit ? f.hits : f.misses;
    if (points.isEmpty()) {
        state.SkipWithError("no such point in this scene");
        return;
    }
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(BllPicking::boxAt(&f.item, points[i++ % points.size()]));
}

// The accessible box under a point, as a screen reader asks for it, on the spread scene.
void accessibleChildAt(benchmark::State &state)
{
    BllAccessibility::install();
    PickFixture &f = pickFixture<Spread>(int(state.range(0)));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&f.item);
    int i = 0;
    for (auto _ : state) {
        const QPoint point = f.hits[i++ % f.hits.size()].toPoint();
        benchmark::DoNotOptimize(iface->childAt(point.x(), point.y()));
    }
}

// One key press on a navigator over the spread scene: an arrow, which looks at every box, or
// Tab, which steps to the next.
template<Qt::Key key>
void navigatorKey(benchmark::State &state)
{
    PickFixture &f = pickFixture<Spread>(int(state.range(0)));
    BllBoxNavigator navigator;
    navigator.setTarget(&f.item);
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QCoreApplication::sendEvent(&navigator, &home);
    const Qt::Key back = key == Qt::Key_Right ? Qt::Key_Left : Qt::Key_Backtab;
    int i = 0;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, i++ % 2 ? back : key, Qt::NoModifier);
        QCoreApplication::sendEvent(&navigator, &press);
    }
}

template<int spread>
void boxesIn(benchmark::State &state)
{
    PickFixture &f = pickFixture<spread>(int(state.range(0)));
    int i = 0;
    qint64 found = 0;
    for (auto _ : state) {
        const QVector<BllPickedBox> boxes = BllPicking::boxesIn(&f.item, f.bands[i++ % pointCount]);
        found += boxes.size();
    }
    state.counters["boxes_found"] = double(found) / std::max<qint64>(1, state.iterations());
}

// The loops QML runs: picking at the given points, or adding boxes again a pixel aside, with a
// pick after every 64 adds when `pick` says so (which brings the index up to date).
const char *const scriptLoops = R"(
import QtQml 2.15
import Bll 1.1
QtObject {
    function pick(item, xs, ys, calls) {
        var found = 0
        for (var i = 0; i < calls; ++i) {
            if (BllPicking.boxAt(item, xs[i % xs.length], ys[i % ys.length]) !== null)
                ++found
        }
        return found
    }
    function addAgain(item, boxes, calls, pick) {
        for (var i = 0; i < calls; ++i) {
            var b = boxes[(i * 7919) % boxes.length]
            item.addBoxSimpleF(b.id, b.x + (i & 1), b.y, b.w, b.h)
            if (pick && (i & 63) === 63)
                BllPicking.boxAt(item, b.x, b.y)
        }
    }
}
)";

struct Script
{
    Script()
    {
        component.setData(scriptLoops, QUrl());
        loops.reset(component.create());
        if (!loops)
            qFatal("%s", qPrintable(component.errorString()));
        self = engine.newQObject(loops.get());
    }
    QJSValue itemValue(Bll_Painted_Item &item)
    {
        QQmlEngine::setObjectOwnership(&item, QQmlEngine::CppOwnership);
        return engine.newQObject(&item);
    }
    QJSValue call(const char *function, const QJSValueList &arguments)
    {
        const QJSValue result =
                self.property(QLatin1String(function)).callWithInstance(self, arguments);
        if (result.isError())
            qFatal("%s", qPrintable(result.toString()));
        return result;
    }
    QQmlEngine engine;
    QQmlComponent component {&engine};
    std::unique_ptr<QObject> loops;
    QJSValue self;
};

Script &script()
{
    static Script instance;
    return instance;
}

constexpr int scriptCalls = 1000;

template<bool hit>
void scriptBoxAt(benchmark::State &state)
{
    PickFixture &f = pickFixture<Spread>(int(state.range(0)));
    const QVector<QPointF> &points = hit ? f.hits : f.misses;
    if (points.isEmpty()) {
        state.SkipWithError("no such point in this scene");
        return;
    }
    Script &s = script();
    QJSValue xs = s.engine.newArray(uint(points.size())),
             ys = s.engine.newArray(uint(points.size()));
    for (int i = 0; i < points.size(); ++i) {
        xs.setProperty(quint32(i), points[i].x());
        ys.setProperty(quint32(i), points[i].y());
    }
    const QJSValueList arguments = {s.itemValue(f.item), xs, ys, scriptCalls};
    for (auto _ : state)
        s.call("pick", arguments);
    state.counters["calls_per_iteration"] = scriptCalls;
}

// Items of the spread scene, one never asked anything (no index), one asked once (indexed).
struct AddFixture
{
    explicit AddFixture(int count) : scene(spreadScene(count))
    {
        feed(bare, scene);
        feed(indexed, scene);
        BllPicking::boxAt(&indexed, QPointF());
        for (const Box &box : scene.boxes) {
            if (box.kind == Box::Simple)
                simple.append(box);
        }
    }
    // Adds again the next box of a scattered order, a pixel aside every other time.
    void addNext(Bll_Painted_Item &item)
    {
        next = (next + 7919) % (2 * int(simple.size()));
        const Box &box = simple[next % simple.size()];
        item.addBoxSimpleF(box.id, box.x + (next < simple.size() ? 1 : 0), box.y, box.width,
                           box.height);
    }
    Scene scene;
    Bll_Painted_Item bare, indexed;
    QVector<Box> simple;
    int next = 0;
};

AddFixture &addFixture(int count)
{
    static std::map<int, std::unique_ptr<AddFixture>> fixtures;
    auto &slot = fixtures[count];
    if (!slot)
        slot = std::make_unique<AddFixture>(count);
    return *slot;
}

// 64 adds an iteration; with the index, then a pick, which brings the index up to date.
constexpr int addsPerPick = 64;

template<bool indexed>
void addAgain(benchmark::State &state)
{
    AddFixture &f = addFixture(int(state.range(0)));
    Bll_Painted_Item &item = indexed ? f.indexed : f.bare;
    for (auto _ : state) {
        for (int i = 0; i < addsPerPick; ++i)
            f.addNext(item);
        if (indexed)
            benchmark::DoNotOptimize(BllPicking::boxAt(&item, QPointF(1, 1)));
    }
    state.counters["calls_per_iteration"] = addsPerPick;
}

template<bool indexed>
void scriptAddAgain(benchmark::State &state)
{
    AddFixture &f = addFixture(int(state.range(0)));
    Script &s = script();
    QJSValue boxes = s.engine.newArray(uint(f.simple.size()));
    for (int i = 0; i < f.simple.size(); ++i) {
        const Box &box = f.simple[i];
        QJSValue object = s.engine.newObject();
        object.setProperty(QStringLiteral("id"), box.id);
        object.setProperty(QStringLiteral("x"), box.x);
        object.setProperty(QStringLiteral("y"), box.y);
        object.setProperty(QStringLiteral("w"), box.width);
        object.setProperty(QStringLiteral("h"), box.height);
        boxes.setProperty(quint32(i), object);
    }
    const QJSValueList arguments = {s.itemValue(indexed ? f.indexed : f.bare), boxes, scriptCalls,
                                    indexed};
    for (auto _ : state)
        s.call("addAgain", arguments);
    state.counters["calls_per_iteration"] = scriptCalls;
}

// The heap the index takes, per box: a new item's first pick builds it.
template<bool spread>
void indexBytes(benchmark::State &state)
{
    const int count = int(state.range(0));
    const Scene scene = spread ? spreadScene(count) : mixedScene(count);
    for (auto _ : state) {
        Bll_Painted_Item item;
        feed(item, scene);
        const size_t before = heapInUse();
        BllPicking::boxAt(&item, QPointF(1, 1));
        state.counters["index_bytes_per_box"] = double(heapInUse() - before) / count;
    }
}

int countInstructions(const char *target, int count)
{
    const bool indexed = std::strcmp(target, "add-indexed") == 0;
    if (!indexed && std::strcmp(target, "add-none") != 0) {
        qWarning("unknown target %s", target);
        return 2;
    }
    AddFixture f(count);
    Bll_Painted_Item &item = indexed ? f.indexed : f.bare;
    CALLGRIND_TOGGLE_COLLECT;
    for (int i = 1; i <= 10000; ++i) {
        f.addNext(item);
        if (indexed && i % addsPerPick == 0)
            BllPicking::boxAt(&item, QPointF(1, 1));
    }
    CALLGRIND_TOGGLE_COLLECT;
    return 0;
}

void registerAll(bool quick)
{
    const QVector<int> sizes =
            quick ? QVector<int> {200, 2000} : QVector<int> {1000, 10000, 100000, 1000000};
    const QVector<int> addSizes = quick ? QVector<int> {2000} : QVector<int> {1000, 10000, 100000};
    const auto bench = [quick](const char *name, void (*function)(benchmark::State &)) {
        auto *b = benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMicrosecond);
        if (quick)
            b->Iterations(20);
        else
            b->Repetitions(5)->DisplayAggregatesOnly(true)->MinTime(0.1);
        return b;
    };
    for (int n : sizes) {
        bench("picking/boxAt_hit", boxAt<true, true>)->Arg(n);
        bench("picking/boxAt_miss", boxAt<true, false>)->Arg(n);
        bench("picking/boxesIn", boxesIn<true>)->Arg(n);
        bench("picking/boxAt_hit_dense", boxAt<false, true>)->Arg(n);
        bench("picking/boxesIn_dense", boxesIn<false>)->Arg(n);
        bench("picking/boxAt_hit_nested", boxAt<Nested, true>)->Arg(n);
        bench("picking/boxAt_miss_nested", boxAt<Nested, false>)->Arg(n);
        bench("picking/boxesIn_nested", boxesIn<Nested>)->Arg(n);
        bench("accessibility/childAt", accessibleChildAt)->Arg(n);
        bench("navigator/arrow", navigatorKey<Qt::Key_Right>)->Arg(n);
        bench("navigator/tab", navigatorKey<Qt::Key_Tab>)->Arg(n);
    }
    for (int n : sizes) {
        bench("picking/qml_boxAt_hit", scriptBoxAt<true>)->Arg(n);
        bench("picking/qml_boxAt_miss", scriptBoxAt<false>)->Arg(n);
    }
    for (int n : addSizes) {
        bench("index/add_none", addAgain<false>)->Arg(n);
        bench("index/add_indexed", addAgain<true>)->Arg(n);
        bench("index/qml_add_none", scriptAddAgain<false>)->Arg(n);
        bench("index/qml_add_indexed", scriptAddAgain<true>)->Arg(n);
    }
    for (int n : quick ? QVector<int> {2000} : QVector<int> {100000, 1000000}) {
        benchmark::RegisterBenchmark("memory/index", indexBytes<false>)->Arg(n)->Iterations(1);
        benchmark::RegisterBenchmark("memory/index_spread", indexBytes<true>)
                ->Arg(n)
                ->Iterations(1);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qmlRegisterSingletonType<BllPicking>(
            "Bll", 1, 1, "BllPicking",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new BllPicking; });

    if (argc == 4 && std::strcmp(argv[1], "--count") == 0)
        return countInstructions(argv[2], std::atoi(argv[3]));

    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            quick = true;
            std::memmove(argv + i, argv + i + 1, sizeof(char *) * (argc - i));
            --argc;
            break;
        }
    }
    registerAll(quick);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
