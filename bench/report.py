#!/usr/bin/env python3
"""Turns the raw figures of tools/run-benchmarks.sh into bench/RESULTS.md and its plot.

    bench/report.py <results directory> <output directory>

Reads paint.json and export.json (Google Benchmark), counts.txt (callgrind), peers.jsonl and
machine.txt; writes RESULTS.md and frame-time.png (through gnuplot).
"""
import json
import re
import subprocess
import sys
from collections import defaultdict
from pathlib import Path

results, output = Path(sys.argv[1]), Path(sys.argv[2])
SIZES = [1000, 10000, 100000]
PEERS = ["ItemPeer", "CanvasPeer", "RepeaterPeer", "ShapesPeer"]
PEER_NAMES = {"ItemPeer": "item", "CanvasPeer": "Canvas", "RepeaterPeer": "Repeater",
              "ShapesPeer": "Shapes"}


def to_ms(value, unit):
    return value * {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[unit]


# Google Benchmark: the median of the repetitions, wall-clock and CPU, in ms.
wall, cpu, counters = {}, {}, {}
for run in json.loads((results / "paint.json").read_text())["benchmarks"]:
    parts = run["run_name"].split("/")
    key = ("/".join(parts[:2]), int(parts[2]))
    if run.get("run_type") == "aggregate":
        if run.get("aggregate_name") != "median":
            continue
    elif key in wall:
        continue  # single runs only count where there are no repetitions
    wall[key] = to_ms(run["real_time"], run["time_unit"])
    cpu[key] = to_ms(run["cpu_time"], run["time_unit"])
    counters[key] = {k: v for k, v in run.items() if "bytes" in k or k == "boxes_repainted"}

counts = {}
for line in (results / "counts.txt").read_text().split("\n"):
    fields = line.split()
    if len(fields) == 3 and fields[2].isdigit():
        counts[(fields[0], int(fields[1]))] = int(fields[2])

# The frame benchmarks under this library and under the one before it kept its frames,
# run in alternating rounds: the median of each round's medians.
rounds = defaultdict(list)  # (library, name, boxes) -> ms
baseline_file = results / "baseline.jsonl"
if baseline_file.exists():
    for line in baseline_file.read_text().split("\n"):
        if line.strip():
            entry = json.loads(line)
            name, boxes = entry["name"].rsplit("/", 1)
            rounds[(entry["library"], name, int(boxes))].append(entry["ms"])


def round_median(library, name, boxes):
    values = sorted(rounds.get((library, name, boxes), []))
    return values[len(values) // 2] if values else None


peers = defaultdict(dict)  # (backend, peer, boxes) -> figure -> value
for line in (results / "peers.jsonl").read_text().split("\n"):
    if line.strip():
        entry = json.loads(line)
        peers[(entry["backend"], entry["peer"], entry["boxes"])][entry["figure"]] = entry["value"]


def fmt(value, digits=3):
    if value is None:
        return "–"
    if value >= 100:
        return f"{value:,.0f}"
    return f"{value:.{digits}g}"


def ratio(a, b):
    return None if a is None or b is None or b == 0 else a / b


def peer_figure(backend, peer, boxes, figure):
    entry = peers.get((backend, peer, boxes))
    if not entry:
        return None
    return entry.get(figure)


def peer_cell(backend, peer, boxes, figure, digits=3):
    entry = peers.get((backend, peer, boxes))
    if not entry:
        return "not run"
    if figure in entry:
        return fmt(entry[figure], digits)
    if "stopped" in entry:
        return f"> {entry['stopped']:.0f} s (stopped)"
    return "–"


lines = []
add = lines.append
add("# Benchmark results")
add("")
add("Regenerate everything on this page (about half an hour; installs valgrind, gnuplot and "
    "Mesa when missing):")
add("")
add("```sh")
add("tools/install-deps.sh && tools/run-benchmarks.sh")
add("```")
add("")
add("`tools/run-benchmarks.sh --quick` (and `ctest -L bench-quick`, part of the test suite) runs "
    "every benchmark on small scenes with a few iterations, to keep them building and running. "
    "Raw figures of the run below: [`results/`](results/).")
add("")
add("## Machine")
add("")
for line in (results / "machine.txt").read_text().strip().split("\n"):
    add(f"- {line}")
add("")
add("The machine's two cores are shared with other jobs, so wall-clock times are noisy. Every "
    "ratio below compares figures of one run; the callgrind instruction counts (one steady-state "
    "paint after a warm-up paint, collected with `--collect-atstart=no` around the paint alone) "
    "do not depend on the load and are the figures to trust for item-against-limit ratios. "
    "Times are medians of five repetitions.")
add("")
add("## The scene")
add("")
add("N boxes on a 1920 × 1080 item (`bench/scene/bench_scene.cpp`, seed 1): about 40 % parameter "
    "boxes (30 % of them with picked sides, 25 % with sides carrying a parameter), 30 % DVI boxes "
    "(60 % with side markers, 5 % with the label hidden), 30 % simple boxes (1 % hovered, 1 % "
    "selected); 98 % are large enough for a label. Every family has a full style (colours for "
    "every band and state). The shape scene for a derived class has N rectangles, ellipses and "
    "lines (40/30/30 %), a sixth with a style of their own, the lines forming one filled polyline.")
add("")

# -- paint against the limit
add("## `paint` against the limit")
add("")
add("The limit replays the same draw calls on a bare `QPainter` (`BenchScene::replay`): pens, "
    "brushes, fonts, polygons and label rectangles computed beforehand, no store, no style "
    "conversion. Both paint into a 1920 × 1080 ARGB32 premultiplied image. Target: item within "
    "1.10 × the limit at every N.")
add("")
add("| N | item paint (ms) | limit (ms) | item / limit, wall | item / limit, CPU "
    "| item / limit, instructions | first paint of a new item (ms) |")
add("|---|---|---|---|---|---|---|")
for n in SIZES:
    item, limit = wall.get(("paint/item", n)), wall.get(("paint/limit", n))
    ci, cl = counts.get(("item", n)), counts.get(("limit", n))
    instr = f"{ratio(ci, cl):.3f} ({ci / 1e6:,.0f} M / {cl / 1e6:,.0f} M)" if ci and cl else "–"
    add(f"| {n:,} | {fmt(item)} | {fmt(limit)} | {fmt(ratio(item, limit))} "
        f"| {fmt(ratio(cpu.get(('paint/item', n)), cpu.get(('paint/limit', n))))} | {instr} "
        f"| {fmt(wall.get(('paint/item_first', n)))} |")
add("")
i10, i100 = wall.get(("paint/item", 10000)), wall.get(("paint/item", 100000))
c10, c100 = cpu.get(("paint/item", 10000)), cpu.get(("paint/item", 100000))
n10, n100 = counts.get(("item", 10000)), counts.get(("item", 100000))
add(f"Linearity: paint at 100,000 boxes takes {fmt(ratio(i100, i10))} × the time at 10,000 "
    f"(CPU time: {fmt(ratio(c100, c10))} ×"
    + (f"; instructions: {ratio(n100, n10):.2f} ×" if n10 and n100 else "")
    + "; target at most 11 ×).")
first = counts.get(("item-first", 1000))
if first and counts.get(("item", 1000)):
    add("")
    add(f"The first paint of a new item lays every label out and keeps the layout: "
        f"{first / 1e6:,.1f} M instructions at 1,000 boxes, {ratio(first, counts[('item', 1000)]):.2f} × "
        f"a later paint, mostly Qt loading fonts and filling its glyph caches (a first paint "
        f"cost as much before the label cache, see below).")
add("")

add("### Shape scene, painted by a derived class")
add("")
add("A class derived from the item calls `paintRect`, `paintEllipse` and `paintLine` after the "
    "base `paint`; its limit replays the same calls.")
add("")
add("| N | derived item (ms) | limit (ms) | ratio, wall | ratio, CPU |")
add("|---|---|---|---|---|")
for n in SIZES:
    item, limit = wall.get(("shapes/item", n)), wall.get(("shapes/limit", n))
    add(f"| {n:,} | {fmt(item)} | {fmt(limit)} | {fmt(ratio(item, limit))} "
        f"| {fmt(ratio(cpu.get(('shapes/item', n)), cpu.get(('shapes/limit', n))))} |")
si, sl = counts.get(("shapes-item", 1000)), counts.get(("shapes-limit", 1000))
if si and sl:
    add("")
    add(f"Instructions at 1,000 shapes: {si / 1e6:,.1f} M against {sl / 1e6:,.1f} M, "
        f"{ratio(si, sl):.3f} ×.")
add("")

# -- retained frames
add("## The frame after one change")
add("")
add("The item keeps a copy of the frame it painted and the extent of every box; the next frame "
    "repaints only the boxes that touch what changed and copies the kept frame back everywhere "
    "else (see the README's Performance section). Frames here are painted as Qt Quick's painter node paints "
    "them for the item: the fill colour over the whole 1920 × 1080 texture, then `paint()`. The "
    "full frame follows a style change, which repaints every box; the others follow one "
    "`updateBoxSimpleF` hover change, one `updateBoxF` side pick, or one `addBoxSimpleF`, each on "
    "another box. *Before* is the library before it kept its frames (commit "
    + next((line.split(": ", 1)[1] for line in (results / "machine.txt").read_text().split("\n")
            if line.startswith("baseline: ")), "–")
    + "), swapped in under the same benchmark binary; its frame benchmarks and this library's "
    "ran in alternating rounds.")
add("")
add("| N | full frame (ms) | after a hover change (ms) | after a side pick (ms) | after an add (ms) "
    "| boxes repainted after a hover change | hover / full | before: full frame (ms) "
    "| before: after a hover change (ms) |")
add("|---|---|---|---|---|---|---|---|---|")
for n in SIZES:
    full, hover = wall.get(("frame/full", n)), wall.get(("frame/hover", n))
    repainted = counters.get(("frame/hover", n), {})
    add(f"| {n:,} | {fmt(full)} | {fmt(hover)} | {fmt(wall.get(('frame/pick', n)))} "
        f"| {fmt(wall.get(('frame/add', n)))} "
        f"| {fmt(repainted.get('boxes_repainted'))} | {fmt(ratio(hover, full))} "
        f"| {fmt(round_median('baseline', 'frame/full', n))} "
        f"| {fmt(round_median('baseline', 'frame/hover', n))} |")
add("")
h1, h10, h100 = (wall.get(("frame/hover", n)) for n in SIZES)
f10, f100 = wall.get(("frame/full", 10000)), wall.get(("frame/full", 100000))
now, before = round_median("current", "frame/full", 10000), round_median("baseline", "frame/full", 10000)
cf, cb = counts.get(("frame-full", 10000)), counts.get(("frame-full-baseline", 10000))
ch, chb = counts.get(("frame-hover", 10000)), counts.get(("frame-hover-baseline", 10000))
add("Against the targets:")
add("")
add(f"- a frame after a hover change over a full frame: {fmt(ratio(h10, f10))} at 10,000 boxes "
    f"(target at most 0.1), {fmt(ratio(h100, f100))} at 100,000 (target at most 0.02);")
add(f"- a hover frame at 100,000 boxes over one at 1,000: {fmt(ratio(h100, h1))} × (target at "
    f"most 2 ×);")
add(f"- a full frame at 10,000 boxes against the library before: {fmt(now)} ms against "
    f"{fmt(before)} ms in the alternating rounds, {fmt(ratio(now, before))} ×"
    + (f"; {ratio(cf, cb):.3f} × in instructions ({cf / 1e6:,.0f} M against {cb / 1e6:,.0f} M)"
       if cf and cb else "")
    + " (target at most 1.05 ×).")
if ch and chb:
    add("")
    add(f"Instructions of a frame after one hover change at 10,000 boxes: {ch / 1e6:,.1f} M against "
        f"{chb / 1e6:,.0f} M before ({ratio(chb, ch):,.0f} × fewer).")
retained = next((v for (name, n), v in counters.items() if name == "memory/retained"), {})
if retained:
    add("")
    add(f"What the item keeps for it (100,000 boxes, `mallinfo2`): "
        f"{retained.get('retained_bytes', 0) / 1e6:.1f} MB, of which the frame's copy is "
        f"{retained.get('retained_image_bytes', 0) / 1e6:.1f} MB (one texture-sized image) and the "
        f"boxes' extents {retained.get('retained_bytes_per_box', 0):.0f} bytes per box.")
add("")
add("In a real `QQuickView` (`ItemPeer`, from the request to `frameSwapped`; the full frame sets "
    "a style again):")
add("")
add("| backend | N | full frame (ms) | after a hover change (ms) | after a side pick (ms) "
    "| after an add (ms) | hover / full |")
add("|---|---|---|---|---|---|---|")
for backend in ["software", "opengl"]:
    for n in SIZES:
        if (backend, "ItemPeer", n) not in peers:
            continue
        add(f"| {backend} | {n:,} | {peer_cell(backend, 'ItemPeer', n, 'frame_ms')} "
            f"| {peer_cell(backend, 'ItemPeer', n, 'hover_frame_ms')} "
            f"| {peer_cell(backend, 'ItemPeer', n, 'pick_frame_ms')} "
            f"| {peer_cell(backend, 'ItemPeer', n, 'add_frame_ms')} "
            f"| {fmt(ratio(peer_figure(backend, 'ItemPeer', n, 'hover_frame_ms'), peer_figure(backend, 'ItemPeer', n, 'frame_ms')))} |")
add("")
r1, r100 = (counters.get(("frame/hover", n), {}).get("boxes_repainted") for n in (1000, 100000))
add("A frame after one change costs the copy of the kept frame plus the boxes that touch the "
    "changed box, not the boxes on screen. The scene packs its N boxes into the same 1920 × 1080 "
    "area, so they overlap more deeply as N grows: the boxes a hover change repaints grow from "
    f"{fmt(r1)} at 1,000 boxes to {fmt(r100)} at 100,000, and the frame grows with them.")
add("")

# -- peers
add("## Against what a Qt developer would pick instead")
add("")
add("Each peer draws the same scene with the same colours and label sizes in a `QQuickView` of "
    "its own process (`bench/peers/`), fed from QML: the item by N `add…F` calls (and the "
    "`update…F` calls that set sides, markers and states), the `Repeater` by a model of N "
    "entries, the `Canvas` by keeping the array its `onPaint` walks, the `Shape` by building one "
    "`PathSvg` per band colour plus a `Text` per label. A frame is timed from the request "
    "(for the item a style set again and `update()`, since it would otherwise repaint only what "
    "changed; `requestPaint()`; or for the scene-graph peers a one-pixel move of the whole "
    "scene, which makes every node paint again) to `frameSwapped`. Memory per box is the growth "
    "of the resident set from the empty scene's first frame to the filled scene's, over N.")
add("")
add("Where a peer differs in look: the `Repeater` draws bands and markers as rectangles (a "
    "`Rectangle` is neither a trapezoid nor a triangle); the `Shape` fills each band colour as one "
    "path, so bands overlap in a different order; the `Canvas` does not clip labels to their box. "
    "`bll_bench_peers <peer> <boxes> <frames> <file.png>` saves what a peer drew (on OpenGL; the "
    "software backend cannot grab a window), to compare them by eye.")
add("")
for backend, title in [("software", "Software backend (`QT_QUICK_BACKEND=software`)"),
                       ("opengl", "OpenGL: Mesa (llvmpipe) under `xvfb-run`, threaded render loop")]:
    if not any(key[0] == backend for key in peers):
        add(f"### {title}")
        add("")
        add("Not run: see `results/run.log`.")
        add("")
        continue
    add(f"### {title}")
    add("")
    add("| N | peer | build from QML (ms) | first frame (ms) | full frame (ms) "
        "| frame after one hover change (ms) | memory per box (bytes) |")
    add("|---|---|---|---|---|---|---|")
    for n in SIZES:
        for peer in PEERS:
            if (backend, peer, n) not in peers:
                continue
            add(f"| {n:,} | {PEER_NAMES[peer]} | {peer_cell(backend, peer, n, 'build_ms')} "
                f"| {peer_cell(backend, peer, n, 'first_frame_ms')} "
                f"| {peer_cell(backend, peer, n, 'frame_ms')} "
                f"| {peer_cell(backend, peer, n, 'hover_frame_ms')} "
                f"| {peer_cell(backend, peer, n, 'bytes_per_box', 4)} |")
    add("")
    add("Against the targets (peer's figure over the item's):")
    add("")
    add("| N | full frame: Canvas / item (target ≥ 5) | build: Repeater / item (target ≥ 10 at "
        "10,000) | memory per box: Repeater / item (target ≥ 10) | full frame: Repeater / item "
        "| full frame: Shapes / item |")
    add("|---|---|---|---|---|---|")
    for n in SIZES:
        def over(peer, figure):
            return fmt(ratio(peer_figure(backend, peer, n, figure),
                             peer_figure(backend, "ItemPeer", n, figure)))
        add(f"| {n:,} | {over('CanvasPeer', 'frame_ms')} | {over('RepeaterPeer', 'build_ms')} "
            f"| {over('RepeaterPeer', 'bytes_per_box')} | {over('RepeaterPeer', 'frame_ms')} "
            f"| {over('ShapesPeer', 'frame_ms')} |")
    add("")
add("Peers that ran out of their time (200 s per process, `stopped`) show what they had "
    "measured until then. `Canvas` has nothing to build: its scene is the array its `onPaint` "
    "walks, and every frame pays for it. On OpenGL the scene-graph peers redraw a moved scene "
    "from geometry they keep on the GPU side, so their full frames can undercut a painted item, "
    "which paints and uploads a 1920 × 1080 image per frame; they pay in build time and memory.")
add("")
add("![Frame time against N](frame-time.png)")
add("")

# -- saving to files
export_file = results / "export.json"
if export_file.exists():
    exported = json.loads(export_file.read_text())
    saved, saved_bytes = {}, {}
    for run in exported["benchmarks"]:
        if run.get("run_type") == "aggregate" and run.get("aggregate_name") != "median":
            continue
        _, name, boxes = run["run_name"].split("/")[:3]
        saved[(name, int(boxes))] = to_ms(run["real_time"], run["time_unit"])
        if "file_bytes" in run:
            saved_bytes[(name, int(boxes))] = run["file_bytes"]
    context = exported["context"]
    kinds = [("paint", "paint only"), ("png", "PNG"), ("png_scale2", "PNG at scale 2"),
             ("jpeg", "JPEG"), ("pdf", "PDF"), ("svg", "SVG")]
    add("## Saving to files")
    add("")
    add("`BllExport::save()` of the item holding the scene (`bench/bench_export.cpp`), from the call "
        "to the file renamed into place: a full paint of the item, then the encoding and writing. "
        "*Paint only* is that paint on a picture of the item's size, for comparison. Medians of three "
        f"repetitions, run on its own on {context['date'][:16]} (load at start "
        f"{', '.join(f'{load:.2f}' for load in context.get('load_avg', []))}) on the same shared "
        "machine, with other builds beside it.")
    add("")
    add("| N | " + " | ".join(f"{title} (ms)" for _, title in kinds) + " |")
    add("|---|" + "---|" * len(kinds))
    for n in SIZES:
        add(f"| {n:,} | " + " | ".join(fmt(saved.get((kind, n))) for kind, _ in kinds) + " |")
    add("")
    add("File sizes:")
    add("")
    add("| N | " + " | ".join(f"{title} (MB)" for kind, title in kinds if kind != "paint") + " |")
    add("|---|" + "---|" * (len(kinds) - 1))
    for n in SIZES:
        add(f"| {n:,} | " + " | ".join(
            fmt(saved_bytes[(kind, n)] / 1e6) if (kind, n) in saved_bytes else "–"
            for kind, _ in kinds if kind != "paint") + " |")
    add("")
    encodings = sorted(saved[("png", n)] - saved[("paint", n)] for n in SIZES
                       if ("png", n) in saved and ("paint", n) in saved)
    per_box = {kind: saved_bytes[(kind, SIZES[-1])] / SIZES[-1] for kind in ("pdf", "svg")
               if (kind, SIZES[-1]) in saved_bytes}
    vector_ratios = sorted(saved[(kind, n)] / saved[("paint", n)] for kind in ("pdf", "svg")
                           for n in SIZES if (kind, n) in saved and ("paint", n) in saved)
    if encodings and len(per_box) == 2 and vector_ratios:
        add(f"A picture costs a full paint at its size plus the encoding (PNG's compression, about "
            f"{fmt(encodings[len(encodings) // 2])} ms for 1920 × 1080 pixels; JPEG's, little), "
            "and its file follows the picture, not N. PDF and SVG cost about a paint "
            f"({vector_ratios[0]:.2f} to {vector_ratios[-1]:.2f} × here), as they record the "
            "drawing rather than rasterize it, and grow with the boxes, since every "
            f"band, marker, outline and label is written: {fmt(per_box['pdf'])} bytes per box in "
            f"PDF, which compresses its page, {fmt(per_box['svg'])} in SVG, where Qt's generator "
            "restates pen, brush and font in a group of its own at every change of painter state.")
        add("")

# -- scaling of the store
add("## Updates and storage")
add("")
add("| call | N | per call (µs) |")
add("|---|---|---|")
for name in ["update/updateBoxF", "update/updateBoxSimpleF", "update/updateAllBoxF"]:
    for n in SIZES:
        if (name, n) in wall:
            add(f"| `{name.split('/')[1]}` | {n:,} | {fmt(wall[(name, n)] * 1e3)} |")
u1, u100 = wall.get(("update/updateBoxF", 1000)), wall.get(("update/updateBoxF", 100000))
n1, n100 = counts.get(("updateBoxF", 1000)), counts.get(("updateBoxF", 100000))
add("")
add(f"`updateBoxF` per call at 100,000 boxes over 1,000: {fmt(ratio(u100, u1))} × in wall-clock "
    f"time (target at most 1.5 ×)"
    + (f", {ratio(n100, n1):.3f} × in instructions ({n1 / 1e4:,.0f} against {n100 / 1e4:,.0f} "
       f"per call, callgrind over 10,000 calls)" if n1 and n100 else "")
    + ". The calls visit the boxes in a scattered order, as clicks would. The work per call "
    "does not grow with N (a hash look-up and one record), but the wall-clock target is missed: "
    "at 100,000 boxes the table no longer stays in the caches of "
    "this shared processor, and each call waits for a few memory reads. `updateAllBoxF` visits "
    "every box: its time grows with N.")
add("")
memory = next((v for (name, n), v in counters.items() if name == "memory/stored"), {})
if memory:
    add("Heap bytes per stored box (100,000 boxes of one family added to a new item, measured with "
        "`mallinfo2`), beside the size of the record itself; the last column adds what the first "
        "paint keeps (the label layouts):")
    add("")
    add("| family | record (bytes) | stored, per box | after the first paint, per box |")
    add("|---|---|---|---|")
    for family in ["parameter", "dvi", "simple"]:
        add(f"| {family} | {memory.get(family + '_record_bytes', 0):.0f} "
            f"| {memory.get(family + '_bytes_per_box', 0):.0f} "
            f"| {memory.get(family + '_painted_bytes_per_box', 0):.0f} |")
    add("")
    add("A stored box costs its record, the `boxId` string (a heap block of its own) and its "
        "slot in the table's index (a `QHash` node) and entry vector, whose capacity grows ahead.")
add("")
# What was optimised, with figures measured once against the code before it.
notes = Path(__file__).with_name("optimisation.md")
if notes.exists():
    add(notes.read_text().strip())
(output / "RESULTS.md").write_text("\n".join(lines).rstrip() + "\n")

# -- the plot
data = output / "frame-time.dat"
series = [("item paint()", lambda n: wall.get(("paint/item", n))),
          ("item frame after a hover change", lambda n: wall.get(("frame/hover", n))),
          ("limit (bare QPainter)", lambda n: wall.get(("paint/limit", n)))]
for backend, label in [("software", "software"), ("opengl", "OpenGL")]:
    for peer in PEERS:
        series.append((f"{PEER_NAMES[peer]} frame, {label}",
                       lambda n, b=backend, p=peer: peer_figure(b, p, n, "frame_ms")))
with data.open("w") as out:
    out.write("# N " + " | ".join(name for name, _ in series) + "\n")
    for n in SIZES:
        out.write(f"{n} " + " ".join(str(get(n)) if get(n) else "NaN" for _, get in series) + "\n")
plots = []
for column, (name, _) in enumerate(series, start=2):
    dash = "dt 1" if "OpenGL" not in name else "dt 2"
    plots.append(f"'{data}' using 1:{column} with linespoints lw 2 {dash} title '{name}'")
script = f"""
set terminal pngcairo size 1000,620 font 'DejaVu Sans,10'
set output '{output / "frame-time.png"}'
set title 'Frame time against the number of boxes (1920 x 1080)'
set logscale xy
set xlabel 'boxes'
set ylabel 'ms per frame (log)'
set xtics (1000, 10000, 100000)
set xrange [700:140000]
set key outside right
set grid
plot {", ".join(plots)}
"""
subprocess.run(["gnuplot"], input=script, text=True, check=True)
data.unlink()
