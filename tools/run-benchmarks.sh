#!/usr/bin/env bash
# Runs the benchmarks and regenerates bench/RESULTS.md with its plot.
#
#   tools/run-benchmarks.sh           full run (about an hour): timings, picking, boxes fed from a
#                                     model, saving to files, callgrind instruction counts, the
#                                     QML peers on the software backend and on OpenGL (Mesa under
#                                     xvfb-run), full frames on 1, 2 and every thread, pointer
#                                     moves in a QQuickView
#   tools/run-benchmarks.sh --quick   small scenes, a few iterations: checks that
#                                     everything builds and runs (CI runs the same
#                                     through ctest -L bench-quick)
#
# The frames, adds and heap per box are also measured against the library as it was before
# banded full frames, the index of where boxes lie and labels kept as glyphs
# (BLL_BENCH_BASELINE, a commit; built in a worktree of its own and swapped in through
# LD_LIBRARY_PATH under the same benchmark binary).
#
# The full run installs what only it needs (valgrind, gnuplot, Mesa) when missing,
# and writes its raw figures to bench/results/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BLL_BENCH_BUILD_DIR:-build-bench}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLL_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j 2 --target bll_bench bll_bench_export bll_bench_picking bll_bench_model \
    bll_bench_peers
bench="$build/bench/bll_bench"
picking="$build/bench/bll_bench_picking"
model="$build/bench/bll_bench_model"
peers="$build/bench/bll_bench_peers"
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software

if [ "${1:-}" = --quick ]; then
    "$bench" --quick
    "$build/bench/bll_bench_export" --quick
    "$picking" --quick
    "$model" --quick
    for peer in ItemPeer CanvasPeer RepeaterPeer ShapesPeer HoverIndex HoverScan; do
        "$peers" "$peer" 200 1 2>/dev/null
    done
    exit 0
fi

extras=()
for package in valgrind gnuplot-nox xvfb xauth libgl1-mesa-dri python3; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
        || extras+=("$package")
done
if [ ${#extras[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${extras[@]}"
fi

results=bench/results
mkdir -p "$results"
log="$results/run.log"
: >"$log"

{
    echo "date: $(date -u +%Y-%m-%dT%H:%MZ)"
    echo "commit: $(git rev-parse --short HEAD)$(git diff --quiet HEAD -- src include || echo ' (modified)')"
    echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //') x $(nproc)"
    echo "memory: $(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo)"
    echo "system: $(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r)"
    echo "qt: $(dpkg-query -W -f='${Version}' libqt5gui5), g++ $(g++ -dumpversion), build RelWithDebInfo"
    echo "load at start: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$results/machine.txt"
# The load average (1, 5, 15 minutes) as each part starts: the two cores are shared.
note_load() {
    echo "load before $1: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$results/machine.txt"
}

echo "== timings"
note_load "the timings"
"$bench" --benchmark_out="$results/paint.json" --benchmark_out_format=json 2>>"$log"

echo "== picking"
note_load "picking"
"$picking" --benchmark_out="$results/picking.json" --benchmark_out_format=json 2>>"$log"

echo "== boxes fed from a model"
note_load "the boxes fed from a model"
"$model" --benchmark_out="$results/model.json" --benchmark_out_format=json 2>>"$log"

echo "== saving to files"
note_load "saving to files"
"$build/bench/bll_bench_export" --benchmark_out="$results/export.json" --benchmark_out_format=json \
    2>>"$log"

echo "== callgrind instruction counts"
note_load "the instruction counts"
: >"$results/counts.txt"
# Callgrind counts only the thread that turns collection on: frames are counted on one thread
# (BLL_PAINT_THREADS=1) unless the env given says otherwise.
count() { # label target boxes [env...]
    local label=$1 target=$2 boxes=$3 out binary=$bench
    shift 3
    case $target in
        add-none | add-indexed) binary=$picking ;;
        direct_adds | mapper_load | mapper_reset | direct_readds) binary=$model ;;
    esac
    out=$(mktemp)
    env BLL_PAINT_THREADS=1 "$@" valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out" \
        "$binary" --count "$target" "$boxes" 2>>"$log"
    echo "$label $boxes $(awk '/^summary:|^totals:/ {print $2; exit}' "$out")" | tee -a "$results/counts.txt"
    rm -f "$out"
}
for run in "item 1000" "limit 1000" "item 10000" "limit 10000" "item 100000" "limit 100000" \
           "item-first 1000" "shapes-item 1000" "shapes-limit 1000" \
           "updateBoxF 1000" "updateBoxF 100000" \
           "frame-full 1000" "frame-hover 1000" "frame-full 10000" "frame-hover 10000" \
           "frame-full 100000" "frame-hover 100000" \
           "frame-hover-spread 1000" "frame-hover-spread 10000" "frame-hover-spread 100000" \
           "frame-hover-first 10000" "frame-hover-spread-first 100000" \
           "addBoxSimpleF 10000" "add-none 10000" "add-indexed 10000" \
           "direct_adds 100000" "mapper_load 100000" "mapper_reset 100000" \
           "direct_readds 100000"; do
    set -- $run
    count "$1" "$1" "$2"
done
# On two threads: what is left on the thread that paints the frame.
count frame-full-2threads frame-full 10000 BLL_PAINT_THREADS=2
for target in frame-grow frame-shrink frame-param frame-allbox frame-alldvi; do
    count "$target" "$target" 10000
done

echo "== against the library before"
note_load "the runs against the library before"
baseline=${BLL_BENCH_BASELINE:-4e24753}
base_src="$build/baseline-src"
rm -rf "$base_src" && git worktree prune
git worktree add --detach "$base_src" "$baseline" >/dev/null
cmake -S "$base_src" -B "$build/baseline" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLL_BUILD_TESTS=OFF \
    -DBLL_BUILD_BENCHMARKS=OFF -DBLL_BUILD_EXAMPLES=OFF -DBLL_BUILD_QML_MODULE=OFF >/dev/null
cmake --build "$build/baseline" -j 2 --target Bll_Painted_Item
git worktree remove --force "$base_src"
echo "baseline: $(git rev-parse --short "$baseline")" >>"$results/machine.txt"
for run in "frame-full 10000" "frame-hover 1000" "frame-hover 10000" "frame-hover 100000" \
           "frame-hover-spread 1000" "frame-hover-spread 10000" "frame-hover-spread 100000" \
           "frame-grow 10000" "frame-shrink 10000" "frame-param 10000" "frame-allbox 10000" \
           "frame-alldvi 10000" "addBoxSimpleF 10000"; do
    set -- $run
    count "$1-baseline" "$1" "$2" LD_LIBRARY_PATH="$build/baseline"
done
LD_LIBRARY_PATH="$build/baseline" "$bench" --benchmark_filter='^memory/stored' \
    --benchmark_out="$results/baseline-memory.json" --benchmark_out_format=json >/dev/null 2>>"$log"
# The frame and add benchmarks under both libraries, in alternating rounds, so drift in the
# machine's load hits both alike.
: >"$results/baseline.jsonl"
for round in 1 2; do
    for which in current baseline; do
        libs=""
        [ "$which" = baseline ] && libs="$build/baseline"
        LD_LIBRARY_PATH="$libs" "$bench" --benchmark_filter='^(frame/|update/addBoxSimpleF)' \
            --benchmark_format=json 2>>"$log" | WHICH=$which python3 -c '
import json, os, sys
for b in json.load(sys.stdin)["benchmarks"]:
    if b.get("aggregate_name") == "median":
        name = "/".join(b["name"].split("/")[:3])
        ms = b["real_time"] * {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
        print(json.dumps({"library": os.environ["WHICH"], "name": name, "ms": ms}))
' >>"$results/baseline.jsonl"
    done
done

# Each peer runs in a process of its own; one that runs out of time leaves the
# figures it had, and a note that it stopped.
run_peer() { # backend peer boxes frames seconds prefix...
    local backend=$1 peer=$2 boxes=$3 frames=$4 seconds=$5
    shift 5
    echo "-- $backend $peer $boxes $*"
    if ! "$@" timeout "$seconds" "$peers" "$peer" "$boxes" "$frames" >>"$peers_out" 2>>"$log"; then
        echo "{\"peer\":\"$peer\",\"boxes\":$boxes,\"backend\":\"$backend\",\"figure\":\"stopped\",\"value\":$seconds}" \
            >>"$peers_out"
    fi
}
xvfb=(xvfb-run -a -s "-screen 0 1920x1200x24" env -u QT_QUICK_BACKEND QT_QPA_PLATFORM=xcb vblank_mode=0)
peers_out="$results/peers.jsonl"
: >"$peers_out"
echo "== peers, software backend"
note_load "the peers"
for boxes in 1000 10000 100000; do
    frames=3
    [ "$boxes" -eq 100000 ] && frames=1
    for peer in ItemPeer CanvasPeer RepeaterPeer ShapesPeer; do
        run_peer software "$peer" "$boxes" "$frames" 200 env
    done
done
echo "== peers, OpenGL (Mesa) under xvfb-run"
for boxes in 1000 10000 100000; do
    frames=3
    [ "$boxes" -eq 100000 ] && frames=1
    for peer in ItemPeer CanvasPeer RepeaterPeer ShapesPeer; do
        run_peer opengl "$peer" "$boxes" "$frames" 200 "${xvfb[@]}"
    done
done
echo "== pointer moves that change the hovered box, BllPicking against a JavaScript scan"
note_load "the pointer moves"
for boxes in 1000 10000 100000; do
    for peer in HoverIndex HoverScan; do
        run_peer software "$peer" "$boxes" 15 200 env
        run_peer opengl "$peer" "$boxes" 15 200 "${xvfb[@]}"
    done
done
echo "== full frames on 1, 2 and every thread, in a QQuickView"
note_load "the views' full frames on 1, 2 and every thread"
peers_out="$results/threads.jsonl"
: >"$peers_out"
for boxes in 1000 10000 100000; do
    frames=5
    [ "$boxes" -eq 100000 ] && frames=3
    for threads in 1 2 ""; do
        run_peer software ItemPeer "$boxes" "$frames" 200 env BLL_PAINT_THREADS=$threads
        run_peer opengl ItemPeer "$boxes" "$frames" 200 "${xvfb[@]}" BLL_PAINT_THREADS=$threads
    done
done

note_load "the report (the run's end)"
echo "== report"
python3 bench/report.py "$results" bench
