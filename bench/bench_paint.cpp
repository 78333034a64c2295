// Paint and update costs of the item against the bare-QPainter limit.
//
//   bll_bench [--quick] [google benchmark flags]   timings (JSON with --benchmark_out)
//   bll_bench --count <target> <boxes>             one paint, for callgrind's instruction count
//
// Targets of --count: item, limit, item-first (the first paint of a new item),
// shapes-item, shapes-limit, updateBoxF (10,000 calls), frame-full (a frame after a style
// change), frame-hover (a frame after one hover change). Run it as
//   valgrind --tool=callgrind --collect-atstart=no bll_bench --count item 10000

#include "bench_scene.h"
#include "bll_painted_item.h"

#include "../src/boxes/dvi_box_record.h"
#include "../src/boxes/parameter_box_record.h"
#include "../src/boxes/simple_box_record.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QLoggingCategory>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <malloc.h>

#include <cstring>
#include <map>
#include <memory>
#include <numeric>

namespace {

using namespace BenchScene;

class BenchItem : public Bll_Painted_Item
{
public:
    using Bll_Painted_Item::paint;
};

// A derived class that paints the shape lists as well.
class ShapeItem : public Bll_Painted_Item
{
public:
    void paint(QPainter *painter) override
    {
        Bll_Painted_Item::paint(painter);
        paintRect(painter);
        paintEllipse(painter);
        paintLine(painter);
    }
};

QImage newTarget()
{
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

template<typename Paint>
void paintOnce(QImage &target, Paint paint)
{
    QPainter painter(&target);
    paint(&painter);
}

struct BoxFixture
{
    explicit BoxFixture(int count) : scene(mixedScene(count)), target(newTarget())
    {
        feed(item, scene);
        QPainter painter(&target);
        list = boxDrawList(scene, painter.pen(), painter.brush(), painter.font());
        painter.end();
        // Warm the glyph caches of both paths, and whatever the item keeps between frames.
        paintOnce(target, [this](QPainter *p) { item.paint(p); });
        paintOnce(target, [this](QPainter *p) { replay(p, list); });
    }
    Scene scene;
    BenchItem item;
    DrawList list;
    QImage target;
};

struct ShapeFixture
{
    explicit ShapeFixture(int count) : scene(shapeScene(count)), target(newTarget())
    {
        feed(item, scene);
        QPainter painter(&target);
        list = shapeDrawList(scene, painter.brush());
        painter.end();
        paintOnce(target, [this](QPainter *p) { item.paint(p); });
        paintOnce(target, [this](QPainter *p) { replay(p, list); });
    }
    ShapeScene scene;
    ShapeItem item;
    DrawList list;
    QImage target;
};

// Scenes are built once per size and shared by the benchmarks that use them.
template<typename Fixture>
Fixture &fixture(int count)
{
    static std::map<int, std::unique_ptr<Fixture>> fixtures;
    auto &slot = fixtures[count];
    if (!slot)
        slot = std::make_unique<Fixture>(count);
    return *slot;
}

void paintItem(benchmark::State &state)
{
    BoxFixture &f = fixture<BoxFixture>(int(state.range(0)));
    for (auto _ : state)
        paintOnce(f.target, [&f](QPainter *p) { f.item.paint(p); });
}

void paintLimit(benchmark::State &state)
{
    BoxFixture &f = fixture<BoxFixture>(int(state.range(0)));
    for (auto _ : state)
        paintOnce(f.target, [&f](QPainter *p) { replay(p, f.list); });
}

// The first frame of a newly filled item, when nothing is cached yet.
void paintItemFirst(benchmark::State &state)
{
    const Scene scene = mixedScene(int(state.range(0)));
    QImage target = newTarget();
    for (auto _ : state) {
        state.PauseTiming();
        auto item = std::make_unique<BenchItem>();
        feed(*item, scene);
        state.ResumeTiming();
        paintOnce(target, [&item](QPainter *p) { item->paint(p); });
        state.PauseTiming();
        item.reset();
        state.ResumeTiming();
    }
}

void paintShapesItem(benchmark::State &state)
{
    ShapeFixture &f = fixture<ShapeFixture>(int(state.range(0)));
    for (auto _ : state)
        paintOnce(f.target, [&f](QPainter *p) { f.item.paint(p); });
}

void paintShapesLimit(benchmark::State &state)
{
    ShapeFixture &f = fixture<ShapeFixture>(int(state.range(0)));
    for (auto _ : state)
        paintOnce(f.target, [&f](QPainter *p) { replay(p, f.list); });
}

// Updates visit the boxes in a scattered order, as clicks on a scene would.
constexpr int stride = 7919;

QVector<QString> idsOf(const Scene &scene, Box::Kind kind)
{
    QVector<QString> ids;
    for (const Box &box : scene.boxes) {
        if (box.kind == kind)
            ids.append(box.id);
    }
    return ids;
}

void updateBox(benchmark::State &state)
{
    BoxFixture &f = fixture<BoxFixture>(int(state.range(0)));
    const QVector<QString> ids = idsOf(f.scene, Box::Parameter);
    const QVariantMap maps[2] = {{{QStringLiteral("leftBorder"), true}},
                                 {{QStringLiteral("leftBorder"), false}}};
    unsigned i = 0;
    int next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.item.updateBoxF(ids[next], maps[i++ & 1]));
        next = (next + stride) % ids.size();
    }
    f.item.updateAllBoxF(maps[1]);
}

void updateBoxSimple(benchmark::State &state)
{
    BoxFixture &f = fixture<BoxFixture>(int(state.range(0)));
    const QVector<QString> ids = idsOf(f.scene, Box::Simple);
    const QVariantMap maps[2] = {{{QStringLiteral("isHover"), true}},
                                 {{QStringLiteral("isHover"), false}}};
    unsigned i = 0;
    int next = 0;
    for (auto _ : state) {
        f.item.updateBoxSimpleF(ids[next], maps[i++ & 1]);
        next = (next + stride) % ids.size();
    }
}

void updateAllBox(benchmark::State &state)
{
    BoxFixture &f = fixture<BoxFixture>(int(state.range(0)));
    const QVariantMap maps[2] = {{{QStringLiteral("rightBorder"), true}},
                                 {{QStringLiteral("rightBorder"), false}}};
    int i = 0;
    for (auto _ : state)
        f.item.updateAllBoxF(maps[i++ & 1]);
    f.item.updateAllBoxF(maps[1]);
}

// Frames as Qt Quick paints them for the item itself: the fill over the whole texture, then
// paint(). The item keeps each frame and repaints only what changed since the last one.
struct FrameFixture
{
    explicit FrameFixture(int count) : scene(mixedScene(count)), target(newTarget())
    {
        feed(item, scene);
        simpleIds = idsOf(scene, Box::Simple);
        parameterIds = idsOf(scene, Box::Parameter);
        frame();
        frame();
    }
    void frame()
    {
        QPainter painter(&target);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(target.rect(), item.fillColor());
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        (item.*(&BenchItem::paint))(&painter); // the item's own paint(), as Qt Quick calls it
    }
    Scene scene;
    Bll_Painted_Item item;
    QImage target;
    QVector<QString> simpleIds, parameterIds;
    int next = 0;
    unsigned toggle = 0;
};

// One change between frames of each kind; each call changes another box.
void hoverChange(FrameFixture &f)
{
    f.next = (f.next + stride) % f.simpleIds.size();
    f.item.updateBoxSimpleF(f.simpleIds[f.next],
                            {{QStringLiteral("isHover"), bool(++f.toggle & 1)}});
}

void pickChange(FrameFixture &f)
{
    f.next = (f.next + stride) % f.parameterIds.size();
    f.item.updateBoxF(f.parameterIds[f.next],
                      {{QStringLiteral("leftBorder"), bool(++f.toggle & 1)}});
}

void addChange(FrameFixture &f)
{
    const int i = int(++f.toggle % 97);
    f.item.addBoxSimpleF(QStringLiteral("added %1").arg(f.toggle % 5), 19.0 * i, 11.0 * i, 42, 28);
}

void styleChange(FrameFixture &f)
{
    const QVariantMap styles[2] = {{{QStringLiteral("width"), 1}}, {{QStringLiteral("width"), 2}}};
    f.item.setBoxSimpleStyle(styles[++f.toggle & 1]);
}

// The boxes a frame repainted, as the item's debug log reports them ("repainted N boxes").
QVector<int> repaintedLog;

void collectRepainted(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (qstrcmp(context.category, "bll.painteditem.retained") == 0
        && message.startsWith(QLatin1String("repainted ")))
        repaintedLog.append(message.section(QLatin1Char(' '), 1, 1).toInt());
}

template<void (*change)(FrameFixture &)>
void frameAfter(benchmark::State &state)
{
    FrameFixture &f = fixture<FrameFixture>(int(state.range(0)));
    for (auto _ : state) {
        change(f);
        f.frame();
    }
    // Untimed: the mean number of boxes repainted over a few more frames.
    repaintedLog.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("bll.painteditem.retained.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(collectRepainted);
    constexpr int frames = 20;
    for (int i = 0; i < frames; ++i) {
        change(f);
        f.frame();
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    state.counters["boxes_repainted"] =
            double(std::accumulate(repaintedLog.begin(), repaintedLog.end(), 0)) / frames;
}

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Heap bytes per box of each family, beside the size of the record itself, and
// what the item keeps per box after its first paint.
void storedBytes(benchmark::State &state)
{
    const int count = int(state.range(0));
    const Scene scene = mixedScene(count);
    const auto only = [&scene](Box::Kind kind) {
        Scene part = scene;
        part.boxes.clear();
        for (const Box &box : scene.boxes) {
            if (box.kind == kind)
                part.boxes.append(box);
        }
        return part;
    };
    const Scene parts[3] = {only(Box::Parameter), only(Box::Dvi), only(Box::Simple)};
    const char *names[3] = {"parameter", "dvi", "simple"};
    const size_t recordSizes[3] = {sizeof(BoxRecord), sizeof(BoxDVIRecord),
                                   sizeof(BoxSimpleRecord)};
    QImage target = newTarget();
    for (auto _ : state) {
        for (int family = 0; family < 3; ++family) {
            const int boxes = std::max(1, int(parts[family].boxes.size()));
            const size_t before = heapInUse();
            auto item = std::make_unique<BenchItem>();
            feed(*item, parts[family]);
            const size_t stored = heapInUse();
            paintOnce(target, [&item](QPainter *p) { item->paint(p); });
            const size_t painted = heapInUse();
            const std::string name = names[family];
            state.counters[name + "_bytes_per_box"] = double(stored - before) / boxes;
            state.counters[name + "_record_bytes"] = double(recordSizes[family]);
            state.counters[name + "_painted_bytes_per_box"] = double(painted - before) / boxes;
        }
    }
}

// What the item keeps to repaint only what changed: its copy of the last frame and the extent
// of every box. The labels' layouts are made by a first paint that keeps nothing (a clipped
// painter), then a frame as Qt Quick paints it keeps the rest.
void retainedBytes(benchmark::State &state)
{
    const Scene scene = mixedScene(int(state.range(0)));
    for (auto _ : state) {
        Bll_Painted_Item item;
        feed(item, scene);
        QImage target = newTarget();
        paintOnce(target, [&item](QPainter *p) {
            p->setClipRect(0, 0, 1920, 1080);
            (item.*(&BenchItem::paint))(p);
        });
        const size_t before = heapInUse();
        QPainter painter(&target);
        (item.*(&BenchItem::paint))(&painter);
        painter.end();
        const double kept = double(heapInUse() - before);
        state.counters["retained_bytes"] = kept;
        state.counters["retained_image_bytes"] = double(target.sizeInBytes());
        state.counters["retained_bytes_per_box"] =
                (kept - double(target.sizeInBytes())) / std::max(1, int(scene.boxes.size()));
    }
}

// Under callgrind only the work between the two toggles is counted; each target
// builds no more than it needs, as everything else runs on the simulated CPU too.
int countInstructions(const char *target, int count)
{
    const QString name = QString::fromLatin1(target);
    QImage image = newTarget();
    const auto counted = [](auto work) {
        CALLGRIND_TOGGLE_COLLECT;
        work();
        CALLGRIND_TOGGLE_COLLECT;
    };
    const auto steadyPaint = [&](auto paint) {
        paintOnce(image, paint); // warm-up
        counted([&] { paintOnce(image, paint); });
    };
    const auto limitList = [&] {
        QPainter painter(&image);
        return boxDrawList(mixedScene(count), painter.pen(), painter.brush(), painter.font());
    };
    if (name == QLatin1String("item") || name == QLatin1String("item-first")) {
        BenchItem item;
        feed(item, mixedScene(count));
        if (name == QLatin1String("item"))
            steadyPaint([&item](QPainter *p) { item.paint(p); });
        else
            counted([&] { paintOnce(image, [&item](QPainter *p) { item.paint(p); }); });
    } else if (name == QLatin1String("limit")) {
        const DrawList list = limitList();
        steadyPaint([&list](QPainter *p) { replay(p, list); });
    } else if (name == QLatin1String("shapes-item") || name == QLatin1String("shapes-limit")) {
        ShapeFixture &f = fixture<ShapeFixture>(count);
        if (name == QLatin1String("shapes-item"))
            steadyPaint([&f](QPainter *p) { f.item.paint(p); });
        else
            steadyPaint([&f](QPainter *p) { replay(p, f.list); });
    } else if (name == QLatin1String("frame-full") || name == QLatin1String("frame-hover")) {
        FrameFixture f(count);
        const auto change = name == QLatin1String("frame-hover") ? hoverChange : styleChange;
        counted([&] {
            change(f);
            f.frame();
        });
    } else if (name == QLatin1String("updateBoxF")) {
        // 10,000 calls, to be divided by 10,000.
        BenchItem item;
        const Scene scene = mixedScene(count);
        feed(item, scene);
        const QVector<QString> ids = idsOf(scene, Box::Parameter);
        const QVariantMap maps[2] = {{{QStringLiteral("leftBorder"), true}},
                                     {{QStringLiteral("leftBorder"), false}}};
        counted([&] {
            for (int i = 0, next = 0; i < 10000; ++i, next = (next + stride) % ids.size())
                item.updateBoxF(ids[next], maps[i & 1]);
        });
    } else {
        qWarning("unknown target %s", target);
        return 2;
    }
    return 0;
}

void registerAll(bool quick)
{
    const QVector<int> sizes =
            quick ? QVector<int> {200, 2000} : QVector<int> {1000, 10000, 100000};
    const QVector<int> updateSizes = quick ? QVector<int> {200, 2000} : QVector<int> {1000, 100000};
    const auto paintBench = [quick](const char *name, void (*function)(benchmark::State &)) {
        auto *bench = benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond);
        if (quick)
            bench->Iterations(2);
        else
            bench->Repetitions(5)->DisplayAggregatesOnly(true)->MinTime(0.3);
        return bench;
    };
    // Item and limit alternate size by size, so drift in the machine's load hits both alike.
    for (int n : sizes) {
        paintBench("paint/item", paintItem)->Arg(n);
        paintBench("paint/limit", paintLimit)->Arg(n);
    }
    for (int n : sizes) {
        auto *bench = benchmark::RegisterBenchmark("paint/item_first", paintItemFirst)
                              ->Arg(n)
                              ->Unit(benchmark::kMillisecond)
                              ->Iterations(1);
        if (!quick)
            bench->Repetitions(5)->DisplayAggregatesOnly(true);
    }
    for (int n : sizes) {
        paintBench("frame/full", frameAfter<styleChange>)->Arg(n);
        paintBench("frame/hover", frameAfter<hoverChange>)->Arg(n);
        paintBench("frame/pick", frameAfter<pickChange>)->Arg(n);
        paintBench("frame/add", frameAfter<addChange>)->Arg(n);
    }
    for (int n : sizes) {
        paintBench("shapes/item", paintShapesItem)->Arg(n);
        paintBench("shapes/limit", paintShapesLimit)->Arg(n);
    }
    const auto callBench = [quick](const char *name, void (*function)(benchmark::State &)) {
        auto *bench = benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMicrosecond);
        if (quick)
            bench->Iterations(100);
        else
            bench->Repetitions(5)->DisplayAggregatesOnly(true);
        return bench;
    };
    for (int n : updateSizes) {
        callBench("update/updateBoxF", updateBox)->Arg(n);
        callBench("update/updateBoxSimpleF", updateBoxSimple)->Arg(n);
    }
    for (int n : sizes)
        callBench("update/updateAllBoxF", updateAllBox)->Arg(n);
    benchmark::RegisterBenchmark("memory/retained", retainedBytes)
            ->Arg(quick ? 2000 : 100000)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("memory/stored", storedBytes)
            ->Arg(quick ? 2000 : 100000)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

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
