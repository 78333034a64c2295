// Paint and update costs of the item against the bare-QPainter limit.
//
//   bll_bench [--quick] [google benchmark flags]   timings (JSON with --benchmark_out)
//   bll_bench --count <target> <boxes>             one paint, for callgrind's instruction count
//
// Targets of --count: item, limit, item-first (the first paint of a new item),
// shapes-item, shapes-limit, updateBoxF and addBoxSimpleF (10,000 calls), frame-full (a frame
// after a style change), frame-hover (a frame after one hover change), frame-hover-spread (the
// same on the spread scene, frame-hover-grid on the grid scene; frame-hover-first counts the first
// such frame), frame-grow and frame-shrink (a frame after the texture grew or shrank by 64 pixels
// each way), frame-param, frame-allbox and frame-alldvi (a frame after updateBoxParamF,
// updateAllBoxF or updateAllBoxDVIF changed a few boxes). Run it as
//   valgrind --tool=callgrind --collect-atstart=no bll_bench --count item 10000
// BLL_PAINT_THREADS=1 counts a full frame on one thread.

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

// Boxes added again a pixel aside, on an item that was never painted: the store's own work.
struct AddFixture
{
    explicit AddFixture(int count) : scene(mixedScene(count))
    {
        feed(item, scene);
        for (const Box &box : scene.boxes) {
            if (box.kind == Box::Simple)
                simple.append(box);
        }
    }
    // Call after call visits the boxes in a scattered order, each time a pixel aside.
    void addNext()
    {
        next = (next + stride) % (2 * int(simple.size()));
        const Box &box = simple[next % simple.size()];
        item.addBoxSimpleF(box.id, box.x + (next < simple.size() ? 1 : 0), box.y, box.width,
                           box.height);
    }
    Scene scene;
    BenchItem item;
    QVector<Box> simple;
    int next = 0;
};

void addBoxSimple(benchmark::State &state)
{
    AddFixture &f = fixture<AddFixture>(int(state.range(0)));
    for (auto _ : state)
        f.addNext();
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

// Frames as Qt Quick paints them for the item itself (paintFrame()).
struct FrameFixture
{
    explicit FrameFixture(int count) : FrameFixture(mixedScene(count)) { }
    explicit FrameFixture(Scene s) : scene(std::move(s)), target(newTarget())
    {
        feed(item, scene);
        simpleIds = idsOf(scene, Box::Simple);
        parameterIds = idsOf(scene, Box::Parameter);
        dviIds = idsOf(scene, Box::Dvi);
        for (const Box &box : scene.boxes) {
            if (box.kind == Box::Simple)
                hovered.insert(box.id, box.hover);
            else if (box.kind == Box::Parameter)
                leftPicked.insert(box.id, box.picked & Left);
        }
        frame();
        frame();
    }
    // Qt Quick's painter node gives its image a new size, then fills and paints it.
    void resize(const QSize &size) { target = QImage(size, target.format()); }
    void frame() { paintFrame(item, target); }
    Scene scene;
    Bll_Painted_Item item;
    QImage target;
    QVector<QString> simpleIds, parameterIds, dviIds;
    // What each box's state is, so that every change below changes it: the item repaints
    // nothing after a call that changes nothing.
    QHash<QString, bool> hovered, leftPicked;
    int next = 0;
    unsigned toggle = 0;
};

// One change between frames of each kind; each call changes another box.
void hoverChange(FrameFixture &f)
{
    f.next = (f.next + stride) % f.simpleIds.size();
    bool &hovered = f.hovered[f.simpleIds[f.next]];
    hovered = !hovered;
    f.item.updateBoxSimpleF(f.simpleIds[f.next], {{QStringLiteral("isHover"), hovered}});
}

void pickChange(FrameFixture &f)
{
    f.next = (f.next + stride) % f.parameterIds.size();
    bool &picked = f.leftPicked[f.parameterIds[f.next]];
    picked = !picked;
    f.item.updateBoxF(f.parameterIds[f.next], {{QStringLiteral("leftBorder"), picked}});
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

// Resizes by 64 pixels each way from the item's size, and back.
void toItemSize(FrameFixture &f)
{
    f.resize(QSize(1920, 1080));
}

void grow(FrameFixture &f)
{
    f.resize(QSize(1984, 1144));
}

void shrink(FrameFixture &f)
{
    f.resize(QSize(1856, 1016));
}

// Bulk updates that change a few boxes of many: no side is picked but the top sides of these,
// and every DVI label is shown.
constexpr int fewBoxes = 20;

struct FewPickedFixture : FrameFixture
{
    explicit FewPickedFixture(int count) : FrameFixture(count)
    {
        item.updateAllBoxF({{QStringLiteral("topBorder"), false},
                            {QStringLiteral("bottomBorder"), false},
                            {QStringLiteral("leftBorder"), false},
                            {QStringLiteral("rightBorder"), false}});
        item.updateAllBoxDVIF({{QStringLiteral("showText"), true}});
        for (int i = 0; i < fewBoxes; ++i)
            item.updateBoxF(few(parameterIds, i), {{QStringLiteral("topBorder"), true}});
        frame();
    }
    // The i-th of the few boxes of a family; `set` picks another few.
    static const QString &few(const QVector<QString> &ids, int i, int set = 0)
    {
        return ids[int((qint64(i) + set * fewBoxes) * stride % ids.size())];
    }
};

void paramChange(FrameFixture &f)
{
    f.item.updateBoxParamF({{QStringLiteral("currentParam"), (++f.toggle & 1) ? 1.0 : 2.0}});
}

void pickFewLeft(FrameFixture &f)
{
    for (int i = 0; i < fewBoxes; ++i)
        f.item.updateBoxF(FewPickedFixture::few(f.parameterIds, i, 1),
                          {{QStringLiteral("leftBorder"), true}});
}

void unpickAllLeft(FrameFixture &f)
{
    f.item.updateAllBoxF({{QStringLiteral("leftBorder"), false}});
}

void hideFewLabels(FrameFixture &f)
{
    for (int i = 0; i < fewBoxes; ++i)
        f.item.updateBoxDVIF(FewPickedFixture::few(f.dviIds, i),
                             {{QStringLiteral("showText"), false}});
}

void showAllLabels(FrameFixture &f)
{
    f.item.updateAllBoxDVIF({{QStringLiteral("showText"), true}});
}

void nothing(FrameFixture &) { }

// The spread scene; hover changes stay on the boxes that lie within the texture.
struct SpreadFixture : FrameFixture
{
    explicit SpreadFixture(int count) : FrameFixture(spreadScene(count))
    {
        simpleIds.clear();
        for (const Box &box : scene.boxes) {
            if (box.kind == Box::Simple && box.x + box.width < 1920 && box.y + box.height < 1080)
                simpleIds.append(box.id);
        }
    }
};

// The grid scene, whose boxes fill the texture one a cell.
struct GridFixture : FrameFixture
{
    explicit GridFixture(int count) : FrameFixture(gridScene(count)) { }
};

// Kept apart, so that a benchmark that resizes leaves the others their texture.
struct ResizeFixture : FrameFixture
{
    using FrameFixture::FrameFixture;
};

// What frames repainted, as the item's debug log says: "repainted N boxes" after a frame that
// repainted only what changed, "full frame: why" before one that repainted everything.
struct RepaintLog
{
    int partial = 0, full = 0;
    qint64 boxes = 0;
    bool on = false;
} repaintLog;

void collectRepaints(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (!repaintLog.on || qstrcmp(context.category, "bll.painteditem.retained") != 0)
        return;
    if (message.startsWith(QLatin1String("repainted "))) {
        ++repaintLog.partial;
        repaintLog.boxes += message.section(QLatin1Char(' '), 1, 1).toInt();
    } else if (message.startsWith(QLatin1String("full frame:"))) { // not "full frame in N bands"
        ++repaintLog.full;
    }
}

// Frames after a change; prepare() and its frame set the state each change starts from and are
// not timed. Then, untimed, the boxes repainted over a few more frames.
template<typename Fixture, void (*change)(FrameFixture &),
         void (*prepare)(FrameFixture &) = nothing>
void frameAfter(benchmark::State &state)
{
    Fixture &f = fixture<Fixture>(int(state.range(0)));
    const auto prepared = [&f] {
        if (prepare != nothing) {
            prepare(f);
            f.frame();
        }
    };
    for (auto _ : state) {
        if (prepare != nothing) {
            state.PauseTiming();
            prepared();
            state.ResumeTiming();
        }
        change(f);
        f.frame();
    }
    repaintLog = RepaintLog();
    QLoggingCategory::setFilterRules(QStringLiteral("bll.painteditem.retained.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(collectRepaints);
    constexpr int frames = 20;
    for (int i = 0; i < frames; ++i) {
        prepared();
        repaintLog.on = true;
        change(f);
        f.frame();
        repaintLog.on = false;
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    state.counters["boxes_repainted"] =
            repaintLog.partial ? double(repaintLog.boxes) / repaintLog.partial : 0;
    state.counters["full_frames"] = double(repaintLog.full) / frames;
}

// A full frame on that many threads; 0 leaves BLL_PAINT_THREADS unset (every core).
template<int threads>
void fullFrameOn(benchmark::State &state)
{
    FrameFixture &f = fixture<FrameFixture>(int(state.range(0)));
    if (threads > 0)
        qputenv("BLL_PAINT_THREADS", QByteArray::number(threads));
    for (auto _ : state) {
        styleChange(f);
        f.frame();
    }
    qunsetenv("BLL_PAINT_THREADS");
}

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Heap bytes per box of each family, beside the size of the record itself, and
// what the item keeps per box after its first paint: the paint is clipped to the whole image, so
// that it keeps no copy of the frame, only what the boxes keep (their labels).
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
    const auto labelled = [](const Scene &part) {
        return std::count_if(part.boxes.begin(), part.boxes.end(), [](const Box &box) {
            const double least = box.kind == Box::Dvi ? 5 : 10;
            return box.width > least && box.height > least && box.showText;
        });
    };
    QImage target = newTarget();
    for (auto _ : state) {
        for (int family = 0; family < 3; ++family) {
            const int boxes = std::max(1, int(parts[family].boxes.size()));
            const size_t before = heapInUse();
            auto item = std::make_unique<BenchItem>();
            feed(*item, parts[family]);
            const size_t stored = heapInUse();
            paintOnce(target, [&item, &target](QPainter *p) {
                p->setClipRect(target.rect());
                item->paint(p);
            });
            const size_t painted = heapInUse();
            const std::string name = names[family];
            state.counters[name + "_bytes_per_box"] = double(stored - before) / boxes;
            state.counters[name + "_record_bytes"] = double(recordSizes[family]);
            state.counters[name + "_painted_bytes_per_box"] = double(painted - before) / boxes;
            state.counters[name + "_label_bytes_per_labelled_box"] =
                    double(painted - stored) / std::max<qsizetype>(1, labelled(parts[family]));
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
    QString name = QString::fromLatin1(target);
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
    } else if (name.startsWith(QLatin1String("frame-"))) {
        // Each change as its benchmark makes it: the state it starts from first, uncounted. One
        // change and frame go first, uncounted too, but for a target ending in -first: the first
        // frame after full ones also lays out the index of where the boxes lie.
        const bool first = name.endsWith(QLatin1String("-first"));
        if (first)
            name.chop(int(std::strlen("-first")));
        using Change = void (*)(FrameFixture &);
        const std::map<QString, std::pair<Change, Change>> frames = {
                {QStringLiteral("frame-full"), {nothing, styleChange}},
                {QStringLiteral("frame-hover"), {nothing, hoverChange}},
                {QStringLiteral("frame-hover-spread"), {nothing, hoverChange}},
                {QStringLiteral("frame-hover-grid"), {nothing, hoverChange}},
                {QStringLiteral("frame-grow"), {toItemSize, grow}},
                {QStringLiteral("frame-shrink"), {toItemSize, shrink}},
                {QStringLiteral("frame-param"), {nothing, paramChange}},
                {QStringLiteral("frame-allbox"), {pickFewLeft, unpickAllLeft}},
                {QStringLiteral("frame-alldvi"), {hideFewLabels, showAllLabels}}};
        const auto it = frames.find(name);
        if (it == frames.end()) {
            qWarning("unknown target %s", target);
            return 2;
        }
        std::unique_ptr<FrameFixture> f;
        if (name == QLatin1String("frame-hover-spread"))
            f = std::make_unique<SpreadFixture>(count);
        else if (name == QLatin1String("frame-hover-grid"))
            f = std::make_unique<GridFixture>(count);
        else if (name == QLatin1String("frame-param") || name == QLatin1String("frame-allbox")
                 || name == QLatin1String("frame-alldvi"))
            f = std::make_unique<FewPickedFixture>(count);
        else
            f = std::make_unique<FrameFixture>(count);
        const auto prepare = [&] {
            if (it->second.first != nothing) {
                it->second.first(*f);
                f->frame();
            }
        };
        if (!first) {
            prepare();
            it->second.second(*f);
            f->frame();
        }
        prepare();
        counted([&] {
            it->second.second(*f);
            f->frame();
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
    } else if (name == QLatin1String("addBoxSimpleF")) {
        AddFixture f(count); // 10,000 calls, to be divided by 10,000
        counted([&] {
            for (int i = 0; i < 10000; ++i)
                f.addNext();
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
        paintBench("frame/full", frameAfter<FrameFixture, styleChange>)->Arg(n);
        paintBench("frame/hover", frameAfter<FrameFixture, hoverChange>)->Arg(n);
        paintBench("frame/pick", frameAfter<FrameFixture, pickChange>)->Arg(n);
        paintBench("frame/add", frameAfter<FrameFixture, addChange>)->Arg(n);
        paintBench("frame/hover_spread", frameAfter<SpreadFixture, hoverChange>)->Arg(n);
        paintBench("frame/hover_grid", frameAfter<GridFixture, hoverChange>)->Arg(n);
    }
    // A full frame on one thread, two, and every core, in turn at each size.
    for (int n : quick ? QVector<int> {200} : sizes) {
        paintBench("threads/1", fullFrameOn<1>)->Arg(n);
        paintBench("threads/2", fullFrameOn<2>)->Arg(n);
        paintBench("threads/all", fullFrameOn<0>)->Arg(n);
    }
    // Resizes and bulk updates at one size: frames as a share of a full frame.
    const int middle = quick ? sizes[0] : sizes[1];
    paintBench("frame/grow", frameAfter<ResizeFixture, grow, toItemSize>)->Arg(middle);
    paintBench("frame/shrink", frameAfter<ResizeFixture, shrink, toItemSize>)->Arg(middle);
    paintBench("frame/param", frameAfter<FewPickedFixture, paramChange>)->Arg(middle);
    paintBench("frame/allbox", frameAfter<FewPickedFixture, unpickAllLeft, pickFewLeft>)
            ->Arg(middle);
    paintBench("frame/alldvi", frameAfter<FewPickedFixture, showAllLabels, hideFewLabels>)
            ->Arg(middle);
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
        callBench("update/addBoxSimpleF", addBoxSimple)->Arg(n);
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
